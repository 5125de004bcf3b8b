#pragma once
// The settings file through the platform's wide profile-string functions, so a folder whose name
// has letters outside the ANSI code page still works.
#include "settings/ProfileFile.h"

namespace settings {

class Win32ProfileFile : public ProfileFile {
  public:
    FileAccess Probe(const std::wstring& path) override;
    std::wstring ReadString(const std::wstring& path, const std::wstring& section,
                            const std::wstring& key, const std::wstring& def) override;
    [[nodiscard]] bool WriteString(const std::wstring& path, const std::wstring& section,
                                   const std::wstring& key, const std::wstring& value) override;
    void Flush(const std::wstring& path) override;
};

}  // namespace settings
