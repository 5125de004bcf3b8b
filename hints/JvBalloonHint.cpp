#include "hints/JvBalloonHint.h"

using hints::BalloonPosition;

namespace {
hints::Rect FromRECT(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }
RECT ToRECT(const hints::Rect& r) { return {r.left, r.top, r.right, r.bottom}; }

// The outline of a balloon of size `size` with its stem at `position`, in its own coordinates;
// an empty owner when the platform cannot make it (the balloon is then a plain rectangle).
gdi::Region MakeShape(BalloonPosition position, hints::Size size, int dpi) {
    hints::Rect b = hints::BodyRect(position, size, dpi);
    const int corner = hints::balloon::MetricsFor(dpi).cornerEllipse;
    gdi::Region shape(CreateRoundRectRgn(b.left, b.top, b.right, b.bottom, corner, corner));
    auto stem = hints::StemTriangle(position, size, dpi);
    POINT pts[3];
    for (int i = 0; i < 3; ++i)
        pts[i] = {stem[static_cast<size_t>(i)].x, stem[static_cast<size_t>(i)].y};
    gdi::Region triangle(CreatePolygonRgn(pts, 3, WINDING));
    if (!shape || !triangle ||
        CombineRgn(shape.Get(), shape.Get(), triangle.Get(), RGN_OR) == ERROR)
        return gdi::Region();
    return shape;
}
}  // namespace

RECT TJvBalloonWindow::CalcHintRect(int maxWidth, const std::wstring& text) {
    SIZE s = MeasureText(text, maxWidth, DT_WORDBREAK | DT_NOPREFIX);
    return ToRECT(
        hints::BalloonRect({s.cx, s.cy}, position_, GetSystemMetrics(SM_CYCURSOR), Dpi()));
}

void TJvBalloonWindow::ActivateHint(RECT rect, const std::wstring& text) {
    EnsureCreated();
    if (Showing()) ReleaseHint();
    RECT bounds, work;
    if (!MonitorAreas(rect, bounds, work)) {
        SetRect(&bounds, 0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
        work = bounds;
    }
    hints::BalloonPlacement placed =
        hints::PlaceBalloon(FromRECT(rect), position_, FromRECT(work),
                            GetSystemMetrics(SM_CYCURSOR), Dpi(), {bounds.left, bounds.top});
    shown_ = placed.position;
    gdi::Region shape = MakeShape(shown_, placed.rect.Extent(), Dpi());
    // The window owns its region once it is set.
    if (SetWindowRgn(Handle(), shape.Get(), FALSE))
        shape.Release();
    else
        SetWindowRgn(Handle(), nullptr, FALSE);
    ShowAt(ToRECT(placed.rect), text);
}

void TJvBalloonWindow::Paint(HDC dc) {
    RECT client;
    GetClientRect(Handle(), &client);
    hints::Size size{client.right, client.bottom};
    const a11y::HintColors colors = Settings().Colors();
    gdi::Brush back(CreateSolidBrush(colors.back)), frame(CreateSolidBrush(colors.frame));
    FillRect(dc, &client, back.Get());
    // The outline is painted exactly on the window's shape. (A hint window with a one-pixel
    // border, whose client area starts one pixel in, has to paint it one pixel up and left for
    // the same result; this one has no border.)
    if (gdi::Region outline = MakeShape(shown_, size, Dpi())) {
        FillRgn(dc, outline.Get(), back.Get());
        FrameRgn(dc, outline.Get(), frame.Get(), 1, 1);
    } else {
        FrameRect(dc, &client, frame.Get());
    }

    gdi::Selection font(dc, HintFont());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, colors.text);
    RECT textRect = ToRECT(hints::TextRect(shown_, size, Dpi()));
    DrawTextW(dc, text_.c_str(), static_cast<int>(text_.size()), &textRect,
              DT_WORDBREAK | DT_NOPREFIX);
}

TJvBalloonHint::TJvBalloonHint(HWND form, hints::ApplicationHints& settings, hints::HintTimes times)
    : settings_(settings), monitor_(std::make_unique<hints::HintMonitor>(form, settings, times)) {}

TJvBalloonHint::~TJvBalloonHint() {
    // The monitor's window is of the balloon class: it goes before the class is given back.
    monitor_.reset();
    if (previous_) settings_.SetHintWindowClass(std::move(*previous_));
}

void TJvBalloonHint::InstallBalloonClass() {
    BalloonPosition position = position_;
    auto balloon =
        [position](const hints::ApplicationHints& settings) -> std::unique_ptr<hints::THintWindow> {
        return std::make_unique<TJvBalloonWindow>(settings, position);
    };
    auto before = settings_.SetHintWindowClass(balloon);
    if (!previous_) previous_ = std::move(before);
}

void TJvBalloonHint::SetApplicationHintOptions(unsigned options) {
    bool wasOn = options_ & ahUseBalloonAsHint;
    bool on = options & ahUseBalloonAsHint;
    options_ = options;
    if (on && !wasOn) {
        InstallBalloonClass();
    } else if (!on && wasOn && previous_) {
        settings_.SetHintWindowClass(std::move(*previous_));
        previous_.reset();
    }
}

void TJvBalloonHint::SetDefaultBalloonPosition(BalloonPosition position) {
    position_ = position;
    if (options_ & ahUseBalloonAsHint) InstallBalloonClass();
}
