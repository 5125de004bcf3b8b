#pragma once
// Where the following window goes for a cursor position: right of and below the cursor by the
// follow offset, or on the other side of the cursor where that would leave the cursor's monitor.
// Plain numbers only, so the rule can be checked without a screen.

namespace follow {

struct Point {
    int x = 0;
    int y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

// Right and bottom edges are exclusive; coordinates of the desk, negative left of or above the
// primary monitor.
struct Area {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

// The window's top-left corner for a window of width x height and the cursor at `cursor` on a
// monitor whose work area is `work`. Each axis on its own: the window starts `offset` pixels
// after the cursor when it then ends inside the work area, else it ends `offset` pixels before
// the cursor (right edge at cursor - offset) when it then starts inside it; when neither fits it
// takes the side with more room. Either way, with offsets of at least 1, the window never
// covers the cursor's pixel.
Point FollowPosition(Point cursor, int width, int height, Area work, int offsetX, int offsetY);

}  // namespace follow
