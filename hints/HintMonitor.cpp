#include "hints/HintMonitor.h"

#include <vector>

#include "win/Dpi.h"
#include "win/ErrorReport.h"
#include "win/Hints.h"

namespace hints {

namespace {
constexpr UINT_PTR PollTimer = 1;

// The forms whose procedure monitors have taken over, with the procedure it replaced and the
// monitors watching. Looked up in this process at every message of the form: the platform's own
// subclassing asks for window properties, which under some platforms is a round trip per message,
// and a form that follows the cursor has messages all the time. An entry outlives its monitors
// when another procedure was put over ours meanwhile (ours then stays in the chain and passes
// everything on), and goes with the form.
struct TakenForm {
    HWND form;
    WNDPROC previous;
    std::vector<HintMonitor*> monitors;
};
std::vector<TakenForm>& TakenForms() {
    static std::vector<TakenForm> forms;
    return forms;
}
TakenForm* FindTaken(HWND form) {
    for (TakenForm& t : TakenForms())
        if (t.form == form) return &t;
    return nullptr;
}
}  // namespace

HintTimes PlatformHintTimes() { return TooltipTimes(GetDoubleClickTime()); }

HintMonitor::HintMonitor(HWND form, const ApplicationHints& settings, HintTimes times)
    : form_(form), settings_(settings), tracker_(times) {
    RegisterClass(L"THintMonitor");
    Create(0, L"THintMonitor", L"", 0, 0, 0, 0, 0, HWND_MESSAGE);
    if (!SetTimer(Handle(), PollTimer, PollInterval, nullptr))
        throw win::Error(L"Cannot start the hint timer");
    polling_ = true;
    // A form that hides (minimised for a capture, hidden by the user) takes its hint with it at
    // once, before anything can photograph the screen.
    if (form_) {
        if (TakenForm* taken = FindTaken(form_)) {
            taken->monitors.push_back(this);
        } else {
            auto previous = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(
                form_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&HintMonitor::FormProc)));
            if (!previous) throw win::Error(L"Cannot watch the window for hints");
            TakenForms().push_back({form_, previous, {this}});
        }
    }
}

HintMonitor::~HintMonitor() {
    if (Handle()) KillTimer(Handle(), PollTimer);
    if (TakenForm* taken = form_ ? FindTaken(form_) : nullptr) {
        std::erase(taken->monitors, this);
        if (taken->monitors.empty() && GetWindowLongPtrW(form_, GWLP_WNDPROC) ==
                                           reinterpret_cast<LONG_PTR>(&HintMonitor::FormProc)) {
            SetWindowLongPtrW(form_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(taken->previous));
            std::erase_if(TakenForms(), [&](const TakenForm& t) { return t.form == form_; });
        }
    }
    window_.reset();
}

LRESULT CALLBACK HintMonitor::FormProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    const TakenForm* taken = FindTaken(hwnd);
    if (!taken) return DefWindowProcW(hwnd, msg, wp, lp);
    const WNDPROC previous = taken->previous;
    // Found again at each step: a monitor may come or go while another handles the message.
    for (std::size_t i = 0; (taken = FindTaken(hwnd)) && i < taken->monitors.size(); ++i)
        taken->monitors[i]->FormMessage(msg, wp, lp);
    if (msg == WM_NCDESTROY) {
        if ((taken = FindTaken(hwnd)))
            for (HintMonitor* monitor : taken->monitors) monitor->form_ = nullptr;
        std::erase_if(TakenForms(), [&](const TakenForm& t) { return t.form == hwnd; });
    }
    return CallWindowProcW(previous, hwnd, msg, wp, lp);
}

void HintMonitor::FormMessage(UINT msg, WPARAM wp, LPARAM lp) {
    const UINT posFlags =
        msg == WM_WINDOWPOSCHANGED ? reinterpret_cast<const WINDOWPOS*>(lp)->flags : 0;
    if ((msg == WM_SHOWWINDOW && !wp) || (posFlags & SWP_HIDEWINDOW) || msg == WM_DESTROY) {
        win::Guarded([&] {
            tracker_.Cancel();
            HideHint();
        });
    } else if (msg == WM_SETCURSOR || msg == WM_MOUSEMOVE || msg == WM_NCMOUSEMOVE ||
               (msg == WM_SHOWWINDOW && wp) || (posFlags & SWP_SHOWWINDOW)) {
        // The cursor is over the form or one of its controls (their WM_SETCURSOR reaches the
        // form first), or the form came back: hints may be due again.
        Wake();
    }
}

void HintMonitor::Wake() {
    if (polling_ || failed_ || !Handle()) return;
    polling_ = SetTimer(Handle(), PollTimer, PollInterval, nullptr) != 0;
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
        // Nothing under the cursor and nothing shown: nothing to look at until the cursor comes
        // back over the form.
        if (!control && !(window_ && window_->Showing()) && polling_) {
            KillTimer(Handle(), PollTimer);
            polling_ = false;
        }
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
    window_->SetMonitor(MonitorFromWindow(control, MONITOR_DEFAULTTONEAREST));
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
