// The options view by keyboard alone, as a user who has no mouse walks it.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "app/ControlIds.h"
#include "tests/e2e/Harness.h"

using namespace e2e;

namespace {

bool Checked(HWND button) { return SendMessageW(button, BM_GETCHECK, 0, 0) == BST_CHECKED; }

// Walks a radio group with the arrows from its chosen item: `next` round every item to the start,
// then `back` round the other way. Each item the focus reaches is the one chosen, and `chosen`
// (what the choice changes on the screen) holds for it.
void WalkGroup(const App& app, int firstId, int count, int start, WORD next, WORD back,
               const std::function<bool(int)>& chosen) {
    for (WORD key : {next, back})
        for (int step = 1; step <= count; ++step) {
            const int at = (start + (key == next ? step : count - step)) % count;
            PressKeys({key});
            ASSERT_TRUE(WaitFor(
                [&] {
                    for (int i = 0; i < count; ++i)
                        if (Checked(app.Control(firstId + i)) != (i == at)) return false;
                    return app.Focus() == app.Control(firstId + at) && chosen(at);
                },
                5000, "the focus on the next item, that item alone chosen"))
                << "item " << at << " of group " << firstId << " by key " << key;
        }
}

// Whether the caption begins with the text, less its access key's ampersand.
bool CaptionStartsWith(const App& app, std::wstring text) {
    std::erase(text, L'&');
    return app.Caption().rfind(text, 0) == 0;
}

// Presses keys and waits until the program's focus is on the control.
testing::AssertionResult PressTo(const App& app, const std::vector<WORD>& keys, HWND control) {
    PressKeys(keys);
    return app.WaitForFocus(control);
}

// Whether a key is free, as any program can find out: try to register it.
bool KeyIsFree(UINT vk) {
    if (!RegisterHotKey(nullptr, 0x7F02, MOD_NOREPEAT, vk)) return false;
    UnregisterHotKey(nullptr, 0x7F02);
    return true;
}

WORD EditKey(HWND edit) { return static_cast<WORD>(SendMessageW(edit, HKM_GETHOTKEY, 0, 0)); }

}  // namespace

// Every radio of every group reached both ways by the arrows; every way out of a hotkey edit
// (Shift+Tab, Ctrl+Tab, Ctrl+Shift+Tab, Esc) leaves its key and the global key held, and a key
// typed after a Ctrl+Tab out of the edit comes without the Ctrl.
TEST(KeyboardOnly, EveryChoiceOfThePagesAndEveryWayOutOfAHotkeyEdit) {
    App app;
    MoveCursor(700, 500);
    ASSERT_TRUE(app.Start());
    ASSERT_TRUE(app.OpenOptionsByKeyboard());
    PressKeys({VK_CONTROL, VK_TAB});  // Clipboard: its group is the page's first stop
    ASSERT_TRUE(PressTo(app, {VK_TAB}, app.Control(id::rgClipboardItem0)));
    std::wstring preview = app.Text(id::colFmtPreview);  // each format previews its own text
    ASSERT_NO_FATAL_FAILURE(WalkGroup(app, id::rgClipboardItem0, 7, 0, VK_DOWN, VK_UP, [&](int) {
        const std::wstring now = app.Text(id::colFmtPreview);
        return now != preview ? (preview = now, true) : false;
    }));
    ASSERT_TRUE(PressTo(app, {VK_CONTROL, VK_TAB}, app.Control(id::rgCaptureItem0)));
    ASSERT_TRUE(PressTo(app, {VK_TAB}, app.Control(id::rgCaptureAreaItem0 + 6)))
        << "Tab enters a group at its chosen item, the default Custom";
    ASSERT_NO_FATAL_FAILURE(
        WalkGroup(app, id::rgCaptureAreaItem0, 7, 6, VK_RIGHT, VK_LEFT, [&](int i) {
            return CaptionStartsWith(app, L"Selection " + app.Text(id::rgCaptureAreaItem0 + i));
        }));
    ASSERT_TRUE(PressTo(app, {VK_SHIFT, VK_TAB}, app.Control(id::rgCaptureItem0)));
    ASSERT_NO_FATAL_FAILURE(WalkGroup(app, id::rgCaptureItem0, 4, 0, VK_DOWN, VK_UP, [&](int i) {
        return CaptionStartsWith(app, app.Text(id::rgCaptureItem0 + i)) &&
               (IsWindowEnabled(app.Control(id::rgCaptureAreaItem0)) != FALSE) == (i == 0);
    }));

    const HWND edits[] = {app.Control(id::hkShowHide), app.Control(id::hkFixedFollow),
                          app.Control(id::hkCapture), app.Control(id::hkExit),
                          app.Control(id::hkPick)};
    const UINT keys[] = {VK_F6, VK_F7, VK_F9, VK_F10, VK_F8};
    ASSERT_TRUE(PressTo(app, {VK_CONTROL, VK_TAB}, edits[0]));  // Keys
    for (int i = 0; i < 5; ++i) {
        for (int j = 1; j <= i; ++j) ASSERT_TRUE(PressTo(app, {VK_TAB}, edits[j]));
        ASSERT_TRUE(
            PressTo(app, {VK_SHIFT, VK_TAB}, i == 0 ? app.Control(id::Properties) : edits[i - 1]));
        ASSERT_TRUE(PressTo(app, {VK_TAB}, edits[i]));
        ASSERT_TRUE(PressTo(app, {VK_CONTROL, VK_TAB}, app.Control(id::cbStartUp)));
        ASSERT_TRUE(PressTo(app, {VK_CONTROL, VK_SHIFT, VK_TAB}, edits[0]));
    }
    for (int j = 0; j < 5; ++j) {
        EXPECT_EQ(EditKey(edits[j]), keys[j]) << j;
        EXPECT_FALSE(KeyIsFree(keys[j])) << j;
    }
    PressKeys({VK_F11});
    EXPECT_TRUE(WaitFor([&] { return EditKey(edits[0]) == VK_F11 && KeyIsFree(VK_F6); }, 5000,
                        "F11 alone in the edit, F6 given back"));

    // F8, the pick's, typed into "Start capture:" goes there and the pick has none; typed into
    // the pick then, it is refused and the page says whose it is.
    ASSERT_TRUE(PressTo(app, {VK_TAB}, edits[1]));
    ASSERT_TRUE(PressTo(app, {VK_TAB}, edits[2]));
    PressKeys({VK_F8});
    EXPECT_TRUE(WaitFor([&] { return EditKey(edits[2]) == VK_F8 && EditKey(edits[4]) == 0; }, 5000,
                        "F8 in Start capture, none in Pick precisely"));
    ASSERT_TRUE(PressTo(app, {VK_TAB}, edits[3]));
    ASSERT_TRUE(PressTo(app, {VK_TAB}, edits[4]));
    PressKeys({VK_F8});
    EXPECT_TRUE(WaitFor([&] { return app.Text(id::lblKeyHolder) == L"Start capture holds F8"; },
                        5000, "the page saying whose F8 is"));
    PressKeys({VK_ESCAPE});
    ASSERT_TRUE(WaitFor([&] { return !app.Visible(id::Properties); }, 5000, "the options closed"));
    ASSERT_TRUE(app.Close());
    const std::wstring ini = app.Folder() + L"\\Tintsnatch4.ini";
    EXPECT_EQ(GetPrivateProfileIntW(L"TTintsnatch4", L"hkShowHide_HotKey", -1, ini.c_str()),
              VK_F11);
    EXPECT_EQ(GetPrivateProfileIntW(L"TTintsnatch4", L"hkPick_HotKey", -1, ini.c_str()), 0u);
}
