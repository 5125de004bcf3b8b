#pragma once
// The balloon hint's shape and placement: its size from the measured text, where it sits relative
// to the point its stem touches, the automatic choice of a side from the work area, the flips that
// keep it inside, and the outline (stem triangle plus rounded body) it is cut to and painted with.
#include <array>

#include "win/DpiScale.h"
#include "win/Geometry.h"

namespace hints {

using geo::Point;
using geo::Rect;
using geo::Size;

// Where the stem sits; the body lies on the other side of it. Automatic picks one of the four
// each time the balloon is shown, and counts as StemTopRight until then.
enum class BalloonPosition {
    Automatic = 0,
    StemTopRight = 1,
    StemTopLeft = 2,
    StemBottomRight = 3,
    StemBottomLeft = 4,
};

namespace balloon {
inline constexpr int StemHeight = 8;
inline constexpr int StemWidth = 8;
inline constexpr int StemInset = 16;  // from the balloon's left or right edge to the stem
inline constexpr int CornerEllipse = 11;
inline constexpr int TextLeft = 12;
inline constexpr int TextTop = 7;      // below the body's top
inline constexpr int ExtraWidth = 27;  // text left margin 12, right margin 15
inline constexpr int ExtraHeight = 9 + StemHeight + 13;

// The values above at 96 DPI; a balloon on a monitor of another DPI has them scaled.
struct Metrics {
    int stemHeight, stemWidth, stemInset, cornerEllipse, textLeft, textTop, extraWidth, extraHeight,
        bodyBottom;
};
Metrics MetricsFor(int dpi);
}  // namespace balloon

// Automatic counts as StemTopRight.
BalloonPosition Effective(BalloonPosition p);
bool StemAtTop(BalloonPosition p);

// The balloon's size for a measured text.
Size BalloonSize(Size text, int dpi = dpi::Design);

// How far the balloon's top-left lies from the hint point for a position.
Point BalloonOffset(BalloonPosition p, Size balloon, int cursorHeight, int dpi = dpi::Design);

// The balloon's rectangle for a measured text, relative to the hint point, at the offset of the
// position (automatic counts as StemTopRight).
Rect BalloonRect(Size text, BalloonPosition p, int cursorHeight, int dpi = dpi::Design);

// The side chosen for a hint point in the work area (never Automatic).
BalloonPosition ChooseAutomatic(Point hintPoint, const Rect& workArea);

// The flips that keep a balloon at `rect` (placed for `p`) inside the work area, in their order.
// The work area is that of the monitor whose top-left corner is `monitorOrigin` ((0, 0) for the
// primary monitor).
BalloonPosition KeepInside(BalloonPosition p, const Rect& rect, const Rect& workArea,
                           Point monitorOrigin = {});

struct BalloonPlacement {
    Rect rect;
    BalloonPosition position;  // never Automatic
};

// Where a balloon whose rectangle was computed for `configured` (by BalloonRect and moved to the
// hint point) is finally shown: the automatic choice, then the keep-inside flips, in the work area
// of the monitor at `monitorOrigin`.
BalloonPlacement PlaceBalloon(const Rect& rect, BalloonPosition configured, const Rect& workArea,
                              int cursorHeight, int dpi = dpi::Design, Point monitorOrigin = {});

// The outline, in the balloon's own coordinates (size W x H): the body's rounded rectangle (corner
// ellipse CornerEllipse) and the stem triangle.
Rect BodyRect(BalloonPosition p, Size balloon, int dpi = dpi::Design);
std::array<Point, 3> StemTriangle(BalloonPosition p, Size balloon, int dpi = dpi::Design);
// The rectangle the text is drawn in.
Rect TextRect(BalloonPosition p, Size balloon, int dpi = dpi::Design);

}  // namespace hints
