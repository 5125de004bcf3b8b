// The global hotkeys as a user meets them: pressed while another program has the focus.
#include <gtest/gtest.h>

#include <memory>

#include "app/ControlIds.h"
#include "tests/e2e/Harness.h"

using namespace e2e;

namespace {

// A program of the user's: a focused edit box with selected text.
class OtherProgram {
  public:
    OtherProgram() {
        frame_ = CreateWindowExW(0, L"STATIC", L"Other", WS_POPUP | WS_VISIBLE | WS_BORDER, 600,
                                 500, 200, 60, nullptr, nullptr, nullptr, nullptr);
        edit_ = CreateWindowExW(0, L"EDIT", L"edit text", WS_POPUP | WS_VISIBLE | WS_BORDER, 600,
                                500, 200, 30, frame_, nullptr, nullptr, nullptr);
        EXPECT_TRUE(WaitFor(
            [&] {
                return WindowFromPoint({700, 510}) == edit_;
            },
            5000, "the other program's edit box on screen"));
    }
    ~OtherProgram() {
        DestroyWindow(edit_);
        DestroyWindow(frame_);
    }
    void Focus() {
        SetForegroundWindow(edit_);
        SetFocus(edit_);
        SendMessageW(edit_, EM_SETSEL, 0, -1);
        EXPECT_TRUE(WaitFor([&] { return GetForegroundWindow() == edit_; }, 5000,
                            "the other program's edit box in front"));
    }

  private:
    HWND frame_, edit_;
};

// Whether a combination is free, as any program can find out: try to register it.
bool KeyIsFree(UINT mods, UINT vk) {
    if (!RegisterHotKey(nullptr, 0x7F00, mods | MOD_NOREPEAT, vk)) return false;
    UnregisterHotKey(nullptr, 0x7F00);
    return true;
}

WORD HotKeyOf(HWND edit) { return static_cast<WORD>(SendMessageW(edit, HKM_GETHOTKEY, 0, 0)); }

}  // namespace

class Bindings : public testing::Test {
  protected:
    PatternWindow pattern{{{{0, 0, 300, 300}, RGB(255, 128, 0)}}};
    OtherProgram other;
    App app;
    void SetUp() override {
        ASSERT_TRUE(app.Start());
        MoveCursor(100, 100);
        ASSERT_TRUE(WaitFor([&] { return app.Text(id::ColHex) == L"#FF8000"; }, 5000,
                            "ColHex showing \"#FF8000\""));
        other.Focus();
    }
};

TEST_F(Bindings, CtrlCCopiesTheColourUnderTheCursorFromAnyProgram) {
    SetClipboardText(L"before");
    PressKeys({VK_CONTROL, 'C'});
    EXPECT_TRUE(WaitFor([] { return ClipboardText() == L"255 128 0"; }, 10000,
                        "\"255 128 0\" on the clipboard"))
        << "clipboard: " << testing::PrintToString(ClipboardText()) << " hex "
        << testing::PrintToString(app.Text(id::ColHex));
    EXPECT_FALSE(KeyIsFree(MOD_CONTROL, 'C')) << "Ctrl+C belongs to the shown window";
    EXPECT_FALSE(KeyIsFree(0, VK_ADD));
    EXPECT_FALSE(KeyIsFree(0, VK_SUBTRACT));
}

TEST_F(Bindings, F6HidesAndShowsAndHiddenCtrlCGoesBackToOtherPrograms) {
    ASSERT_TRUE(app.ShowHide(false));
    EXPECT_TRUE(WaitFor([] { return KeyIsFree(MOD_CONTROL, 'C'); }, 5000, "Ctrl+C given back"));
    EXPECT_TRUE(KeyIsFree(0, VK_ADD));
    EXPECT_TRUE(KeyIsFree(0, VK_SUBTRACT));
    // Ctrl+C now reaches the focused program: the edit box copies its own text.
    other.Focus();
    SetClipboardText(L"before");
    PressKeys({VK_CONTROL, 'C'});
    EXPECT_TRUE(WaitFor([] { return ClipboardText() == L"edit text"; }, 5000,
                        "\"edit text\" on the clipboard"));
    // The show/hide key still works while hidden.
    EXPECT_TRUE(app.ShowHide(true));
    EXPECT_TRUE(WaitFor([] { return !KeyIsFree(MOD_CONTROL, 'C'); }, 5000, "Ctrl+C taken again"));
}

TEST_F(Bindings, F7TogglesFollowMode) {
    RECT before = app.WindowRect();
    ASSERT_EQ(before.left, 120);
    // Fixed mode: the window stays where it is. The key is handled before the cursor moves, or a
    // sampling tick under way would still follow it.
    PressKeys({VK_F7});
    ASSERT_TRUE(app.Handled());
    MoveCursor(50, 250);
    ASSERT_TRUE(WaitFor([&] { return app.Text(id::Position) == L"(50,250)"; }, 5000,
                        "the sample at (50,250)"));
    EXPECT_TRUE(
        HoldsFor([&] { return app.WindowRect().left == 120; }, 300, "the window where it was"));
    PressKeys({VK_F7});  // follow mode again
    EXPECT_TRUE(WaitFor([&] { return app.WindowRect().left == 70 && app.WindowRect().top == 270; },
                        5000, "the window at (70, 270)"));
}

TEST_F(Bindings, F10Exits) {
    PressKeys({VK_F10});
    EXPECT_TRUE(app.WaitForExit(5000));
    EXPECT_EQ(app.ExitCode(), 0u);
    EXPECT_TRUE(KeyIsFree(0, VK_F6)) << "every hotkey is released at exit";
    EXPECT_TRUE(KeyIsFree(0, VK_F10));
}

TEST_F(Bindings, TypingIntoStartCaptureMovesTheCaptureKeyAtOnce) {
    HWND edit = app.Control(id::hkCapture);
    ASSERT_NE(edit, nullptr);
    ASSERT_FALSE(KeyIsFree(0, VK_F9));
    // Open the Keys page and type F11 into "Start capture:".
    MoveCursor(130, 125);
    ASSERT_TRUE(WaitFor([&] { return app.WindowSize().cx == 300; }, 5000, "the window 300 wide"));
    SendMessageW(app.Control(id::Properties), TCM_SETCURFOCUS, 3, 0);
    ASSERT_TRUE(
        WaitFor([&] { return app.Visible(id::hkCapture); }, 5000, "the capture key box shown"));
    RECT r;
    GetWindowRect(edit, &r);
    Click(r.left + 10, r.top + 8);
    ASSERT_TRUE(app.WaitForFocus(edit));
    PressKeys({VK_SHIFT, VK_F11});
    EXPECT_TRUE(
        WaitFor([&] { return HotKeyOf(edit) == VK_F11; }, 5000, "the capture key F11 in its box"))
        << "Shift alone is not a valid combination: F11 is taken alone";
    EXPECT_TRUE(WaitFor([] { return KeyIsFree(0, VK_F9); }, 5000, "F9 given back"))
        << "F9 goes back to other programs";
    EXPECT_FALSE(KeyIsFree(0, VK_F11));
    PressKeys({VK_CONTROL, VK_F11});
    EXPECT_TRUE(WaitFor([&] { return HotKeyOf(edit) == MAKEWORD(VK_F11, HOTKEYF_CONTROL); }, 5000,
                        "the capture key Ctrl+F11 in its box"));
    EXPECT_TRUE(WaitFor([] { return KeyIsFree(0, VK_F11); }, 5000, "F11 given back"));
    EXPECT_FALSE(KeyIsFree(MOD_CONTROL, VK_F11));
}

namespace {
// Holds a hotkey for this test process and notes its presses.
class HotKeyHolder {
  public:
    HotKeyHolder(UINT mods, UINT vk) {
        hwnd_ = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr,
                                nullptr);
        SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        old_ = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Proc)));
        held_ = RegisterHotKey(hwnd_, 1, mods, vk) != FALSE;
    }
    ~HotKeyHolder() {
        UnregisterHotKey(hwnd_, 1);
        DestroyWindow(hwnd_);
    }
    bool Held() const { return held_; }
    int Presses() const { return presses_; }

  private:
    static LRESULT CALLBACK Proc(HWND h, UINT m, WPARAM wp, LPARAM lp) {
        auto* self = reinterpret_cast<HotKeyHolder*>(GetWindowLongPtrW(h, GWLP_USERDATA));
        if (m == WM_HOTKEY && self) ++self->presses_;
        return CallWindowProcW(self->old_, h, m, wp, lp);
    }
    HWND hwnd_;
    WNDPROC old_;
    bool held_ = false;
    int presses_ = 0;
};
}  // namespace

TEST_F(Bindings, KeypadPlusAndMinusStepTheZoom) {
    ASSERT_EQ(app.Text(id::lblZoomFactor), L"15");
    PressKeys({VK_ADD});
    EXPECT_TRUE(WaitFor([&] { return app.Text(id::lblZoomFactor) == L"16"; }, 5000,
                        "lblZoomFactor showing \"16\""));
    PressKeys({VK_SUBTRACT});
    PressKeys({VK_SUBTRACT});
    EXPECT_TRUE(WaitFor([&] { return app.Text(id::lblZoomFactor) == L"14"; }, 5000,
                        "lblZoomFactor showing \"14\""));
    EXPECT_EQ(SendMessageW(app.Control(id::ZoomSlider), TBM_GETPOS, 0, 0), 14);
}

TEST_F(Bindings, HiddenWithTheOptionOnCtrlCKeepsCopyingTheCurrentColour) {
    // Tick "Enable CTRL+C if minimized" on the Misc page.
    SendMessageW(app.Control(id::cbGrabIfMin), BM_CLICK, 0, 0);
    ASSERT_EQ(SendMessageW(app.Control(id::cbGrabIfMin), BM_GETCHECK, 0, 0), BST_CHECKED);
    ASSERT_TRUE(app.ShowHide(false));
    EXPECT_FALSE(KeyIsFree(MOD_CONTROL, 'C'));
    EXPECT_TRUE(KeyIsFree(0, VK_ADD)) << "the zoom keys are released all the same";
    // Nothing samples while the window is hidden, yet the colour copied is the one under the
    // cursor at the copy, not the last one shown.
    MoveCursor(400, 400);
    other.Focus();
    PressKeys({VK_CONTROL, 'C'});
    EXPECT_TRUE(WaitFor([] { return ClipboardText() == L"40 40 40"; }, 10000,
                        "\"40 40 40\" on the clipboard"));
    // Shown again, it is beside the cursor from its first moment on, as following would have it.
    PressKeys({VK_F6});
    ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(app.MainWindow()) != FALSE; }, 5000,
                        "the main window shown"));
    EXPECT_EQ(app.WindowRect().left, 420);
    EXPECT_EQ(app.WindowRect().top, 420);
}

TEST_F(Bindings, HiddenCtrlCWhereTheWindowWasCopiesTheColourThere) {
    SendMessageW(app.Control(id::cbGrabIfMin), BM_CLICK, 0, 0);
    PressKeys({VK_F7});  // fixed: the window stays at (120, 120), where it followed to
    ASSERT_TRUE(app.Handled());
    ASSERT_TRUE(app.ShowHide(false));
    MoveCursor(400, 400);
    other.Focus();
    PressKeys({VK_CONTROL, 'C'});
    ASSERT_TRUE(WaitFor([] { return ClipboardText() == L"40 40 40"; }, 10000,
                        "\"40 40 40\" on the clipboard"));
    MoveCursor(150, 150);  // inside the hidden window's rectangle, over the orange block
    PressKeys({VK_CONTROL, 'C'});
    EXPECT_TRUE(WaitFor([] { return ClipboardText() == L"255 128 0"; }, 10000,
                        "\"255 128 0\" on the clipboard"))
        << testing::PrintToString(ClipboardText());
}

TEST(BindingsHeldElsewhere, AKeyHeldByAnotherProgramFailsSilently) {
    HotKeyHolder holder(0, VK_F6);
    ASSERT_TRUE(holder.Held());
    PatternWindow pattern{{{{0, 0, 300, 300}, RGB(255, 128, 0)}}};
    App app;
    ASSERT_TRUE(app.Start());
    EXPECT_TRUE(HoldsFor([&] { return FindTopWindow(L"#32770", app.ProcessId()) == nullptr; }, 500,
                         "no message shown"));
    // F6 reaches its holder, not Tintsnatch, whose window stays.
    PressKeys({VK_F6});
    EXPECT_TRUE(WaitFor([&] { return holder.Presses() == 1; }, 5000, "F6 at its holder"));
    EXPECT_TRUE(IsWindowVisible(app.MainWindow()));
    // The other keys work as usual.
    PressKeys({VK_F10});
    EXPECT_TRUE(app.WaitForExit(5000));
}

TEST(BindingsHeldElsewhere, KeysLetGoByAnotherProgramAreTakenAndCtrlCStaysOurs) {
    auto f9 = std::make_unique<HotKeyHolder>(0, VK_F9);
    auto f10 = std::make_unique<HotKeyHolder>(0, VK_F10);
    App app;
    ASSERT_TRUE(app.Start());
    // F9 let go while hidden is registered afresh at the show, its global atom perhaps the
    // number Ctrl+C gave back at the hide.
    ASSERT_TRUE(app.ShowHide(false));
    f9.reset();
    ASSERT_TRUE(app.ShowHide(true));
    EXPECT_TRUE(WaitFor([] { return !KeyIsFree(0, VK_F9); }, 5000, "F9 taken"));
    EXPECT_FALSE(KeyIsFree(MOD_CONTROL, 'C')) << "Ctrl+C is still ours";
    // While the window shows, a key let go is taken with no hide and show.
    f10.reset();
    EXPECT_TRUE(WaitFor([] { return !KeyIsFree(0, VK_F10); }, 5000, "F10 taken"));
}
