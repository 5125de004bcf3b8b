// The following window for any cursor, window size, work area and offsets, with no value
// overflowing: it never covers the cursor's pixel, and for a cursor on the monitor it goes after
// the cursor where there is room, else before it where there is room, inside the work area.
#include <climits>
#include <cstdint>

#include "app/FollowPlacement.h"
#include "tests/fuzz/FuzzInput.h"

namespace {
// One axis: the cursor at p, a window of `size` starting at `start`, the work area low..high.
void Axis(std::int64_t p, std::int64_t size, std::int64_t low, std::int64_t high,
          std::int64_t offset, std::int64_t start) {
    if (start == INT_MIN || start == INT_MAX) return;  // cut to the int range: beyond any screen
    FUZZ_CHECK(p < start || p >= start + size);
    if (p < low || p >= high) return;
    if (p + offset + size <= high)
        FUZZ_CHECK(start == p + offset);
    else if (p - offset - size >= low)
        FUZZ_CHECK(start == p - offset - size);
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Input in(data, size);
    const follow::Point cursor{in.Int(), in.Int()};
    const int width = in.Int(0, INT_MAX), height = in.Int(0, INT_MAX);
    const follow::Area work{in.Int(), in.Int(), in.Int(), in.Int()};
    const int offsetX = in.Int(1, INT_MAX), offsetY = in.Int(1, INT_MAX);
    const follow::Point at = follow::FollowPosition(cursor, width, height, work, offsetX, offsetY);
    Axis(cursor.x, width, work.left, work.right, offsetX, at.x);
    Axis(cursor.y, height, work.top, work.bottom, offsetY, at.y);
    return 0;
}
