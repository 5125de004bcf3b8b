// The delayed capture's countdown: the number it shows and where its window goes.
#include <gtest/gtest.h>

#include "capture/Countdown.h"

using countdown::Countdown;

TEST(CaptureCountdown, ShowsTheWholeSecondsLeftAndWhenTheyChange) {
    const Countdown c(3, 0xFFFFFC00u);  // the clock wraps during it
    EXPECT_EQ(c.SecondsLeft(0xFFFFFC00u), 3);
    EXPECT_EQ(c.NextChangeIn(0xFFFFFC00u), 1000u);
    EXPECT_EQ(c.SecondsLeft(0xFFFFFC00u + 999u), 3);
    EXPECT_EQ(c.NextChangeIn(0xFFFFFC00u + 999u), 1u);
    EXPECT_EQ(c.SecondsLeft(0xFFFFFC00u + 1000u), 2);
    EXPECT_EQ(c.SecondsLeft(0xFFFFFC00u + 2999u), 1);
    EXPECT_TRUE(c.Done(0xFFFFFC00u + 3000u));
    EXPECT_EQ(c.NextChangeIn(0xFFFFFC00u + 3000u), 0u);
    EXPECT_TRUE(Countdown(-4, 5).Done(5));
    EXPECT_EQ(Countdown(99, 0).SecondsLeft(0), countdown::MaxSeconds);
}

TEST(CaptureCountdown, TheWindowGoesBesideThePointerAndStaysInTheWorkArea) {
    const geo::Rect work{0, 0, 1024, 740};
    EXPECT_EQ(countdown::PlaceBesidePointer({100, 100}, {60, 40}, work), (geo::Point{124, 124}));
    EXPECT_EQ(countdown::PlaceBesidePointer({1000, 730}, {60, 40}, work), (geo::Point{916, 666}));
    EXPECT_EQ(countdown::PlaceBesidePointer({10, 730}, {60, 40}, work), (geo::Point{34, 666}));
    EXPECT_EQ(countdown::PlaceBesidePointer({-500, 5}, {60, 40}, work), (geo::Point{0, 29}));
}
