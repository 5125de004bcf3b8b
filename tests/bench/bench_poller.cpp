// The platform's own cost of sampling, for the whole-program benchmark: a bare 5 ms timer that
// reads the cursor position and the screen pixel under it, and does nothing else.
#include "win/Platform.h"

namespace {
LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_TIMER: {
            POINT p;
            if (GetCursorPos(&p)) {
                HDC screen = GetDC(nullptr);
                volatile COLORREF color = GetPixel(screen, p.x, p.y);
                (void)color;
                ReleaseDC(nullptr, screen);
            }
            return 0;
        }
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}
}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = Proc;
    wc.hInstance = instance;
    wc.lpszClassName = L"TBenchPoller";
    RegisterClassW(&wc);
    // A message-only window: the timer needs a window, the screen does not.
    HWND hwnd = CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                instance, nullptr);
    if (!hwnd || !SetTimer(hwnd, 1, 5, nullptr)) return 1;
    MSG m;
    while (GetMessageW(&m, nullptr, 0, 0) > 0) DispatchMessageW(&m);
    return 0;
}
