#pragma once
// The settings file as the platform's profile-string functions see it, and a settings-file object
// bound to one file and one section on top of it. Every call names the file by its full path: the
// platform resolves a bare name against the Windows folder, not the program's.
#include <cstdint>
#include <string>

namespace settings {

// Whether the settings file can be read. The profile-string reader gives the defaults both for a
// missing file and for one it cannot open; only a missing file means that nothing is stored.
enum class FileAccess { Readable, Missing, Unreadable };

class ProfileFile {
  public:
    virtual ~ProfileFile() = default;
    // Another program (backup, sync, a virus scanner) may hold the file for a moment, so an
    // implementation tries again briefly before answering Unreadable.
    virtual FileAccess Probe(const std::wstring& path) = 0;
    // The value of key in section (the reader strips blanks and one enclosing quote pair), or def
    // when the file, the section or the key is missing.
    virtual std::wstring ReadString(const std::wstring& path, const std::wstring& section,
                                    const std::wstring& key, const std::wstring& def) = 0;
    // Sets key=value in section, creating the file, the section or the key as needed; false when
    // the file cannot be written.
    [[nodiscard]] virtual bool WriteString(const std::wstring& path, const std::wstring& section,
                                           const std::wstring& key, const std::wstring& value) = 0;
    // Drops any copy of the file the platform keeps, so the next read sees the file on disk.
    virtual void Flush(const std::wstring& path) = 0;
};

// One section of one settings file. A failed write throws win::Error "Unable to write to <path>",
// which stops whatever save is running.
class IniFile {
  public:
    IniFile(ProfileFile& files, std::wstring path, std::wstring section);
    ~IniFile();
    IniFile(const IniFile&) = delete;
    IniFile& operator=(const IniFile&) = delete;

    const std::wstring& Path() const { return path_; }
    // Cut to MaxValueLength characters.
    std::wstring ReadString(const std::wstring& key, const std::wstring& def) const;
    // Integer text (see ParseInteger); a missing key or other text gives def.
    std::int32_t ReadInteger(const std::wstring& key, std::int32_t def) const;
    void WriteString(const std::wstring& key, const std::wstring& value);
    void WriteInteger(const std::wstring& key, std::int32_t value);

  private:
    ProfileFile& files_;
    std::wstring path_;
    std::wstring section_;
};

}  // namespace settings
