#include "win/Window.h"

#include "win/ErrorReport.h"
#include "win/Gdi.h"

namespace win {

HINSTANCE Instance() { return GetModuleHandleW(nullptr); }

Window::~Window() {
    if (hwnd_) {
        // The object is going: detach it first so that no message reaches a dead object.
        HWND h = hwnd_;
        SetWindowLongPtrW(h, GWLP_USERDATA, 0);
        hwnd_ = nullptr;
        DestroyWindow(h);
    }
}

void Window::RegisterClass(const wchar_t* name, UINT style, HCURSOR cursor, HBRUSH background,
                           HICON icon) {
    WNDCLASSEXW wc{};
    if (GetClassInfoExW(Instance(), name, &wc)) return;
    wc = {};
    wc.cbSize = sizeof wc;
    wc.style = style;
    wc.lpfnWndProc = Proc;
    wc.hInstance = Instance();
    wc.hCursor = cursor ? cursor : LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = background;
    wc.hIcon = icon;
    wc.lpszClassName = name;
    if (!RegisterClassExW(&wc)) throw Error(L"Cannot register window class");
}

HWND Window::Create(DWORD exStyle, const wchar_t* className, const wchar_t* title, DWORD style,
                    int x, int y, int w, int h, HWND parent, HMENU menuOrId) {
    HWND hwnd = CreateWindowExW(exStyle, className, title, style, x, y, w, h, parent, menuOrId,
                                Instance(), this);
    if (!hwnd) throw Error(L"Cannot create window");
    return hwnd;
}

LRESULT Window::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    return DefWindowProcW(hwnd_, msg, wp, lp);
}

LRESULT PaintedWindow::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT: {
            gdi::PaintDC dc(Handle());
            Paint(dc.Get());
            return 0;
        }
        case WM_PRINTCLIENT:
            Paint(reinterpret_cast<HDC>(wp));
            return 0;
    }
    return Window::HandleMessage(msg, wp, lp);
}

LRESULT CALLBACK Window::Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    Window* self;
    if (msg == WM_NCCREATE) {
        self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    } else {
        self = reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    }
    if (!self) return DefWindowProcW(hwnd, msg, wp, lp);

    LRESULT result = 0;
    try {
        result = self->HandleMessage(msg, wp, lp);
    } catch (...) {
        ReportCurrentException();
    }
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
        self->OnDestroyed();
    }
    return result;
}

}  // namespace win
