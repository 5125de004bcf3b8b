#include "settings/SingleInstance.h"

namespace settings {

std::wstring FileNameOf(std::wstring_view path) {
    std::size_t cut = path.find_last_of(L"\\/:");
    return std::wstring(cut == std::wstring_view::npos ? path : path.substr(cut + 1));
}

bool FindOtherInstances(ProcessList& processes, std::wstring_view ownName, std::uint32_t ownPid,
                        const std::function<void()>& onOther) {
    auto list = processes.Snapshot();
    if (!list) return false;
    const std::optional<std::uint32_t> ownSession = processes.SessionOf(ownPid);
    bool seen = false;
    for (const auto& p : *list) {
        if (p.exeName != ownName) continue;
        seen = true;
        if (p.pid == ownPid) continue;
        if (!ownSession || processes.SessionOf(p.pid) == ownSession) onOther();
    }
    return seen;
}

void FindOtherInstances(SessionClaim claim, ProcessList& processes, std::wstring_view ownName,
                        std::uint32_t ownPid, const std::function<void()>& onOther) {
    if (claim == SessionClaim::Taken)
        onOther();
    else if (claim == SessionClaim::Unknown)
        (void)FindOtherInstances(processes, ownName, ownPid, onOther);
}

}  // namespace settings
