#include "capture/SaveName.h"

#include <algorithm>
#include <array>
#include <cwctype>

namespace savename {
namespace {

std::wstring Lower(std::wstring s) {
    for (wchar_t& c : s) c = static_cast<wchar_t>(std::towlower(c));
    return s;
}

std::wstring Padded(int value, int width) {
    std::wstring s = std::to_wstring(value < 0 ? 0 : value);
    if (static_cast<int>(s.size()) < width)
        s.insert(0, static_cast<size_t>(width) - s.size(), L'0');
    return s;
}

bool IsDeviceName(std::wstring stem) {
    // "CON .png" names the device too: blanks before the extension do not count.
    while (!stem.empty() && stem.back() == L' ') stem.pop_back();
    static const std::array<const wchar_t*, 4> plain{L"con", L"prn", L"aux", L"nul"};
    const std::wstring s = Lower(stem);
    if (std::ranges::any_of(plain, [&](const wchar_t* d) { return s == d; })) return true;
    // The digits include 0 and the superscripts one, two and three (U+00B9, U+00B2, U+00B3).
    return s.size() == 4 && (s.starts_with(L"com") || s.starts_with(L"lpt")) &&
           ((s[3] >= L'0' && s[3] <= L'9') || s[3] == L'\u00B9' || s[3] == L'\u00B2' ||
            s[3] == L'\u00B3');
}

}  // namespace

std::wstring Expand(const std::wstring& pattern, const Fields& f, int counter, int counterWidth) {
    std::wstring out;
    for (size_t i = 0; i < pattern.size();) {
        const size_t close = pattern[i] == L'{' ? pattern.find(L'}', i) : std::wstring::npos;
        if (close == std::wstring::npos) {
            out += pattern[i++];
            continue;
        }
        const std::wstring name = Lower(pattern.substr(i + 1, close - i - 1));
        if (name == L"date")
            out += Padded(f.Year, 4) + L"-" + Padded(f.Month, 2) + L"-" + Padded(f.Day, 2);
        else if (name == L"time")
            out += Padded(f.Hour, 2) + L"-" + Padded(f.Minute, 2) + L"-" + Padded(f.Second, 2);
        else if (name == L"mode")
            out += f.Mode;
        else if (name == L"size")
            out += std::to_wstring(f.Width) + L"x" + std::to_wstring(f.Height);
        else if (name == L"counter")
            out += Padded(counter, counterWidth);
        else {
            out += pattern[i++];
            continue;
        }
        i = close + 1;
    }
    return out;
}

std::wstring CleanFileName(const std::wstring& name) {
    std::wstring s;
    for (wchar_t c : name)
        s += (c < 32 || std::wstring_view(L"<>:\"/\\|?*").find(c) != std::wstring_view::npos) ? L'_'
                                                                                              : c;
    while (!s.empty() && (s.back() == L' ' || s.back() == L'.')) s.pop_back();
    if (s.empty()) return L"Capture";
    // "CON.png" names the device as much as "CON" does.
    if (IsDeviceName(s.substr(0, s.find(L'.')))) s.insert(0, 1, L'_');
    return s;
}

std::wstring Candidate(const std::wstring& pattern, const Fields& fields,
                       const std::wstring& extension, int attempt, int counterWidth) {
    constexpr size_t MaxName = 255;  // a path component on the usual file systems
    const bool counts = Lower(pattern).find(L"{counter}") != std::wstring::npos;
    std::wstring stem = CleanFileName(Expand(pattern, fields, attempt, counterWidth));
    const std::wstring suffix =
        counts || attempt <= 1 ? std::wstring() : L" (" + std::to_wstring(attempt) + L")";
    const size_t room = MaxName - std::min(MaxName - 1, suffix.size() + extension.size());
    if (stem.size() > room) stem = CleanFileName(stem.substr(0, room));
    return stem + suffix + extension;
}

bool TakenUnpadded(const std::wstring& pattern, const Fields& fields, const std::wstring& extension,
                   int attempt, const std::function<bool(const std::wstring& name)>& exists) {
    if (Lower(pattern).find(L"{counter}") == std::wstring::npos) return false;
    const std::wstring unpadded = Candidate(pattern, fields, extension, attempt, 1);
    return unpadded != Candidate(pattern, fields, extension, attempt) && exists(unpadded);
}

std::wstring ModeWord(int modeIndex) {
    static constexpr const wchar_t* words[] = {L"Selection", L"Desktop", L"Active window",
                                               L"Object"};
    return modeIndex >= 0 && modeIndex < 4 ? words[modeIndex] : L"";
}

std::wstring Join(const std::wstring& folder, const std::wstring& name) {
    if (folder.empty()) return name;
    const wchar_t last = folder.back();
    return last == L'\\' || last == L'/' ? folder + name : folder + L"\\" + name;
}

}  // namespace savename
