#include "capture/CursorImage.h"

namespace cursorimage {

std::optional<geo::Point> PlaceInImage(geo::Point position, geo::Point hotSpot, geo::Size picture,
                                       const geo::Rect& area) {
    const geo::Rect drawn{position.x - hotSpot.x, position.y - hotSpot.y,
                          position.x - hotSpot.x + picture.cx, position.y - hotSpot.y + picture.cy};
    if (drawn.Empty() || area.Empty() || drawn.right <= area.left || area.right <= drawn.left ||
        drawn.bottom <= area.top || area.bottom <= drawn.top)
        return std::nullopt;
    return geo::Point{drawn.left - area.left, drawn.top - area.top};
}

}  // namespace cursorimage
