// The zoom controls as a user drives them: the slider by mouse and keys, the mouse wheel, the
// crosshair box and size, and what the compact view's magnifier then shows.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/ControlIds.h"
#include "tests/e2e/Harness.h"

using namespace e2e;

namespace {

void Wheel(int delta, int times = 1) {
    std::vector<INPUT> in(static_cast<size_t>(times));
    for (auto& i : in) {
        i.type = INPUT_MOUSE;
        i.mi.dwFlags = MOUSEEVENTF_WHEEL;
        i.mi.mouseData = static_cast<DWORD>(delta);
    }
    SendInput(static_cast<UINT>(in.size()), in.data(), sizeof(INPUT));
}

RECT ScreenRect(HWND hwnd) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    return r;
}

std::string Narrow(const std::wstring& w) { return std::string(w.begin(), w.end()); }

// A click in a slider's channel right of its thumb (the channel stops short of the control's
// ends) moves it up by one page, one step.
testing::AssertionResult ClickRightEnd(HWND slider) {
    POINT p{};
    testing::AssertionResult there = WaitFor(
        [&] {
            RECT r = ScreenRect(slider);  // the window may still be on its way
            p = {r.right - 20, (r.top + r.bottom) / 2};
            return WindowFromPoint(p) == slider;
        },
        5000, "the slider under the click");
    if (!there) {
        wchar_t cls[64] = {};
        GetClassNameW(WindowFromPoint(p), cls, 64);
        return there << "; at (" << p.x << ", " << p.y << ") is a window of class " << Narrow(cls);
    }
    Click(p.x, p.y);
    return there;
}

bool Checked(HWND button) { return SendMessageW(button, BM_GETCHECK, 0, 0) == BST_CHECKED; }

}  // namespace

class ZoomControls : public testing::Test {
  protected:
    App app;
    void SetUp() override { ASSERT_TRUE(app.Start()); }

    // Moves the cursor into the window, which then shows the options view on its Zoom page. In
    // follow mode the window may still be on its way to the cursor, so this retries.
    void OpenOptions() {
        auto open = [&] {
            SIZE s = app.WindowSize();
            return s.cx == 300 && s.cy == 220 && app.Visible(id::ZoomSlider);
        };
        ASSERT_TRUE(WaitFor(
            [&] {
                if (open()) return true;
                RECT r = app.WindowRect();
                MoveCursor(r.left + 40, r.top + 50);
                return static_cast<bool>(WaitFor(open, 500, "the options view"));
            },
            10000, "the options view on the Zoom page"));
        // The window takes its new size before it lays out the pages for it.
        ASSERT_TRUE(WaitFor(
            [&] {
                RECT w = app.WindowRect(), s = ScreenRect(app.Control(id::ZoomSlider));
                return s.left >= w.left && s.right <= w.right && s.bottom <= w.bottom;
            },
            5000, "the Zoom page laid out in the options view"));
    }
    testing::AssertionResult LevelShows(const std::wstring& text, DWORD timeoutMs = 5000) {
        return WaitFor([&] { return app.Text(id::lblZoomFactor) == text; }, timeoutMs,
                       "the zoom level " + Narrow(text))
               << " (it shows " << Narrow(app.Text(id::lblZoomFactor)) << ")";
    }
    // After the key or wheel input just given, the level stays at text.
    testing::AssertionResult LevelStays(const std::wstring& text) {
        return HoldsFor([&] { return app.Text(id::lblZoomFactor) == text; }, 300,
                        "the zoom level " + Narrow(text));
    }
    // Leaves the window for (x, y) and waits for the compact view's magnifier to show the pixel
    // at (vx, vy) of its view in the given colour.
    testing::AssertionResult MagnifierShows(int x, int y, int vx, int vy, COLORREF color) {
        MoveCursor(x, y);
        COLORREF seen = CLR_INVALID;
        testing::AssertionResult shown = WaitFor(
            [&] {
                HWND zoom = app.Control(id::JvZoom1);
                if (!IsWindowVisible(zoom)) return false;
                RECT r = ScreenRect(zoom);
                seen = ScreenPixel(r.left + vx, r.top + vy);
                return seen == color;
            },
            5000, "the colour in the magnifier");
        if (!shown) shown << " (it shows 0x" << std::hex << seen << ")";
        return shown;
    }
};

TEST_F(ZoomControls, SliderMovesTheLevelWithinOneToHundred) {
    EXPECT_EQ(app.Text(id::lblZoomFactor), L"15");
    OpenOptions();
    ASSERT_TRUE(ClickRightEnd(app.Control(id::ZoomSlider)));
    ASSERT_TRUE(LevelShows(L"16"));
    PressKeys({VK_END});
    ASSERT_TRUE(LevelShows(L"100"));
    PressKeys({VK_RIGHT});
    EXPECT_TRUE(LevelStays(L"100"));
    PressKeys({VK_HOME});
    ASSERT_TRUE(LevelShows(L"1"));
    PressKeys({VK_LEFT});
    EXPECT_TRUE(LevelStays(L"1"));
    PressKeys({VK_RIGHT});
    EXPECT_TRUE(LevelShows(L"2"));
}

TEST_F(ZoomControls, EachWheelMessageStepsTheLevelOnce) {
    OpenOptions();
    // Activate the window with a click on an empty part of the Zoom page.
    RECT group = ScreenRect(app.Control(id::gbZoom));
    Click(group.right - 12, group.bottom - 10);
    EXPECT_EQ(app.Text(id::lblZoomFactor), L"15");
    Wheel(120, 3);
    ASSERT_TRUE(LevelShows(L"18"));
    Wheel(-360);  // a long turn is still one message, one step
    ASSERT_TRUE(LevelShows(L"17"));
    Wheel(120, 90);
    ASSERT_TRUE(LevelShows(L"100"));
    EXPECT_TRUE(LevelStays(L"100"));
    Wheel(-120, 120);
    ASSERT_TRUE(LevelShows(L"1"));
    EXPECT_TRUE(LevelStays(L"1"));
}

TEST_F(ZoomControls, CrosshairBoxGreysTheSizeSliderWhoseNumberShowsBesideIt) {
    OpenOptions();
    HWND box = app.Control(id::cbCroshair), size = app.Control(id::CroshairSize);
    EXPECT_EQ(app.Text(id::Label9), L"");
    ASSERT_TRUE(Checked(box));
    RECT r = ScreenRect(box);
    Click(r.left + 6, (r.top + r.bottom) / 2);
    ASSERT_TRUE(WaitFor([&] { return !Checked(box) && !IsWindowEnabled(size); }, 5000,
                        "the crosshair box cleared and the size greyed"));
    Click(r.left + 6, (r.top + r.bottom) / 2);
    ASSERT_TRUE(WaitFor([&] { return Checked(box) && IsWindowEnabled(size); }, 5000,
                        "the crosshair box ticked and the size enabled"));
    ASSERT_TRUE(ClickRightEnd(size));
    EXPECT_TRUE(
        WaitFor([&] { return app.Text(id::Label9) == L"31"; }, 5000, "Label9 showing \"31\""));
    PressKeys({VK_HOME});
    EXPECT_TRUE(
        WaitFor([&] { return app.Text(id::Label9) == L"5"; }, 5000, "Label9 showing \"5\""));
}

// The screen behind the window: red left of x = 400, green from there on. It comes first, so
// the application's window starts above it.
class ZoomView : public ZoomControls {
  protected:
    void SetUp() override {}
    PatternWindow pattern{
        {{{0, 0, 400, 768}, RGB(255, 0, 0)}, {{400, 0, 1024, 768}, RGB(0, 160, 80)}}};
    bool started = app.Start();
};

TEST_F(ZoomView, CompactMagnifierFollowsTheLevelAndCrosshairChosenOnThePage) {
    ASSERT_TRUE(started);
    const COLORREF red = RGB(255, 0, 0), green = RGB(0, 160, 80), black = RGB(0, 0, 0);
    // Level 15: ten source columns 392..401 over 74 pixels; x = 400 starts near column 59.
    ASSERT_TRUE(MagnifierShows(397, 300, 55, 10, red));
    EXPECT_TRUE(MagnifierShows(397, 300, 62, 10, green));
    EXPECT_TRUE(MagnifierShows(397, 300, 37, 30, black)) << "the crosshair's vertical arm";

    OpenOptions();
    ASSERT_TRUE(ClickRightEnd(app.Control(id::ZoomSlider)));
    PressKeys({VK_END});
    ASSERT_TRUE(LevelShows(L"100"));
    RECT box = ScreenRect(app.Control(id::cbCroshair));
    Click(box.left + 6, (box.top + box.bottom) / 2);
    ASSERT_TRUE(WaitFor([&] { return !Checked(app.Control(id::cbCroshair)); }, 5000,
                        "the crosshair box cleared"));

    // Level 100 is 1:1: view column 39 is x = 399, column 40 is x = 400; no crosshair.
    ASSERT_TRUE(MagnifierShows(397, 300, 40, 10, green));
    EXPECT_TRUE(MagnifierShows(397, 300, 39, 10, red));
    EXPECT_TRUE(MagnifierShows(397, 300, 37, 30, red));
}
