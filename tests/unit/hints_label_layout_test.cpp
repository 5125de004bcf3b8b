// Auto-sized labels keep the edge their alignment names; pictures fit without distortion.
#include <gtest/gtest.h>

#include "hints/LabelLayout.h"

using namespace hints;

TEST(AutoSizeBounds, KeepsTheAlignedEdge) {
    Rect r{48, 120, 148, 133};
    EXPECT_EQ(AutoSizeBounds(r, {120, 14}, Alignment::Left), (Rect{48, 120, 168, 134}));
    EXPECT_EQ(AutoSizeBounds(r, {120, 14}, Alignment::Right), (Rect{28, 120, 148, 134}));
    EXPECT_EQ(AutoSizeBounds(r, {80, 13}, Alignment::Right), (Rect{68, 120, 148, 133}));
    EXPECT_EQ(AutoSizeBounds(r, {120, 13}, Alignment::Center), (Rect{38, 120, 158, 133}));
    // Growing and shrinking back returns to the same bounds.
    Rect grown = AutoSizeBounds(r, {130, 13}, Alignment::Right);
    EXPECT_EQ(AutoSizeBounds(grown, {100, 13}, Alignment::Right), r);
}

TEST(FitProportionally, ScalesDownAndUpKeepingTheProportions) {
    EXPECT_EQ(FitProportionally({292, 172}, {286, 170}), (Size{286, 168}));  // 168.46
    EXPECT_EQ(FitProportionally({292, 172}, {292, 172}), (Size{292, 172}));
    EXPECT_EQ(FitProportionally({292, 172}, {584, 400}), (Size{584, 344}));  // enlarged
    EXPECT_EQ(FitProportionally({292, 172}, {400, 100}), (Size{170, 100}));  // 169.77
    EXPECT_EQ(FitProportionally({292, 172}, {100, 172}), (Size{100, 59}));   // 58.9
    EXPECT_EQ(FitProportionally({1000, 1}, {10, 10}), (Size{10, 1}));        // never 0 high
    EXPECT_EQ(FitProportionally({30000, 20000}, {30000, 30000}), (Size{30000, 20000}));
}

TEST(FitProportionally, EmptyImageOrBoxGivesNothing) {
    EXPECT_EQ(FitProportionally({0, 172}, {286, 170}), (Size{0, 0}));
    EXPECT_EQ(FitProportionally({292, 172}, {0, 170}), (Size{0, 0}));
    EXPECT_EQ(FitProportionally({292, 172}, {286, -5}), (Size{0, 0}));
}
