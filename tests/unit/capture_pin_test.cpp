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

TEST(CapturePin, AZoomStopsWhereThePinWithItsFrameFillsTheWorkAreaAndStaysOnIt) {
    // 200 x 150 with a 2-pixel frame on 1024 x 728: 483 % is 725 high, with the frame 729.
    EXPECT_EQ(pin::FittingZoom({200, 150}, 800, 2, {1024, 728}), 482);
    EXPECT_EQ(pin::ZoomedSize({200, 150}, 482), (geo::Size{964, 723}));
    EXPECT_EQ(pin::FittingZoom({200, 150}, 125, 2, {1024, 728}), 125) << "fits as asked";
    // A desktop capture pinned on its own monitor: just under 100 % for the frame.
    EXPECT_EQ(pin::FittingZoom({1920, 1080}, 100, 2, {1920, 1040}), 95);
    EXPECT_EQ(pin::FittingZoom({40000, 40000}, 100, 2, {1920, 1040}), 2) << "below the steps";
    EXPECT_EQ(pin::FittingZoom({10, 10}, 100, 600, {1000, 1000}), 1) << "nothing fits";
    // Moved the least onto the work area, which may lie left of the primary monitor.
    const geo::Rect work{-1280, 0, 0, 984};
    EXPECT_EQ(pin::KeepWithin({204, 154}, {-300, 900}, work), (geo::Rect{-300, 830, -96, 984}));
    EXPECT_EQ(pin::KeepWithin({204, 154}, {-100, -20}, work), (geo::Rect{-204, 0, 0, 154}));
    EXPECT_EQ(pin::KeepWithin({204, 154}, {-600, 300}, work), (geo::Rect{-600, 300, -396, 454}));
    EXPECT_EQ(pin::KeepWithin({2000, 154}, {-600, 300}, work).left, -1280) << "too wide";
}
