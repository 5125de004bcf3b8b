#pragma once
// Conversions between the platform's wide text and UTF-8 / ANSI text.
#include <string>
#include <string_view>

namespace win {
std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view wide);
// Text in the user's ANSI code page, for the 8-bit clipboard format and the A functions.
std::string ToAnsi(std::wstring_view wide);
std::wstring FromAnsi(std::string_view ansi);
// The window text of any window, also of another process's.
std::wstring WindowText(void* hwnd);
}  // namespace win
