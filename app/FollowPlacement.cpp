#include "app/FollowPlacement.h"

#include <cstdint>

namespace follow {
namespace {

// One axis: the window's start for the cursor at p, a window of `size`, the work area
// low..high. Wide arithmetic, so no input overflows; the caller's values are screen sized.
std::int64_t Place(std::int64_t p, std::int64_t size, std::int64_t low, std::int64_t high,
                   std::int64_t offset) {
    const std::int64_t after = p + offset, before = p - offset - size;
    auto fits = [&](std::int64_t start) { return start >= low && start + size <= high; };
    if (fits(after)) return after;
    if (fits(before)) return before;
    return high - (p + 1) >= p - low ? after : before;  // room after the cursor's pixel vs before
}

int Narrow(std::int64_t v) {
    return v > INT32_MAX ? INT32_MAX : v < INT32_MIN ? INT32_MIN : static_cast<int>(v);
}

}  // namespace

Point FollowPosition(Point cursor, int width, int height, Area work, int offsetX, int offsetY) {
    return {Narrow(Place(cursor.x, width, work.left, work.right, offsetX)),
            Narrow(Place(cursor.y, height, work.top, work.bottom, offsetY))};
}

HoverGate::Verdict HoverGate::Decide(bool over, bool following, std::uint64_t nowMs,
                                     std::uint32_t hoverMs) {
    if (!over || !following) {
        since_.reset();
        return over ? Verdict::Open : Verdict::Outside;
    }
    if (!since_) since_ = nowMs;
    if (nowMs - *since_ < hoverMs) return Verdict::Hold;
    since_.reset();
    return Verdict::Open;
}

}  // namespace follow
