// The main window's magnifiers and the Zoom page.
#include "app/Components.h"
#include "app/ControlIds.h"
#include "app/TintsnatchMain.h"

void TTintsnatch4::CreateZoomPage() {}
void TTintsnatch4::StartMagnifiers() {}
void TTintsnatch4::ZoomSliderChange() {}
void TTintsnatch4::ZoomInExecute() {}
void TTintsnatch4::ZoomOutExecute() {}
void TTintsnatch4::FormMouseWheel(int) {}
void TTintsnatch4::CroshairSizeChange() {}
void TTintsnatch4::cbCroshairClick() {}
bool TTintsnatch4::ZoomCommand(int, int) { return false; }
void TTintsnatch4::OnTrackbar(HWND) {}
