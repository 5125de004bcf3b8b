// The main window's settings storage, start-up registration and single-instance check.
#include "app/Components.h"
#include "app/ControlIds.h"
#include "app/TintsnatchMain.h"

void TTintsnatch4::CreateStorage() {}
void TTintsnatch4::CheckSingleInstance() {}
void TTintsnatch4::ReadStartupState() {}
void TTintsnatch4::RunWinStartUpExecute() {}
bool TTintsnatch4::MiscCommand(int, int) { return false; }
void TTintsnatch4::StorageShowHook() { FormShow(); }
void TTintsnatch4::StorageCloseQueryHook() {}
void TTintsnatch4::StorageDestroyHook() { FormDestroy(); }
