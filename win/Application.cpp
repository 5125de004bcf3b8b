#include "win/Application.h"

#include "win/ErrorReport.h"

namespace win {

TApplication& Application() {
    static TApplication app;
    return app;
}

void TApplication::Initialize() {
    if (Handle()) return;
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_BAR_CLASSES | ICC_TAB_CLASSES |
                                             ICC_HOTKEY_CLASS | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
    icon_ = LoadIconW(Instance(), L"MAINICON");
    if (!icon_) icon_ = LoadIconW(nullptr, IDI_APPLICATION);
    // The small icon from its own image in the icon file, crisp at every scaling, rather than
    // the large one shrunk by whoever shows it.
    HICON small = nullptr;
    if (FAILED(LoadIconMetric(Instance(), L"MAINICON", LIM_SMALL, &small))) small = nullptr;
    smallIcon_.Reset(small);
    HICON smallOrLarge = small ? small : icon_;
    RegisterClass(L"TintsnatchApplication", 0, nullptr, nullptr, icon_);
    int x = GetSystemMetrics(SM_CXSCREEN) / 2;
    int y = GetSystemMetrics(SM_CYSCREEN) / 2;
    // Visible but of zero size: it exists only for the taskbar button.
    Create(0, L"TintsnatchApplication", title_.c_str(),
           WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX, x, y, 0, 0,
           nullptr);
    // The class takes the small one beside the large one (the registration helper sets only
    // the large). Refused, the class would shrink the large one; the window below keeps both
    // for the taskbar and the task switcher all the same.
    (void)SetClassLongPtrW(Handle(), GCLP_HICONSM, reinterpret_cast<LONG_PTR>(smallOrLarge));
    SendMessageW(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
    SendMessageW(Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallOrLarge));
}

void TApplication::SetTitle(const std::wstring& title) {
    title_ = title;
    if (Handle()) SetWindowTextW(Handle(), title_.c_str());
}

bool TApplication::IsMinimized() const { return Handle() && ::IsIconic(Handle()); }

bool TApplication::Owns(HWND window) const {
    if (!Handle() || !window) return false;
    for (HWND h = GetAncestor(window, GA_ROOT); h; h = GetWindow(h, GW_OWNER))
        if (h == Handle()) return true;
    return false;
}

void TApplication::NoteUserWindow() {
    HWND foreground = GetForegroundWindow();
    if (foreground && !Owns(foreground)) userWindow_ = foreground;
}

HWND TApplication::UserWindow() const {
    return userWindow_ && IsWindow(userWindow_) && IsWindowVisible(userWindow_) ? userWindow_
                                                                                : nullptr;
}

HWND TApplication::FrontBefore() const {
    return frontBefore_ && IsWindow(frontBefore_) ? frontBefore_ : nullptr;
}

void TApplication::NoteFront() {
    NoteUserWindow();
    frontBefore_ = GetForegroundWindow();
}

void TApplication::BringToFront() {
    NoteFront();
    if (Handle()) SetForegroundWindow(Handle());
}

void TApplication::Minimize() {
    NoteUserWindow();
    if (!Handle() || IsMinimized()) return;
    hiddenByMinimize_.clear();
    DWORD pid = GetCurrentProcessId();
    // Collect first: hiding changes the z-order that EnumWindows walks.
    std::vector<HWND> windows;
    EnumWindows(
        [](HWND h, LPARAM lp) -> BOOL {
            reinterpret_cast<std::vector<HWND>*>(lp)->push_back(h);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&windows));
    for (HWND h : windows) {
        DWORD owner = 0;
        GetWindowThreadProcessId(h, &owner);
        if (owner != pid || h == Handle() || !IsWindowVisible(h)) continue;
        if (GetWindow(h, GW_OWNER) != Handle()) continue;
        hiddenByMinimize_.push_back(h);
        // Off the screen first, then the notice: the default handling of the parent-closing
        // notice hides a window that is still visible with ShowWindow, which the window takes for
        // a hiding of its own (the main window would release its window-shown hotkeys).
        SetWindowPos(h, nullptr, 0, 0, 0, 0,
                     SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        SendMessageW(h, WM_SHOWWINDOW, FALSE, SW_PARENTCLOSING);
    }
    ShowWindow(Handle(), SW_MINIMIZE);
}

void TApplication::Restore() {
    if (!Handle()) return;
    BringBack(true);
    HWND target = mainWindow_ && IsWindowVisible(mainWindow_) ? mainWindow_ : Handle();
    SetForegroundWindow(target);
}

void TApplication::RestoreTo(std::initializer_list<HWND> candidates) {
    if (!Handle()) return;
    // Nothing of ours is activated on the way: the keys go where they are given.
    BringBack(false);
    for (HWND to : candidates)
        if (to && IsWindow(to) && IsWindowVisible(to)) {
            // Refused when the program never had the foreground meanwhile (the platform kept it
            // with the window the user was in): that window has it still.
            (void)SetForegroundWindow(to);
            return;
        }
    HWND target = mainWindow_ && IsWindowVisible(mainWindow_) ? mainWindow_ : Handle();
    SetForegroundWindow(target);
}

void TApplication::BringBack(bool activate) {
    if (IsMinimized()) ShowWindow(Handle(), activate ? SW_RESTORE : SW_SHOWNOACTIVATE);
    for (HWND h : hiddenByMinimize_) {
        if (!IsWindow(h)) continue;
        SetWindowPos(h, nullptr, 0, 0, 0, 0,
                     SWP_SHOWWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        SendMessageW(h, WM_SHOWWINDOW, TRUE, SW_PARENTOPENING);
    }
    hiddenByMinimize_.clear();
}

int TApplication::AddHook(Hook hook) {
    hooks_.emplace_back(nextHookId_, std::move(hook));
    return nextHookId_++;
}

void TApplication::RemoveHook(int id) {
    std::erase_if(hooks_, [id](const auto& h) { return h.first == id; });
}

LRESULT TApplication::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    // Copy: a hook may remove itself while it runs.
    auto hooks = hooks_;
    for (auto& [id, hook] : hooks)
        if (hook(msg, wp, lp)) return 0;
    switch (msg) {
        case WM_SYSCOMMAND:
            switch (wp & 0xFFF0) {
                case SC_MINIMIZE:
                    Minimize();
                    return 0;
                case SC_RESTORE:
                    Restore();
                    return 0;
                case SC_CLOSE:
                    if (mainWindow_) PostMessageW(mainWindow_, WM_CLOSE, 0, 0);
                    return 0;
            }
            break;
        case WM_ACTIVATEAPP:
            // Another program has the foreground now: what BringToFront noted is history.
            if (!wp) frontBefore_ = nullptr;
            break;
        case WM_ACTIVATE:
            // Activation of the zero-size window passes on to the main window.
            if (LOWORD(wp) != WA_INACTIVE && mainWindow_ && IsWindowVisible(mainWindow_) &&
                !IsMinimized()) {
                SetFocus(mainWindow_);
                return 0;
            }
            break;
        case WM_CLOSE:
            if (mainWindow_) PostMessageW(mainWindow_, WM_CLOSE, 0, 0);
            return 0;
    }
    return Window::HandleMessage(msg, wp, lp);
}

void TApplication::Dispatch(MSG& msg) {
    if (filter_ && filter_(msg)) return;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
}

int TApplication::Run() {
    if (mainWindow_ && !terminated_) {
        ShowWindow(Handle(), SW_SHOWNORMAL);
        ShowWindow(mainWindow_, SW_SHOWNORMAL);
        SetForegroundWindow(mainWindow_);
    }
    MSG msg;
    while (!terminated_) {
        BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0 || got == -1) break;
        Dispatch(msg);
    }
    terminated_ = true;
    return 0;
}

void TApplication::RunModalLoop(const std::function<bool()>& done) {
    MSG msg;
    while (!done()) {
        BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0 || got == -1) {
            // Pass the quit request on to the outer loop.
            terminated_ = true;
            PostQuitMessage(0);
            return;
        }
        Dispatch(msg);
    }
}

void TApplication::ProcessMessages() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            terminated_ = true;
            return;
        }
        Dispatch(msg);
    }
}

}  // namespace win
