// The precise pick's loupe placement, arrow step and magnifier grid.
#include <gtest/gtest.h>

#include "pick/PickGeometry.h"

using geo::Point;
using geo::Rect;

namespace {
constexpr unsigned Left = 0x25, Up = 0x26, Right = 0x27, Down = 0x28;
constexpr geo::Size Loupe{140, 170};
constexpr int Gap = 16;

bool Covers(const Rect& r, Point p) {
    return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom;
}
bool Inside(const Rect& r, const Rect& monitor) {
    return r.left >= monitor.left && r.top >= monitor.top && r.right <= monitor.right &&
           r.bottom <= monitor.bottom;
}
}  // namespace

TEST(PickLoupe, SitsRightOfAndBelowTheCursorFlippingAtEachEdgeOfItsMonitor) {
    // A monitor left of and above the primary one: negative coordinates throughout.
    const Rect monitor{-1280, -1024, 0, 0};
    EXPECT_EQ(pick::PlaceLoupe({-1000, -900}, Loupe, monitor, Gap), (Rect{-983, -883, -843, -713}));
    EXPECT_EQ(pick::PlaceLoupe({-10, -900}, Loupe, monitor, Gap).right, -10 - Gap)
        << "flipped left at the right edge";
    EXPECT_EQ(pick::PlaceLoupe({-1000, -5}, Loupe, monitor, Gap).bottom, -5 - Gap)
        << "flipped up at the bottom edge";
    EXPECT_EQ(pick::PlaceLoupe({-1, -1}, Loupe, monitor, Gap), (Rect{-157, -187, -17, -17}))
        << "both in the corner";
}

TEST(PickLoupe, StaysOnTheCursorsMonitorAndNeverCoversThePixelAnywhere) {
    const Rect monitors[] = {
        {0, 0, 1920, 1080}, {-1280, 200, 0, 1224}, {0, 0, 200, 1080}, {0, 0, 1920, 200}};
    for (const Rect& m : monitors)
        for (int x = m.left; x < m.right; x += 7)
            for (int y = m.top; y < m.bottom; y += 11) {
                const Rect r = pick::PlaceLoupe({x, y}, Loupe, m, Gap);
                ASSERT_FALSE(Covers(r, {x, y})) << x << "," << y;
                ASSERT_TRUE(Inside(r, m)) << x << "," << y << " on " << m.right - m.left;
            }
    // Too small for the loupe on every side: it leaves the monitor rather than hide the pixel.
    const Rect tiny{0, 0, 100, 100};
    EXPECT_FALSE(Covers(pick::PlaceLoupe({50, 50}, Loupe, tiny, Gap), {50, 50}));
}

TEST(PickArrowStep, MovesOnePixelTenWithShiftHeldWithinTheDesk) {
    const Rect desk{-1280, 0, 1920, 1080};
    EXPECT_EQ(pick::ArrowStep(Left, false, {-1275, 5}, desk), (Point{-1276, 5}));
    EXPECT_EQ(pick::ArrowStep(Right, true, {0, 5}, desk), (Point{10, 5}));
    EXPECT_EQ(pick::ArrowStep(Up, true, {0, 5}, desk), (Point{0, 0})) << "held at the top";
    EXPECT_EQ(pick::ArrowStep(Down, false, {0, 1079}, desk), (Point{0, 1079}));
    EXPECT_EQ(pick::ArrowStep(Left, true, {-1275, 5}, desk), (Point{-1280, 5}));
    EXPECT_EQ(pick::ArrowStep(0x0D, false, {0, 5}, desk), std::nullopt) << "Enter is no step";
}

TEST(PickGrid, WholePixelsAtTheZoomWithThePickedOneInTheMiddle) {
    EXPECT_EQ(pick::GridFor(121, 15), (pick::Grid{17, 7})) << "about 6.7 times, to whole pixels";
    EXPECT_EQ(pick::GridFor(121, 100), (pick::Grid{121, 1}));
    EXPECT_EQ(pick::GridFor(120, 100), (pick::Grid{119, 1})) << "odd, for a middle cell";
    EXPECT_EQ(pick::GridFor(121, 1), (pick::Grid{3, 40})) << "never fewer than three cells";
    EXPECT_EQ(pick::GridSource({-5, 7}, {17, 7}), (Rect{-13, -1, 4, 16}));
}

TEST(PickGrid, TheSampledBlockShowsAsItsCellsCutToTheMagnifier) {
    const pick::Grid grid{17, 7};
    const Rect source = pick::GridSource({100, 100}, grid);  // 92..108
    EXPECT_EQ(pick::CellsOf(grid, source, {99, 99, 102, 102}), (Rect{49, 49, 70, 70}))
        << "3 x 3 round the middle cell (8)";
    // At the desk's top-left corner the block is cut to the desk, and its cells with it.
    EXPECT_EQ(pick::CellsOf(grid, pick::GridSource({0, 0}, grid), {0, 0, 2, 2}),
              (Rect{56, 56, 70, 70}));
    // A block larger than the magnifier (9 x 9 in 3 cells): the whole magnifier.
    const pick::Grid small{3, 40};
    EXPECT_EQ(pick::CellsOf(small, pick::GridSource({50, 50}, small), {46, 46, 55, 55}),
              (Rect{0, 0, 120, 120}));
    EXPECT_TRUE(pick::CellsOf(grid, source, {}).Empty());
}
