// "Pick precisely" (F8) by keyboard alone: the arrows move the pointer over the frozen screen,
// Enter copies the exact pixel there in the chosen format, Esc leaves the clipboard alone, an
// exit during it ends the program cleanly, and a hidden window stays hidden.
#include <gtest/gtest.h>

#include <fstream>

#include "app/ControlIds.h"
#include "tests/e2e/Harness.h"

using namespace e2e;

namespace {
constexpr COLORREF Orange = RGB(255, 128, 0);

class PickByKeyboard : public testing::Test {
  protected:
    // One pixel of its own at (213, 157) on orange: a step too many or too few copies orange.
    PatternWindow pattern{{{{213, 157, 214, 158}, RGB(10, 20, 30)}}, Orange};
    App app;

    void SetUp() override {
        // The Custom format names the position too: "{x},{y} {hex}". F8 is held while hidden, as
        // Ctrl+C is, with "Enable CTRL+C if minimized".
        std::ofstream((app.Folder() + L"\\Tintsnatch4.ini").c_str(), std::ios::binary)
            << "[TTintsnatch4]\r\nrgClipboard_ItemIndex=6\r\nedCustomFormat_Text={x},{y} {hex}\r\n"
               "cbGrabIfMin_Checked=True\r\n";
        MoveCursor(200, 160);
        ASSERT_TRUE(app.Start());
    }
    testing::AssertionResult StartPick() {
        PressKeys({VK_F8});
        return app.WaitForFront(L"TPickForm");
    }
    testing::AssertionResult Ended() {
        return WaitFor(
            [&] {
                return !app.VisibleTopWindow(L"TPickForm") && IsWindowVisible(app.MainWindow());
            },
            8000, "the overlay gone and the window back");
    }
};
}  // namespace

TEST_F(PickByKeyboard, EnterCopiesThePixelTheArrowsReachEscCopiesNothingF10Exits) {
    ASSERT_TRUE(StartPick());
    PressKeys({VK_SHIFT, VK_RIGHT});  // (210, 160)
    for (int i = 0; i < 3; ++i) PressKeys({VK_RIGHT});
    for (int i = 0; i < 3; ++i) PressKeys({VK_UP});
    PressKeys({VK_RETURN});
    EXPECT_TRUE(WaitFor([] { return ClipboardText() == L"213,157 0a141e"; }, 8000,
                        "\"213,157 0a141e\" on the clipboard"))
        << testing::PrintToString(ClipboardText());
    ASSERT_TRUE(Ended());
    const bool f8Free = RegisterHotKey(nullptr, 0x7F03, MOD_NOREPEAT, VK_F8);
    if (f8Free) UnregisterHotKey(nullptr, 0x7F03);
    EXPECT_FALSE(f8Free) << "F8 is the program's again once it is back";

    // Esc after a step: nothing copied.
    SetClipboardText(L"untouched");
    ASSERT_TRUE(StartPick());
    PressKeys({VK_LEFT});
    PressKeys({VK_ESCAPE});
    ASSERT_TRUE(Ended());
    ASSERT_TRUE(app.Handled());
    EXPECT_EQ(ClipboardText(), L"untouched");

    // F10 during a pick: the program ends cleanly, nothing copied.
    ASSERT_TRUE(StartPick());
    PressKeys({VK_F10});
    ASSERT_TRUE(app.WaitForExit(10000));
    EXPECT_EQ(app.ExitCode(), 0u);
    EXPECT_EQ(ClipboardText(), L"untouched");
}

TEST_F(PickByKeyboard, WhileHiddenTheKeyStillPicksAndTheWindowStaysHidden) {
    ASSERT_TRUE(app.ShowHide(false));
    ASSERT_TRUE(StartPick());
    PressKeys({VK_RIGHT});
    PressKeys({VK_RETURN});
    EXPECT_TRUE(WaitFor([] { return ClipboardText() == L"201,160 ff8000"; }, 8000,
                        "\"201,160 ff8000\" on the clipboard"))
        << testing::PrintToString(ClipboardText());
    ASSERT_TRUE(WaitFor([&] { return !app.VisibleTopWindow(L"TPickForm"); }, 8000, "no overlay"));
    ASSERT_TRUE(app.Handled());
    EXPECT_FALSE(IsWindowVisible(app.MainWindow()));
}

// The headline case of a refused foreground: another program keeps it while the loupe shows (a
// menu of its own open, say). The loupe's keys reach the loupe and nothing of them that program;
// with "Sample:" at 3 x 3 the pick copies the block's mean, as Ctrl+C does.
TEST(PickABlock, TheKeysReachTheLoupeWhileAnotherProgramKeepsTheForeground) {
    // The one dark pixel at (213, 157) among orange: the 3 x 3 mean is 228 116 3.
    PatternWindow users{{{{213, 157, 214, 158}, RGB(10, 20, 30)}}, Orange};
    App app;
    std::ofstream((app.Folder() + L"\\Tintsnatch4.ini").c_str(), std::ios::binary)
        << "[TTintsnatch4]\r\nrgClipboard_ItemIndex=6\r\nedCustomFormat_Text={x},{y} {hex}\r\n"
           "cbSample_ItemIndex=1\r\n";
    MoveCursor(200, 160);
    ASSERT_TRUE(app.Start());
    ASSERT_TRUE(ActivateUsersWindow(app, users.Handle()));
    PressKeys({VK_F8});
    ASSERT_TRUE(app.WaitForFront(L"TPickForm"));
    ASSERT_TRUE(WaitFor(
        [&] {
            SetForegroundWindow(users.Handle());
            return GetForegroundWindow() == users.Handle();
        },
        5000, "the user's program in front again"));
    PressKeys({VK_SHIFT, VK_RIGHT});
    for (int i = 0; i < 3; ++i) PressKeys({VK_RIGHT});
    for (int i = 0; i < 3; ++i) PressKeys({VK_UP});
    PressKeys({VK_RETURN});
    EXPECT_TRUE(WaitFor([] { return ClipboardText() == L"213,157 e47403"; }, 8000,
                        "\"213,157 e47403\" on the clipboard"))
        << testing::PrintToString(ClipboardText());
    ASSERT_TRUE(WaitFor([&] { return !app.VisibleTopWindow(L"TPickForm"); }, 8000, "no loupe"));
    ASSERT_TRUE(app.Handled());
    EXPECT_EQ(users.KeysDown(), 0) << "keys that reached the user's program";
    EXPECT_EQ(GetForegroundWindow(), users.Handle());
}
