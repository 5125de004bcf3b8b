// The magnifier's cost per timer tick: an idle tick (cursor still) against a bare cursor read
// and against any timer's delivery plus that read; a full redraw against the one cursor read and
// one screen stretch it cannot do without.
#include <algorithm>
#include <cstdio>
#include <functional>

#include "tests/bench/BenchUtil.h"
#include "win/Gdi.h"
#include "win/Window.h"
#include "zoom/JvZoom.h"

namespace {

using bench::Compare;
using bench::Pair;
using bench::Row;

// A child window that takes timer messages and does nothing: what any timer costs.
class IdleWindow : public win::Window {
  public:
    void Create(HWND parent) {
        RegisterClass(L"ZoomBenchIdle");
        Window::Create(0, L"ZoomBenchIdle", L"", WS_CHILD | WS_VISIBLE, 0, 0, 5, 5, parent);
    }

  protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override {
        if (msg == WM_TIMER) return 0;
        return Window::HandleMessage(msg, wp, lp);
    }
};

}  // namespace

void RunZoomBenchmarks() {
    std::printf("Magnifier (TJvZoom, 74 x 74, crosshair on), best of 9 alternating runs\n");
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"ZoomBenchHost";
    RegisterClassW(&wc);
    HWND host = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE,
                                wc.lpszClassName, L"", WS_POPUP | WS_CLIPCHILDREN, 600, 400, 100,
                                100, nullptr, nullptr, wc.hInstance, nullptr);
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
        IdleWindow idleWindow;
        idleWindow.Create(host);

        POINT p;
        auto idle = [&] { SendMessageW(view, WM_TIMER, TJvZoom::RedrawTimer, 0); };
        Row("idle timer tick (cursor still)", Compare(idle, [&] { GetCursorPos(&p); }),
            "baseline: GetCursorPos");
        Row("idle timer tick (cursor still)",
            Compare(idle,
                    [&] {
                        SendMessageW(idleWindow.Handle(), WM_TIMER, 1, 0);
                        GetCursorPos(&p);
                    }),
            "baseline: WM_TIMER + GetCursorPos");

        const int liveScreen = gdi::LiveCount();
        gdi::WindowDC screen(nullptr);
        for (int level : {15, 100}) {
            const int src = 2 * (37 * level / 100);
            zoom.SetZoomLevel(level);
            auto stretch = [&] {
                GetCursorPos(&p);
                gdi::WindowDC dc(view);
                StretchBlt(dc.Get(), 0, 0, 74, 74, screen.Get(), 300 - src / 2, 200 - src / 2, src,
                           src, SRCCOPY);
            };
            char what[64];
            std::snprintf(what, sizeof what, "redraw at level %d (%d x %d source)", level, src,
                          src);
            Row(what, Compare([&] { zoom.Refresh(); }, stretch),
                "baseline: GetCursorPos + StretchBlt");
        }
        std::printf("  GDI objects held by one magnifier: %d\n", liveScreen - liveBefore);
    }
    std::printf("  GDI objects left after it is destroyed: %d\n", gdi::LiveCount() - liveBefore);
    DestroyWindow(host);
}
