#pragma once
// The part of the screen a window capture reads. A top-level window's rectangle is not what the
// user sees of it on a composited desktop: it includes invisible resize borders (the capture
// would show what lies behind them), and a maximised window reaches past its monitor. Plain
// numbers only, so the choice can be checked without a screen.
#include <optional>

#include "win/Geometry.h"

struct WindowPlacing {
    geo::Rect Window;                // the window rectangle
    std::optional<geo::Rect> Frame;  // the visible frame bounds, when the compositor reports them
    bool TopLevel = true;            // false for a child control
    bool Maximized = false;
    geo::Rect Monitor;  // the monitor that holds the window
    geo::Rect Desk;     // the bounds of all monitors together
};

// A child control keeps its rectangle. A top-level window gives its visible frame (its rectangle
// when there is none), clipped to its monitor when maximised and to the desk always; nothing left
// gives an empty rectangle.
geo::Rect CaptureBounds(const WindowPlacing& window);
