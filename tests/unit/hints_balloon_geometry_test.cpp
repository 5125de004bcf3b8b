// Balloon geometry: size, offsets, the automatic side near every corner of the work area, the
// keep-inside flips and the outline.
#include <gtest/gtest.h>

#include "hints/BalloonGeometry.h"

using namespace hints;
using enum BalloonPosition;

namespace {
constexpr int CursorHeight = 32;
const Rect Screen{0, 0, 1024, 768};
const Size Text{100, 13};  // a balloon of 127 x 43

// What the hint mechanism does with a hint at a hint point: the rectangle for the configured
// position, moved to the point, then placed.
BalloonPlacement Show(Point hint, BalloonPosition configured = Automatic,
                      const Rect& work = Screen) {
    Rect r = BalloonRect(Text, configured, CursorHeight).Moved(hint);
    return PlaceBalloon(r, configured, work, CursorHeight);
}

// The stem's tip on the screen.
Point Tip(const BalloonPlacement& b) {
    Point p = StemTriangle(b.position, b.rect.Extent())[0];
    return {b.rect.left + p.x, b.rect.top + p.y};
}
}  // namespace

TEST(BalloonSize, AddsMarginsAndStemToTheText) {
    EXPECT_EQ(BalloonSize({100, 13}), (Size{127, 43}));
    EXPECT_EQ(BalloonSize({0, 0}), (Size{27, 30}));
    EXPECT_EQ(BalloonSize({401, 26}), (Size{428, 56}));  // two wrapped lines
}

TEST(BalloonOffset, PerPositionAndAutomaticAsTopRight) {
    Size b{127, 43};
    EXPECT_EQ(BalloonOffset(StemTopRight, b, CursorHeight), (Point{-111, 0}));
    EXPECT_EQ(BalloonOffset(StemTopLeft, b, CursorHeight), (Point{-16, 0}));
    EXPECT_EQ(BalloonOffset(StemBottomRight, b, CursorHeight), (Point{-111, -75}));
    EXPECT_EQ(BalloonOffset(StemBottomLeft, b, CursorHeight), (Point{-16, -75}));
    EXPECT_EQ(BalloonOffset(Automatic, b, CursorHeight), (Point{-111, 0}));
    EXPECT_EQ(BalloonRect(Text, Automatic, CursorHeight), (Rect{-111, 0, 16, 43}));
    EXPECT_EQ(BalloonRect(Text, StemBottomLeft, 20), (Rect{-16, -63, 111, -20}));
}

TEST(BalloonAutomatic, NearEachCornerOpensTowardsTheMiddle) {
    // Top-left: below and to the right of the point.
    BalloonPlacement tl = Show({10, 40});
    EXPECT_EQ(tl.position, StemTopLeft);
    EXPECT_EQ(tl.rect, (Rect{-6, 40, 121, 83}));
    // Top-right: below and to the left.
    BalloonPlacement tr = Show({1000, 40});
    EXPECT_EQ(tr.position, StemTopRight);
    EXPECT_EQ(tr.rect, (Rect{889, 40, 1016, 83}));
    // Bottom-left: above and to the right, clear of the cursor.
    BalloonPlacement bl = Show({10, 740});
    EXPECT_EQ(bl.position, StemBottomLeft);
    EXPECT_EQ(bl.rect, (Rect{-6, 665, 121, 708}));
    // Bottom-right: above and to the left.
    BalloonPlacement br = Show({1000, 740});
    EXPECT_EQ(br.position, StemBottomRight);
    EXPECT_EQ(br.rect, (Rect{889, 665, 1016, 708}));
}

TEST(BalloonAutomatic, WithRoomTheQuadrantDecides) {
    EXPECT_EQ(Show({300, 300}).position, StemBottomRight);  // upper left
    EXPECT_EQ(Show({700, 300}).position, StemBottomLeft);   // upper right
    EXPECT_EQ(Show({300, 500}).position, StemTopRight);     // lower left
    EXPECT_EQ(Show({700, 500}).position, StemTopLeft);      // lower right
    // The middle itself belongs to the lower and the right half.
    EXPECT_EQ(ChooseAutomatic({512, 384}, Screen), StemTopLeft);
    EXPECT_EQ(ChooseAutomatic({511, 383}, Screen), StemBottomRight);
}

TEST(BalloonAutomatic, HalvesAreThoseOfTheWorkArea) {
    Rect work{100, 50, 900, 650};  // middle at (500, 350)
    EXPECT_EQ(ChooseAutomatic({499, 349}, work), StemBottomRight);
    EXPECT_EQ(ChooseAutomatic({500, 349}, work), StemBottomLeft);
    EXPECT_EQ(ChooseAutomatic({499, 350}, work), StemTopRight);
    EXPECT_EQ(ChooseAutomatic({500, 350}, work), StemTopLeft);
}

TEST(BalloonAutomatic, StemTipStaysAtThePoint) {
    // Below the point the tip touches the hint point; above it, the cursor's hot spot (a cursor
    // height higher). One pixel of slack from the outline's own coordinates.
    for (Point hint : {Point{10, 40}, Point{1000, 40}, Point{10, 740}, Point{1000, 740},
                       Point{300, 300}, Point{700, 300}, Point{300, 500}, Point{700, 500}}) {
        BalloonPlacement b = Show(hint);
        Point tip = Tip(b);
        Point target = StemAtTop(b.position) ? hint : Point{hint.x, hint.y - CursorHeight};
        EXPECT_LE(std::abs(tip.x - target.x), 1) << hint.x << "," << hint.y;
        EXPECT_LE(std::abs(tip.y - target.y), 1) << hint.x << "," << hint.y;
    }
}

TEST(BalloonKeepInside, EachEdgeFlipsItsPositions) {
    auto rect = [](int l, int t, int r, int b) { return Rect{l, t, r, b}; };
    // Past the bottom: stems at the top go to the bottom.
    EXPECT_EQ(KeepInside(StemTopRight, rect(100, 730, 227, 769), Screen), StemBottomRight);
    EXPECT_EQ(KeepInside(StemTopLeft, rect(100, 730, 227, 769), Screen), StemBottomLeft);
    EXPECT_EQ(KeepInside(StemTopRight, rect(100, 725, 227, 768), Screen), StemTopRight);
    // Past the right edge: stems near the left go to the right.
    EXPECT_EQ(KeepInside(StemTopLeft, rect(900, 100, 1025, 143), Screen), StemTopRight);
    EXPECT_EQ(KeepInside(StemBottomLeft, rect(900, 100, 1025, 143), Screen), StemBottomRight);
    EXPECT_EQ(KeepInside(StemTopLeft, rect(897, 100, 1024, 143), Screen), StemTopLeft);
    // Left of the left edge: stems near the right go to the left.
    EXPECT_EQ(KeepInside(StemTopRight, rect(-1, 100, 126, 143), Screen), StemTopLeft);
    EXPECT_EQ(KeepInside(StemBottomRight, rect(-1, 100, 126, 143), Screen), StemBottomLeft);
    EXPECT_EQ(KeepInside(StemTopRight, rect(0, 100, 127, 143), Screen), StemTopRight);
    // Above the top: stems at the bottom go to the top.
    EXPECT_EQ(KeepInside(StemBottomRight, rect(100, -1, 227, 42), Screen), StemTopRight);
    EXPECT_EQ(KeepInside(StemBottomLeft, rect(100, -1, 227, 42), Screen), StemTopLeft);
    EXPECT_EQ(KeepInside(StemBottomLeft, rect(100, 0, 227, 43), Screen), StemBottomLeft);
    // An edge leaves the positions it does not name alone.
    EXPECT_EQ(KeepInside(StemBottomRight, rect(100, 730, 227, 769), Screen), StemBottomRight);
    EXPECT_EQ(KeepInside(StemTopRight, rect(900, 100, 1025, 143), Screen), StemTopRight);
    EXPECT_EQ(KeepInside(StemTopLeft, rect(-1, 100, 126, 143), Screen), StemTopLeft);
    EXPECT_EQ(KeepInside(StemTopRight, rect(100, -1, 227, 42), Screen), StemTopRight);
}

TEST(BalloonKeepInside, FlipsChainInTheirOrder) {
    // Too large for the work area on every side: bottom, right, left, top in turn.
    Rect huge{-10, -10, 2000, 2000};
    EXPECT_EQ(KeepInside(StemTopRight, huge, Screen), StemTopLeft);     // 1 -> 3 -> 4 -> 2
    EXPECT_EQ(KeepInside(StemTopLeft, huge, Screen), StemTopLeft);      // 2 -> 4 -> 3 -> 4 -> 2
    EXPECT_EQ(KeepInside(StemBottomRight, huge, Screen), StemTopLeft);  // 3 -> 4 -> 2
    // Past the bottom and the right: the top-left stem ends at the bottom right.
    EXPECT_EQ(KeepInside(StemTopLeft, Rect{950, 740, 1077, 783}, Screen), StemBottomRight);
}

TEST(BalloonKeepInside, BottomAndRightLimitsAreTheWorkAreasExtent) {
    // A task bar along the top (work area from y = 40): the bottom limit is 768 - 40.
    Rect work{0, 40, 1024, 768};
    EXPECT_EQ(KeepInside(StemTopRight, Rect{100, 690, 227, 729}, work), StemBottomRight);
    EXPECT_EQ(KeepInside(StemTopRight, Rect{100, 685, 227, 728}, work), StemTopRight);
    // One along the left (from x = 60): the right limit is 1024 - 60.
    Rect left{60, 0, 1024, 768};
    EXPECT_EQ(KeepInside(StemTopLeft, Rect{838, 100, 965, 143}, left), StemTopRight);
    EXPECT_EQ(KeepInside(StemTopLeft, Rect{837, 100, 964, 143}, left), StemTopLeft);
}

TEST(BalloonKeepInside, OnAnotherMonitorItsOwnEdgesCount) {
    // A monitor left of the primary one: a balloon running onto the primary flips back.
    const Rect monitor{-800, 0, 0, 600};
    const Point origin{-800, 0};
    EXPECT_EQ(KeepInside(StemTopLeft, Rect{-100, 100, 27, 143}, monitor, origin), StemTopRight);
    EXPECT_EQ(KeepInside(StemTopLeft, Rect{-127, 100, 0, 143}, monitor, origin), StemTopLeft);
}

TEST(BalloonPlace, FixedPositionsFlipButDoNotChooseAutomatically) {
    // Configured top-left with room: kept, although automatic would pick another side.
    BalloonPlacement kept = Show({300, 300}, StemTopLeft);
    EXPECT_EQ(kept.position, StemTopLeft);
    EXPECT_EQ(kept.rect, (Rect{284, 300, 411, 343}));
    // Configured top-left near the right edge: flips to top-right and moves by the offsets'
    // difference, so the stem still touches the point.
    BalloonPlacement flipped = Show({1010, 300}, StemTopLeft);
    EXPECT_EQ(flipped.position, StemTopRight);
    EXPECT_EQ(flipped.rect, (Rect{899, 300, 1026, 343}));
    // Configured bottom-right near the top: flips below the point.
    BalloonPlacement below = Show({300, 20}, StemBottomRight);
    EXPECT_EQ(below.position, StemTopRight);
    EXPECT_EQ(below.rect, (Rect{189, 20, 316, 63}));
}

TEST(BalloonPlace, ChecksUseTheRectangleBeforeAnyFlip) {
    // Lower left corner: the bottom check flips 1 to 3, which would put the balloon above the
    // point; the top check then looks at the rectangle it was given (below the point), not the
    // flipped one, so the balloon stays above.
    Rect work{0, 0, 1024, 100};
    BalloonPlacement b = Show({300, 80}, StemTopRight, work);
    EXPECT_EQ(b.position, StemBottomRight);
    EXPECT_EQ(b.rect, (Rect{189, 5, 316, 48}));
}

TEST(BalloonOutline, BodyAndStemPerPosition) {
    Size b{127, 43};
    EXPECT_EQ(BodyRect(StemTopRight, b), (Rect{1, 9, 127, 40}));
    EXPECT_EQ(BodyRect(StemTopLeft, b), (Rect{1, 9, 127, 40}));
    EXPECT_EQ(BodyRect(StemBottomRight, b), (Rect{1, 1, 127, 35}));
    EXPECT_EQ(BodyRect(StemBottomLeft, b), (Rect{1, 1, 127, 35}));
    EXPECT_EQ(BodyRect(Automatic, b), BodyRect(StemTopRight, b));

    using Tri = std::array<Point, 3>;
    EXPECT_EQ(StemTriangle(StemTopRight, b), (Tri{{{110, 0}, {110, 9}, {101, 9}}}));
    EXPECT_EQ(StemTriangle(StemTopLeft, b), (Tri{{{17, 0}, {17, 9}, {26, 9}}}));
    EXPECT_EQ(StemTriangle(StemBottomRight, b), (Tri{{{110, 44}, {110, 34}, {101, 34}}}));
    EXPECT_EQ(StemTriangle(StemBottomLeft, b), (Tri{{{17, 43}, {17, 34}, {26, 34}}}));

    EXPECT_EQ(TextRect(StemTopRight, b), (Rect{12, 15, 127, 43}));
    EXPECT_EQ(TextRect(StemBottomLeft, b), (Rect{12, 7, 127, 43}));
}

TEST(BalloonOutline, StemJoinsTheBodyAndTheTextFitsInIt) {
    for (Size text : {Size{0, 0}, Size{1, 13}, Size{20, 13}, Size{100, 13}, Size{640, 52}}) {
        Size b = BalloonSize(text);
        for (BalloonPosition p : {StemTopRight, StemTopLeft, StemBottomRight, StemBottomLeft}) {
            Rect body = BodyRect(p, b);
            auto stem = StemTriangle(p, b);
            // The stem's base (its second and third corners) lies on or just inside the body.
            EXPECT_EQ(stem[1].y, stem[2].y);
            EXPECT_GE(stem[1].y, body.top);
            EXPECT_LE(stem[1].y, body.bottom);
            if (text.cx >= 20) {  // a narrower balloon is all corners
                EXPECT_GE(std::min(stem[1].x, stem[2].x), body.left + 5);
                EXPECT_LE(std::max(stem[1].x, stem[2].x), body.right - 5);
            }
            // The measured text fits between the text origin and the body's far edges.
            Rect t = TextRect(p, b);
            EXPECT_GE(t.top, body.top);
            EXPECT_GE(body.right - t.left, text.cx);
            EXPECT_GE(body.bottom - t.top, text.cy);
        }
    }
}

TEST(BalloonAtADpi, MarginsStemAndCornersScaleWithTheMonitor) {
    EXPECT_EQ(BalloonSize({200, 26}, 192), (Size{254, 86}));
    const Size b{254, 86};
    using Tri = std::array<Point, 3>;
    EXPECT_EQ(StemTriangle(StemTopLeft, b, 192), (Tri{{{33, 0}, {33, 17}, {50, 17}}}));
    EXPECT_EQ(BodyRect(StemTopLeft, b, 192), (Rect{1, 17, 254, 80}));
    EXPECT_EQ(TextRect(StemTopLeft, b, 192), (Rect{24, 30, 254, 86}));
    // Placed near the top-left corner: the stem 32 pixels in from the left, below the point.
    Rect r = BalloonRect({200, 26}, Automatic, 64, 192).Moved({40, 40});
    BalloonPlacement placed = PlaceBalloon(r, Automatic, Screen, 64, 192);
    EXPECT_EQ(placed.position, StemTopLeft);
    EXPECT_EQ(placed.rect, (Rect{8, 40, 262, 126}));
}
