// Where the options and capture views open over the compact view: inside the work area of its
// monitor, yet always over the whole compact view.
#include <gtest/gtest.h>

#include "app/ViewPlacement.h"

using views::GrownViewPosition;
using views::Point;
using views::Rect;

namespace {
constexpr Rect Primary{0, 0, 1024, 768};

// The 300 x 220 view grown from a 172 x 98 compact view at (x, y).
Point Grown(int x, int y, const Rect& work = Primary) {
    return GrownViewPosition({x, y, x + 300, y + 220}, {x, y, x + 172, y + 98}, work);
}
}  // namespace

TEST(GrownView, MovesOnlyAsFarAsTheWorkAreaNeeds) {
    EXPECT_EQ(Grown(100, 120), (Point{100, 120}));
    EXPECT_EQ(Grown(820, 120), (Point{724, 120}));
    EXPECT_EQ(Grown(850, 660), (Point{724, 548}));
    // On a monitor left of the primary one, at negative coordinates.
    EXPECT_EQ(Grown(-180, 480, {-800, 0, 0, 600}), (Point{-300, 380}));
}

TEST(GrownView, AlwaysCoversTheCompactView) {
    // A compact view that runs off the screen itself: the grown view stays over it.
    EXPECT_EQ(Grown(900, 700), (Point{772, 578}));
    // A work area smaller than the grown view: from its left and top edges, over the compact view.
    EXPECT_EQ(Grown(20, 30, {0, 0, 250, 200}), (Point{0, 0}));
    EXPECT_EQ(Grown(150, 150, {0, 0, 250, 200}), (Point{22, 28}));
}
