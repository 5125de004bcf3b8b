#include "win/Text.h"

#include "win/Platform.h"

namespace win {
namespace {
std::wstring ToWide(UINT cp, std::string_view s) {
    if (s.empty()) return {};
    int n = MultiByteToWideChar(cp, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
    std::wstring out(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(cp, 0, s.data(), static_cast<int>(s.size()), out.data(), n);
    return out;
}
std::string FromWide(UINT cp, std::wstring_view s) {
    if (s.empty()) return {};
    int n = WideCharToMultiByte(cp, 0, s.data(), static_cast<int>(s.size()), nullptr, 0, nullptr,
                                nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(cp, 0, s.data(), static_cast<int>(s.size()), out.data(), n, nullptr,
                        nullptr);
    return out;
}
}  // namespace

std::wstring Widen(std::string_view utf8) { return ToWide(CP_UTF8, utf8); }
std::string Narrow(std::wstring_view wide) { return FromWide(CP_UTF8, wide); }
std::string ToAnsi(std::wstring_view wide) { return FromWide(CP_ACP, wide); }
std::wstring FromAnsi(std::string_view ansi) { return ToWide(CP_ACP, ansi); }

std::wstring WindowText(void* hwnd) {
    HWND h = static_cast<HWND>(hwnd);
    int len = GetWindowTextLengthW(h);
    std::wstring s(static_cast<size_t>(len) + 1, L'\0');
    int got = GetWindowTextW(h, s.data(), len + 1);
    s.resize(static_cast<size_t>(got < 0 ? 0 : got));
    return s;
}
}  // namespace win
