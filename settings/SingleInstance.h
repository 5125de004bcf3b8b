#pragma once
// Only one copy runs at a time in a user's session: copies are recognised by the executable's
// file name in the list of running processes. Other sessions (another user on the same PC, fast
// user switching, remote desktop) run their own copy.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace settings {

struct ProcessEntry {
    std::uint32_t pid = 0;
    std::wstring exeName;  // file name without folder
};

class ProcessList {
  public:
    virtual ~ProcessList() = default;
    // The running processes, this one included; no value when the list cannot be had.
    virtual std::optional<std::vector<ProcessEntry>> Snapshot() = 0;
    // The session a process runs in; none when the platform does not tell (another user's
    // process may not be looked into).
    virtual std::optional<std::uint32_t> SessionOf(std::uint32_t pid) = 0;
};

// The file name of a path: what follows its last backslash, slash or drive colon.
std::wstring FileNameOf(std::wstring_view path);

// Walks the process list and calls onOther once for each process, other than ours (ownPid), of
// our own session, whose executable file name equals ownName exactly, letter case included. A
// process whose session is unknown is taken for another user's; when our own is unknown, every
// session counts. Returns whether the name was seen at all; an unavailable list finds nothing.
bool FindOtherInstances(ProcessList& processes, std::wstring_view ownName, std::uint32_t ownPid,
                        const std::function<void()>& onOther);

}  // namespace settings
