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
// Needs <windows.h> first.
#include <uiautomationcore.h>

namespace {

constexpr LPARAM RootObjectId = -25;  // UiaRootObjectId: UI Automation asks for a provider

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
    // No such library, and one without the calls: nothing is served or said, nothing fails.
    for (const wchar_t* library : {L"no-such-library.dll", L"kernel32.dll"}) {
        form.SetAnnouncer(
            std::make_unique<a11y::UiaAnnouncer>(form.Handle(), a11y::SystemUia(library)));
        EXPECT_EQ(SendMessageW(form.Handle(), WM_GETOBJECT, 0, RootObjectId), 0) << library;
        form.Announce(L"Copied 1 2 3");
    }
    // The system's own, whatever this system offers, serves and announces without harm, and
    // lets the provider go with the window.
    form.SetAnnouncer(nullptr);
    auto system = a11y::SystemUia();
    if (system->CanServe()) {
        EXPECT_NE(SendMessageW(form.Handle(), WM_GETOBJECT, 0, RootObjectId), 0);
    }
    form.Announce(L"Copied 1 2 3");
    std::printf("[ note ] UI Automation providers served here: %s\n",
                system->CanServe() ? "yes" : "no");
    EXPECT_TRUE(DestroyWindow(form.Handle()));
}

// UI Automation's calls as the windows' providers make them, recorded.
struct RecordedUia : a11y::UiaPlatform {
    using Provider = IRawElementProviderSimple*;
    std::vector<Provider> served, disconnected;
    std::vector<std::pair<Provider, std::wstring>> raised;
    bool CanServe() override { return true; }
    HRESULT HostProvider(HWND, Provider* host) override { return *host = nullptr, S_OK; }
    LRESULT ReturnProvider(HWND, WPARAM, LPARAM, Provider provider) override {
        served.push_back(provider);
        return 0x5EED;
    }
    bool RaiseNotification(Provider provider, const std::wstring& text, a11y::Tell) override {
        raised.emplace_back(provider, text);
        return true;
    }
    void Disconnect(Provider provider) override { disconnected.push_back(provider); }
    // The provider `window` serves.
    Provider Of(HWND window) {
        return SendMessageW(window, WM_GETOBJECT, 0, RootObjectId) == 0x5EED ? served.back()
                                                                             : nullptr;
    }
};

TEST_F(Access, TheWindowServesAProviderOfItsOwnSpeaksFromItAndLetsItGoAtDestroy) {
    auto uia = std::make_shared<RecordedUia>();
    form.SetAnnouncer(std::make_unique<a11y::UiaAnnouncer>(form.Handle(), uia));
    SendMessageW(form.Handle(), WM_GETOBJECT, 0, static_cast<LPARAM>(OBJID_CLIENT));
    EXPECT_TRUE(uia->served.empty()) << "Active Accessibility's questions go on to the window";
    IRawElementProviderSimple* provider = uia->Of(form.Handle());
    ASSERT_NE(provider, nullptr);
    // A provider in full: a window, with the Window pattern.
    VARIANT type;
    ASSERT_EQ(provider->GetPropertyValue(30003, &type), S_OK);  // the control type
    EXPECT_TRUE(type.vt == VT_I4 && type.lVal == 50032);        // a window
    IUnknown* pattern = nullptr;
    ASSERT_EQ(provider->GetPatternProvider(10009, &pattern), S_OK);  // the Window pattern
    ASSERT_NE(pattern, nullptr);
    pattern->Release();

    Sample();
    form.EditCopy1Execute(nullptr);
    using Said = std::vector<std::pair<IRawElementProviderSimple*, std::wstring>>;
    EXPECT_EQ(uia->raised, (Said{{provider, L"Copied 255 128 0"}}));
    // Hidden, it is in no tree a screen reader listens to: nothing is raised.
    ShowWindow(form.Handle(), SW_HIDE);
    form.EditCopy1Execute(nullptr);
    EXPECT_EQ(uia->raised.size(), 1u);
    EXPECT_TRUE(DestroyWindow(form.Handle()));
    EXPECT_EQ(uia->disconnected, std::vector<IRawElementProviderSimple*>{provider});
    VARIANT gone;
    EXPECT_NE(provider->GetPropertyValue(30003, &gone), S_OK) << "the element is gone";
}

TEST_F(Access, WhileHiddenTheOverlayItLendsItsVoiceToSaysThePointsColourOnceItRests) {
    auto uia = std::make_shared<RecordedUia>();
    form.SetAnnouncer(std::make_unique<a11y::UiaAnnouncer>(form.Handle(), uia));
    ShowWindow(form.Handle(), SW_HIDE);  // as during a pick
    HWND overlay =
        CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0,
                        0, 40, 40, nullptr, nullptr, nullptr, nullptr);
    IRawElementProviderSimple* lent = nullptr;
    {
        const auto voice = form.SpeakFrom(overlay);
        lent = uia->Of(overlay);
        ASSERT_NE(lent, nullptr);
        for (const wchar_t* step : {L"1 2 3 at 5, 5", L"1 2 3 at 6, 5", L"4 5 6 at 7, 5"})
            form.AnnounceAtRest(step);  // key steps
        EXPECT_TRUE(uia->raised.empty()) << "nothing at each step";
        ASSERT_TRUE(testsupport::WaitFor([&] { return !uia->raised.empty(); }, 5000, "a rest"));
        EXPECT_EQ(uia->raised[0], std::make_pair(lent, std::wstring(L"4 5 6 at 7, 5")));
        form.AnnounceAtRest(L"7 8 9 at 8, 5");  // the pick ends before it rests
    }
    EXPECT_EQ(uia->disconnected, std::vector<IRawElementProviderSimple*>{lent});
    EXPECT_TRUE(testsupport::HoldsFor([&] { return uia->raised.size() == 1; },
                                      2 * a11y::UiaAnnouncer::RestMs, "nothing said after it"));
    DestroyWindow(overlay);
}

TEST_F(Access, HighContrastFramesTheTrueColoursAndDrawsTheReadoutsInSystemColours) {
    // System colours no theme here has, so what takes them is told apart.
    const COLORREF frame = RGB(0, 200, 0), text = RGB(0, 0, 200);
    testsupport::SystemColours theme({COLOR_WINDOWTEXT, COLOR_BTNTEXT}, {frame, text});
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
}

TEST_F(Access, InHighContrastTheAboutPageDropsItsPictureAndTakesTheSystemsColours) {
    const COLORREF face = RGB(10, 20, 30), text = RGB(240, 230, 220), link = RGB(0, 255, 255);
    testsupport::SystemColours theme({COLOR_BTNFACE, COLOR_BTNTEXT, COLOR_HOTLIGHT},
                                     {face, text, link});
    auto labels = [this] {  // the labels' backdrop and text, as the page gives them
        gdi::WindowDC screen(nullptr);
        gdi::MemoryDC dc(screen.Get());
        auto brush = reinterpret_cast<HBRUSH>(
            SendMessageW(Control(id::About), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc.Get()),
                         reinterpret_cast<LPARAM>(Control(id::Label5))));
        LOGBRUSH back{};
        GetObjectW(brush, sizeof back, &back);
        return std::make_pair(back.lbColor, GetTextColor(dc.Get()));
    };
    auto pictured = [this] {
        return (GetWindowLongW(Control(id::Image1), GWL_STYLE) & WS_VISIBLE);
    };
    form.ReadHighContrast = [] { return true; };
    SendMessageW(form.Handle(), WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0);
    EXPECT_EQ(labels(), std::make_pair(face, text));
    EXPECT_FALSE(pictured());
    const auto printed = Printed(Control(id::JvHotLink4));
    EXPECT_NE(std::count(printed.data.begin(), printed.data.end(), link), 0);

    form.ReadHighContrast = [] { return false; };
    SendMessageW(form.Handle(), WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0);
    EXPECT_TRUE(pictured());
    EXPECT_NE(labels().first, face) << "the picture's colour behind the labels";
}

}  // namespace
