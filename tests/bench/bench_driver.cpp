// The whole-program benchmark's hands (scripts/bench.sh): starts a program and times its first
// readout, moves or parks the cursor, presses the capture key and times the clipboard's answer,
// presses the pick key and times the loupe, closes a program. Prints figures only.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>
#include <vector>

#include "app/ControlIds.h"
#include "tests/support/TestSupport.h"
#include "win/Platform.h"

// After the platform header, which it needs.
#include <psapi.h>

namespace {

double Now() {
    static LARGE_INTEGER freq = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return double(t.QuadPart) * 1000.0 / double(freq.QuadPart);
}

HWND FindProgramWindow(const wchar_t* cls) {
    if (HWND h = FindWindowW(cls, nullptr)) return h;
    return FindWindowExW(HWND_MESSAGE, nullptr, cls, nullptr);
}

// The program's child window with that control ID, or nullptr.
HWND Control(HWND top, int controlId) {
    struct Search {
        int id;
        HWND found;
    } s{controlId, nullptr};
    EnumChildWindows(
        top,
        [](HWND h, LPARAM lp) -> BOOL {
            auto* s = reinterpret_cast<Search*>(lp);
            if (GetDlgCtrlID(h) != s->id) return TRUE;
            s->found = h;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&s));
    return s.found;
}

// Read as another program reads a control's text: the readouts keep it themselves.
std::wstring ReadoutText(HWND top) { return testsupport::WindowTextOf(Control(top, id::ColHex)); }

// Starts exe (with its argument, if any) and waits for its window of class cls and, when it has
// readouts, the first of them.
int Launch(const wchar_t* exe, const wchar_t* cls, bool readout, const wchar_t* argument) {
    std::wstring folder = exe;
    folder.resize(folder.find_last_of(L"\\/") + 1);
    std::wstring cmd = L"\"" + std::wstring(exe) + L"\"";
    if (argument) cmd += L" " + std::wstring(argument);
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    const double start = Now();
    if (!CreateProcessW(exe, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &si,
                        &pi)) {
        std::printf("cannot start\n");
        return 1;
    }
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    while (Now() - start < 30000) {
        HWND w = FindProgramWindow(cls);
        if (w) {
            std::wstring text = readout ? ReadoutText(w) : L"#";
            if (!text.empty() && text[0] == L'#') {
                std::printf("%.1f\n", Now() - start);
                return 0;
            }
        }
        Sleep(1);
    }
    std::printf("timeout\n");
    return 1;
}

// Puts the cursor at (x, y) and waits until the X server has it there: a warp still queued when
// this process ends would be lost. Past 100 ms without a move the platform asks the X server.
int Park(int x, int y) {
    for (int i = 0; i < 20; ++i) {
        SetCursorPos(x, y);
        Sleep(150);
        POINT p{};
        if (GetCursorPos(&p) && p.x == x && p.y == y) return 0;
    }
    std::printf("cannot park the cursor\n");
    return 1;
}

// Moves the cursor round a circle, a step every 8 ms as a mouse reports, for ms milliseconds.
int Move(int ms, int cx, int cy) {
    std::printf("go\n");
    std::fflush(stdout);
    const double start = Now();
    for (int step = 0; Now() - start < ms; ++step) {
        const double a = step * 0.05;
        SetCursorPos(cx + int(100 * std::cos(a)), cy + int(100 * std::sin(a)));
        Sleep(8);
    }
    return 0;
}

void PressKey(WORD vk) {
    INPUT in[2]{};
    for (INPUT& i : in) {
        i.type = INPUT_KEYBOARD;
        i.ki.wVk = vk;
        i.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
    }
    in[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, in, sizeof(INPUT));
}
void PressF9() { PressKey(VK_F9); }

// With the program resting, moves the cursor to (x, y), as a mouse does (a warp with mouse input
// at the same place) or by a warp alone (which makes no mouse input), and prints the time until
// its readout shows the new position.
int Wake(const wchar_t* cls, int x, int y, bool warp) {
    HWND position = Control(FindProgramWindow(cls), id::Position);
    if (!position) {
        std::printf("no readout\n");
        return 1;
    }
    // Under Wine the cursor may swing back to where the X server has it a tick later: the figure
    // is the first tick that shows the movement.
    const std::wstring want = L"(" + std::to_wstring(x) + L"," + std::to_wstring(y) + L")";
    if (want == testsupport::WindowTextOf(position)) {
        std::printf("already there\n");
        return 1;
    }
    const double start = Now();
    // The warp puts the X server's pointer there too; under Wine mouse input alone moves only the
    // platform's idea of the cursor, which then swings back to the X server's.
    SetCursorPos(x, y);
    if (!warp) {
        INPUT in{};
        in.type = INPUT_MOUSE;
        in.mi.dx = x * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1);
        in.mi.dy = y * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1);
        in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
        SendInput(1, &in, sizeof in);
    }
    while (Now() - start < 5000) {
        if (want == testsupport::WindowTextOf(position)) {
            std::printf("%.1f\n", Now() - start);
            return Park(x, y);  // and the X server keeps the pointer there
        }
        Sleep(1);  // each look is a message the program answers
    }
    std::printf("timeout\n");
    return 1;
}

bool ClipboardHasBitmap() {
    if (!OpenClipboard(nullptr)) return false;
    bool has = IsClipboardFormatAvailable(CF_BITMAP) != FALSE;
    CloseClipboard();
    return has;
}

// Presses F9 n times; prints the median time from the press to the new image on the clipboard.
int Captures(int n, const wchar_t* cls) {
    std::vector<double> times;
    for (int i = 0; i < n; ++i) {
        HWND w = FindProgramWindow(cls);
        const DWORD seq = GetClipboardSequenceNumber();
        const double start = Now();
        PressF9();
        bool done = false;
        while (!done && Now() - start < 10000) {
            done = GetClipboardSequenceNumber() != seq && ClipboardHasBitmap();
            if (!done) Sleep(1);
        }
        if (!done) {
            std::printf("timeout\n");
            return 1;
        }
        times.push_back(Now() - start);
        // The program is back on the screen, and back in its message loop with the capture
        // unwound, before the next press.
        while (w && !IsWindowVisible(w) && Now() - start < 10000) Sleep(5);
        DWORD_PTR answered = 0;
        if (w) SendMessageTimeoutW(w, WM_NULL, 0, 0, SMTO_BLOCK, 10000, &answered);
    }
    std::sort(times.begin(), times.end());
    std::printf("%.1f\n", times[times.size() / 2]);
    return 0;
}

HWND VisibleOverlay() {
    HWND h = FindWindowW(L"TCaptureRectForm", nullptr);
    return h && IsWindowVisible(h) ? h : nullptr;
}

// Presses F9 n times in the selection mode; prints the median time from the press to the
// rectangle overlay shown. Each overlay then ends by Enter (taking an offered rectangle) or is
// closed, and the program is back before the next press.
int Overlays(int n, const wchar_t* cls, bool enter) {
    std::vector<double> times;
    for (int i = 0; i < n; ++i) {
        HWND w = FindProgramWindow(cls);
        const double start = Now();
        PressF9();
        HWND overlay = nullptr;
        while (!(overlay = VisibleOverlay()) && Now() - start < 10000) Sleep(1);
        if (!overlay) {
            std::printf("timeout\n");
            return 1;
        }
        times.push_back(Now() - start);
        if (enter) {
            while (GetForegroundWindow() != overlay && Now() - start < 10000) Sleep(1);
            PressKey(VK_RETURN);
        } else {
            PostMessageW(overlay, WM_CLOSE, 0, 0);
        }
        while (VisibleOverlay() && Now() - start < 10000) Sleep(5);
        while (w && !IsWindowVisible(w) && Now() - start < 10000) Sleep(5);
        DWORD_PTR answered = 0;
        if (w) SendMessageTimeoutW(w, WM_NULL, 0, 0, SMTO_BLOCK, 10000, &answered);
    }
    std::sort(times.begin(), times.end());
    std::printf("%.1f\n", times[times.size() / 2]);
    return 0;
}

// The program's private bytes and working set, in KB.
struct Memory {
    double privateKb = 0, workingSetKb = 0;
};
Memory MemoryOf(HWND w) {
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    Memory m;
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid);
    if (!process) return m;
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof counters;
    if (K32GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                                sizeof counters)) {
        // Wine leaves the private figure at 0; the commit charge is the same number on Windows.
        m.privateKb =
            double(counters.PrivateUsage ? counters.PrivateUsage : counters.PagefileUsage) / 1024;
        m.workingSetKb = double(counters.WorkingSetSize) / 1024;
    }
    CloseHandle(process);
    return m;
}

// Presses the pick key (F8) n times; prints the median time from the press to the loupe shown,
// the memory before the first pick and after the last, and the program's own count of live GDI
// objects while the first and the last loupe show. Each pick ends by Esc.
int Picks(int n, const wchar_t* cls) {
    HWND w = FindProgramWindow(cls);
    if (!w) {
        std::printf("no program\n");
        return 1;
    }
    const UINT liveCount = RegisterWindowMessageW(L"Tintsnatch4 live GDI objects");
    const Memory before = MemoryOf(w);
    std::vector<double> times;
    DWORD_PTR gdiFirst = 0, gdiLast = 0;
    for (int i = 0; i < n; ++i) {
        const double start = Now();
        PressKey(VK_F8);
        HWND loupe = nullptr;
        while (Now() - start < 10000) {
            loupe = FindWindowW(L"TPickForm", nullptr);
            if (loupe && IsWindowVisible(loupe)) break;
            loupe = nullptr;
            Sleep(1);
        }
        if (!loupe) {
            std::printf("timeout\n");
            return 1;
        }
        times.push_back(Now() - start);
        SendMessageTimeoutW(loupe, liveCount, 0, 0, SMTO_BLOCK, 10000,
                            i == 0 ? &gdiFirst : &gdiLast);
        while (GetForegroundWindow() != loupe && Now() - start < 10000) Sleep(1);
        PressKey(VK_ESCAPE);
        while (IsWindowVisible(loupe) && Now() - start < 10000) Sleep(5);
        while (!IsWindowVisible(w) && Now() - start < 10000) Sleep(5);
        DWORD_PTR answered = 0;
        SendMessageTimeoutW(w, WM_NULL, 0, 0, SMTO_BLOCK, 10000, &answered);
    }
    Sleep(500);  // the program's own last frees after the window came back
    const Memory after = MemoryOf(w);
    std::sort(times.begin(), times.end());
    std::printf("%.1f %.0f %.0f %.0f %.0f %llu %llu\n", times[times.size() / 2], before.privateKb,
                before.workingSetKb, after.privateKb, after.workingSetKb,
                static_cast<unsigned long long>(gdiFirst),
                static_cast<unsigned long long>(gdiLast));
    return 0;
}

int CountPins() {
    int n = 0;
    for (HWND h = FindWindowExW(nullptr, nullptr, L"TPinForm", nullptr); h;
         h = FindWindowExW(nullptr, h, L"TPinForm", nullptr))
        n += IsWindowVisible(h) ? 1 : 0;
    return n;
}

// Captures and pins n times (the program in the desktop mode); prints the pins shown.
int Pins(int n, const wchar_t* cls) {
    HWND w = FindProgramWindow(cls);
    HWND view = w ? Control(w, id::CapturePanel) : nullptr;
    HWND pin = w ? Control(w, id::PinCapture) : nullptr;
    if (!view || !pin) {
        std::printf("no capture view\n");
        return 1;
    }
    for (int i = 0; i < n; ++i) {
        const int before = CountPins();
        const double start = Now();
        PressF9();
        while (!IsWindowVisible(view) && Now() - start < 10000) Sleep(5);
        PostMessageW(pin, BM_CLICK, 0, 0);
        while (CountPins() == before && Now() - start < 10000) Sleep(5);
        while (IsWindowVisible(view) && Now() - start < 10000) Sleep(5);
    }
    std::printf("%d\n", CountPins());
    return 0;
}

int Close(const wchar_t* cls) {
    HWND w = FindProgramWindow(cls);
    if (!w) return 0;
    PostMessageW(w, WM_CLOSE, 0, 0);
    for (int i = 0; i < 1000 && IsWindow(w); ++i) Sleep(10);
    return IsWindow(w) ? 1 : 0;
}

// The visible top-level windows with class and title, for finding out what a program shows.
int ListWindows() {
    EnumWindows(
        [](HWND h, LPARAM) -> BOOL {
            if (!IsWindowVisible(h)) return TRUE;
            wchar_t cls[64] = {}, title[128] = {};
            GetClassNameW(h, cls, 64);
            GetWindowTextW(h, title, 128);
            RECT r{};
            GetWindowRect(h, &r);
            std::printf("%ls \"%ls\" (%ld,%ld)-(%ld,%ld)\n", cls, title, r.left, r.top, r.right,
                        r.bottom);
            return TRUE;
        },
        0);
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const std::wstring verb = argc > 1 ? argv[1] : L"";
    if (verb == L"launch" && argc >= 4)
        return Launch(argv[2], argv[3], argc < 5 || std::wstring(argv[4]) != L"noreadout",
                      argc >= 6 ? argv[5] : nullptr);
    if (verb == L"park" && argc >= 4) return Park(_wtoi(argv[2]), _wtoi(argv[3]));
    if (verb == L"move" && argc >= 5) return Move(_wtoi(argv[2]), _wtoi(argv[3]), _wtoi(argv[4]));
    if (verb == L"captures" && argc >= 4) return Captures(_wtoi(argv[2]), argv[3]);
    if (verb == L"overlays" && argc >= 4)
        return Overlays(_wtoi(argv[2]), argv[3], argc >= 5 && std::wstring(argv[4]) == L"enter");
    if (verb == L"pins" && argc >= 4) return Pins(_wtoi(argv[2]), argv[3]);
    if (verb == L"picks" && argc >= 4) return Picks(_wtoi(argv[2]), argv[3]);
    if (verb == L"close" && argc >= 3) return Close(argv[2]);
    if (verb == L"press" && argc >= 3) {
        PressKey(static_cast<WORD>(_wtoi(argv[2])));
        return 0;
    }
    if (verb == L"wake" && argc >= 5)
        return Wake(argv[2], _wtoi(argv[3]), _wtoi(argv[4]), argc >= 6);
    if (verb == L"windows") return ListWindows();
    std::printf(
        "usage: bench_driver launch EXE CLASS [noreadout [ARG]] | park X Y | move MS X Y |\n"
        "       captures N CLASS | overlays N CLASS [enter] | pins N CLASS | picks N CLASS |\n"
        "       close CLASS | windows |\n"
        "       press VK | wake CLASS X Y [warp]\n");
    return 2;
}
