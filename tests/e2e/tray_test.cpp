// The notification-area icon as a user meets it: there at start with the application's icon, its
// menu at the cursor, double-clicks hiding and showing the window, the options pin, and exit.
// The icon's notifications are sent to the component's window as the shell sends them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "app/ControlIds.h"
#include "tests/e2e/Harness.h"
// Needs <windows.h> first.
#include <shellapi.h>

using namespace e2e;

namespace {

constexpr UINT TrayCallback = 0x0401;
constexpr UINT MouseMove = 0x0200, LeftDoubleClick = 0x0203, ContextMenu = WM_CONTEXTMENU,
               KeySelect = NIN_KEYSELECT;

// The icon's four tiles (res/make_resources.py).
constexpr COLORREF IconTiles[] = {RGB(230, 57, 70), RGB(42, 157, 143), RGB(233, 196, 106),
                                  RGB(38, 70, 83)};

HWND TrayIconWindow(const App& app) { return FindTopWindow(L"TJvTrayIconWindow", app.ProcessId()); }

// As the shell sends it to an icon of version 4: the event and the icon's identifier in lParam,
// the icon's anchor point in wParam.
void Notify(HWND trayIconWindow, UINT event, POINT anchor = {300, 200}) {
    PostMessageW(trayIconWindow, TrayCallback, MAKEWPARAM(anchor.x, anchor.y),
                 MAKELPARAM(event, 1));
}

// Asks the shell about the icon without changing it (no flags): it answers true only for an
// icon it holds.
bool ShellHoldsIcon(HWND trayIconWindow) {
    NOTIFYICONDATAW probe{};
    probe.cbSize = sizeof probe;
    probe.hWnd = trayIconWindow;
    probe.uID = 1;
    return Shell_NotifyIconW(NIM_MODIFY, &probe) != FALSE;
}

// Wine's own notification area when the X desktop has none.
HWND WineTray() { return FindWindowW(nullptr, L"Wine System Tray"); }

bool Near(COLORREF a, COLORREF b) {
    return std::abs(GetRValue(a) - GetRValue(b)) < 16 &&
           std::abs(GetGValue(a) - GetGValue(b)) < 16 && std::abs(GetBValue(a) - GetBValue(b)) < 16;
}

// Whether the area shows all four tiles of the application's icon; `centre` gets their middle.
bool ShowsTheIcon(RECT area, POINT* centre = nullptr) {
    HDC dc = GetDC(nullptr);
    bool seen[4] = {};
    RECT box{area.right, area.bottom, area.left, area.top};
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x) {
            COLORREF c = GetPixel(dc, x, y);
            for (int i = 0; i < 4; ++i)
                if (Near(c, IconTiles[i])) {
                    seen[i] = true;
                    box = {std::min(box.left, static_cast<LONG>(x)),
                           std::min(box.top, static_cast<LONG>(y)),
                           std::max(box.right, static_cast<LONG>(x)),
                           std::max(box.bottom, static_cast<LONG>(y))};
                }
        }
    ReleaseDC(nullptr, dc);
    if (centre) *centre = {(box.left + box.right) / 2, (box.top + box.bottom) / 2};
    return seen[0] && seen[1] && seen[2] && seen[3];
}

HWND OpenMenu(const App& app) {
    HWND menu = nullptr;
    WaitFor([&] { return (menu = app.VisibleTopWindow(L"#32768")) != nullptr; }, 5000,
            "the tray menu open");
    return menu;
}

bool MenuClosed(const App& app) {
    return WaitFor([&] { return !app.VisibleTopWindow(L"#32768"); }, 5000, "the tray menu closed");
}

// Whether the first item ("&Visible") shows its check mark: dark pixels in the check column of
// the first row (the text starts right of it).
bool FirstItemChecked(HWND menu) {
    RECT r{};
    GetWindowRect(menu, &r);
    HDC dc = GetDC(nullptr);
    int dark = 0;
    for (int y = r.top + 2; y < r.top + 18; ++y)
        for (int x = r.left + 2; x < r.left + 16; ++x) {
            COLORREF c = GetPixel(dc, x, y);
            if (GetRValue(c) < 96 && GetGValue(c) < 96 && GetBValue(c) < 96) ++dark;
        }
    ReleaseDC(nullptr, dc);
    return dark >= 4;
}

// Waits until the menu has painted itself (its face shows right of the first item's caption),
// then tells whether the "&Visible" mark is as expected.
bool VisibleMarkIs(HWND menu, bool checked) {
    return WaitFor(
        [&] {
            RECT r{};
            GetWindowRect(menu, &r);
            return ScreenPixel(r.right - 8, r.top + 10) == GetSysColor(COLOR_MENU) &&
                   FirstItemChecked(menu) == checked;
        },
        5000, "the menu painted with its Visible mark as expected");
}

bool SizeIs(const App& app, int w, int h) {
    SIZE s = app.WindowSize();
    return s.cx == w && s.cy == h;
}

}  // namespace

TEST(Tray, TheIconComesWithTheApplicationAndLeavesWithExit) {
    App app;
    ASSERT_TRUE(app.Start());
    HWND icon = TrayIconWindow(app);
    ASSERT_NE(icon, nullptr);
    EXPECT_TRUE(ShellHoldsIcon(icon));
    HWND wineTray = WineTray();
    if (wineTray) {
        RECT area{};
        GetWindowRect(wineTray, &area);
        EXPECT_TRUE(WaitFor([&] { return IsWindowVisible(wineTray) && ShowsTheIcon(area); }, 5000,
                            "the tray with the icon shown"))
            << "the application's icon in the notification area";
    }

    // A right-click opens the menu with its top-left corner at the icon's anchor point.
    Notify(icon, ContextMenu, {400, 300});
    HWND menu = OpenMenu(app);
    ASSERT_NE(menu, nullptr);
    RECT r{};
    GetWindowRect(menu, &r);
    EXPECT_EQ(r.left, 400);
    EXPECT_EQ(r.top, 300);

    PressKeys({'X'});  // "E&xit"
    ASSERT_TRUE(app.WaitForExit(10000));
    EXPECT_EQ(app.ExitCode(), 0u);
    EXPECT_FALSE(ShellHoldsIcon(icon));
    if (wineTray) {
        EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(wineTray); }, 5000, "the tray hidden"));
    }
}

TEST(Tray, DoubleClickHidesAndShowsTheWindowAndTheVisibleMarkFollows) {
    App app;
    ASSERT_TRUE(app.Start());
    HWND icon = TrayIconWindow(app);
    ASSERT_NE(icon, nullptr);
    MoveCursor(300, 200);
    Notify(icon, MouseMove);  // the tip follows; nothing else changes

    // A real double-click on the icon where Wine shows it, then the shell's notification.
    HWND wineTray = WineTray();
    POINT at{};
    RECT area{};
    if (wineTray && GetWindowRect(wineTray, &area) && ShowsTheIcon(area, &at)) {
        Click(at.x, at.y, false, 2);
    } else {
        Notify(icon, LeftDoubleClick);
    }
    ASSERT_TRUE(WaitFor([&] { return !IsWindowVisible(app.MainWindow()); }, 5000,
                        "the main window hidden"));

    MoveCursor(300, 200);
    Notify(icon, KeySelect);  // the keyboard opens the same menu
    HWND menu = OpenMenu(app);
    ASSERT_NE(menu, nullptr);
    EXPECT_TRUE(VisibleMarkIs(menu, false));
    PressKeys({VK_ESCAPE});
    ASSERT_TRUE(MenuClosed(app));

    Notify(icon, LeftDoubleClick);
    ASSERT_TRUE(
        WaitFor([&] { return IsWindowVisible(app.MainWindow()); }, 5000, "the main window shown"));
    MoveCursor(300, 200);
    Notify(icon, ContextMenu);
    menu = OpenMenu(app);
    ASSERT_NE(menu, nullptr);
    EXPECT_TRUE(VisibleMarkIs(menu, true));
    Click(900, 700);  // a click elsewhere closes the menu
    EXPECT_TRUE(MenuClosed(app));
}

TEST(Tray, MinimisingTakesTheTaskbarButtonAwayAndADoubleClickBringsEverythingBack) {
    App app;
    ASSERT_TRUE(app.Start());
    HWND icon = TrayIconWindow(app);
    HWND application = FindTopWindow(L"TintsnatchApplication", app.ProcessId());
    ASSERT_NE(icon, nullptr);
    ASSERT_NE(application, nullptr);

    // What the taskbar button sends.
    PostMessageW(application, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    ASSERT_TRUE(WaitFor([&] { return IsIconic(application) && !IsWindowVisible(application); },
                        5000, "the application minimised and hidden"));
    EXPECT_FALSE(IsWindowVisible(app.MainWindow()));
    EXPECT_TRUE(ShellHoldsIcon(icon)) << "the icon stays";

    Notify(icon, LeftDoubleClick);
    EXPECT_TRUE(WaitFor(
        [&] {
            return !IsIconic(application) && IsWindowVisible(application) &&
                   IsWindowVisible(app.MainWindow());
        },
        5000, "the application and its window shown again"));
    MoveCursor(50, 60);
    EXPECT_TRUE(WaitFor([&] { return app.Text(id::Position) == L"(50,60)"; }, 5000,
                        "Position showing \"(50,60)\""))
        << "sampling goes on after the restore";
    MoveCursor(300, 200);
    Notify(icon, ContextMenu);
    HWND menu = OpenMenu(app);
    ASSERT_NE(menu, nullptr);
    EXPECT_TRUE(VisibleMarkIs(menu, true));
    PressKeys({VK_ESCAPE});
    EXPECT_TRUE(MenuClosed(app));
}

TEST(Tray, OptionsPinsTheOptionsViewWhereverTheCursorIs) {
    App app;
    ASSERT_TRUE(app.Start());
    HWND icon = TrayIconWindow(app);
    ASSERT_NE(icon, nullptr);
    MoveCursor(100, 100);
    ASSERT_TRUE(WaitFor([&] { return SizeIs(app, 172, 98); }, 5000, "the window 172 x 98"));

    Notify(icon, ContextMenu);
    ASSERT_NE(OpenMenu(app), nullptr);
    PressKeys({'O'});
    ASSERT_TRUE(WaitFor([&] { return SizeIs(app, 300, 220); }, 5000, "the window 300 x 220"));
    MoveCursor(900, 700);
    EXPECT_TRUE(HoldsFor([&] { return SizeIs(app, 300, 220); }, 500,
                         "the options view pinned, with the cursor far away"));
    EXPECT_TRUE(app.Visible(id::Properties));

    Notify(icon, ContextMenu);
    ASSERT_NE(OpenMenu(app), nullptr);
    PressKeys({'O'});
    EXPECT_TRUE(WaitFor([&] { return SizeIs(app, 172, 98); }, 5000, "the window 172 x 98"))
        << "unpinned again";
}

TEST(Tray, TheIconComesBackWhenTheShellStartsItsTrayAfresh) {
    App app;
    ASSERT_TRUE(app.Start());
    HWND icon = TrayIconWindow(app);
    ASSERT_NE(icon, nullptr);
    ASSERT_TRUE(ShellHoldsIcon(icon));
    // A restarted shell holds none of the earlier icons, and tells every program so.
    NOTIFYICONDATAW gone{};
    gone.cbSize = sizeof gone;
    gone.hWnd = icon;
    gone.uID = 1;
    Shell_NotifyIconW(NIM_DELETE, &gone);
    ASSERT_TRUE(
        WaitFor([&] { return !ShellHoldsIcon(icon); }, 5000, "the icon gone from the shell"));
    PostMessageW(HWND_BROADCAST, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
    EXPECT_TRUE(WaitFor([&] { return ShellHoldsIcon(icon); }, 5000, "the icon back in the shell"));
}

namespace {
HWND FocusOf(const App& app) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(app.MainWindow(), nullptr), &info);
    return info.hwndFocus;
}

// Presses the keys and waits until the focus moves, as each Tab does here.
HWND PressAndFocus(const App& app, const std::vector<WORD>& keys) {
    const HWND before = FocusOf(app);
    PressKeys(keys);
    EXPECT_TRUE(WaitFor([&] { return FocusOf(app) != before; }, 5000, "the focus moved"));
    return FocusOf(app);
}

int ShownPage(const App& app) {
    return static_cast<int>(SendMessageW(app.Control(id::Properties), TCM_GETCURSEL, 0, 0));
}
}  // namespace

// The whole way by keyboard: Enter on the icon opens the menu at the icon, "Options" opens the
// view with the focus on its page strip, Ctrl+Tab turns the pages, Tab reaches every control of
// every page and comes back to the strip, and Esc unpins the view.
TEST(Tray, TheKeyboardAloneOpensTheOptionsAndReachesEveryControl) {
    App app;
    ASSERT_TRUE(app.Start());
    HWND icon = TrayIconWindow(app);
    ASSERT_NE(icon, nullptr);
    MoveCursor(700, 500);
    ASSERT_TRUE(WaitFor([&] { return SizeIs(app, 172, 98); }, 5000, "the window 172 x 98"));

    Notify(icon, KeySelect, {200, 150});
    Notify(icon, KeySelect, {200, 150});  // the shell sends it twice
    HWND menu = OpenMenu(app);
    ASSERT_NE(menu, nullptr);
    RECT at{};
    GetWindowRect(menu, &at);
    EXPECT_EQ(at.left, 200);
    EXPECT_EQ(at.top, 150);
    PressKeys({'O'});
    ASSERT_TRUE(MenuClosed(app));
    HWND strip = app.Control(id::Properties);
    ASSERT_TRUE(app.WaitForFocus(strip));
    EXPECT_TRUE(HoldsFor([&] { return !app.VisibleTopWindow(L"#32768"); }, 300,
                         "the second key-select opening no second menu"));

    PressKeys({VK_CONTROL, VK_SHIFT, VK_TAB});
    EXPECT_TRUE(WaitFor([&] { return ShownPage(app) == 7; }, 5000,
                        "Ctrl+Shift+Tab from the first page going to the last"));
    for (int page = 0; page < 8; ++page) {
        PressKeys({VK_CONTROL, VK_TAB});
        ASSERT_TRUE(WaitFor([&] { return ShownPage(app) == page; }, 5000, "the next page"));
        EXPECT_EQ(FocusOf(app), strip);
        // Every control of the page that takes the focus, in its tab order, then the strip.
        std::vector<HWND> expected, walked;
        EnumChildWindows(
            app.Control(id::Properties),
            [](HWND h, LPARAM out) {
                const LONG style = GetWindowLongW(h, GWL_STYLE);
                if ((style & WS_TABSTOP) && IsWindowVisible(h) && IsWindowEnabled(h))
                    reinterpret_cast<std::vector<HWND>*>(out)->push_back(h);
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&expected));
        for (HWND f; !expected.empty() && (f = PressAndFocus(app, {VK_TAB})) != strip &&
                     walked.size() < 40;)
            walked.push_back(f);
        std::vector<HWND> reached = walked;  // each once
        std::sort(reached.begin(), reached.end());
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(reached, expected) << "page " << page;
        // In the order of the layout: down the page, and left to right along a row.
        for (size_t i = 1; i < walked.size(); ++i) {
            RECT a{}, b{};
            GetWindowRect(walked[i - 1], &a);
            GetWindowRect(walked[i], &b);
            EXPECT_TRUE(b.top < a.bottom && a.top < b.bottom ? b.left > a.left : b.top > a.top)
                << "page " << page << ": control " << GetDlgCtrlID(walked[i]) << " after "
                << GetDlgCtrlID(walked[i - 1]);
        }

        if (page == 3) {
            const std::vector<HWND> keys{app.Control(id::hkShowHide),
                                         app.Control(id::hkFixedFollow), app.Control(id::hkCapture),
                                         app.Control(id::hkExit), app.Control(id::hkPick)};
            EXPECT_EQ(walked, keys) << "the Keys page's tab order";
            EXPECT_EQ(PressAndFocus(app, {VK_SHIFT, VK_TAB}), keys.back());
            EXPECT_EQ(PressAndFocus(app, {VK_TAB}), strip);
        }
    }

    for (int i = 0; i < 4; ++i) PressKeys({VK_CONTROL, VK_SHIFT, VK_TAB});
    ASSERT_TRUE(WaitFor([&] { return ShownPage(app) == 3; }, 5000, "the Keys page"));
    ASSERT_EQ(PressAndFocus(app, {VK_TAB}), app.Control(id::hkShowHide));
    PressKeys({VK_ESCAPE});  // in a hotkey edit, which never takes Esc as a shortcut
    ASSERT_TRUE(WaitFor([&] { return SizeIs(app, 172, 98); }, 5000, "the compact view back"));
    MoveCursor(100, 100);
    EXPECT_TRUE(WaitFor(
        [&] {
            RECT r = app.WindowRect();
            return r.left == 120 && r.top == 120;
        },
        5000, "the window following the cursor again: unpinned"));
}
