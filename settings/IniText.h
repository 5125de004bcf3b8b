#pragma once
// A settings file as a list of lines, read as the platform's profile functions read it and edited
// line by line: a value we write replaces the bytes after the "=" of its line, so every other
// line (other programs' sections and keys, comments, blank lines, their order and line ends, text
// in any code page) is written back byte for byte.
//
// Read as the profile functions read (checked against them): a section starts at a line whose
// first non-blank character is "[", named by the text up to its last "]"; names of sections and
// keys are compared without regard to letter case and without blanks around them; the first
// section of a name is the only one searched, and in it the first line of the key wins; a value
// loses the blanks around it and one enclosing pair of matching quotes; a line ends at CR, LF or
// both. Unlike those functions, a NUL is a character like any other, so nothing after one is lost.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "settings/FileText.h"

namespace settings {

class IniText {
  public:
    // The file's bytes (none for a file that does not exist yet: it is made in the code page).
    IniText(std::string_view bytes, const CodePage& codePage);

    // The value of key in the first section called section; no value when either is missing.
    std::optional<std::wstring> Get(std::wstring_view section, std::wstring_view key) const;
    // Sets the value as the reader will give it back, quotes and all (the writer of quoted values
    // adds a pair of its own, see QuoteForProfile). A key that is missing is added after the last
    // line of its section, a section that is missing at the end of the file. Later lines of the
    // same key (in that section or another of the same name) are removed: no reader ever saw them,
    // and a person editing the file would take them for the value in effect.
    void Set(std::wstring_view section, std::wstring_view key, std::wstring_view value);
    std::string Bytes() const;

  private:
    enum class Kind { Other, Section, Key };
    struct Line {
        std::string raw;  // its bytes without the line end (UTF-8 in a UTF-16 file)
        std::string end;  // "\r\n", "\n", "\r" or nothing (the last line)
        Kind kind = Kind::Other;
        std::wstring name;  // of a section or key, without blanks round it
    };
    void Parse(Line& line) const;
    // Index of the first section line of that name, or lines_.size().
    std::size_t FindSection(std::wstring_view section, std::size_t from = 0) const;
    std::size_t FindKey(std::size_t section, std::wstring_view key) const;
    std::size_t SectionEnd(std::size_t section) const;

    const CodePage& codePage_;
    FileEncoding encoding_;
    std::vector<Line> lines_;
};

}  // namespace settings
