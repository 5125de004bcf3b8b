// The magnifier against the real screen: a full-screen window of known pixels (each pixel's
// colour tells its position) under the cursor, and a magnifier in a window of its own elsewhere.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "tests/support/TestSupport.h"
#include "win/Gdi.h"
#include "zoom/JvZoom.h"

namespace {

constexpr int View = 80;  // level 25 gives a 20 x 20 source: exact 4 x 4 blocks
constexpr COLORREF Magenta = RGB(255, 0, 255);

// Blue carries the high bits of x and y and is never 0 or 255, so neither the crosshair colours
// nor the background can pass for a screen pixel.
COLORREF PatternColor(int x, int y) {
    return RGB(x & 0xFF, y & 0xFF, 0x40 | ((x >> 8) & 3) << 4 | ((y >> 8) & 3) << 2);
}

using testsupport::Pixels;

BITMAPINFO TopDown32(int w, int h) {
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    return bi;
}

// What the user sees: the screen's pixels over a window's client area, once they show what the
// window drew (Wine hands drawing on to the X server from its message loop, a little later).
Pixels Grab(HWND hwnd) {
    RECT r;
    GetClientRect(hwnd, &r);
    POINT origin{0, 0};
    ClientToScreen(hwnd, &origin);
    Pixels onScreen;
    EXPECT_TRUE(testsupport::WaitFor(
        [&] {
            gdi::WindowDC own(hwnd);
            Pixels drawn = testsupport::ReadPixels(own.Get(), {0, 0}, r.right, r.bottom);
            gdi::WindowDC screen(nullptr);
            onScreen = testsupport::ReadPixels(screen.Get(), origin, r.right, r.bottom);
            return onScreen.data == drawn.data;
        },
        5000, "the screen showing what the magnifier drew"));
    return onScreen;
}

class PatternWindow {
  public:
    PatternWindow() {
        int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
        std::vector<std::uint32_t> words(static_cast<size_t>(w * h));
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                COLORREF c = PatternColor(x, y);
                words[static_cast<size_t>(y * w + x)] =
                    GetRValue(c) << 16 | GetGValue(c) << 8 | GetBValue(c);
            }
        gdi::WindowDC screen(nullptr);
        BITMAPINFO bi = TopDown32(w, h);
        void* bits = nullptr;
        image_.Reset(CreateDIBSection(screen.Get(), &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
        std::memcpy(bits, words.data(), words.size() * 4);
        WNDCLASSW wc{};
        wc.lpfnWndProc = Proc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"ZoomTestPattern";
        RegisterClassW(&wc);
        hwnd_ = CreateWindowExW(WS_EX_NOACTIVATE, wc.lpszClassName, L"", WS_POPUP, 0, 0, w, h,
                                nullptr, nullptr, wc.hInstance, this);
        ShowWindow(hwnd_, SW_SHOWNOACTIVATE);
        UpdateWindow(hwnd_);
    }
    ~PatternWindow() { DestroyWindow(hwnd_); }

  private:
    static LRESULT CALLBACK Proc(HWND h, UINT m, WPARAM wp, LPARAM lp) {
        if (m == WM_NCCREATE)
            SetWindowLongPtrW(
                h, GWLP_USERDATA,
                reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams));
        auto* self = reinterpret_cast<PatternWindow*>(GetWindowLongPtrW(h, GWLP_USERDATA));
        if (m == WM_ERASEBKGND) return 1;
        if (m == WM_PAINT && self) {
            gdi::PaintDC paint(h);
            gdi::MemoryDC mem(paint.Get());
            gdi::Selection select(mem.Get(), self->image_.Get());
            RECT r;
            GetClientRect(h, &r);
            BitBlt(paint.Get(), 0, 0, r.right, r.bottom, mem.Get(), 0, 0, SRCCOPY);
            return 0;
        }
        return DefWindowProcW(h, m, wp, lp);
    }
    gdi::Bitmap image_;
    HWND hwnd_ = nullptr;
};

// The test windows are never activated, so they leave the focus where it was.

// A plain top-level window to carry the magnifier, above the pattern and away from the cursor.
class Host {
  public:
    Host() {
        WNDCLASSW wc{};
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hbrBackground = GetSysColorBrush(COLOR_WINDOW);
        wc.lpszClassName = L"ZoomTestHost";
        RegisterClassW(&wc);
        hwnd_ = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE,
                                wc.lpszClassName, L"", WS_POPUP | WS_CLIPCHILDREN, 600, 400, 200,
                                200, nullptr, nullptr, wc.hInstance, nullptr);
        ShowWindow(hwnd_, SW_SHOWNOACTIVATE);
    }
    ~Host() { DestroyWindow(hwnd_); }
    HWND Handle() const { return hwnd_; }

  private:
    HWND hwnd_;
};

struct Expected {
    int left, top, scale;  // the source's top-left and the block size
    bool crosshair;
    int cx, cy, half;  // crosshair centre and half length
};

// Every view pixel against its source pixel or the crosshair; the first mismatch is reported.
testing::AssertionResult ShowsBlocks(const Pixels& p, const Expected& e) {
    for (int y = 0; y < p.h; ++y)
        for (int x = 0; x < p.w; ++x) {
            bool onArm = e.crosshair && ((x == e.cx && y >= e.cy - e.half && y < e.cy + e.half) ||
                                         (y == e.cy && x >= e.cx - e.half && x < e.cx + e.half));
            COLORREF want =
                onArm ? Magenta : PatternColor(e.left + x / e.scale, e.top + y / e.scale);
            if (p.At(x, y) != want)
                return testing::AssertionFailure()
                       << "view pixel (" << x << "," << y << ") is " << std::hex << p.At(x, y)
                       << ", expected " << want;
        }
    return testing::AssertionSuccess();
}

bool SameExceptCrosshair(const Pixels& a, const Pixels& b, int cx, int cy) {
    for (int y = 0; y < a.h; ++y)
        for (int x = 0; x < a.w; ++x)
            if (x != cx && y != cy && a.At(x, y) != b.At(x, y)) return false;
    return true;
}

// A magnifier whose screen can be made unreadable, as a locked, switched or disconnected
// session's is.
class LockableZoom : public TJvZoom {
  public:
    bool locked = false;
    int reads = 0;

  protected:
    bool ReadScreen(HDC dc, const RECT& to, const RECT& from) override {
        ++reads;
        return !locked && TJvZoom::ReadScreen(dc, to, from);
    }
};

}  // namespace

class ZoomMagnifier : public testing::Test {
  protected:
    PatternWindow pattern;
    Host host;
    std::unique_ptr<LockableZoom> zoom;
    int drawn = 0;
    int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);

    void SetUp() override {
        testsupport::MoveCursor(300, 200);
        zoom = std::make_unique<LockableZoom>();
        zoom->SetActive(false);  // as designed in a form: inactive while the properties load
        zoom->SetDelay(5);
        zoom->SetZoomLevel(25);
        zoom->SetCrosshair(true);
        zoom->SetCrosshairSize(30);
        zoom->SetCrosshairColor(Magenta);
        zoom->OnContentsChanged = [this](TJvZoom& sender) {
            EXPECT_EQ(&sender, zoom.get());
            ++drawn;
        };
        zoom->Create(host.Handle(), 1, 10, 10, View, View);
        ASSERT_TRUE(testsupport::WaitFor(
            [&] {
                return IsWindowVisible(zoom->Handle()) &&
                       !GetUpdateRect(zoom->Handle(), nullptr, FALSE);
            },
            5000, "the magnifier shown and painted"));
    }

    // Moves the cursor and waits for the drawing it causes.
    testing::AssertionResult MoveTo(int x, int y) {
        int before = drawn;
        testsupport::MoveCursor(x, y);
        return testsupport::WaitFor([&] { return drawn > before; }, 5000,
                                    "a drawing after the cursor moved");
    }
    testing::AssertionResult Activate() {
        int before = drawn;
        zoom->SetActive(true);
        return testsupport::WaitFor([&] { return drawn > before; }, 5000, "a drawing once active");
    }
};

TEST_F(ZoomMagnifier, ShowsEachScreenPixelAsAnEqualBlockWithTheCrosshairOnTheCursor) {
    ASSERT_EQ(drawn, 0) << "an inactive magnifier must not draw";
    ASSERT_TRUE(Activate());
    // Level 25 on 80 pixels: half size 10, source 290..309 x 190..209, each pixel 4 x 4.
    EXPECT_TRUE(ShowsBlocks(Grab(zoom->Handle()), {290, 190, 4, true, 40, 40, 15}));

    // Level 50: half size 20, 2 x 2 blocks. It shows once the cursor moves.
    zoom->SetZoomLevel(50);
    ASSERT_TRUE(MoveTo(301, 200));
    EXPECT_TRUE(ShowsBlocks(Grab(zoom->Handle()), {281, 180, 2, true, 40, 40, 15}));

    // Level 100 is 1:1; an even crosshair size 6 gives arms of 3 + 3 pixels.
    zoom->SetZoomLevel(100);
    zoom->SetCrosshairSize(6);
    ASSERT_TRUE(MoveTo(302, 200));
    EXPECT_TRUE(ShowsBlocks(Grab(zoom->Handle()), {262, 160, 1, true, 40, 40, 3}));

    // Without the crosshair the view is the screen alone.
    zoom->SetCrosshair(false);
    zoom->SetZoomLevel(25);
    ASSERT_TRUE(MoveTo(303, 200));
    EXPECT_TRUE(ShowsBlocks(Grab(zoom->Handle()), {293, 190, 4, false, 0, 0, 0}));
}

TEST_F(ZoomMagnifier, AtTheScreenEdgeTheSourceStopsAndTheCrosshairFollowsTheCursor) {
    // Two pixels left of the right edge and three above the bottom: the source is the 20 x 20
    // corner; dx = (sw - 2 + 10 - sw + 1) * 100 div 25 = 36, dy = 32.
    testsupport::MoveCursor(sw - 2, sh - 3);
    ASSERT_TRUE(Activate());
    EXPECT_TRUE(ShowsBlocks(Grab(zoom->Handle()), {sw - 20, sh - 20, 4, true, 76, 72, 15}));
    // The crosshair stands on the block of the cursor's own pixel.
    Pixels p = Grab(zoom->Handle());
    EXPECT_EQ(PatternColor(sw - 2, sh - 3), p.At(75, 70));
}

TEST_F(ZoomMagnifier, DrawsOnlyWhenTheCursorMovesButRepaintsShowTheLastImage) {
    ASSERT_TRUE(Activate());
    const Pixels first = Grab(zoom->Handle());
    int count = drawn;
    EXPECT_TRUE(testsupport::HoldsFor([&] { return drawn == count; }, 300,  // 60 ticks at 5 ms
                                      "no drawing while the cursor stands still"));

    // A repaint from the platform while the cursor stands still shows the last image.
    InvalidateRect(zoom->Handle(), nullptr, TRUE);
    UpdateWindow(zoom->Handle());
    EXPECT_TRUE(
        testsupport::HoldsFor([&] { return drawn == count; }, 100, "no drawing for a repaint"));
    EXPECT_EQ(Grab(zoom->Handle()).data, first.data);

    // A new level alone changes nothing on screen until the cursor moves.
    zoom->SetZoomLevel(50);
    EXPECT_TRUE(testsupport::HoldsFor([&] { return drawn == count; }, 200,
                                      "no drawing for a new level alone"));
    EXPECT_EQ(Grab(zoom->Handle()).data, first.data);
    ASSERT_TRUE(MoveTo(300, 201));
    EXPECT_TRUE(ShowsBlocks(Grab(zoom->Handle()), {280, 181, 2, true, 40, 40, 15}));

    // Resizing draws at once, with the cursor still.
    count = drawn;
    SetWindowPos(zoom->Handle(), nullptr, 0, 0, View + 2, View, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(drawn, count + 1);
    Pixels wider = Grab(zoom->Handle());
    EXPECT_EQ(wider.w, View + 2);
    // 82 wide: half width 41 * 50 div 100 = 20, the same 40-pixel source over 82 columns.
    EXPECT_EQ(wider.At(81, 0), PatternColor(300 + 19, 201 - 20));
    EXPECT_EQ(wider.At(41, 30), Magenta);  // the crosshair column moved to 82 div 2
}

TEST_F(ZoomMagnifier, AScreenThatCannotBeReadKeepsTheLastImage) {
    ASSERT_TRUE(Activate());
    const Pixels before = Grab(zoom->Handle());
    const int count = drawn, reads = zoom->reads;
    zoom->locked = true;
    testsupport::MoveCursor(310, 210);
    ASSERT_TRUE(testsupport::WaitFor([&] { return zoom->reads > reads; }, 5000,
                                     "the magnifier trying to read the screen"));
    EXPECT_EQ(drawn, count);
    EXPECT_EQ(Grab(zoom->Handle()).data, before.data);
    // The first read that works draws, though the cursor has not moved since.
    zoom->locked = false;
    ASSERT_TRUE(testsupport::WaitFor([&] { return drawn > count; }, 5000, "a drawing"));
    EXPECT_TRUE(ShowsBlocks(Grab(zoom->Handle()), {300, 200, 4, true, 40, 40, 15}));
}

TEST_F(ZoomMagnifier, LevelsTooSmallKeepThePreviousImageAndLevelsBelowOneDrawNothing) {
    ASSERT_TRUE(Activate());
    const Pixels before = Grab(zoom->Handle());
    // Levels 1 and 2 give an empty source: the copy draws nothing, the crosshair still is drawn.
    zoom->SetZoomLevel(2);
    zoom->SetCrosshairColor(RGB(0, 0, 0));
    ASSERT_TRUE(MoveTo(350, 250));
    Pixels after = Grab(zoom->Handle());
    EXPECT_TRUE(SameExceptCrosshair(before, after, 40, 40));
    EXPECT_EQ(after.At(40, 30), RGB(0, 0, 0));
    EXPECT_EQ(after.At(30, 40), RGB(0, 0, 0));

    // Level 0 or below draws nothing at all and does not fail.
    int count = drawn;
    for (int level : {0, -7}) {
        zoom->SetZoomLevel(level);
        SetCursorPos(360 + level, 250);
        EXPECT_TRUE(testsupport::HoldsFor([&] { return drawn == count; }, 150,
                                          "no drawing at level " + std::to_string(level)));
    }
    EXPECT_EQ(Grab(zoom->Handle()).data, after.data);
    // A valid level again shows at the next tick, the cursor still.
    zoom->SetZoomLevel(25);
    zoom->SetCrosshairColor(Magenta);
    ASSERT_TRUE(
        testsupport::WaitFor([&] { return drawn > count; }, 5000, "a drawing at the next tick"));
    EXPECT_TRUE(ShowsBlocks(Grab(zoom->Handle()), {353 - 10, 240, 4, true, 40, 40, 15}));
}

TEST_F(ZoomMagnifier, DeactivationKeepsTheImageOrFallsBackToTheBackground) {
    ASSERT_TRUE(Activate());
    const Pixels shown = Grab(zoom->Handle());
    EXPECT_FALSE(zoom->HasCachedImage());

    zoom->SetActive(false);
    EXPECT_TRUE(zoom->HasCachedImage());
    int count = drawn;
    SetCursorPos(320, 220);
    EXPECT_TRUE(testsupport::HoldsFor([&] { return drawn == count; }, 200,
                                      "no drawing: the timer stops with Active"));
    InvalidateRect(zoom->Handle(), nullptr, TRUE);
    UpdateWindow(zoom->Handle());
    EXPECT_EQ(Grab(zoom->Handle()).data, shown.data);

    // Dropping the cache shows the background.
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    zoom->SetCacheOnDeactivate(false);
    EXPECT_FALSE(zoom->HasCachedImage());
    UpdateWindow(zoom->Handle());
    Pixels blank = Grab(zoom->Handle());
    EXPECT_EQ(blank.At(0, 0), face);
    EXPECT_EQ(blank.At(40, 40), face);
    EXPECT_EQ(blank.At(View - 1, View - 1), face);

    // Active again: the next tick draws where the cursor now is.
    ASSERT_TRUE(Activate());
    EXPECT_TRUE(ShowsBlocks(Grab(zoom->Handle()), {310, 210, 4, true, 40, 40, 15}));
    // Without the cache, deactivating goes straight to the background.
    zoom->SetActive(false);
    EXPECT_FALSE(zoom->HasCachedImage());
    UpdateWindow(zoom->Handle());
    EXPECT_EQ(Grab(zoom->Handle()).At(20, 20), face);
}

TEST(ZoomMagnifierLifetime, DefaultsAndTheScreenContextHeldForTheControlsLife) {
    const int baseline = gdi::LiveCount();
    {
        TJvZoom zoom;
        EXPECT_TRUE(zoom.Active());
        EXPECT_EQ(zoom.ZoomLevel(), 100);
        EXPECT_EQ(zoom.Delay(), 100);
        EXPECT_FALSE(zoom.Crosshair());
        EXPECT_EQ(zoom.CrosshairColor(), RGB(0, 0, 0));
        EXPECT_EQ(zoom.CrosshairSize(), 20);
        EXPECT_TRUE(zoom.CacheOnDeactivate());
        EXPECT_EQ(gdi::LiveCount(), baseline + 1) << "the screen DC, held from creation";

        Host host;
        zoom.Create(host.Handle(), 7, 0, 0);
        RECT r;
        GetClientRect(zoom.Handle(), &r);
        EXPECT_EQ(r.right, 100);
        EXPECT_EQ(r.bottom, 100);
        EXPECT_EQ(TJvZoom::FromHandle(zoom.Handle()), &zoom);
        EXPECT_EQ(TJvZoom::FromHandle(host.Handle()), nullptr);
        zoom.SetCrosshair(true);
        zoom.Refresh();
        zoom.SetActive(false);  // cached image
        zoom.SetActive(true);
        zoom.Refresh();
        testsupport::DispatchPending();  // its painting too
    }
    EXPECT_EQ(gdi::LiveCount(), baseline) << "everything released with the control";
}

TEST_F(ZoomMagnifier, OutlinesTheSampledBlockInTheCrosshairColour) {
    zoom->SetCrosshair(false);
    zoom->SetSampleSide(3);
    ASSERT_TRUE(Activate());
    // The 3 x 3 block round the cursor is source pixels 9..11 of 20: view pixels 36..47.
    const Pixels p = Grab(zoom->Handle());
    for (int i = 36; i < 48; ++i) {
        EXPECT_EQ(p.At(36, i), Magenta) << i;
        EXPECT_EQ(p.At(47, i), Magenta) << i;
        EXPECT_EQ(p.At(i, 36), Magenta) << i;
        EXPECT_EQ(p.At(i, 47), Magenta) << i;
    }
    EXPECT_EQ(p.At(40, 40), PatternColor(300, 200)) << "inside, the pixels stay";
    EXPECT_EQ(p.At(35, 40), PatternColor(298, 200)) << "outside too";
}
