#include "capture/ScreenOverlay.h"

#include "access/Accessible.h"
#include "pick/PickGeometry.h"
#include "win/Application.h"
#include "win/Dpi.h"
#include "win/ErrorReport.h"

namespace {
// Apart from the overlays' own timers, which count from 1.
constexpr UINT_PTR NameTimer = 0x4E41;
constexpr UINT NameRestDelay = 500;  // ms without a change before the name is told

// Points the overlay at the keys it holds while it shows; on every way out it no longer does.
class Holding {
  public:
    Holding(const overlaykeys::HeldKeys*& slot, const overlaykeys::HeldKeys& keys) : slot_(slot) {
        slot_ = &keys;
    }
    ~Holding() { slot_ = nullptr; }
    Holding(const Holding&) = delete;
    Holding& operator=(const Holding&) = delete;

  private:
    const overlaykeys::HeldKeys*& slot_;
};

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
    // Held before the overlay shows, so that no key meant for it reaches the program beneath, and
    // released when this returns, whichever way.
    const overlaykeys::HeldKeys keys(Handle(), overlaykeys::Taker::Overlay);
    Holding holding(keys_, keys);
    ShowWindow(Handle(), SW_SHOW);
    // The platform may refuse the foreground (another program's menu is open, or the user gave
    // input elsewhere): the held keys reach the overlay all the same, and the mouse over it.
    (void)SetForegroundWindow(Handle());
    UpdateWindow(Handle());
    NameChanging();
    win::Application().RunModalLoop([this] { return modalResult_ != mrNone || !Handle(); });
    if (modalResult_ == mrNone) modalResult_ = mrCancel;
    if (Handle()) {
        KillTimer(Handle(), NameTimer);
        if (GetCapture() == Handle()) ReleaseCapture();
        ShowWindow(Handle(), SW_HIDE);
    }
    return modalResult_;
}

int TScreenOverlay::MonitorDpi(HMONITOR monitor, HWND fallback) {
    using GetDpiForMonitorFn = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
    static const auto getDpiForMonitor = [] {
        HMODULE shcore = LoadLibraryExW(L"shcore.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
        return shcore ? reinterpret_cast<GetDpiForMonitorFn>(
                            reinterpret_cast<void*>(GetProcAddress(shcore, "GetDpiForMonitor")))
                      : nullptr;
    }();
    UINT x = 0, y = 0;
    constexpr int EffectiveDpi = 0;  // MDT_EFFECTIVE_DPI
    if (getDpiForMonitor && SUCCEEDED(getDpiForMonitor(monitor, EffectiveDpi, &x, &y)) && y > 0)
        return static_cast<int>(y);
    return win::WindowDpi(fallback);
}

void TScreenOverlay::NameChanging() {
    if (Handle()) SetTimer(Handle(), NameTimer, NameRestDelay, nullptr);
}

void TScreenOverlay::NameRests() {
    const std::wstring name = Name();
    if (name.empty()) return;
    if (nameRest_.Observe(true, [&] { return a11y::NameRest::Names{name}; }).empty()) return;
    // The window text is the name: readers in other processes read it without asking us.
    SetWindowTextW(Handle(), name.c_str());
    a11y::RaiseNameChange(Handle());
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
        case WM_HOTKEY:
        case WM_KEYDOWN: {
            std::optional<overlaykeys::Chord> key;
            if (keys_)
                key = keys_->KeyOf(msg, wp);
            else if (msg == WM_KEYDOWN)  // not shown modally: nothing is held
                key = overlaykeys::Chord{static_cast<unsigned>(wp), GetKeyState(VK_SHIFT) < 0};
            if (key) OverlayKey(key->key, key->shift);
            return 0;
        }
        case WM_TIMER:
            if (wp == NameTimer) {
                KillTimer(Handle(), NameTimer);
                NameRests();
                return 0;
            }
            break;
    }
    return Window::HandleMessage(msg, wp, lp);
}
