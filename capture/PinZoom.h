#pragma once
// A pinned capture's zoom: the steps from 25 to 800 percent that the wheel and the keypad keys
// walk, and the window's size at a step.
#include "win/Geometry.h"

namespace pin {

inline constexpr int MinZoom = 25, MaxZoom = 800;

// The next step up or down from percent (which need not be a step), held within 25..800.
int NextZoom(int percent, bool up);

// The image's size shown at percent (1 to 800), at least one pixel each way for an image that
// has pixels.
geo::Size ZoomedSize(geo::Size image, int percent);

// The largest percent, at most `percent`, at which the image with a frame of `frame` pixels
// round it fits within `room` (a monitor's work area): below 25 for an image larger than four
// monitors, 1 at the least.
int FittingZoom(geo::Size image, int percent, int frame, geo::Size room);

// A window of `size` with its top-left corner at `at`, moved the least that puts it within
// `work`; one larger than `work` starts at its top-left corner.
geo::Rect KeepWithin(geo::Size size, geo::Point at, const geo::Rect& work);

}  // namespace pin
