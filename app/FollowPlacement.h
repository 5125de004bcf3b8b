#pragma once
// Where the following window goes for a cursor position: right of and below the cursor by the
// follow offset, or on the other side of the cursor where that would leave the cursor's monitor.
// Plain numbers only, so the rule can be checked without a screen.

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

}  // namespace follow
