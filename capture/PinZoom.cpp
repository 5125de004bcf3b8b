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
    const int p = std::clamp(percent, MinZoom, MaxZoom);
    auto scale = [p](int v) {
        if (v <= 0) return 0;
        return static_cast<int>(std::max<long long>(1, (static_cast<long long>(v) * p + 50) / 100));
    };
    return {scale(image.cx), scale(image.cy)};
}

}  // namespace pin
