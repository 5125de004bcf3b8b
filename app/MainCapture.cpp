// The main window's side of screen capture: the Capture page, the capture command and view.
#include "app/Components.h"
#include "app/ControlIds.h"
#include "app/TintsnatchMain.h"

void TTintsnatch4::CreateCapturePage() {}
void TTintsnatch4::CreateCaptureView() {}
void TTintsnatch4::CreateCaptureEngine() {}
void TTintsnatch4::CaptureExecute() {}
void TTintsnatch4::rgCaptureClick() {}
void TTintsnatch4::FileSaveAs1Execute() {}
void TTintsnatch4::FileSaveAs1Accept(const std::wstring&) {}
void TTintsnatch4::PrintDlg1Execute() {}
void TTintsnatch4::CopyCapturedImage() {}
void TTintsnatch4::UpdateCaption() {}
bool TTintsnatch4::CaptureCommand(int, int) { return false; }
