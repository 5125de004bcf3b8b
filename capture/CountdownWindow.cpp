#include "capture/CountdownWindow.h"

#include <string>

#include "access/Accessible.h"
#include "access/OverlayNames.h"
#include "capture/ScreenSettleWin32.h"
#include "win/Application.h"
#include "win/Dpi.h"

namespace {
constexpr UINT_PTR TickTimer = 1;
constexpr const wchar_t* ClassName = L"TCountdownForm";
}  // namespace

TCountdownForm::TCountdownForm() {
    RegisterClass(ClassName, 0, LoadCursorW(nullptr, IDC_ARROW));
    // No owner: the application is minimised meanwhile, and an owned window would go with it.
    // A tool window has no taskbar button; it never activates, not even when clicked.
    Create(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, ClassName, L"Capture countdown",
           WS_POPUP | WS_BORDER, 0, 0, 0, 0, nullptr);
    excluded_ = settle::KeepOutOfCaptures(Handle());
}

TCountdownForm::~TCountdownForm() {
    if (Handle()) DestroyWindow(Handle());
}

bool TCountdownForm::Run(int seconds) {
    count_ = std::make_unique<countdown::Countdown>(seconds, GetTickCount());
    POINT p{};
    GetCursorPos(&p);
    HMONITOR monitor = MonitorFromPoint(p, MONITOR_DEFAULTTONEAREST);
    // Put on the pointer's monitor first (still hidden), so that it has that monitor's DPI.
    SetWindowPos(Handle(), nullptr, p.x, p.y, 1, 1, SWP_NOACTIVATE | SWP_NOZORDER);
    const int dpi = win::WindowDpi(Handle());
    font_ = gdi::Font(CreateFontW(-MulDiv(28, dpi, 96), 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE,
                                  DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                  DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, L"Tahoma"));
    const geo::Size size{MulDiv(56, dpi, 96), MulDiv(44, dpi, 96)};
    MONITORINFO info{};
    info.cbSize = sizeof info;
    GetMonitorInfoW(monitor, &info);
    const RECT& w = info.rcWork;
    const geo::Point at =
        countdown::PlaceBesidePointer({p.x, p.y}, size, {w.left, w.top, w.right, w.bottom});
    bounds_ = {at.x, at.y, at.x + size.cx, at.y + size.cy};
    ShowSeconds(count_->SecondsLeft(GetTickCount()));
    // It never has the foreground: Esc reaches it as a hotkey, whatever has. Released on every
    // way out, so that Esc closes the user's menus again afterwards.
    struct Release {
        std::optional<overlaykeys::HeldKeys>& keys;
        ~Release() { keys.reset(); }
    } release{keys_};
    keys_.emplace(Handle(), overlaykeys::Taker::Countdown);
    SetWindowPos(Handle(), HWND_TOPMOST, at.x, at.y, size.cx, size.cy,
                 SWP_NOACTIVATE | SWP_SHOWWINDOW);
    UpdateWindow(Handle());
    Tick();
    win::Application().RunModalLoop([this] { return done_ || cancelled_; });
    KillTimer(Handle(), TickTimer);
    SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
                 SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    return done_ && !cancelled_;
}

void TCountdownForm::Cancel() {
    cancelled_ = true;
    // The loop looks at its end after each message: this one makes sure there is one.
    if (Handle()) PostMessageW(Handle(), WM_NULL, 0, 0);
}

void TCountdownForm::Tick() {
    const DWORD now = GetTickCount();
    if (count_->Done(now)) {
        done_ = true;
        return;
    }
    const int left = count_->SecondsLeft(now);
    if (left != shown_) {
        ShowSeconds(left);
        InvalidateRect(Handle(), nullptr, FALSE);
        // Each second is a rest of its own: the name is told as the number changes.
        a11y::RaiseNameChange(Handle());
    }
    // Timed to the change of the number, not to a fixed period that would drift from it.
    SetTimer(Handle(), TickTimer, count_->NextChangeIn(now), nullptr);
}

void TCountdownForm::ShowSeconds(int seconds) {
    shown_ = seconds;
    SetWindowTextW(Handle(), a11y::CountdownName(seconds).c_str());
}

void TCountdownForm::Paint(HDC dc) {
    RECT r;
    GetClientRect(Handle(), &r);
    const a11y::Look look = a11y::CurrentLook();  // the system's colours in High Contrast
    gdi::Brush back(CreateSolidBrush(look.countdownBack));
    FillRect(dc, &r, back.Get());
    gdi::Selection font(dc, font_.Get());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, look.countdownText);
    const std::wstring text = std::to_wstring(shown_);
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

LRESULT TCountdownForm::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_TIMER:
            if (wp == TickTimer) {
                Tick();
                return 0;
            }
            break;
        case WM_MOUSEACTIVATE:
            return MA_NOACTIVATE;
        case WM_HOTKEY:
            if (const auto key = keys_ ? keys_->KeyOf(msg, wp) : std::nullopt;
                key && key->key == overlaykeys::VkEscape) {
                Cancel();
                return 0;
            }
            break;
    }
    return PaintedWindow::HandleMessage(msg, wp, lp);
}
