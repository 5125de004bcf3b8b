#include "settings/SingleInstanceWin32.h"

#include "win/Platform.h"
// The snapshot header needs the platform's types first.
#include <tlhelp32.h>

namespace settings {

std::optional<std::vector<ProcessEntry>> Win32ProcessList::Snapshot() {
    HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snap == INVALID_HANDLE_VALUE) return std::nullopt;
    std::vector<ProcessEntry> list;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snap, &entry); more; more = Process32NextW(snap, &entry))
        list.push_back({entry.th32ProcessID, FileNameOf(entry.szExeFile)});
    CloseHandle(snap);
    return list;
}

}  // namespace settings
