#include "hints/BalloonGeometry.h"

namespace hints {

using namespace balloon;

Metrics balloon::MetricsFor(int dpi) {
    auto s = [dpi](int v) { return dpi::Scale(v, dpi); };
    return {s(StemHeight), s(StemWidth),   s(StemInset), s(CornerEllipse), s(TextLeft), s(TextTop),
            s(ExtraWidth), s(ExtraHeight), s(3)};
}

BalloonPosition Effective(BalloonPosition p) {
    return p == BalloonPosition::Automatic ? BalloonPosition::StemTopRight : p;
}

bool StemAtTop(BalloonPosition p) {
    p = Effective(p);
    return p == BalloonPosition::StemTopRight || p == BalloonPosition::StemTopLeft;
}

Size BalloonSize(Size text, int dpi) {
    const Metrics m = MetricsFor(dpi);
    return {text.cx + m.extraWidth, text.cy + m.extraHeight};
}

Point BalloonOffset(BalloonPosition p, Size balloon, int cursorHeight, int dpi) {
    const int inset = MetricsFor(dpi).stemInset;
    // Below the point the balloon hangs from the hint point (which the hint mechanism puts a
    // cursor height below the cursor); above it, it clears the cursor as well.
    switch (Effective(p)) {
        case BalloonPosition::StemTopLeft:
            return {-inset, 0};
        case BalloonPosition::StemBottomRight:
            return {-(balloon.cx - inset), -(balloon.cy + cursorHeight)};
        case BalloonPosition::StemBottomLeft:
            return {-inset, -(balloon.cy + cursorHeight)};
        default:
            return {-(balloon.cx - inset), 0};
    }
}

Rect BalloonRect(Size text, BalloonPosition p, int cursorHeight, int dpi) {
    Size size = BalloonSize(text, dpi);
    return Rect{0, 0, size.cx, size.cy}.Moved(BalloonOffset(p, size, cursorHeight, dpi));
}

BalloonPosition ChooseAutomatic(Point hintPoint, const Rect& workArea) {
    bool upper = hintPoint.y < workArea.top + workArea.Height() / 2;
    bool left = hintPoint.x < workArea.left + workArea.Width() / 2;
    if (upper) return left ? BalloonPosition::StemBottomRight : BalloonPosition::StemBottomLeft;
    return left ? BalloonPosition::StemTopRight : BalloonPosition::StemTopLeft;
}

BalloonPosition KeepInside(BalloonPosition p, const Rect& rect, const Rect& workArea,
                           Point monitorOrigin) {
    using enum BalloonPosition;
    p = Effective(p);
    // The limits for the bottom and right edges are the work area's height and width from the
    // monitor's top-left corner, not its bottom and right edges: with a task bar at the top or
    // left a balloon flips a little early, which still keeps it inside.
    if (rect.bottom > monitorOrigin.y + workArea.Height()) {
        if (p == StemTopRight)
            p = StemBottomRight;
        else if (p == StemTopLeft)
            p = StemBottomLeft;
    }
    if (rect.right > monitorOrigin.x + workArea.Width()) {
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
Rect Reposition(const Rect& rect, BalloonPosition from, BalloonPosition to, int cursorHeight,
                int dpi) {
    Size size = rect.Extent();
    Point a = BalloonOffset(from, size, cursorHeight, dpi);
    Point b = BalloonOffset(to, size, cursorHeight, dpi);
    return rect.Moved({b.x - a.x, b.y - a.y});
}
}  // namespace

BalloonPlacement PlaceBalloon(const Rect& rect, BalloonPosition configured, const Rect& workArea,
                              int cursorHeight, int dpi, Point monitorOrigin) {
    const int inset = MetricsFor(dpi).stemInset;
    BalloonPosition position = Effective(configured);
    Rect r = rect;
    if (configured == BalloonPosition::Automatic) {
        // The hint point as the StemTopRight rectangle has it: its top edge, the stem inset in from
        // its right edge.
        BalloonPosition chosen = ChooseAutomatic({r.right - inset, r.top}, workArea);
        r = Reposition(r, position, chosen, cursorHeight, dpi);
        position = chosen;
    }
    // All four checks look at the rectangle as it stood before them; it moves once, at the end.
    BalloonPosition kept = KeepInside(position, r, workArea, monitorOrigin);
    if (kept != position) r = Reposition(r, position, kept, cursorHeight, dpi);
    return {r, kept};
}

Rect BodyRect(BalloonPosition p, Size b, int dpi) {
    const Metrics m = MetricsFor(dpi);
    if (StemAtTop(p)) return {1, m.stemHeight + 1, b.cx, b.cy - m.bodyBottom};
    return {1, 1, b.cx, b.cy - m.stemHeight};
}

std::array<Point, 3> StemTriangle(BalloonPosition p, Size b, int dpi) {
    const Metrics m = MetricsFor(dpi);
    const int w = b.cx, h = b.cy;
    const int inner = m.stemInset + 1, outer = m.stemInset + 1 + m.stemWidth + 1;
    switch (Effective(p)) {
        case BalloonPosition::StemTopLeft:
            return {{{inner, 0}, {inner, m.stemHeight + 1}, {outer, m.stemHeight + 1}}};
        case BalloonPosition::StemBottomRight:
            return {{{w - inner, h + 1},
                     {w - inner, h - m.stemHeight - 1},
                     {w - outer, h - m.stemHeight - 1}}};
        case BalloonPosition::StemBottomLeft:
            return {{{inner, h}, {inner, h - m.stemHeight - 1}, {outer, h - m.stemHeight - 1}}};
        default:
            return {{{w - inner, 0}, {w - inner, m.stemHeight + 1}, {w - outer, m.stemHeight + 1}}};
    }
}

Rect TextRect(BalloonPosition p, Size b, int dpi) {
    const Metrics m = MetricsFor(dpi);
    int top = StemAtTop(p) ? m.stemHeight + m.textTop : m.textTop;
    return {m.textLeft, top, b.cx, b.cy};
}

}  // namespace hints
