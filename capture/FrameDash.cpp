#include "capture/FrameDash.h"

#include <algorithm>

namespace frame {

Rect OrderRect(const Rect& r) {
    return {std::min(r.Left, r.Right), std::min(r.Top, r.Bottom), std::max(r.Left, r.Right),
            std::max(r.Top, r.Bottom)};
}

std::optional<Rect> MoveTo(const Rect& current, bool fixedSize, int fixedWidth, int fixedHeight,
                           bool leftHeld, int x, int y) {
    if (fixedSize) return Rect{x, y, x + fixedWidth, y + fixedHeight};
    if (!leftHeld) return std::nullopt;
    return Rect{current.Left, current.Top, x, y};
}

std::optional<Rect> ReleaseArea(const Rect& stored, bool fixedSize, int fixedWidth,
                                int fixedHeight) {
    Rect area = OrderRect(stored);
    if (area.Left < area.Right && area.Top < area.Bottom) return area;
    if (fixedSize && fixedWidth > 0 && fixedHeight > 0)
        return Rect{stored.Left, stored.Top, stored.Left + fixedWidth, stored.Top + fixedHeight};
    return std::nullopt;
}

namespace {
// The points of one axis-parallel line from a up to but not including b.
void Line(Point a, Point b, std::vector<Point>& out) {
    int dx = b.X > a.X ? 1 : b.X < a.X ? -1 : 0;
    int dy = b.Y > a.Y ? 1 : b.Y < a.Y ? -1 : 0;
    for (Point p = a; p.X != b.X || p.Y != b.Y; p.X += dx, p.Y += dy) out.push_back(p);
}
}  // namespace

std::vector<Point> FrameWalk(const Rect& r) {
    std::vector<Point> out;
    Point lt{r.Left, r.Top}, rt{r.Right, r.Top}, rb{r.Right, r.Bottom}, lb{r.Left, r.Bottom};
    Line(lt, rt, out);
    Line(rt, rb, out);
    Line(rb, lb, out);
    Line(lb, lt, out);
    return out;
}

void Dashes::Tick() {
    phase_ = static_cast<std::uint8_t>(phase_ >> 2);
    if (phase_ == 0) phase_ = 128;
}

bool Dashes::NextIsRed() {
    mask_ = static_cast<std::uint8_t>(mask_ << 1);
    if (mask_ == 0) mask_ = 1;
    return (mask_ & 0xE0) != 0;
}

}  // namespace frame
