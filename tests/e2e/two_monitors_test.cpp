// On a desk of two monitors, the smaller one left of the primary (at negative coordinates):
// the readout, the magnifier and the copied colour name the same pixel there, the following
// window stays on that monitor at its edges, a pick by keyboard copies the pixel it steps to, and
// a rectangle dragged there is captured.
// Runs on such a desk only (scripts/test.sh gives it one); elsewhere the tests are skipped.
#include <gtest/gtest.h>

#include "app/ControlIds.h"
#include "tests/e2e/Harness.h"

using namespace e2e;

namespace {
constexpr RECT LeftMonitor{-800, 0, 0, 600};
constexpr COLORREF Red = RGB(255, 0, 0), Blue = RGB(0, 0, 255), Grey = RGB(40, 40, 40);

bool DeskHasLeftMonitor() {
    return GetSystemMetrics(SM_CMONITORS) >= 2 && GetSystemMetrics(SM_XVIRTUALSCREEN) == -800;
}

// The pixels of the clipboard's bitmap at the given points; empty when it has none of that size.
std::vector<COLORREF> ClipboardPixels(int w, int h, const std::vector<POINT>& at) {
    std::vector<COLORREF> out;
    if (!OpenClipboardWaiting()) return out;
    HBITMAP b = static_cast<HBITMAP>(GetClipboardData(CF_BITMAP));
    BITMAP bm{};
    if (b && GetObjectW(b, sizeof bm, &bm) && bm.bmWidth == w && bm.bmHeight == h) {
        HDC screen = GetDC(nullptr), mem = CreateCompatibleDC(screen);
        HGDIOBJ old = SelectObject(mem, b);
        for (POINT p : at) out.push_back(GetPixel(mem, p.x, p.y));
        SelectObject(mem, old);
        DeleteDC(mem);
        ReleaseDC(nullptr, screen);
    }
    CloseClipboard();
    return out;
}
}  // namespace

class TwoMonitors : public testing::Test {
  protected:
    // In the left monitor's own coordinates: red from x = -500 to -401, blue from -400 to -301.
    PatternWindow pattern{
        {{{300, 100, 400, 200}, Red}, {{400, 100, 500, 200}, Blue}}, Grey, LeftMonitor};
    App app;
    void SetUp() override {
        if (!DeskHasLeftMonitor()) GTEST_SKIP() << "needs a monitor left of the primary one";
        ASSERT_TRUE(app.Start());
    }
    // The pixel at (vx, vy) of the compact view's magnifier.
    COLORREF Magnified(int vx, int vy) {
        RECT r{};
        GetWindowRect(app.Control(id::JvZoom1), &r);
        return ScreenPixel(r.left + vx, r.top + vy);
    }
};

TEST_F(TwoMonitors, ReadoutMagnifierAndCopyNameTheSamePixelLeftOfThePrimary) {
    MoveCursor(-401, 150);  // the last red column, blue just right of it
    ASSERT_TRUE(WaitFor([&] { return app.Text(id::Position) == L"(-401,150)"; }, 5000,
                        "Position showing \"(-401,150)\""));
    EXPECT_EQ(app.Text(id::ColHex), L"#FF0000");
    // Level 15: ten source pixels over 74, the cursor's the sixth, view columns 37 to 44; the
    // crosshair's arms run along column and row 37.
    EXPECT_TRUE(WaitFor([&] { return Magnified(41, 41) == Red && Magnified(47, 41) == Blue; }, 5000,
                        "red and blue in the magnifier"))
        << std::hex << Magnified(41, 41) << " " << Magnified(47, 41);
    EXPECT_EQ(Magnified(36, 41), Red);

    SetClipboardText(L"before");
    PressKeys({VK_CONTROL, 'C'});
    EXPECT_TRUE(WaitFor([] { return ClipboardText() == L"255 0 0"; }, 10000,
                        "\"255 0 0\" on the clipboard"))
        << testing::PrintToString(ClipboardText());

    // At the left monitor's bottom edge the source reaches below it, where no monitor is: the
    // view shows black there (source rows 600 to 603 fill view rows 45 to 73), even with a
    // window standing there that the display would show.
    PatternWindow offDesk({}, RGB(255, 255, 255), {-800, 600, 0, 768});
    MoveCursor(-700, 599);
    ASSERT_TRUE(WaitFor([&] { return app.Text(id::Position) == L"(-700,599)"; }, 5000,
                        "Position showing \"(-700,599)\""));
    EXPECT_TRUE(WaitFor([&] { return Magnified(60, 30) == Grey && Magnified(60, 60) == 0; }, 5000,
                        "grey above black in the magnifier"))
        << std::hex << Magnified(60, 30) << " " << Magnified(60, 60);
}

TEST_F(TwoMonitors, APickByKeyboardLeftOfThePrimaryCopiesThePixelItStepsTo) {
    MoveCursor(-410, 150);
    PressKeys({VK_F8});
    ASSERT_TRUE(app.WaitForFront(L"TPickForm"));
    SetClipboardText(L"before");
    PressKeys({VK_SHIFT, VK_RIGHT});  // the first blue column
    PressKeys({VK_LEFT});             // back to the last red one
    PressKeys({VK_RETURN});
    EXPECT_TRUE(
        WaitFor([] { return ClipboardText() == L"255 0 0"; }, 8000, "\"255 0 0\" on the clipboard"))
        << testing::PrintToString(ClipboardText());
}

TEST_F(TwoMonitors, FollowWindowStaysOnTheLeftMonitorAtItsEdges) {
    MoveCursor(-700, 100);
    ASSERT_TRUE(WaitFor(
        [&] {
            RECT r = app.WindowRect();
            return r.left == -680 && r.top == 120;
        },
        5000, "the window at (-680, 120)"));
    // At its right and bottom edges the window goes left of and above the cursor, rather than
    // onto the primary monitor or below the left one.
    MoveCursor(-5, 590);
    RECT r{};
    EXPECT_TRUE(WaitFor(
        [&] {
            r = app.WindowRect();
            return r.left == -5 - 20 - 172 && r.top == 590 - 20 - 98;
        },
        5000, "the window left of and above the cursor"))
        << r.left << "," << r.top;
    EXPECT_EQ(app.Text(id::Position), L"(-5,590)");
}

TEST_F(TwoMonitors, RectangleDraggedOnTheLeftMonitorGivesItsPixels) {
    MoveCursor(-700, 400);
    ASSERT_TRUE(WaitFor([&] { return app.Text(id::Position) == L"(-700,400)"; }, 5000,
                        "Position showing \"(-700,400)\""))
        << testing::PrintToString(app.Text(id::Position));
    SetClipboardText(L"before");
    PressKeys({VK_F9});
    HWND overlay = nullptr;
    ASSERT_TRUE(
        WaitFor([&] { return (overlay = app.VisibleTopWindow(L"TCaptureRectForm")) != nullptr; },
                5000, "the overlay shown"));
    RECT o{};
    GetWindowRect(overlay, &o);
    EXPECT_TRUE(o.left == -800 && o.top == 0 && o.right == 1024 && o.bottom == 768)
        << "the overlay covers both monitors: " << o.left << "," << o.top << "," << o.right << ","
        << o.bottom;
    MouseTo(-450, 120);
    MouseTo(-450, 120, MOUSEEVENTF_LEFTDOWN);
    MouseTo(-380, 150);
    MouseTo(-350, 180);
    MouseTo(-350, 180, MOUSEEVENTF_LEFTUP);
    ASSERT_TRUE(
        WaitFor([&] { return app.Visible(id::CapturePanel); }, 8000, "the capture view shown"));
    // 100 x 60 pixels from (-450, 120): 50 red columns, then 50 blue ones.
    auto px = ClipboardPixels(100, 60, {{0, 0}, {49, 59}, {50, 0}, {99, 59}});
    ASSERT_EQ(px.size(), 4u) << "a 100 x 60 image on the clipboard";
    EXPECT_EQ(px[0], Red);
    EXPECT_EQ(px[1], Red);
    EXPECT_EQ(px[2], Blue);
    EXPECT_EQ(px[3], Blue);
}

TEST_F(TwoMonitors, AHintAtTheLeftMonitorsRightEdgeStaysOnThatMonitor) {
    SendMessageW(app.Control(id::rgCaptureItem0 + 1), BM_CLICK, 0, 0);  // "&Desktop"
    MoveCursor(-5, 590);
    ASSERT_TRUE(WaitFor([&] { return app.WindowRect().right == -25; }, 5000,
                        "the window at the left monitor's bottom-right corner"));
    PressKeys({VK_F9});
    ASSERT_TRUE(WaitFor([&] { return app.Visible(id::CapturePanel) && app.WindowSize().cx == 300; },
                        8000, "the capture view"));
    ASSERT_TRUE(app.Handled());  // the controls laid out for the new size, which shows first
    // Its buttons lie along the monitor's right edge: the balloon opens to their left.
    RECT copy{}, balloon{}, inside{};
    GetWindowRect(app.Control(id::ClipboardCopy), &copy);
    MoveCursor((copy.left + copy.right) / 2, (copy.top + copy.bottom) / 2);
    HWND h = nullptr;
    ASSERT_TRUE(WaitFor(
        [&] {
            h = FindTopWindow(L"TJvBalloonWindow", app.ProcessId());
            return h && IsWindowVisible(h);
        },
        5000, "the balloon of \"&Copy\""));
    GetWindowRect(h, &balloon);
    EXPECT_TRUE(IntersectRect(&inside, &balloon, &LeftMonitor) && EqualRect(&inside, &balloon))
        << balloon.left << "," << balloon.top << "," << balloon.right << "," << balloon.bottom;
}
