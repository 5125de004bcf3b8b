#pragma once
// Helpers of the capture tests: a window painting known colour blocks, pixel reads from bitmaps,
// and a thread that plays the user's mouse while the UI thread sits in a modal loop.
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/TestSupport.h"
#include "win/Gdi.h"

namespace capture_test {

using Block = testsupport::PatternWindow::Block;

// A popup window painting colour blocks on a background; owner may be the application window
// (then minimising the application hides it).
class ColourWindow : public testsupport::PatternWindow {
  public:
    ColourWindow(RECT bounds, std::vector<Block> blocks, COLORREF background, HWND owner = nullptr)
        : PatternWindow(std::move(blocks), background, bounds, owner) {}
};

inline std::wstring TempPath(const std::wstring& name) {
    wchar_t tmp[MAX_PATH];
    GetTempPathW(MAX_PATH, tmp);
    return std::wstring(tmp) + name;
}

inline std::string FileBytes(const std::wstring& path) {
    std::ifstream f(path.c_str(), std::ios::binary);
    return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
}

// A ColourWindow on a thread of its own, so it repaints (as another program's window would)
// while the UI thread is blocked in the engine's pause.
class ColourWindowThread {
  public:
    ColourWindowThread(RECT bounds, std::vector<Block> blocks, COLORREF background,
                       std::vector<RECT> buttons = {}) {
        HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        thread_ = std::thread([&, ready] {
            ColourWindow window(bounds, blocks, background);
            hwnd_ = window.Handle();
            for (const RECT& b : buttons)
                CreateWindowExW(0, L"BUTTON", L"Target", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON,
                                b.left, b.top, b.right - b.left, b.bottom - b.top, hwnd_, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
            RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
            threadId_ = GetCurrentThreadId();
            MSG m;
            PeekMessageW(&m, nullptr, 0, 0, PM_NOREMOVE);  // the thread's queue exists now
            SetEvent(ready);
            while (GetMessageW(&m, nullptr, 0, 0) > 0) {
                TranslateMessage(&m);
                DispatchMessageW(&m);
            }
        });
        // The window waits for its colours on screen before it says ready.
        EXPECT_EQ(WaitForSingleObject(ready, 20000), WAIT_OBJECT_0) << "the colour window's thread";
        CloseHandle(ready);
    }
    ~ColourWindowThread() {
        PostThreadMessageW(threadId_, WM_QUIT, 0, 0);
        thread_.join();
        testsupport::DispatchPending();
    }
    ColourWindowThread(const ColourWindowThread&) = delete;
    ColourWindowThread& operator=(const ColourWindowThread&) = delete;
    HWND Handle() const { return hwnd_; }

  private:
    std::thread thread_;
    HWND hwnd_ = nullptr;
    DWORD threadId_ = 0;
};

inline RECT ScreenRect() {
    return {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

// Every pixel of a bitmap as 0x00RRGGBB, rows top-down.
inline std::vector<COLORREF> Pixels(HBITMAP bitmap, int& w, int& h) {
    BITMAP bm{};
    GetObjectW(bitmap, sizeof bm, &bm);
    w = bm.bmWidth;
    h = bm.bmHeight;
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    std::vector<COLORREF> px(static_cast<size_t>(w) * static_cast<size_t>(h));
    gdi::WindowDC screen(nullptr);
    GetDIBits(screen.Get(), bitmap, 0, static_cast<UINT>(h), px.data(), &bi, DIB_RGB_COLORS);
    for (auto& p : px) p &= 0xFFFFFF;
    return px;
}

// The pixel (x, y) of a bitmap as a COLORREF (red in the low byte).
inline COLORREF PixelOf(HBITMAP bitmap, int x, int y) {
    gdi::WindowDC screen(nullptr);
    gdi::MemoryDC dc(screen.Get());
    gdi::Selection sel(dc.Get(), bitmap);
    return GetPixel(dc.Get(), x, y);
}

// Size of the CF_BITMAP on the clipboard, {0, 0} when it has none.
inline SIZE ClipboardBitmapSize() {
    SIZE size{0, 0};
    if (!testsupport::OpenClipboardWaiting()) return size;
    if (auto* b = static_cast<HBITMAP>(GetClipboardData(CF_BITMAP))) {
        BITMAP bm{};
        if (GetObjectW(b, sizeof bm, &bm)) size = {bm.bmWidth, bm.bmHeight};
    }
    CloseClipboard();
    return size;
}

using testsupport::ClipboardText;
using testsupport::SetClipboardText;

// A top-level window of this process with the class name, visible or not.
inline HWND FindOwnWindow(const wchar_t* className) {
    HWND h = nullptr;
    while ((h = FindWindowExW(nullptr, h, className, nullptr)) != nullptr) {
        DWORD pid = 0;
        GetWindowThreadProcessId(h, &pid);
        if (pid == GetCurrentProcessId()) return h;
    }
    return nullptr;
}

// Mouse input as a user gives it, from a helper thread while the UI thread runs a modal loop.
// The loop takes each input in its own time and nothing this thread can see says when, so the
// inputs come at a hand's pace, as a user's do; where an input has a visible effect (a frame
// drawn, a cursor shape) the script waits for that.
constexpr DWORD UserPace = 60;  // ms
inline void MouseAt(int x, int y) {
    testsupport::MoveCursor(x, y);
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = MOUSEEVENTF_MOVE;  // a move of nothing: the window sees the new position
    SendInput(1, &in, sizeof in);
    Sleep(UserPace);
}
inline void Button(DWORD flags) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = flags;
    SendInput(1, &in, sizeof in);
    Sleep(UserPace);
}

// Screen pixels of one row, read in one go (plain GDI: runs on a helper thread).
inline std::vector<COLORREF> ScreenRow(int x, int y, int n) {
    HDC screen = GetDC(nullptr);
    auto row = testsupport::ReadPixels(screen, {x, y}, n, 1);
    ReleaseDC(nullptr, screen);
    return row.data;
}

// Runs script on a helper thread once a window of the class is shown and painted (its modal loop
// runs then); joins on destruction. Should the script's input not end the overlay, it is closed
// after a few seconds, so a test fails instead of hanging.
class UserScript {
  public:
    UserScript(const wchar_t* className, std::function<void()> script)
        : thread_([className, script = std::move(script)] {
              HWND overlay = nullptr;
              testing::AssertionResult shown = testsupport::WaitFor(
                  [&] {
                      HWND h = FindOwnWindow(className);
                      if (!h || !IsWindowVisible(h) || GetUpdateRect(h, nullptr, FALSE))
                          return false;
                      overlay = h;
                      return true;
                  },
                  10000, "the overlay shown and painted");
              if (!shown) {
                  ADD_FAILURE() << shown.message();
                  return;
              }
              script();
              if (!testsupport::WaitFor(
                      [&] { return !IsWindow(overlay) || !IsWindowVisible(overlay); }, 5000,
                      "the script's input to end the overlay"))
                  PostMessageW(overlay, WM_CLOSE, 0, 0);
          }) {}
    ~UserScript() { thread_.join(); }
    UserScript(const UserScript&) = delete;
    UserScript& operator=(const UserScript&) = delete;

  private:
    std::thread thread_;
};

}  // namespace capture_test
