// What a screen reader in another program finds in the running program: the self-drawn controls
// named by what they show, the labelled ones by their labels.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/ControlIds.h"
#include "tests/e2e/Harness.h"

// After the platform header, which it needs.
#include <oleacc.h>

using namespace e2e;

TEST(Access, AScreenReaderReadsTheNamesOfTheRunningProgramsControls) {
    PatternWindow pattern{{{{100, 100, 200, 200}, RGB(255, 0, 0)}}};
    App app;
    ASSERT_TRUE(app.Start());
    MoveCursor(150, 150);
    ASSERT_TRUE(
        WaitFor([&] { return AccessibleName(app.Control(id::TintColor)) == L"Colour 255 0 0"; },
                5000, "the swatch named by its colour"));
    EXPECT_EQ(AccessibleName(app.Control(id::ColHex)), L"#FF0000");
    EXPECT_EQ(AccessibleName(app.Control(id::JvZoom1)), L"Magnifier, zoom 7.4x");
    EXPECT_EQ(AccessibleName(app.Control(id::hkCapture)), L"Start capture");
    ASSERT_TRUE(app.Close());
}

namespace {
// What a screen reader in another program hears of the History list: for each focus or name
// event the list raises, the name of the object the event names, asked for as the event comes
// (while it waits for one answer the next event may come and be answered first).
std::vector<std::wstring> heard;
bool Heard(const std::wstring& name) {
    return std::find(heard.begin(), heard.end(), name) != heard.end();
}
void CALLBACK Listen(HWINEVENTHOOK, DWORD event, HWND hwnd, LONG object, LONG child, DWORD, DWORD) {
    if (event != EVENT_OBJECT_FOCUS && event != EVENT_OBJECT_NAMECHANGE) return;
    IAccessible* acc = nullptr;
    VARIANT id{};
    if (GetDlgCtrlID(hwnd) == 1870 &&
        SUCCEEDED(AccessibleObjectFromEvent(hwnd, static_cast<DWORD>(object),
                                            static_cast<DWORD>(child), &acc, &id)) &&
        acc) {
        BSTR name = nullptr;
        if (SUCCEEDED(acc->get_accName(id, &name)) && name) heard.push_back(name);
        SysFreeString(name);
        VariantClear(&id);
        acc->Release();
    }
}
}  // namespace

TEST(Access, AScreenReaderReadsTheHistoryEntriesAndHearsTheSelectionAndAPinChange) {
    App app;
    const std::wstring ini = app.Folder() + L"\\Tintsnatch4.ini";
    ASSERT_TRUE(WritePrivateProfileStringW(L"TTintsnatch4", L"Properties_ActivePage", L"tsHistory",
                                           ini.c_str()));
    ASSERT_TRUE(WritePrivateProfileStringW(L"TTintsnatch4.History", L"Colors",
                                           L"FF8000,123456*,00FF00", ini.c_str()));
    ASSERT_TRUE(app.Start());
    HWND list = app.Control(1870);
    const auto read = AccessibleElements(list);
    ASSERT_EQ(read.size(), 4u);
    EXPECT_EQ(read[0].name, L"History");
    EXPECT_EQ(read[0].role, ROLE_SYSTEM_LIST);
    const wchar_t* names[] = {L"255 128 0", L"18 52 86, pinned", L"0 255 0"};
    for (int i = 1; i <= 3; ++i) {
        EXPECT_EQ(read[i].name, names[i - 1]);
        EXPECT_EQ(read[i].role, ROLE_SYSTEM_LISTITEM);
        EXPECT_EQ((read[i].state & STATE_SYSTEM_SELECTED) != 0, i == 1) << "item " << i;
    }

    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    heard.clear();
    HWINEVENTHOOK hook = SetWinEventHook(EVENT_OBJECT_FOCUS, EVENT_OBJECT_NAMECHANGE, nullptr,
                                         Listen, app.ProcessId(), 0, WINEVENT_OUTOFCONTEXT);
    ASSERT_TRUE(hook);
    // A click on the newest entry copies it, which leaves the list as it was, and takes the
    // reader to it; Right moves it on.
    const RECT w = app.WindowRect();
    MoveCursor((w.left + w.right) / 2, (w.top + w.bottom) / 2);
    ASSERT_TRUE(WaitFor([&] { return app.Visible(1870); }, 5000, "the History page shown"));
    RECT r;
    GetWindowRect(list, &r);
    Click(r.left + 12, r.top + 12);
    ASSERT_TRUE(app.WaitForFocus(list));
    EXPECT_TRUE(WaitFor([] { return Heard(L"255 128 0"); }, 5000, "the selected entry heard"));
    PressKeys({VK_RIGHT});
    EXPECT_TRUE(WaitFor([] { return Heard(L"18 52 86, pinned"); }, 5000, "the next entry heard"));
    // Its menu by keyboard: the seventh item unpins it, and the reader hears the new name.
    PressKeys({VK_SHIFT, VK_F10});
    ASSERT_TRUE(WaitFor([&] { return app.VisibleTopWindow(L"#32768") != nullptr; }, 5000,
                        "the entry's menu"));
    for (int i = 0; i < 7; ++i) PressKeys({VK_DOWN});
    PressKeys({VK_RETURN});
    EXPECT_TRUE(WaitFor([] { return Heard(L"18 52 86"); }, 5000, "the entry heard unpinned"));
    UnhookWinEvent(hook);
    CoUninitialize();
    EXPECT_EQ(AccessibleElements(list)[2].name, L"18 52 86");
}
