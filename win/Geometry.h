#pragma once
// Plain screen geometry for the platform-free logic of every folder (hints, zoom, follow, DPI),
// free of the platform's types so that the rules can be tested on any host. Coordinates are those
// of the desk: negative left of or above the primary monitor. Right and bottom edges are
// exclusive, as on the platform.
namespace geo {

struct Point {
    int x = 0, y = 0;
    friend bool operator==(Point, Point) = default;
};

struct Size {
    int cx = 0, cy = 0;
    friend bool operator==(Size, Size) = default;
};

struct Rect {
    int left = 0, top = 0, right = 0, bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    Size Extent() const { return {Width(), Height()}; }
    bool Empty() const { return right <= left || bottom <= top; }
    Rect Moved(Point by) const { return {left + by.x, top + by.y, right + by.x, bottom + by.y}; }
    friend bool operator==(const Rect&, const Rect&) = default;
};

}  // namespace geo
