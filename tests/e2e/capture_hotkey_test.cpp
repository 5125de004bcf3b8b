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
    Pump(60);
}

SIZE ClipboardBitmapSize() {
    SIZE s{-1, -1};
    for (int i = 0; i < 20 && !OpenClipboard(nullptr); ++i) Sleep(20);
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
    PatternWindow pattern{{{{100, 100, 200, 175}, RGB(255, 0, 0)},
                           {{200, 175, 300, 250}, RGB(0, 0, 255)}}};
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
    ASSERT_TRUE(WaitFor([&] {
        overlay = FindTopWindow(L"TCaptureRectForm", app.ProcessId());
        return overlay && IsWindowVisible(overlay);
    }));
    EXPECT_FALSE(IsWindowVisible(app.MainWindow())) << "the application is minimised meanwhile";
    MouseTo(100, 100);
    MouseTo(100, 100, MOUSEEVENTF_LEFTDOWN);
    MouseTo(200, 180);
    MouseTo(300, 250);
    MouseTo(300, 250, MOUSEEVENTF_LEFTUP);
    ASSERT_TRUE(WaitFor([&] { return app.Visible(id::CapturePanel); }, 8000));
    EXPECT_EQ(FindTopWindow(L"TCaptureRectForm", app.ProcessId()), nullptr);
    EXPECT_EQ(app.WindowSize().cx, 300);
    EXPECT_EQ(app.WindowSize().cy, 220);
    EXPECT_TRUE(SizeIs(ClipboardBitmapSize(), 200, 150)) << "the image is on the clipboard";
    EXPECT_EQ(app.Text(id::ClipboardCopy), L"&Copy");
    EXPECT_EQ(app.Text(id::Cancel), L"Ca&ncel");

    // "Ca&ncel" leaves the view without copying; "&Copy" after another capture copies again.
    SetClipboardText(L"after");
    SendMessageW(app.Control(id::Cancel), BM_CLICK, 0, 0);
    EXPECT_TRUE(WaitFor([&] { return !app.Visible(id::CapturePanel); }));
    EXPECT_EQ(ClipboardText(), L"after");
}

TEST_F(CaptureByHotKey, DesktopModeCapturesTheWholeScreenAndCopyCopiesItAgain) {
    // Choose "&Desktop" on the Capture page, as a click does.
    MoveCursor(100, 100);
    RECT r = app.WindowRect();
    MoveCursor(r.left + 30, r.top + 8);
    ASSERT_TRUE(WaitFor([&] { return app.WindowSize().cx == 300; }));
    SendMessageW(app.Control(id::rgCaptureItem0 + 1), BM_CLICK, 0, 0);
    EXPECT_TRUE(WaitFor([&] { return !IsWindowEnabled(app.Control(id::rgCaptureArea)); }))
        << "the area group is for the selection mode only";
    MoveCursor(700, 600);
    EXPECT_TRUE(WaitFor([&] { return app.Caption() == L"Desktop  - 15"; }));
    PressKeys({VK_F9});
    ASSERT_TRUE(WaitFor([&] { return app.Visible(id::CapturePanel); }, 8000));
    int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    EXPECT_TRUE(SizeIs(ClipboardBitmapSize(), w, h));
    SetClipboardText(L"replaced");
    SendMessageW(app.Control(id::ClipboardCopy), BM_CLICK, 0, 0);
    EXPECT_TRUE(WaitFor([&] { return SizeIs(ClipboardBitmapSize(), w, h); }));
    EXPECT_TRUE(WaitFor([&] { return !app.Visible(id::CapturePanel); })) << "copy resets the view";
}
