#pragma once
// Plain screen geometry for the hint and link logic, free of the platform's types so that the
// rules can be tested on any host. Right and bottom edges are exclusive, as on the platform.
namespace hints {

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
    Rect Moved(Point by) const { return {left + by.x, top + by.y, right + by.x, bottom + by.y}; }
    friend bool operator==(const Rect&, const Rect&) = default;
};

}  // namespace hints
