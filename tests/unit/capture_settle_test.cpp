// Which programs the capture waits for before it reads the screen, and for how long at most.
#include <gtest/gtest.h>

#include "capture/ScreenSettle.h"

using settle::WindowBelow;

TEST(CaptureSettle, AsksEachOtherThreadOnceWhoseWindowLayUnderAVacatedArea) {
    const std::vector<WindowBelow> windows{{{0, 0, 100, 100}, 7},     {{50, 50, 150, 150}, 9},
                                           {{90, 90, 120, 120}, 7},   {{0, 0, 800, 600}, 1},
                                           {{300, 300, 400, 400}, 5}, {{100, 0, 200, 50}, 8}};
    // Thread 1 is the program's own; 5 lies elsewhere; 8 only touches the area's right edge.
    EXPECT_EQ(settle::ThreadsToAsk(windows, {{20, 20, 100, 60}}, 1),
              (std::vector<std::uint32_t>{7, 9}));
    EXPECT_TRUE(settle::ThreadsToAsk(windows, {}, 1).empty());
    EXPECT_TRUE(settle::ThreadsToAsk(windows, {{20, 20, 20, 60}}, 1).empty()) << "an empty area";
}

TEST(CaptureSettle, TheWaitEndsAtItsLimitAlsoAcrossTheClocksWrap) {
    EXPECT_EQ(settle::Remaining(1000, 1200, 500), 300u);
    EXPECT_EQ(settle::Remaining(1000, 1500, 500), 0u);
    EXPECT_EQ(settle::Remaining(1000, 9000, 500), 0u);
    EXPECT_EQ(settle::Remaining(0xFFFFFF00u, 0x00000040u, 500), 500u - 0x140u);
}

TEST(CaptureSettle, OnlyWindows10Of2004OnKeepsAWindowOutOfCaptures) {
    EXPECT_FALSE(settle::ExcludesFromCapture(6, 1, 7601)) << "Windows 7 would show it black";
    EXPECT_FALSE(settle::ExcludesFromCapture(10, 0, 18363));
    EXPECT_TRUE(settle::ExcludesFromCapture(10, 0, 19041));
    EXPECT_TRUE(settle::ExcludesFromCapture(10, 0, 22631)) << "Windows 11";
}
