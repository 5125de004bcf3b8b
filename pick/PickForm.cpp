#include "pick/PickForm.h"

#include <algorithm>
#include <cstdio>

#include "access/Accessible.h"
#include "access/OverlayNames.h"
#include "colors/BlockAverage.h"
#include "win/Dpi.h"
#include "win/DpiScale.h"
#include "win/ErrorReport.h"
#include "zoom/ZoomGeometry.h"

namespace {
constexpr UINT_PTR SettleTimer = 1;
constexpr UINT SettleDelay = 500;  // ms without a move before the cursor counts as resting
// Design values at 96 DPI: the magnifier's side at most, the loupe's inner margin, its distance
// from the cursor (clear of the cross cursor's arms) and its frame of two one-pixel rings.
constexpr int MagnifierSide = 121, Margin = 4, Gap = 16, FrameWidth = 2;

RECT ToRect(const geo::Rect& r) { return {r.left, r.top, r.right, r.bottom}; }

// A ring of one pixel round r, grown by `by`.
void Ring(HDC dc, RECT r, int by, int stockBrush) {
    InflateRect(&r, by, by);
    FrameRect(dc, &r, static_cast<HBRUSH>(GetStockObject(stockBrush)));
}
}  // namespace

TPickForm::TPickForm(HWND owner, const LoupeLook& look)
    : TScreenOverlay(L"TPickForm", L"Pick precisely", LoadCursorW(nullptr, IDC_CROSS), owner),
      look_(look) {
    origin_ = {GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN)};
    gdi::WindowDC screen(nullptr);
    frozen_.emplace(screen.Get());
    if (!*frozen_) throw win::Error(L"Cannot create the bitmap: out of system resources");
    frozenBitmap_.emplace(frozen_->Get(), ScreenImage().Bitmap());
    POINT p{};
    GetCursorPos(&p);
    const geo::Rect desk = Desk();
    cursor_ = {std::clamp<int>(p.x - origin_.x, 0, std::max(0, desk.right - 1)),
               std::clamp<int>(p.y - origin_.y, 0, std::max(0, desk.bottom - 1))};
    // Drawn with the first paint of the overlay.
    loupe_ = LoupeFor(cursor_);
    // Where the pick starts counts as a rest too, once it has lasted.
    SetTimer(Handle(), SettleTimer, SettleDelay, nullptr);
}

TPickForm::~TPickForm() {
    if (Handle()) KillTimer(Handle(), SettleTimer);
}

POINT TPickForm::Position() const { return {origin_.x + cursor_.x, origin_.y + cursor_.y}; }

COLORREF TPickForm::Color() const { return ColorAt(cursor_); }

COLORREF TPickForm::ColorAt(geo::Point at) const {
    // The block as the Ctrl+C copy samples it: centred on the pixel, cut to the desk.
    if (look_.SampleSide > 1)
        if (const auto mean =
                sampler_.Mean(frozen_->Get(), colors::SampleBlock(at, look_.SampleSide, Desk())))
            return RGB(mean->rgbtRed, mean->rgbtGreen, mean->rgbtBlue);
    return GetPixel(frozen_->Get(), at.x, at.y);
}

std::wstring TPickForm::Name() const {
    const POINT at = Position();
    return a11y::LoupeName(TextOf(cursor_), at.x, at.y);
}

geo::Rect TPickForm::Desk() const { return {0, 0, ScreenImage().Width(), ScreenImage().Height()}; }

std::wstring TPickForm::TextOf(geo::Point at) const {
    const COLORREF c = ColorAt(at);
    const POINT screen{origin_.x + at.x, origin_.y + at.y};
    if (ColorText) return ColorText(c, screen);
    wchar_t hex[8];
    std::swprintf(hex, 8, L"#%02X%02X%02X", GetRValue(c), GetGValue(c), GetBValue(c));
    return hex;
}

std::wstring TPickForm::PositionText(geo::Point at) const {
    return L"(" + std::to_wstring(origin_.x + at.x) + L"," + std::to_wstring(origin_.y + at.y) +
           L")";
}

void TPickForm::SetDpi(int dpi) {
    if (dpi == dpi_ && font_) return;
    dpi_ = dpi;
    grid_ = pick::GridFor(dpi::Scale(MagnifierSide, dpi_), look_.ZoomLevel);
    font_ = gdi::MakeFont(L"Tahoma", -dpi::Scale(11, dpi_));
}

geo::Rect TPickForm::LoupeFor(geo::Point at) {
    // The monitor the cursor is on, in window coordinates, and the loupe at its DPI.
    const POINT screen{origin_.x + at.x, origin_.y + at.y};
    const HMONITOR onMonitor = MonitorFromPoint(screen, MONITOR_DEFAULTTONEAREST);
    MONITORINFO info{};
    info.cbSize = sizeof info;
    geo::Rect monitor = Desk();
    if (GetMonitorInfoW(onMonitor, &info))
        monitor = geo::Rect{info.rcMonitor.left, info.rcMonitor.top, info.rcMonitor.right,
                            info.rcMonitor.bottom}
                      .Moved({-origin_.x, -origin_.y});
    SetDpi(MonitorDpi(onMonitor, Handle()));
    // Sized for the texts it shows now: the magnifier, then a line for the colour and one for
    // the position, as wide as the widest.
    int width = grid_.Side(), lines = 0;
    {
        gdi::Selection font(frozen_->Get(), font_.Get());
        for (const std::wstring& text : {TextOf(at), PositionText(at)}) {
            SIZE extent{};
            GetTextExtentPoint32W(frozen_->Get(), text.c_str(), static_cast<int>(text.size()),
                                  &extent);
            width = std::max<int>(width, extent.cx);
            lines = std::max<int>(lines, extent.cy);
        }
    }
    const int margin = dpi::Scale(Margin, dpi_);
    const geo::Size size{width + 2 * (margin + FrameWidth),
                         grid_.Side() + 2 * lines + 3 * margin + 2 * FrameWidth};
    return pick::PlaceLoupe(at, size, monitor, dpi::Scale(Gap, dpi_));
}

void TPickForm::Follow(geo::Point at) {
    if (at == cursor_) return;
    cursor_ = at;
    const geo::Rect before = loupe_;
    loupe_ = LoupeFor(at);
    // Only the loupe's old and new places are painted again: the frozen copy round them stands.
    const RECT old = ToRect(before), now = ToRect(loupe_);
    InvalidateRect(Handle(), &old, FALSE);
    InvalidateRect(Handle(), &now, FALSE);
    UpdateWindow(Handle());
    NameChanging();
}

void TPickForm::FormMouseMove(int x, int y) {
    const geo::Point at{x, y};
    if (at == cursor_) return;
    Follow(at);
    SetTimer(Handle(), SettleTimer, SettleDelay, nullptr);
}

void TPickForm::Pick() {
    // The copy is made here and now, not once the program's windows are back.
    if (OnPick) OnPick(Color(), Position());
    SetModalResult(mrOk);
}

void TPickForm::OverlayKey(unsigned key, bool shift) {
    switch (key) {
        case VK_RETURN:
        case VK_SPACE:
            Pick();
            return;
        case VK_ESCAPE:
            SetModalResult(mrAbort);
            return;
    }
    const auto to = pick::ArrowStep(key, shift, cursor_, Desk());
    if (!to) return;
    // The pointer goes along, so the mouse carries on from here; its move message then finds the
    // loupe there already.
    SetCursorPos(origin_.x + to->x, origin_.y + to->y);
    Follow(*to);
    KillTimer(Handle(), SettleTimer);
    Settled();
}

void TPickForm::Settled() {
    if (OnSettle) OnSettle(Color(), Position());
}

void TPickForm::Paint(HDC dc, const RECT& area) {
    if (area.right <= area.left || area.bottom <= area.top) return;
    gdi::PaletteSelection palette(dc, ScreenImage().Palette());
    // The frozen copy round the loupe goes straight to the window: a second bitmap of the whole
    // desk (a hundred megabytes on three 4K monitors) would only hold a copy of the first.
    const RECT loupe = ToRect(loupe_);
    {
        SaveDC(dc);
        ExcludeClipRect(dc, loupe.left, loupe.top, loupe.right, loupe.bottom);
        BitBlt(dc, area.left, area.top, area.right - area.left, area.bottom - area.top,
               frozen_->Get(), area.left, area.top, SRCCOPY);
        RestoreDC(dc, -1);
    }
    // The loupe is composed off screen and put there in one copy, so it never flickers over the
    // frozen copy it hides.
    RECT part{};
    if (!IntersectRect(&part, &area, &loupe)) return;
    const int w = part.right - part.left, h = part.bottom - part.top;
    gdi::MemoryDC mem(dc);
    gdi::Bitmap canvas(CreateCompatibleBitmap(dc, w, h));
    if (!mem || !canvas) return;
    gdi::Selection selected(mem.Get(), canvas.Get());
    gdi::PaletteSelection memPalette(mem.Get(), ScreenImage().Palette());
    BitBlt(mem.Get(), 0, 0, w, h, frozen_->Get(), part.left, part.top, SRCCOPY);
    DrawLoupe(mem.Get(), {-part.left, -part.top});
    BitBlt(dc, part.left, part.top, w, h, mem.Get(), 0, 0, SRCCOPY);
}

void TPickForm::DrawLoupe(HDC dc, geo::Point shift) {
    RECT r = ToRect(loupe_.Moved(shift));
    // Two rings, black outside and white inside, show on any colour beneath.
    FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    InflateRect(&r, -1, -1);
    FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    InflateRect(&r, -1, -1);
    const a11y::Look look = a11y::CurrentLook();  // the system's colours in High Contrast
    SetDCBrushColor(dc, look.loupeBack);
    FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));

    // The magnifier: whole cells of the frozen copy, the picked pixel in the middle one. What
    // lies beyond the desk is black.
    const int margin = dpi::Scale(Margin, dpi_), cell = grid_.cellSize;
    const RECT mag{r.left + margin, r.top + margin, r.left + margin + grid_.Side(),
                   r.top + margin + grid_.Side()};
    FillRect(dc, &mag, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    const geo::Rect source = pick::GridSource(cursor_, grid_);
    const geo::Rect desk = Desk();
    const geo::Rect shown{std::max(source.left, desk.left), std::max(source.top, desk.top),
                          std::min(source.right, desk.right), std::min(source.bottom, desk.bottom)};
    if (!shown.Empty()) {
        SetStretchBltMode(dc, COLORONCOLOR);
        StretchBlt(dc, mag.left + (shown.left - source.left) * cell,
                   mag.top + (shown.top - source.top) * cell, shown.Width() * cell,
                   shown.Height() * cell, frozen_->Get(), shown.left, shown.top, shown.Width(),
                   shown.Height(), SRCCOPY);
    }
    const int half = grid_.cells / 2;
    const RECT middle{mag.left + half * cell, mag.top + half * cell, mag.left + (half + 1) * cell,
                      mag.top + (half + 1) * cell};
    if (look_.Crosshair) {
        // The magnifier's crosshair, at its size and colour, through the middle cell and clipped
        // to the magnifier; the middle cell itself is left to show its colour.
        SaveDC(dc);
        IntersectClipRect(dc, mag.left, mag.top, mag.right, mag.bottom);
        ExcludeClipRect(dc, middle.left - 2, middle.top - 2, middle.right + 2, middle.bottom + 2);
        SetDCPenColor(dc, look_.CrosshairColor);
        gdi::Selection pen(dc, GetStockObject(DC_PEN));
        const auto arms =
            zoom::Crosshair({(middle.left + middle.right) / 2, (middle.top + middle.bottom) / 2},
                            dpi::Scale(look_.CrosshairSize, dpi_));
        for (const zoom::Segment& s : {arms.vertical, arms.horizontal}) {
            MoveToEx(dc, s.from.x, s.from.y, nullptr);
            LineTo(dc, s.to.x, s.to.y);
        }
        RestoreDC(dc, -1);
    }
    Ring(dc, middle, 1, BLACK_BRUSH);
    Ring(dc, middle, 2, WHITE_BRUSH);
    // The block sampled, outlined as the middle cell is.
    if (look_.SampleSide > 1) {
        const geo::Rect block =
            pick::CellsOf(grid_, source, colors::SampleBlock(cursor_, look_.SampleSide, Desk()));
        if (!block.Empty()) {
            const RECT cells = ToRect(block.Moved({mag.left, mag.top}));
            Ring(dc, cells, 1, BLACK_BRUSH);
            Ring(dc, cells, 2, WHITE_BRUSH);
        }
    }

    // The colour in the chosen format, then the position.
    gdi::Selection font(dc, font_.Get());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, look.loupeText);
    TEXTMETRICW tm{};
    GetTextMetricsW(dc, &tm);
    int y = mag.bottom + margin;
    for (const std::wstring& text : {TextOf(cursor_), PositionText(cursor_)}) {
        TextOutW(dc, mag.left, y, text.c_str(), static_cast<int>(text.size()));
        y += tm.tmHeight;
    }
}

LRESULT TPickForm::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    // The benchmark asks how many GDI objects the program holds while the loupe shows: the
    // platform's own count is not there under Wine.
    static const UINT liveCount = RegisterWindowMessageW(L"Tintsnatch4 live GDI objects");
    if (msg == liveCount && liveCount != 0) return gdi::LiveCount();
    switch (msg) {
        case WM_PAINT: {
            gdi::PaintDC dc(Handle());
            Paint(dc.Get(), dc.Info().rcPaint);
            return 0;
        }
        case WM_MOUSEMOVE:
            FormMouseMove(GET_X_LPARAM(lp), GET_Y_LPARAM(lp));
            return 0;
        case WM_LBUTTONUP:
            FormMouseMove(GET_X_LPARAM(lp), GET_Y_LPARAM(lp));
            Pick();
            return 0;
        case WM_RBUTTONUP:
            SetModalResult(mrCancel);
            return 0;
        case WM_TIMER:
            if (wp == SettleTimer) {
                KillTimer(Handle(), SettleTimer);
                Settled();
                return 0;
            }
            break;
    }
    return TScreenOverlay::HandleMessage(msg, wp, lp);
}
