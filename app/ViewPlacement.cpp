#include "app/ViewPlacement.h"

#include <cstdint>

namespace views {
namespace {

// One axis: the grown view's start. Wide arithmetic, so no input overflows.
std::int64_t Place(std::int64_t start, std::int64_t size, std::int64_t compactLow,
                   std::int64_t compactHigh, std::int64_t workLow, std::int64_t workHigh) {
    if (start + size > workHigh) start = workHigh - size;
    if (start < workLow) start = workLow;
    if (start > compactLow) start = compactLow;
    if (start + size < compactHigh) start = compactHigh - size;
    return start;
}

int Narrow(std::int64_t v) {
    return v > INT32_MAX ? INT32_MAX : v < INT32_MIN ? INT32_MIN : static_cast<int>(v);
}

}  // namespace

Point GrownViewPosition(const Rect& grown, const Rect& compact, const Rect& work) {
    return {Narrow(Place(grown.left, grown.Width(), compact.left, compact.right, work.left,
                         work.right)),
            Narrow(Place(grown.top, grown.Height(), compact.top, compact.bottom, work.top,
                         work.bottom))};
}

}  // namespace views
