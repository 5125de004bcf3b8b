#pragma once
// The precise pick's arithmetic, in desk coordinates (negative left of or above the primary
// monitor): where the loupe goes beside the cursor, how far an arrow key moves the cursor, and
// how the loupe's magnifier divides into cells of whole screen pixels.
#include <optional>

#include "win/Geometry.h"

namespace pick {

// The loupe's bounds for the cursor's pixel at `cursor` on the monitor `monitor`: beside the
// cursor, `gap` pixels away, right of and below it where it fits, flipped to the left or above at
// the monitor's edges so it stays on that monitor. It never covers the cursor's pixel; only on a
// monitor too small for it on every side does it leave the monitor to keep that pixel clear.
geo::Rect PlaceLoupe(geo::Point cursor, geo::Size loupe, const geo::Rect& monitor, int gap);

// Where an arrow key (the platform's virtual-key codes of Left, Up, Right and Down) moves the
// cursor: one pixel, ten with Shift, held within the desk. None for any other key.
std::optional<geo::Point> ArrowStep(unsigned virtualKey, bool shift, geo::Point at,
                                    const geo::Rect& desk);

// The magnifier of the loupe: an odd number of cells a side, so the picked pixel is the middle
// one, each cell `cellSize` screen pixels wide.
struct Grid {
    int cells = 1, cellSize = 1;
    int Side() const { return cells * cellSize; }
    friend bool operator==(const Grid&, const Grid&) = default;
};
// At most `side` pixels a side, enlarged as the main magnifier is at `zoomLevel` (per cent of the
// view taken from the screen: 100 is 1:1, 10 is ten times), to whole pixels, and never fewer
// than three cells, so the pixels round the picked one show.
Grid GridFor(int side, int zoomLevel);

// The screen pixels the magnifier shows round the cursor: cells x cells, centred on it.
geo::Rect GridSource(geo::Point cursor, const Grid& grid);

// Where screen pixels (the sampled block) show in the magnifier that shows `source`, in the
// magnifier's pixels from its top-left corner: their whole cells, cut to the magnifier.
geo::Rect CellsOf(const Grid& grid, const geo::Rect& source, const geo::Rect& pixels);

}  // namespace pick
