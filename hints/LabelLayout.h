#pragma once
// Layout rules of labels and pictures: a label that sizes itself to its text keeps the edge its
// alignment names, and a picture scaled to fit keeps its proportions.
#include "win/Geometry.h"

namespace hints {

using geo::Point;
using geo::Rect;
using geo::Size;

enum class Alignment { Left, Right, Center };

// The bounds of an auto-sized label whose text now measures `text`: the left edge stays for
// left alignment, the right edge for right alignment, the centre for centred text.
Rect AutoSizeBounds(const Rect& current, Size text, Alignment alignment);

// The largest size with the image's proportions that fits the box (enlarging as well as
// shrinking); an empty image or box gives 0 x 0.
Size FitProportionally(Size image, Size box);

}  // namespace hints
