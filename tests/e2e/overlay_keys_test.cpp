// Esc backs out of each capture overlay, of the countdown and of the pick: nothing is taken, the
// clipboard and the view stay as they were, and the keys go back to the window the user was in.
// Meanwhile a screen reader reads each by what it shows.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

#include "app/ControlIds.h"
#include "tests/e2e/Harness.h"

using namespace e2e;

namespace {
constexpr COLORREF Orange = RGB(255, 128, 0);

struct BackOut {
    const char* name;
    const char* stored;               // the settings that choose it
    WORD key;                         // the key that opens it
    const wchar_t* window;            // its class
    std::vector<std::wstring> names;  // what a screen reader may read while it shows
};

const BackOut Cases[] = {
    {"Selection",
     "rgCapture_ItemIndex=0\r\nrgCaptureArea_ItemIndex=6\r\n",
     VK_F9,
     L"TCaptureRectForm",
     {L"Select an area to capture"}},
    {"SizedSelection",
     "rgCapture_ItemIndex=0\r\nrgCaptureArea_ItemIndex=0\r\n",
     VK_F9,
     // The frame shows where the pointer is once the overlay has heard of it.
     L"TCaptureRectForm",
     {L"Select an area to capture: 16 x 16", L"Select an area to capture"}},
    {"Object", "rgCapture_ItemIndex=3\r\n", VK_F9, L"TCaptureObjectForm", {L"Capture Object"}},
    {"Countdown",
     "rgCapture_ItemIndex=1\r\nudDelay_Position=10\r\n",
     VK_F9,
     L"TCountdownForm",
     {L"Capture in 10 seconds", L"Capture in 9 seconds"}},
    {"Pick", "", VK_F8, L"TPickForm", {L"Pick precisely: 255 128 0, at 300, 250"}}};

std::string NameOf(const testing::TestParamInfo<BackOut>& info) { return info.param.name; }
void PrintTo(const BackOut& c, std::ostream* os) { *os << c.name; }
}  // namespace

class EscBacksOut : public testing::TestWithParam<BackOut> {};

TEST_P(EscBacksOut, NothingIsTakenAndTheKeysGoBackToTheUsersWindow) {
    const BackOut& c = GetParam();
    PatternWindow users{{}, Orange, {200, 150, 500, 400}};
    App app;
    std::ofstream((app.Folder() + L"\\Tintsnatch4.ini").c_str(), std::ios::binary)
        << "[TTintsnatch4]\r\n"
        << c.stored;
    MoveCursor(300, 250);
    ASSERT_TRUE(app.Start());
    ASSERT_TRUE(ActivateUsersWindow(app, users.Handle()));
    SetClipboardText(L"before");
    PressKeys({c.key});
    HWND shown = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (shown = app.VisibleTopWindow(c.window)) != nullptr; }, 8000,
                        "it shows"));
    std::wstring name;
    EXPECT_TRUE(WaitFor(
        [&] {
            name = AccessibleName(shown);
            return std::find(c.names.begin(), c.names.end(), name) != c.names.end();
        },
        5000, "its name read"))
        << testing::PrintToString(name);
    PressKeys({VK_ESCAPE});
    ASSERT_TRUE(WaitFor(
        [&] { return !app.VisibleTopWindow(c.window) && IsWindowVisible(app.MainWindow()); }, 8000,
        "it gone and the window back"));
    EXPECT_TRUE(WaitFor([&] { return GetForegroundWindow() == users.Handle(); }, 5000,
                        "the user's window in front again"));
    ASSERT_TRUE(app.Handled());
    EXPECT_EQ(ClipboardText(), L"before");
    EXPECT_FALSE(app.Visible(id::CapturePanel)) << "a capture view opened";
    EXPECT_EQ(users.KeysDown(), 0) << "keys that reached the user's window";
}

INSTANTIATE_TEST_SUITE_P(EveryOverlay, EscBacksOut, testing::ValuesIn(Cases), NameOf);

// A capture taken while the window is hidden shows nothing of ours either: the keys go back.
TEST(HiddenCapture, LeavesTheKeysWithTheWindowTheUserWasIn) {
    PatternWindow users{{}, Orange, {200, 150, 500, 400}};
    App app;
    std::ofstream((app.Folder() + L"\\Tintsnatch4.ini").c_str(), std::ios::binary)
        << "[TTintsnatch4]\r\nrgCapture_ItemIndex=1\r\n";
    ASSERT_TRUE(app.Start());
    ASSERT_TRUE(app.ShowHide(false));
    ASSERT_TRUE(WaitFor(
        [&] {
            SetForegroundWindow(users.Handle());
            return GetForegroundWindow() == users.Handle();
        },
        5000, "the user's window in front"));
    SetClipboardText(L"before");
    PressKeys({VK_F9});
    ASSERT_TRUE(WaitFor([] { return ClipboardText() != L"before"; }, 8000, "the capture copied"));
    ASSERT_TRUE(app.Handled());
    EXPECT_EQ(GetForegroundWindow(), users.Handle());
    EXPECT_FALSE(IsWindowVisible(app.MainWindow()));
}
