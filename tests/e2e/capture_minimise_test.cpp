// A capture minimises the whole program for a moment, and the user minimises it from the taskbar:
// neither is a hiding of the window. The keys held while the window shows stay held, the
// active-window capture takes the window the user was in, and an exit while an overlay is open
// ends the program cleanly.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "app/ControlIds.h"
#include "tests/e2e/Harness.h"

using namespace e2e;

namespace {

constexpr COLORREF Orange = RGB(255, 128, 0);

// Whether another program could take the combination now.
bool FreeForOthers(UINT mods, UINT vk) {
    if (!RegisterHotKey(nullptr, 0x7F02, mods | MOD_NOREPEAT, vk)) return false;
    UnregisterHotKey(nullptr, 0x7F02);
    return true;
}

// Ctrl+C and the keypad's plus and minus, which belong to the program while its window shows.
bool WindowKeysHeld() {
    return !FreeForOthers(MOD_CONTROL, 'C') && !FreeForOthers(0, VK_ADD) &&
           !FreeForOthers(0, VK_SUBTRACT);
}

std::wstring IniPath(const App& app) { return app.Folder() + L"\\Tintsnatch4.ini"; }

std::string ReadFileBytes(const std::wstring& path) {
    std::string s;
    HANDLE f = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) return s;
    s.resize(1 << 16);
    DWORD got = 0;
    ReadFile(f, s.data(), static_cast<DWORD>(s.size()), &got, nullptr);
    CloseHandle(f);
    s.resize(got);
    return s;
}

// The capture mode and area as the Capture page stores them, and more stored lines if given.
void ChooseCapture(const App& app, int mode, int area, const std::string& more = "") {
    std::string text = "[TTintsnatch4]\r\nrgCapture_ItemIndex=" + std::to_string(mode) +
                       "\r\nrgCaptureArea_ItemIndex=" + std::to_string(area) + "\r\n" + more;
    HANDLE f =
        CreateFileW(IniPath(app).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(f, INVALID_HANDLE_VALUE);
    DWORD n = 0;
    WriteFile(f, text.data(), static_cast<DWORD>(text.size()), &n, nullptr);
    CloseHandle(f);
}

// Ctrl+C with the cursor over the orange block puts its text on the clipboard.
testing::AssertionResult CtrlCCopiesTheColour(const App& app) {
    if (auto shown = WaitFor([&] { return app.Text(id::ColHex) == L"#FF8000"; }, 5000,
                             "ColHex showing \"#FF8000\"");
        !shown)
        return shown;
    SetClipboardText(L"before");
    auto copied = [] { return ClipboardText() == L"255 128 0"; };
    PressKeys({VK_CONTROL, 'C'});
    if (WaitFor(copied, 2000, "")) return testing::AssertionSuccess();
    // Once in some hundreds of runs on a loaded machine, the first press right after a capture
    // came to nothing, no message shown, and a second press copied. That is Wine's: the control
    // program scripts/wine-evidence/focus_modifier_control.cpp loses every such press when the
    // focus moves while the injected Ctrl is down (and none otherwise), as it does when the
    // program's window takes the focus back late after an overlay. A key that is not ours, or a
    // copy that does not work, fails both presses.
    std::printf("note: the first Ctrl+C after the capture copied nothing; pressing again\n");
    PressKeys({VK_CONTROL, 'C'});
    return WaitFor(copied, 5000, "\"255 128 0\" on the clipboard");
}

struct Mode {
    const char* name;
    int mode, area;          // rgCapture and rgCaptureArea
    const wchar_t* overlay;  // the overlay the capture opens, if any
    const char* more = "";   // more stored values
};

const Mode Modes[] = {{"Selection", 0, 6, L"TCaptureRectForm"},
                      {"SizedSelection", 0, 0, L"TCaptureRectForm"},
                      {"Desktop", 1, 6, nullptr},
                      {"ActiveWindow", 2, 6, nullptr},
                      {"Object", 3, 6, L"TCaptureObjectForm"}};

std::string NameOf(const testing::TestParamInfo<Mode>& info) { return info.param.name; }

}  // namespace

class CaptureKeepsTheKeys : public testing::TestWithParam<Mode> {
  protected:
    PatternWindow pattern{{{{0, 0, 300, 300}, Orange}}};
    App app;
};

TEST_P(CaptureKeepsTheKeys, CtrlCAndTheZoomKeysStayHeldAfterTheCapture) {
    const Mode& m = GetParam();
    ChooseCapture(app, m.mode, m.area);
    MoveCursor(100, 100);
    ASSERT_TRUE(app.Start());
    ASSERT_TRUE(WaitFor(WindowKeysHeld, 5000, "the Windows keys held"));
    PressKeys({VK_F9});
    if (m.overlay) {
        ASSERT_TRUE(WaitFor([&] { return app.VisibleTopWindow(m.overlay) != nullptr; }, 8000,
                            "the overlay shown"));
        Click(100, 100);
    }
    ASSERT_TRUE(
        WaitFor([&] { return app.Visible(id::CapturePanel); }, 8000, "the capture view shown"));
    SendMessageW(app.Control(id::Cancel), BM_CLICK, 0, 0);
    ASSERT_TRUE(
        WaitFor([&] { return !app.Visible(id::CapturePanel); }, 5000, "the capture view gone"));
    EXPECT_TRUE(WindowKeysHeld());
    EXPECT_TRUE(CtrlCCopiesTheColour(app))
        << "clipboard: " << testing::PrintToString(ClipboardText());
}

INSTANTIATE_TEST_SUITE_P(EveryMode, CaptureKeepsTheKeys, testing::ValuesIn(Modes), NameOf);

TEST(MinimiseKeepsTheKeys, CtrlCAndTheZoomKeysStayHeldAfterAMinimiseAndRestore) {
    PatternWindow pattern{{{{0, 0, 300, 300}, Orange}}};
    App app;
    MoveCursor(100, 100);
    ASSERT_TRUE(app.Start());
    HWND application = FindTopWindow(L"TintsnatchApplication", app.ProcessId());
    HWND icon = FindTopWindow(L"TJvTrayIconWindow", app.ProcessId());
    ASSERT_NE(application, nullptr);
    ASSERT_NE(icon, nullptr);
    ASSERT_TRUE(WaitFor(WindowKeysHeld, 5000, "the Windows keys held"));

    // What the taskbar button sends; the tray icon's double-click brings the program back.
    PostMessageW(application, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    ASSERT_TRUE(WaitFor([&] { return IsIconic(application) && !IsWindowVisible(app.MainWindow()); },
                        5000, "the application minimised and the window hidden"));
    EXPECT_TRUE(WindowKeysHeld()) << "minimised is not hidden";
    PostMessageW(icon, 0x0401, MAKEWPARAM(300, 200), MAKELPARAM(WM_LBUTTONDBLCLK, 1));
    ASSERT_TRUE(WaitFor([&] { return !IsIconic(application) && IsWindowVisible(app.MainWindow()); },
                        5000, "the application restored and the window shown"));
    EXPECT_TRUE(WindowKeysHeld());
    EXPECT_TRUE(CtrlCCopiesTheColour(app))
        << "clipboard: " << testing::PrintToString(ClipboardText());
}

namespace {
// The clipboard's bitmap as 0x00RRGGBB pixels, rows top to bottom.
std::vector<COLORREF> ClipboardPixels(SIZE& size) {
    std::vector<COLORREF> out;
    size = {0, 0};
    if (!OpenClipboardWaiting()) return out;
    HBITMAP bitmap = static_cast<HBITMAP>(GetClipboardData(CF_BITMAP));
    BITMAP bm{};
    if (bitmap && GetObjectW(bitmap, sizeof bm, &bm)) {
        size = {bm.bmWidth, bm.bmHeight};
        BITMAPINFO info{};
        info.bmiHeader = {
            sizeof(BITMAPINFOHEADER), bm.bmWidth, -bm.bmHeight, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        std::vector<DWORD> bits(static_cast<size_t>(bm.bmWidth) * bm.bmHeight);
        HDC screen = GetDC(nullptr);
        GetDIBits(screen, bitmap, 0, bm.bmHeight, bits.data(), &info, DIB_RGB_COLORS);
        ReleaseDC(nullptr, screen);
        for (DWORD p : bits) out.push_back(RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF));
    }
    CloseClipboard();
    return out;
}

// How many pixels of area, in a capture of the whole desk on the clipboard, are not colour; -1
// when the clipboard holds no such capture.
int DeskPixelsOtherThan(COLORREF colour, const RECT& area) {
    SIZE size{};
    std::vector<COLORREF> pixels = ClipboardPixels(size);
    if (size.cx != GetSystemMetrics(SM_CXSCREEN) || size.cy != GetSystemMetrics(SM_CYSCREEN))
        return -1;
    int other = 0;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            other += pixels[static_cast<size_t>(y) * size.cx + x] != colour;
    return other;
}

}  // namespace

TEST(ActiveWindowCapture, TakesTheWindowTheUserWasIn) {
    // The user's window: 240 x 180, red on the left, blue on the right.
    const RECT bounds{200, 150, 440, 330};
    PatternWindow users{{{{0, 0, 120, 180}, RGB(255, 0, 0)}, {{120, 0, 240, 180}, RGB(0, 0, 255)}},
                        RGB(40, 40, 40),
                        bounds};
    App app;
    ChooseCapture(app, 2, 6);
    MoveCursor(700, 500);
    ASSERT_TRUE(app.Start());
    ASSERT_TRUE(ActivateUsersWindow(app, users.Handle()));
    SetClipboardText(L"before");
    PressKeys({VK_F9});
    ASSERT_TRUE(
        WaitFor([&] { return app.Visible(id::CapturePanel); }, 8000, "the capture view shown"));
    SIZE size{};
    std::vector<COLORREF> pixels = ClipboardPixels(size);
    ASSERT_EQ(size.cx, 240);
    ASSERT_EQ(size.cy, 180);
    int wrong = 0;
    for (int y = 0; y < size.cy; ++y)
        for (int x = 0; x < size.cx; ++x)
            if (pixels[static_cast<size_t>(y) * size.cx + x] !=
                (x < 120 ? RGB(255, 0, 0) : RGB(0, 0, 255)))
                ++wrong;
    EXPECT_EQ(wrong, 0) << "pixels that differ from the user's window";
}

TEST(DesktopCapture, ShowsWhatLayBeneathTheProgramsWindowNotTheWindow) {
    // The engine reads the screen as soon as the window beneath has repainted, not after a
    // fixed pause: the test's own window must have painted the orange the program uncovered.
    PatternWindow pattern{{{{0, 0, 500, 400}, Orange}}};
    App app;
    ChooseCapture(app, 1, 6);
    MoveCursor(100, 100);
    ASSERT_TRUE(app.Start());
    RECT own{};
    ASSERT_TRUE(WaitFor(
        [&] {
            own = app.WindowRect();
            return own.left == 120 && own.top == 120 && IsWindowVisible(app.MainWindow());
        },
        5000, "the window over the orange block"));
    PressKeys({VK_F9});
    ASSERT_TRUE(
        WaitFor([&] { return app.Visible(id::CapturePanel); }, 8000, "the capture view shown"));
    EXPECT_EQ(DeskPixelsOtherThan(Orange, own), 0) << "pixels of the program's window";
}

class ExitDuringCapture : public testing::TestWithParam<Mode> {};

TEST_P(ExitDuringCapture, F10EndsTheOverlayAndTheProgramCleanly) {
    const Mode& m = GetParam();
    App app;
    ChooseCapture(app, m.mode, m.area, m.more);
    MoveCursor(100, 100);
    ASSERT_TRUE(app.Start());
    PressKeys({VK_F9});
    ASSERT_TRUE(WaitFor([&] { return app.VisibleTopWindow(m.overlay) != nullptr; }, 8000,
                        "the overlay shown"));
    PressKeys({VK_F10});
    ASSERT_TRUE(app.WaitForExit(10000));
    EXPECT_EQ(app.ExitCode(), 0u);
    std::string ini = ReadFileBytes(IniPath(app));
    EXPECT_NE(ini.find("FormVersion="), std::string::npos) << "the settings are saved:\n" << ini;
    EXPECT_NE(ini.find("ShowCmd=1\r\n"), std::string::npos)
        << "saved after the capture restored the program, so the next start shows it:\n"
        << ini;
    EXPECT_TRUE(FreeForOthers(0, VK_F9)) << "every hotkey is released";
}

INSTANTIATE_TEST_SUITE_P(EveryOverlay, ExitDuringCapture,
                         testing::Values(Modes[0], Modes[1], Modes[4],
                                         Mode{"Countdown", 1, 6, L"TCountdownForm",
                                              "udDelay_Position=10\r\n"}),
                         NameOf);

TEST(LogOffDuringCapture, SavesTheStateFromBeforeTheCaptureSoTheNextStartShowsTheWindow) {
    App app;
    ChooseCapture(app, 0, 6);
    MoveCursor(100, 100);
    ASSERT_TRUE(app.Start());
    PressKeys({VK_F9});
    ASSERT_TRUE(WaitFor([&] { return app.VisibleTopWindow(L"TCaptureRectForm") != nullptr; }, 8000,
                        "the overlay shown"));
    DWORD_PTR answer = 0;
    ASSERT_TRUE(SendMessageTimeoutW(app.MainWindow(), WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF,
                                    SMTO_BLOCK, 5000, &answer));
    // Saved before the answer: the platform may end the process any moment after it.
    std::string ini = ReadFileBytes(IniPath(app));
    EXPECT_NE(ini.find("ShowCmd=1\r\n"), std::string::npos) << ini;
}

TEST(DesktopCapture, IncludeCursorDrawsThePointerAsItWasAtItsPlace) {
    PatternWindow pattern{{}, Orange};
    App app;
    ChooseCapture(app, 1, 6, "cbIncludeCursor_Checked=True\r\n");
    MoveCursor(400, 300);
    ASSERT_TRUE(app.Start());
    ASSERT_TRUE(WaitFor([&] { return app.WindowRect().left == 420; }, 5000, "the window beside"));
    // The user works in the pattern's program, whose window sets the pointer as the mouse moves.
    ASSERT_TRUE(ActivateUsersWindow(app, pattern.Handle()));
    MouseTo(400, 300);
    CURSORINFO info{};
    info.cbSize = sizeof info;
    ASSERT_TRUE(WaitFor([&] { return GetCursorInfo(&info) && info.hCursor; }, 5000,
                        "the pointer set by the user's window"));
    // What it looks like over the pattern: drawn here the way the screen shows it.
    ICONINFO icon{};
    ASSERT_TRUE(GetIconInfo(info.hCursor, &icon));
    if (icon.hbmColor) DeleteObject(icon.hbmColor);
    DeleteObject(icon.hbmMask);
    const int side = GetSystemMetrics(SM_CXCURSOR);
    const POINT at{400 - static_cast<LONG>(icon.xHotspot), 300 - static_cast<LONG>(icon.yHotspot)};
    HDC screen = GetDC(nullptr), dc = CreateCompatibleDC(screen);
    HBITMAP expected = CreateCompatibleBitmap(screen, side, side);
    HGDIOBJ old = SelectObject(dc, expected);
    HBRUSH orange = CreateSolidBrush(Orange);
    RECT all{0, 0, side, side};
    FillRect(dc, &all, orange);
    ASSERT_TRUE(DrawIconEx(dc, 0, 0, info.hCursor, 0, 0, 0, nullptr, DI_NORMAL));
    const Pixels want = ReadPixels(dc, {0, 0}, side, side);
    SelectObject(dc, old);
    DeleteObject(orange);
    DeleteObject(expected);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);

    PressKeys({VK_F9});
    ASSERT_TRUE(
        WaitFor([&] { return app.Visible(id::CapturePanel); }, 8000, "the capture view shown"));
    SIZE size{};
    std::vector<COLORREF> pixels = ClipboardPixels(size);
    ASSERT_EQ(size.cx, GetSystemMetrics(SM_CXSCREEN));
    int differ = 0, drawn = 0;
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x) {
            const COLORREF got = pixels[static_cast<size_t>(at.y + y) * size.cx + at.x + x];
            differ += got != want.At(x, y);
            drawn += got != Orange;
        }
    EXPECT_EQ(differ, 0) << "pixels unlike the pointer at its place";
    EXPECT_GT(drawn, 10) << "a pointer shows";
}

TEST(DelayedCapture, CountsDownWithoutTheFocusAndCapturesWhatAppearedMeanwhile) {
    App app;
    ChooseCapture(app, 1, 6, "udDelay_Position=3\r\n");
    MoveCursor(600, 300);
    ASSERT_TRUE(app.Start());
    HWND countdown = nullptr;
    auto counting = [&] {
        countdown = app.VisibleTopWindow(L"TCountdownForm");
        return countdown != nullptr;
    };
    // The capture key again cancels: the window is back as it was, no capture view.
    PressKeys({VK_F9});
    ASSERT_TRUE(WaitFor(counting, 8000, "the countdown shown"));
    EXPECT_FALSE(IsWindowVisible(app.MainWindow())) << "the program is out of the way";
    PressKeys({VK_F9});
    ASSERT_TRUE(WaitFor([&] { return !counting() && IsWindowVisible(app.MainWindow()); }, 8000,
                        "the countdown cancelled and the window back"));
    ASSERT_TRUE(app.Handled());
    EXPECT_FALSE(app.Visible(id::CapturePanel));

    SetClipboardText(L"before");
    PressKeys({VK_F9});
    ASSERT_TRUE(WaitFor(counting, 8000, "the countdown shown"));
    RECT shown{};
    GetWindowRect(countdown, &shown);
    EXPECT_NE(GetForegroundWindow(), countdown) << "the countdown never takes the focus";
    // Another program opens a window meanwhile, over the countdown's place.
    const RECT opened{shown.left - 100, shown.top - 60, shown.right + 100, shown.bottom + 60};
    PatternWindow other{{}, Orange, opened};
    EXPECT_TRUE(IsWindowVisible(countdown)) << "opened while the countdown still ran";
    ASSERT_TRUE(
        WaitFor([&] { return app.Visible(id::CapturePanel); }, 15000, "the capture view shown"));
    EXPECT_EQ(DeskPixelsOtherThan(Orange, opened), 0)
        << "pixels other than the new window's, the countdown's among them";
}

TEST(SelectionCapture, TheLastRegionIsOfferedAgainTheArrowsMoveItAndEnterTakesIt) {
    PatternWindow pattern{
        {{{100, 100, 200, 175}, RGB(255, 0, 0)}, {{200, 175, 300, 250}, RGB(0, 0, 255)}}, Orange};
    App app;
    ChooseCapture(app, 0, 6,
                  "cbLastRegion_Checked=True\r\nOskScreenCapture1_LastRegion=90,100,290,250\r\n");
    MoveCursor(600, 500);
    ASSERT_TRUE(app.Start());
    PressKeys({VK_F9});
    HWND overlay = nullptr;
    ASSERT_TRUE(WaitFor(
        [&] {
            overlay = app.VisibleTopWindow(L"TCaptureRectForm");
            return overlay && GetForegroundWindow() == overlay;
        },
        8000, "the overlay shown in front"));
    PressKeys({VK_SHIFT, VK_RIGHT});  // ten pixels right: the two blocks exactly
    PressKeys({VK_RETURN});
    ASSERT_TRUE(
        WaitFor([&] { return app.Visible(id::CapturePanel); }, 8000, "the capture view shown"));
    SIZE size{};
    std::vector<COLORREF> pixels = ClipboardPixels(size);
    ASSERT_EQ(size.cx, 200);
    ASSERT_EQ(size.cy, 150);
    auto at = [&](int x, int y) { return pixels[static_cast<size_t>(y) * size.cx + x]; };
    EXPECT_EQ(at(0, 0), RGB(255, 0, 0));
    EXPECT_EQ(at(99, 74), RGB(255, 0, 0));
    EXPECT_EQ(at(100, 75), RGB(0, 0, 255));
    EXPECT_EQ(at(199, 149), RGB(0, 0, 255));
    EXPECT_EQ(at(150, 30), Orange);
    ASSERT_TRUE(app.Close());
    EXPECT_NE(ReadFileBytes(IniPath(app)).find("OskScreenCapture1_LastRegion=100,100,300,250"),
              std::string::npos)
        << "the region taken is kept for the next run";
}

// Kept regions that a hand-edited file or an unplugged monitor leaves: the one reaching to the
// end of the numbers is offered as the desk, the one beyond every monitor is not offered, and
// Enter then starts the user's own rectangle.
TEST(SelectionCapture, AKeptRegionIsOfferedOnlyAsFarAsTheDeskReaches) {
    const int deskW = GetSystemMetrics(SM_CXVIRTUALSCREEN),
              deskH = GetSystemMetrics(SM_CYVIRTUALSCREEN);
    App app;
    auto captureWith = [&](const char* region, const std::vector<WORD>& more) {
        ChooseCapture(app, 0, 6,
                      std::string("cbLastRegion_Checked=True\r\nOskScreenCapture1_LastRegion=") +
                          region + "\r\n");
        MoveCursor(100, 100);
        ASSERT_TRUE(app.Start());
        PressKeys({VK_F9});
        ASSERT_TRUE(app.WaitForFront(L"TCaptureRectForm"));
        PressKeys({VK_RETURN});
        for (WORD key : more) PressKeys({VK_SHIFT, key});
        if (!more.empty()) PressKeys({VK_RETURN});
        ASSERT_TRUE(
            WaitFor([&] { return app.Visible(id::CapturePanel); }, 8000, "the capture view shown"));
    };
    SIZE size{};
    captureWith("0,0,2147483647,2147483647", {});
    ASSERT_FALSE(HasFatalFailure());
    ClipboardPixels(size);
    EXPECT_TRUE(size.cx == deskW && size.cy == deskH) << size.cx << " x " << size.cy;
    ASSERT_TRUE(app.Close());

    captureWith("2000,2000,2100,2100", {VK_RIGHT, VK_DOWN});
    ASSERT_FALSE(HasFatalFailure());
    ClipboardPixels(size);
    EXPECT_TRUE(size.cx == 10 && size.cy == 10) << size.cx << " x " << size.cy;
}

TEST(SelectionCapture, ARectangleByKeyboardAloneGivesItsSizeAndPixels) {
    PatternWindow pattern{
        {{{100, 100, 200, 175}, RGB(255, 0, 0)}, {{200, 175, 300, 250}, RGB(0, 0, 255)}}, Orange};
    App app;
    ChooseCapture(app, 0, 6);
    MoveCursor(89, 91);
    ASSERT_TRUE(app.Start());
    PressKeys({VK_F9});
    ASSERT_TRUE(app.WaitForFront(L"TCaptureRectForm"));
    PressKeys({VK_SHIFT, VK_RIGHT});  // (99, 91)
    PressKeys({VK_RIGHT});
    for (int i = 0; i < 9; ++i) PressKeys({VK_DOWN});
    PressKeys({VK_SPACE});  // pressed at (100, 100)
    for (int i = 0; i < 20; ++i) PressKeys({VK_SHIFT, VK_RIGHT});
    for (int i = 0; i < 15; ++i) PressKeys({VK_SHIFT, VK_DOWN});
    PressKeys({VK_RETURN});  // released at (300, 250)
    ASSERT_TRUE(
        WaitFor([&] { return app.Visible(id::CapturePanel); }, 8000, "the capture view shown"));
    SIZE size{};
    std::vector<COLORREF> pixels = ClipboardPixels(size);
    ASSERT_EQ(size.cx, 200);
    ASSERT_EQ(size.cy, 150);
    auto at = [&](int x, int y) { return pixels[static_cast<size_t>(y) * size.cx + x]; };
    EXPECT_EQ(at(0, 0), RGB(255, 0, 0));
    EXPECT_EQ(at(99, 74), RGB(255, 0, 0));
    EXPECT_EQ(at(100, 75), RGB(0, 0, 255));
    EXPECT_EQ(at(199, 149), RGB(0, 0, 255));
    EXPECT_EQ(at(150, 30), Orange);
}

TEST(ObjectCapture, TheArrowsPointAndEnterTakesTheWindowUnderTheCursor) {
    PatternWindow users{{}, RGB(0, 0, 255), {200, 150, 440, 330}};
    App app;
    ChooseCapture(app, 3, 6);
    MoveCursor(190, 160);
    ASSERT_TRUE(app.Start());
    PressKeys({VK_F9});
    ASSERT_TRUE(app.WaitForFront(L"TCaptureObjectForm"));
    PressKeys({VK_SHIFT, VK_RIGHT});  // (200, 160): the window's first column
    PressKeys({VK_RETURN});
    ASSERT_TRUE(
        WaitFor([&] { return app.Visible(id::CapturePanel); }, 8000, "the capture view shown"));
    SIZE size{};
    ClipboardPixels(size);
    EXPECT_TRUE(size.cx == 240 && size.cy == 180) << size.cx << " x " << size.cy;
}

TEST(PinnedCapture, OpensWhereTakenMovesZoomsAndClosesLeavingNothing) {
    const COLORREF red = RGB(255, 0, 0), blue = RGB(0, 0, 255);
    PatternWindow pattern{{{{100, 100, 200, 175}, red}, {{200, 175, 300, 250}, blue}}, Orange};
    App app;
    ChooseCapture(app, 0, 6,
                  "cbLastRegion_Checked=True\r\nOskScreenCapture1_LastRegion=100,100,300,250\r\n");
    MoveCursor(600, 500);
    ASSERT_TRUE(app.Start());
    PressKeys({VK_F9});
    ASSERT_TRUE(WaitFor(
        [&] {
            HWND overlay = app.VisibleTopWindow(L"TCaptureRectForm");
            return overlay && GetForegroundWindow() == overlay;
        },
        8000, "the overlay shown in front"));
    PressKeys({VK_RETURN});
    ASSERT_TRUE(
        WaitFor([&] { return app.Visible(id::CapturePanel); }, 8000, "the capture view shown"));
    PostMessageW(app.Control(id::PinCapture), BM_CLICK, 0, 0);
    HWND pin = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (pin = app.VisibleTopWindow(L"TPinForm")) != nullptr; }, 5000,
                        "the pin shown"));
    // The image where it was taken, in a frame of two pixels round it.
    RECT r{};
    GetWindowRect(pin, &r);
    EXPECT_EQ(r.left, 98);
    EXPECT_EQ(r.top, 98);
    EXPECT_EQ(r.right - r.left, 204);
    EXPECT_EQ(r.bottom - r.top, 154);
    EXPECT_TRUE(WaitFor(
        [] {
            return ScreenPixel(98, 98) == GetSysColor(COLOR_WINDOWTEXT) &&
                   ScreenPixel(99, 99) == GetSysColor(COLOR_WINDOW);
        },
        5000, "the frame round the image, dark outside and light inside"));

    // A click makes it the active window (under Wine the mouse follows the active program only
    // once that program has taken the click), far enough from the drag's start not to make a
    // double click with it; then, dragged 400 right and 300 down, it shows the image over the
    // orange there.
    Click(280, 240);
    ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == pin; }, 5000, "the pin active"));
    ASSERT_TRUE(app.Handled());
    MouseTo(150, 120);
    MouseTo(150, 120, MOUSEEVENTF_LEFTDOWN);
    // The moves go to the pin once it holds the mouse for the drag.
    ASSERT_TRUE(WaitFor(
        [&] {
            GUITHREADINFO gui{};
            gui.cbSize = sizeof gui;
            return GetGUIThreadInfo(GetWindowThreadProcessId(pin, nullptr), &gui) &&
                   gui.hwndCapture == pin;
        },
        5000, "the pin holding the mouse"));
    MouseTo(350, 320);
    MouseTo(550, 420);
    MouseTo(550, 420, MOUSEEVENTF_LEFTUP);
    EXPECT_TRUE(WaitFor(
        [&] {
            return ScreenPixel(500, 400) == red && ScreenPixel(699, 549) == blue &&
                   ScreenPixel(702, 552) == Orange;
        },
        5000, "the pin's image at (500, 400)"));
    PostMessageW(pin, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), MAKELPARAM(600, 450));
    EXPECT_TRUE(WaitFor(
        [&] {
            GetWindowRect(pin, &r);
            return r.left == 498 && r.right - r.left == 254 && r.bottom - r.top == 192;
        },
        5000, "the pin at 125 percent"));
    // The keypad's keys zoom the pin in front at every press, not the magnifier.
    for (auto [key, width] : {std::pair{VK_SUBTRACT, 204}, {VK_SUBTRACT, 154}, {VK_ADD, 204}}) {
        PressKeys({static_cast<WORD>(key)});
        EXPECT_TRUE(WaitFor([&] { return GetWindowRect(pin, &r) && r.right - r.left == width; },
                            5000, "the pin zoomed a step"));
    }
    EXPECT_EQ(app.Text(id::lblZoomFactor), L"15");
    // On to 800 percent it stops where it fills the screen (here its monitor's work area),
    // moved onto it: 509 percent, 1018 x 764 and the frame.
    for (int i = 0; i < 8; ++i)
        PostMessageW(pin, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), MAKELPARAM(600, 450));
    EXPECT_TRUE(WaitFor(
        [&] {
            GetWindowRect(pin, &r);
            return r.right - r.left == 1022 && r.bottom - r.top == 768 && r.left == 2 && r.top == 0;
        },
        5000, "the pin as large as the screen and on it"));

    Click(200, 150, false, 2);
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(pin); }, 5000, "the pin closed and gone"));
    EXPECT_TRUE(
        WaitFor([&] { return ScreenPixel(200, 150) == Orange; }, 5000, "the screen as it was"));
    ASSERT_TRUE(app.Close());
}

TEST(PinnedCapture, EachPinIsAWindowOfItsOwnNamedAndReachedByKeyboard) {
    PatternWindow pattern{{{{100, 100, 300, 250}, RGB(255, 0, 0)}}, Orange};
    App app;
    ChooseCapture(app, 0, 6,
                  "cbLastRegion_Checked=True\r\nOskScreenCapture1_LastRegion=100,100,300,250\r\n");
    MoveCursor(600, 500);
    ASSERT_TRUE(app.Start());
    std::vector<HWND> pins;
    auto newPin = [&] {
        for (HWND w = FindWindowExW(nullptr, nullptr, L"TPinForm", nullptr); w;
             w = FindWindowExW(nullptr, w, L"TPinForm", nullptr))
            if (IsWindowVisible(w) && std::ranges::find(pins, w) == pins.end()) return w;
        return HWND{};
    };
    for (int i = 0; i < 2; ++i) {  // by keys alone: F9, Enter takes the region, Alt+I pins it
        PressKeys({VK_F9});
        ASSERT_TRUE(app.WaitForFront(L"TCaptureRectForm"));
        PressKeys({VK_RETURN});
        ASSERT_TRUE(app.WaitForFocus(app.Control(id::ClipboardCopy), 8000));
        PressKeys({VK_MENU, 'I'});
        HWND pin = nullptr;
        ASSERT_TRUE(WaitFor([&] { return (pin = newPin()) != nullptr; }, 5000, "the new pin"));
        pins.push_back(pin);
    }
    // Windows the task switcher lists (not tool windows), named for a screen reader.
    for (int i = 0; i < 2; ++i) {
        const LONG_PTR ex = GetWindowLongPtrW(pins[i], GWL_EXSTYLE);
        EXPECT_TRUE((ex & WS_EX_APPWINDOW) && !(ex & WS_EX_TOOLWINDOW)) << "pin " << i + 1;
        EXPECT_EQ(AccessibleName(pins[i]),
                  L"Pinned capture " + std::to_wstring(i + 1) + L", 200 x 150 pixels, 100%");
    }
    // Where the switcher takes the user (Wine has no switcher without a window manager), Tab and
    // Shift+Tab go on from pin to pin, the arrows move it, Esc closes it.
    ASSERT_TRUE(SetForegroundWindow(pins[0]));
    ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == pins[0]; }, 5000, "pin 1 active"));
    PressKeys({VK_TAB});
    ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == pins[1]; }, 5000, "pin 2 active"));
    PressKeys({VK_SHIFT, VK_TAB});
    ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == pins[0]; }, 5000, "pin 1 again"));
    PressKeys({VK_RIGHT});
    PressKeys({VK_SHIFT, VK_DOWN});
    RECT r{};
    EXPECT_TRUE(WaitFor([&] { return GetWindowRect(pins[0], &r) && r.left == 99 && r.top == 108; },
                        5000, "pin 1 moved one pixel right and ten down"));
    PressKeys({VK_ESCAPE});
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(pins[0]); }, 5000, "pin 1 closed"));
    EXPECT_TRUE(IsWindowVisible(pins[1]));
    ASSERT_TRUE(app.Close());
}
