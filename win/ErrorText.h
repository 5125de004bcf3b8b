#pragma once
// Platform-free part of the error report.
#include <string>

namespace win {
// The text as the error report shows it: a full stop is added when it does not end in one.
inline std::wstring WithFullStop(std::wstring text) {
    if (text.empty() || text.back() != L'.') text += L'.';
    return text;
}
}  // namespace win
