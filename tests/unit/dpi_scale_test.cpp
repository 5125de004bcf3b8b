// Design values at 96 DPI scaled to a monitor's DPI.
#include <gtest/gtest.h>

#include <limits>

#include "win/DpiScale.h"

using namespace dpi;

TEST(DpiScale, RoundsToTheNearestPixelWithHalvesAwayFromZero) {
    EXPECT_EQ(Scale(172, 96), 172);
    EXPECT_EQ(Scale(172, 144), 258);
    EXPECT_EQ(Scale(98, 192), 196);
    EXPECT_EQ(Scale(11, 144), 17);    // 16.5
    EXPECT_EQ(Scale(-11, 144), -17);  // a font height scales like its positive twin
    EXPECT_EQ(Scale(13, 120), 16);    // 16.25
    EXPECT_EQ(Scale(-20, 120), -25);
    EXPECT_EQ(Scale(20, 0), 20) << "an unknown DPI is the design DPI";
    EXPECT_EQ(Scale(2'000'000'000, 192), 2'147'483'647) << "saturates, never wraps";
}

TEST(DpiScale, RectanglesScaleByTheirEdgesSoNeighboursStayNeighbours) {
    // Two labels 12 pixels apart at the design DPI: at 120 DPI each is 15 high and they touch.
    Rect a = ScaleBounds(4, 0, 50, 12, 120), b = ScaleBounds(4, 12, 50, 12, 120);
    EXPECT_EQ(a, (Rect{5, 0, 68, 15}));
    EXPECT_EQ(a.bottom, b.top);
    EXPECT_EQ(Scale(Rect{1, 1, 75, 75}, 144), (Rect{2, 2, 113, 113}));
    EXPECT_EQ(Scale(Size{300, 220}, 192), (Size{600, 440}));
}

TEST(DpiScale, UnscaleGivesTheLargestDesignValueThatStillFits) {
    for (int dpi : {96, 120, 144, 168, 192, 240})
        for (int pixels = -50; pixels < 700; ++pixels) {
            int design = Unscale(pixels, dpi);
            ASSERT_LE(Scale(design, dpi), pixels) << pixels << " at " << dpi;
            ASSERT_GT(Scale(design + 1, dpi), pixels) << pixels << " at " << dpi;
        }
    EXPECT_EQ(Unscale(Size{286, 170}, 96), (Size{286, 170}));
    EXPECT_EQ(Unscale(Size{430, 257}, 144), (Size{286, 171}));
}

TEST(DpiScale, UnscaleStopsAtTheEndsOfTheIntRange) {
    // Found by fuzzing, both as hangs: at 1 DPI no int design value scales to so few pixels, and
    // the search for one never ended; at a huge DPI every large value saturates to the largest
    // int, and the search stepped through each of them.
    EXPECT_EQ(Unscale(-2'012'070'646, 1), std::numeric_limits<int>::min());
    EXPECT_EQ(Unscale(std::numeric_limits<int>::max(), 33'554'433),
              std::numeric_limits<int>::max());
}
