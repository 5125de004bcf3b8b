// The colour as the user keeps and copies it: the mean of a block round the cursor, and a copy
// format of the user's own, both chosen in the settings file the way a saved choice comes back.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <string>

#include "app/ControlIds.h"
#include "tests/e2e/Harness.h"

using namespace e2e;

namespace {
void Store(const App& app, const wchar_t* key, const wchar_t* value) {
    const std::wstring ini = app.Folder() + L"\\Tintsnatch4.ini";
    ASSERT_TRUE(WritePrivateProfileStringW(L"TTintsnatch4", key, value, ini.c_str()));
    (void)WritePrivateProfileStringW(nullptr, nullptr, nullptr, ini.c_str());  // flush
}

// The history as the file on disk holds it now (the profile reader of this process may keep an
// older copy for a while).
std::string StoredHistory(const App& app) {
    std::ifstream in((app.Folder() + L"\\Tintsnatch4.ini").c_str(), std::ios::binary);
    for (std::string line; std::getline(in, line);)
        if (line.rfind("Colors=", 0) == 0) return line.substr(7, line.find('\r') - 7);
    return "<missing>";
}
}  // namespace

class Colors : public testing::Test {
  protected:
    // A red block beside a blue-grey one, and at the desk's far corner (the top-left one holds
    // the platform's tray window here) two white columns on black.
    const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    PatternWindow pattern{{{{w - 10, h - 10, w, h}, RGB(0, 0, 0)},
                           {{w - 2, h - 5, w, h}, RGB(255, 255, 255)},
                           {{100, 100, 200, 200}, RGB(255, 0, 0)},
                           {{200, 100, 300, 200}, RGB(18, 52, 86)}}};
    App app;
};

TEST_F(Colors, BlockSamplingShowsTheRoundedMeanAlsoAtTheCornerOfTheDesk) {
    Store(app, L"cbSample_ItemIndex", L"1");  // 3 x 3
    ASSERT_TRUE(app.Start());
    // One column of red and two of (18, 52, 86): (765 + 108) / 9 = 97, 312 / 9 = 34.7, 516 / 9.
    MoveCursor(200, 150);
    EXPECT_TRUE(WaitFor([&] { return app.Text(id::ColHex) == L"#612339"; }, 5000,
                        "ColHex showing the mean #612339"));
    SetClipboardText(L"before");
    PressKeys({VK_CONTROL, 'C'});
    EXPECT_TRUE(
        WaitFor([] { return ClipboardText() == L"97 35 57"; }, 5000, "the mean on the clipboard"));
    ASSERT_TRUE(app.Close());

    // 9 x 9 at the last pixel: only the 5 x 5 pixels on the desk count, 10 of them white: 2550
    // / 25. The window stands beside the cursor, clear of the block.
    Store(app, L"cbSample_ItemIndex", L"3");
    ASSERT_TRUE(app.Start());
    MoveCursor(w - 1, h - 1);
    EXPECT_TRUE(WaitFor([&] { return app.Text(id::ColHex) == L"#666666"; }, 5000,
                        "ColHex showing the corner's mean #666666"));
}

// The template as a saved one comes back at a start (the first close writes it: settings_test).
TEST_F(Colors, CustomFormatCopiesTheStoredTemplatesText) {
    Store(app, L"rgClipboard_ItemIndex", L"6");
    Store(app, L"edCustomFormat_Text", L"{{{hex}}} {x}/{y} hsl({hue},{sat}%,{light}%) {what}");
    ASSERT_TRUE(app.Start());
    MoveCursor(250, 120);
    ASSERT_TRUE(WaitFor([&] { return app.Text(id::ColHex) == L"#123456"; }, 5000,
                        "ColHex showing \"#123456\""));
    SetClipboardText(L"before");
    PressKeys({VK_CONTROL, 'C'});
    EXPECT_TRUE(
        WaitFor([] { return ClipboardText() == L"{123456} 250/120 hsl(210,65%,20%) {what}"; }, 5000,
                "the template's text on the clipboard"));
}

// An empty template from the file: Ctrl+C says so and leaves the clipboard as it was.
TEST_F(Colors, AnEmptyCustomFormatIsToldAndLeavesTheClipboard) {
    Store(app, L"rgClipboard_ItemIndex", L"6");
    Store(app, L"edCustomFormat_Text", L"");
    ASSERT_TRUE(app.Start());
    MoveCursor(250, 120);
    ASSERT_TRUE(WaitFor([&] { return app.Text(id::ColHex) == L"#123456"; }, 5000,
                        "ColHex showing \"#123456\""));
    SetClipboardText(L"before");
    PressKeys({VK_CONTROL, 'C'});
    HWND box = nullptr;
    ASSERT_TRUE(WaitFor(
        [&] {
            box = FindTopWindow(L"#32770", app.ProcessId());
            return box && !MessageBoxText(box).empty();
        },
        5000, "the program's message"));
    EXPECT_EQ(WindowTextOf(box), L"");
    EXPECT_EQ(MessageBoxText(box).rfind(L"The Custom format has no template", 0), 0u)
        << testing::PrintToString(MessageBoxText(box));
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(box); }, 5000, "the message closed"));
    EXPECT_EQ(ClipboardText(), L"before");
}

TEST_F(Colors, HistoryKeepsCopiesAcrossARestartSkipsBrokenEntriesAndCopiesFromThePage) {
    ASSERT_TRUE(WritePrivateProfileStringW(L"TTintsnatch4.History", L"Colors",
                                           L"FF8000,not a colour,123456*",
                                           (app.Folder() + L"\\Tintsnatch4.ini").c_str()));
    ASSERT_TRUE(app.Start());
    MoveCursor(150, 150);
    ASSERT_TRUE(WaitFor([&] { return app.Text(id::ColHex) == L"#FF0000"; }, 5000,
                        "ColHex showing \"#FF0000\""));
    SetClipboardText(L"before");
    PressKeys({VK_CONTROL, 'C'});
    ASSERT_TRUE(WaitFor([] { return ClipboardText() == L"255 0 0"; }, 5000, "the copy"));
    ASSERT_TRUE(app.Close());
    EXPECT_EQ(StoredHistory(app), "FF0000,FF8000,123456*");

    // The next start shows it on the History page: the newest selected, against the one before.
    Store(app, L"Properties_ActivePage", L"tsHistory");
    ASSERT_TRUE(app.Start());
    const RECT w = app.WindowRect();
    MoveCursor((w.left + w.right) / 2, (w.top + w.bottom) / 2);
    const int values = 1871, contrast = 1872, swatches = 1870;
    EXPECT_TRUE(WaitFor(
        [&] {
            return app.WindowSize().cx == 300 && app.Visible(values) &&
                   app.Text(values) ==
                       L"255 0 0   255,0,0\n#FF0000   FF0000\n0 255 255 0   0,255,255,0\nHSL 0, "
                       L"100%, 50%";
        },
        5000, "the options view showing the newest entry's values"));
    EXPECT_EQ(app.Text(contrast).substr(0, 16), L"Contrast: 1.58:1");

    // A click on the third swatch copies it in the chosen format and moves it to the front.
    const int cell = 24;  // at the 96 DPI of the test's screen
    POINT third{2 * cell + cell / 2, cell / 2};
    ClientToScreen(app.Control(swatches), &third);
    Click(third.x, third.y);
    EXPECT_TRUE(WaitFor([] { return ClipboardText() == L"18 52 86"; }, 5000, "the third copied"));
    // Ctrl+C in the window copies the entry chosen there, not the colour sampled before.
    PressKeys({VK_END});
    ASSERT_TRUE(WaitFor([&] { return app.Text(values).find(L"FF8000") != std::wstring::npos; },
                        5000, "the last chosen"));
    PressKeys({VK_CONTROL, 'C'});
    EXPECT_TRUE(WaitFor([] { return ClipboardText() == L"255 128 0"; }, 5000, "the last copied"));
    ASSERT_TRUE(app.Close());
    EXPECT_EQ(StoredHistory(app), "FF8000,123456*,FF0000");
}
