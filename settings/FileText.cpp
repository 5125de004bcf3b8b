#include "settings/FileText.h"

#include <cstdint>

namespace settings {

namespace {
constexpr std::string_view Utf16Mark = "\xFF\xFE";
constexpr std::uint32_t Replacement = 0xFFFD;

bool IsHigh(std::uint32_t u) { return u >= 0xD800 && u < 0xDC00; }
bool IsLow(std::uint32_t u) { return u >= 0xDC00 && u < 0xE000; }

void AppendUnit(std::wstring& out, std::uint32_t c) {
    // Text of 16-bit units (Windows) takes a character beyond the first plane as a pair.
    if constexpr (sizeof(wchar_t) == 2) {
        if (c >= 0x10000) {
            out += static_cast<wchar_t>(0xD800 + ((c - 0x10000) >> 10));
            out += static_cast<wchar_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
            return;
        }
    }
    out += static_cast<wchar_t>(c);
}

// Decodes one character at bytes[at], moving at past it; no value for bytes that are not
// well-formed. overlong allows the two-byte forms of NUL, CR and LF that EncodeValue writes.
std::optional<std::uint32_t> NextChar(std::string_view bytes, std::size_t& at, bool overlong) {
    const auto byte = [&](std::size_t i) { return static_cast<std::uint8_t>(bytes[i]); };
    const std::uint8_t b0 = byte(at);
    if (b0 < 0x80) {
        ++at;
        return b0;
    }
    const int extra = b0 >= 0xF0 ? 3 : b0 >= 0xE0 ? 2 : b0 >= 0xC0 ? 1 : -1;
    if (extra < 0 || b0 > 0xF4 || bytes.size() - at <= static_cast<std::size_t>(extra))
        return std::nullopt;
    std::uint32_t c = b0 & (0x3F >> extra);
    for (int i = 1; i <= extra; ++i) {
        const std::uint8_t b = byte(at + static_cast<std::size_t>(i));
        if ((b & 0xC0) != 0x80) return std::nullopt;
        c = c << 6 | (b & 0x3F);
    }
    static constexpr std::uint32_t Least[] = {0, 0x80, 0x800, 0x10000};
    const bool shortest = c >= Least[extra];
    const bool allowedOverlong = overlong && extra == 1 && (c == 0 || c == '\r' || c == '\n');
    if ((!shortest && !allowedOverlong) || c > 0x10FFFF) return std::nullopt;
    at += static_cast<std::size_t>(extra) + 1;
    return c;
}

std::optional<std::wstring> Utf8Text(std::string_view bytes, bool overlong) {
    std::wstring text;
    for (std::size_t at = 0; at < bytes.size();) {
        const auto c = NextChar(bytes, at, overlong);
        if (!c) return std::nullopt;
        AppendUnit(text, *c);
    }
    return text;
}

void AppendUtf8(std::string& out, std::uint32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | c >> 6);
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | c >> 12);
        out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | c >> 18);
        out += static_cast<char>(0x80 | (c >> 12 & 0x3F));
        out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

bool EndsLineOrValue(wchar_t c) { return c == L'\0' || c == L'\r' || c == L'\n'; }
}  // namespace

FileEncoding EncodingOf(std::string_view bytes) {
    if (bytes.substr(0, Utf16Mark.size()) == Utf16Mark) return FileEncoding::Utf16;
    if (bytes.substr(0, Utf8Marker.size()) == Utf8Marker) return FileEncoding::Utf8;
    return FileEncoding::Ansi;
}

std::string_view Body(std::string_view bytes, FileEncoding encoding) {
    return bytes.substr(Mark(encoding).size());
}

std::string Mark(FileEncoding encoding) {
    switch (encoding) {
        case FileEncoding::Utf16:
            return std::string(Utf16Mark);
        case FileEncoding::Utf8:
            return std::string(Utf8Marker);
        case FileEncoding::Ansi:
            break;
    }
    return {};
}

std::string ToUtf8(std::wstring_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        std::uint32_t c = static_cast<std::uint32_t>(text[i]);
        // Where wchar_t has 32 bits, text holds each character whole: two surrogates there are
        // two units, kept apart as they came.
        if (sizeof(wchar_t) == 2 && IsHigh(c) && i + 1 < text.size() &&
            IsLow(static_cast<std::uint32_t>(text[i + 1])))
            c = 0x10000 + ((c - 0xD800) << 10) + (static_cast<std::uint32_t>(text[++i]) - 0xDC00);
        if (c > 0x10FFFF) c = Replacement;  // only a 32-bit wchar_t can hold such a number
        AppendUtf8(out, c);
    }
    return out;
}

std::optional<std::wstring> FromUtf8(std::string_view bytes) { return Utf8Text(bytes, false); }

std::wstring FromUtf8Lenient(std::string_view bytes) {
    std::wstring text;
    for (std::size_t at = 0; at < bytes.size();) {
        const auto c = NextChar(bytes, at, false);
        if (c) {
            AppendUnit(text, *c);
        } else {
            AppendUnit(text, Replacement);
            ++at;
        }
    }
    return text;
}

std::string ToUtf16(std::wstring_view text) {
    std::string out;
    const auto unit = [&out](std::uint32_t u) {
        out += static_cast<char>(u & 0xFF);
        out += static_cast<char>(u >> 8);
    };
    for (wchar_t w : text) {
        const auto c = static_cast<std::uint32_t>(w);
        if (c >= 0x10000 && c <= 0x10FFFF) {
            unit(0xD800 + ((c - 0x10000) >> 10));
            unit(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            unit(c > 0xFFFF ? Replacement : c);
        }
    }
    return out;
}

std::wstring FromUtf16(std::string_view bytes) {
    std::wstring text;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const std::uint32_t u = static_cast<std::uint8_t>(bytes[i]) |
                                static_cast<std::uint32_t>(static_cast<std::uint8_t>(bytes[i + 1]))
                                    << 8;
        // A pair stays two units where wchar_t has 16 bits, and becomes one character elsewhere.
        if (sizeof(wchar_t) == 4 && IsHigh(u) && i + 3 < bytes.size()) {
            const std::uint32_t next =
                static_cast<std::uint8_t>(bytes[i + 2]) |
                static_cast<std::uint32_t>(static_cast<std::uint8_t>(bytes[i + 3])) << 8;
            if (IsLow(next)) {
                AppendUnit(text, 0x10000 + ((u - 0xD800) << 10) + (next - 0xDC00));
                i += 2;
                continue;
            }
        }
        AppendUnit(text, u);
    }
    return text;
}

std::string EncodeValue(std::wstring_view value, FileEncoding encoding, const CodePage& codePage) {
    bool plainHolds = true;
    for (wchar_t c : value)
        if (EndsLineOrValue(c)) plainHolds = false;
    std::optional<std::string> plain;
    if (plainHolds) plain = encoding == FileEncoding::Ansi ? codePage.Encode(value) : ToUtf8(value);
    if (plain && plain->substr(0, Utf8Marker.size()) != Utf8Marker) return *plain;

    std::string out(Utf8Marker);
    std::size_t start = 0;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (!EndsLineOrValue(value[i])) continue;
        out += ToUtf8(value.substr(start, i - start));
        out += '\xC0';
        out += static_cast<char>(0x80 | static_cast<unsigned>(value[i]));
        start = i + 1;
    }
    return out + ToUtf8(value.substr(start));
}

std::wstring DecodeValue(std::string_view bytes, FileEncoding encoding, const CodePage& codePage) {
    // The writer never marks an empty value, so the marker alone is three letters.
    if (bytes.size() > Utf8Marker.size() && bytes.substr(0, Utf8Marker.size()) == Utf8Marker)
        if (auto text = Utf8Text(bytes.substr(Utf8Marker.size()), true)) return *text;
    return encoding == FileEncoding::Ansi ? codePage.Decode(bytes) : FromUtf8Lenient(bytes);
}

}  // namespace settings
