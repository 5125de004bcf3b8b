#pragma once
// The settings file in the profile-string format, and a settings-file object bound to one file and
// one section on top of it. Every call names the file by its full path. Writes reach the disk
// together at Commit, so a save replaces the old file with the new one in one step, never leaving
// half of each.
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
    // The whole value of key in section (the reader strips blanks and one enclosing quote pair),
    // or def when the file, the section or the key is missing, or the file cannot be read. Writes
    // not yet committed are seen.
    virtual std::wstring ReadString(const std::wstring& path, const std::wstring& section,
                                    const std::wstring& key, const std::wstring& def) = 0;
    // Sets key=value in section, creating the file, the section or the key as needed, at the next
    // Commit; false when the file cannot be written (it exists but cannot be read).
    [[nodiscard]] virtual bool WriteString(const std::wstring& path, const std::wstring& section,
                                           const std::wstring& key, const std::wstring& value) = 0;
    // Writes what WriteString set since the last Commit or Flush in one step, or nothing when the
    // file already holds it; false when the file cannot be written (it is then as it was).
    [[nodiscard]] virtual bool Commit(const std::wstring& path) = 0;
    // Drops any copy of the file kept in memory and the writes not committed, so the next read
    // sees the file on disk.
    virtual void Flush(const std::wstring& path) = 0;
};

// One section of one settings file. A failed write throws win::Error "Unable to write to <path>",
// which stops whatever save is running; writes not committed when it is destroyed are dropped.
class IniFile {
  public:
    // Own: reads the file afresh and drops the writes not committed when it is destroyed. Joined:
    // another section of the file, in the reads and writes of an object that owns them.
    enum class Session { Own, Joined };
    IniFile(ProfileFile& files, std::wstring path, std::wstring section,
            Session session = Session::Own);
    ~IniFile();
    IniFile(const IniFile&) = delete;
    IniFile& operator=(const IniFile&) = delete;

    const std::wstring& Path() const { return path_; }
    // Cut to MaxValueLength characters, as the stored values always were.
    std::wstring ReadString(const std::wstring& key, const std::wstring& def) const;
    // The whole value, for a list the program bounds itself (the colour history).
    std::wstring ReadWholeString(const std::wstring& key, const std::wstring& def) const;
    // Integer text (see ParseInteger); a missing key or other text gives def.
    std::int32_t ReadInteger(const std::wstring& key, std::int32_t def) const;
    void WriteString(const std::wstring& key, const std::wstring& value);
    void WriteInteger(const std::wstring& key, std::int32_t value);
    // Writes what was set, in one step.
    void Commit();

  private:
    ProfileFile& files_;
    std::wstring path_;
    std::wstring section_;
    Session session_;
};

}  // namespace settings
