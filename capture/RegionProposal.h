#pragma once
// The last rectangle offered again by the rectangle overlay: how it is kept in the settings
// file, moved by the arrow keys, and the size shown beside a rectangle being drawn.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "win/Geometry.h"

namespace proposal {

// "left,top,right,bottom" in screen pixels.
std::wstring FormatRegion(const geo::Rect& r);
// The rectangle of such a text; none for any other text or an empty rectangle.
std::optional<geo::Rect> ParseRegion(std::wstring_view text);

// What is left of a kept rectangle on the desk as it is now: its parts on the monitors, as the
// smallest rectangle holding them all; none when no part lies on any monitor (it was left on a
// monitor that is gone). Any four numbers are safe here: a hand-edited file may hold them.
std::optional<geo::Rect> OnDesk(const geo::Rect& kept, const std::vector<geo::Rect>& monitors);

// The rectangle moved by (dx, dy), kept inside bounds as far as it fits there.
geo::Rect Nudge(const geo::Rect& r, int dx, int dy, const geo::Rect& bounds);

// "200 x 150" for a rectangle of any corner order.
std::wstring SizeText(const geo::Rect& r);
// Where a label of that size shows the size: just below the rectangle's bottom-right corner,
// above it or inside where there is no room, always within bounds.
geo::Point SizeLabelAt(const geo::Rect& r, geo::Size label, const geo::Rect& bounds);

}  // namespace proposal
