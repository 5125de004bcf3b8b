#include "capture/CaptureBounds.h"

#include <algorithm>

namespace {
geo::Rect Clip(const geo::Rect& r, const geo::Rect& to) {
    geo::Rect c{std::max(r.left, to.left), std::max(r.top, to.top), std::min(r.right, to.right),
                std::min(r.bottom, to.bottom)};
    return c.Empty() ? geo::Rect{} : c;
}
}  // namespace

geo::Rect CaptureBounds(const WindowPlacing& window) {
    if (!window.TopLevel) return window.Window;
    geo::Rect r = window.Frame && !window.Frame->Empty() ? *window.Frame : window.Window;
    if (window.Maximized) r = Clip(r, window.Monitor);
    return Clip(r, window.Desk);
}
