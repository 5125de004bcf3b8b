#include "tray/JvTrayIcon.h"

#include <winver.h>

#include <cstring>
#include <vector>

#include "win/Application.h"
#include "win/ErrorReport.h"
#include "win/Text.h"

namespace {

constexpr UINT_PTR AddRetryTimer = 1;

std::uint32_t ReadShell32Version() {
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeA("shell32.dll", &ignored);
    if (size == 0) return 0;
    std::vector<char> data(size);
    if (!GetFileVersionInfoA("shell32.dll", 0, size, data.data())) return 0;
    void* block = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(data.data(), "\\", &block, &length) || !block ||
        length < sizeof(VS_FIXEDFILEINFO))
        return 0;
    return static_cast<const VS_FIXEDFILEINFO*>(block)->dwFileVersionMS;
}

// The tip in the user's code page, within `limit` bytes. Cutting the converted bytes could split
// a double-byte character, so characters are dropped from the wide text until it fits.
std::string AnsiTip(std::wstring tip, std::size_t limit) {
    std::string ansi = win::ToAnsi(tip);
    while (ansi.size() > limit && !tip.empty()) {
        tip.pop_back();
        ansi = win::ToAnsi(tip);
    }
    return ansi;
}

tray::TShiftState CurrentShiftState() {
    auto down = [](int key) { return GetKeyState(key) < 0; };
    tray::TShiftState s = 0;
    if (down(VK_SHIFT)) s |= tray::ssShift;
    if (down(VK_MENU)) s |= tray::ssAlt;
    if (down(VK_CONTROL)) s |= tray::ssCtrl;
    if (down(VK_LBUTTON)) s |= tray::ssLeft;
    if (down(VK_RBUTTON)) s |= tray::ssRight;
    if (down(VK_MBUTTON)) s |= tray::ssMiddle;
    return s;
}

}  // namespace

TJvTrayIcon::Shell TJvTrayIcon::Shell::Platform() {
    Shell s;
    s.notify = [](DWORD message, NOTIFYICONDATAA* record) {
        return Shell_NotifyIconA(message, record);
    };
    s.findTrayWindow = [] { return FindWindowA("Shell_TrayWnd", nullptr); };
    s.shellVersion = [] {
        static tray::ShellVersionCache cache;
        return cache.Get(ReadShell32Version);
    };
    return s;
}

void TJvTrayIcon::MessageWindow::Create() {
    RegisterClass(L"TJvTrayIconWindow");
    // A hidden top-level window rather than a message-only one: the menu needs an owner that can
    // become the foreground window.
    Window::Create(0, L"TJvTrayIconWindow", L"", WS_POPUP, 0, 0, 0, 0, nullptr);
}

LRESULT TJvTrayIcon::MessageWindow::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == tray::CallbackMessage) {
        owner_.OnCallback(wp, lp);
        return 0;
    }
    if (msg == owner_.taskbarCreated_ && msg != 0) {
        win::Guarded([this] { owner_.ShellRestarted(); });
        return 0;
    }
    if (msg == WM_TIMER && wp == AddRetryTimer) {
        if (!owner_.active_ || owner_.AddToShell()) KillTimer(Handle(), AddRetryTimer);
        return 0;
    }
    return Window::HandleMessage(msg, wp, lp);
}

TJvTrayIcon::TJvTrayIcon(win::TApplication& app, Shell shell)
    : app_(app), shell_(std::move(shell)) {
    taskbarCreated_ = RegisterWindowMessageW(L"TaskbarCreated");
    window_.Create();
    // The shell broadcasts it from a lower integrity level than an elevated run's, which would
    // never hear it otherwise. Refused, the icon works all the same; only a restarted shell
    // would go without it.
    if (taskbarCreated_ != 0)
        (void)ChangeWindowMessageFilterEx(window_.Handle(), taskbarCreated_, MSGFLT_ALLOW, nullptr);
}

TJvTrayIcon::~TJvTrayIcon() {
    *alive_ = false;
    // A menu still open would otherwise outlive its owner window.
    if (inPopup_) EndMenu();
    if (active_) Deactivate();
    // Also after an activation that failed half-way.
    if (hookId_ != 0) app_.RemoveHook(hookId_);
}

std::uint32_t TJvTrayIcon::ShellVersion() const { return shell_.shellVersion(); }

void TJvTrayIcon::SetActive(bool active) {
    if (active == active_) return;
    if (active)
        Activate();
    else
        Deactivate();
}

void TJvTrayIcon::Activate() {
    if (hookId_ == 0)
        hookId_ =
            app_.AddHook([this](UINT msg, WPARAM wp, LPARAM) { return ApplicationHook(msg, wp); });
    trayWindow_ = shell_.findTrayWindow();
    // The small icon at the system's small-icon size: the shell would shrink the large one.
    HICON appIcon = app_.SmallIcon() ? app_.SmallIcon() : app_.Icon();
    if (!icon_ && appIcon) SetIcon(appIcon);
    tray::RecordFields fields = tray::ActivationRecord(ShellVersion(), hint_);
    ApplyFields(fields);
    // The tip goes with the add: a mouse move over the icon sends it again only when it changed.
    lastTip_ = hint_;
    setVersion_ = fields.setVersion;
    active_ = true;
    if (!AddToShell() && !SetTimer(window_.Handle(), AddRetryTimer, shell_.addRetryMs, nullptr))
        throw win::Error(L"Cannot start the tray icon's timer");
}

bool TJvTrayIcon::AddToShell() {
    // A shell that was busy may answer an add with failure and take the icon all the same: then
    // a change of it succeeds, and it is there.
    if (!shell_.notify(NIM_ADD, &record_) && !shell_.notify(NIM_MODIFY, &record_)) return false;
    // A shell older than version 4 refuses it and goes on sending the earlier layout.
    version4_ = setVersion_ && shell_.notify(NIM_SETVERSION, &record_) &&
                record_.uVersion >= tray::NotifyIconVersion;
    return true;
}

void TJvTrayIcon::Deactivate() {
    if (hookId_ != 0) {
        app_.RemoveHook(hookId_);
        hookId_ = 0;
    }
    (void)KillTimer(window_.Handle(), AddRetryTimer);  // fails only when it was not running
    Notify(NIM_DELETE);
    active_ = false;
}

void TJvTrayIcon::ApplyFields(const tray::RecordFields& fields) {
    record_.cbSize = fields.size;
    record_.hWnd = window_.Handle();
    record_.uID = fields.id;
    record_.uCallbackMessage = fields.callbackMessage;
    record_.uFlags = fields.flags;
    record_.hIcon = icon_.Get();
    std::string tip = AnsiTip(fields.tip, tray::TipLimit(ShellVersion()));
    std::memset(record_.szTip, 0, sizeof record_.szTip);
    std::memcpy(record_.szTip, tip.data(), tip.size());
    record_.uVersion = fields.version;
}

void TJvTrayIcon::Notify(DWORD message) {
    // Only the add is checked (AddToShell): a change or a removal the shell refuses leaves
    // nothing to do, and the show/hide hotkey brings the window back in any case.
    (void)shell_.notify(message, &record_);
}

void TJvTrayIcon::SetHint(const std::wstring& hint) {
    CheckTrayRecreated();
    hint_ = tray::HintForShell(hint, ShellVersion());
}

void TJvTrayIcon::SetIcon(HICON icon) {
    HICON copy = nullptr;
    if (icon) {
        copy = CopyIcon(icon);
        if (!copy) throw win::Error(L"Cannot copy the tray icon");
    }
    icon_.Reset(copy);
    IconChanged();
}

void TJvTrayIcon::IconChanged() {
    CheckTrayRecreated();
    record_.hIcon = icon_.Get();
    if (active_) Notify(NIM_MODIFY);
}

void TJvTrayIcon::CheckTrayRecreated() {
    if (!active_) return;
    HWND tray = shell_.findTrayWindow();
    if (tray == trayWindow_) return;
    trayWindow_ = tray;
    Deactivate();
    Activate();
}

void TJvTrayIcon::ShellRestarted() {
    if (!active_) return;
    // Added afresh, as at activation; the tray window it finds is the new shell's.
    Deactivate();
    Activate();
}

void TJvTrayIcon::OnCallback(WPARAM wp, LPARAM lp) {
    const tray::Callback callback =
        tray::DecodeCallback(wp, static_cast<std::uint64_t>(lp), version4_);
    // Version 4 tells where the icon is: a menu opened by keyboard belongs there, not wherever
    // the mouse happens to be.
    POINT p{callback.x, callback.y};
    if (!callback.hasAnchor && !GetCursorPos(&p)) {
        DWORD pos = GetMessagePos();
        p = {GET_X_LPARAM(pos), GET_Y_LPARAM(pos)};
    }
    tray::TShiftState shift = CurrentShiftState();
    tray::CallbackRoute route = tray::RouteCallback(callback, version4_);
    const bool byKeyboard = tray::MenuByKeyboard(callback.event, lastEvent_, version4_);
    if (callback.event != 0x0200) lastEvent_ = callback.event;
    switch (route.action) {
        case tray::CallbackAction::TipRefresh:
            RefreshTip();
            break;
        case tray::CallbackAction::PopupMenu: {
            std::shared_ptr<bool> alive = alive_;
            (void)PopupAt(p);
            if (*alive && byKeyboard) ReturnFocus();
            break;
        }
        case tray::CallbackAction::KeySelect:
            KeySelect(p);
            break;
        case tray::CallbackAction::DoubleClick:
            if (OnDblClick) OnDblClick(route.button, shift, p.x, p.y);
            break;
        case tray::CallbackAction::None:
            break;
    }
}

void TJvTrayIcon::KeySelect(POINT p) {
    if (!keySelect_.Accept(GetTickCount64())) return;
    std::shared_ptr<bool> alive = alive_;
    (void)PopupAt(p);
    if (!*alive) return;
    keySelect_.Ended(GetTickCount64());
    ReturnFocus();
}

void TJvTrayIcon::ReturnFocus() {
    // A menu the keyboard opened hands the focus back to the notification area, where the user
    // was, once it closed and its command ran: unless that command brought a window of ours
    // into view and to the front (the options), where the user now works. Otherwise the focus
    // would stay with the menu's hidden owner, where no key does anything.
    if (!active_) return;
    HWND front = GetForegroundWindow();
    DWORD process = 0;
    if (front && IsWindowVisible(front) && GetWindowThreadProcessId(front, &process) &&
        process == GetCurrentProcessId())
        return;
    Notify(NIM_SETFOCUS);
}

void TJvTrayIcon::RefreshTip() {
    if (hint_ == lastTip_) return;
    lastTip_ = hint_;
    std::uint32_t version = ShellVersion();
    std::string tip = AnsiTip(tray::TipText(hint_, version), tray::TipLimit(version));
    std::memset(record_.szTip, 0, sizeof record_.szTip);
    std::memcpy(record_.szTip, tip.data(), tip.size());
    record_.uFlags = tray::TipRefreshFlags | (record_.uFlags & tray::FlagShowTip);
    if (active_) Notify(NIM_MODIFY);
}

bool TJvTrayIcon::PopupAt(POINT p) {
    if (!popupMenu_ || inPopup_) return false;
    if (OnPopup) OnPopup();
    std::shared_ptr<bool> alive = alive_;
    HWND owner = window_.Handle();
    // The owner must be the foreground window, or the menu would not close when the user clicks
    // elsewhere; the system may refuse, and the menu still opens.
    SetForegroundWindow(owner);
    inPopup_ = true;
    UINT command = static_cast<UINT>(TrackPopupMenu(
        popupMenu_, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD | TPM_NONOTIFY,
        p.x, p.y, 0, owner, nullptr));
    if (!*alive) return command != 0;
    inPopup_ = false;
    // Lets the menu's foreground switch settle, so the next pop-up opens and closes properly.
    PostMessageW(owner, WM_NULL, 0, 0);
    // Last: the command may end the component.
    if (command != 0 && OnMenuCommand) OnMenuCommand(command);
    return command != 0;
}

bool TJvTrayIcon::ApplicationHook(UINT msg, WPARAM wp) {
    if (msg == WM_SYSCOMMAND && wp == SC_MINIMIZE && active_ && (visibility_ & tvAutoHide))
        win::Guarded([this] { HideApplication(); });
    // Never consumed: the application minimises as usual afterwards.
    return false;
}

void TJvTrayIcon::HideApplication() {
    HWND main = app_.MainWindow();
    if (main && !IsIconic(main)) app_.Minimize();
    // Hiding the application's own window takes its button off the taskbar.
    if (app_.Handle()) ShowWindow(app_.Handle(), SW_HIDE);
    applicationVisible_ = false;
}

void TJvTrayIcon::ShowApplication() {
    HWND h = app_.Handle();
    if (!h) return;
    if (app_.IsMinimized())
        app_.Restore();  // restoring also shows the hidden window, and with it the button
    else if (!IsWindowVisible(h))
        ShowWindow(h, SW_SHOWNA);
    applicationVisible_ = true;
}
