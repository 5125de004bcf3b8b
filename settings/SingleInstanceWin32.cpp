#include "settings/SingleInstanceWin32.h"

#include <utility>

#include "win/Handle.h"
#include "win/Platform.h"
// The snapshot header needs the platform's types first.
#include <tlhelp32.h>

namespace settings {

std::optional<std::vector<ProcessEntry>> Win32ProcessList::Snapshot() {
    win::FileHandle snap(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snap) return std::nullopt;
    std::vector<ProcessEntry> list;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snap.Get(), &entry); more;
         more = Process32NextW(snap.Get(), &entry))
        list.push_back({entry.th32ProcessID, FileNameOf(entry.szExeFile)});
    return list;
}

std::optional<std::uint32_t> Win32ProcessList::SessionOf(std::uint32_t pid) {
    DWORD session = 0;
    if (!ProcessIdToSessionId(pid, &session)) return std::nullopt;
    return session;
}

SessionClaim ClaimSessionName(const std::wstring& name, win::KernelHandle& held) {
    // Only held, never waited for: its existence is the whole message.
    SetLastError(ERROR_SUCCESS);
    HANDLE mutex = CreateMutexW(nullptr, FALSE, name.c_str());
    const DWORD error = GetLastError();
    win::KernelHandle made(mutex);
    if (made && error != ERROR_ALREADY_EXISTS) {
        held = std::move(made);
        return SessionClaim::Ours;
    }
    // A copy with more rights than ours (elevated, or another account in this session) made it
    // with an access list that refuses us: refused, it is just as taken.
    if (made || error == ERROR_ACCESS_DENIED) return SessionClaim::Taken;
    // Another kind of object has the name (ERROR_INVALID_HANDLE), say.
    return SessionClaim::Unknown;
}

}  // namespace settings
