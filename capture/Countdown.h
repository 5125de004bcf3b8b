#pragma once
// The delayed capture's countdown: the seconds it shows, when it next changes, and where its
// small window goes beside the pointer. Plain numbers, on a 32-bit millisecond clock.
#include <cstdint>

#include "win/Geometry.h"

namespace countdown {

inline constexpr int MaxSeconds = 10;

class Countdown {
  public:
    // seconds is clamped to 0..MaxSeconds.
    Countdown(int seconds, std::uint32_t startMs);
    // The whole seconds still to go, rounded up: "3" for the first second of three; 0 at the end.
    int SecondsLeft(std::uint32_t nowMs) const;
    bool Done(std::uint32_t nowMs) const { return SecondsLeft(nowMs) == 0; }
    // Milliseconds until the number shown changes (at least 1 while it runs, 0 once done).
    std::uint32_t NextChangeIn(std::uint32_t nowMs) const;

  private:
    std::uint32_t Elapsed(std::uint32_t nowMs) const { return nowMs - start_; }
    std::uint32_t total_;
    std::uint32_t start_;
};

// The countdown window's top-left corner: below and right of the pointer, clear of its
// picture, moved to the other side where it would leave the work area, and kept inside it.
geo::Point PlaceBesidePointer(geo::Point pointer, geo::Size window, const geo::Rect& work);

}  // namespace countdown
