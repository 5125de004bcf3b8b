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
    ASSERT_TRUE(WaitFor([&] { return TopLeftIs(app, 120, 120); }));
    EXPECT_TRUE(SizeIs(app, 172, 98));
    int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    MoveCursor(w - 20, h - 10);
    EXPECT_TRUE(WaitFor([&] { return TopLeftIs(app, w - 20 - 20 - 172, h - 10 - 20 - 98); }))
        << "the window goes left of and above the cursor, staying on the screen";
    EXPECT_EQ(app.Text(id::Position),
              L"(" + std::to_wstring(w - 20) + L"," + std::to_wstring(h - 10) + L")");
}

TEST_F(Views, ACursorInsideTheWindowShowsTheOptionsViewWithFrozenReadouts) {
    MoveCursor(100, 100);
    ASSERT_TRUE(WaitFor([&] { return TopLeftIs(app, 120, 120) && app.Text(id::ColB) == L"B:255"; }));
    std::wstring position = app.Text(id::Position);

    MoveCursor(150, 150);  // jumps into the window
    ASSERT_TRUE(WaitFor([&] { return SizeIs(app, 300, 220); }));
    Pump(200);
    EXPECT_TRUE(TopLeftIs(app, 120, 120)) << "the options view does not move";
    EXPECT_TRUE(app.Visible(id::Properties));
    EXPECT_FALSE(app.Visible(id::ColorZoomPanel));
    EXPECT_EQ(app.Text(id::Position), position) << "nothing is sampled in the options view";

    MoveCursor(600, 500);  // leaves it: compact view again, following
    EXPECT_TRUE(WaitFor([&] { return SizeIs(app, 172, 98) && TopLeftIs(app, 620, 520); }));
    EXPECT_TRUE(app.Visible(id::ColorZoomPanel));
    EXPECT_FALSE(app.Visible(id::Properties));
    EXPECT_EQ(app.Text(id::Position), L"(600,500)");
}

TEST_F(Views, EscOnTheWindowReturnsToTheCompactView) {
    MoveCursor(100, 100);
    ASSERT_TRUE(WaitFor([&] { return TopLeftIs(app, 120, 120); }));
    MoveCursor(140, 125);  // onto the caption
    ASSERT_TRUE(WaitFor([&] { return SizeIs(app, 300, 220); }));
    Click(140, 125);  // activates the window; no child takes the focus
    ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == app.MainWindow(); }));
    Pump(200);
    ASSERT_TRUE(SizeIs(app, 300, 220));
    PressKeys({VK_ESCAPE});
    // Reset centres the compact window, away from the cursor, which then samples again.
    EXPECT_TRUE(WaitFor([&] { return SizeIs(app, 172, 98) && app.Visible(id::ColorZoomPanel); }));
}

TEST_F(Views, TheClipboardPageShowsTheFormatPreview) {
    MoveCursor(100, 100);
    ASSERT_TRUE(WaitFor([&] { return app.Text(id::ColHex) == L"#0000FF"; }));
    MoveCursor(150, 150);
    ASSERT_TRUE(WaitFor([&] { return SizeIs(app, 300, 220); }));
    HWND tabs = app.Control(id::Properties);
    // Select the Clipboard page as a click on its tab would.
    SendMessageW(tabs, TCM_SETCURFOCUS, 1, 0);
    ASSERT_TRUE(WaitFor([&] { return app.Visible(id::tsClipBoard); }));
    EXPECT_EQ(app.Text(id::colFmtPreview), L"0 0 255");
    EXPECT_EQ(app.Text(id::rgClipboard), L"Clipboard format");
    EXPECT_EQ(app.Text(id::rgClipboardItem0 + 5), L"CMYK comma");
}
