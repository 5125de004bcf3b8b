// The main window's larger views on the screen: the options and capture views open over the
// compact view and stay on its monitor; the compact view comes back where it was.
#include "app/TintsnatchMain.h"
#include "app/ViewPlacement.h"

void TTintsnatch4::GrowView() {
    RECT now;
    if (!GetWindowRect(Handle(), &now)) return;
    const SIZE size{Scaled(OptionsWidth), Scaled(OptionsHeight)};
    if (now.right - now.left == size.cx && now.bottom - now.top == size.cy) return;
    MONITORINFO info{};
    info.cbSize = sizeof info;
    POINT at{now.left, now.top};
    if (GetMonitorInfoW(MonitorFromRect(&now, MONITOR_DEFAULTTONEAREST), &info)) {
        const RECT& w = info.rcWork;
        views::Point p = views::GrownViewPosition(
            {now.left, now.top, now.left + size.cx, now.top + size.cy},
            {now.left, now.top, now.right, now.bottom}, {w.left, w.top, w.right, w.bottom});
        at = {p.x, p.y};
    }
    SetWindowPos(Handle(), nullptr, at.x, at.y, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
    RECT grown;
    if (GetWindowRect(Handle(), &grown))
        grownFrom_ = GrownFrom{{now.left, now.top}, {grown.left, grown.top}};
}

void TTintsnatch4::ShrinkView(RECT& window) {
    const SIZE size{Scaled(CompactWidth), Scaled(CompactHeight)};
    if (window.right - window.left == size.cx && window.bottom - window.top == size.cy) return;
    // Back where the compact view was, unless the larger view was moved meanwhile (by the user,
    // by a change of monitor): then it shrinks where it is.
    POINT at{window.left, window.top};
    if (grownFrom_ && grownFrom_->grownAt.x == at.x && grownFrom_->grownAt.y == at.y)
        at = grownFrom_->compactAt;
    grownFrom_.reset();
    SetWindowPos(Handle(), nullptr, at.x, at.y, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
    if (!GetWindowRect(Handle(), &window)) window = {at.x, at.y, at.x + size.cx, at.y + size.cy};
}
