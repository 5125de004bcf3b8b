#pragma once
// The text forms of the values kept in the settings file: how each kind is written and how it is
// read back, including the forms people type into the file by hand.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace settings {

// A value read from the file is cut to this many characters: the reader's buffer holds 2048
// including the terminator, and a longer value never came from our own writer.
inline constexpr std::size_t MaxValueLength = 2047;

// Removes blanks and control characters (everything up to U+0020) at both ends.
std::wstring TrimText(std::wstring_view text);

// Integer text after trimming: an optional sign, then decimal digits, or hexadecimal digits after
// a $, x, X, 0x or 0X prefix. Hexadecimal covers the full 32 bits ($FFFFFFFF is -1); decimal
// outside the 32-bit range and any other text give no value.
std::optional<std::int32_t> ParseInteger(std::wstring_view raw);
std::wstring IntegerText(std::int32_t value);

// "True" / "False" in any letter case; anything else gives no value.
std::optional<bool> ParseBoolean(std::wstring_view text);
std::wstring BooleanText(bool value);

// The profile reader strips one enclosing pair of matching quotes, so a value that starts and
// ends with the same quote character gets one more pair of double quotes around it; it then
// reads back as written.
std::wstring QuoteForProfile(std::wstring value);

// Letter case ignored for ASCII letters only: names of our components and keys, and paths that
// differ at most in the case of plain letters.
bool SameTextNoCase(std::wstring_view a, std::wstring_view b);

}  // namespace settings
