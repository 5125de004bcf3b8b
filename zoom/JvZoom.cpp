#include "zoom/JvZoom.h"

#include <cwchar>

#include "access/Accessible.h"
#include "win/Controls.h"
#include "win/Dpi.h"
#include "win/DpiScale.h"
#include "win/ErrorReport.h"

namespace {
constexpr wchar_t ClassName[] = L"TJvZoom";

HBRUSH Background() { return GetSysColorBrush(COLOR_BTNFACE); }

// The bounds of all monitors together; left and top are negative when a monitor lies left of
// or above the primary one.
zoom::Rect Desk() {
    const int x = GetSystemMetrics(SM_XVIRTUALSCREEN), y = GetSystemMetrics(SM_YVIRTUALSCREEN);
    return {x, y, x + GetSystemMetrics(SM_CXVIRTUALSCREEN),
            y + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
}

bool Contains(const RECT& outer, const RECT& inner) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

}  // namespace

// Copies the part of the source that lies on one monitor into the staging image.
struct TJvZoom::Gather {
    TJvZoom* zoom;
    HDC to;  // staging image, its (0, 0) at the source's top-left
    RECT source;
    bool read;
};

BOOL CALLBACK TJvZoom::CopyMonitorPart(HMONITOR, HDC, LPRECT monitor, LPARAM data) {
    auto* g = reinterpret_cast<Gather*>(data);
    RECT part{};
    if (IntersectRect(&part, monitor, &g->source)) {
        const RECT to{part.left - g->source.left, part.top - g->source.top,
                      part.right - g->source.left, part.bottom - g->source.top};
        g->read = g->zoom->ReadScreen(g->to, to, part) && g->read;
    }
    return TRUE;
}

bool TJvZoom::ReadScreen(HDC dc, const RECT& to, const RECT& from) {
    return StretchBlt(dc, to.left, to.top, to.right - to.left, to.bottom - to.top, screen_.Get(),
                      from.left, from.top, from.right - from.left, from.bottom - from.top,
                      SRCCOPY) != FALSE;
}

TJvZoom::TJvZoom() {
    if (!screen_) throw win::Error(L"Cannot obtain the screen device context for the magnifier");
}

TJvZoom::~TJvZoom() {
    // The window goes first, with its timer, so nothing draws once the DCs below are released.
    if (Handle()) DestroyWindow(Handle());
}

void TJvZoom::Create(HWND parent, int controlId, int x, int y, int width, int height) {
    RegisterClass(ClassName, CS_OWNDC);
    Window::Create(0, ClassName, L"", WS_CHILD | WS_VISIBLE, x, y, width, height, parent,
                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlId)));
    UpdateTimer();
}

TJvZoom* TJvZoom::FromHandle(HWND hwnd) {
    wchar_t cls[16] = {};
    if (!hwnd || !GetClassNameW(hwnd, cls, 16) || std::wcscmp(cls, ClassName) != 0) return nullptr;
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid != GetCurrentProcessId()) return nullptr;
    return dynamic_cast<TJvZoom*>(
        reinterpret_cast<win::Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA)));
}

void TJvZoom::UpdateTimer() {
    if (!Handle()) return;
    if (active_ && delay_ >= 1 && !resting_ && !parked_) {
        if (timerRunning_ && timerDelay_ == delay_) return;
        if (!SetTimer(Handle(), RedrawTimer, static_cast<UINT>(delay_), nullptr))
            throw win::Error(L"Cannot start the magnifier's timer");
        timerRunning_ = true;
        timerDelay_ = delay_;
    } else if (timerRunning_) {
        KillTimer(Handle(), RedrawTimer);
        timerRunning_ = false;
    }
}

void TJvZoom::SetResting(bool resting) {
    if (resting == resting_) return;
    resting_ = resting;
    UpdateTimer();
    if (!resting_ && active_ && Handle() && !parked_) OnTimer();
}

void TJvZoom::SetActive(bool active) {
    if (active == active_) return;
    active_ = active;
    UpdateTimer();
    if (active_) return;
    if (cacheOnDeactivate_)
        KeepCache();
    else if (Handle())
        InvalidateRect(Handle(), nullptr, FALSE);
}

void TJvZoom::SetDelay(int ms) {
    delay_ = ms;
    UpdateTimer();
}

void TJvZoom::SetCacheOnDeactivate(bool cache) {
    if (cache == cacheOnDeactivate_) return;
    cacheOnDeactivate_ = cache;
    if (cache) return;
    cache_.Reset();
    cacheSize_ = {0, 0};
    if (!active_ && Handle()) InvalidateRect(Handle(), nullptr, FALSE);
}

SIZE TJvZoom::ClientSize() {
    if (clientSizeKnown_) return clientSize_;
    RECT r{};
    if (!Handle() || !GetClientRect(Handle(), &r)) return {0, 0};
    clientSize_ = {r.right, r.bottom};
    clientSizeKnown_ = true;
    return clientSize_;
}

bool TJvZoom::Canvas::Ensure(HDC like, SIZE wanted, bool& made) {
    made = false;
    if (wanted.cx <= 0 || wanted.cy <= 0) return false;
    if (dc && bitmap && size.cx == wanted.cx && size.cy == wanted.cy) return true;
    if (!dc) {
        dc.emplace(like);
        if (!*dc) {
            dc.reset();
            return false;
        }
    }
    gdi::Bitmap fresh(CreateCompatibleBitmap(like, wanted.cx, wanted.cy));
    if (!fresh) return false;
    selection.reset();
    bitmap = std::move(fresh);
    selection.emplace(dc->Get(), bitmap.Get());
    size = wanted;
    made = true;
    return true;
}

bool TJvZoom::EnsureImage() {
    const SIZE size = ClientSize();
    bool made;
    if (!image_.Ensure(screen_.Get(), size, made)) return false;
    if (made) {
        RECT all{0, 0, size.cx, size.cy};
        FillRect(image_.Get(), &all, Background());
    }
    return true;
}

void TJvZoom::KeepCache() {
    if (!EnsureImage()) return;
    const SIZE size = image_.size;
    if (!cache_ || cacheSize_.cx != size.cx || cacheSize_.cy != size.cy) {
        cache_.Reset(CreateCompatibleBitmap(screen_.Get(), size.cx, size.cy));
        cacheSize_ = cache_ ? size : SIZE{0, 0};
        if (!cache_) return;
    }
    gdi::MemoryDC mem(screen_.Get());
    if (!mem) return;
    gdi::Selection select(mem.Get(), cache_.Get());
    BitBlt(mem.Get(), 0, 0, cacheSize_.cx, cacheSize_.cy, image_.Get(), 0, 0, SRCCOPY);
}

bool TJvZoom::Draw(std::optional<POINT> at) {
    POINT p;
    if (at)
        p = *at;
    else if (!GetCursorPos(&p))
        return false;  // e.g. while another desktop has the input
    const zoom::Point cursor{p.x, p.y};
    if (cursor == last_) return false;
    sourceUntaken_ = false;
    const SIZE size = ClientSize();
    // Below level 1 nothing is drawn, and the position is not taken as drawn, so a valid level
    // shows at the next tick.
    const DWORD now = GetTickCount();
    if (!layoutKnown_ || now - layoutAskedAt_ >= LayoutLifetime) {
        desk_ = Desk();
        sourceMonitor_ = {};
        dpi_ = win::WindowDpi(Handle());
        layoutAskedAt_ = now;
        layoutKnown_ = true;
    }
    auto view = zoom::ComputeView(cursor, size.cx, size.cy, zoomLevel_, desk_);
    if (!view || !EnsureImage()) return false;

    HDC dc = image_.Get();
    // While the session is locked, switched or disconnected the screen cannot be read: the view
    // keeps its last image, and the cursor's place is not taken as drawn, so the first tick that
    // can read draws. An empty source is not even tried, since the platforms differ on what a
    // zero-sized stretch does; it keeps the previous image too, under a crosshair. The DC keeps
    // its default stretch mode, so screen pixels become blocks of equal pixels with no smoothing.
    if (!view->source.Empty() && !Magnify(dc, size, view->source, p)) return false;
    last_ = cursor;

    if (!pen_ || penColor_ != crosshairColor_) {
        pen_.Reset(CreatePen(PS_SOLID, 1, crosshairColor_));
        penColor_ = crosshairColor_;
    }
    if (sampleSide_ > 1 && !view->source.Empty() && pen_) {
        const zoom::Rect box =
            zoom::BlockOutline({cursorInSource_.x, cursorInSource_.y}, sampleSide_,
                               view->source.Extent(), {size.cx, size.cy});
        if (!box.Empty()) {
            gdi::Selection select(dc, pen_.Get());
            gdi::Selection hollow(dc, GetStockObject(NULL_BRUSH));
            Rectangle(dc, box.left, box.top, box.right, box.bottom);
        }
    }
    if (crosshair_) {
        if (pen_) {
            gdi::Selection select(dc, pen_.Get());
            // A one-pixel pen leaves out the end pixel of each line. The size is a design value,
            // drawn at the DPI of the monitor the view is on.
            const auto arms = zoom::Crosshair(view->center, dpi::Scale(crosshairSize_, dpi_));
            for (const zoom::Segment& s : {arms.vertical, arms.horizontal}) {
                MoveToEx(dc, s.from.x, s.from.y, nullptr);
                LineTo(dc, s.to.x, s.to.y);
            }
        }
    }
    return true;
}

bool TJvZoom::Magnify(HDC dc, SIZE size, const zoom::Rect& src, POINT cursor) {
    const RECT source{src.left, src.top, src.right, src.bottom};
    if (!Contains(sourceMonitor_, source)) {
        MONITORINFO info{};
        info.cbSize = sizeof info;
        HMONITOR monitor = MonitorFromRect(&source, MONITOR_DEFAULTTONULL);
        const bool onOne =
            monitor && GetMonitorInfoW(monitor, &info) && Contains(info.rcMonitor, source);
        sourceMonitor_ = onOne ? info.rcMonitor : RECT{};
    }
    // Read 1:1 first and enlarged in memory, so the owner can take the cursor's pixel from the
    // same read. A source that spans monitors or leaves them (at a corner of a desk of unequal
    // monitors) is gathered monitor by monitor on black, so what lies off every monitor shows
    // black rather than whatever the display holds there, and the blocks stay equal across a
    // border between monitors.
    bool made;
    if (!source_.Ensure(screen_.Get(), {src.Width(), src.Height()}, made)) return false;
    HDC staging = source_.Get();
    RECT all{0, 0, src.Width(), src.Height()};
    bool gathered;
    if (Contains(sourceMonitor_, source)) {
        gathered = ReadScreen(staging, all, source);
    } else {
        FillRect(staging, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        Gather gather{this, staging, source, true};
        EnumDisplayMonitors(nullptr, &source, CopyMonitorPart, reinterpret_cast<LPARAM>(&gather));
        gathered = gather.read;
    }
    if (!gathered ||
        !StretchBlt(dc, 0, 0, size.cx, size.cy, staging, 0, 0, src.Width(), src.Height(), SRCCOPY))
        return false;
    sourceUntaken_ = PtInRect(&source, cursor) != FALSE;
    cursorInSource_ = {cursor.x - src.left, cursor.y - src.top};
    return true;
}

void TJvZoom::SetFrame(std::optional<COLORREF> color) {
    if (color == frame_) return;
    frame_ = color;
    frameBrush_.Reset(color ? CreateSolidBrush(*color) : nullptr);
    InvalidateRect(Handle(), nullptr, FALSE);
}

void TJvZoom::Show(HDC dc) {
    ShowImage(dc);
    // Over the image's outer pixels, not into the image: the owner's pixel reads stay true.
    if (frameBrush_) {
        const SIZE size = ClientSize();
        RECT all{0, 0, size.cx, size.cy};
        FrameRect(dc, &all, frameBrush_.Get());
    }
}

void TJvZoom::ShowImage(HDC dc) {
    const SIZE size = ClientSize();
    RECT all{0, 0, size.cx, size.cy};
    if (active_) {
        if (EnsureImage())
            BitBlt(dc, 0, 0, size.cx, size.cy, image_.Get(), 0, 0, SRCCOPY);
        else
            FillRect(dc, &all, Background());
        return;
    }
    if (!cache_) {
        FillRect(dc, &all, Background());
        return;
    }
    gdi::MemoryDC mem(dc);
    if (!mem) return;
    gdi::Selection select(mem.Get(), cache_.Get());
    BitBlt(dc, 0, 0, cacheSize_.cx, cacheSize_.cy, mem.Get(), 0, 0, SRCCOPY);
    // A control grown since the image was cached shows its background beyond the image.
    RECT right{cacheSize_.cx, 0, size.cx, size.cy}, below{0, cacheSize_.cy, cacheSize_.cx, size.cy};
    if (right.left < right.right) FillRect(dc, &right, Background());
    if (below.top < below.bottom) FillRect(dc, &below, Background());
}

void TJvZoom::OnTimer() {
    // A view no one can see (the other page, the other view, the window hidden) stops ticking;
    // WM_PAINT, which comes when it shows again, draws the cursor's place then and restarts it.
    if (!IsWindowVisible(Handle())) {
        parked_ = true;
        UpdateTimer();
        return;
    }
    Redraw();
}

void TJvZoom::Redraw() {
    if (Draw()) ShowDrawn();
}

void TJvZoom::ShowDrawn() {
    // Straight into the window, not by invalidating it: no erase, no flicker.
    if (IsWindowVisible(Handle())) {
        gdi::WindowDC dc(Handle());
        if (dc) Show(dc.Get());
    }
    if (OnContentsChanged) OnContentsChanged(*this);
}

bool TJvZoom::DrawFor(POINT cursor, const SourceReader& read) {
    if (!Handle() || !active_ || parked_ || !IsWindowVisible(Handle())) return false;
    if (Draw(cursor)) ShowDrawn();
    // Made by this call or by the timer just before it (on Windows both come in the same system
    // tick), and not taken yet: a still cursor's pixel is read afresh by the owner.
    if (!sourceUntaken_ || !(last_ == zoom::Point{cursor.x, cursor.y})) return false;
    sourceUntaken_ = false;
    read(source_.Get(), cursorInSource_, source_.size);
    return true;
}

void TJvZoom::RenewScreen() {
    gdi::WindowDC fresh(nullptr);
    if (fresh) screen_ = std::move(fresh);
    layoutKnown_ = false;
    last_ = zoom::NoPosition;
}

void TJvZoom::Refresh() {
    if (!Handle() || !active_) return;
    last_ = zoom::NoPosition;
    Redraw();
}

void TJvZoom::OnSize() {
    last_ = zoom::NoPosition;
    if (active_) {
        Redraw();
        return;
    }
    gdi::WindowDC dc(Handle());
    if (dc) Show(dc.Get());
}

LRESULT TJvZoom::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    // Its name for a screen reader, made when asked: the zoom it shows.
    if (LRESULT r = 0; a11y::AnswerAsNamed(
            Handle(), msg, wp, lp, a11y::Kind::Magnifier,
            [this] { return a11y::MagnifierName(ClientSize().cx, zoomLevel_); }, r))
        return r;
    switch (msg) {
        case WM_TIMER:
            if (wp == RedrawTimer) {
                OnTimer();
                return 0;
            }
            break;
        case WM_ERASEBKGND:
            return 1;  // every paint covers the whole view
        case WM_PAINT: {
            // Shown again: the cursor may have moved and come back meanwhile, when a visible view
            // would have drawn, so what is under it now is drawn in any case.
            if (parked_) {
                parked_ = false;
                last_ = zoom::NoPosition;
                UpdateTimer();
            }
            gdi::PaintDC paint(Handle());
            const bool drew = active_ && Draw();
            Show(paint.Get());
            if (drew && OnContentsChanged) OnContentsChanged(*this);
            return 0;
        }
        case WM_PRINTCLIENT:
            Show(reinterpret_cast<HDC>(wp));
            return 0;
        case WM_DPICHANGED_AFTERPARENT:
            layoutKnown_ = false;
            break;
        case WM_SIZE: {
            clientSizeKnown_ = false;
            layoutKnown_ = false;
            LRESULT r = Window::HandleMessage(msg, wp, lp);
            OnSize();
            return r;
        }
    }
    return Window::HandleMessage(msg, wp, lp);
}
