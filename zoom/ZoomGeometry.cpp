#include "zoom/ZoomGeometry.h"

#include <algorithm>
#include <cstdint>

namespace zoom {
namespace {

int Saturate(std::int64_t v) {
    return static_cast<int>(std::clamp<std::int64_t>(v, INT_MIN, INT_MAX));
}

struct Axis {
    std::int64_t center;  // the clamped cursor coordinate: the middle of the source
    std::int64_t offset;  // how far the crosshair moves from the middle of the control
};

// One axis of the edge clamp: the source of 2 * half pixels stays within low..high, and the
// crosshair follows the cursor by the distance the source was held back, scaled to the view.
Axis Clamp(std::int64_t p, std::int64_t half, std::int64_t low, std::int64_t high,
           std::int64_t level) {
    if (p - low < half) return {low + half, (p - low - half - 1) * 100 / level};
    if (p + half > high) return {high - half, (p + half - high + 1) * 100 / level};
    return {p, 0};
}

}  // namespace

std::optional<View> ComputeView(Point cursor, int width, int height, int level, Rect desk) {
    if (level < 1) return std::nullopt;
    const std::int64_t hw = std::int64_t{width / 2} * level / 100;
    const std::int64_t hh = std::int64_t{height / 2} * level / 100;
    const Axis x = Clamp(cursor.x, hw, desk.left, desk.right, level);
    const Axis y = Clamp(cursor.y, hh, desk.top, desk.bottom, level);
    View v;
    v.source = {Saturate(x.center - hw), Saturate(y.center - hh), Saturate(x.center + hw),
                Saturate(y.center + hh)};
    v.center = {Saturate(width / 2 + x.offset), Saturate(height / 2 + y.offset)};
    return v;
}

CrosshairArms Crosshair(Point center, int size) {
    const std::int64_t s = size / 2;
    const std::int64_t cx = center.x, cy = center.y;
    return {{{center.x, Saturate(cy - s)}, {center.x, Saturate(cy + s)}},
            {{Saturate(cx - s), center.y}, {Saturate(cx + s), center.y}}};
}

Rect BlockOutline(Point cursor, int side, geo::Size source, geo::Size view) {
    if (side < 2 || source.cx <= 0 || source.cy <= 0) return {};
    const int half = side / 2;
    const int left = std::max(cursor.x - half, 0), top = std::max(cursor.y - half, 0);
    const int right = std::min(cursor.x + half + 1, source.cx),
              bottom = std::min(cursor.y + half + 1, source.cy);
    if (right <= left || bottom <= top) return {};
    auto along = [](int at, int from, int to) {
        return static_cast<int>(static_cast<long long>(at) * to / from);
    };
    return {along(left, source.cx, view.cx), along(top, source.cy, view.cy),
            along(right, source.cx, view.cx), along(bottom, source.cy, view.cy)};
}

}  // namespace zoom
