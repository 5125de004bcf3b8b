#include "hints/HintWindow.h"

#include <utility>

#include "access/Accessible.h"
#include "win/Dpi.h"
#include "win/DpiScale.h"
#include "win/ErrorReport.h"

namespace hints {

ApplicationHints::ApplicationHints()
    : windowClass_([](const ApplicationHints& settings) {
          return std::make_unique<THintWindow>(settings);
      }) {}

COLORREF ApplicationHints::HintColor() const { return chosen_.value_or(GetSysColor(COLOR_INFOBK)); }

a11y::HintColors ApplicationHints::Colors() const {
    return a11y::HintColorsFor(highContrast_, a11y::CurrentSystemColors(), chosen_);
}

std::unique_ptr<THintWindow> ApplicationHints::MakeHintWindow() const {
    return windowClass_(*this);
}

HintWindowClass ApplicationHints::SetHintWindowClass(HintWindowClass windowClass) {
    ++generation_;
    return std::exchange(windowClass_, std::move(windowClass));
}

void THintWindow::EnsureCreated() {
    if (Handle()) return;
    RegisterClass(ClassName(), ClassStyle(), nullptr, nullptr);
    // A tool window (no task bar button) that never takes activation and stays above the
    // always-on-top main window.
    Create(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, ClassName(), L"", WS_POPUP, 0, 0, 0,
           0, nullptr);
}

void THintWindow::SetDpi(int dpi) {
    if (dpi <= 0 || dpi == dpi_) return;
    dpi_ = dpi;
    font_.Reset();
}

HFONT THintWindow::HintFont() {
    if (!font_) {
        NONCLIENTMETRICSW ncm{};
        if (win::NonClientMetrics(ncm, dpi_)) font_.Reset(CreateFontIndirectW(&ncm.lfStatusFont));
    }
    return font_ ? font_.Get() : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

SIZE THintWindow::MeasureText(const std::wstring& text, int maxWidth, UINT format) {
    gdi::WindowDC screen(nullptr);
    if (!screen) throw win::Error(L"Cannot measure the hint text");
    gdi::Selection font(screen.Get(), HintFont());
    RECT r{0, 0, maxWidth, 0};
    DrawTextW(screen.Get(), text.c_str(), static_cast<int>(text.size()), &r, format | DT_CALCRECT);
    return {r.right - r.left, r.bottom - r.top};
}

RECT THintWindow::CalcHintRect(int maxWidth, const std::wstring& text) {
    SIZE s = MeasureText(text, maxWidth, DT_WORDBREAK | DT_NOPREFIX);
    return {0, 0, s.cx + dpi::Scale(6, dpi_), s.cy + dpi::Scale(2, dpi_)};
}

bool THintWindow::MonitorAreas(const RECT& rect, RECT& bounds, RECT& work) const {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (!(monitor_ && GetMonitorInfoW(monitor_, &info)) &&
        !GetMonitorInfoW(MonitorFromRect(&rect, MONITOR_DEFAULTTONEAREST), &info))
        return false;
    bounds = info.rcMonitor;
    work = info.rcWork;
    return true;
}

void THintWindow::ActivateHint(RECT rect, const std::wstring& text) {
    // Kept on the work area of its monitor, as far as it is large enough.
    RECT bounds, work;
    if (MonitorAreas(rect, bounds, work)) {
        int dx = 0, dy = 0;
        if (rect.right > work.right) dx = work.right - rect.right;
        if (rect.left + dx < work.left) dx = work.left - rect.left;
        if (rect.bottom > work.bottom) dy = work.bottom - rect.bottom;
        if (rect.top + dy < work.top) dy = work.top - rect.top;
        OffsetRect(&rect, dx, dy);
    }
    ShowAt(rect, text);
}

void THintWindow::ShowAt(const RECT& rect, const std::wstring& text) {
    EnsureCreated();
    if (Showing()) ReleaseHint();
    text_ = text;
    SetWindowTextW(Handle(), text_.c_str());
    SetWindowPos(Handle(), HWND_TOPMOST, rect.left, rect.top, rect.right - rect.left,
                 rect.bottom - rect.top, SWP_NOACTIVATE);
    ShowWindow(Handle(), SW_SHOWNOACTIVATE);
    UpdateWindow(Handle());
}

void THintWindow::ReleaseHint() {
    if (Handle() && IsWindowVisible(Handle())) ShowWindow(Handle(), SW_HIDE);
}

bool THintWindow::Showing() const { return Handle() && IsWindowVisible(Handle()); }

void THintWindow::Paint(HDC dc) {
    RECT r;
    GetClientRect(Handle(), &r);
    const a11y::HintColors colors = settings_.Colors();
    gdi::Brush back(CreateSolidBrush(colors.back)), frame(CreateSolidBrush(colors.frame));
    FillRect(dc, &r, back.Get());
    FrameRect(dc, &r, frame.Get());
    gdi::Selection font(dc, HintFont());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, colors.text);
    RECT textRect{r.left + dpi::Scale(3, dpi_), r.top + dpi::Scale(1, dpi_), r.right, r.bottom};
    DrawTextW(dc, text_.c_str(), static_cast<int>(text_.size()), &textRect,
              DT_WORDBREAK | DT_NOPREFIX);
}

LRESULT THintWindow::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_NCHITTEST:
            // The mouse sees through a hint to the control under it.
            return HTTRANSPARENT;
        case WM_MOUSEACTIVATE:
            return MA_NOACTIVATE;
        case WM_SYSCOLORCHANGE:
        case WM_SETTINGCHANGE:
            // The colours are read at each paint: a hint shown now takes the new ones.
            InvalidateRect(Handle(), nullptr, TRUE);
            break;
    }
    return PaintedWindow::HandleMessage(msg, wp, lp);
}

}  // namespace hints
