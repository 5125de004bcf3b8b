#include "settings/ValueCodec.h"

namespace settings {

namespace {
bool IsBlankOrControl(wchar_t c) { return c <= L' '; }

int HexDigit(wchar_t c) {
    if (c >= L'0' && c <= L'9') return c - L'0';
    if (c >= L'a' && c <= L'f') return c - L'a' + 10;
    if (c >= L'A' && c <= L'F') return c - L'A' + 10;
    return -1;
}

wchar_t AsciiUpper(wchar_t c) { return c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - 32) : c; }
}  // namespace

std::wstring TrimText(std::wstring_view text) {
    std::size_t first = 0, last = text.size();
    while (first < last && IsBlankOrControl(text[first])) ++first;
    while (last > first && IsBlankOrControl(text[last - 1])) --last;
    return std::wstring(text.substr(first, last - first));
}

std::optional<std::int32_t> ParseInteger(std::wstring_view raw) {
    std::wstring text = TrimText(raw);
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) negative = text[i++] == L'-';

    bool hex = false;
    if (i < text.size() && (text[i] == L'$' || text[i] == L'x' || text[i] == L'X')) {
        hex = true;
        ++i;
    } else if (i + 1 < text.size() && text[i] == L'0' &&
               (text[i + 1] == L'x' || text[i + 1] == L'X')) {
        hex = true;
        i += 2;
    }
    if (i >= text.size()) return std::nullopt;

    // Accumulate in 64 bits and stop as soon as the value leaves the accepted range, so any
    // number of digits is safe.
    std::int64_t value = 0;
    const std::int64_t limit = hex ? 0xFFFFFFFFLL : (negative ? 0x80000000LL : 0x7FFFFFFFLL);
    for (; i < text.size(); ++i) {
        int digit =
            hex ? HexDigit(text[i]) : (text[i] >= L'0' && text[i] <= L'9' ? text[i] - L'0' : -1);
        if (digit < 0) return std::nullopt;
        value = value * (hex ? 16 : 10) + digit;
        if (value > limit) return std::nullopt;
    }
    // Hexadecimal text names the 32 bits themselves: $FFFFFFFF is -1.
    auto bits = static_cast<std::uint32_t>(value);
    if (negative) bits = 0u - bits;
    return static_cast<std::int32_t>(bits);
}

std::wstring IntegerText(std::int32_t value) { return std::to_wstring(value); }

std::optional<bool> ParseBoolean(std::wstring_view text) {
    std::wstring t = TrimText(text);
    if (SameTextNoCase(t, L"False")) return false;
    if (SameTextNoCase(t, L"True")) return true;
    return std::nullopt;
}

std::wstring BooleanText(bool value) { return value ? L"True" : L"False"; }

std::wstring QuoteForProfile(std::wstring value) {
    if (!value.empty() && (value.front() == L'"' || value.front() == L'\'') &&
        value.back() == value.front())
        return L"\"" + value + L"\"";
    return value;
}

bool SameTextNoCase(std::wstring_view a, std::wstring_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (AsciiUpper(a[i]) != AsciiUpper(b[i])) return false;
    return true;
}

}  // namespace settings
