// Screen readers and High Contrast on the main window in this process: the names a screen reader
// reads back, the announcement after a copy, the announcer where UI Automation is missing, and
// the frames and colours High Contrast asks for, as the controls paint them.
#include <algorithm>
#include <memory>
#include <utility>
#include <vector>

#include "access/UiaAnnouncer.h"
#include "app/Components.h"
#include "tests/support/TestSupport.h"
#include "tests/win32/MainWindowFixture.h"
#include "win/Gdi.h"

namespace {

class Access : public MainWindowFixture {
  protected:
    int shade = 0;  // the red of the colour under the cursor, for a colour that changes
    // A known colour at a cursor away from the window.
    void Sample() {
        form.ReadPixel = [](HDC, int, int) { return RGB(255, 128, 0); };
        ASSERT_TRUE(testsupport::MoveCursor(2, 2));
        form.Timer1Timer();
    }
};

// A control's client area as it paints it (WM_PRINTCLIENT runs its one painting function).
testsupport::Pixels Printed(HWND hwnd) {
    RECT r;
    GetClientRect(hwnd, &r);
    gdi::WindowDC screen(nullptr);
    gdi::MemoryDC mem(screen.Get());
    gdi::Bitmap bitmap(CreateCompatibleBitmap(screen.Get(), r.right, r.bottom));
    gdi::Selection select(mem.Get(), bitmap.Get());
    SendMessageW(hwnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(mem.Get()), PRF_CLIENT);
    return testsupport::ReadPixels(mem.Get(), {0, 0}, r.right, r.bottom);
}

TEST_F(Access, AScreenReaderReadsWhatEachControlShowsOrIsFor) {
    Sample();
    const std::pair<int, const wchar_t*> expected[] = {{id::ColR, L"R:255"},
                                                       {id::ColHex, L"#FF8000"},
                                                       {id::Position, L"(2,2)"},
                                                       {id::TintColor, L"Colour 255 128 0"},
                                                       {id::JvZoom1, L"Magnifier, zoom 7.4x"},
                                                       {id::JvZoom2, L"Magnifier, zoom 7.4x"},
                                                       {id::ZoomSlider, L"Zoom"},
                                                       {id::CroshairSize, L"Croshair Size"},
                                                       {id::hkShowHide, L"Toggle show/hide"},
                                                       {id::hkFixedFollow, L"Toggle fixed/follow"},
                                                       {id::hkCapture, L"Start capture"},
                                                       {id::hkExit, L"Exit program"},
                                                       {id::udDelay, L"Delay"}};
    for (const auto& [control, name] : expected)
        EXPECT_EQ(testsupport::AccessibleName(Control(control)), name) << "control " << control;
    // The captured image by its size, once there is one.
    EXPECT_EQ(testsupport::AccessibleName(Control(id::CapturedImage)), L"Captured image, empty");
    SendMessageW(Control(id::rgCaptureItem0 + 1), BM_CLICK, 0, 0);  // the desktop
    form.ScreenCapture()->Delay = 0;
    form.CaptureExecute();
    EXPECT_EQ(testsupport::AccessibleName(Control(id::CapturedImage)),
              L"Captured image, " + std::to_wstring(GetSystemMetrics(SM_CXSCREEN)) + L" x " +
                  std::to_wstring(GetSystemMetrics(SM_CYSCREEN)) + L" pixels");
}

// The controls a name change was raised for, in this process.
std::vector<HWND> renamed;
void CALLBACK Renamed(HWINEVENTHOOK, DWORD, HWND hwnd, LONG object, LONG, DWORD, DWORD) {
    if (object == OBJID_CLIENT) renamed.push_back(hwnd);
}

TEST_F(Access, NameChangesAreRaisedOnceTheSamplerRestsNotAtEveryTick) {
    renamed.clear();
    HWINEVENTHOOK hook = SetWinEventHook(EVENT_OBJECT_NAMECHANGE, EVENT_OBJECT_NAMECHANGE, nullptr,
                                         Renamed, GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
    ASSERT_TRUE(hook);
    HWND red = Control(id::ColR);
    form.ReadPixel = [this](HDC, int, int) { return RGB(shade, 0, 0); };
    ASSERT_TRUE(testsupport::MoveCursor(2, 2));
    for (shade = 1; shade <= 20; ++shade) form.Timer1Timer();  // a new colour at every tick
    testsupport::DispatchPending();
    EXPECT_EQ(std::count(renamed.begin(), renamed.end(), red), 0) << "raised while changing";
    // Still, the sampler comes to rest, and the last colour is told once.
    EXPECT_TRUE(testsupport::WaitFor([&] { return !renamed.empty(); }, 5000, "a name change"));
    EXPECT_EQ(testsupport::WindowTextOf(red), L"R:21");
    EXPECT_TRUE(
        testsupport::HoldsFor([&] { return std::count(renamed.begin(), renamed.end(), red) == 1; },
                              500, "one name change for the red readout"));
    UnhookWinEvent(hook);
}

TEST_F(Access, ACopyAnnouncesTheCopiedText) {
    struct Heard : a11y::Announcer {
        std::vector<std::wstring>* said;
        explicit Heard(std::vector<std::wstring>* s) : said(s) {}
        void Announce(const std::wstring& text) override { said->push_back(text); }
    };
    std::vector<std::wstring> said;
    form.SetAnnouncer(std::make_unique<Heard>(&said));
    Sample();
    form.EditCopy1Execute(nullptr);
    EXPECT_EQ(testsupport::ClipboardText(), L"255 128 0");
    form.CopyPickedColor(RGB(1, 2, 3), {4, 5});  // the precise pick's copy
    EXPECT_EQ(said, (std::vector<std::wstring>{L"Copied 255 128 0", L"Copied 1 2 3"}));
}

TEST_F(Access, TheSystemAnnouncerDoesNothingWhereUiAutomationIsMissing) {
    // No such library, and one without the two calls: nothing is said, nothing fails.
    for (const wchar_t* library : {L"no-such-library.dll", L"kernel32.dll"}) {
        a11y::UiaAnnouncer announcer([this] { return form.Handle(); }, library);
        EXPECT_FALSE(announcer.Available()) << "library " << library;
        announcer.Announce(L"Copied 1 2 3");
    }
    // The system's own, whatever this system offers, announces without harm.
    a11y::UiaAnnouncer system([this] { return form.Handle(); });
    system.Announce(L"Copied 1 2 3");
    std::printf("[ note ] UI Automation notifications available here: %s\n",
                system.Available() ? "yes" : "no");
}

TEST_F(Access, HighContrastFramesTheTrueColoursAndDrawsTheReadoutsInSystemColours) {
    // System colours no theme here has, so what takes them is told apart; put back at the end.
    const int which[] = {COLOR_WINDOWTEXT, COLOR_BTNTEXT};
    const COLORREF before[] = {GetSysColor(which[0]), GetSysColor(which[1])};
    const COLORREF frame = RGB(0, 200, 0), text = RGB(0, 0, 200);
    const COLORREF mine[] = {frame, text};
    ASSERT_TRUE(SetSysColors(2, which, mine));
    Sample();
    form.ReadHighContrast = [] { return true; };
    SendMessageW(form.Handle(), WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0);
    ASSERT_TRUE(form.HighContrast());

    const auto swatch = Printed(Control(id::TintColor));
    EXPECT_EQ(swatch.At(0, 0), frame);
    EXPECT_EQ(swatch.At(swatch.w / 2, swatch.h / 2), RGB(255, 128, 0));  // the true colour
    const auto zoom = Printed(Control(id::JvZoom1));
    EXPECT_EQ(zoom.At(0, 0), frame);
    EXPECT_EQ(zoom.At(zoom.w - 1, zoom.h - 1), frame);
    const auto readout = Printed(Control(id::ColR));
    EXPECT_NE(std::count(readout.data.begin(), readout.data.end(), text), 0);
    EXPECT_EQ(readout.At(readout.w - 1, 0), GetSysColor(COLOR_BTNFACE));

    // Off again: the swatch's frame is black as ever and the magnifier has none.
    form.ReadHighContrast = [] { return false; };
    SendMessageW(form.Handle(), WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0);
    EXPECT_EQ(Printed(Control(id::TintColor)).At(0, 0), RGB(0, 0, 0));
    EXPECT_NE(Printed(Control(id::JvZoom1)).At(0, 0), frame);
    const auto plain = Printed(Control(id::ColR));  // the window text, as before
    EXPECT_EQ(std::count(plain.data.begin(), plain.data.end(), text), 0);
    ASSERT_TRUE(SetSysColors(2, which, before));
}

}  // namespace
