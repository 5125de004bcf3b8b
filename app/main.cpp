// Entry: the application object, the main window, the message loop.
#include "app/TintsnatchMain.h"
#include "hotkeys/HotKeyManager.h"
#include "win/Application.h"
#include "win/ErrorReport.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    auto& app = win::Application();
    app.SetTitle(L"Tintsnatch 4");
    app.SetName(L"Tintsnatch4");
    try {
        app.Initialize();
    } catch (...) {
        win::ReportCurrentException();
        return 1;
    }
    HotKeyModuleStart();
    {
        TTintsnatch4 form;
        win::Guarded([&] { form.CreateForm(); });
        if (form.Handle()) app.Run();
    }
    HotKeyModuleEnd();
    return 0;
}
