// The options view by keyboard: the tray's "Options" puts the focus in it, Ctrl+Tab and
// Ctrl+Shift+Tab turn the pages, Tab runs from the page strip through the page's controls and
// back, and Esc unpins a view the tray pinned.
#include <vector>

#include "app/TintsnatchMain.h"
#include "win/Controls.h"

namespace {
// The dialog manager's own focus cues stay hidden until the keyboard is used; a view opened and
// walked by keyboard shows them at once.
void ShowFocusCues(HWND window) {
    SendMessageW(window, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
}
}  // namespace

void TTintsnatch4::FocusOptions() {
    if (!win::IsShown(Properties)) return;
    // The menu's owner was the foreground window a moment ago, so the system lets this one take
    // its place.
    SetForegroundWindow(Handle());
    SetFocus(Properties);
    ShowFocusCues(Handle());
}

void TTintsnatch4::UnpinOptions() {
    if (!options1Checked_) return;
    // What choosing "&Options" again does to the mode and the check mark.
    followMode_ = !followMode_;
    options1Checked_ = false;
    SyncTrayMenu();
}

HWND TTintsnatch4::ShownPage() const {
    const int index = TabCtrl_GetCurSel(Properties);
    if (index < 0 || index >= page::Count) return nullptr;
    return (this->*Pages[index].panel).Handle();
}

namespace {
// The controls of a page the Tab key stops at, in their tab order (the order of the windows),
// looking into panels as the dialog manager does and not into a control's own parts.
std::vector<HWND> TabStops(HWND page) {
    struct Walk {
        HWND page;
        std::vector<HWND> stops;
    } walk{page, {}};
    EnumChildWindows(
        page,
        [](HWND h, LPARAM data) {
            auto& w = *reinterpret_cast<Walk*>(data);
            for (HWND up = GetParent(h); up && up != w.page; up = GetParent(up))
                if (!(GetWindowLongW(up, GWL_EXSTYLE) & WS_EX_CONTROLPARENT)) return TRUE;
            if ((GetWindowLongW(h, GWL_STYLE) & WS_TABSTOP) && IsWindowVisible(h) &&
                IsWindowEnabled(h))
                w.stops.push_back(h);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&walk));
    return walk.stops;
}
}  // namespace

bool TTintsnatch4::OptionsTabKey(const MSG& m) {
    if (m.message != WM_KEYDOWN || m.wParam != VK_TAB || GetKeyState(VK_MENU) < 0) return false;
    if (!win::IsShown(Properties) || !IsWindowEnabled(Handle())) return false;
    const bool back = GetKeyState(VK_SHIFT) < 0;
    HWND focus = GetFocus();
    HWND page = ShownPage();
    if (!page || (focus != Properties && !IsChild(page, focus))) return false;
    ShowFocusCues(Handle());
    if (GetKeyState(VK_CONTROL) < 0) {
        const int count = page::Count;
        ShowPage((TabCtrl_GetCurSel(Properties) + (back ? count - 1 : 1)) % count);
        if (focus != Properties) {
            const std::vector<HWND> stops = TabStops(ShownPage());
            SetFocus(stops.empty() ? Properties : stops.front());
        }
        return true;
    }
    // The pages are the page control's children, so the dialog manager would never leave the
    // strip for them: the ring is the strip, then the shown page's controls in their tab order.
    std::vector<HWND> ring = TabStops(page);
    ring.insert(ring.begin(), Properties);
    std::size_t at = 0;
    for (std::size_t i = 0; i < ring.size(); ++i)
        if (ring[i] == focus || IsChild(ring[i], focus)) at = i;
    HWND next = ring[(at + (back ? ring.size() - 1 : 1)) % ring.size()];
    SetFocus(next);
    // An edit shows its whole text selected when the keyboard enters it, as in a dialog.
    if (SendMessageW(next, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL)
        SendMessageW(next, EM_SETSEL, 0, -1);
    return true;
}

bool TTintsnatch4::RadioArrowKey(const MSG& m) {
    if (m.message != WM_KEYDOWN) return false;
    for (win::RadioGroup* group :
         {&clipboard_.rgClipboard, &capture_.rgCapture, &capture_.rgCaptureArea})
        if (group->ArrowKey(m.hwnd, static_cast<unsigned>(m.wParam))) {
            ShowFocusCues(Handle());
            return true;
        }
    return false;
}
