#include "capture/ScreenOverlay.h"

#include "win/Application.h"
#include "win/ErrorReport.h"

TScreenOverlay::TScreenOverlay(const wchar_t* className, const wchar_t* caption,
                               HCURSOR classCursor, HWND owner) {
    int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    screenImage_.SetSize(w, h);
    {
        gdi::WindowDC screen(nullptr);
        if (!screen) throw win::Error(L"Cannot read the screen");
        ApplyPaletteRule(screen.Get(), screenImage_);
        screenImage_.CopyFrom(screen.Get(), 0, 0);
    }
    // No background brush: the frozen copy covers every pixel, and the background is never
    // erased.
    RegisterClass(className, 0, classCursor, nullptr);
    Create(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, className, caption, WS_POPUP, 0, 0, w, h, owner);
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
