#include "capture/CaptureTheRect.h"

#include <algorithm>

#include "access/Accessible.h"
#include "access/OverlayNames.h"
#include "capture/RegionProposal.h"
#include "win/Dpi.h"
#include "win/ErrorReport.h"

namespace msg {
// The proposal is drawn once the window shows the frozen copy.
constexpr UINT ProposalShow = WM_APP + 1;
}  // namespace msg

namespace {
constexpr UINT_PTR Timer1 = 1;
constexpr UINT Timer1Interval = 100;  // ms: the dashes move two pixels per tick
}  // namespace

TCaptureRectForm::TCaptureRectForm(HWND owner)
    : TScreenOverlay(L"TCaptureRectForm", L"CaptureRectForm", LoadCursorW(nullptr, IDC_CROSS),
                     owner) {
    if (!SetTimer(Handle(), Timer1, Timer1Interval, nullptr))
        throw win::Error(L"Not enough timers available");
}

TCaptureRectForm::~TCaptureRectForm() {
    if (Handle()) KillTimer(Handle(), Timer1);
}

void TCaptureRectForm::EraseFrame() {
    // Repaint only the band round the frame line: grow by one pixel, then take back everything
    // from one pixel inside.
    frame::Rect o = frame::OrderRect(rect_);
    RECT r{o.Left, o.Top, o.Right, o.Bottom};
    InflateRect(&r, 1, 1);
    InvalidateRect(Handle(), &r, TRUE);
    InflateRect(&r, -2, -2);
    if (r.left < r.right && r.top < r.bottom) ValidateRect(Handle(), &r);
    UpdateWindow(Handle());
}

void TCaptureRectForm::DrawFrame() {
    auto walk = frame::FrameWalk(rect_);
    if (walk.empty()) return;
    gdi::WindowDC dc(Handle());
    if (!dc) return;
    dashes_.Begin();
    for (const frame::Point& p : walk)
        SetPixelV(dc.Get(), p.X, p.Y, dashes_.NextIsRed() ? RGB(255, 0, 0) : RGB(255, 255, 255));
}

void TCaptureRectForm::Timer1Timer() {
    dashes_.Tick();
    DrawFrame();
    // Painting the frozen copy round the frame may have covered part of the size.
    if (!IsRectEmpty(&sizeLabel_)) DrawSize();
}

void TCaptureRectForm::FormMouseDown(int x, int y) {
    SetCapture(Handle());
    pressed_ = true;
    keyDrag_ = false;
    EraseSize();
    EraseFrame();
    rect_ = frame::PressAt(x, y);
    NameChanging();
}

void TCaptureRectForm::FormMouseMove(bool leftHeld, int x, int y) {
    // A proposal stays until a drag or a press replaces it.
    if (!pressed_ && Proposal && !FixedSize) return;
    auto next = frame::MoveTo(rect_, FixedSize, FixedWidth, FixedHeight, leftHeld, x, y);
    // A key step moves the frame at once; the pointer's own move message then changes nothing.
    if (!next || *next == rect_) return;
    Redraw(*next);
}

void TCaptureRectForm::Redraw(const frame::Rect& next) {
    EraseSize();
    EraseFrame();
    rect_ = next;
    DrawFrame();
    DrawSize();
    NameChanging();
}

std::wstring TCaptureRectForm::Name() const {
    const frame::Rect r = frame::OrderRect(rect_);
    return a11y::SelectionName(r.Right - r.Left, r.Bottom - r.Top);
}

geo::Rect TCaptureRectForm::Bounds() const {
    RECT client{};
    GetClientRect(Handle(), &client);
    return {0, 0, client.right, client.bottom};
}

void TCaptureRectForm::FormShow() {
    if (!Proposal || FixedSize) return;
    const frame::Rect& p = *Proposal;
    const geo::Rect inside = proposal::Nudge({p.Left, p.Top, p.Right, p.Bottom}, 0, 0, Bounds());
    Redraw({inside.left, inside.top, inside.right, inside.bottom});
}

void TCaptureRectForm::OverlayKey(unsigned key, bool shift) {
    // Esc backs out at any point: nothing is taken.
    if (key == VK_ESCAPE) {
        EraseSize();
        EraseFrame();
        SetModalResult(mrAbort);
        return;
    }
    // An offered rectangle keeps the arrows and Enter until a press replaces it; Space is that
    // press, as a click is, and the rectangle is the user's own from there.
    if (!pressed_ && Proposal && !FixedSize && ProposalKey(key, shift)) return;
    if (key == VK_RETURN || key == VK_SPACE) {
        KeyPress();
        return;
    }
    if (auto to = StepCursor(key, shift))
        FormMouseMove(keyDrag_ || GetKeyState(VK_LBUTTON) < 0, to->x, to->y);
}

void TCaptureRectForm::KeyPress() {
    POINT p{};
    if (!GetCursorPos(&p) || !ScreenToClient(Handle(), &p)) return;
    if (!keyDrag_) {
        FormMouseDown(p.x, p.y);
        // The fixed frame needs no second press: it is taken where it stands.
        if (FixedSize)
            FormMouseUp(true, p.x, p.y);
        else
            keyDrag_ = true;
        return;
    }
    keyDrag_ = false;
    FormMouseMove(true, p.x, p.y);
    FormMouseUp(true, p.x, p.y);
}

bool TCaptureRectForm::ProposalKey(unsigned key, bool shift) {
    const int step = shift ? 10 : 1;
    int dx = 0, dy = 0;
    switch (key) {
        case VK_RETURN: {
            EraseSize();
            TakeSelection(frame::OrderRect(rect_));
            SetModalResult(mrOk);
            return true;
        }
        case VK_LEFT:
            dx = -step;
            break;
        case VK_RIGHT:
            dx = step;
            break;
        case VK_UP:
            dy = -step;
            break;
        case VK_DOWN:
            dy = step;
            break;
        default:
            return false;
    }
    const geo::Rect moved =
        proposal::Nudge({rect_.Left, rect_.Top, rect_.Right, rect_.Bottom}, dx, dy, Bounds());
    Redraw({moved.left, moved.top, moved.right, moved.bottom});
    return true;
}

void TCaptureRectForm::EraseSize() {
    if (IsRectEmpty(&sizeLabel_)) return;
    InvalidateRect(Handle(), &sizeLabel_, TRUE);
    sizeLabel_ = {};
    UpdateWindow(Handle());
}

void TCaptureRectForm::DrawSize() {
    if (!ShowSize) return;
    const geo::Rect r{rect_.Left, rect_.Top, rect_.Right, rect_.Bottom};
    if (r.left == r.right && r.top == r.bottom) return;
    gdi::WindowDC dc(Handle());
    if (!dc) return;
    // In the system's message font at the DPI of the monitor the label shows on.
    POINT corner{std::max(r.left, r.right), std::max(r.top, r.bottom)};
    ClientToScreen(Handle(), &corner);
    const int dpi = MonitorDpi(MonitorFromPoint(corner, MONITOR_DEFAULTTONEAREST), Handle());
    if (!sizeFont_ || dpi != sizeFontDpi_) {
        NONCLIENTMETRICSW metrics{};
        if (win::NonClientMetrics(metrics, dpi))
            sizeFont_ = gdi::Font(CreateFontIndirectW(&metrics.lfMessageFont));
        sizeFontDpi_ = dpi;
    }
    gdi::Selection font(dc.Get(), sizeFont_ ? sizeFont_.Get() : GetStockObject(DEFAULT_GUI_FONT));
    const std::wstring text = proposal::SizeText(r);
    SIZE extent{};
    GetTextExtentPoint32W(dc.Get(), text.c_str(), static_cast<int>(text.size()), &extent);
    const geo::Size label{extent.cx + 8, extent.cy + 4};
    const geo::Point at = proposal::SizeLabelAt(r, label, Bounds());
    sizeLabel_ = {at.x, at.y, at.x + label.cx, at.y + label.cy};
    // It lies on any picture. In High Contrast it takes the system's tooltip colours and a frame,
    // so its box stands out however close the picture's colours come to them.
    const a11y::Look look = a11y::LookFor(a11y::SystemHighContrast(), a11y::CurrentSystemColors());
    SetBkColor(dc.Get(), look.sizeBack);
    SetTextColor(dc.Get(), look.sizeText);
    ExtTextOutW(dc.Get(), at.x + 4, at.y + 2, ETO_OPAQUE, &sizeLabel_, text.c_str(),
                static_cast<UINT>(text.size()), nullptr);
    if (look.sizeFrame) {
        gdi::Brush frame(CreateSolidBrush(*look.sizeFrame));
        if (frame) FrameRect(dc.Get(), &sizeLabel_, frame.Get());
    }
}

void TCaptureRectForm::FormMouseUp(bool left, int, int) {
    if (GetCapture() == Handle()) ReleaseCapture();
    if (!left) return;
    if (auto area = frame::ReleaseArea(rect_, FixedSize, FixedWidth, FixedHeight)) {
        EraseSize();
        EraseFrame();
        TakeSelection(*area);
    }
    SetModalResult(mrOk);
}

void TCaptureRectForm::TakeSelection(const frame::Rect& area) {
    // The pixels come from the frozen copy, which is exactly what the overlay shows there, and
    // so never contain frame pixels. Parts of a fixed frame beyond the screen come out black.
    TPicture picture;
    int w = area.Right - area.Left, h = area.Bottom - area.Top;
    picture.SetSize(w, h);
    gdi::WindowDC screen(nullptr);
    gdi::MemoryDC to(screen.Get()), from(screen.Get());
    if (!to || !from) throw win::Error(L"Cannot create the bitmap: out of system resources");
    gdi::Selection selTo(to.Get(), picture.Bitmap());
    gdi::Selection selFrom(from.Get(), ScreenImage().Bitmap());
    RECT all{0, 0, w, h};
    FillRect(to.Get(), &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    int left = std::max(area.Left, 0), top = std::max(area.Top, 0);
    int right = std::min(area.Right, ScreenImage().Width());
    int bottom = std::min(area.Bottom, ScreenImage().Height());
    if (right > left && bottom > top &&
        !BitBlt(to.Get(), left - area.Left, top - area.Top, right - left, bottom - top, from.Get(),
                left, top, SRCCOPY))
        throw win::Error(L"Cannot copy the selection");
    selectionImage_ = std::move(picture);
    taken_ = area;
}

LRESULT TCaptureRectForm::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_TIMER:
            if (wp == Timer1) {
                Timer1Timer();
                return 0;
            }
            break;
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
            FormMouseDown(GET_X_LPARAM(lp), GET_Y_LPARAM(lp));
            return 0;
        case WM_MOUSEMOVE:
            FormMouseMove((wp & MK_LBUTTON) != 0 || keyDrag_, GET_X_LPARAM(lp), GET_Y_LPARAM(lp));
            return 0;
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
        case WM_MBUTTONUP:
            FormMouseUp(msg == WM_LBUTTONUP, GET_X_LPARAM(lp), GET_Y_LPARAM(lp));
            return 0;
        case WM_SHOWWINDOW:
            if (wp) PostMessageW(Handle(), msg::ProposalShow, 0, 0);
            break;
        case msg::ProposalShow:
            FormShow();
            return 0;
    }
    return TScreenOverlay::HandleMessage(msg, wp, lp);
}
