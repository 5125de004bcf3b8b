#include "capture/ScreenOverlay.h"

#include "pick/PickGeometry.h"
#include "win/Application.h"
#include "win/ErrorReport.h"

namespace {
// Copies one monitor's part of the desk into the frozen copy, whose (0, 0) is the desk's
// top-left corner.
struct Gather {
    HDC to;
    HDC screen;
    POINT origin;
    bool failed;
};
BOOL CALLBACK CopyMonitor(HMONITOR, HDC, LPRECT m, LPARAM data) {
    auto* g = reinterpret_cast<Gather*>(data);
    if (!BitBlt(g->to, m->left - g->origin.x, m->top - g->origin.y, m->right - m->left,
                m->bottom - m->top, g->screen, m->left, m->top, SRCCOPY))
        g->failed = true;
    return TRUE;
}
}  // namespace

TScreenOverlay::TScreenOverlay(const wchar_t* className, const wchar_t* caption,
                               HCURSOR classCursor, HWND owner) {
    // The whole desk: every monitor, so anything on any of them can be picked. Its left and top
    // are negative when a monitor lies left of or above the primary one; window coordinates,
    // and so the frozen copy's, count from that corner.
    const int x = GetSystemMetrics(SM_XVIRTUALSCREEN), y = GetSystemMetrics(SM_YVIRTUALSCREEN);
    const int w = GetSystemMetrics(SM_CXVIRTUALSCREEN), h = GetSystemMetrics(SM_CYVIRTUALSCREEN);
    screenImage_.SetSize(w, h);
    if (!screenImage_.Empty()) {
        gdi::WindowDC screen(nullptr);
        if (!screen) throw win::Error(L"Cannot read the screen");
        ApplyPaletteRule(screen.Get(), screenImage_);
        gdi::MemoryDC mem(screen.Get());
        if (!mem) throw win::Error(L"Cannot create the bitmap: out of system resources");
        gdi::Selection sel(mem.Get(), screenImage_.Bitmap());
        // Monitor by monitor on black: a corner of the desk that no monitor shows is black
        // rather than whatever the display holds there.
        RECT all{0, 0, w, h};
        FillRect(mem.Get(), &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        Gather gather{mem.Get(), screen.Get(), {x, y}, false};
        EnumDisplayMonitors(nullptr, nullptr, CopyMonitor, reinterpret_cast<LPARAM>(&gather));
        if (gather.failed) throw win::Error(L"Cannot copy the screen");
    }
    // No background brush: the frozen copy covers every pixel, and the background is never
    // erased.
    RegisterClass(className, 0, classCursor, nullptr);
    Create(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, className, caption, WS_POPUP, x, y, w, h, owner);
}

TScreenOverlay::~TScreenOverlay() {
    if (GetCapture() == Handle() && Handle()) ReleaseCapture();
}

int TScreenOverlay::ShowModal() {
    modalResult_ = mrNone;
    ShowWindow(Handle(), SW_SHOW);
    SetForegroundWindow(Handle());
    UpdateWindow(Handle());
    win::Application().RunModalLoop([this] { return modalResult_ != mrNone || !Handle(); });
    if (modalResult_ == mrNone) modalResult_ = mrCancel;
    if (Handle()) {
        if (GetCapture() == Handle()) ReleaseCapture();
        ShowWindow(Handle(), SW_HIDE);
    }
    return modalResult_;
}

std::optional<POINT> TScreenOverlay::StepCursor(unsigned key, bool shift) {
    POINT p{};
    RECT client{};
    if (!GetCursorPos(&p) || !ScreenToClient(Handle(), &p) || !GetClientRect(Handle(), &client))
        return std::nullopt;
    const auto to = pick::ArrowStep(key, shift, {p.x, p.y}, {0, 0, client.right, client.bottom});
    if (!to) return std::nullopt;
    POINT at{to->x, to->y}, screen = at;
    ClientToScreen(Handle(), &screen);
    SetCursorPos(screen.x, screen.y);
    return at;
}

void TScreenOverlay::FormPaint(HDC dc, const RECT& area) {
    if (screenImage_.Empty()) return;
    gdi::PaletteSelection pal(dc, screenImage_.Palette());
    gdi::MemoryDC mem(dc);
    if (!mem) return;
    gdi::Selection sel(mem.Get(), screenImage_.Bitmap());
    // The paint region clips this to the part asked for (a thin band when the frame is erased).
    BitBlt(dc, area.left, area.top, area.right - area.left, area.bottom - area.top, mem.Get(),
           area.left, area.top, SRCCOPY);
}

LRESULT TScreenOverlay::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT: {
            gdi::PaintDC dc(Handle());
            FormPaint(dc.Get(), dc.Info().rcPaint);
            return 0;
        }
        case WM_CLOSE:
            modalResult_ = mrCancel;
            return 0;
    }
    return Window::HandleMessage(msg, wp, lp);
}
