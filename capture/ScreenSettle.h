#pragma once
// Before the screen is read, the program's windows must be gone from it: the windows they lay
// over have to paint what they uncovered. Which programs must be waited for, and how long the
// wait may last at most, in plain numbers.
#include <cstdint>
#include <vector>

#include "win/Geometry.h"

namespace settle {

struct WindowBelow {
    geo::Rect Bounds;
    std::uint32_t Thread = 0;  // the thread that paints it
};

// The threads, other than ownThread, whose windows overlap an area the program's windows left;
// each once, in the order of their first window (the z-order, top first).
std::vector<std::uint32_t> ThreadsToAsk(const std::vector<WindowBelow>& windows,
                                        const std::vector<geo::Rect>& vacated,
                                        std::uint32_t ownThread);

// Whether two rectangles share a pixel, and whether a rectangle shares one with any of the areas.
bool Overlap(const geo::Rect& a, const geo::Rect& b);
bool OverlapsAny(const geo::Rect& r, const std::vector<geo::Rect>& areas);

// Whether a system of this version keeps a window out of every capture when asked to
// (WDA_EXCLUDEFROMCAPTURE, from Windows 10 2004, build 19041). Before it the same request shows
// the window black in captures instead, which is worse than showing it.
bool ExcludesFromCapture(std::uint32_t major, std::uint32_t minor, std::uint32_t build);

// Milliseconds left of a wait of limitMs begun at startMs, at nowMs on a 32-bit millisecond
// clock that wraps round (as the platform's tick count does after 49.7 days).
std::uint32_t Remaining(std::uint32_t startMs, std::uint32_t nowMs, std::uint32_t limitMs);

}  // namespace settle
