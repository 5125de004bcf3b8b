// The platform's own cost of sampling, for the whole-program benchmark: a bare 5 ms timer that
// reads the cursor position and the screen pixel under it, and does nothing else. Started with
// "follow", it also keeps a small always-on-top window beside the cursor, moved only when the
// cursor moved, as the application's follow mode does: the platform's own cost of that move.
#include <cwchar>

#include "win/Platform.h"

namespace {
HWND follower;  // the window kept beside the cursor, in follow mode
POINT followed{-1, -1};

void Follow(POINT p) {
    if (p.x == followed.x && p.y == followed.y) return;
    followed = p;
    SetWindowPos(
        follower, nullptr, p.x + 20, p.y + 20, 0, 0,
        SWP_NOSIZE | SWP_NOZORDER | SWP_NOOWNERZORDER | SWP_NOACTIVATE | SWP_NOSENDCHANGING);
}

LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_TIMER: {
            POINT p;
            if (GetCursorPos(&p)) {
                HDC screen = GetDC(nullptr);
                volatile COLORREF color = GetPixel(screen, p.x, p.y);
                (void)color;
                ReleaseDC(nullptr, screen);
                if (follower) Follow(p);
            }
            return 0;
        }
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

// The application's own awareness, so the move costs what it costs the application.
void PerMonitorAware() {
    using SetContextFn = BOOL(WINAPI*)(HANDLE);
    if (auto set = reinterpret_cast<SetContextFn>(reinterpret_cast<void*>(
            GetProcAddress(GetModuleHandleW(L"user32.dll"), "SetProcessDpiAwarenessContext"))))
        set(reinterpret_cast<HANDLE>(-4));  // per monitor, version 2
}
}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR args, int) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = Proc;
    wc.hInstance = instance;
    wc.lpszClassName = L"TBenchPoller";
    RegisterClassW(&wc);
    if (args && std::wcscmp(args, L"follow") == 0) {
        PerMonitorAware();
        WNDCLASSW fc{};
        fc.lpfnWndProc = DefWindowProcW;
        fc.hInstance = instance;
        fc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
        fc.lpszClassName = L"TBenchFollow";
        RegisterClassW(&fc);
        // The size of the application's compact view.
        follower = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, fc.lpszClassName, L"",
                                   WS_POPUP | WS_BORDER, 0, 0, 172, 98, nullptr, nullptr, instance,
                                   nullptr);
        ShowWindow(follower, SW_SHOWNOACTIVATE);
    }
    // A message-only window: the timer needs a window, the screen does not.
    HWND hwnd = CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                instance, nullptr);
    if (!hwnd || !SetTimer(hwnd, 1, 5, nullptr)) return 1;
    MSG m;
    while (GetMessageW(&m, nullptr, 0, 0) > 0) DispatchMessageW(&m);
    return 0;
}
