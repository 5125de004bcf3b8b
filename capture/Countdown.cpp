#include "capture/Countdown.h"

#include <algorithm>

namespace countdown {

Countdown::Countdown(int seconds, std::uint32_t startMs)
    : total_(static_cast<std::uint32_t>(std::clamp(seconds, 0, MaxSeconds)) * 1000u),
      start_(startMs) {}

int Countdown::SecondsLeft(std::uint32_t nowMs) const {
    const std::uint32_t spent = Elapsed(nowMs);
    if (spent >= total_) return 0;
    return static_cast<int>((total_ - spent + 999u) / 1000u);
}

std::uint32_t Countdown::NextChangeIn(std::uint32_t nowMs) const {
    const std::uint32_t spent = Elapsed(nowMs);
    if (spent >= total_) return 0;
    const std::uint32_t left = total_ - spent;
    return std::max<std::uint32_t>(1u, (left - 1u) % 1000u + 1u);
}

geo::Point PlaceBesidePointer(geo::Point pointer, geo::Size window, const geo::Rect& work) {
    // A pointer picture is at most 32 pixels from its hot spot at the usual sizes.
    constexpr int Clear = 24;
    int x = pointer.x + Clear, y = pointer.y + Clear;
    if (x + window.cx > work.right) x = pointer.x - Clear - window.cx;
    if (y + window.cy > work.bottom) y = pointer.y - Clear - window.cy;
    x = std::clamp(x, work.left, std::max(work.left, work.right - window.cx));
    y = std::clamp(y, work.top, std::max(work.top, work.bottom - window.cy));
    return {x, y};
}

}  // namespace countdown
