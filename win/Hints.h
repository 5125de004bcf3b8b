#pragma once
// Hints of the controls: "short|long"; the hint window shows the short part. A hint lives with
// its control and goes when the control is destroyed.
#include <string>

#include "win/Platform.h"

namespace win {
void SetHint(HWND control, const std::wstring& hint);
// The control's hint, or "" when it has none.
std::wstring GetHint(HWND control);
}  // namespace win
