#pragma once
// A pinned capture's zoom: the steps from 25 to 800 percent that the wheel and the keypad keys
// walk, and the window's size at a step.
#include "win/Geometry.h"

namespace pin {

inline constexpr int MinZoom = 25, MaxZoom = 800;

// The next step up or down from percent (which need not be a step), held within 25..800.
int NextZoom(int percent, bool up);

// The image's size shown at percent, at least one pixel each way for an image that has pixels.
geo::Size ZoomedSize(geo::Size image, int percent);

}  // namespace pin
