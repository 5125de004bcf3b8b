#pragma once
// The Run key in the registry, and the program's own path.
#include <string>

#include "settings/Startup.h"
#include "win/Platform.h"

namespace settings {

inline constexpr const wchar_t* RunKeyPath = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
// Where Windows' start-up list keeps its choice for each value of the Run key of the same root.
inline constexpr const wchar_t* StartupApprovedPath =
    L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\Run";

class Win32RunKeyStore : public RunKeyStore {
  public:
    explicit Win32RunKeyStore(HKEY root = HKEY_LOCAL_MACHINE, std::wstring path = RunKeyPath)
        : root_(root), path_(std::move(path)) {}
    RunKeyOpen Open(RunKeyAccess access) override;
    StartupApproval Approval(const std::wstring& name) override;
    bool RemoveApproval(const std::wstring& name) override;

  private:
    HKEY root_;
    std::wstring path_;
};

// The executable's full path as the platform reports it for this process.
std::wstring ExecutablePath();

}  // namespace settings
