#pragma once
// The pointer drawn into a capture: where its picture goes in the image, in plain numbers.
#include <optional>

#include "win/Geometry.h"

namespace cursorimage {

// The pointer's picture placed in an image of an area of the screen: its top-left corner in the
// image's pixels, or nothing when no pixel of it falls inside (the pointer was elsewhere, or its
// picture is empty). position: the pointer's hot spot on the screen; hotSpot: that point within
// its picture.
std::optional<geo::Point> PlaceInImage(geo::Point position, geo::Point hotSpot, geo::Size picture,
                                       const geo::Rect& area);

}  // namespace cursorimage
