#include "capture/ScreenSettle.h"

#include <algorithm>

namespace settle {

bool Overlap(const geo::Rect& a, const geo::Rect& b) {
    return !a.Empty() && !b.Empty() && a.left < b.right && b.left < a.right && a.top < b.bottom &&
           b.top < a.bottom;
}

bool OverlapsAny(const geo::Rect& r, const std::vector<geo::Rect>& areas) {
    return std::ranges::any_of(areas, [&](const geo::Rect& a) { return Overlap(a, r); });
}

std::vector<std::uint32_t> ThreadsToAsk(const std::vector<WindowBelow>& windows,
                                        const std::vector<geo::Rect>& vacated,
                                        std::uint32_t ownThread) {
    std::vector<std::uint32_t> threads;
    for (const WindowBelow& w : windows) {
        if (w.Thread == ownThread || std::ranges::find(threads, w.Thread) != threads.end())
            continue;
        if (OverlapsAny(w.Bounds, vacated)) threads.push_back(w.Thread);
    }
    return threads;
}

bool ExcludesFromCapture(std::uint32_t major, std::uint32_t minor, std::uint32_t build) {
    if (major != 10) return major > 10;
    return minor > 0 || build >= 19041;
}

std::uint32_t Remaining(std::uint32_t startMs, std::uint32_t nowMs, std::uint32_t limitMs) {
    const std::uint32_t spent = nowMs - startMs;  // unsigned: right across the wrap
    return spent >= limitMs ? 0 : limitMs - spent;
}

}  // namespace settle
