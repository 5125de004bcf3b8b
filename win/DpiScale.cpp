#include "win/DpiScale.h"

#include <cstdint>
#include <limits>

namespace dpi {

namespace {
int Clamp(std::int64_t v) {
    if (v > std::numeric_limits<int>::max()) return std::numeric_limits<int>::max();
    if (v < std::numeric_limits<int>::min()) return std::numeric_limits<int>::min();
    return static_cast<int>(v);
}
int Effective(int dpi) { return dpi > 0 ? dpi : Design; }
}  // namespace

int Scale(int value, int dpi) {
    std::int64_t product = std::int64_t{value} * Effective(dpi);
    std::int64_t half = Design / 2;
    return Clamp(product >= 0 ? (product + half) / Design : -((-product + half) / Design));
}

int Unscale(int pixels, int dpi) {
    // Start from the truncated quotient and step to the largest value that still fits: rounding
    // up in Scale can make the plain quotient one too large. Scale saturates, so every value fits
    // in the largest int (stepping up to it could take billions of steps); below 96 DPI the
    // quotient can pass the int range, so the steps stop at its ends.
    dpi = Effective(dpi);
    if (pixels == std::numeric_limits<int>::max()) return pixels;
    int v = Clamp(std::int64_t{pixels} * Design / dpi);
    while (v > std::numeric_limits<int>::min() && Scale(v, dpi) > pixels) --v;
    while (v < std::numeric_limits<int>::max() && Scale(v + 1, dpi) <= pixels) ++v;
    return v;
}

Size Scale(Size s, int dpi) { return {Scale(s.cx, dpi), Scale(s.cy, dpi)}; }

Rect Scale(const Rect& r, int dpi) {
    return {Scale(r.left, dpi), Scale(r.top, dpi), Scale(r.right, dpi), Scale(r.bottom, dpi)};
}

Rect ScaleBounds(int x, int y, int w, int h, int dpi) {
    return Scale(Rect{x, y, x + w, y + h}, dpi);
}

Size Unscale(Size pixels, int dpi) { return {Unscale(pixels.cx, dpi), Unscale(pixels.cy, dpi)}; }

}  // namespace dpi
