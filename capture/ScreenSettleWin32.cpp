#include "capture/ScreenSettleWin32.h"

#include <dwmapi.h>

#include <algorithm>

#include "capture/ScreenSettle.h"
#include "win/Application.h"
#include "win/Gdi.h"

namespace settle {
namespace {

// The compositor's functions, loaded when first needed: they are missing without a compositor
// (Wine, as we run it), and the program starts without loading its library.
struct Compositor {
    using IsEnabledFn = HRESULT(WINAPI*)(BOOL*);
    using FlushFn = HRESULT(WINAPI*)();
    using SetAttributeFn = HRESULT(WINAPI*)(HWND, DWORD, LPCVOID, DWORD);
    IsEnabledFn isEnabled = nullptr;
    FlushFn flush = nullptr;
    SetAttributeFn setAttribute = nullptr;

    static const Compositor& Get() {
        static const Compositor c = [] {
            Compositor r;
            HMODULE dwm = LoadLibraryExW(L"dwmapi.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
            if (!dwm) return r;
            auto get = [dwm](const char* name) {
                return reinterpret_cast<void*>(GetProcAddress(dwm, name));
            };
            r.isEnabled = reinterpret_cast<IsEnabledFn>(get("DwmIsCompositionEnabled"));
            r.flush = reinterpret_cast<FlushFn>(get("DwmFlush"));
            r.setAttribute = reinterpret_cast<SetAttributeFn>(get("DwmSetWindowAttribute"));
            return r;
        }();
        return c;
    }
    bool Composing() const {
        BOOL on = FALSE;
        return isEnabled && flush && SUCCEEDED(isEnabled(&on)) && on;
    }
};

geo::Rect FromRect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

struct Shown {
    HWND window;
    WindowBelow below;
};

std::vector<Shown> VisibleTopWindows() {
    std::vector<Shown> all;
    EnumWindows(
        [](HWND h, LPARAM lp) -> BOOL {
            RECT r{};
            if (IsWindowVisible(h) && !IsIconic(h) && GetWindowRect(h, &r))
                reinterpret_cast<std::vector<Shown>*>(lp)->push_back(
                    {h, {FromRect(r), GetWindowThreadProcessId(h, nullptr)}});
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&all));
    return all;
}

bool HasUpdate(HWND window) {
    if (GetUpdateRect(window, nullptr, FALSE)) return true;
    bool pending = false;
    EnumChildWindows(
        window,
        [](HWND child, LPARAM lp) -> BOOL {
            if (IsWindowVisible(child) && GetUpdateRect(child, nullptr, FALSE)) {
                *reinterpret_cast<bool*>(lp) = true;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&pending));
    return pending;
}

// One round trip through the message loop of the window's thread, no longer than ms.
void RoundTrip(HWND window, DWORD ms) {
    DWORD_PTR answer = 0;
    if (ms > 0) SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, ms, &answer);
}

// The system's own version: the version functions answer what the program's manifest declares
// it was tested on, not what runs.
bool SystemVersion(DWORD& major, DWORD& minor, DWORD& build) {
    using RtlGetVersionFn = LONG(WINAPI*)(OSVERSIONINFOW*);
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    const auto get = ntdll ? reinterpret_cast<RtlGetVersionFn>(
                                 reinterpret_cast<void*>(GetProcAddress(ntdll, "RtlGetVersion")))
                           : nullptr;
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof info;
    if (!get || get(&info) != 0) return false;
    major = info.dwMajorVersion;
    minor = info.dwMinorVersion;
    build = info.dwBuildNumber;
    return true;
}

}  // namespace

bool KeepOutOfCaptures(HWND window) {
    const Compositor& dwm = Compositor::Get();
    const BOOL off = TRUE;
    if (dwm.setAttribute)
        (void)dwm.setAttribute(window, DWMWA_TRANSITIONS_FORCEDISABLED, &off, sizeof off);
    // Only a composed desk keeps a window out of captures.
    DWORD major = 0, minor = 0, build = 0;
    if (!dwm.Composing() || !SystemVersion(major, minor, build) ||
        !ExcludesFromCapture(major, minor, build))
        return false;
    using SetAffinityFn = BOOL(WINAPI*)(HWND, DWORD);
    HMODULE user = GetModuleHandleW(L"user32.dll");
    const auto setAffinity = user ? reinterpret_cast<SetAffinityFn>(reinterpret_cast<void*>(
                                        GetProcAddress(user, "SetWindowDisplayAffinity")))
                                  : nullptr;
    constexpr DWORD ExcludeFromCapture = 0x11;  // WDA_EXCLUDEFROMCAPTURE
    return setAffinity && setAffinity(window, ExcludeFromCapture);
}

OwnWindows::OwnWindows() {
    auto& app = win::Application();
    const Compositor& dwm = Compositor::Get();
    for (const Shown& s : VisibleTopWindows()) {
        if (!app.Owns(s.window)) continue;
        // The compositor fades a window out over a fifth of a second or so; taken off without
        // the fade, the next composed frame no longer holds it.
        const BOOL off = TRUE;
        if (dwm.setAttribute)
            (void)dwm.setAttribute(s.window, DWMWA_TRANSITIONS_FORCEDISABLED, &off, sizeof off);
        windows_.push_back(s.window);
        const geo::Rect& b = s.below.Bounds;
        if (!b.Empty()) areas_.push_back({b.left, b.top, b.right, b.bottom});
    }
}

OwnWindows::~OwnWindows() {
    // Shown again by the user, they fade in as every window does.
    const Compositor& dwm = Compositor::Get();
    const BOOL on = FALSE;
    for (HWND w : windows_)
        if (dwm.setAttribute && IsWindow(w))
            (void)dwm.setAttribute(w, DWMWA_TRANSITIONS_FORCEDISABLED, &on, sizeof on);
}

void WaitUntilShown(const std::vector<RECT>& vacated, DWORD limitMs) {
    const DWORD start = GetTickCount();
    auto left = [&] { return Remaining(start, GetTickCount(), limitMs); };
    GdiFlush();
    const Compositor& dwm = Compositor::Get();
    if (dwm.Composing()) {
        // The compositor keeps every window's picture: the uncovered ones need not repaint, and
        // the frame without ours is on the screen once the next present has happened.
        (void)dwm.flush();
        return;
    }
    if (vacated.empty()) return;
    {
        // A read of the screen waits for the display to carry out what came before it (under
        // Wine, a round trip to the X server): the windows beneath now know they were uncovered.
        gdi::WindowDC screen(nullptr);
        if (screen) (void)GetPixel(screen.Get(), 0, 0);
    }
    std::vector<geo::Rect> areas;
    areas.reserve(vacated.size());
    for (const RECT& r : vacated) areas.push_back(FromRect(r));
    const std::vector<Shown> shown = VisibleTopWindows();
    std::vector<WindowBelow> below;
    below.reserve(shown.size());
    for (const Shown& s : shown) below.push_back(s.below);
    const DWORD self = GetCurrentThreadId();
    // This thread's own windows beneath (none in the program, a test's) paint here and now.
    for (const Shown& s : shown)
        if (s.below.Thread == self && OverlapsAny(s.below.Bounds, areas))
            RedrawWindow(s.window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    const std::vector<std::uint32_t> threads = ThreadsToAsk(below, areas, self);
    auto windowsOf = [&](std::uint32_t thread) {
        std::vector<HWND> hs;
        for (const Shown& s : shown)
            if (s.below.Thread == thread && OverlapsAny(s.below.Bounds, areas))
                hs.push_back(s.window);
        return hs;
    };
    for (std::uint32_t thread : threads) {
        const std::vector<HWND> windows = windowsOf(thread);
        // The first round trip: the thread has taken in what the uncovering told it. Then its
        // windows repaint; the second round trip comes only after its loop went back to wait,
        // and a thread puts what it painted on the screen before it waits (Wine's window
        // surfaces are flushed then).
        RoundTrip(windows.front(), left());
        for (HWND w : windows)
            while (left() > 0 && IsWindow(w) && HasUpdate(w)) Sleep(1);
        RoundTrip(windows.front(), left());
    }
}

}  // namespace settle
