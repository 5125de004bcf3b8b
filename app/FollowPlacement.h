#pragma once
// Where the following window goes for a cursor position: right of and below the cursor by the
// follow offset, or on the other side of the cursor where that would leave the cursor's monitor.
// Plain numbers only, so the rule can be checked without a screen.

#include <cstdint>
#include <optional>

#include "win/Geometry.h"

namespace follow {

// A monitor's work area.
using Area = geo::Rect;
using geo::Point;

// The window's top-left corner for a window of width x height and the cursor at `cursor` on a
// monitor whose work area is `work`. Each axis on its own: the window starts `offset` pixels
// after the cursor when it then ends inside the work area, else it ends `offset` pixels before
// the cursor (right edge at cursor - offset) when it then starts inside it; when neither fits it
// takes the side with more room. Either way, with offsets of at least 1, the window never
// covers the cursor's pixel.
Point FollowPosition(Point cursor, int width, int height, Area work, int offsetX, int offsetY);

// Whether a cursor found over the window opens the options view. A following window is entered
// only by outrunning it: a fast move down and right crosses the gap within one tick (on Windows a
// timer tick is 15.6 ms, so 1,300 px/s is enough). That alone is no wish for the options: the
// window holds still, and opens them only once the cursor has stayed over it for the system's
// hover time; a cursor that leaves first finds it following again. Without following, the
// window opens them at once.
class HoverGate {
  public:
    enum class Verdict { Outside, Hold, Open };
    // over: the cursor is over the window; following: follow mode with the compact view showing.
    Verdict Decide(bool over, bool following, std::uint64_t nowMs, std::uint32_t hoverMs);

  private:
    std::optional<std::uint64_t> since_;  // when the cursor came over the following window
};

}  // namespace follow
