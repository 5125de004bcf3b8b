#include "tests/e2e/Harness.h"

#include <cstring>
#include <vector>

#include "capture/PngEncoder.h"
#include "win/ErrorReport.h"

namespace e2e {

void Pump(DWORD ms) {
    DWORD end = GetTickCount() + ms;
    MSG m;
    do {
        while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&m);
            DispatchMessageW(&m);
        }
        Sleep(2);
    } while (static_cast<LONG>(end - GetTickCount()) > 0);
}

bool WaitFor(const std::function<bool()>& done, DWORD timeoutMs) {
    DWORD end = GetTickCount() + timeoutMs;
    while (!done()) {
        if (static_cast<LONG>(end - GetTickCount()) <= 0) return done();
        Pump(10);
    }
    return true;
}

namespace {
std::wstring ModuleFolder() {
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring s = path;
    return s.substr(0, s.find_last_of(L"\\/"));
}
}  // namespace

App::App(const std::wstring& folderName) {
    wchar_t tmp[MAX_PATH];
    GetTempPathW(MAX_PATH, tmp);
    std::wstring name = folderName;
    if (name.empty()) {
        static int counter = 0;
        name = L"ts-e2e-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
               std::to_wstring(++counter);
    }
    folder_ = std::wstring(tmp) + name;
    CreateDirectoryW(folder_.c_str(), nullptr);
    CopyFileW((ModuleFolder() + L"\\Tintsnatch4.exe").c_str(), ExePath().c_str(), FALSE);
}

App::~App() {
    if (Running()) {
        Close(3000);
        if (Running()) TerminateProcess(pi_.hProcess, 1);
    }
    if (pi_.hProcess) CloseHandle(pi_.hProcess);
    if (pi_.hThread) CloseHandle(pi_.hThread);
}

bool App::Start() { return Launch() && WaitForWindow(); }

bool App::Launch() {
    // A restart of the same copy: the ended process's handles go first.
    if (pi_.hProcess) CloseHandle(pi_.hProcess);
    if (pi_.hThread) CloseHandle(pi_.hThread);
    pi_ = {};
    main_ = nullptr;
    STARTUPINFOW si{};
    si.cb = sizeof si;
    std::wstring cmd = L"\"" + ExePath() + L"\"";
    return CreateProcessW(ExePath().c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          folder_.c_str(), &si, &pi_) != FALSE;
}

bool App::WaitForWindow(DWORD timeoutMs) {
    return WaitFor(
        [&] {
            main_ = FindTopWindow(L"TTintsnatch4", pi_.dwProcessId);
            return main_ && IsWindowVisible(main_);
        },
        timeoutMs);
}

bool App::Running() const {
    return pi_.hProcess && WaitForSingleObject(pi_.hProcess, 0) == WAIT_TIMEOUT;
}

bool App::WaitForExit(DWORD timeoutMs) {
    return WaitFor([&] { return !Running(); }, timeoutMs);
}

DWORD App::ExitCode() const {
    DWORD code = STILL_ACTIVE;
    if (pi_.hProcess) GetExitCodeProcess(pi_.hProcess, &code);
    return code;
}

bool App::Close(DWORD timeoutMs) {
    if (!Running()) return true;
    if (main_) PostMessageW(main_, WM_CLOSE, 0, 0);
    return WaitForExit(timeoutMs);
}

HWND App::Control(int id) const { return FindDescendant(main_, id); }
std::wstring App::Text(int id) const { return WindowTextOf(Control(id)); }
std::wstring App::Caption() const { return WindowTextOf(main_); }

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

HWND FindTopWindow(const wchar_t* className, DWORD pid) {
    struct S {
        const wchar_t* cls;
        DWORD pid;
        HWND found;
    } s{className, pid, nullptr};
    EnumWindows(
        [](HWND h, LPARAM lp) -> BOOL {
            auto* s = reinterpret_cast<S*>(lp);
            wchar_t cls[128];
            GetClassNameW(h, cls, 128);
            if (wcscmp(cls, s->cls) != 0) return TRUE;
            DWORD owner = 0;
            GetWindowThreadProcessId(h, &owner);
            if (s->pid && owner != s->pid) return TRUE;
            s->found = h;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&s));
    return s.found;
}

HWND FindDescendant(HWND root, int id) {
    struct S {
        int id;
        HWND found;
    } s{id, nullptr};
    EnumChildWindows(
        root,
        [](HWND h, LPARAM lp) -> BOOL {
            auto* s = reinterpret_cast<S*>(lp);
            if (GetDlgCtrlID(h) == s->id) {
                s->found = h;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&s));
    return s.found;
}

std::wstring WindowTextOf(HWND hwnd) {
    if (!hwnd) return L"<no window>";
    wchar_t buf[1024] = {};
    DWORD_PTR got = 0;
    SendMessageTimeoutW(hwnd, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(buf), SMTO_ABORTIFHUNG,
                        2000, &got);
    return buf;
}

PatternWindow::PatternWindow(std::vector<Block> blocks, COLORREF background, RECT bounds,
                             HWND owner)
    : blocks_(std::move(blocks)), background_(background) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = Proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"E2EPattern";
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    RegisterClassW(&wc);
    if (IsRectEmpty(&bounds))
        bounds = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    hwnd_ = CreateWindowExW(0, L"E2EPattern", L"Pattern", WS_POPUP | WS_VISIBLE, bounds.left,
                            bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top,
                            owner, nullptr, wc.hInstance, this);
    SetWindowPos(hwnd_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    UpdateWindow(hwnd_);
    Pump(300);
}

PatternWindow::~PatternWindow() {
    DestroyWindow(hwnd_);
    Pump(100);
}

LRESULT CALLBACK PatternWindow::Proc(HWND h, UINT m, WPARAM wp, LPARAM lp) {
    if (m == WM_NCCREATE)
        SetWindowLongPtrW(h, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(
                              reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams));
    auto* self = reinterpret_cast<PatternWindow*>(GetWindowLongPtrW(h, GWLP_USERDATA));
    if (m == WM_PAINT && self) {
        // Plain GDI calls: the window may live on a helper thread of a test.
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(h, &ps);
        RECT all;
        GetClientRect(h, &all);
        HBRUSH bg = CreateSolidBrush(self->background_);
        FillRect(dc, &all, bg);
        DeleteObject(bg);
        for (const auto& b : self->blocks_) {
            HBRUSH br = CreateSolidBrush(b.color);
            FillRect(dc, &b.rect, br);
            DeleteObject(br);
        }
        EndPaint(h, &ps);
        return 0;
    }
    if (m == WM_ERASEBKGND) return 1;
    return DefWindowProcW(h, m, wp, lp);
}

void MoveCursor(int x, int y) {
    SetCursorPos(x, y);
    Pump(20);
}

void PressKeys(const std::vector<WORD>& keys) {
    std::vector<INPUT> in;
    for (WORD k : keys) {
        INPUT i{};
        i.type = INPUT_KEYBOARD;
        i.ki.wVk = k;
        in.push_back(i);
    }
    for (auto it = keys.rbegin(); it != keys.rend(); ++it) {
        INPUT i{};
        i.type = INPUT_KEYBOARD;
        i.ki.wVk = *it;
        i.ki.dwFlags = KEYEVENTF_KEYUP;
        in.push_back(i);
    }
    SendInput(static_cast<UINT>(in.size()), in.data(), sizeof(INPUT));
    Pump(50);
}

void Click(int x, int y, bool right) {
    SetCursorPos(x, y);
    INPUT in[2]{};
    in[0].type = in[1].type = INPUT_MOUSE;
    in[0].mi.dwFlags = right ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN;
    in[1].mi.dwFlags = right ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP;
    SendInput(2, in, sizeof(INPUT));
    Pump(50);
}

std::wstring ClipboardText() {
    std::wstring text;
    for (int i = 0; i < 20 && !OpenClipboard(nullptr); ++i) Sleep(20);
    if (HANDLE h = GetClipboardData(CF_UNICODETEXT)) {
        if (auto* p = static_cast<const wchar_t*>(GlobalLock(h))) {
            text = p;
            GlobalUnlock(h);
        }
    }
    CloseClipboard();
    return text;
}

void SetClipboardText(const std::wstring& text) {
    for (int i = 0; i < 20 && !OpenClipboard(nullptr); ++i) Sleep(20);
    EmptyClipboard();
    HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
    std::memcpy(GlobalLock(mem), text.c_str(), (text.size() + 1) * sizeof(wchar_t));
    GlobalUnlock(mem);
    SetClipboardData(CF_UNICODETEXT, mem);
    CloseClipboard();
}

COLORREF ScreenPixel(int x, int y) {
    HDC dc = GetDC(nullptr);
    COLORREF c = GetPixel(dc, x, y);
    ReleaseDC(nullptr, dc);
    return c;
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
