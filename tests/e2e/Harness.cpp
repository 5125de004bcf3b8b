#include "tests/e2e/Harness.h"

#include <cstring>
#include <vector>

#include "app/ControlIds.h"
#include "capture/PngEncoder.h"
#include "win/ErrorReport.h"

namespace e2e {

namespace {
std::wstring ModuleFolder() {
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring s = path;
    return s.substr(0, s.find_last_of(L"\\/"));
}

// Removes a folder and what is in it (the copied program, its settings file, captures).
void RemoveTree(const std::wstring& folder) {
    WIN32_FIND_DATAW fd;
    HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &fd);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            std::wstring name = fd.cFileName;
            if (name == L"." || name == L"..") continue;
            std::wstring path = folder + L"\\" + name;
            if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(path);
            } else {
                SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileW(path.c_str());
            }
        } while (FindNextFileW(find, &fd));
        FindClose(find);
    }
    RemoveDirectoryW(folder.c_str());
}
}  // namespace

App::App(const std::wstring& prefix) {
    wchar_t tmp[MAX_PATH];
    GetTempPathW(MAX_PATH, tmp);
    // Wine hands out process ids again in every session on a kept prefix, so the id alone would
    // meet a folder (and settings file) left by an earlier run: the tick count tells them apart,
    // and a name that exists all the same is passed over, never reused.
    static int counter = 0;
    for (int attempt = 0; attempt < 100; ++attempt) {
        folder_ = std::wstring(tmp) + prefix + L"-" + std::to_wstring(GetCurrentProcessId()) +
                  L"-" + std::to_wstring(GetTickCount()) + L"-" + std::to_wstring(++counter);
        if (CreateDirectoryW(folder_.c_str(), nullptr)) break;
        DWORD error = GetLastError();
        if (error != ERROR_ALREADY_EXISTS) {
            ADD_FAILURE() << "cannot make the test folder (error " << error << ")";
            break;
        }
    }
    std::wstring exe = ModuleFolder() + L"\\Tintsnatch4.exe";
    if (!CopyFileW(exe.c_str(), ExePath().c_str(), TRUE))
        ADD_FAILURE() << "cannot copy Tintsnatch4.exe beside the tests into the test folder (error "
                      << GetLastError() << ")";
}

App::~App() {
    if (Running()) {
        if (!Close(3000) && Running()) {
            TerminateProcess(pi_.hProcess, 1);
            WaitForSingleObject(pi_.hProcess, 5000);  // its files close before the folder goes
        }
    }
    if (pi_.hProcess) CloseHandle(pi_.hProcess);
    if (pi_.hThread) CloseHandle(pi_.hThread);
    RemoveTree(folder_);
}

testing::AssertionResult App::Start() {
    testing::AssertionResult launched = Launch();
    return launched ? WaitForWindow() : launched;
}

testing::AssertionResult App::Launch() {
    // A restart of the same copy: the ended process's handles go first.
    if (pi_.hProcess) CloseHandle(pi_.hProcess);
    if (pi_.hThread) CloseHandle(pi_.hThread);
    pi_ = {};
    main_ = nullptr;
    STARTUPINFOW si{};
    si.cb = sizeof si;
    std::wstring cmd = L"\"" + ExePath() + L"\"";
    // Now and then Wine cannot lay out a new process's address space ("failed to map the shared
    // user data") and the start fails with an internal error before any of the program runs:
    // that start is made once more.
    for (int attempt = 0;; ++attempt) {
        if (CreateProcessW(ExePath().c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr,
                           folder_.c_str(), &si, &pi_))
            return testing::AssertionSuccess();
        const DWORD error = GetLastError();
        if (error != ERROR_INTERNAL_ERROR || attempt > 0)
            return testing::AssertionFailure()
                   << "cannot start the program (error " << error << ")";
    }
}

testing::AssertionResult App::WaitForWindow(DWORD timeoutMs) {
    return WaitFor(
        [&] {
            main_ = FindTopWindow(L"TTintsnatch4", pi_.dwProcessId);
            return main_ && IsWindowVisible(main_);
        },
        timeoutMs, "the program's main window shown");
}

testing::AssertionResult App::Handled() {
    for (int trip = 0; trip < 2; ++trip) {
        DWORD_PTR answer = 0;
        if (!SendMessageTimeoutW(main_, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &answer))
            return testing::AssertionFailure() << "the program did not answer within 10 s";
    }
    return testing::AssertionSuccess();
}

testing::AssertionResult App::WaitForFocus(HWND control, DWORD timeoutMs) const {
    return WaitFor(
        [&] {
            GUITHREADINFO info{};
            info.cbSize = sizeof info;
            return GetGUIThreadInfo(GetWindowThreadProcessId(main_, nullptr), &info) &&
                   info.hwndFocus == control;
        },
        timeoutMs, "the keyboard focus in the control");
}

HWND App::Focus() const {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(GetWindowThreadProcessId(main_, nullptr), &info) ? info.hwndFocus
                                                                             : nullptr;
}

testing::AssertionResult App::OpenOptionsByKeyboard() {
    HWND icon = FindTopWindow(L"TJvTrayIconWindow", pi_.dwProcessId);
    if (!icon) return testing::AssertionFailure() << "no tray icon window";
    // Enter on the icon, as the shell tells it (NIN_KEYSELECT, version 4's form).
    PostMessageW(icon, 0x0401, MAKEWPARAM(200, 150), MAKELPARAM(WM_USER + 1, 1));
    if (auto menu = WaitFor([&] { return VisibleTopWindow(L"#32768") != nullptr; }, 5000,
                            "the tray menu open");
        !menu)
        return menu;
    PressKeys({'O'});
    return WaitForFocus(Control(id::Properties));
}

bool App::Running() const {
    return pi_.hProcess && WaitForSingleObject(pi_.hProcess, 0) == WAIT_TIMEOUT;
}

testing::AssertionResult App::ShowHide(bool shown) {
    PressKeys({VK_F6});
    auto done = WaitFor([&] { return (IsWindowVisible(main_) != FALSE) == shown; }, 5000,
                        shown ? "the main window shown" : "the main window hidden");
    // Its visibility changes before the program has finished the hide or show: the activation
    // of another window, the keys released or taken, the settings restored.
    return done ? Handled() : done;
}

testing::AssertionResult App::WaitForExit(DWORD timeoutMs) {
    return WaitFor([&] { return !Running(); }, timeoutMs, "the program to end");
}

DWORD App::ExitCode() const {
    DWORD code = STILL_ACTIVE;
    if (pi_.hProcess) GetExitCodeProcess(pi_.hProcess, &code);
    return code;
}

testing::AssertionResult App::Close(DWORD timeoutMs) {
    if (!Running()) return testing::AssertionSuccess();
    if (main_) PostMessageW(main_, WM_CLOSE, 0, 0);
    return WaitForExit(timeoutMs);
}

HWND App::Control(int id) const { return FindDescendant(main_, id); }
std::wstring App::Text(int id) const { return WindowTextOf(Control(id)); }
std::wstring App::Caption() const { return WindowTextOf(main_); }

HWND App::VisibleTopWindow(const wchar_t* className) const {
    HWND h = FindTopWindow(className, pi_.dwProcessId);
    return h && IsWindowVisible(h) ? h : nullptr;
}

testing::AssertionResult App::WaitForFront(const wchar_t* className, DWORD timeoutMs) const {
    return WaitFor(
        [&] {
            HWND h = VisibleTopWindow(className);
            return h && GetForegroundWindow() == h;
        },
        timeoutMs, "the window in front");
}

RECT App::WindowRect() const {
    RECT r{};
    GetWindowRect(main_, &r);
    return r;
}

SIZE App::WindowSize() const {
    RECT r = WindowRect();
    return {r.right - r.left, r.bottom - r.top};
}

bool App::Visible(int id) const {
    HWND h = Control(id);
    return h && IsWindowVisible(h);
}

// The program activated its own window as it started, and under Wine the window system's echo of
// that may still be on its way and take the foreground back: the activation is repeated until it
// holds after the program has handled its input.
bool ActivateUsersWindow(const App& app, HWND window) {
    if (!WaitFor([&] { return GetForegroundWindow() == app.MainWindow(); }, 5000,
                 "the main window in front"))
        return false;
    int held = 0;
    return WaitFor(
        [&] {
            if (GetForegroundWindow() != window) {
                held = 0;
                SetForegroundWindow(window);
            }
            DWORD_PTR answer = 0;
            SendMessageTimeoutW(app.MainWindow(), WM_NULL, 0, 0, SMTO_NORMAL, 2000, &answer);
            return GetForegroundWindow() == window && ++held == 3;
        },
        5000, "the user's window in front, three times over");
}

bool SaveScreenshot(const std::wstring& path) {
    int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    BITMAPINFO bi{};
    bi.bmiHeader = {
        sizeof(BITMAPINFOHEADER), w, -h, 1, 24, BI_RGB, 0, 0, 0, 0, 0};  // top row first
    void* bits = nullptr;
    HBITMAP bmp = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(mem, bmp);
    BitBlt(mem, 0, 0, w, h, screen, 0, 0, SRCCOPY);
    GdiFlush();
    bool ok = false;
    try {
        std::vector<std::uint8_t> png =
            png::EncodeBgr(w, h, (w * 3 + 3) & ~3, static_cast<const std::uint8_t*>(bits));
        HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        if (f != INVALID_HANDLE_VALUE) {
            DWORD n = 0;
            ok = WriteFile(f, png.data(), static_cast<DWORD>(png.size()), &n, nullptr) &&
                 n == png.size();
            ok = CloseHandle(f) && ok;
        }
    } catch (const win::Error&) {
    }
    SelectObject(mem, old);
    DeleteObject(bmp);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
    return ok;
}
}  // namespace e2e
