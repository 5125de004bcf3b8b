// The main window's global hotkeys: the bindings, the Keys page and the dispatch of presses.
#include "app/Components.h"
#include "app/ControlIds.h"
#include "app/TintsnatchMain.h"

void TTintsnatch4::CreateKeysPage() {}
void TTintsnatch4::CreateHotKeyManager() {}
void TTintsnatch4::BindHotKeys() {}
void TTintsnatch4::UnbindHotKeys() {}
void TTintsnatch4::FormShow() {}
void TTintsnatch4::FormHide() {}
void TTintsnatch4::HotKeyManager1HotKeyPressed(std::uint32_t, std::uint16_t) {}
bool TTintsnatch4::KeysCommand(int, int) { return false; }
