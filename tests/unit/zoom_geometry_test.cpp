// The magnifier's source rectangle, edge clamp and crosshair arithmetic.
#include <gtest/gtest.h>

#include "zoom/ZoomGeometry.h"

using zoom::ComputeView;
using zoom::Point;
using zoom::Rect;

namespace {
constexpr int SW = 1024, SH = 768;  // primary screen
constexpr Rect Desk{0, 0, SW, SH};  // the primary screen alone

zoom::View View74(Point cursor, int level) {
    auto v = ComputeView(cursor, 74, 74, level, Desk);
    EXPECT_TRUE(v.has_value());
    return v.value_or(zoom::View{});
}
}  // namespace

TEST(ZoomView, SourceIsCentredOnTheCursorAwayFromTheEdges) {
    // Level 15: half size 37 * 15 div 100 = 5, a 10 x 10 source shown 7.4 times enlarged.
    zoom::View v = View74({500, 400}, 15);
    EXPECT_EQ(v.source, (Rect{495, 395, 505, 405}));
    EXPECT_EQ(v.center, (Point{37, 37}));

    // Level 100: the 74 x 74 area round the cursor at 1:1.
    v = View74({500, 400}, 100);
    EXPECT_EQ(v.source, (Rect{463, 363, 537, 437}));
    EXPECT_EQ(v.source.Width(), 74);
    EXPECT_EQ(v.center, (Point{37, 37}));

    // Level 3: half size 1, a 2 x 2 source.
    v = View74({500, 400}, 3);
    EXPECT_EQ(v.source, (Rect{499, 399, 501, 401}));

    // Each axis uses its own size; an odd size halves downward.
    auto wide = ComputeView({500, 400}, 101, 50, 20, Desk);
    ASSERT_TRUE(wide);
    EXPECT_EQ(wide->source, (Rect{490, 395, 510, 405}));
    EXPECT_EQ(wide->center, (Point{50, 25}));
}

TEST(ZoomView, EdgeClampHoldsTheSourceOnThePrimaryScreenAndMovesTheCrosshair) {
    // Top-left pixel: dx = dy = (0 - 5 - 1) * 100 div 15 = -40, the crosshair outside the view.
    zoom::View v = View74({0, 0}, 15);
    EXPECT_EQ(v.source, (Rect{0, 0, 10, 10}));
    EXPECT_EQ(v.center, (Point{-3, -3}));

    // x = 2: dx = (2 - 5 - 1) * 100 div 15 = -26, crosshair column 11; y is not clamped.
    v = View74({2, 300}, 15);
    EXPECT_EQ(v.source, (Rect{0, 295, 10, 305}));
    EXPECT_EQ(v.center, (Point{11, 37}));

    // The clamp starts exactly below the half size: x = 5 is free, x = 4 is held back.
    EXPECT_EQ(View74({5, 300}, 15).center.x, 37);
    v = View74({4, 300}, 15);
    EXPECT_EQ(v.source.left, 0);
    EXPECT_EQ(v.center.x, 37 - 13);  // -200 / 15 truncates to -13

    // Right and bottom: the source may touch the screen edge (exclusive) but not pass it.
    EXPECT_EQ(View74({SW - 5, 300}, 15).source, (Rect{SW - 10, 295, SW, 305}));
    EXPECT_EQ(View74({SW - 5, 300}, 15).center.x, 37);
    v = View74({SW - 1, SH - 1}, 15);
    EXPECT_EQ(v.source, (Rect{SW - 10, SH - 10, SW, SH}));
    EXPECT_EQ(v.center, (Point{37 + 33, 37 + 33}));  // (5 + 1 - 1) * 100 div 15 = 33

    // The offset truncates toward zero also when negative: (-6 - 1) * 100 / 15 = -46.6 gives -46.
    v = View74({-1, 100}, 15);
    EXPECT_EQ(v.source, (Rect{0, 95, 10, 105}));
    EXPECT_EQ(v.center.x, 37 - 46);

    // At level 100 the clamp works the same way at 1:1: the crosshair sits on the cursor.
    v = View74({10, 20}, 100);
    EXPECT_EQ(v.source, (Rect{0, 0, 74, 74}));
    EXPECT_EQ(v.center, (Point{37 - 28, 37 - 18}));  // (10 - 37 - 1) = -28, (20 - 37 - 1) = -18
}

TEST(ZoomView, SourceStaysOnTheDeskOfAllMonitorsNotOnThePrimaryScreen) {
    // An 800 x 600 monitor left of the primary one, and one above it.
    const Rect left{-800, 0, SW, SH}, above{0, -600, SW, SH};

    // On the left monitor the source is centred on the cursor as anywhere else: the pixel under
    // the crosshair's centre is the one the readout names.
    auto v = ComputeView({-500, 100}, 74, 74, 15, left);
    ASSERT_TRUE(v);
    EXPECT_EQ(v->source, (Rect{-505, 95, -495, 105}));
    EXPECT_EQ(v->center, (Point{37, 37}));

    // Across the border between the monitors nothing is held back.
    v = ComputeView({2, 300}, 74, 74, 15, left);
    EXPECT_EQ(v->source, (Rect{-3, 295, 7, 305}));
    EXPECT_EQ(v->center, (Point{37, 37}));

    // The clamp works at the desk's own edges, negative ones included.
    v = ComputeView({-800, 300}, 74, 74, 15, left);
    EXPECT_EQ(v->source, (Rect{-800, 295, -790, 305}));
    EXPECT_EQ(v->center, (Point{-3, 37}));  // (0 - 5 - 1) * 100 div 15 = -40
    v = ComputeView({SW - 1, SH - 1}, 74, 74, 15, left);
    EXPECT_EQ(v->source, (Rect{SW - 10, SH - 10, SW, SH}));
    EXPECT_EQ(v->center, (Point{70, 70}));
    v = ComputeView({100, -598}, 74, 74, 15, above);
    EXPECT_EQ(v->source, (Rect{95, -600, 105, -590}));
    EXPECT_EQ(v->center, (Point{37, 37 - 26}));  // (2 - 5 - 1) * 100 div 15 = -26
}

TEST(ZoomView, LevelsTooSmallForTheViewCopyNothingAndNoLevelBelowOneHasAView) {
    for (int level : {1, 2}) {
        zoom::View v = View74({500, 400}, level);
        EXPECT_TRUE(v.source.Empty()) << level;
        EXPECT_EQ(v.center, (Point{37, 37})) << level;
        // With half sizes of 0 nothing is clamped, even in the corner.
        EXPECT_EQ(View74({0, 0}, level).center, (Point{37, 37})) << level;
    }
    EXPECT_FALSE(View74({500, 400}, 3).source.Empty());
    for (int level : {0, -1, -100, INT_MIN})
        EXPECT_FALSE(ComputeView({0, 0}, 74, 74, level, Desk).has_value()) << level;
}

TEST(ZoomView, ExtremeSizesAndLevelsDoNotOverflow) {
    // 37 * INT_MAX overflows 32 bits; the result must still be the exact one.
    auto v = ComputeView({500, 400}, 74, 74, INT_MAX, Desk);
    ASSERT_TRUE(v);
    const long long hw = 37LL * INT_MAX / 100;
    EXPECT_EQ(v->source.left, 0);
    EXPECT_EQ(v->source.right, static_cast<int>(2 * hw));
    EXPECT_EQ(v->center.x, 37 + static_cast<int>((500 - hw - 1) * 100 / INT_MAX));

    // Results beyond the int range saturate rather than wrap.
    v = ComputeView({INT_MAX, INT_MIN}, INT_MAX, INT_MAX, INT_MAX, Desk);
    ASSERT_TRUE(v);
    EXPECT_EQ(v->source.right, INT_MAX);
    EXPECT_EQ(v->source.bottom, INT_MAX);
    EXPECT_LE(v->source.left, v->source.right);

    // The "never drawn" position compared with a real cursor position.
    EXPECT_FALSE(zoom::NoPosition == (Point{0, 0}));
}

TEST(Crosshair, ArmsSpanHalfTheSizeEachWayWithoutTheirEndPixel) {
    // Size 30, s = 15: rows cy - 15 .. cy + 14 and columns cx - 15 .. cx + 14.
    auto arms = zoom::Crosshair({37, 37}, 30);
    EXPECT_EQ(arms.vertical, (zoom::Segment{{37, 22}, {37, 52}}));
    EXPECT_EQ(arms.horizontal, (zoom::Segment{{22, 37}, {52, 37}}));

    // An odd size halves downward; the minimum slider size 5 gives s = 2.
    EXPECT_EQ(zoom::Crosshair({37, 37}, 31).vertical, arms.vertical);
    EXPECT_EQ(zoom::Crosshair({10, 20}, 5).horizontal, (zoom::Segment{{8, 20}, {12, 20}}));

    // A centre outside the view keeps its arms on its own row and column.
    auto off = zoom::Crosshair({-3, -3}, 30);
    EXPECT_EQ(off.vertical, (zoom::Segment{{-3, -18}, {-3, 12}}));
    EXPECT_EQ(off.horizontal, (zoom::Segment{{-18, -3}, {12, -3}}));

    // Size 0 or 1: zero-length arms, nothing to draw. Huge sizes saturate.
    EXPECT_EQ(zoom::Crosshair({5, 5}, 1).vertical.from, zoom::Crosshair({5, 5}, 1).vertical.to);
    EXPECT_EQ(zoom::Crosshair({5, INT_MAX - 1}, INT_MAX).vertical.to.y, INT_MAX);
}
