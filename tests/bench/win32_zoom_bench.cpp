// The magnifier's cost per timer tick: an idle tick (cursor still) against a bare cursor read,
// and a full redraw against the one cursor read and one screen stretch it cannot do without.
#include <cstdio>
#include <functional>

#include "win/Gdi.h"
#include "zoom/JvZoom.h"

namespace {

// Wall-clock microseconds per call, run for about `ms` after a short warm-up. Under Wine much of
// a screen read happens in the X server, outside this process's CPU time, so wall time it is.
double MicrosPerCall(const std::function<void()>& f, double ms = 400) {
    for (int i = 0; i < 20; ++i) f();
    LARGE_INTEGER freq, start, now;
    QueryPerformanceFrequency(&freq);
    QueryPerformanceCounter(&start);
    long long calls = 0;
    double elapsed = 0;
    do {
        for (int i = 0; i < 50; ++i) f();
        calls += 50;
        QueryPerformanceCounter(&now);
        elapsed = double(now.QuadPart - start.QuadPart) * 1e6 / double(freq.QuadPart);
    } while (elapsed < ms * 1000);
    return elapsed / double(calls);
}

void Row(const char* what, double us, const char* baseName, double baseUs) {
    std::printf("  %-40s %8.2f us/call   %-38s %8.2f us   ratio %.2f\n", what, us, baseName, baseUs,
                us / baseUs);
}

}  // namespace

void RunZoomBenchmarks() {
    std::printf("Magnifier (TJvZoom, 74 x 74, crosshair on)\n");
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"ZoomBenchHost";
    RegisterClassW(&wc);
    HWND host = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, wc.lpszClassName,
                                L"", WS_POPUP | WS_CLIPCHILDREN, 600, 400, 100, 100, nullptr,
                                nullptr, wc.hInstance, nullptr);
    if (!host) {
        std::printf("  cannot create the host window\n");
        return;
    }
    ShowWindow(host, SW_SHOWNOACTIVATE);
    SetCursorPos(300, 200);
    const int liveBefore = gdi::LiveCount();
    {
        TJvZoom zoom;
        zoom.SetDelay(1000);  // the loops below drive it; no message loop runs meanwhile
        zoom.SetCrosshair(true);
        zoom.SetCrosshairSize(30);
        zoom.SetZoomLevel(15);
        zoom.Create(host, 1, 10, 10, 74, 74);
        HWND view = zoom.Handle();
        zoom.Refresh();

        // Any timer costs the delivery of its message; the baseline pays it too, to a window
        // that does nothing with it.
        POINT p;
        double cursor = MicrosPerCall([&] { GetCursorPos(&p); }, 300);
        double delivered = MicrosPerCall([&] {
            SendMessageW(host, WM_TIMER, 1, 0);
            GetCursorPos(&p);
        }, 300);
        double idle = MicrosPerCall(
            [&] { SendMessageW(view, WM_TIMER, TJvZoom::RedrawTimer, 0); }, 300);
        Row("idle timer tick (cursor still)", idle, "baseline: GetCursorPos", cursor);
        Row("idle timer tick (cursor still)", idle, "baseline: WM_TIMER + GetCursorPos", delivered);

        gdi::WindowDC screen(nullptr);
        auto stretch = [&](int src) {
            GetCursorPos(&p);
            gdi::WindowDC dc(view);
            StretchBlt(dc.Get(), 0, 0, 74, 74, screen.Get(), 300 - src / 2, 200 - src / 2, src,
                       src, SRCCOPY);
        };
        for (int level : {15, 100}) {
            const int src = 2 * (37 * level / 100);
            zoom.SetZoomLevel(level);
            double base = MicrosPerCall([&] { stretch(src); });
            double redraw = MicrosPerCall([&] { zoom.Refresh(); });
            char what[64], baseName[64];
            std::snprintf(what, sizeof what, "redraw at level %d (%d x %d source)", level, src, src);
            std::snprintf(baseName, sizeof baseName, "baseline: GetCursorPos + StretchBlt");
            Row(what, redraw, baseName, base);
        }
        std::printf("  GDI objects held by one magnifier: %d\n", gdi::LiveCount() - liveBefore - 1);
    }
    std::printf("  GDI objects left after it is destroyed: %d\n", gdi::LiveCount() - liveBefore);
    DestroyWindow(host);
}
