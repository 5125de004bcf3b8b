#pragma once
// The running processes from the platform's process snapshot.
#include "settings/SingleInstance.h"

namespace settings {

class Win32ProcessList : public ProcessList {
  public:
    std::optional<std::vector<ProcessEntry>> Snapshot() override;
    std::optional<std::uint32_t> SessionOf(std::uint32_t pid) override;
};

}  // namespace settings
