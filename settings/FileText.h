#pragma once
// The settings file's bytes and the text they stand for. The file is 8-bit text in the ANSI code
// page, as the platform's profile functions write it and as other tools and people expect it; a
// file that begins with a UTF-16 or UTF-8 byte-order mark was made so by someone else and keeps
// that form. A value with characters the code page cannot hold is written as UTF-8 behind a
// marker (see EncodeValue).
#include <optional>
#include <string>
#include <string_view>

namespace settings {

// The conversion between the ANSI code page's bytes and text, which only the platform knows.
class CodePage {
  public:
    virtual ~CodePage() = default;
    virtual std::wstring Decode(std::string_view bytes) const = 0;
    // No value when a character has no exact form in the code page (no look-alike stands in).
    virtual std::optional<std::string> Encode(std::wstring_view text) const = 0;
};

enum class FileEncoding { Ansi, Utf8, Utf16 };

// Told by the byte-order mark at the start (then skipped by Body); none means the code page.
FileEncoding EncodingOf(std::string_view bytes);
std::string_view Body(std::string_view bytes, FileEncoding encoding);
std::string Mark(FileEncoding encoding);

// UTF-8 that also carries a lone surrogate (as its three-byte form), so any text of 16-bit units
// goes through unchanged; a surrogate pair becomes one four-byte character.
std::string ToUtf8(std::wstring_view text);
// The text of well-formed bytes (a lone surrogate's three-byte form included); no value for
// anything else.
std::optional<std::wstring> FromUtf8(std::string_view bytes);
// For lines of a UTF-8 file: what is not well-formed reads as U+FFFD, as an editor shows it.
std::wstring FromUtf8Lenient(std::string_view bytes);
// UTF-16 little-endian (a lone byte at the end is dropped).
std::string ToUtf16(std::wstring_view text);
std::wstring FromUtf16(std::string_view bytes);

// The marker of a value written as UTF-8 in an ANSI file: the bytes of U+FEFF in UTF-8 ("ï»¿" in
// Western code pages). A value that a profile writer or a person ever put in the file does not
// begin with it followed by well-formed UTF-8 by accident: a path or a template holds no
// zero-width no-break space, and in the Western code pages it reads as three letters nobody
// types. Editors that take the file for UTF-8 (as Notepad does when it is valid UTF-8) show the
// value as it is, the marker invisible.
inline constexpr std::string_view Utf8Marker = "\xEF\xBB\xBF";

// A value's bytes for a file of that encoding. Plain (in the code page, or UTF-8 in a UTF-8 or
// UTF-16 file) wherever that gives the value back exactly: every character held as it is, no line
// break or NUL inside, and not beginning with the marker's bytes. Otherwise the marker followed by
// UTF-8, in which a NUL, CR or LF takes its two-byte form (C0 80, C0 8D, C0 8A) so that it cannot
// end the line or the value. Values have no blanks at either end: the reader trims them.
std::string EncodeValue(std::wstring_view value, FileEncoding encoding, const CodePage& codePage);
// The same rule read back: the marker with well-formed UTF-8 behind it gives that text; anything
// else is plain text of the file's encoding, so no value of an older file changes its meaning.
std::wstring DecodeValue(std::string_view bytes, FileEncoding encoding, const CodePage& codePage);

}  // namespace settings
