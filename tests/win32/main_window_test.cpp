// The main window in this process: the colour copy, a locked clipboard, an unreadable screen, the
// readouts on screen while the window follows, the wake after a rest, and no growth of GDI or
// USER objects over thousands of sampling ticks.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "app/ControlIds.h"
#include "app/TintsnatchMain.h"
#include "tests/support/TestSupport.h"
#include "win/Application.h"
#include "win/ErrorReport.h"
#include "win/Gdi.h"

namespace {

class MainWindow : public testing::Test {
  protected:
    testsupport::PatternWindow pattern{
        {{{100, 100, 200, 200}, RGB(255, 128, 0)}, {{200, 100, 300, 200}, RGB(18, 52, 86)}}};
    TTintsnatch4 form;
    std::vector<std::wstring> reports;
    win::ErrorReportHandler previous;

    void SetUp() override {
        previous =
            win::SetErrorReportHandler([this](const std::wstring& t) { reports.push_back(t); });
        form.CreateForm();
        ShowWindow(form.Handle(), SW_SHOWNOACTIVATE);
    }
    void TearDown() override { win::SetErrorReportHandler(previous); }

    std::wstring Text(int id) { return win::GetText(win::FindControl(form.Handle(), id)); }
    void SampleAt(int x, int y) {
        testsupport::MoveCursor(x, y);
        form.Timer1Timer();
    }
};

// Runs this thread's messages, but not its timers', until done() holds.
testing::AssertionResult WaitWithoutTimers(const std::function<bool()>& done, DWORD timeoutMs,
                                           std::string_view what) {
    const DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start >= timeoutMs)
            return testing::AssertionFailure() << "gave up waiting for: " << what;
        MSG m;
        while (PeekMessageW(&m, nullptr, 0, WM_TIMER - 1, PM_REMOVE) ||
               PeekMessageW(&m, nullptr, WM_TIMER + 1, UINT_MAX, PM_REMOVE))
            DispatchMessageW(&m);
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
    return testing::AssertionSuccess();
}

// The pixels of a window's client area: as the screen shows them, or as its text drawn in its own
// font on the button face would look.
std::vector<COLORREF> Pixels(HWND hwnd, bool onScreen) {
    RECT r;
    GetClientRect(hwnd, &r);
    gdi::WindowDC screen(nullptr);
    POINT origin{0, 0};
    if (onScreen) {
        ClientToScreen(hwnd, &origin);
        return testsupport::ReadPixels(screen.Get(), origin, r.right, r.bottom).data;
    }
    gdi::MemoryDC mem(screen.Get());
    gdi::Bitmap bitmap(CreateCompatibleBitmap(screen.Get(), r.right, r.bottom));
    gdi::Selection select(mem.Get(), bitmap.Get());
    gdi::Selection font(mem.Get(), reinterpret_cast<HFONT>(SendMessageW(hwnd, WM_GETFONT, 0, 0)));
    const std::wstring text = win::GetText(hwnd);
    SetBkColor(mem.Get(), GetSysColor(COLOR_BTNFACE));
    SetTextColor(mem.Get(), GetSysColor(COLOR_WINDOWTEXT));
    ExtTextOutW(mem.Get(), 0, 0, ETO_OPAQUE, &r, text.c_str(), static_cast<UINT>(text.size()),
                nullptr);
    return testsupport::ReadPixels(mem.Get(), origin, r.right, r.bottom).data;
}

int WindowsOfThisThread() {
    int count = 0;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND h, LPARAM lp) -> BOOL {
            int* n = reinterpret_cast<int*>(lp);
            ++*n;
            EnumChildWindows(
                h,
                [](HWND, LPARAM lp2) -> BOOL {
                    ++*reinterpret_cast<int*>(lp2);
                    return TRUE;
                },
                lp);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&count));
    return count;
}

}  // namespace

TEST_F(MainWindow, CopyPutsTheChosenFormatOfTheLastSampleOnTheClipboard) {
    SampleAt(150, 150);
    ASSERT_EQ(Text(id::ColHex), L"#FF8000");
    form.EditCopy1Execute(nullptr);
    EXPECT_EQ(testsupport::ClipboardText(), L"255 128 0");

    // The 8-bit text is there too, with its terminating NUL.
    ASSERT_TRUE(OpenClipboard(nullptr));
    HANDLE h = GetClipboardData(CF_TEXT);
    ASSERT_NE(h, nullptr);
    EXPECT_STREQ(static_cast<const char*>(GlobalLock(h)), "255 128 0");
    GlobalUnlock(h);
    CloseClipboard();

    // Choosing another format changes the preview at once; the copy follows the choice.
    HWND cmyk = win::FindControl(form.Handle(), id::rgClipboardItem0 + 4);
    SendMessageW(cmyk, BM_CLICK, 0, 0);
    EXPECT_EQ(Text(id::colFmtPreview), L"0 127 255 0");
    SampleAt(250, 150);
    EXPECT_EQ(Text(id::colFmtPreview), L"0 127 255 0") << "the preview does not follow samples";
    form.EditCopy1Execute(nullptr);
    EXPECT_EQ(testsupport::ClipboardText(), L"68 34 0 169");
}

TEST_F(MainWindow, ALockedClipboardIsReportedAndKeepsItsContent) {
    testsupport::SetClipboardText(L"keep me");
    SampleAt(150, 150);
    HWND holder = CreateWindowW(L"STATIC", L"", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(OpenClipboard(holder));
    // Through the window procedure boundary, as the hotkey runs it.
    win::Guarded([&] { form.EditCopy1Execute(nullptr); });
    CloseClipboard();
    DestroyWindow(holder);
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0], L"Cannot open clipboard.");
    EXPECT_EQ(testsupport::ClipboardText(), L"keep me");
    // Sampling goes on afterwards.
    SampleAt(250, 150);
    EXPECT_EQ(Text(id::ColHex), L"#123456");
}

TEST_F(MainWindow, AScreenThatCannotBeReadKeepsTheLastReadout) {
    SampleAt(150, 150);
    form.ReadPixel = [](HDC, int, int) { return CLR_INVALID; };  // a locked session's screen
    SampleAt(250, 150);
    EXPECT_EQ(Text(id::ColHex), L"#FF8000");
    EXPECT_EQ(Text(id::Position), L"(150,150)");
}

// A tick that finds the cursor moved reads the screen once: the cursor's pixel comes from the
// magnifier's copy of the screen round it, exact where each neighbour differs.
TEST_F(MainWindow, AMovingCursorsPixelComesExactFromTheMagnifiersRead) {
    testsupport::PatternWindow dots{
        {{{0, 0, 1, 1}, RGB(1, 2, 3)}, {{1, 0, 2, 1}, RGB(4, 5, 6)}, {{0, 1, 1, 2}, RGB(7, 8, 9)}},
        RGB(40, 40, 40),
        {400, 300, 410, 310}};
    SampleAt(150, 150);  // the compact view up, its magnifier shown
    // The kind of device context each pixel read was given, and what it read.
    std::vector<std::pair<DWORD, COLORREF>> reads;
    form.ReadPixel = [&](HDC dc, int x, int y) {
        reads.emplace_back(GetObjectType(dc), GetPixel(dc, x, y));
        return reads.back().second;
    };
    for (auto [x, y, color] :
         {std::tuple{400, 300, RGB(1, 2, 3)}, std::tuple{401, 300, RGB(4, 5, 6)},
          std::tuple{400, 301, RGB(7, 8, 9)}}) {
        reads.clear();
        SampleAt(x, y);
        // The first tick after the move; the ticks of the still cursor that follow read alone.
        ASSERT_FALSE(reads.empty());
        EXPECT_EQ(reads.front(), std::pair(static_cast<DWORD>(OBJ_MEMDC), color));
    }
}

// Each tick moves the window beside the cursor and draws the new position: the readout shows it,
// whole and in its own font, after every move.
TEST_F(MainWindow, TheReadoutsShowEachNewTextInTheirFontWhileTheWindowFollows) {
    const HWND position = win::FindControl(form.Handle(), id::Position);
    const HWND hex = win::FindControl(form.Handle(), id::ColHex);
    for (POINT p : {POINT{150, 150}, POINT{250, 160}, POINT{120, 190}}) {
        SampleAt(p.x, p.y);
        RECT w;
        GetWindowRect(form.Handle(), &w);
        ASSERT_EQ(w.left, p.x + 20);
        ASSERT_EQ(Text(id::Position),
                  L"(" + std::to_wstring(p.x) + L"," + std::to_wstring(p.y) + L")");
        for (HWND readout : {position, hex})
            EXPECT_TRUE(testsupport::WaitFor(
                [&] { return Pixels(readout, true) == Pixels(readout, false); }, 3000,
                "the readout showing its text"));
    }
}

// The readouts keep their text themselves: a reader gets its length, and as much of it as its
// buffer holds, always ended; a buffer of no size gets nothing written.
TEST_F(MainWindow, AReadoutGivesItsTextCutToTheReadersBuffer) {
    SampleAt(150, 150);
    const HWND position = win::FindControl(form.Handle(), id::Position);
    wchar_t text[5] = {L'x', L'x', L'x', L'x', L'x'};
    EXPECT_EQ(SendMessageW(position, WM_GETTEXTLENGTH, 0, 0), 9);  // "(150,150)"
    EXPECT_EQ(SendMessageW(position, WM_GETTEXT, 4, reinterpret_cast<LPARAM>(text)), 3);
    EXPECT_EQ(std::wstring(text), L"(15");
    EXPECT_EQ(SendMessageW(position, WM_GETTEXT, 0, reinterpret_cast<LPARAM>(text)), 0);
    EXPECT_EQ(text[4], L'x');
}

TEST_F(MainWindow, TheFirstMovementAfterARestShowsWithoutWaitingForATick) {
    SampleAt(150, 150);
    ASSERT_TRUE(testsupport::WaitFor([&] { return form.Resting(); }, 5000, "the sampler resting"));
    // Mouse input as a device gives it; with the timers held back, only the wake can show it.
    testsupport::MouseTo(250, 150);
    EXPECT_TRUE(WaitWithoutTimers([&] { return Text(id::Position) == L"(250,150)"; }, 5000,
                                  "Position showing (250,150)"));
}

TEST_F(MainWindow, ThousandsOfTicksLeaveNoGraphicsOrWindowObjectsBehind) {
    SampleAt(150, 150);
    testsupport::DispatchPending();
    int gdiBefore = gdi::LiveCount();
    int windowsBefore = WindowsOfThisThread();
    for (int i = 0; i < 3000; ++i) {
        SetCursorPos(110 + i % 180, 110 + (i / 7) % 80);
        form.Timer1Timer();
    }
    testsupport::DispatchPending();
    EXPECT_EQ(gdi::LiveCount(), gdiBefore);
    EXPECT_EQ(WindowsOfThisThread(), windowsBefore);
    DWORD gdiObjects = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    if (gdiObjects != 0) {  // a real count exists (Windows): it must not have grown either
        for (int i = 0; i < 2000; ++i) {
            SetCursorPos(110 + i % 180, 120);
            form.Timer1Timer();
        }
        EXPECT_LE(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS), gdiObjects + 2);
    }
}
