// A pinned capture's zoom steps and sizes.
#include <gtest/gtest.h>

#include "capture/PinZoom.h"

TEST(CapturePin, TheZoomWalksItsStepsWithin25And800Percent) {
    EXPECT_EQ(pin::NextZoom(100, true), 125);
    EXPECT_EQ(pin::NextZoom(100, false), 75);
    EXPECT_EQ(pin::NextZoom(110, false), 100) << "from between two steps";
    EXPECT_EQ(pin::NextZoom(800, true), 800);
    EXPECT_EQ(pin::NextZoom(25, false), 25);
    EXPECT_EQ(pin::NextZoom(-7, true), 25);
}

TEST(CapturePin, TheWindowTakesTheImagesSizeAtTheZoom) {
    EXPECT_EQ(pin::ZoomedSize({200, 150}, 125), (geo::Size{250, 188}));
    EXPECT_EQ(pin::ZoomedSize({3, 1}, 25), (geo::Size{1, 1}));
    EXPECT_EQ(pin::ZoomedSize({0, 10}, 800), (geo::Size{0, 80}));
    EXPECT_EQ(pin::ZoomedSize({100000, 100000}, 800), (geo::Size{800000, 800000}));
}
