#include "capture/PinZoom.h"

#include <algorithm>
#include <array>

namespace pin {
namespace {
constexpr std::array<int, 13> Steps{25, 33, 50, 67, 75, 100, 125, 150, 200, 300, 400, 600, 800};
}

int NextZoom(int percent, bool up) {
    if (up) {
        for (int s : Steps)
            if (s > percent) return s;
        return MaxZoom;
    }
    for (auto s = Steps.rbegin(); s != Steps.rend(); ++s)
        if (*s < percent) return *s;
    return MinZoom;
}

geo::Size ZoomedSize(geo::Size image, int percent) {
    const int p = std::clamp(percent, 1, MaxZoom);
    auto scale = [p](int v) {
        if (v <= 0) return 0;
        return static_cast<int>(std::max<long long>(1, (static_cast<long long>(v) * p + 50) / 100));
    };
    return {scale(image.cx), scale(image.cy)};
}

int FittingZoom(geo::Size image, int percent, int frame, geo::Size room) {
    auto fits = [&](int p) {
        const geo::Size shown = ZoomedSize(image, p);
        return shown.cx + 2 * frame <= room.cx && shown.cy + 2 * frame <= room.cy;
    };
    int high = std::clamp(percent, 1, MaxZoom);
    if (fits(high)) return high;
    // The shown size grows with the percent: the last one that fits, by halving.
    int low = 1;
    while (low + 1 < high) {
        const int mid = low + (high - low) / 2;
        (fits(mid) ? low : high) = mid;
    }
    return low;
}

geo::Rect KeepWithin(geo::Size size, geo::Point at, const geo::Rect& work) {
    auto place = [](int from, int extent, int lowest, int highest) {
        return std::max(lowest, std::min(from, highest - extent));
    };
    const int left = place(at.x, size.cx, work.left, work.right);
    const int top = place(at.y, size.cy, work.top, work.bottom);
    return {left, top, left + size.cx, top + size.cy};
}

}  // namespace pin
