#pragma once
// The DPI of the monitor a window is on. The per-monitor functions exist from Windows 10 1607 on;
// they are looked up at run time so the program still starts on older systems, which have one
// DPI for every monitor.
#include "win/Platform.h"

namespace win {

// GetDpiForWindow where the platform has it, else the screen's logical resolution.
int WindowDpi(HWND hwnd);

// The outer size of a window of this style whose client area is `client`, at a DPI (frame and
// caption as the platform draws them at that DPI).
SIZE OuterSizeForClient(SIZE client, DWORD style, DWORD exStyle, int dpi);

// The platform's non-client metrics (caption, menu, status fonts) at a DPI.
bool NonClientMetrics(NONCLIENTMETRICSW& metrics, int dpi);

}  // namespace win
