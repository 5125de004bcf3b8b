// Where the following window goes: beside the cursor, on the side that keeps it on the cursor's
// monitor.
#include <gtest/gtest.h>

#include "app/FollowPlacement.h"

using follow::Area;
using follow::FollowPosition;
using follow::Point;

namespace {
constexpr int W = 172, H = 98, Off = 20;
constexpr Area Primary{0, 0, 1024, 768};
constexpr Area Left{-800, 0, 0, 600};  // a smaller monitor left of the primary one

Point At(Point cursor, Area work) { return FollowPosition(cursor, W, H, work, Off, Off); }

bool Covers(Point window, Point cursor) {
    return cursor.x >= window.x && cursor.x < window.x + W && cursor.y >= window.y &&
           cursor.y < window.y + H;
}
}  // namespace

TEST(FollowPlacement, RightOfAndBelowTheCursorWhereThatFits) {
    EXPECT_EQ(At({100, 200}, Primary), (Point{120, 220}));
    EXPECT_EQ(At({-700, 100}, Left), (Point{-680, 120}));
    // The last place that still fits: the window's right edge on the work area's edge.
    EXPECT_EQ(At({1024 - W - Off, 768 - H - Off}, Primary), (Point{1024 - W, 768 - H}));
}

TEST(FollowPlacement, GoesToTheOtherSideOfTheCursorAtTheRightAndBottomEdges) {
    // One pixel further and the window would pass the edge: it ends 20 pixels before the cursor.
    EXPECT_EQ(At({1024 - W - Off + 1, 300}, Primary), (Point{1024 - W - Off + 1 - Off - W, 320}));
    EXPECT_EQ(At({1023, 767}, Primary), (Point{1023 - Off - W, 767 - Off - H}));
    // Each axis on its own: at the bottom edge only the vertical side changes.
    EXPECT_EQ(At({300, 700}, Primary), (Point{320, 700 - Off - H}));

    // On the monitor at negative coordinates the edge is that monitor's, not the primary's: at
    // its right edge the window stays left of the cursor instead of moving onto the primary.
    Point p = At({-1, 599}, Left);
    EXPECT_EQ(p, (Point{-1 - Off - W, 599 - Off - H}));
    EXPECT_GE(p.x, Left.left);
    EXPECT_LE(p.x + W, Left.right);
    EXPECT_GE(p.y, Left.top);
    EXPECT_LE(p.y + H, Left.bottom);
}

TEST(FollowPlacement, NeverCoversTheCursorEvenWhereNeitherSideFits) {
    // A work area narrower than the window beside the cursor on both sides: the side with more
    // room is taken, and the cursor's pixel stays free.
    const Area narrow{0, 0, 300, 200};
    for (int x = 0; x < 300; x += 7)
        for (int y = 0; y < 200; y += 5) {
            Point cursor{x, y};
            EXPECT_FALSE(Covers(FollowPosition(cursor, W, H, narrow, Off, Off), cursor))
                << x << "," << y;
        }
    // At x = 140 there are 159 pixels right of the cursor and 140 left; at 150, 149 and 150.
    EXPECT_EQ(FollowPosition({140, 50}, W, H, narrow, Off, Off).x, 140 + Off);
    EXPECT_EQ(FollowPosition({150, 50}, W, H, narrow, Off, Off).x, 150 - Off - W);
}

TEST(FollowPlacement, AJumpIntoTheFollowingWindowHoldsItAndOnlyAHoverOpensTheOptions) {
    using V = follow::HoverGate::Verdict;
    follow::HoverGate gate;
    const std::uint32_t hover = 400;
    // The window followed the cursor at (500, 400); one tick later the cursor is 40 px further
    // down and right, inside it.
    const Point window = At({500, 400}, Primary), jumped{540, 440};
    ASSERT_TRUE(Covers(window, jumped));
    EXPECT_EQ(gate.Decide(true, true, 1000, hover), V::Hold);
    EXPECT_EQ(gate.Decide(true, true, 1000 + hover - 1, hover), V::Hold);
    // On and out within the hover time: following again, and a later entry starts a new wait.
    EXPECT_EQ(gate.Decide(false, true, 1000 + hover - 1, hover), V::Outside);
    EXPECT_EQ(gate.Decide(true, true, 2000, hover), V::Hold);
    EXPECT_EQ(gate.Decide(true, true, 2000 + hover, hover), V::Open) << "a deliberate hover";
    EXPECT_EQ(gate.Decide(true, false, 3000, hover), V::Open) << "fixed mode opens at once";
}
