#pragma once
// Hints of the controls: "short|long"; the hint window shows the short part.
#include <string>

#include "win/Platform.h"

namespace win {
void SetHint(HWND control, const std::wstring& hint);
// The control's hint, or "" when it has none.
std::wstring GetHint(HWND control);
void ForgetHints(HWND root);  // drops the hints of a window and its descendants
}  // namespace win
