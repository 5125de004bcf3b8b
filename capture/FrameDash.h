#pragma once
// The rectangle overlay's selection rules and its animated frame of red and white dashes.
// Platform-free: plain rectangles and points in window coordinates.
#include <cstdint>
#include <optional>
#include <vector>

namespace frame {

// The selection as stored: (Left, Top) is the anchor corner, (Right, Bottom) the moving corner;
// not ordered.
struct Rect {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
    bool operator==(const Rect&) const = default;
};

struct Point {
    int X = 0, Y = 0;
    bool operator==(const Point&) const = default;
};

// Left and top the smaller coordinates, right and bottom the larger.
Rect OrderRect(const Rect& r);

// Any button pressed at (x, y) collapses the rectangle to that point.
inline Rect PressAt(int x, int y) { return {x, y, x, y}; }

// The rectangle after a mouse move, or nothing when the move changes nothing. Free mode: the
// moving corner follows the cursor while the left button is held. Fixed-size mode: the frame
// follows the cursor with its top-left corner at the hot spot, button held or not.
std::optional<Rect> MoveTo(const Rect& current, bool fixedSize, int fixedWidth, int fixedHeight,
                           bool leftHeld, int x, int y);

// The area captured when the left button is released, ordered, or nothing for an empty one.
// A drag that ended left of or above its start is captured like any other. In fixed-size mode a
// click without movement (the press collapsed the rectangle) captures the frame at the press
// point.
std::optional<Rect> ReleaseArea(const Rect& stored, bool fixedSize, int fixedWidth,
                                int fixedHeight);

// The frame's pixels in drawing order: four lines from the anchor corner, (Left, Top) to
// (Right, Top), to (Right, Bottom), to (Left, Bottom) and back, each up to but not including its
// end point. A rectangle of zero width and height has none.
std::vector<Point> FrameWalk(const Rect& r);

// The dash counters: pixel i of the walk is red when (i - 2k) mod 8 is 5, 6 or 7, k being the
// number of ticks so far; so dashes of five white and three red pixels move two pixels along the
// walk with every tick, and the count runs on past the corners.
class Dashes {
  public:
    std::uint8_t Phase() const { return phase_; }
    // Every 100 ms: the phase runs 128, 32, 8, 2, 128, ...
    void Tick();
    // Before a frame is drawn: the running mask starts at the phase.
    void Begin() { mask_ = phase_; }
    // For each pixel in walk order: true for red, false for white.
    bool NextIsRed();

  private:
    std::uint8_t phase_ = 128;
    std::uint8_t mask_ = 128;
};

}  // namespace frame
