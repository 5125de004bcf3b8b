// The last region offered again: kept as text, moved by the arrows, its size shown beside it.
#include <gtest/gtest.h>

#include <vector>

#include "capture/RegionProposal.h"

using namespace proposal;

TEST(CaptureProposal, ARegionReadsBackAndOtherTextNamesNone) {
    EXPECT_EQ(ParseRegion(FormatRegion({-1280, 5, 40, 300})), (geo::Rect{-1280, 5, 40, 300}));
    for (const wchar_t* text : {L"", L"1,2,3", L"1,2,3,4,5", L"1, 2,3,4", L"a,2,3,4", L"5,5,5,9",
                                L"9,0,1,5", L"1,2,3,99999999999"})
        EXPECT_EQ(ParseRegion(text), std::nullopt) << testing::PrintToString(std::wstring(text));
}

TEST(CaptureProposal, TheArrowsMoveItWithinTheScreenWhereItFits) {
    const geo::Rect screen{0, 0, 1024, 768};
    EXPECT_EQ(Nudge({100, 100, 300, 250}, 10, -1, screen), (geo::Rect{110, 99, 310, 249}));
    EXPECT_EQ(Nudge({900, 0, 1020, 50}, 10, -10, screen), (geo::Rect{904, 0, 1024, 50}));
    EXPECT_EQ(Nudge({-50, 700, 50, 800}, 0, 0, screen), (geo::Rect{0, 668, 100, 768}));
    EXPECT_EQ(Nudge({-10, 0, 2000, 10}, 1, 0, screen), (geo::Rect{-9, 0, 2001, 10}))
        << "too wide to fit: it moves as asked";
}

TEST(CaptureProposal, TheSizeShowsBelowTheRectanglesCornerOrAboveItAtTheBottom) {
    const geo::Rect screen{0, 0, 1024, 768};
    EXPECT_EQ(SizeText({300, 250, 100, 100}), L"200 x 150");
    EXPECT_EQ(SizeLabelAt({100, 100, 300, 250}, {60, 18}, screen), (geo::Point{240, 254}));
    EXPECT_EQ(SizeLabelAt({100, 600, 300, 760}, {60, 18}, screen), (geo::Point{240, 578}));
    EXPECT_EQ(SizeLabelAt({0, 0, 1024, 768}, {60, 18}, screen), (geo::Point{964, 746}));
}

TEST(CaptureProposal, AKeptRegionIsOfferedOnlyAsFarAsItLiesOnTheDeskAsItIsNow) {
    const std::vector<geo::Rect> one{{0, 0, 1024, 768}};
    EXPECT_EQ(OnDesk({0, 0, 2147483647, 2147483647}, one), (geo::Rect{0, 0, 1024, 768}));
    EXPECT_EQ(OnDesk({-2147483647 - 1, 5, 40, 2147483647}, one), (geo::Rect{0, 5, 40, 768}));
    EXPECT_EQ(OnDesk({0, 0, 5000, 5000}, one), (geo::Rect{0, 0, 1024, 768}));
    EXPECT_EQ(OnDesk({100, 100, 300, 250}, one), (geo::Rect{100, 100, 300, 250}));
    EXPECT_EQ(OnDesk({2000, 2000, 2100, 2100}, one), std::nullopt) << "its monitor is gone";
    EXPECT_EQ(OnDesk({1024, 0, 1100, 10}, one), std::nullopt) << "touching the edge only";

    // Two monitors side by side, the second lower: the gap below the first is no monitor's.
    const std::vector<geo::Rect> two{{0, 0, 1024, 768}, {1024, 200, 2048, 968}};
    EXPECT_EQ(OnDesk({900, 700, 1100, 900}, two), (geo::Rect{900, 700, 1100, 900}));
    EXPECT_EQ(OnDesk({100, 800, 900, 960}, two), std::nullopt) << "only in the gap";
    EXPECT_EQ(OnDesk({100, 800, 1100, 2000}, two), (geo::Rect{1024, 800, 1100, 968}));
}
