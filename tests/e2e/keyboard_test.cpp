// The options view by keyboard alone, as a user who has no mouse walks it: every choice of every
// radio group, the hotkey edits left every way without losing their keys.
#include <gtest/gtest.h>

#include <functional>
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

