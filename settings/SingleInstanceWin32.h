#pragma once
// The running processes from the platform's process snapshot, and the session's name for its
// running copy.
#include <string>

#include "settings/SingleInstance.h"
#include "win/Handle.h"

namespace settings {

class Win32ProcessList : public ProcessList {
  public:
    std::optional<std::vector<ProcessEntry>> Snapshot() override;
    std::optional<std::uint32_t> SessionOf(std::uint32_t pid) override;
};

// Makes the name (in the "Local" namespace, so each session has its own) for this copy. When this
// copy made it, held keeps it until held is closed: the name goes with the last handle to it, and
// the platform closes that with the process, however the process ends.
SessionClaim ClaimSessionName(const std::wstring& name, win::KernelHandle& held);

}  // namespace settings
