#include "hints/BalloonGeometry.h"

namespace hints {

using namespace balloon;

BalloonPosition Effective(BalloonPosition p) {
    return p == BalloonPosition::Automatic ? BalloonPosition::StemTopRight : p;
}

bool StemAtTop(BalloonPosition p) {
    p = Effective(p);
    return p == BalloonPosition::StemTopRight || p == BalloonPosition::StemTopLeft;
}

Size BalloonSize(Size text) { return {text.cx + ExtraWidth, text.cy + ExtraHeight}; }

Point BalloonOffset(BalloonPosition p, Size balloon, int cursorHeight) {
    // Below the point the balloon hangs from the hint point (which the hint mechanism puts a
    // cursor height below the cursor); above it, it clears the cursor as well.
    switch (Effective(p)) {
        case BalloonPosition::StemTopLeft:
            return {-StemInset, 0};
        case BalloonPosition::StemBottomRight:
            return {-(balloon.cx - StemInset), -(balloon.cy + cursorHeight)};
        case BalloonPosition::StemBottomLeft:
            return {-StemInset, -(balloon.cy + cursorHeight)};
        default:
            return {-(balloon.cx - StemInset), 0};
    }
}

Rect BalloonRect(Size text, BalloonPosition p, int cursorHeight) {
    Size size = BalloonSize(text);
    return Rect{0, 0, size.cx, size.cy}.Moved(BalloonOffset(p, size, cursorHeight));
}

BalloonPosition ChooseAutomatic(Point hintPoint, const Rect& workArea) {
    bool upper = hintPoint.y < workArea.top + workArea.Height() / 2;
    bool left = hintPoint.x < workArea.left + workArea.Width() / 2;
    if (upper) return left ? BalloonPosition::StemBottomRight : BalloonPosition::StemBottomLeft;
    return left ? BalloonPosition::StemTopRight : BalloonPosition::StemTopLeft;
}

BalloonPosition KeepInside(BalloonPosition p, const Rect& rect, const Rect& workArea) {
    using enum BalloonPosition;
    p = Effective(p);
    // The limits for the bottom and right edges are the work area's height and width, not its
    // bottom and right edges: with a task bar at the top or left a balloon flips a little early,
    // which still keeps it inside.
    if (rect.bottom > workArea.bottom - workArea.top) {
        if (p == StemTopRight)
            p = StemBottomRight;
        else if (p == StemTopLeft)
            p = StemBottomLeft;
    }
    if (rect.right > workArea.right - workArea.left) {
        if (p == StemTopLeft)
            p = StemTopRight;
        else if (p == StemBottomLeft)
            p = StemBottomRight;
    }
    if (rect.left < workArea.left) {
        if (p == StemTopRight)
            p = StemTopLeft;
        else if (p == StemBottomRight)
            p = StemBottomLeft;
    }
    if (rect.top < workArea.top) {
        if (p == StemBottomRight)
            p = StemTopRight;
        else if (p == StemBottomLeft)
            p = StemTopLeft;
    }
    return p;
}

namespace {
Rect Reposition(const Rect& rect, BalloonPosition from, BalloonPosition to, int cursorHeight) {
    Size size = rect.Extent();
    Point a = BalloonOffset(from, size, cursorHeight);
    Point b = BalloonOffset(to, size, cursorHeight);
    return rect.Moved({b.x - a.x, b.y - a.y});
}
}  // namespace

BalloonPlacement PlaceBalloon(const Rect& rect, BalloonPosition configured, const Rect& workArea,
                              int cursorHeight) {
    BalloonPosition position = Effective(configured);
    Rect r = rect;
    if (configured == BalloonPosition::Automatic) {
        // The hint point as the StemTopRight rectangle has it: its top edge, StemInset in from
        // its right edge.
        BalloonPosition chosen = ChooseAutomatic({r.right - StemInset, r.top}, workArea);
        r = Reposition(r, position, chosen, cursorHeight);
        position = chosen;
    }
    // All four checks look at the rectangle as it stood before them; it moves once, at the end.
    BalloonPosition kept = KeepInside(position, r, workArea);
    if (kept != position) r = Reposition(r, position, kept, cursorHeight);
    return {r, kept};
}

Rect BodyRect(BalloonPosition p, Size b) {
    if (StemAtTop(p)) return {1, StemHeight + 1, b.cx, b.cy - 3};
    return {1, 1, b.cx, b.cy - StemHeight};
}

std::array<Point, 3> StemTriangle(BalloonPosition p, Size b) {
    const int w = b.cx, h = b.cy;
    const int inner = StemInset + 1, outer = StemInset + 1 + StemWidth + 1;
    switch (Effective(p)) {
        case BalloonPosition::StemTopLeft:
            return {{{inner, 0}, {inner, StemHeight + 1}, {outer, StemHeight + 1}}};
        case BalloonPosition::StemBottomRight:
            return {{{w - inner, h + 1},
                     {w - inner, h - StemHeight - 1},
                     {w - outer, h - StemHeight - 1}}};
        case BalloonPosition::StemBottomLeft:
            return {{{inner, h}, {inner, h - StemHeight - 1}, {outer, h - StemHeight - 1}}};
        default:
            return {{{w - inner, 0}, {w - inner, StemHeight + 1}, {w - outer, StemHeight + 1}}};
    }
}

Rect TextRect(BalloonPosition p, Size b) {
    int top = StemAtTop(p) ? StemHeight + TextTop : TextTop;
    return {TextLeft, top, b.cx, b.cy};
}

}  // namespace hints
