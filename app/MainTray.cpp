// The main window's tray icon, its menu and the show/hide command.
#include "app/Components.h"
#include "app/ControlIds.h"
#include "app/TintsnatchMain.h"
#include "win/Application.h"
#include "win/Controls.h"
#include "win/ErrorReport.h"

namespace {
void AppendItem(HMENU menu, UINT flags, UINT_PTR itemId, const wchar_t* caption) {
    if (!AppendMenuW(menu, flags, itemId, caption)) throw win::Error(L"Cannot build the tray menu");
}
}  // namespace

void TTintsnatch4::CreateTray() {
    TrayMenu.Reset(CreatePopupMenu());
    if (!TrayMenu) throw win::Error(L"Cannot create the tray menu");
    AppendItem(TrayMenu.Get(), MF_STRING, id::Hide1, act_.ShowHide->Caption.c_str());
    AppendItem(TrayMenu.Get(), MF_STRING, id::Options1, L"&Options");
    AppendItem(TrayMenu.Get(), MF_STRING, id::RunonStartUp1, L"&Run on Start Up");
    AppendItem(TrayMenu.Get(), MF_SEPARATOR, 0, nullptr);
    AppendItem(TrayMenu.Get(), MF_STRING, id::Exit1, act_.FileExit1->Caption.c_str());

    TrayIcon = std::make_unique<TJvTrayIcon>(win::Application());
    // The hint before the icon goes to the tray, so that the add carries the tip: the shell names
    // the icon by it, also to a screen reader, and a user of the keyboard never hovers over it.
    TrayIcon->SetHint(L"Tintsnatch 4");
    TrayIcon->SetActive(true);
    TrayIcon->SetPopupMenu(TrayMenu.Get());
    TrayIcon->OnDblClick = [this](tray::TMouseButton, tray::TShiftState, int, int) {
        TrayIconDblClick();
    };
    // The check marks follow states that other commands change too (the start-up registration),
    // so they are brought up to date each time the menu opens.
    TrayIcon->OnPopup = [this] { SyncTrayMenu(); };
    TrayIcon->OnMenuCommand = [this](UINT item) {
        switch (item) {
            case id::Hide1:
                act_.ShowHide->Execute();
                break;
            case id::Options1:
                Options1Click();
                // Chosen by keyboard or mouse, the view it opens can be used by keyboard at once.
                // A hidden window stays hidden ("&Visible" alone shows it) and the focus stays
                // where it was: in an invisible window no key would do anything the user sees.
                if (options1Checked_ && IsWindowVisible(Handle())) FocusOptions();
                break;
            case id::RunonStartUp1:
                act_.RunWinStartUp->Execute();
                SyncTrayMenu();
                // The next show restores the file: a tick made while hidden is saved now, or
                // that show would take it back.
                if (!win::IsShown(Handle()) && JvFormStorage1) JvFormStorage1->KeepFileCurrent();
                break;
            case id::Exit1:
                act_.FileExit1->Execute();
                break;
        }
    };
    SyncTrayMenu();
}

void TTintsnatch4::SyncTrayMenu() {
    if (!TrayMenu) return;
    auto mark = [this](int item, bool checked) {
        CheckMenuItem(TrayMenu.Get(), static_cast<UINT>(item),
                      MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
    };
    mark(id::Hide1, act_.ShowHide->Checked);
    mark(id::Options1, options1Checked_);
    mark(id::RunonStartUp1, act_.RunWinStartUp->Checked);
}

void TTintsnatch4::ShowHideExecute() {
    auto& app = win::Application();
    // After an auto-hide the application is minimised with its taskbar button gone; showing only
    // the main window would leave it invisible (owned by a minimised application) and the sampling
    // tick stopped. So whenever the application is away, this command brings it back, together
    // with the main window.
    bool applicationAway = app.IsMinimized() || (TrayIcon && !TrayIcon->ApplicationVisible() &&
                                                 !IsWindowVisible(app.Handle()));
    if (applicationAway) {
        if (TrayIcon)
            TrayIcon->ShowApplication();
        else
            app.Restore();
        if (!win::IsShown(Handle())) ShowWindow(Handle(), SW_SHOW);
    } else {
        ShowWindow(Handle(), win::IsShown(Handle()) ? SW_HIDE : SW_SHOW);
    }
    // The check mark says whether the window is visible; set from the window itself, it cannot
    // drift from it.
    act_.ShowHide->Checked = win::IsShown(Handle());
    SyncTrayMenu();
}

void TTintsnatch4::TrayIconDblClick() { ShowHideExecute(); }
