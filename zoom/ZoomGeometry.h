#pragma once
// What the magnifier shows for a cursor position: the screen area to enlarge and where the
// crosshair goes. Plain numbers only, so the arithmetic can be checked without a screen.
#include <climits>
#include <optional>

#include "win/Geometry.h"

namespace zoom {

using geo::Point;
using geo::Rect;

// A one-pixel line from `from` towards `to`, drawn without the pixel at `to`.
struct Segment {
    Point from;
    Point to;
    friend bool operator==(const Segment&, const Segment&) = default;
};

// The "last drawn" position that no cursor can have: the next drawing is never skipped.
inline constexpr Point NoPosition{INT_MAX, INT_MAX};

struct View {
    // The screen area to stretch over the whole control. Empty when the level is too small for
    // the control (half sizes of 0); the copy is then skipped and the old image stays.
    Rect source;
    // The crosshair centre in control coordinates. Near an edge of the desk the source stops at
    // the edge and the centre moves toward the cursor's true place, possibly outside the control.
    Point center;
};

// The view of a width x height control at `level` per cent for the cursor at `cursor`, the
// source held within `desk`: the bounds of all monitors together, whose left and top are
// negative when a monitor lies left of or above the primary one. Levels below 1 have no view
// (the offsets divide by the level). All arithmetic truncates toward zero and is done wide, so
// no input overflows; results beyond the int range are saturated.
std::optional<View> ComputeView(Point cursor, int width, int height, int level, Rect desk);

struct CrosshairArms {
    Segment vertical;
    Segment horizontal;
};

// The arms of a crosshair of `size` pixels at `center`: each spans size div 2 pixels on either
// side, the far end pixel left out (rows cy - s .. cy + s - 1 and the same for columns).
CrosshairArms Crosshair(Point center, int size);

// Where the sampled block shows in the control: the side x side pixels round the cursor, at
// `cursor` of a source of `source` pixels that is stretched over a control of `view`, cut to
// the source. Empty for a side below 2 or an empty source.
Rect BlockOutline(Point cursor, int side, geo::Size source, geo::Size view);

}  // namespace zoom
