// "&Print..." in the capture view puts the captured image on paper: printed on a PDF printer and
// the page rendered with pdftoppm, the image stands centred and scaled as large as fits, a
// smaller image enlarged by a whole factor.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "app/ControlIds.h"
#include "tests/e2e/Harness.h"
#include "tests/e2e/UnixTools.h"

using namespace e2e;

namespace {
// A Linux path as this Wine process names it (Z: is the root of the Linux file system).
std::wstring DosPath(const std::string& unixPath) {
    std::wstring w = L"Z:" + std::wstring(unixPath.begin(), unixPath.end());
    std::replace(w.begin(), w.end(), L'/', L'\\');
    return w;
}

std::string ReadFile(const std::wstring& path) {
    std::ifstream f(path.c_str(), std::ios::binary);
    return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
}

// A binary PPM (P6, maxval 255), complete once its size matches its header.
struct Ppm {
    int w = 0, h = 0;
    std::string data;
    size_t offset = 0;
    bool Load(const std::wstring& path) {
        data = ReadFile(path);
        int maxval = 0, n = 0;
        if (std::sscanf(data.c_str(), "P6 %d %d %d%n", &w, &h, &maxval, &n) != 3 || maxval != 255)
            return false;
        offset = static_cast<size_t>(n) + 1;
        return data.size() == offset + static_cast<size_t>(w) * h * 3;
    }
    COLORREF At(int x, int y) const {
        const char* p = data.data() + offset + (static_cast<size_t>(y) * w + x) * 3;
        return RGB(static_cast<BYTE>(p[0]), static_cast<BYTE>(p[1]), static_cast<BYTE>(p[2]));
    }
};

bool Near(COLORREF a, COLORREF b) {
    return std::abs(GetRValue(a) - GetRValue(b)) <= 8 &&
           std::abs(GetGValue(a) - GetGValue(b)) <= 8 && std::abs(GetBValue(a) - GetBValue(b)) <= 8;
}
bool Paper(COLORREF c) { return Near(c, RGB(255, 255, 255)); }
testing::AssertionResult Shows(COLORREF got, COLORREF want) {
    if (Near(got, want)) return testing::AssertionSuccess();
    char text[64];
    std::snprintf(text, sizeof text, "RGB(%d,%d,%d) instead of RGB(%d,%d,%d)", GetRValue(got),
                  GetGValue(got), GetBValue(got), GetRValue(want), GetGValue(want),
                  GetBValue(want));
    return testing::AssertionFailure() << text;
}

}  // namespace

TEST(Print, TheCapturedDesktopIsPrintedCentredAndScaledInThePrintableArea) {
    // Only on the PDF printer of the test scripts, never on a real one. It writes its files into
    // TS_PRINT_OUT and is the default printer; Wine lists the CUPS printers (through libcups)
    // once its spooler library is loaded.
    const char* out = std::getenv("TS_PRINT_OUT");
    if (!out)
        GTEST_SKIP() << "no test printer: scripts/printer-session.sh sets one up (as root, with "
                        "cups and printer-driver-cups-pdf)";
    wchar_t printer[256] = L"";
    DWORD size = 256;
    auto defaultPrinter = reinterpret_cast<BOOL(WINAPI*)(wchar_t*, DWORD*)>(reinterpret_cast<void*>(
        GetProcAddress(LoadLibraryW(L"winspool.drv"), "GetDefaultPrinterW")));
    ASSERT_TRUE(defaultPrinter && defaultPrinter(printer, &size) &&
                std::wstring(printer) == L"TintsnatchPDF")
        << "Wine does not see the test printer as its default (no CUPS support in Wine?)";
    const std::string folder = out;
    WIN32_FIND_DATAW fd;
    HANDLE find = FindFirstFileW((DosPath(folder) + L"\\*.pdf").c_str(), &fd);
    if (find != INVALID_HANDLE_VALUE) {
        do DeleteFileW((DosPath(folder) + L"\\" + fd.cFileName).c_str());
        while (FindNextFileW(find, &fd));
        FindClose(find);
    }

    // The page as the printer's drawing surface sees it.
    HDC dc = CreateDCW(L"WINSPOOL", printer, nullptr, nullptr);
    ASSERT_NE(dc, nullptr);
    const int dpi = GetDeviceCaps(dc, LOGPIXELSX), areaW = GetDeviceCaps(dc, HORZRES),
              areaH = GetDeviceCaps(dc, VERTRES), offX = GetDeviceCaps(dc, PHYSICALOFFSETX),
              offY = GetDeviceCaps(dc, PHYSICALOFFSETY), paperW = GetDeviceCaps(dc, PHYSICALWIDTH);
    DeleteDC(dc);
    ASSERT_GT(dpi, 0);

    const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    const COLORREF red = RGB(255, 0, 0), green = RGB(0, 160, 0), blue = RGB(0, 0, 255),
                   dark = RGB(40, 40, 40);
    PatternWindow pattern{{{{w / 8, h / 8, w * 3 / 8, h * 3 / 8}, red},
                           {{w * 5 / 8, h / 8, w * 7 / 8, h * 3 / 8}, green},
                           {{w * 3 / 8, h * 5 / 8, w * 5 / 8, h * 7 / 8}, blue}},
                          dark};
    App app;
    ASSERT_TRUE(app.Start());
    // "&Desktop" on the Capture page, then F9 from a spot where the capture view fits the screen.
    MoveCursor(100, 100);
    ASSERT_TRUE(WaitFor([&] { return app.WindowRect().left == 120 && app.WindowRect().top == 120; },
                        5000, "the window at (120, 120)"));
    MoveCursor(150, 128);
    ASSERT_TRUE(WaitFor([&] { return app.WindowSize().cx == 300; }, 5000, "the window 300 wide"))
        << "no options view; window at " << app.WindowRect().left << "," << app.WindowRect().top;
    SendMessageW(app.Control(id::rgCaptureItem0 + 1), BM_CLICK, 0, 0);
    MoveCursor(100, 400);
    ASSERT_TRUE(WaitFor([&] { return app.Caption() == L"Desktop  - 15"; }, 5000,
                        "the caption \"Desktop  - 15\""));
    PressKeys({VK_F9});
    ASSERT_TRUE(
        WaitFor([&] { return app.Visible(id::CapturePanel); }, 8000, "the capture view shown"));

    // "&Print..." and the print dialog's OK, clicked; the dialog runs modally in the app.
    PostMessageW(app.Control(id::Button1), BM_CLICK, 0, 0);
    HWND dialog = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (dialog = app.VisibleTopWindow(L"#32770")) != nullptr; }, 5000,
                        "the print dialog shown"));
    PostMessageW(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);

    // The PDF is whole once it ends with its end-of-file mark.
    std::wstring pdf;
    ASSERT_TRUE(WaitFor(
        [&] {
            HANDLE f = FindFirstFileW((DosPath(folder) + L"\\*.pdf").c_str(), &fd);
            if (f == INVALID_HANDLE_VALUE) return false;
            FindClose(f);
            pdf = fd.cFileName;
            std::string text = ReadFile(DosPath(folder) + L"\\" + pdf);
            return text.find("%%EOF", text.size() > 16 ? text.size() - 16 : 0) != std::string::npos;
        },
        60000, "the PDF printed"))
        << "no PDF in " << folder;
    EXPECT_TRUE(app.Visible(id::CapturePanel)) << "the capture view stays after printing";

    const int r = 50;  // render resolution of the page, dots per inch
    std::string unixPdf = folder + "/" + std::string(pdf.begin(), pdf.end());
    std::wstring ppmPath = DosPath(folder) + L"\\page.ppm";
    DeleteFileW(ppmPath.c_str());
    ASSERT_EQ(unixtools::RunShell("/usr/bin/pdftoppm -r " + std::to_string(r) + " -singlefile '" +
                                  unixPdf + "' '" + folder + "/page'"),
              0)
        << "pdftoppm (poppler-utils) is needed";
    Ppm page;
    ASSERT_TRUE(WaitFor([&] { return page.Load(ppmPath); }, 20000, "a page from pdftoppm"))
        << "pdftoppm made no page";
    EXPECT_NEAR(page.w, paperW * r / dpi, 1) << "the page is the printer's paper";

    // Placement in printer dots: a smaller image grows by the largest whole factor that fits the
    // printable area, a larger one shrinks to fit; centred in the printable area.
    double scale = (w <= areaW && h <= areaH) ? std::min(areaW / w, areaH / h)
                                              : std::min(double(areaW) / w, double(areaH) / h);
    double left = offX + (areaW - w * scale) / 2, top = offY + (areaH - h * scale) / 2;
    auto px = [&](double dots) { return dots * r / dpi; };
    // Edges of the printed image along its middle row and column, against white paper.
    int midX = static_cast<int>(px(left + w * scale / 2)),
        midY = static_cast<int>(px(top + h * scale / 2));
    int x0 = 0, x1 = page.w - 1, y0 = 0, y1 = page.h - 1;
    while (x0 < page.w && Paper(page.At(x0, midY))) ++x0;
    while (x1 >= 0 && Paper(page.At(x1, midY))) --x1;
    while (y0 < page.h && Paper(page.At(midX, y0))) ++y0;
    while (y1 >= 0 && Paper(page.At(midX, y1))) --y1;
    EXPECT_NEAR(x0, px(left), 2);
    EXPECT_NEAR(x1 + 1, px(left + w * scale), 2);
    EXPECT_NEAR(y0, px(top), 2);
    EXPECT_NEAR(y1 + 1, px(top + h * scale), 2);
    // The blocks keep their colours and places: nothing mirrored or turned.
    auto at = [&](double fx, double fy) {
        return page.At(static_cast<int>(px(left + w * scale * fx)),
                       static_cast<int>(px(top + h * scale * fy)));
    };
    EXPECT_TRUE(Shows(at(0.25, 0.25), red));
    EXPECT_TRUE(Shows(at(0.75, 0.25), green));
    EXPECT_TRUE(Shows(at(0.5, 0.75), blue));
    EXPECT_TRUE(Shows(at(0.5, 0.5), dark));
    EXPECT_TRUE(Shows(at(0.25, 0.75), dark));
}
