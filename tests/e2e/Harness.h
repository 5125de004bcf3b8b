#pragma once
// End-to-end harness: starts Tintsnatch4.exe as a user does, and looks at it only the way a
// user's tools can: windows, texts, positions, the clipboard, files, the registry, pixels.
#include <functional>
#include <string>

#include "tests/support/TestSupport.h"

namespace e2e {

using namespace testsupport;

// A copy of Tintsnatch4.exe in a folder of its own (so each test has its own settings file),
// started as a user starts it.
class App {
  public:
    // The folder, in the temp folder, starts with prefix and is unique to this App; a failure to
    // make it fails the test.
    explicit App(const std::wstring& prefix = L"ts-e2e");
    ~App();  // closes the app if still running, then removes its folder
    App(const App&) = delete;
    App& operator=(const App&) = delete;

    // Starts the program and waits for its main window; false on failure. Launch and
    // WaitForWindow are its two halves, for a start that shows a message first.
    testing::AssertionResult Start();
    testing::AssertionResult Launch();
    testing::AssertionResult WaitForWindow(DWORD timeoutMs = 15000);
    // Closes the main window (like Alt+F4) and waits for the process to end.
    testing::AssertionResult Close(DWORD timeoutMs = 10000);
    bool Running() const;
    // Waits until the program has taken the input and messages queued for it so far (a hotkey,
    // say, whose effect nothing on screen shows): two round trips through its message loop,
    // the second of which comes only after the loop went back for the next message.
    testing::AssertionResult Handled();
    // Waits until the control has the keyboard focus, as a click into it gives it.
    testing::AssertionResult WaitForFocus(HWND control, DWORD timeoutMs = 5000) const;
    // The window that has the program's keyboard focus.
    HWND Focus() const;
    // Opens the options view as a keyboard user does: Enter on the tray icon, then the menu's
    // "Options"; done once the focus is on the page strip.
    testing::AssertionResult OpenOptionsByKeyboard();
    testing::AssertionResult WaitForExit(DWORD timeoutMs);
    // Presses the show/hide key (F6) and waits until the window is shown or hidden as asked and
    // the program has handled it.
    testing::AssertionResult ShowHide(bool shown);
    DWORD ExitCode() const;

    HWND MainWindow() const { return main_; }
    HWND Control(int id) const;
    std::wstring Text(int id) const;
    std::wstring Caption() const;
    RECT WindowRect() const;
    SIZE WindowSize() const;
    bool Visible(int id) const;
    // A shown top-level window of the program of that class (an overlay, a dialog, a menu).
    HWND VisibleTopWindow(const wchar_t* className) const;
    // Waits until such a window (an overlay) is shown and in front, taking the keys.
    testing::AssertionResult WaitForFront(const wchar_t* className, DWORD timeoutMs = 8000) const;
    DWORD ProcessId() const { return pi_.dwProcessId; }
    const std::wstring& Folder() const { return folder_; }
    std::wstring ExePath() const { return folder_ + L"\\Tintsnatch4.exe"; }

  private:
    std::wstring folder_;
    PROCESS_INFORMATION pi_{};
    HWND main_ = nullptr;
};

// The user's window takes the foreground, as a click into it gives it, once the program's window
// has had it after its start; true once that holds.
bool ActivateUsersWindow(const App& app, HWND window);

// Writes the screen to a PNG file with the program's own encoder.
bool SaveScreenshot(const std::wstring& path);

}  // namespace e2e
