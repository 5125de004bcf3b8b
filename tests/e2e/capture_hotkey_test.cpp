// F9 starts a capture in the chosen mode; the capture view shows the image, already on the
// clipboard, and its buttons copy it again or dismiss it.
#include <gtest/gtest.h>

#include "app/ControlIds.h"
#include "tests/e2e/Harness.h"

using namespace e2e;

namespace {
void MouseTo(int x, int y, DWORD extra = 0) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dx = x * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1);
    in.mi.dy = y * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1);
    in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | extra;
    SendInput(1, &in, sizeof in);
}

SIZE ClipboardBitmapSize() {
    SIZE s{-1, -1};
    if (!OpenClipboardWaiting()) return s;
    if (HBITMAP b = static_cast<HBITMAP>(GetClipboardData(CF_BITMAP))) {
        BITMAP bm{};
        if (GetObjectW(b, sizeof bm, &bm)) s = {bm.bmWidth, bm.bmHeight};
    }
    CloseClipboard();
    return s;
}

bool SizeIs(const SIZE& s, int w, int h) { return s.cx == w && s.cy == h; }
}  // namespace

class CaptureByHotKey : public testing::Test {
protected:
    const int screenW = GetSystemMetrics(SM_CXSCREEN), screenH = GetSystemMetrics(SM_CYSCREEN);
    PatternWindow pattern{{{{100, 100, 200, 175}, RGB(255, 0, 0)},
                           {{200, 175, 300, 250}, RGB(0, 0, 255)},
                           {{screenW - 20, screenH - 20, screenW, screenH}, RGB(255, 0, 255)}}};
    App app;
    void SetUp() override {
        ASSERT_TRUE(app.Start());
        MoveCursor(700, 600);
        SetClipboardText(L"before");
    }
};

TEST_F(CaptureByHotKey, F9DragsARectangleAndOpensTheCaptureView) {
    PressKeys({VK_F9});
    HWND overlay = nullptr;
    ASSERT_TRUE(WaitFor(
        [&] {
            overlay = FindTopWindow(L"TCaptureRectForm", app.ProcessId());
            return overlay && IsWindowVisible(overlay);
        },
        5000, "the overlay shown"));
    EXPECT_FALSE(IsWindowVisible(app.MainWindow())) << "the application is minimised meanwhile";
    MouseTo(100, 100);
    MouseTo(100, 100, MOUSEEVENTF_LEFTDOWN);
    MouseTo(200, 180);
    MouseTo(300, 250);
    MouseTo(300, 250, MOUSEEVENTF_LEFTUP);
    ASSERT_TRUE(
        WaitFor([&] { return app.Visible(id::CapturePanel); }, 8000, "the capture view shown"));
    EXPECT_EQ(FindTopWindow(L"TCaptureRectForm", app.ProcessId()), nullptr);
    EXPECT_EQ(app.WindowSize().cx, 300);
    EXPECT_EQ(app.WindowSize().cy, 220);
    EXPECT_TRUE(SizeIs(ClipboardBitmapSize(), 200, 150)) << "the image is on the clipboard";
    EXPECT_EQ(app.Text(id::ClipboardCopy), L"&Copy");
    EXPECT_EQ(app.Text(id::Cancel), L"Ca&ncel");

    // "Ca&ncel" leaves the view without copying; "&Copy" after another capture copies again.
    SetClipboardText(L"after");
    SendMessageW(app.Control(id::Cancel), BM_CLICK, 0, 0);
    EXPECT_TRUE(
        WaitFor([&] { return !app.Visible(id::CapturePanel); }, 5000, "the capture view gone"));
    EXPECT_EQ(ClipboardText(), L"after");
}

TEST_F(CaptureByHotKey, DesktopModeCapturesTheWholeScreenAndCopyCopiesItAgain) {
    // Choose "&Desktop" on the Capture page, as a click does.
    MoveCursor(100, 100);
    ASSERT_TRUE(WaitFor([&] { return app.WindowRect().left == 120 && app.WindowRect().top == 120; },
                        5000, "the window at (120, 120)"));
    MoveCursor(150, 128);
    ASSERT_TRUE(WaitFor([&] { return app.WindowSize().cx == 300; }, 5000, "the window 300 wide"));
    SendMessageW(app.Control(id::rgCaptureItem0 + 1), BM_CLICK, 0, 0);
    EXPECT_TRUE(WaitFor([&] { return !IsWindowEnabled(app.Control(id::rgCaptureArea)); }, 5000,
                        "the area group greyed"))
        << "the area group is for the selection mode only";
    MoveCursor(100, 400);  // the capture view will open at (120, 420), wholly on the screen
    EXPECT_TRUE(WaitFor([&] { return app.Caption() == L"Desktop  - 15"; }, 5000,
                        "the caption \"Desktop  - 15\""));
    PressKeys({VK_F9});
    ASSERT_TRUE(
        WaitFor([&] { return app.Visible(id::CapturePanel); }, 8000, "the capture view shown"));
    int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    EXPECT_TRUE(SizeIs(ClipboardBitmapSize(), w, h));
    // The image scrolls to its far corner: the screen's bottom-right block shows there.
    HWND box = app.Control(id::ScrollBox1);
    SendMessageW(box, WM_HSCROLL, SB_RIGHT, 0);
    SendMessageW(box, WM_VSCROLL, SB_BOTTOM, 0);
    RECT client;
    GetClientRect(box, &client);
    POINT corner{client.right - 1, client.bottom - 1};
    ClientToScreen(box, &corner);
    EXPECT_TRUE(WaitFor([&] { return ScreenPixel(corner.x, corner.y) == RGB(255, 0, 255); }, 5000,
                        "the screen's corner block at the scroll box's corner"));
    SetClipboardText(L"replaced");
    SendMessageW(app.Control(id::ClipboardCopy), BM_CLICK, 0, 0);
    EXPECT_TRUE(WaitFor([&] { return SizeIs(ClipboardBitmapSize(), w, h); }, 5000,
                        "the whole screen on the clipboard"));
    EXPECT_TRUE(
        WaitFor([&] { return !app.Visible(id::CapturePanel); }, 5000, "the capture view gone"))
        << "copy resets the view";
}
