#include "settings/SingleInstanceWin32.h"

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

}  // namespace settings
