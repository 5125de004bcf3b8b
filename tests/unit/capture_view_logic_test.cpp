// The capture command's choices, the caption it shows and the printed page's placement.
#include <gtest/gtest.h>

#include "capture/CaptureBounds.h"
#include "capture/CaptureChoice.h"
#include "capture/PrintPlacement.h"

TEST(CaptureChoiceTest, ModesAndAreasPickTheirOperation) {
    const int sizes[] = {16, 24, 32, 48, 64, 128};
    for (int i = 0; i < 6; ++i) {
        CaptureChoice c = ChooseCapture(0, i);
        EXPECT_EQ(c.Kind, CaptureKind::SizedSelection);
        EXPECT_EQ(c.Width, sizes[i]);
        EXPECT_EQ(c.Height, sizes[i]);
    }
    EXPECT_EQ(ChooseCapture(0, 6).Kind, CaptureKind::Selection);
    // The area matters only for the selection mode.
    EXPECT_EQ(ChooseCapture(1, -1).Kind, CaptureKind::Desktop);
    EXPECT_EQ(ChooseCapture(2, 3).Kind, CaptureKind::ActiveWindow);
    EXPECT_EQ(ChooseCapture(3, 6).Kind, CaptureKind::Object);
    // No selection, or one out of range: nothing runs.
    EXPECT_EQ(ChooseCapture(0, -1).Kind, CaptureKind::None);
    EXPECT_EQ(ChooseCapture(0, 7).Kind, CaptureKind::None);
    EXPECT_EQ(ChooseCapture(-1, 6).Kind, CaptureKind::None);
    EXPECT_EQ(ChooseCapture(4, 6).Kind, CaptureKind::None);
}

TEST(CaptureChoiceTest, CaptionKeepsTheModeWordsBlank) {
    EXPECT_EQ(CaptureCaption(0, L"32x32", L"15"), L"Selection 32x32 - 15");
    EXPECT_EQ(CaptureCaption(0, L"Custom", L"15"), L"Selection Custom - 15");
    EXPECT_EQ(CaptureCaption(1, L"Custom", L"15"), L"Desktop  - 15");
    EXPECT_EQ(CaptureCaption(2, L"Custom", L"4"), L"Active window  - 4");
    EXPECT_EQ(CaptureCaption(3, L"16x16", L"15"), L"Object  - 15");
    EXPECT_EQ(CaptureCaption(-1, L"Custom", L"15"), L" - 15");
    EXPECT_EQ(CaptureCaption(0, L"", L"15"), L"Selection  - 15");  // no area item selected
}

TEST(CapturePrintPlacement, SmallImagesGrowByWholeFactorsAndAreCentred) {
    auto p = printing::PlaceOnPage(100, 50, 450, 1000);
    EXPECT_EQ(p.Width, 400);  // factor 4: 5 would be 500 wide
    EXPECT_EQ(p.Height, 200);
    EXPECT_EQ(p.Left, 25);
    EXPECT_EQ(p.Top, 400);

    p = printing::PlaceOnPage(100, 100, 100, 100);  // exactly the page
    EXPECT_EQ(p.Width, 100);
    EXPECT_EQ(p.Left, 0);
    EXPECT_EQ(p.Top, 0);

    p = printing::PlaceOnPage(300, 10, 400, 5000);  // fits, but not twice across
    EXPECT_EQ(p.Width, 300);
    EXPECT_EQ(p.Height, 10);
    EXPECT_EQ(p.Left, 50);
}

TEST(CapturePrintPlacement, LargeImagesShrinkKeepingTheirAspect) {
    auto p = printing::PlaceOnPage(1920, 1080, 960, 2000);  // width decides
    EXPECT_EQ(p.Width, 960);
    EXPECT_EQ(p.Height, 540);
    EXPECT_EQ(p.Left, 0);
    EXPECT_EQ(p.Top, 730);

    p = printing::PlaceOnPage(1000, 4000, 3000, 2000);  // height decides
    EXPECT_EQ(p.Height, 2000);
    EXPECT_EQ(p.Width, 500);
    EXPECT_EQ(p.Left, 1250);

    p = printing::PlaceOnPage(100000, 1, 1000, 1000);  // a sliver keeps at least one dot
    EXPECT_EQ(p.Width, 1000);
    EXPECT_EQ(p.Height, 1);

    p = printing::PlaceOnPage(2000000000, 2000000000, 7000, 5000);  // no overflow
    EXPECT_EQ(p.Width, 5000);
    EXPECT_EQ(p.Height, 5000);
}

TEST(CapturePrintPlacement, NothingToPlace) {
    auto p = printing::PlaceOnPage(0, 0, 1000, 1000);
    EXPECT_EQ(p.Width, 0);
    EXPECT_EQ(p.Height, 0);
    p = printing::PlaceOnPage(10, 10, 0, 1000);
    EXPECT_EQ(p.Width, 0);
}

TEST(CaptureBoundsTest, AWindowGivesWhatTheScreenShowsOfIt) {
    const geo::Rect left{-1920, 0, 0, 1080}, desk{-1920, 0, 1920, 1080};
    // The invisible resize borders (7 px left, right and bottom) are left out.
    WindowPlacing w{{93, 100, 807, 607}, geo::Rect{100, 100, 800, 600}, true, false, {}, desk};
    EXPECT_EQ(CaptureBounds(w), (geo::Rect{100, 100, 800, 600}));
    // Without the compositor's answer, the window rectangle.
    w.Frame.reset();
    EXPECT_EQ(CaptureBounds(w), (geo::Rect{93, 100, 807, 607}));
    // Maximised on the left monitor: 8 px past it on every side, clipped to it.
    w = {{-1928, -8, 8, 1048}, std::nullopt, true, true, left, desk};
    EXPECT_EQ(CaptureBounds(w), (geo::Rect{-1920, 0, 0, 1048}));
    // Partly off the desk gives what the desk shows; wholly off it, nothing.
    w = {{1800, 500, 2000, 700}, std::nullopt, true, false, {}, desk};
    EXPECT_EQ(CaptureBounds(w), (geo::Rect{1800, 500, 1920, 700}));
    w.Window = {-32000, -32000, -31840, -31972};
    EXPECT_TRUE(CaptureBounds(w).Empty());
    // A child control keeps its rectangle.
    w = {{1900, 10, 1950, 30}, geo::Rect{0, 0, 1, 1}, false, true, left, desk};
    EXPECT_EQ(CaptureBounds(w), (geo::Rect{1900, 10, 1950, 30}));
}
