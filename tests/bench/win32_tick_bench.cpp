// The sampling tick of the main window against a baseline that makes only the platform calls a
// tick must make: a cursor read, the window rectangle, a screen DC with one pixel read, nine
// short label texts, a 17 x 17 fill and a window move. Both move the cursor first, so each tick
// samples anew.
#include <cstdio>
#include <string>

#include "app/TintsnatchMain.h"
#include "tests/bench/BenchUtil.h"
#include "win/Gdi.h"

namespace {

// What the tick cannot do without, done as plainly as possible.
class Baseline {
  public:
    Baseline() {
        host_ =
            CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, L"STATIC", L"", WS_POPUP | WS_VISIBLE,
                            500, 500, 172, 98, nullptr, nullptr, nullptr, nullptr);
        for (auto& label : labels_)
            label = CreateWindowExW(0, L"STATIC", L"--", WS_CHILD | WS_VISIBLE, 0, 0, 50, 12, host_,
                                    nullptr, nullptr, nullptr);
        swatch_ = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 0, 60, 17, 17, host_,
                                  nullptr, nullptr, nullptr);
    }
    ~Baseline() { DestroyWindow(host_); }
    void Tick() {
        POINT p;
        GetCursorPos(&p);
        RECT r;
        GetWindowRect(host_, &r);
        HDC screen = GetDC(nullptr);
        COLORREF c = GetPixel(screen, p.x, p.y);
        ReleaseDC(nullptr, screen);
        std::wstring text = L"R:" + std::to_wstring((c + static_cast<COLORREF>(p.x)) & 0xFF);
        for (HWND label : labels_) SetWindowTextW(label, text.c_str());
        HDC dc = GetDC(swatch_);
        RECT fill{0, 0, 17, 17};
        HBRUSH brush = CreateSolidBrush(c);
        FillRect(dc, &fill, brush);
        DeleteObject(brush);
        ReleaseDC(swatch_, dc);
        SetWindowPos(host_, nullptr, p.x + 20, p.y + 20, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }

  private:
    HWND host_, swatch_;
    HWND labels_[9];
};

}  // namespace

void RunTickBenchmarks() {
    std::printf("\nSampling tick (TTintsnatch4::Timer1Timer, compact view, follow mode)\n");
    TTintsnatch4 form;
    form.CreateForm();
    ShowWindow(form.Handle(), SW_SHOWNOACTIVATE);
    Baseline baseline;
    int step = 0;
    auto move = [&] {
        step = (step + 1) % 50;
        SetCursorPos(100 + step * 3, 100 + step);
    };
    auto result = bench::Compare(
        [&] {
            move();
            form.Timer1Timer();
        },
        [&] {
            move();
            baseline.Tick();
        });
    bench::Row("tick, cursor moved each time", result, "baseline calls, cursor moved");
    int before = gdi::LiveCount();
    for (int i = 0; i < 2000; ++i) {
        move();
        form.Timer1Timer();
    }
    std::printf("  GDI objects held by the window: %d before and %d after 2000 more ticks\n",
                before, gdi::LiveCount());

    // CPU time per second of real sampling: the window's own 5 ms timer, run by the message loop.
    FILETIME creation, exit, kernel0, user0, kernel1, user1;
    GetProcessTimes(GetCurrentProcess(), &creation, &exit, &kernel0, &user0);
    DWORD start = GetTickCount();
    MSG m;
    while (GetTickCount() - start < 2000) {
        while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&m);
        move();
        Sleep(5);
    }
    GetProcessTimes(GetCurrentProcess(), &creation, &exit, &kernel1, &user1);
    auto ms = [](const FILETIME& a, const FILETIME& b) {
        ULARGE_INTEGER x{{a.dwLowDateTime, a.dwHighDateTime}},
            y{{b.dwLowDateTime, b.dwHighDateTime}};
        return double(y.QuadPart - x.QuadPart) / 10000.0;
    };
    double cpu = ms(kernel0, kernel1) + ms(user0, user1);
    std::printf(
        "  CPU time while sampling with the window's timers: %.1f ms per second of wall time\n",
        cpu / 2.0);
}
