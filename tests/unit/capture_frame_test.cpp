// The rectangle overlay's rules: the dash pattern, the frame walk and the selection rectangle.
#include <gtest/gtest.h>

#include "capture/FrameDash.h"

using frame::Point;
using frame::Rect;

namespace {
// The colours of n pixels drawn with the current phase: 'r' red, 'w' white.
std::string Pattern(frame::Dashes& d, int n) {
    std::string s;
    d.Begin();
    for (int i = 0; i < n; ++i) s += d.NextIsRed() ? 'r' : 'w';
    return s;
}
}  // namespace

TEST(CaptureFrame, DashesAreFiveWhiteThreeRedAndMoveTwoPixelsPerTick) {
    frame::Dashes d;
    EXPECT_EQ(d.Phase(), 128);
    EXPECT_EQ(Pattern(d, 16), "wwwwwrrrwwwwwrrr");
    // Drawing again without a tick (a mouse move) gives the same pattern.
    EXPECT_EQ(Pattern(d, 8), "wwwwwrrr");
    const std::uint8_t phases[] = {32, 8, 2, 128, 32};
    for (int k = 1; k <= 5; ++k) {
        d.Tick();
        EXPECT_EQ(d.Phase(), phases[k - 1]);
        std::string p = Pattern(d, 40);
        for (int i = 0; i < 40; ++i) {
            int m = ((i - 2 * k) % 8 + 8) % 8;
            EXPECT_EQ(p[static_cast<size_t>(i)], m >= 5 ? 'r' : 'w')
                << "tick " << k << " pixel " << i;
        }
    }
}

TEST(CaptureFrame, WalkStartsAtTheAnchorAndRunsRoundWithoutRepeats) {
    auto walk = frame::FrameWalk({10, 20, 13, 22});
    std::vector<Point> want = {{10, 20}, {11, 20}, {12, 20},  // top, rightwards
                               {13, 20}, {13, 21},            // right side, down
                               {13, 22}, {12, 22}, {11, 22},  // bottom, leftwards
                               {10, 22}, {10, 21}};           // left side, up
    EXPECT_EQ(walk, want);

    // Dragged up and to the left: the walk starts at the anchor and runs the other way round.
    walk = frame::FrameWalk({13, 22, 10, 20});
    ASSERT_EQ(walk.size(), 10u);
    EXPECT_EQ(walk.front(), (Point{13, 22}));
    EXPECT_EQ(walk[1], (Point{12, 22}));
    EXPECT_EQ(walk[3], (Point{10, 22}));
    EXPECT_EQ(walk.back(), (Point{13, 21}));

    EXPECT_TRUE(frame::FrameWalk({5, 5, 5, 5}).empty());  // the initial, collapsed frame
    // A frame of zero width walks its one column down and back up.
    walk = frame::FrameWalk({5, 5, 5, 8});
    EXPECT_EQ(walk, (std::vector<Point>{{5, 5}, {5, 6}, {5, 7}, {5, 8}, {5, 7}, {5, 6}}));
}

TEST(CaptureFrame, DashCountRunsOnPastTheCorners) {
    // A 3 x 2 frame has 10 pixels; the dashes do not restart at each side.
    frame::Dashes d;
    auto walk = frame::FrameWalk({0, 0, 3, 2});
    std::string colours = Pattern(d, static_cast<int>(walk.size()));
    EXPECT_EQ(colours, "wwwwwrrrww");
}

TEST(CaptureFrame, OrderRectSortsTheCorners) {
    EXPECT_EQ(frame::OrderRect({300, 250, 100, 100}), (Rect{100, 100, 300, 250}));
    EXPECT_EQ(frame::OrderRect({100, 250, 300, 100}), (Rect{100, 100, 300, 250}));
    EXPECT_EQ(frame::OrderRect({-5, 3, 2, -7}), (Rect{-5, -7, 2, 3}));
}

TEST(CaptureFrame, FreeModeDragsFromThePressPoint) {
    Rect r = frame::PressAt(100, 100);
    EXPECT_EQ(r, (Rect{100, 100, 100, 100}));
    EXPECT_FALSE(frame::MoveTo(r, false, 0, 0, false, 150, 150));  // no button: nothing
    r = *frame::MoveTo(r, false, 0, 0, true, 300, 250);
    EXPECT_EQ(r, (Rect{100, 100, 300, 250}));
    EXPECT_EQ(frame::ReleaseArea(r, false, 0, 0), (Rect{100, 100, 300, 250}));

    // Ending left of and above the start: ordered and captured.
    r = *frame::MoveTo(frame::PressAt(300, 250), false, 0, 0, true, 100, 100);
    EXPECT_EQ(frame::ReleaseArea(r, false, 0, 0), (Rect{100, 100, 300, 250}));
    // Only sideways or only down: nothing to capture.
    EXPECT_FALSE(frame::ReleaseArea(frame::PressAt(7, 7), false, 0, 0));
    EXPECT_FALSE(frame::ReleaseArea({10, 10, 50, 10}, false, 0, 0));
    EXPECT_FALSE(frame::ReleaseArea({10, 10, 10, 50}, false, 0, 0));
}

TEST(CaptureFrame, FixedModeFrameFollowsTheCursor) {
    Rect r{};
    r = *frame::MoveTo(r, true, 32, 32, false, 500, 400);
    EXPECT_EQ(r, (Rect{500, 400, 532, 432}));
    r = *frame::MoveTo(frame::PressAt(500, 400), true, 32, 32, true, 510, 405);  // held: the same
    EXPECT_EQ(r, (Rect{510, 405, 542, 437}));
    EXPECT_EQ(frame::ReleaseArea(r, true, 32, 32), (Rect{510, 405, 542, 437}));
    // A click without movement captures the frame at the press point.
    EXPECT_EQ(frame::ReleaseArea(frame::PressAt(500, 400), true, 16, 16),
              (Rect{500, 400, 516, 416}));
    EXPECT_FALSE(frame::ReleaseArea(frame::PressAt(500, 400), true, 0, 16));
}
