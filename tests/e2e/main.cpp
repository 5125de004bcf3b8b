// End-to-end tests, and the demonstration that the README's first command gives on a machine
// without a display (--demo FILE: the window over a test pattern, saved as a screenshot).
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "app/ControlIds.h"
#include "tests/e2e/Harness.h"

// After the platform header, which it needs.
#include <shellapi.h>

namespace {
int Demo(const wchar_t* shotPath) {
    e2e::PatternWindow pattern({{{100, 100, 400, 300}, RGB(255, 0, 0)},
                                {{400, 100, 700, 300}, RGB(0, 160, 80)},
                                {{100, 300, 400, 500}, RGB(18, 52, 86)},
                                {{400, 300, 700, 500}, RGB(255, 255, 255)}});
    e2e::App app;
    if (!app.Start()) return 1;
    // Near the corner where four colours meet: the magnifier shows all four.
    e2e::MoveCursor(396, 296);
    // The picture is taken whatever it shows; a wait that gives up says so.
    auto report = [](const testing::AssertionResult& waited) {
        if (!waited) fprintf(stderr, "%s\n", waited.message());
    };
    report(
        e2e::WaitFor([&] { return app.Text(id::ColHex) == L"#FF0000"; }, 10000, "the red sample"));
    // The magnifier drawn: up and left of its middle it shows the red above and left of the
    // cursor.
    report(e2e::WaitFor(
        [&] {
            RECT z{};
            GetWindowRect(app.Control(id::JvZoom1), &z);
            return e2e::ScreenPixel(z.left + (z.right - z.left) / 4,
                                    z.top + (z.bottom - z.top) / 4) == RGB(255, 0, 0);
        },
        10000, "the magnifier drawn"));
    // What the window uncovered on its way to the cursor painted again, so the picture shows the
    // pattern all round the window and no trace of where it started.
    report(e2e::WaitFor(
        [&] {
            const RECT window = app.WindowRect();
            for (int y = 110; y < 500; y += 20)
                for (int x = 110; x < 700; x += 20)
                    if (const POINT p{x, y};
                        !PtInRect(&window, p) && e2e::ScreenPixel(x, y) != pattern.ColourAt(p))
                        return false;
            return true;
        },
        10000, "the pattern painted round the window"));
    bool ok = e2e::SaveScreenshot(shotPath);
    app.Close();
    return ok && !app.Running() ? 0 : 1;
}
}  // namespace

int wmain_like(int argc, wchar_t** argv) {
    if (argc >= 3 && wcscmp(argv[1], L"--demo") == 0) return Demo(argv[2]);
    return -1;
}

int main(int argc, char** argv) {
    int wargc = 0;
    wchar_t** wargv = CommandLineToArgvW(GetCommandLineW(), &wargc);
    int demo = wmain_like(wargc, wargv);
    LocalFree(wargv);
    if (demo >= 0) return demo;
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
