#pragma once
// Where a view larger than the compact one (the options view, the capture view) opens: from the
// compact view's top-left corner, moved as little as needed to lie inside the work area of its
// monitor, so that its buttons can be reached near a screen edge. It always covers the whole
// compact view: the cursor that opened the options view stays inside it, and the view does not
// flip back and forth. Plain numbers only, so the rule can be checked without a screen.
#include "win/Geometry.h"

namespace views {

using geo::Point;
using geo::Rect;

// The grown view's top-left corner. `grown` is the grown view at the compact view's corner,
// `compact` the compact view, `work` the work area of their monitor. Each axis on its own: the
// least move that brings the grown view inside the work area (its left or top edge wins where it
// is the larger), then the least move that makes it cover the compact view again, which wins over
// the work area.
Point GrownViewPosition(const Rect& grown, const Rect& compact, const Rect& work);

}  // namespace views
