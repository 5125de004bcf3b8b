#include "hints/HintMonitor.h"

#include "win/Dpi.h"
#include "win/ErrorReport.h"
#include "win/Hints.h"

namespace hints {

namespace {
constexpr UINT_PTR PollTimer = 1;
constexpr UINT_PTR SubclassId = 0x4849;  // 'HI'
}  // namespace

HintTimes PlatformHintTimes() { return TooltipTimes(GetDoubleClickTime()); }

HintMonitor::HintMonitor(HWND form, const ApplicationHints& settings, HintTimes times)
    : form_(form), settings_(settings), tracker_(times) {
    RegisterClass(L"THintMonitor");
    Create(0, L"THintMonitor", L"", 0, 0, 0, 0, 0, HWND_MESSAGE);
    if (!SetTimer(Handle(), PollTimer, PollInterval, nullptr))
        throw win::Error(L"Cannot start the hint timer");
    // A form that hides (minimised for a capture, hidden by the user) takes its hint with it at
    // once, before anything can photograph the screen.
    if (form_ &&
        !SetWindowSubclass(form_, FormSubclass, SubclassId, reinterpret_cast<DWORD_PTR>(this)))
        throw win::Error(L"Cannot watch the window for hints");
}

HintMonitor::~HintMonitor() {
    if (Handle()) KillTimer(Handle(), PollTimer);
    if (form_ && IsWindow(form_)) RemoveWindowSubclass(form_, FormSubclass, SubclassId);
    window_.reset();
}

LRESULT CALLBACK HintMonitor::FormSubclass(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp,
                                           UINT_PTR /*id*/, DWORD_PTR data) {
    auto* self = reinterpret_cast<HintMonitor*>(data);
    bool hidden = (msg == WM_SHOWWINDOW && !wp) ||
                  (msg == WM_WINDOWPOSCHANGED &&
                   (reinterpret_cast<const WINDOWPOS*>(lp)->flags & SWP_HIDEWINDOW)) ||
                  msg == WM_DESTROY;
    if (hidden) {
        win::Guarded([&] {
            self->tracker_.Cancel();
            self->HideHint();
        });
    }
    if (msg == WM_NCDESTROY) {
        RemoveWindowSubclass(hwnd, FormSubclass, SubclassId);
        self->form_ = nullptr;
    }
    return DefSubclassProc(hwnd, msg, wp, lp);
}

HWND HintMonitor::HintControlAt(POINT p) const {
    if (!form_ || !IsWindowVisible(form_)) return nullptr;
    HWND h = WindowFromPoint(p);
    if (!h) return nullptr;
    if (window_ && h == window_->Handle()) return reinterpret_cast<HWND>(tracker_.Current());
    if (h != form_ && !IsChild(form_, h)) return nullptr;
    // Labels and group boxes are transparent to WindowFromPoint, which then answers with their
    // parent: look for them among its children.
    for (int depth = 0; depth < 32; ++depth) {
        POINT c = p;
        if (!ScreenToClient(h, &c)) break;
        HWND child = ChildWindowFromPointEx(h, c, CWP_SKIPINVISIBLE);
        if (!child || child == h) break;
        h = child;
    }
    for (HWND w = h; w; w = w == form_ ? nullptr : GetParent(w))
        if (!ShortHint(win::GetHint(w)).empty()) return w;
    return nullptr;
}

void HintMonitor::Poll() {
    if (failed_) return;
    POINT p;
    if (!GetCursorPos(&p)) return;
    HWND control = HintControlAt(p);
    bool buttonDown = ((GetAsyncKeyState(VK_LBUTTON) | GetAsyncKeyState(VK_RBUTTON) |
                        GetAsyncKeyState(VK_MBUTTON)) &
                       0x8000) != 0;
    try {
        switch (tracker_.Update(GetTickCount(), reinterpret_cast<HintTracker::Target>(control),
                                buttonDown)) {
            case HintTracker::Action::Show:
                ShowHint(control, p);
                break;
            case HintTracker::Action::Hide:
                HideHint();
                break;
            case HintTracker::Action::None:
                break;
        }
        // A hint window brought back by someone else (a restore of the application) goes again.
        if (!tracker_.Showing() && window_ && window_->Showing()) HideHint();
    } catch (...) {
        // One report, not one every poll: hints stay off for the rest of the run.
        failed_ = true;
        HideHint();
        throw;
    }
}

void HintMonitor::ShowHint(HWND control, POINT cursor) {
    std::wstring text = ShortHint(win::GetHint(control));
    if (text.empty()) return;
    if (!window_ || windowGeneration_ != settings_.HintWindowClassGeneration()) {
        window_.reset();
        window_ = settings_.MakeHintWindow();
        windowGeneration_ = settings_.HintWindowClassGeneration();
    }
    if (!window_) return;
    // The hint shows beside its control, on that control's monitor.
    window_->SetDpi(win::WindowDpi(control));
    RECT r = window_->CalcHintRect(GetSystemMetrics(SM_CXSCREEN), text);
    // The hint point lies a cursor height below the cursor's hot spot, clear of the cursor.
    OffsetRect(&r, cursor.x, cursor.y + GetSystemMetrics(SM_CYCURSOR));
    window_->ActivateHint(r, text);
}

void HintMonitor::HideHint() {
    if (window_) window_->ReleaseHint();
}

LRESULT HintMonitor::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_TIMER && wp == PollTimer) {
        Poll();
        return 0;
    }
    return Window::HandleMessage(msg, wp, lp);
}

}  // namespace hints
