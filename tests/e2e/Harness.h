#pragma once
// End-to-end harness: starts Tintsnatch4.exe as a user does, and looks at it only the way a
// user's tools can: windows, texts, positions, the clipboard, files, the registry, pixels.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "win/Platform.h"

namespace e2e {

// Runs the message loop of this (test) process for ms milliseconds.
void Pump(DWORD ms);
// Pumps until done() or the timeout; returns done().
bool WaitFor(const std::function<bool()>& done, DWORD timeoutMs = 5000);

// A copy of Tintsnatch4.exe in a folder of its own (so each test has its own settings file),
// started as a user starts it.
class App {
public:
    // folderName: a subfolder name of the temp folder; empty gives a fresh unique one.
    explicit App(const std::wstring& folderName = L"");
    ~App();  // closes the app if still running, then removes nothing (the folder is reused)
    App(const App&) = delete;
    App& operator=(const App&) = delete;

    // Starts the program and waits for its main window; false on failure. Launch and
    // WaitForWindow are its two halves, for a start that shows a message first.
    bool Start();
    bool Launch();
    bool WaitForWindow(DWORD timeoutMs = 15000);
    // Closes the main window (like Alt+F4) and waits for the process to end.
    bool Close(DWORD timeoutMs = 5000);
    bool Running() const;
    bool WaitForExit(DWORD timeoutMs);
    DWORD ExitCode() const;

    HWND MainWindow() const { return main_; }
    HWND Control(int id) const;
    std::wstring Text(int id) const;
    std::wstring Caption() const;
    RECT WindowRect() const;
    SIZE WindowSize() const;
    bool Visible(int id) const;
    DWORD ProcessId() const { return pi_.dwProcessId; }
    const std::wstring& Folder() const { return folder_; }
    std::wstring ExePath() const { return folder_ + L"\\Tintsnatch4.exe"; }

private:
    std::wstring folder_;
    PROCESS_INFORMATION pi_{};
    HWND main_ = nullptr;
};

// Finds a top-level window of a class that belongs to a process (0: any process).
HWND FindTopWindow(const wchar_t* className, DWORD pid = 0);
HWND FindDescendant(HWND root, int id);
std::wstring WindowTextOf(HWND hwnd);

// A full-screen window of this process painting known colour blocks: the sampler's known pixels.
class PatternWindow {
public:
    struct Block {
        RECT rect;
        COLORREF color;
    };
    // Empty bounds cover the whole primary screen. An owner (the application window, say) makes
    // the window go and come with it.
    explicit PatternWindow(std::vector<Block> blocks, COLORREF background = RGB(40, 40, 40),
                           RECT bounds = {}, HWND owner = nullptr);
    PatternWindow(const PatternWindow&) = delete;
    PatternWindow& operator=(const PatternWindow&) = delete;
    ~PatternWindow();
    HWND Handle() const { return hwnd_; }

private:
    static LRESULT CALLBACK Proc(HWND, UINT, WPARAM, LPARAM);
    HWND hwnd_ = nullptr;
    std::vector<Block> blocks_;
    COLORREF background_;
};

// Input as a user gives it.
void MoveCursor(int x, int y);
void PressKeys(const std::vector<WORD>& keys);  // presses in order, releases in reverse
void Click(int x, int y, bool right = false);

// The clipboard's text (CF_UNICODETEXT), or "" when it has none.
std::wstring ClipboardText();
void SetClipboardText(const std::wstring& text);

// Writes the screen to a PNG file with the program's own encoder.
bool SaveScreenshot(const std::wstring& path);
COLORREF ScreenPixel(int x, int y);

}  // namespace e2e
