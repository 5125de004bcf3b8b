#pragma once
// Design values are pixels at 96 DPI; on a monitor of another DPI the window shows them scaled.
// This is the one rule for it, free of the platform so it can be checked on any host: sizes,
// positions and font heights all go through Scale, rectangles by their edges, so controls that
// touch at the design DPI still touch (and never overlap) at every other.
#include "win/Geometry.h"

namespace dpi {

inline constexpr int Design = 96;

// value x dpi / 96, rounded to the nearest pixel with halves away from zero (the platform's
// MulDiv rule, so a negative font height scales like its positive twin). A dpi below 1 counts as
// the design DPI.
int Scale(int value, int dpi);

// The largest design value that scales to no more than `pixels`: a room measured on the screen
// in design units, so that what is laid out in it at design values still fits once scaled.
int Unscale(int pixels, int dpi);

using geo::Rect;
using geo::Size;

Size Scale(Size s, int dpi);
Rect Scale(const Rect& r, int dpi);
// The design rectangle at (x, y) of w x h, scaled by its edges.
Rect ScaleBounds(int x, int y, int w, int h, int dpi);
Size Unscale(Size pixels, int dpi);

}  // namespace dpi
