#pragma once
// The DPI of the monitor a window is on, and the platform metrics at a DPI. The per-monitor
// functions exist from Windows 10 1607 on; they are looked up at run time so the program still
// starts on older systems, which have one DPI for every monitor.
#include "win/Platform.h"

namespace win {

// GetDpiForWindow where the platform has it, else the screen's logical resolution.
int WindowDpi(HWND hwnd);

// The platform's non-client metrics (caption, menu, status fonts) at a DPI.
bool NonClientMetrics(NONCLIENTMETRICSW& metrics, int dpi);

}  // namespace win
