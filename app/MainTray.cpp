// The main window's tray icon, its menu and the show/hide command.
#include "app/Components.h"
#include "app/ControlIds.h"
#include "app/TintsnatchMain.h"

void TTintsnatch4::CreateTray() {}
void TTintsnatch4::SyncTrayMenu() {}

void TTintsnatch4::ShowHideExecute() {
    ShowWindow(Handle(), win::IsShown(Handle()) ? SW_HIDE : SW_SHOW);
    if (Action* a = actions_.Find(L"ShowHide")) a->Checked = !a->Checked;
    SyncTrayMenu();
}

void TTintsnatch4::TrayIconDblClick() { ShowHideExecute(); }
