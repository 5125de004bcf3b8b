#pragma once
// Only one copy runs at a time in a user's session. The first check is a name in the session's
// own namespace of kernel objects: every copy of the session meets it, whatever its rights and
// whatever its executable is called, and exactly one copy creates it, also when several start at
// the same moment. Where the name cannot be made at all, copies are recognised by the executable's
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

// What the session's name told this copy at its start.
enum class SessionClaim {
    Ours,     // this copy created it: it is the session's copy
    Taken,    // another copy holds it, also one whose rights keep us from opening it (elevated)
    Unknown,  // it could not be made for another reason: the process list decides
};

// Calls onOther for each running copy this one must give way to: once when another copy holds
// the session's name, never when this one holds it (a copy that started at the same moment
// gives way instead), and as FindOtherInstances finds them when the name told nothing.
void FindOtherInstances(SessionClaim claim, ProcessList& processes, std::wstring_view ownName,
                        std::uint32_t ownPid, const std::function<void()>& onOther);

// Walks the process list and calls onOther once for each process, other than ours (ownPid), of
// our own session, whose executable file name equals ownName exactly, letter case included. A
// process whose session is unknown is taken for another user's; when our own is unknown, every
// session counts. Returns whether the name was seen at all; an unavailable list finds nothing.
bool FindOtherInstances(ProcessList& processes, std::wstring_view ownName, std::uint32_t ownPid,
                        const std::function<void()>& onOther);

}  // namespace settings
