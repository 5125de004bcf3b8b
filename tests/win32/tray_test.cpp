// The tray component against the real window manager and menus (the shell's answers recorded, or
// the real shell), and the main window's tray menu and show/hide command.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/ControlIds.h"
#include "app/TintsnatchMain.h"
#include "capture/Picture.h"
#include "tests/support/TestSupport.h"
#include "tray/JvTrayIcon.h"
#include "win/Application.h"
#include "win/Controls.h"
#include "win/ErrorReport.h"

namespace {

constexpr UINT Callback = 0x0401;

struct NotifyCall {
    DWORD message;
    NOTIFYICONDATAA record;
};

// Records every notification call instead of talking to the shell.
class RecordingShell {
  public:
    std::vector<NotifyCall> calls;
    HWND trayWindow = reinterpret_cast<HWND>(static_cast<INT_PTR>(0x1000));
    std::uint32_t version = 0x00060001;
    int refuseAdds = 0;  // as many first adds fail, as a notification area not ready yet answers
    bool holds = false;  // whether the icon is in the shell: only then does a change succeed

    TJvTrayIcon::Shell Make() {
        TJvTrayIcon::Shell s;
        s.notify = [this](DWORD m, NOTIFYICONDATAA* r) {
            calls.push_back({m, *r});
            if (m == NIM_ADD && refuseAdds > 0) {
                --refuseAdds;
                return FALSE;
            }
            if (m == NIM_ADD || m == NIM_DELETE) holds = m == NIM_ADD;
            return m != NIM_MODIFY || holds ? TRUE : FALSE;
        };
        s.findTrayWindow = [this] { return trayWindow; };
        s.shellVersion = [this] { return version; };
        s.addRetryMs = 20;
        return s;
    }
    std::vector<DWORD> Messages() const {
        std::vector<DWORD> out;
        for (const auto& c : calls) out.push_back(c.message);
        return out;
    }
};

using Msgs = std::vector<DWORD>;

// The visible pop-up menu window of this thread, or null.
HWND OpenMenuWindow() {
    HWND found = nullptr;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND h, LPARAM lp) -> BOOL {
            wchar_t cls[16] = {};
            GetClassNameW(h, cls, 16);
            if (wcscmp(cls, L"#32768") != 0 || !IsWindowVisible(h)) return TRUE;
            *reinterpret_cast<HWND*>(lp) = h;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

HWND TrayWindowOfThisThread() {
    HWND found = nullptr;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND h, LPARAM lp) -> BOOL {
            wchar_t cls[32] = {};
            GetClassNameW(h, cls, 32);
            if (wcscmp(cls, L"TJvTrayIconWindow") != 0) return TRUE;
            *reinterpret_cast<HWND*>(lp) = h;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

// Acts on a pop-up menu from inside its modal loop (thread timers keep running there). A menu
// still open two seconds later is ended, so a broken test cannot hang.
class MenuProbe {
  public:
    explicit MenuProbe(std::function<void(HWND menuWindow)> onOpen) : onOpen_(std::move(onOpen)) {
        current_ = this;
        start_ = GetTickCount();
        timer_ = SetTimer(nullptr, 0, 20, &MenuProbe::Tick);
    }
    ~MenuProbe() {
        KillTimer(nullptr, timer_);
        current_ = nullptr;
    }
    MenuProbe(const MenuProbe&) = delete;
    MenuProbe& operator=(const MenuProbe&) = delete;
    bool Ran() const { return ran_; }

  private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        MenuProbe* self = current_;
        if (!self) return;
        HWND menu = OpenMenuWindow();
        if (menu && !self->ran_) {
            self->ran_ = true;
            self->onOpen_(menu);
        } else if (menu && GetTickCount() - self->start_ > 2000) {
            EndMenu();
        }
    }
    static inline MenuProbe* current_ = nullptr;
    std::function<void(HWND)> onOpen_;
    UINT_PTR timer_ = 0;
    DWORD start_ = 0;
    bool ran_ = false;
};

struct MenuItem {
    std::wstring caption;
    UINT id;
    bool checked;
    bool operator==(const MenuItem&) const = default;
};

std::vector<MenuItem> ReadMenu(HWND menuWindow) {
    auto menu = reinterpret_cast<HMENU>(SendMessageW(menuWindow, 0x01E1 /* MN_GETHMENU */, 0, 0));
    std::vector<MenuItem> items;
    for (int i = 0, n = GetMenuItemCount(menu); i < n; ++i) {
        wchar_t text[64] = {};
        GetMenuStringW(menu, static_cast<UINT>(i), text, 64, MF_BYPOSITION);
        UINT state = GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION);
        items.push_back({text, GetMenuItemID(menu, i), (state & MF_CHECKED) != 0});
    }
    return items;
}

// A user's key in the open menu: a mnemonic chooses, Esc dismisses.
void PressInMenu(HWND menuWindow, wchar_t mnemonic) {
    PostMessageW(menuWindow, WM_CHAR, mnemonic, 0);
}
void DismissMenu(HWND menuWindow) { PostMessageW(menuWindow, WM_KEYDOWN, VK_ESCAPE, 0); }

POINT MoveCursorTo(int x, int y) {
    testsupport::MoveCursor(x, y);
    POINT p{};
    GetCursorPos(&p);
    return p;
}

class ErrorWatch {
  public:
    ErrorWatch()
        : previous_(
              win::SetErrorReportHandler([this](const std::wstring& t) { reports.push_back(t); })) {
    }
    ~ErrorWatch() { win::SetErrorReportHandler(previous_); }
    std::vector<std::wstring> reports;

  private:
    win::ErrorReportHandler previous_;
};

}  // namespace

// ---------------------------------------------------------------------------------------------
// The component

class TrayIcon : public testing::Test {
  protected:
    RecordingShell shell;
    ErrorWatch errors;
    std::unique_ptr<TJvTrayIcon> icon =
        std::make_unique<TJvTrayIcon>(win::Application(), shell.Make());
    // As a version-4 shell sends it: the event and the icon's identifier in lParam, the icon's
    // anchor point in wParam.
    LRESULT Notify(UINT event, POINT anchor = {}) {
        return SendMessageW(icon->WindowHandle(), Callback, MAKEWPARAM(anchor.x, anchor.y),
                            MAKELPARAM(event, 1));
    }
};

TEST_F(TrayIcon, ActivationAddsTheRecordAndThenSetsTheVersionOnANewShell) {
    EXPECT_TRUE(shell.calls.empty());
    wchar_t cls[32] = {};
    GetClassNameW(icon->WindowHandle(), cls, 32);
    EXPECT_STREQ(cls, L"TJvTrayIconWindow");
    EXPECT_FALSE(IsWindowVisible(icon->WindowHandle()));

    icon->SetActive(true);
    ASSERT_EQ(shell.Messages(), (Msgs{NIM_ADD, NIM_SETVERSION}));
    const NOTIFYICONDATAA& add = shell.calls[0].record;
    // The size the logic works out is the one the platform's headers give this process.
    EXPECT_EQ(add.cbSize, NOTIFYICONDATAA_V2_SIZE);
    EXPECT_EQ(add.hWnd, icon->WindowHandle());
    EXPECT_EQ(add.uID, 1u);
    EXPECT_EQ(add.uCallbackMessage, 0x0401u);
    EXPECT_EQ(add.uFlags, 0x97u);
    EXPECT_STREQ(add.szTip, "") << "no hint set yet";
    EXPECT_STREQ(add.szInfo, "") << "no balloon";
    // No icon of its own: a copy of the application's.
    ASSERT_NE(icon->Icon(), nullptr);
    EXPECT_NE(icon->Icon(), win::Application().Icon());
    EXPECT_EQ(add.hIcon, icon->Icon());
    EXPECT_EQ(shell.calls[1].record.uVersion, 4u);
    EXPECT_EQ(icon->TrayWindowHandle(), shell.trayWindow);

    icon->SetActive(true);
    EXPECT_EQ(shell.calls.size(), 2u) << "activating twice adds once";

    // An icon set later is sent at once, as the component's own copy.
    shell.calls.clear();
    HICON warning = LoadIconW(nullptr, IDI_WARNING);
    icon->SetIcon(warning);
    ASSERT_EQ(shell.Messages(), (Msgs{NIM_MODIFY}));
    EXPECT_EQ(shell.calls[0].record.hIcon, icon->Icon());
    EXPECT_NE(icon->Icon(), warning);
}

TEST(TrayIconLateShell, AnAddThatFailsTwiceIsTriedAgainUntilTheShellTakesIt) {
    RecordingShell shell;
    shell.refuseAdds = 2;
    TJvTrayIcon icon(win::Application(), shell.Make());
    icon.SetActive(true);
    EXPECT_TRUE(testsupport::WaitFor([&] { return shell.holds; }, 5000, "the icon added"));
    EXPECT_TRUE(testsupport::HoldsFor([&] { return shell.calls.size() == 6u; }, 200,
                                      "no further call once added"));
    EXPECT_EQ(shell.Messages(),
              (Msgs{NIM_ADD, NIM_MODIFY, NIM_ADD, NIM_MODIFY, NIM_ADD, NIM_SETVERSION}));
    // The tray's small icon at the system's small-icon size, from its own image.
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(icon.Icon(), &info));
    gdi::Bitmap mask(info.hbmMask), colour(info.hbmColor);
    EXPECT_EQ(BitmapSize(mask.Get()).cx, GetSystemMetrics(SM_CXSMICON));
}

TEST(TrayIconOldShell, GetsTheShortRecordAndNoVersion) {
    RecordingShell shell;
    shell.version = 0x00040048;
    TJvTrayIcon icon(win::Application(), shell.Make());
    icon.SetActive(true);
    ASSERT_EQ(shell.Messages(), (Msgs{NIM_ADD}));
    EXPECT_EQ(shell.calls[0].record.cbSize, NOTIFYICONDATAA_V1_SIZE);
}

TEST_F(TrayIcon, TheTipFollowsTheHintAtTheNextMouseMoveOnlyWhenItChanged) {
    icon->SetActive(true);
    shell.calls.clear();
    icon->SetHint(L"Tintsnatch 4|Shows the colour under the cursor");
    EXPECT_TRUE(shell.calls.empty()) << "setting the hint sends nothing";

    Notify(0x0200);
    ASSERT_EQ(shell.Messages(), (Msgs{NIM_MODIFY}));
    EXPECT_STREQ(shell.calls[0].record.szTip, "Tintsnatch 4");
    EXPECT_EQ(shell.calls[0].record.uFlags, 0x87u);
    Notify(0x0200);
    EXPECT_EQ(shell.calls.size(), 1u) << "an unchanged hint is not sent again";

    icon->SetHint(std::wstring(200, L'z'));
    Notify(0x0200);
    ASSERT_EQ(shell.calls.size(), 2u);
    EXPECT_EQ(std::string(shell.calls[1].record.szTip), std::string(127, 'z'));

    // Inactive: the record takes the tip, the shell hears nothing.
    icon->SetActive(false);
    shell.calls.clear();
    icon->SetHint(L"Later");
    Notify(0x0200);
    EXPECT_TRUE(shell.calls.empty());
    EXPECT_STREQ(icon->Record().szTip, "Later");
}

TEST_F(TrayIcon, DoubleClicksReportButtonAndAnchorAndErrorsGoToTheReport) {
    icon->SetActive(true);
    const POINT at{-321, 234};
    struct Click {
        tray::TMouseButton button;
        int x, y;
    };
    std::vector<Click> clicks;
    icon->OnDblClick = [&](tray::TMouseButton b, tray::TShiftState, int x, int y) {
        clicks.push_back({b, x, y});
    };
    for (UINT e : {0x0201, 0x0202, 0x0204, 0x0207, 0x0208, 0x0200, 0x0400}) Notify(e, at);
    EXPECT_TRUE(clicks.empty());
    for (UINT e : {0x0203, 0x0206, 0x0209}) Notify(e, at);
    ASSERT_EQ(clicks.size(), 3u);
    EXPECT_EQ(clicks[0].button, tray::TMouseButton::mbLeft);
    EXPECT_EQ(clicks[1].button, tray::TMouseButton::mbRight);
    EXPECT_EQ(clicks[2].button, tray::TMouseButton::mbMiddle);
    EXPECT_EQ(clicks[0].x, at.x);
    EXPECT_EQ(clicks[0].y, at.y);

    icon->OnDblClick = [](tray::TMouseButton, tray::TShiftState, int, int) {
        throw win::Error(L"Double-click failed");
    };
    Notify(0x0203);
    EXPECT_EQ(errors.reports, std::vector<std::wstring>{L"Double-click failed."});
    // The component carries on.
    int later = 0;
    icon->OnDblClick = [&](tray::TMouseButton, tray::TShiftState, int, int) { ++later; };
    Notify(0x0203);
    EXPECT_EQ(later, 1);
}

TEST_F(TrayIcon, TheContextMenuAndOneKeySelectOpenTheMenuAtTheIcon) {
    HMENU menu = CreatePopupMenu();
    AppendMenuW(menu, MF_STRING, 10, L"&First");
    AppendMenuW(menu, MF_STRING, 11, L"&Second");
    icon->SetPopupMenu(menu);
    icon->SetActive(true);
    shell.calls.clear();
    int popups = 0;
    std::vector<UINT> chosen;
    icon->OnPopup = [&] { ++popups; };
    icon->OnMenuCommand = [&](UINT itemId) { chosen.push_back(itemId); };

    MoveCursorTo(500, 400);  // the mouse is elsewhere: the menu opens at the icon
    const POINT anchor{200, 150};
    Notify(0x0205, anchor);  // the release before WM_CONTEXTMENU opens nothing
    EXPECT_EQ(popups, 0);
    RECT shown{};
    HWND foreground = nullptr;
    {
        MenuProbe probe([&](HWND m) {
            GetWindowRect(m, &shown);
            foreground = GetForegroundWindow();
            PressInMenu(m, L's');
        });
        Notify(WM_CONTEXTMENU, anchor);
        EXPECT_TRUE(probe.Ran());
    }
    EXPECT_EQ(shown.left, anchor.x);
    EXPECT_EQ(shown.top, anchor.y);
    EXPECT_EQ(foreground, icon->WindowHandle());
    EXPECT_EQ(chosen, std::vector<UINT>{11});
    EXPECT_EQ(popups, 1);
    EXPECT_TRUE(shell.calls.empty()) << "the mouse's menu leaves the focus to the mouse";
    // The null message that follows the menu.
    bool nullPosted = false;
    MSG m;
    while (PeekMessageW(&m, icon->WindowHandle(), 0, 0, PM_REMOVE))
        nullPosted = nullPosted || m.message == WM_NULL;
    EXPECT_TRUE(nullPosted);

    // Enter on the icon: the shell's two key-selects open the menu once, and Esc there gives
    // the focus back to the notification area.
    shell.calls.clear();
    {
        MenuProbe probe([&](HWND menuWindow) {
            Notify(NIN_KEYSELECT, anchor);  // the second, while the menu is up
            DismissMenu(menuWindow);
        });
        Notify(NIN_KEYSELECT, anchor);
        EXPECT_TRUE(probe.Ran());
    }
    Notify(NIN_KEYSELECT, anchor);  // the second, just after the menu closed
    EXPECT_EQ(popups, 2);
    EXPECT_EQ(chosen.size(), 1u) << "a dismissed menu runs nothing";
    EXPECT_EQ(shell.Messages(), (Msgs{NIM_SETFOCUS}));

    // Shift+F10 on the icon: WM_CONTEXTMENU alone. After a command that shows nothing, too, the
    // focus goes back to the notification area.
    shell.calls.clear();
    {
        MenuProbe probe([&](HWND m) { PressInMenu(m, L'f'); });
        Notify(WM_CONTEXTMENU, anchor);
        EXPECT_TRUE(probe.Ran());
    }
    EXPECT_EQ(chosen.back(), 10u);
    EXPECT_EQ(shell.Messages(), (Msgs{NIM_SETFOCUS}));

    icon->SetPopupMenu(nullptr);
    Notify(WM_CONTEXTMENU, anchor);
    EXPECT_EQ(popups, 3);
    DestroyMenu(menu);
}

TEST_F(TrayIcon, ANewTrayWindowMakesSettingTheHintOrIconAddTheIconAfresh) {
    icon->SetActive(true);
    shell.calls.clear();
    icon->SetHint(L"same tray");
    EXPECT_TRUE(shell.calls.empty());

    shell.trayWindow = reinterpret_cast<HWND>(static_cast<INT_PTR>(0x2000));
    icon->SetHint(L"new tray");
    EXPECT_EQ(shell.Messages(), (Msgs{NIM_DELETE, NIM_ADD, NIM_SETVERSION}));
    EXPECT_EQ(icon->TrayWindowHandle(), shell.trayWindow);
    EXPECT_EQ(shell.calls[1].record.uFlags, 0x97u);

    shell.calls.clear();
    shell.trayWindow = reinterpret_cast<HWND>(static_cast<INT_PTR>(0x3000));
    icon->SetIcon(LoadIconW(nullptr, IDI_WARNING));
    EXPECT_EQ(shell.Messages(), (Msgs{NIM_DELETE, NIM_ADD, NIM_SETVERSION, NIM_MODIFY}));

    // Only while active.
    icon->SetActive(false);
    shell.calls.clear();
    shell.trayWindow = nullptr;
    icon->SetHint(L"inactive");
    EXPECT_TRUE(shell.calls.empty());
}

// An application object of the test's own, so the process-wide one keeps its state.
class TrayAutoHide : public testing::Test {
  protected:
    RecordingShell shell;
    win::TApplication app;
    std::unique_ptr<TJvTrayIcon> icon;
    HWND main = nullptr;
    void SetUp() override {
        app.Initialize();
        main = CreateWindowExW(0, L"STATIC", L"main", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50,
                               app.Handle(), nullptr, nullptr, nullptr);
        app.SetMainWindow(main);
        ShowWindow(app.Handle(), SW_SHOWNA);
        icon = std::make_unique<TJvTrayIcon>(app, shell.Make());
    }
    void MinimiseCommand(WPARAM command = SC_MINIMIZE) {
        SendMessageW(app.Handle(), WM_SYSCOMMAND, command, 0);
    }
};

TEST_F(TrayAutoHide, TheMinimiseCommandAlsoTakesTheApplicationOffTheTaskbarWhileActive) {
    icon->SetActive(true);
    MinimiseCommand();
    EXPECT_TRUE(app.IsMinimized());
    EXPECT_FALSE(IsWindowVisible(app.Handle())) << "no taskbar button";
    EXPECT_FALSE(IsWindowVisible(main));
    EXPECT_FALSE(icon->ApplicationVisible());
    EXPECT_EQ(shell.Messages(), (Msgs{NIM_ADD, NIM_SETVERSION})) << "the icon stays";

    icon->ShowApplication();
    EXPECT_FALSE(app.IsMinimized());
    EXPECT_TRUE(IsWindowVisible(app.Handle()));
    EXPECT_TRUE(IsWindowVisible(main));
    EXPECT_TRUE(icon->ApplicationVisible());

    // From here the application is minimised with its button: a command that the hook acted on
    // would hide it.
    app.Minimize();
    ASSERT_TRUE(IsWindowVisible(app.Handle()));
    MinimiseCommand(SC_MINIMIZE | 2);
    EXPECT_TRUE(IsWindowVisible(app.Handle())) << "only the exact minimise command counts";
    icon->SetActive(false);
    MinimiseCommand();
    EXPECT_TRUE(IsWindowVisible(app.Handle())) << "inactive, the component leaves it alone";

    // Destruction removes the icon and the hook.
    icon->SetActive(true);
    HWND window = icon->WindowHandle();
    shell.calls.clear();
    icon.reset();
    ASSERT_EQ(shell.Messages(), (Msgs{NIM_DELETE}));
    EXPECT_EQ(shell.calls[0].record.hWnd, window);
    EXPECT_EQ(shell.calls[0].record.uID, 1u);
    EXPECT_FALSE(IsWindow(window));
    MinimiseCommand();
    EXPECT_TRUE(IsWindowVisible(app.Handle())) << "the hook left with the component";
}

TEST(TrayIconWithTheShell, TheShellKnowsTheIconExactlyWhileItIsActive) {
    if (!FindWindowW(L"Shell_TrayWnd", nullptr)) GTEST_SKIP() << "no notification area";
    auto known = [](HWND window) {
        NOTIFYICONDATAW probe{};
        probe.cbSize = sizeof probe;
        probe.hWnd = window;
        probe.uID = 1;
        return Shell_NotifyIconW(NIM_MODIFY, &probe) != FALSE;  // changes nothing: no flags
    };
    TJvTrayIcon icon(win::Application());
    HWND window = icon.WindowHandle();
    EXPECT_FALSE(known(window));
    icon.SetActive(true);
    EXPECT_TRUE(known(window));
    icon.SetHint(L"Tintsnatch 4");
    SendMessageW(window, Callback, 1, 0x0200);
    EXPECT_STREQ(icon.Record().szTip, "Tintsnatch 4");
    EXPECT_TRUE(known(window));
    icon.SetActive(false);
    EXPECT_FALSE(known(window)) << "removed while its window still exists";
}

// ---------------------------------------------------------------------------------------------
// The main window's tray menu and show/hide

class MainTray : public testing::Test {
  protected:
    ErrorWatch errors;
    TTintsnatch4 form;
    HWND tray = nullptr;
    void SetUp() override {
        form.CreateForm();
        ShowWindow(form.Handle(), SW_SHOWNOACTIVATE);
        tray = TrayWindowOfThisThread();
        ASSERT_NE(tray, nullptr);
    }
    void TearDown() override {
        auto& app = win::Application();
        app.Restore();
        ShowWindow(app.Handle(), SW_HIDE);
    }
    bool VisibleChecked() { return form.Actions().Find(L"ShowHide")->Checked; }
    // Opens the menu as a right-click on the icon does and acts on it.
    std::vector<MenuItem> OpenMenu(wchar_t choose = 0) {
        std::vector<MenuItem> items;
        MenuProbe probe([&](HWND m) {
            items = ReadMenu(m);
            if (choose)
                PressInMenu(m, choose);
            else
                DismissMenu(m);
        });
        SendMessageW(tray, Callback, MAKEWPARAM(200, 150), MAKELPARAM(WM_CONTEXTMENU, 1));
        EXPECT_TRUE(probe.Ran());
        testsupport::DispatchPending();  // the command the menu posted as it closed
        return items;
    }
};

TEST_F(MainTray, TheMenuHasItsItemsAndCheckMarksThatFollowTheirStates) {
    auto* startUp = form.Actions().Find(L"RunWinStartUp");
    ASSERT_NE(startUp, nullptr);
    startUp->Checked = false;
    auto items = OpenMenu();
    std::vector<MenuItem> expected{{L"&Visible", id::Hide1, true},
                                   {L"&Options", id::Options1, false},
                                   {L"&Run on Start Up", id::RunonStartUp1, false},
                                   {L"", 0, false},
                                   {L"E&xit", id::Exit1, false}};
    EXPECT_EQ(items, expected);

    // The start-up state changes elsewhere; the menu shows it the next time it opens.
    startUp->Checked = true;
    form.Options1Click();
    form.ShowHideExecute();
    items = OpenMenu();
    ASSERT_EQ(items.size(), 5u);
    EXPECT_FALSE(items[0].checked);
    EXPECT_TRUE(items[1].checked);
    EXPECT_TRUE(items[2].checked);
    EXPECT_TRUE(errors.reports.empty());
}

TEST_F(MainTray, ChoosingVisibleOrRunOnStartUpRunsTheirActions) {
    int startUpRuns = 0;
    form.Actions().Find(L"RunWinStartUp")->OnExecute = [&](const Action*) { ++startUpRuns; };

    OpenMenu(L'r');
    EXPECT_EQ(startUpRuns, 1);

    OpenMenu(L'v');
    EXPECT_FALSE(win::IsShown(form.Handle()));
    EXPECT_FALSE(VisibleChecked());

    EXPECT_TRUE(errors.reports.empty());
}

TEST_F(MainTray, TheIconIsAddedWithItsTipShown) {
    const NOTIFYICONDATAA& record = form.Tray()->Record();
    EXPECT_STREQ(record.szTip, "Tintsnatch 4") << "before any mouse move over the icon";
    EXPECT_TRUE(record.uFlags & NIF_SHOWTIP);
}

TEST_F(MainTray, OptionsByKeyboardLeaveTheFocusOutOfAHiddenWindow) {
    SetForegroundWindow(form.Handle());
    SetFocus(form.Handle());
    form.ShowHideExecute();
    ASSERT_FALSE(IsWindowVisible(form.Handle()));
    // Shift+F10 on the icon, then "&Options": the view is pinned in the hidden window, which the
    // focus keeps out of.
    MenuProbe probe([](HWND m) { PressInMenu(m, L'o'); });
    SendMessageW(tray, Callback, MAKEWPARAM(200, 150), MAKELPARAM(WM_CONTEXTMENU, 1));
    ASSERT_TRUE(probe.Ran());
    testsupport::DispatchPending();
    EXPECT_TRUE(form.OptionsPinned());
    EXPECT_FALSE(IsWindowVisible(form.Handle()));
    const HWND focus = GetFocus();
    EXPECT_FALSE(focus && (focus == form.Handle() || IsChild(form.Handle(), focus)));
    EXPECT_TRUE(errors.reports.empty());
}

TEST_F(MainTray, ShowingAHiddenWindowOfAMinimisedApplicationRestoresBoth) {
    auto& app = win::Application();
    form.ShowHideExecute();
    ASSERT_FALSE(win::IsShown(form.Handle()));
    ASSERT_FALSE(VisibleChecked());
    // Minimised with the window hidden, as by the capture engine: the window alone would come
    // back inside a minimised application, invisible, with the sampling tick stopped.
    app.Minimize();
    ASSERT_TRUE(app.IsMinimized());

    SendMessageW(tray, Callback, 1, 0x0203);
    EXPECT_FALSE(app.IsMinimized());
    EXPECT_TRUE(IsWindowVisible(app.Handle()));
    EXPECT_TRUE(IsWindowVisible(form.Handle()));
    EXPECT_TRUE(VisibleChecked());
    POINT p = MoveCursorTo(5, 7);
    form.Timer1Timer();
    EXPECT_EQ(win::GetText(win::FindControl(form.Handle(), id::Position)),
              L"(" + std::to_wstring(p.x) + L"," + std::to_wstring(p.y) + L")");
    EXPECT_TRUE(errors.reports.empty());
}
