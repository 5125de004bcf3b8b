// The magnifier's view for any cursor, control size, level and desk, with no value overflowing:
// the source is as wide as the level asks, lies on the desk when the desk is wide enough and is
// centred on the cursor away from its edges; the crosshair moves from the control's middle only
// toward the cursor; the crosshair's arms are as long as asked.
#include <climits>
#include <cstdint>

#include "tests/fuzz/FuzzInput.h"
#include "zoom/ZoomGeometry.h"

namespace {
bool Saturated(std::int64_t v) { return v == INT_MIN || v == INT_MAX; }

// One axis: the cursor at p, a control of `extent` pixels, the desk low..high, the source a..b
// and the crosshair at `center`.
void Axis(std::int64_t p, int extent, std::int64_t low, std::int64_t high, int level,
          std::int64_t a, std::int64_t b, std::int64_t center) {
    const std::int64_t half = std::int64_t{extent / 2} * level / 100;
    if (Saturated(a) || Saturated(b) || Saturated(center)) return;
    FUZZ_CHECK(b - a == 2 * half);
    if (2 * half <= high - low) FUZZ_CHECK(a >= low && b <= high);
    const std::int64_t middle = a + half, moved = center - extent / 2;
    if (p - half >= low && p + half <= high) FUZZ_CHECK(middle == p && moved == 0);
    FUZZ_CHECK(moved == 0 || (moved < 0) == (p < middle));
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Input in(data, size);
    const zoom::Point cursor{in.Int(), in.Int()};
    const int width = in.Int(0, INT_MAX), height = in.Int(0, INT_MAX), level = in.Int();
    const zoom::Rect desk{in.Int(), in.Int(), in.Int(), in.Int()};
    const auto view = zoom::ComputeView(cursor, width, height, level, desk);
    FUZZ_CHECK(view.has_value() == (level >= 1));
    if (!view) return 0;
    const zoom::Rect& s = view->source;
    Axis(cursor.x, width, desk.left, desk.right, level, s.left, s.right, view->center.x);
    Axis(cursor.y, height, desk.top, desk.bottom, level, s.top, s.bottom, view->center.y);

    const int armSize = in.Int();
    const zoom::CrosshairArms arms = zoom::Crosshair(view->center, armSize);
    const zoom::Segment &v = arms.vertical, &h = arms.horizontal;
    FUZZ_CHECK(v.from.x == view->center.x && v.to.x == view->center.x);
    FUZZ_CHECK(h.from.y == view->center.y && h.to.y == view->center.y);
    if (!Saturated(v.from.y) && !Saturated(v.to.y))
        FUZZ_CHECK(std::int64_t{v.to.y} - v.from.y == 2 * (armSize / 2));
    if (!Saturated(h.from.x) && !Saturated(h.to.x))
        FUZZ_CHECK(std::int64_t{h.to.x} - h.from.x == 2 * (armSize / 2));
    return 0;
}
