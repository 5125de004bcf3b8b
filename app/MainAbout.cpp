// The main window's hints and the About page.
#include "app/Components.h"
#include "app/ControlIds.h"
#include "app/TintsnatchMain.h"

void TTintsnatch4::CreateAboutPage() {}
void TTintsnatch4::CreateHints() {}
bool TTintsnatch4::AboutCommand(int, int) { return false; }
