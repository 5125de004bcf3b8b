// The selection overlays driven by the mouse as a user drives them, while the engine runs them
// modally: free and fixed rectangles, the animated frame, the object pick.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <memory>
#include <vector>

#include "app/Components.h"
#include "app/ControlIds.h"
#include "app/TintsnatchMain.h"
#include "capture/OskCapture.h"
#include "tests/win32/CaptureTestWindows.h"
#include "win/Application.h"

using namespace capture_test;

namespace {
const COLORREF Teal = RGB(0, 160, 80), Navy = RGB(18, 52, 86), Grey = RGB(40, 40, 40),
               Olive = RGB(120, 120, 0), Pink = RGB(250, 150, 180), Red = RGB(255, 0, 0),
               White = RGB(255, 255, 255);

// Blocks whose edges cross the selections below, so that an image shifted by a pixel differs.
std::vector<Block> Blocks() {
    return {{{90, 90, 150, 140}, Teal},    {{150, 90, 310, 120}, Navy},
            {{120, 200, 299, 260}, Olive}, {{500, 400, 532, 432}, Pink},
            {{531, 431, 560, 460}, Teal},  {{496, 396, 500, 436}, Navy}};
}

class CaptureOverlay : public testing::Test {
  protected:
    void SetUp() override {
        testsupport::MoveCursor(700, 600);
        engine.Delay = 50;
        engine.Minimize = false;
        engine.Auto = false;
        // What the screen shows, for comparing the selections with.
        reference = engine.CaptureDesktop();
        ASSERT_TRUE(reference);
        refPixels = Pixels(reference->Bitmap(), refW, refH);
        liveBefore = gdi::LiveCount();
    }
    void TearDown() override {
        EXPECT_EQ(FindOwnWindow(L"TCaptureRectForm"), nullptr);
        EXPECT_EQ(FindOwnWindow(L"TCaptureObjectForm"), nullptr);
        // The reference shared the working image's bitmap; a new capture gives the working image
        // one of its own, an empty or dismissed one none. Nothing else is left.
        EXPECT_EQ(gdi::LiveCount(), liveBefore + (noNewImage ? 0 : 1));
    }
    // The reference's pixel, black beyond the screen.
    COLORREF Ref(int x, int y) const {
        if (x < 0 || y < 0 || x >= refW || y >= refH) return 0;
        return refPixels[static_cast<size_t>(y) * static_cast<size_t>(refW) +
                         static_cast<size_t>(x)];
    }
    // Every pixel of the image equals the screen's from (x, y) on.
    void ExpectScreenArea(const TPicture& image, int x, int y) {
        int w, h;
        auto px = Pixels(image.Bitmap(), w, h);
        int wrong = 0;
        for (int j = 0; j < h; ++j)
            for (int i = 0; i < w; ++i)
                if (px[static_cast<size_t>(j * w + i)] != Ref(x + i, y + j)) ++wrong;
        EXPECT_EQ(wrong, 0) << "pixels differing from the screen at " << x << "," << y;
    }

    ColourWindowThread pattern{ScreenRect(), Blocks(), Grey};
    TOskScreenCapture engine;
    std::unique_ptr<TPicture> reference;
    std::vector<COLORREF> refPixels;
    int refW = 0, refH = 0;
    int liveBefore = 0;
    bool noNewImage = false;
};

// The animated frame's dashes (red and white) on the screen's row from (x, y), n pixels long.
testing::AssertionResult FrameDrawn(int x, int y, int n) {
    return testsupport::WaitFor(
        [&] {
            auto row = ScreenRow(x, y, n);
            return std::count(row.begin(), row.end(), Red) > 0 &&
                   std::count(row.begin(), row.end(), Red) +
                           std::count(row.begin(), row.end(), White) ==
                       n;
        },
        5000, "the frame's dashes from (" + std::to_string(x) + ", " + std::to_string(y) + ")");
}

// A 0x00RRGGBB pixel as the platform's COLORREF (red in the low byte).
COLORREF AsColorRef(COLORREF rgb) { return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF); }
}  // namespace

TEST_F(CaptureOverlay, FreeDragGivesTheFrozenPixelsWithoutTheFrame) {
    std::unique_ptr<TPicture> image;
    {
        UserScript user(L"TCaptureRectForm", [&] {
            MouseAt(100, 100);
            Button(MOUSEEVENTF_LEFTDOWN);
            MouseAt(200, 180);
            MouseAt(300, 250);
            EXPECT_TRUE(FrameDrawn(100, 100, 200));
            Button(MOUSEEVENTF_LEFTUP);
        });
        image = engine.CaptureSelection();
    }
    ASSERT_TRUE(image);
    EXPECT_EQ(image->Width(), 200);
    EXPECT_EQ(image->Height(), 150);
    ExpectScreenArea(*image, 100, 100);
    EXPECT_EQ(image->Palette(), nullptr);
}

// The platform may refuse an overlay the foreground (a menu is open in another program, or the
// user gave input elsewhere): then another window keeps it, as here, where one takes it back once
// the overlay shows. The overlay's keys reach the overlay all the same, and none the other window.
TEST_F(CaptureOverlay, ItsKeysReachItWhileAnotherWindowKeepsTheForeground) {
    int othersKeys = -1;
    std::unique_ptr<TPicture> image;
    {
        UserScript user(L"TCaptureRectForm", [&] {
            testsupport::PatternWindow other({}, Navy, {600, 500, 700, 560});
            ASSERT_TRUE(testsupport::WaitFor(
                [&] {
                    SetForegroundWindow(other.Handle());
                    return GetForegroundWindow() == other.Handle();
                },
                5000, "the other window in front"));
            testsupport::MoveCursor(100, 100);
            auto key = [](std::vector<WORD> keys) {
                testsupport::PressKeys(keys);
                Sleep(UserPace);
            };
            key({VK_RETURN});  // starts at (100, 100)
            for (int i = 0; i < 5; ++i) key({VK_SHIFT, VK_RIGHT});
            for (int i = 0; i < 3; ++i) key({VK_SHIFT, VK_DOWN});
            key({VK_RIGHT});
            key({VK_RIGHT});
            key({VK_RETURN});  // ends at (152, 130)
            // This thread's messages run meanwhile: the other window hears of what it was sent.
            EXPECT_TRUE(testsupport::WaitFor(
                [] { return !IsWindowVisible(FindOwnWindow(L"TCaptureRectForm")); }, 5000,
                "the overlay ended by its keys"));
            othersKeys = other.KeysDown();
        });
        image = engine.CaptureSelection();
    }
    EXPECT_EQ(othersKeys, 0) << "keys the other window received";
    ASSERT_TRUE(image);
    EXPECT_EQ(image->Width(), 52);
    EXPECT_EQ(image->Height(), 30);
    ExpectScreenArea(*image, 100, 100);
}

TEST_F(CaptureOverlay, DragUpAndLeftIsOrderedAndCaptured) {
    std::unique_ptr<TPicture> image;
    {
        UserScript user(L"TCaptureRectForm", [] {
            MouseAt(300, 250);
            Button(MOUSEEVENTF_LEFTDOWN);
            MouseAt(200, 150);
            MouseAt(100, 100);
            Button(MOUSEEVENTF_LEFTUP);
        });
        image = engine.CaptureSelection();
    }
    ASSERT_TRUE(image);
    EXPECT_EQ(image->Width(), 200);
    EXPECT_EQ(image->Height(), 150);
    ExpectScreenArea(*image, 100, 100);
}

TEST_F(CaptureOverlay, ClickWithoutMovingGivesAnEmptyImage) {
    std::unique_ptr<TPicture> image;
    {
        UserScript user(L"TCaptureRectForm", [] {
            MouseAt(400, 300);
            Button(MOUSEEVENTF_LEFTDOWN);
            Button(MOUSEEVENTF_LEFTUP);
        });
        image = engine.CaptureSelection();
    }
    noNewImage = true;
    ASSERT_TRUE(image);  // the overlay ended with OK: an image, but empty
    EXPECT_TRUE(image->Empty());
    EXPECT_EQ(image->Width(), 0);
    EXPECT_EQ(image->Height(), 0);
}

TEST_F(CaptureOverlay, FixedFrameShowsMarchingDashesAndCapturesItsPixels) {
    std::vector<COLORREF> topLine;
    std::unique_ptr<TPicture> image;
    {
        UserScript user(L"TCaptureRectForm", [&] {
            MouseAt(510, 410);
            MouseAt(500, 400);
            EXPECT_TRUE(FrameDrawn(500, 400, 32));
            topLine = ScreenRow(500, 400, 33);
            Button(MOUSEEVENTF_LEFTDOWN);
            MouseAt(505, 405);
            MouseAt(500, 400);
            Button(MOUSEEVENTF_LEFTUP);
        });
        image = engine.CaptureSizedSelection(32, 32);
    }
    // The frame's top line runs from (500, 400) to (532, 400): 32 pixels walked, four periods of
    // five white and three red, whatever the phase; the corner pixel (532, 400) starts the next
    // side.
    ASSERT_EQ(topLine.size(), 33u);
    int reds = 0, others = 0;
    for (int i = 0; i < 32; ++i) {
        if (topLine[static_cast<size_t>(i)] == Red)
            ++reds;
        else if (topLine[static_cast<size_t>(i)] != White)
            ++others;
    }
    EXPECT_EQ(reds, 12);
    EXPECT_EQ(others, 0);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->Width(), 32);
    EXPECT_EQ(image->Height(), 32);
    ExpectScreenArea(*image, 500, 400);
    EXPECT_EQ(PixelOf(image->Bitmap(), 0, 0), Pink);
    EXPECT_EQ(PixelOf(image->Bitmap(), 31, 31), Teal);
}

TEST_F(CaptureOverlay, RightButtonCollapsesTheFrameAndDoesNotEndTheOverlay) {
    std::vector<COLORREF> framed, collapsed;
    bool openAfterRightRelease = false;
    std::unique_ptr<TPicture> image;
    {
        UserScript user(L"TCaptureRectForm", [&] {
            MouseAt(510, 410);
            MouseAt(500, 400);
            EXPECT_TRUE(FrameDrawn(500, 400, 32));
            framed = ScreenRow(500, 400, 32);
            Button(MOUSEEVENTF_RIGHTDOWN);
            EXPECT_TRUE(testsupport::WaitFor(
                [&] {
                    collapsed = ScreenRow(500, 400, 32);
                    return std::count(collapsed.begin(), collapsed.end(), Red) == 0;
                },
                5000, "the frame gone from (500, 400)"));
            Button(MOUSEEVENTF_RIGHTUP);
            openAfterRightRelease = static_cast<bool>(testsupport::HoldsFor(
                [] { return IsWindowVisible(FindOwnWindow(L"TCaptureRectForm")) != FALSE; }, 300,
                "the overlay open after the right button's release"));
            // A left click where the right press left the frame: the fixed frame at that point.
            Button(MOUSEEVENTF_LEFTDOWN);
            Button(MOUSEEVENTF_LEFTUP);
        });
        image = engine.CaptureSizedSelection(32, 32);
    }
    EXPECT_TRUE(std::count(framed.begin(), framed.end(), Red) > 0);
    // Collapsed: the overlay shows only the frozen copy there.
    for (int i = 0; i < 32 && i < static_cast<int>(collapsed.size()); ++i)
        EXPECT_EQ(collapsed[static_cast<size_t>(i)], AsColorRef(Ref(500 + i, 400))) << i;
    EXPECT_TRUE(openAfterRightRelease);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->Width(), 32);
    ExpectScreenArea(*image, 500, 400);
}

TEST_F(CaptureOverlay, FixedFrameBeyondTheScreenEdgeIsBlackThere) {
    int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
    std::unique_ptr<TPicture> image;
    {
        UserScript user(L"TCaptureRectForm", [&] {
            MouseAt(sw - 20, sh - 20);
            MouseAt(sw - 10, sh - 10);
            Button(MOUSEEVENTF_LEFTDOWN);
            Button(MOUSEEVENTF_LEFTUP);
        });
        image = engine.CaptureSizedSelection(16, 16);
    }
    ASSERT_TRUE(image);
    EXPECT_EQ(image->Width(), 16);
    EXPECT_EQ(PixelOf(image->Bitmap(), 9, 9), AsColorRef(Ref(sw - 1, sh - 1)));
    EXPECT_EQ(PixelOf(image->Bitmap(), 10, 0), RGB(0, 0, 0));
    EXPECT_EQ(PixelOf(image->Bitmap(), 15, 15), RGB(0, 0, 0));
    ExpectScreenArea(*image, sw - 10, sh - 10);  // Ref is black beyond the screen too
}

TEST_F(CaptureOverlay, DismissedOverlayGivesNothingAndLeavesTheClipboard) {
    engine.Auto = true;
    noNewImage = true;
    SetClipboardText(L"untouched");
    int captures = 0;
    engine.OnCapture = [&](TOskScreenCapture*) { ++captures; };
    std::unique_ptr<TPicture> image;
    {
        UserScript user(L"TCaptureRectForm",
                        [] { PostMessageW(FindOwnWindow(L"TCaptureRectForm"), WM_CLOSE, 0, 0); });
        image = engine.CaptureSelection();
    }
    EXPECT_FALSE(image);
    EXPECT_EQ(captures, 0);
    EXPECT_EQ(ClipboardText(), L"untouched");
}

namespace {
// A window of another thread (as another program's) with two buttons to pick.
class CaptureObjectPick : public testing::Test {
  protected:
    void SetUp() override {
        testsupport::MoveCursor(700, 600);
        engine.Delay = 300;
        engine.Minimize = false;
        engine.Auto = false;
    }
    void TearDown() override { EXPECT_EQ(FindOwnWindow(L"TCaptureObjectForm"), nullptr); }
    ColourWindowThread target{
        {100, 100, 600, 400}, {}, Navy, {{50, 50, 130, 80}, {200, 150, 320, 190}}};
    TOskScreenCapture engine;
};
}  // namespace

TEST_F(CaptureObjectPick, ClickCapturesTheControlUnderTheCursorWithTheHandShown) {
    HCURSOR shown = nullptr;
    std::unique_ptr<TPicture> image;
    {
        UserScript user(L"TCaptureObjectForm", [&] {
            MouseAt(190, 165);  // over the first button
            HCURSOR hand = LoadCursorW(GetModuleHandleW(nullptr), L"CURSOR_1");
            EXPECT_TRUE(testsupport::WaitFor(
                [&] {
                    CURSORINFO ci{};
                    ci.cbSize = sizeof ci;
                    if (GetCursorInfo(&ci)) shown = ci.hCursor;
                    return shown == hand;
                },
                5000, "the hand cursor over the button"));
            Button(MOUSEEVENTF_LEFTDOWN);
            Button(MOUSEEVENTF_LEFTUP);
        });
        image = engine.CaptureObject();
    }
    EXPECT_EQ(shown, LoadCursorW(GetModuleHandleW(nullptr), L"CURSOR_1"));
    ASSERT_TRUE(image);
    EXPECT_EQ(image->Width(), 80);
    EXPECT_EQ(image->Height(), 30);
}

TEST_F(CaptureObjectPick, RightButtonEndsItAndTheWindowIsTheOneUnderTheCursor) {
    std::unique_ptr<TPicture> image;
    {
        UserScript user(L"TCaptureObjectForm", [] {
            MouseAt(360, 270);  // over the second button
            Button(MOUSEEVENTF_RIGHTDOWN);
            Button(MOUSEEVENTF_RIGHTUP);
        });
        image = engine.CaptureObject();
    }
    ASSERT_TRUE(image);
    EXPECT_EQ(image->Width(), 120);
    EXPECT_EQ(image->Height(), 40);
}

TEST_F(CaptureObjectPick, ClickOutsideTheButtonsCapturesTheWindow) {
    engine.Delay = 50;
    std::unique_ptr<TPicture> image;
    {
        UserScript user(L"TCaptureObjectForm", [] {
            MouseAt(500, 350);
            Button(MOUSEEVENTF_MIDDLEDOWN);
            Button(MOUSEEVENTF_MIDDLEUP);
        });
        image = engine.CaptureObject();
    }
    ASSERT_TRUE(image);
    EXPECT_EQ(image->Width(), 500);
    EXPECT_EQ(image->Height(), 300);
    EXPECT_EQ(PixelOf(image->Bitmap(), 10, 10), Navy);
}

TEST(CaptureOverlayView, ClickWithoutMovingOpensTheViewWithAnEmptyImage) {
    testsupport::MoveCursor(5, 5);
    auto form = std::make_unique<TTintsnatch4>();
    form->CreateForm();
    form->FixedFollowClick();
    ShowWindow(form->Handle(), SW_SHOWNORMAL);
    form->ScreenCapture()->Delay = 50;  // Minimize and Auto as the application has them
    ASSERT_TRUE(testsupport::WaitFor([&] { return IsWindowVisible(form->Handle()) != FALSE; }, 5000,
                                     "the main window shown"));
    SetClipboardText(L"untouched");
    {
        UserScript user(L"TCaptureRectForm", [] {
            MouseAt(400, 300);
            Button(MOUSEEVENTF_LEFTDOWN);
            Button(MOUSEEVENTF_LEFTUP);
        });
        form->CaptureExecute();  // Selection, Custom: the free rectangle
    }
    EXPECT_TRUE(testsupport::WaitFor(
        [&] { return win::IsShown(win::FindControl(form->Handle(), id::CapturePanel)); }, 5000,
        "the capture view shown"));
    HWND box = win::FindControl(form->Handle(), id::ScrollBox1);
    EXPECT_TRUE(win::IsShown(win::FindControl(form->Handle(), id::CapturePanel)));
    EXPECT_TRUE(IsWindowVisible(form->Handle()));
    EXPECT_FALSE(win::Application().IsMinimized());
    EXPECT_EQ(GetWindowLongPtrW(box, GWL_STYLE) & (WS_HSCROLL | WS_VSCROLL), 0);
    EXPECT_EQ(ClipboardText(), L"untouched");  // an empty image is not put on the clipboard

    // Saving the empty image gives a file of no bytes, as BMP and as PNG.
    wchar_t tmp[MAX_PATH];
    GetTempPathW(MAX_PATH, tmp);
    for (const wchar_t* name : {L"ts-capture-empty-view.bmp", L"ts-capture-empty-view.png"}) {
        std::wstring path = std::wstring(tmp) + name;
        DeleteFileW(path.c_str());
        form->FileSaveAs1Accept(path);
        WIN32_FILE_ATTRIBUTE_DATA fa{};
        ASSERT_TRUE(GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &fa)) << name;
        EXPECT_EQ(fa.nFileSizeLow, 0u) << name;
        DeleteFileW(path.c_str());
    }

    form.reset();
    win::Application().SetMainWindow(nullptr);
    win::Application().SetMessageFilter(nullptr);
    testsupport::DispatchPending();
}
