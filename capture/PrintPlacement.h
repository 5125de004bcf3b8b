#pragma once
// Where a captured image goes on a printed page: centred in the printable area, as large as fits
// with its aspect ratio kept. An image smaller than the page is enlarged only by a whole-number
// factor, so each screen pixel becomes a square block of printer dots.
namespace printing {

struct Placement {
    int Left = 0, Top = 0, Width = 0, Height = 0;
};

// imageW x imageH pixels on a printable area of pageW x pageH device pixels (origin at its
// top-left). An empty image or page gives an empty placement.
Placement PlaceOnPage(int imageW, int imageH, int pageW, int pageH);

}  // namespace printing
