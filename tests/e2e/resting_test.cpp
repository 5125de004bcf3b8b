// The sampler slows down while the cursor rests; what it shows must not: a new colour under the
// resting cursor and the first movement after the rest still reach the readouts and the magnifier.
#include <gtest/gtest.h>

#include "app/ControlIds.h"
#include "tests/e2e/Harness.h"
// After the platform header, which it needs.
#include <wtsapi32.h>

using namespace e2e;

class RestingSampler : public testing::Test {
  protected:
    PatternWindow pattern{
        {{{100, 100, 200, 200}, RGB(255, 0, 0)}, {{200, 100, 300, 200}, RGB(18, 52, 86)}}};
    App app;
    void SetUp() override {
        ASSERT_TRUE(app.Start());
        MoveCursor(150, 150);
        ASSERT_TRUE(WaitFor([&] { return app.Text(id::ColHex) == L"#FF0000"; }, 5000,
                            "ColHex showing #FF0000"));
        // Time for the cursor to count as resting (a second without a change): the program
        // shows no sign of resting, by design.
        Settle(1200);
    }
    // A pixel of the compact magnifier, away from its crosshair.
    COLORREF MagnifierPixel() const {
        POINT origin{0, 0};
        ClientToScreen(app.MainWindow(), &origin);
        return ScreenPixel(origin.x + 8, origin.y + 8);
    }
};

TEST_F(RestingSampler, ReadoutsFollowAColourThatChangesUnderTheRestingCursor) {
    PatternWindow cover({}, RGB(0, 0, 255), {140, 140, 160, 160});
    EXPECT_TRUE(
        WaitFor([&] { return app.Text(id::ColHex) == L"#0000FF"; }, 5000, "ColHex showing #0000FF"))
        << "shows " << testing::PrintToString(app.Text(id::ColHex));
    EXPECT_EQ(app.Text(id::Position), L"(150,150)");
}

TEST_F(RestingSampler, TheFirstMovementAfterTheRestIsFollowed) {
    ASSERT_TRUE(
        WaitFor([&] { return MagnifierPixel() == RGB(255, 0, 0); }, 5000, "the magnifier red"));
    MouseTo(250, 120);  // mouse input, which wakes the resting sampler
    EXPECT_TRUE(WaitFor([&] { return app.Text(id::Position) == L"(250,120)"; }, 5000,
                        "Position showing (250,120)"));
    MoveCursor(250, 120);  // and kept there for what follows
    EXPECT_EQ(app.Text(id::ColHex), L"#123456");
    EXPECT_TRUE(WaitFor([&] { return app.WindowRect().left == 270 && app.WindowRect().top == 140; },
                        5000, "the window at (270, 140)"))
        << "the window follows";
    EXPECT_TRUE(WaitFor([&] { return MagnifierPixel() == RGB(18, 52, 86); }, 5000,
                        "the magnifier showing #123456"))
        << "the magnifier shows the new place";
}

TEST_F(RestingSampler, NothingIsSampledWhileTheSessionIsLockedAndTheUnlockShowsTheScreenAtOnce) {
    // What the system sends to a window registered for its session's notifications, with the
    // session's id. Another user's lock on the same host stops nothing.
    DWORD own = 0;
    ASSERT_TRUE(ProcessIdToSessionId(app.ProcessId(), &own));
    PostMessageW(app.MainWindow(), WM_WTSSESSION_CHANGE, WTS_SESSION_LOCK, own + 1);
    PatternWindow other({}, RGB(0, 255, 0), {140, 140, 160, 160});
    ASSERT_TRUE(WaitFor([&] { return app.Text(id::ColHex) == L"#00FF00"; }, 5000, "#00FF00"));
    PostMessageW(app.MainWindow(), WM_WTSSESSION_CHANGE, WTS_SESSION_LOCK, own);
    ASSERT_TRUE(app.Handled());
    PatternWindow cover({}, RGB(0, 0, 255), {140, 140, 160, 160});
    EXPECT_TRUE(HoldsFor([&] { return app.Text(id::ColHex) == L"#00FF00"; }, 300,
                         "the readouts as they were while locked"));
    PostMessageW(app.MainWindow(), WM_WTSSESSION_CHANGE, WTS_SESSION_UNLOCK, own);
    EXPECT_TRUE(WaitFor([&] { return app.Text(id::ColHex) == L"#0000FF"; }, 5000,
                        "ColHex showing #0000FF"));
}
