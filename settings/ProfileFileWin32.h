#pragma once
// The settings file read and written by the program itself: read whole (no 2,047-character
// limit, no copy kept by the platform for a few seconds), edited line by line (settings/IniText)
// and written whole in one step (settings/FileReplaceWin32). Text goes through the ANSI code page,
// with values it cannot hold in UTF-8 behind a marker (settings/FileText).
#include <map>
#include <memory>
#include <vector>

#include "settings/FileReplaceWin32.h"
#include "settings/IniText.h"
#include "settings/ProfileFile.h"

namespace settings {

// The ANSI code page of this system, exactly: a character without its own form in it (a
// look-alike or "?" would stand in) has none.
const CodePage& AnsiCodePage();

class Win32ProfileFile : public ProfileFile {
  public:
    // Called at each commit between writing the new file and putting it in place (for tests).
    BeforeReplace OnBeforeReplace;

    FileAccess Probe(const std::wstring& path) override;
    std::wstring ReadString(const std::wstring& path, const std::wstring& section,
                            const std::wstring& key, const std::wstring& def) override;
    [[nodiscard]] bool WriteString(const std::wstring& path, const std::wstring& section,
                                   const std::wstring& key, const std::wstring& value) override;
    [[nodiscard]] bool Commit(const std::wstring& path) override;
    void Flush(const std::wstring& path) override;

  private:
    struct Write {
        std::wstring section, key, value;
    };
    struct File {
        DWORD read = ERROR_SUCCESS;  // how reading it went
        std::string bytes;
        std::unique_ptr<IniText> text;
        std::vector<Write> writes;  // not committed yet
    };
    File& Loaded(const std::wstring& path);

    std::map<std::wstring, File> files_;
};

}  // namespace settings
