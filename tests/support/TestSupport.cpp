#include "tests/support/TestSupport.h"

#include <oleacc.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <utility>

namespace testsupport {

void DispatchPending() {
    MSG m;
    while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&m);
        DispatchMessageW(&m);
    }
}

namespace {
bool Passed(DWORD start, DWORD ms) { return GetTickCount() - start >= ms; }

// Sleeps until a message arrives for this thread or a few milliseconds pass, whichever is first:
// the states awaited come with messages, and polling now and then catches those of other
// processes.
void Idle() { MsgWaitForMultipleObjectsEx(0, nullptr, 5, QS_ALLINPUT, 0); }
}  // namespace

testing::AssertionResult WaitFor(const std::function<bool()>& done, DWORD timeoutMs,
                                 std::string_view what) {
    DWORD start = GetTickCount();
    for (;;) {
        DispatchPending();
        if (done()) return testing::AssertionSuccess();
        if (Passed(start, timeoutMs))
            return testing::AssertionFailure()
                   << "gave up after " << timeoutMs << " ms waiting for: " << what;
        Idle();
    }
}

testing::AssertionResult HoldsFor(const std::function<bool()>& holds, DWORD ms,
                                  std::string_view what) {
    DWORD start = GetTickCount();
    for (;;) {
        DispatchPending();
        if (!holds())
            return testing::AssertionFailure()
                   << "after " << GetTickCount() - start << " ms this no longer held: " << what;
        if (Passed(start, ms)) return testing::AssertionSuccess();
        Idle();
    }
}

void Settle(DWORD ms) {
    DWORD start = GetTickCount();
    do {
        DispatchPending();
        Idle();
    } while (!Passed(start, ms));
}

PatternWindow::PatternWindow(std::vector<Block> blocks, COLORREF background, RECT bounds,
                             HWND owner)
    : blocks_(std::move(blocks)), background_(background) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = Proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"TestPattern";
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    RegisterClassW(&wc);
    if (IsRectEmpty(&bounds))
        bounds = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    hwnd_ = CreateWindowExW(0, L"TestPattern", L"Pattern", WS_POPUP | WS_VISIBLE, bounds.left,
                            bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top,
                            owner, nullptr, wc.hInstance, this);
    if (!hwnd_) {
        ADD_FAILURE() << "no pattern window (error " << GetLastError() << ")";
        return;
    }
    SetWindowPos(hwnd_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    UpdateWindow(hwnd_);
    // A window on no monitor (a test for a desk this one lacks) is never painted.
    if (!MonitorFromRect(&bounds, MONITOR_DEFAULTTONULL)) return;

    // Painted is not yet on screen: the window system shows it a little later. One point of the
    // window that no other window covers proves it is there.
    std::vector<POINT> probes;
    for (const auto& b : blocks_)
        probes.push_back({(b.rect.left + b.rect.right) / 2, (b.rect.top + b.rect.bottom) / 2});
    probes.push_back({(bounds.right - bounds.left) / 2, (bounds.bottom - bounds.top) / 2});
    EXPECT_TRUE(WaitFor(
        [&] {
            if (!painted_) return false;
            for (POINT p : probes) {
                POINT s = p;
                ClientToScreen(hwnd_, &s);
                if (WindowFromPoint(s) == hwnd_) return ScreenPixel(s.x, s.y) == ColourAt(p);
            }
            return true;  // covered everywhere: painted is all this window can show
        },
        10000, "the pattern window's colours on screen"));
}

PatternWindow::~PatternWindow() {
    if (hwnd_) DestroyWindow(hwnd_);
    DispatchPending();
}

COLORREF PatternWindow::ColourAt(POINT client) const {
    COLORREF c = background_;
    for (const auto& b : blocks_)
        if (PtInRect(&b.rect, client)) c = b.color;  // later blocks are painted over earlier ones
    return c;
}

LRESULT CALLBACK PatternWindow::Proc(HWND h, UINT m, WPARAM wp, LPARAM lp) {
    if (m == WM_NCCREATE)
        SetWindowLongPtrW(
            h, GWLP_USERDATA,
            reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams));
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
        self->painted_ = true;
        return 0;
    }
    if (m == WM_ERASEBKGND) return 1;
    if ((m == WM_KEYDOWN || m == WM_SYSKEYDOWN) && self && wp != VK_SHIFT && wp != VK_CONTROL &&
        wp != VK_MENU)
        ++self->keysDown_;
    return DefWindowProcW(h, m, wp, lp);
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

std::wstring MessageBoxText(HWND box) {
    std::wstring text;
    EnumChildWindows(
        box,
        [](HWND h, LPARAM lp) -> BOOL {
            wchar_t cls[32] = {};
            GetClassNameW(h, cls, 32);
            if (_wcsicmp(cls, L"Static") == 0)
                *reinterpret_cast<std::wstring*>(lp) += WindowTextOf(h);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&text));
    return text;
}

bool MoveCursor(int x, int y) {
    // Wine hands the warp to the X server, which refuses it while another client holds a pointer
    // grab; the platform then reports the warped position for 100 ms and after that the X
    // server's. A position that holds past those 100 ms is the X server's own, so the cursor is
    // put there again until it stays that long. A point off the desk stands for its nearest
    // point, where the platform puts the cursor.
    const int vx = GetSystemMetrics(SM_XVIRTUALSCREEN), vy = GetSystemMetrics(SM_YVIRTUALSCREEN);
    x = std::clamp(x, vx, vx + GetSystemMetrics(SM_CXVIRTUALSCREEN) - 1);
    y = std::clamp(y, vy, vy + GetSystemMetrics(SM_CYVIRTUALSCREEN) - 1);
    auto there = [x, y] {
        POINT p{};
        return GetCursorPos(&p) && p.x == x && p.y == y;
    };
    for (int attempt = 0; attempt < 20; ++attempt) {
        // The platform skips a warp to where it believes the cursor is already, which after a
        // refused warp it does: a step aside first makes the next warp a real one.
        if (attempt > 0) SetCursorPos(x > 0 ? x - 1 : x + 1, y);
        SetCursorPos(x, y);
        if (HoldsFor(there, 150, "the cursor staying where it was put")) return true;
    }
    POINT at{};
    GetCursorPos(&at);
    ADD_FAILURE() << "the cursor does not stay at (" << x << "," << y << "): it is at (" << at.x
                  << "," << at.y << ")";
    return false;
}

namespace {
// Mouse input at a point of the desk: the event carries its position, so it lands there whatever
// the X server made of an earlier warp, and under a pointer grab too.
INPUT MouseInputAt(int x, int y, DWORD flags) {
    const int vx = GetSystemMetrics(SM_XVIRTUALSCREEN), vy = GetSystemMetrics(SM_YVIRTUALSCREEN);
    const int vw = GetSystemMetrics(SM_CXVIRTUALSCREEN), vh = GetSystemMetrics(SM_CYVIRTUALSCREEN);
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dx = (x - vx) * 65535 / (vw - 1);
    in.mi.dy = (y - vy) * 65535 / (vh - 1);
    in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_VIRTUALDESK | flags;
    return in;
}
}  // namespace

void MouseTo(int x, int y, DWORD extra) {
    INPUT in = MouseInputAt(x, y, extra);
    SendInput(1, &in, sizeof in);
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
}

void Click(int x, int y, bool right, int clicks) {
    // One batch, so a loaded machine cannot stretch a double click past the double-click time.
    std::vector<INPUT> in;
    for (int i = 0; i < clicks; ++i) {
        in.push_back(MouseInputAt(x, y, right ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN));
        in.push_back(MouseInputAt(x, y, right ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP));
    }
    SendInput(static_cast<UINT>(in.size()), in.data(), sizeof(INPUT));
}

bool OpenClipboardWaiting() {
    // Plain sleeps, not WaitFor: this may run on a helper thread, and the clipboard's holder is
    // another thread or program whose messages are not ours to run.
    DWORD start = GetTickCount();
    while (!OpenClipboard(nullptr)) {
        if (Passed(start, 5000)) return false;
        Sleep(10);
    }
    return true;
}

std::wstring ClipboardText() {
    std::wstring text;
    if (!OpenClipboardWaiting()) return L"<clipboard held by another program>";
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
    ASSERT_TRUE(OpenClipboardWaiting()) << "the clipboard stays held by another program";
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

Pixels ReadPixels(HDC dc, POINT origin, int w, int h) {
    Pixels p{w, h, {}};
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HDC mem = CreateCompatibleDC(dc);
    HBITMAP dib = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (mem && dib) {
        HGDIOBJ old = SelectObject(mem, dib);
        BitBlt(mem, 0, 0, w, h, dc, origin.x, origin.y, SRCCOPY);
        GdiFlush();
        SelectObject(mem, old);
        for (const auto* v = static_cast<const std::uint32_t*>(bits);
             v != static_cast<const std::uint32_t*>(bits) + w * h; ++v)
            p.data.push_back(RGB((*v >> 16) & 0xFF, (*v >> 8) & 0xFF, *v & 0xFF));
    }
    if (dib) DeleteObject(dib);
    if (mem) DeleteDC(mem);
    return p;
}

// IID_IAccessible, which two of MinGW's libraries both define.
constexpr GUID accessibleIid = {
    0x618736e0, 0x3c3d, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};

std::vector<AccessibleElement> AccessibleElements(HWND control) {
    std::vector<AccessibleElement> elements;
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    IAccessible* object = nullptr;
    if (SUCCEEDED(AccessibleObjectFromWindow(control, static_cast<DWORD>(OBJID_CLIENT),
                                             accessibleIid, reinterpret_cast<void**>(&object))) &&
        object) {
        long count = 0;
        if (FAILED(object->get_accChildCount(&count))) count = 0;
        for (long child = CHILDID_SELF; child <= count; ++child) {
            VARIANT id{};
            id.vt = VT_I4;
            id.lVal = child;
            AccessibleElement e;
            BSTR name = nullptr;
            if (SUCCEEDED(object->get_accName(id, &name)) && name) e.name = name;
            SysFreeString(name);
            VARIANT v{};
            if (SUCCEEDED(object->get_accRole(id, &v)) && v.vt == VT_I4) e.role = v.lVal;
            VariantClear(&v);
            if (SUCCEEDED(object->get_accState(id, &v)) && v.vt == VT_I4) e.state = v.lVal;
            VariantClear(&v);
            elements.push_back(e);
        }
        object->Release();
    }
    if (SUCCEEDED(com)) CoUninitialize();
    return elements;
}

std::wstring AccessibleName(HWND control) {
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    std::wstring result = L"(no accessible object)";
    IAccessible* object = nullptr;
    if (SUCCEEDED(AccessibleObjectFromWindow(control, static_cast<DWORD>(OBJID_CLIENT),
                                             accessibleIid, reinterpret_cast<void**>(&object))) &&
        object) {
        VARIANT self{};
        self.vt = VT_I4;
        self.lVal = CHILDID_SELF;
        BSTR name = nullptr;
        result = SUCCEEDED(object->get_accName(self, &name)) && name ? name : L"";
        SysFreeString(name);
        object->Release();
    }
    if (SUCCEEDED(com)) CoUninitialize();
    return result;
}

SystemColours::SystemColours(std::vector<int> which_, const std::vector<COLORREF>& colours)
    : which(std::move(which_)) {
    for (int w : which) before.push_back(GetSysColor(w));
    EXPECT_TRUE(SetSysColors(static_cast<int>(which.size()), which.data(), colours.data()));
}

}  // namespace testsupport
