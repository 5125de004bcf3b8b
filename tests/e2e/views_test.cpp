// Follow mode, and the switch between the compact and the options view by the window rectangle.
#include <gtest/gtest.h>

#include "app/ControlIds.h"
#include "tests/e2e/Harness.h"

using namespace e2e;

namespace {
bool SizeIs(App& app, int w, int h) {
    SIZE s = app.WindowSize();
    return s.cx == w && s.cy == h;
}
bool TopLeftIs(App& app, int x, int y) {
    RECT r = app.WindowRect();
    return r.left == x && r.top == y;
}
}  // namespace

class Views : public testing::Test {
  protected:
    PatternWindow pattern{{{{0, 0, 400, 400}, RGB(0, 0, 255)}}};
    App app;
    void SetUp() override { ASSERT_TRUE(app.Start()); }
};

TEST_F(Views, FollowModeKeepsTheWindowTwentyPixelsFromTheCursorOnTheOtherSideAtTheScreenEdge) {
    MoveCursor(100, 100);
    ASSERT_TRUE(
        WaitFor([&] { return TopLeftIs(app, 120, 120); }, 5000, "the window at (120, 120)"));
    EXPECT_TRUE(SizeIs(app, 172, 98));
    int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    MoveCursor(w - 20, h - 10);
    EXPECT_TRUE(WaitFor([&] { return TopLeftIs(app, w - 20 - 20 - 172, h - 10 - 20 - 98); }, 5000,
                        "the window left of and above the cursor"))
        << "the window goes left of and above the cursor, staying on the screen";
    EXPECT_EQ(app.Text(id::Position),
              L"(" + std::to_wstring(w - 20) + L"," + std::to_wstring(h - 10) + L")");
}

TEST_F(Views, ACursorInsideTheWindowShowsTheOptionsViewWithFrozenReadouts) {
    MoveCursor(100, 100);
    ASSERT_TRUE(WaitFor([&] { return TopLeftIs(app, 120, 120) && app.Text(id::ColB) == L"B:255"; },
                        5000, "the window at (120, 120) sampling the blue"));
    std::wstring position = app.Text(id::Position);

    MoveCursor(150, 150);  // jumps into the window
    ASSERT_TRUE(WaitFor([&] { return SizeIs(app, 300, 220); }, 5000, "the options view"));
    EXPECT_TRUE(HoldsFor([&] { return TopLeftIs(app, 120, 120); }, 300,
                         "the options view where the compact one was"));
    EXPECT_TRUE(app.Visible(id::Properties));
    EXPECT_FALSE(app.Visible(id::ColorZoomPanel));
    EXPECT_EQ(app.Text(id::Position), position) << "nothing is sampled in the options view";

    MoveCursor(600, 500);  // leaves it: compact view again, following
    EXPECT_TRUE(WaitFor([&] { return SizeIs(app, 172, 98) && TopLeftIs(app, 620, 520); }, 5000,
                        "the compact view at (620, 520)"));
    EXPECT_TRUE(app.Visible(id::ColorZoomPanel));
    EXPECT_FALSE(app.Visible(id::Properties));
    EXPECT_EQ(app.Text(id::Position), L"(600,500)");
}

TEST(ViewsFollowing, AJumpIntoTheFollowingWindowHoldsItInsteadOfOpeningTheOptions) {
    PatternWindow pattern{{{{0, 0, 400, 400}, RGB(0, 0, 255)}}};
    // The system's hover time, longer than the test, so a hover cannot be what it sees. Kept in
    // the user's settings, where the program started after it reads it (Wine keeps a change made
    // without them to the process that made it).
    struct HoverTime {
        UINT old = 400;
        explicit HoverTime(UINT ms) {
            SystemParametersInfoW(SPI_GETMOUSEHOVERTIME, 0, &old, 0);
            SystemParametersInfoW(SPI_SETMOUSEHOVERTIME, ms, nullptr, SPIF_UPDATEINIFILE);
        }
        ~HoverTime() {
            SystemParametersInfoW(SPI_SETMOUSEHOVERTIME, old, nullptr, SPIF_UPDATEINIFILE);
        }
    } slow(60000);
    App app;  // started after the change
    ASSERT_TRUE(app.Start());
    MoveCursor(100, 100);
    ASSERT_TRUE(
        WaitFor([&] { return TopLeftIs(app, 120, 120); }, 5000, "the window at (120, 120)"));
    MoveCursor(140, 140);  // 40 px down and right within one tick: inside the window
    // Longer than the usual hover time of 400 ms.
    EXPECT_TRUE(HoldsFor([&] { return SizeIs(app, 172, 98) && TopLeftIs(app, 120, 120); }, 600,
                         "the compact view held where it was"));
    MoveCursor(300, 300);  // on and out: following again
    EXPECT_TRUE(WaitFor([&] { return SizeIs(app, 172, 98) && TopLeftIs(app, 320, 320); }, 5000,
                        "the compact view at (320, 320)"));
}

TEST_F(Views, EscOnTheWindowReturnsToTheCompactView) {
    MoveCursor(100, 100);
    ASSERT_TRUE(
        WaitFor([&] { return TopLeftIs(app, 120, 120); }, 5000, "the window at (120, 120)"));
    MoveCursor(140, 125);  // onto the caption
    ASSERT_TRUE(WaitFor([&] { return SizeIs(app, 300, 220); }, 5000, "the window 300 x 220"));
    Click(140, 125);  // activates the window; no child takes the focus
    ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == app.MainWindow(); }, 5000,
                        "the window in front"));
    ASSERT_TRUE(
        HoldsFor([&] { return SizeIs(app, 300, 220); }, 200, "the options view after the click"));
    PressKeys({VK_ESCAPE});
    // Reset centres the compact window, away from the cursor, which then samples again.
    EXPECT_TRUE(WaitFor([&] { return SizeIs(app, 172, 98) && app.Visible(id::ColorZoomPanel); },
                        5000, "the compact view"));
}

TEST_F(Views, TheClipboardPageShowsTheFormatPreview) {
    MoveCursor(100, 100);
    ASSERT_TRUE(WaitFor([&] { return app.Text(id::ColHex) == L"#0000FF"; }, 5000,
                        "ColHex showing \"#0000FF\""));
    MoveCursor(150, 150);
    ASSERT_TRUE(WaitFor([&] { return SizeIs(app, 300, 220); }, 5000, "the window 300 x 220"));
    HWND tabs = app.Control(id::Properties);
    // Select the Clipboard page as a click on its tab would.
    SendMessageW(tabs, TCM_SETCURFOCUS, 1, 0);
    ASSERT_TRUE(
        WaitFor([&] { return app.Visible(id::tsClipBoard); }, 5000, "the Clipboard page shown"));
    EXPECT_EQ(app.Text(id::colFmtPreview), L"0 0 255");
    EXPECT_EQ(app.Text(id::rgClipboard), L"Clipboard format");
    EXPECT_EQ(app.Text(id::rgClipboardItem0 + 5), L"CMYK comma");
}
