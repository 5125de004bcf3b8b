// The options view by keyboard alone, as a user who has no mouse walks it: every choice of every
// radio group, the hotkey edits left every way without losing their keys.
#include <gtest/gtest.h>

#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "app/ControlIds.h"
#include "tests/e2e/Harness.h"

using namespace e2e;

namespace {

bool Checked(HWND button) { return SendMessageW(button, BM_GETCHECK, 0, 0) == BST_CHECKED; }

struct Way {
    WORD key;
    int step;  // +1 or -1
};

// Walks a radio group with the arrows from its checked item `start`, each way in turn through
// every item and round to the start. Each item the focus reaches is the one chosen, and `chosen`
// (the change a choice makes on the screen) holds for it.
void WalkGroup(const App& app, int firstId, int count, int start, std::vector<Way> ways,
               const std::function<bool(int)>& chosen) {
    ASSERT_EQ(app.Focus(), app.Control(firstId + start));
    for (const Way& way : ways) {
        for (int step = 1; step <= count; ++step) {
            const int at = (start + count + way.step * step) % count;
            PressKeys({way.key});
            ASSERT_TRUE(WaitFor(
                [&] {
                    if (app.Focus() != app.Control(firstId + at) || !chosen(at)) return false;
                    for (int i = 0; i < count; ++i)
                        if (Checked(app.Control(firstId + i)) != (i == at)) return false;
                    return true;
                },
                5000, "the focus on the next item, that item alone chosen"))
                << "item " << at << " of group " << firstId << " by key " << way.key;
        }
    }
}

const wchar_t* const Modes[] = {L"Selection", L"Desktop", L"Active window", L"Object"};
const wchar_t* const Areas[] = {L"16x16", L"24x24",   L"32x32", L"48x48",
                                L"64x64", L"128x128", L"Custom"};

bool CaptionStartsWith(const App& app, const std::wstring& text) {
    return app.Caption().rfind(text, 0) == 0;
}

// Presses keys and waits until the program's focus is on the control.
testing::AssertionResult PressTo(const App& app, const std::vector<WORD>& keys, HWND control) {
    PressKeys(keys);
    return app.WaitForFocus(control);
}

// Whether a combination is free, as any program can find out: try to register it.
bool KeyIsFree(UINT mods, UINT vk) {
    if (!RegisterHotKey(nullptr, 0x7F02, mods | MOD_NOREPEAT, vk)) return false;
    UnregisterHotKey(nullptr, 0x7F02);
    return true;
}

WORD EditKey(HWND edit) { return static_cast<WORD>(SendMessageW(edit, HKM_GETHOTKEY, 0, 0)); }

int Stored(const App& app, const wchar_t* key) {
    return static_cast<int>(GetPrivateProfileIntW(L"TTintsnatch4", key, -1,
                                                  (app.Folder() + L"\\Tintsnatch4.ini").c_str()));
}

}  // namespace

TEST(KeyboardOnly, ArrowsGoRoundEveryRadioGroupBothWaysChoosingAsTheyGo) {
    App app;
    MoveCursor(700, 500);
    ASSERT_TRUE(app.Start());
    ASSERT_TRUE(app.OpenOptionsByKeyboard());

    PressKeys({VK_CONTROL, VK_TAB});  // Clipboard: its group is the page's first stop
    PressKeys({VK_TAB});
    ASSERT_TRUE(app.WaitForFocus(app.Control(id::rgClipboardItem0)));
    // Each format shows a preview of its own.
    std::wstring preview = app.Text(id::colFmtPreview);
    WalkGroup(app, id::rgClipboardItem0, 7, 0, {{VK_DOWN, 1}, {VK_UP, -1}}, [&](int) {
        const std::wstring now = app.Text(id::colFmtPreview);
        return now != preview ? (preview = now, true) : false;
    });

    PressKeys({VK_CONTROL, VK_TAB});  // Capture: the mode, then the area
    ASSERT_TRUE(app.WaitForFocus(app.Control(id::rgCaptureItem0)));
    PressKeys({VK_TAB});
    ASSERT_TRUE(app.WaitForFocus(app.Control(id::rgCaptureAreaItem0 + 6)))
        << "Tab enters a group at its chosen item, the default Custom";
    WalkGroup(app, id::rgCaptureAreaItem0, 7, 6, {{VK_RIGHT, 1}, {VK_LEFT, -1}}, [&](int i) {
        return CaptionStartsWith(app, std::wstring(L"Selection ") + Areas[i]);
    });
    PressKeys({VK_SHIFT, VK_TAB});
    ASSERT_TRUE(app.WaitForFocus(app.Control(id::rgCaptureItem0)));
    WalkGroup(app, id::rgCaptureItem0, 4, 0, {{VK_UP, -1}, {VK_DOWN, 1}}, [&](int i) {
        return CaptionStartsWith(app, Modes[i]) &&
               (IsWindowEnabled(app.Control(id::rgCaptureAreaItem0)) != FALSE) == (i == 0);
    });
}

// Every way out of a hotkey edit (Shift+Tab, Ctrl+Tab, Ctrl+Shift+Tab, Esc) leaves its key and
// the global key held; a key typed after a Ctrl+Tab out of the edit comes without the Ctrl.
TEST(KeyboardOnly, LeavingAHotkeyEditEveryWayKeepsItsKeyAndNoModifierSticks) {
    App app;
    MoveCursor(700, 500);
    ASSERT_TRUE(app.Start());
    ASSERT_TRUE(app.OpenOptionsByKeyboard());
    for (int i = 0; i < 3; ++i) PressKeys({VK_CONTROL, VK_TAB});
    const HWND strip = app.Control(id::Properties);
    const std::vector<HWND> edits{app.Control(id::hkShowHide), app.Control(id::hkFixedFollow),
                                  app.Control(id::hkCapture), app.Control(id::hkExit),
                                  app.Control(id::hkPick)};
    const UINT keys[] = {VK_F6, VK_F7, VK_F9, VK_F10, VK_F8};
    for (size_t i = 0; i < edits.size(); ++i) {
        ASSERT_TRUE(PressTo(app, {VK_TAB}, edits[i]));
        ASSERT_TRUE(PressTo(app, {VK_SHIFT, VK_TAB}, i == 0 ? strip : edits[i - 1]));
        ASSERT_TRUE(PressTo(app, {VK_TAB}, edits[i]));
        ASSERT_TRUE(PressTo(app, {VK_CONTROL, VK_TAB}, app.Control(id::cbStartUp)));
        ASSERT_TRUE(PressTo(app, {VK_CONTROL, VK_SHIFT, VK_TAB}, edits[0]));
        for (size_t j = 0; j < i; ++j) ASSERT_TRUE(PressTo(app, {VK_TAB}, edits[j + 1]));
        ASSERT_TRUE(app.Handled());
        std::vector<UINT> shown, held;
        for (size_t j = 0; j < edits.size(); ++j) {
            shown.push_back(EditKey(edits[j]));
            held.push_back(KeyIsFree(0, keys[j]) ? 0 : keys[j]);
        }
        ASSERT_EQ(shown, std::vector<UINT>(std::begin(keys), std::end(keys)))
            << "the edits' keys after leaving edit " << i;
        ASSERT_EQ(held, shown) << "the keys held after leaving edit " << i;
    }
    ASSERT_TRUE(PressTo(app, {VK_CONTROL, VK_TAB}, app.Control(id::cbStartUp)));
    ASSERT_TRUE(PressTo(app, {VK_CONTROL, VK_SHIFT, VK_TAB}, edits[0]));
    PressKeys({VK_F11});
    EXPECT_TRUE(WaitFor([&] { return EditKey(edits[0]) == VK_F11; }, 5000, "F11 alone"))
        << "shown: " << EditKey(edits[0]);
    EXPECT_TRUE(WaitFor([] { return KeyIsFree(0, VK_F6); }, 5000, "F6 given back"));
    EXPECT_FALSE(KeyIsFree(0, VK_F11));

    // F8, the pick's, typed into "Start capture:" goes there; the pick has no key then, and a
    // key of the capture's typed into it is refused, the page saying whose it is.
    ASSERT_TRUE(PressTo(app, {VK_TAB}, edits[1]));
    ASSERT_TRUE(PressTo(app, {VK_TAB}, edits[2]));
    PressKeys({VK_F8});
    EXPECT_TRUE(WaitFor([&] { return EditKey(edits[2]) == VK_F8 && EditKey(edits[4]) == 0; }, 5000,
                        "F8 in Start capture, none in Pick precisely"));
    EXPECT_TRUE(WaitFor([] { return KeyIsFree(0, VK_F9); }, 5000, "F9 given back"));
    ASSERT_TRUE(PressTo(app, {VK_TAB}, edits[3]));
    ASSERT_TRUE(PressTo(app, {VK_TAB}, edits[4]));
    PressKeys({VK_F8});
    EXPECT_TRUE(WaitFor([&] { return app.Text(id::lblKeyHolder) == L"Start capture holds F8"; },
                        5000, "the page saying whose F8 is"));
    EXPECT_EQ(EditKey(edits[4]), 0);

    PressKeys({VK_ESCAPE});
    ASSERT_TRUE(WaitFor([&] { return !app.Visible(id::Properties); }, 5000, "the options closed"));
    ASSERT_TRUE(app.Close());
    EXPECT_EQ(Stored(app, L"hkShowHide_HotKey"), VK_F11);
    EXPECT_EQ(Stored(app, L"hkFixedFollow_HotKey"), VK_F7);
    EXPECT_EQ(Stored(app, L"hkCapture_HotKey"), VK_F8);
    EXPECT_EQ(Stored(app, L"hkExit_HotKey"), VK_F10);
    EXPECT_EQ(Stored(app, L"hkPick_HotKey"), 0);
}

// With the window in front, Ctrl+C copies what the History page has chosen, as Space does.
TEST(KeyboardOnly, CtrlCOnTheHistoryPageCopiesTheChosenEntry) {
    App app;
    ASSERT_TRUE(app.WriteSettings("[TTintsnatch4.History]\r\nColors=FF8000,123456,00FF00\r\n"));
    MoveCursor(700, 500);
    ASSERT_TRUE(app.Start());
    ASSERT_TRUE(app.OpenOptionsByKeyboard());
    PressKeys({VK_CONTROL, VK_SHIFT, VK_TAB});
    const HWND swatches = app.Control(1870);
    ASSERT_TRUE(PressTo(app, {VK_TAB}, swatches));
    PressKeys({VK_RIGHT});  // the second entry
    ASSERT_TRUE(app.Handled());
    SetClipboardText(L"before");
    PressKeys({VK_CONTROL, 'C'});
    EXPECT_TRUE(WaitFor([] { return ClipboardText() == L"18 52 86"; }, 5000, "#123456 copied"))
        << testing::PrintToString(ClipboardText());
    EXPECT_EQ(app.Focus(), swatches);
}

// The keypad's plus and minus zoom the pin in front at every press, not the magnifier.
TEST(KeyboardOnly, KeypadKeysZoomThePinInFrontAtEveryPress) {
    PatternWindow pattern{{{{100, 100, 300, 250}, RGB(255, 0, 0)}}};
    App app;
    ASSERT_TRUE(
        app.WriteSettings("[TTintsnatch4]\r\ncbLastRegion_Checked=True\r\n"
                          "OskScreenCapture1_LastRegion=100,100,300,250\r\n"));
    MoveCursor(600, 500);
    ASSERT_TRUE(app.Start());
    PressKeys({VK_F9});
    ASSERT_TRUE(app.WaitForFront(L"TCaptureRectForm"));
    PressKeys({VK_RETURN});
    ASSERT_TRUE(
        WaitFor([&] { return app.Visible(id::CapturePanel); }, 8000, "the capture view shown"));
    PostMessageW(app.Control(id::PinCapture), BM_CLICK, 0, 0);
    HWND pin = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (pin = app.VisibleTopWindow(L"TPinForm")) != nullptr; }, 5000,
                        "the pin shown"));
    Click(280, 240);  // the user takes the pin
    ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == pin; }, 5000, "the pin in front"));
    ASSERT_TRUE(app.Handled());
    for (int width : {250, 300, 400}) {
        PressKeys({VK_ADD});
        EXPECT_TRUE(WaitFor(
            [&] {
                RECT r{};
                GetWindowRect(pin, &r);
                return r.right - r.left == width;
            },
            5000, "the pin zoomed one step"))
            << "to " << width << " pixels";
    }
    PressKeys({VK_SUBTRACT});
    EXPECT_TRUE(WaitFor(
        [&] {
            RECT r{};
            GetWindowRect(pin, &r);
            return r.right - r.left == 300;
        },
        5000, "the pin zoomed out one step"));
    EXPECT_EQ(GetForegroundWindow(), pin);
    EXPECT_EQ(app.Text(id::lblZoomFactor), L"15") << "the magnifier as it was";
}
