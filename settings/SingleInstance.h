#pragma once
// Only one copy runs at a time: copies are recognised by the executable's file name in the list
// of running processes.
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
};

// The file name of a path: what follows its last backslash, slash or drive colon.
std::wstring FileNameOf(std::wstring_view path);

// Walks the process list and calls onOther once for each process, other than ours (ownPid),
// whose executable file name equals ownName exactly, letter case included. Returns whether the
// name was seen at all; an unavailable list finds nothing.
bool FindOtherInstances(ProcessList& processes, std::wstring_view ownName, std::uint32_t ownPid,
                        const std::function<void()>& onOther);

}  // namespace settings
