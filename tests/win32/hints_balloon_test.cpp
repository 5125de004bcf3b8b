// The balloon window against the real platform: size rule, shape, painting, no activation; the
// application's hint window class swapped and put back; the hint mechanism over a test form.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "hints/JvBalloonHint.h"
#include "tests/support/TestSupport.h"
#include "win/Hints.h"

namespace {

std::wstring ClassOf(HWND h) {
    wchar_t name[64] = {};
    GetClassNameW(h, name, 64);
    return name;
}

std::wstring TextOf(HWND h) {
    wchar_t text[256] = {};
    GetWindowTextW(h, text, 256);
    return text;
}

COLORREF ScreenPixel(int x, int y) {
    gdi::WindowDC screen(nullptr);
    return GetPixel(screen.Get(), x, y);
}

// A plain top-level form with child controls, as the main window is for the hints.
class TestForm {
  public:
    TestForm() {
        // Shown without activation: under Wine, a window that was active takes two seconds to
        // go away when there is no window manager.
        form = CreateWindowExW(WS_EX_TOPMOST, L"STATIC", L"form", WS_POPUP | SS_NOTIFY, 200, 200,
                               320, 200, nullptr, nullptr, nullptr, nullptr);
        ShowWindow(form, SW_SHOWNOACTIVATE);
        a = Child(L"BUTTON", L"A", BS_PUSHBUTTON, 10, 10, 80, 30);
        b = Child(L"BUTTON", L"B", BS_PUSHBUTTON, 100, 10, 80, 30);
        label = Child(L"STATIC", L"label", SS_LEFT, 10, 60, 80, 20);  // transparent to the mouse
        inner = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_NOTIFY, 100, 60, 100,
                                60, form, nullptr, nullptr, nullptr);
        innerChild = CreateWindowExW(0, L"BUTTON", L"in", WS_CHILD | WS_VISIBLE, 10, 10, 40, 20,
                                     inner, nullptr, nullptr, nullptr);
        longOnly = Child(L"BUTTON", L"L", BS_PUSHBUTTON, 10, 130, 80, 30);
        win::SetHint(a, L"Short A|The long hint of A");
        win::SetHint(b, L"Bee");
        win::SetHint(label, L"Label hint");
        win::SetHint(inner, L"Panel hint");  // its child has none of its own
        win::SetHint(longOnly, L"|only a long hint");
        EXPECT_TRUE(testsupport::WaitFor([&] { return WindowFromPoint(Center(a)) == a; }, 5000,
                                         "the test form on screen"));
    }
    ~TestForm() { DestroyWindow(form); }
    POINT Center(HWND h) const {
        RECT r;
        GetWindowRect(h, &r);
        return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }
    void Hover(HWND h) const {
        POINT p = Center(h);
        testsupport::MoveCursor(p.x, p.y);
    }

    HWND form, a, b, label, inner, innerChild, longOnly;

  private:
    HWND Child(const wchar_t* cls, const wchar_t* text, DWORD style, int x, int y, int w, int h) {
        return CreateWindowExW(0, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, form,
                               nullptr, nullptr, nullptr);
    }
};

// Quick times so that a test takes well under a second per hint.
constexpr hints::HintTimes Quick{100, 50, 700};

HWND VisibleHint(hints::HintMonitor& m) {
    auto* w = m.HintWindow();
    return w && w->Showing() ? w->Handle() : nullptr;
}

}  // namespace

TEST(HintWindowClass, BalloonIsInstalledAndThePreviousClassPutBack) {
    hints::ApplicationHints settings;
    auto classOfCurrent = [&] {
        auto w = settings.MakeHintWindow();
        w->ActivateHint({-200, -200, -100, -180}, L"x");
        std::wstring name = ClassOf(w->Handle());
        w->ReleaseHint();
        return name;
    };
    ASSERT_EQ(classOfCurrent(), L"THintWindow");
    TestForm form;
    {
        TJvBalloonHint outer(form.form, settings, Quick);
        EXPECT_EQ(classOfCurrent(), L"THintWindow");  // not before the option is set
        outer.SetApplicationHintOptions(ahUseBalloonAsHint);
        EXPECT_EQ(classOfCurrent(), L"TJvBalloonWindow");
        outer.SetApplicationHintOptions(0);
        EXPECT_EQ(classOfCurrent(), L"THintWindow");
        outer.SetApplicationHintOptions(ahUseBalloonAsHint);
        {
            // A second component keeps the first one's class and gives it back.
            TJvBalloonHint inner(form.form, settings, Quick);
            inner.SetApplicationHintOptions(ahUseBalloonAsHint);
            inner.SetDefaultBalloonPosition(hints::BalloonPosition::StemTopLeft);
            auto w = settings.MakeHintWindow();
            auto* balloon = dynamic_cast<TJvBalloonWindow*>(w.get());
            ASSERT_NE(balloon, nullptr);
            RECT r = balloon->CalcHintRect(400, L"x");
            EXPECT_EQ(r.left, -16);  // the stem near the left edge, as configured
        }
        EXPECT_EQ(classOfCurrent(), L"TJvBalloonWindow");
        auto w = settings.MakeHintWindow();
        RECT r = w->CalcHintRect(400, L"x");
        EXPECT_EQ(r.left, -(r.right - r.left) + 16);  // automatic again: counts as top right
    }
    EXPECT_EQ(classOfCurrent(), L"THintWindow");
}

TEST(BalloonWindow, SizeFollowsTheWrappedUnprefixedText) {
    hints::ApplicationHints settings;
    TJvBalloonWindow w(settings);
    RECT one = w.CalcHintRect(1024, L"Cancel");
    int width = one.right - one.left, height = one.bottom - one.top;
    EXPECT_GT(width, 27);
    EXPECT_GT(height, 30);
    // Automatic counts as stem top right: the balloon hangs left of the hint point.
    EXPECT_EQ(one.right, 16);
    EXPECT_EQ(one.top, 0);
    // Long text wraps within the maximum width and grows in lines.
    std::wstring text =
        L"Select format of color information to use when copying color to clipboard";
    RECT wrapped = w.CalcHintRect(150, text);
    EXPECT_LE(wrapped.right - wrapped.left, 150 + 27);
    int lineHeight = height - 30;
    EXPECT_GE(wrapped.bottom - wrapped.top - 30, 3 * lineHeight);
    RECT wide = w.CalcHintRect(1024, text);
    EXPECT_EQ(wide.bottom - wide.top, height);
    // "&" is text, not an accelerator prefix.
    RECT amp = w.CalcHintRect(1024, L"&Copy");
    RECT plain = w.CalcHintRect(1024, L"Copy");
    EXPECT_GT(amp.right - amp.left, plain.right - plain.left);
}

TEST(BalloonWindow, ShowsShapedPaintedAndWithoutActivation) {
    HWND foreground = GetForegroundWindow();

    hints::ApplicationHints settings;
    TJvBalloonWindow w(settings);
    const int cursorHeight = GetSystemMetrics(SM_CYCURSOR);
    POINT hint{400, 600 + cursorHeight};  // lower half, left half: stem top right
    RECT r = w.CalcHintRect(1024, L"Cancel");
    OffsetRect(&r, hint.x, hint.y);
    w.ActivateHint(r, L"Cancel");
    HWND h = w.Handle();
    ASSERT_TRUE(testsupport::WaitFor(
        [&] {
            RECT shown;
            GetWindowRect(h, &shown);
            return IsWindowVisible(h) && ScreenPixel((shown.left + shown.right) / 2,
                                                     shown.top + 12) == settings.HintColor();
        },
        5000, "the balloon shown and painted"));
    EXPECT_EQ(ClassOf(h), L"TJvBalloonWindow");
    EXPECT_EQ(TextOf(h), L"Cancel");
    EXPECT_EQ(w.ShownPosition(), hints::BalloonPosition::StemTopRight);
    EXPECT_EQ(GetForegroundWindow(), foreground);
    EXPECT_NE(GetForegroundWindow(), h);
    EXPECT_TRUE(GetClassLongPtrW(h, GCL_STYLE) & CS_DROPSHADOW);
    EXPECT_TRUE(GetWindowLongPtrW(h, GWL_EXSTYLE) & WS_EX_TOPMOST);

    RECT wr;
    GetWindowRect(h, &wr);
    EXPECT_EQ(wr.left, r.left);
    EXPECT_EQ(wr.top, r.top);
    int W = wr.right - wr.left, H = wr.bottom - wr.top;

    // The shape: the stem's tip and the body are in, the corners beside the stem are out.
    gdi::Region shape(CreateRectRgn(0, 0, 0, 0));
    ASSERT_EQ(GetWindowRgn(h, shape.Get()), COMPLEXREGION);
    EXPECT_TRUE(PtInRegion(shape.Get(), W - 18, 2));  // inside the stem near its tip
    EXPECT_TRUE(PtInRegion(shape.Get(), W / 2, H / 2));
    EXPECT_FALSE(PtInRegion(shape.Get(), 0, 0));
    EXPECT_FALSE(PtInRegion(shape.Get(), 5, 5));          // beside the stem, above the body
    EXPECT_FALSE(PtInRegion(shape.Get(), W - 1, H - 1));  // the rounded corner

    // Painted: the body in the hint colour, framed in black on all four sides (the frame lies
    // on the shape's edge, not outside it where the shape would cut it off), dark text inside.
    EXPECT_EQ(ScreenPixel(wr.left + W / 2, wr.top + 12), settings.HintColor());
    EXPECT_EQ(ScreenPixel(wr.left + W / 2, wr.top + 9), RGB(0, 0, 0));      // top
    EXPECT_EQ(ScreenPixel(wr.left + 1, wr.top + H / 2), RGB(0, 0, 0));      // left
    EXPECT_EQ(ScreenPixel(wr.left + W - 1, wr.top + H / 2), RGB(0, 0, 0));  // right
    EXPECT_EQ(ScreenPixel(wr.left + W / 2, wr.top + H - 4), RGB(0, 0, 0));  // bottom
    EXPECT_EQ(ScreenPixel(wr.left + W - 17, wr.top + 3), RGB(0, 0, 0));     // the stem's edge
    bool textPixel = false;
    for (int y = 15; y < H - 6 && !textPixel; ++y)
        for (int x = 12; x < W - 4 && !textPixel; ++x)
            textPixel = ScreenPixel(wr.left + x, wr.top + y) == GetSysColor(COLOR_INFOTEXT);
    EXPECT_TRUE(textPixel);

    w.ReleaseHint();
    EXPECT_FALSE(IsWindowVisible(h));
}

TEST(BalloonWindow, ItsColoursFollowTheSystemsAndInHighContrastOutweighAChosenOne) {
    hints::ApplicationHints settings;
    settings.SetHintColor(RGB(1, 2, 3));  // as a link chooses while the mouse is over it
    settings.SetHighContrast(true);
    TJvBalloonWindow w(settings);
    RECT r = w.CalcHintRect(1024, L"Cancel");
    OffsetRect(&r, 400, 600 + GetSystemMetrics(SM_CYCURSOR));
    w.ActivateHint(r, L"Cancel");
    RECT wr;
    GetWindowRect(w.Handle(), &wr);
    auto body = [&] { return ScreenPixel((wr.left + wr.right) / 2, wr.top + 12); };
    EXPECT_TRUE(testsupport::WaitFor([&] { return body() == GetSysColor(COLOR_INFOBK); }, 5000,
                                     "the system's tooltip colour"));
    // The theme changes while the hint shows: it paints again in the new colour.
    testsupport::SystemColours theme({COLOR_INFOBK}, {RGB(0, 90, 0)});
    EXPECT_TRUE(testsupport::WaitFor([&] { return body() == RGB(0, 90, 0); }, 5000,
                                     "the new tooltip colour"));
    w.ReleaseHint();
}

TEST(BalloonWindow, ShowingNearTheTopLeftCornerOpensBelowRight) {
    hints::ApplicationHints settings;
    TJvBalloonWindow w(settings);
    RECT work;
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0));
    POINT hint{work.left + 40, work.top + 10 + GetSystemMetrics(SM_CYCURSOR)};
    RECT r = w.CalcHintRect(1024, L"Corner");
    OffsetRect(&r, hint.x, hint.y);
    w.ActivateHint(r, L"Corner");
    EXPECT_EQ(w.ShownPosition(), hints::BalloonPosition::StemTopLeft);
    RECT wr;
    GetWindowRect(w.Handle(), &wr);
    EXPECT_EQ(wr.left, hint.x - 16);
    EXPECT_EQ(wr.top, hint.y);
    // And near the bottom right corner, above and to the left, inside the work area.
    POINT low{work.right - 20, work.bottom - 5};
    r = w.CalcHintRect(1024, L"Corner");
    OffsetRect(&r, low.x, low.y);
    w.ActivateHint(r, L"Corner");
    EXPECT_EQ(w.ShownPosition(), hints::BalloonPosition::StemBottomRight);
    GetWindowRect(w.Handle(), &wr);
    EXPECT_LE(wr.right, work.right);
    EXPECT_LE(wr.bottom, work.bottom);
    EXPECT_LT(wr.bottom, low.y);
}

TEST(BalloonWindow, ShowingAndHidingLeaksNoGdiObjects) {
    hints::ApplicationHints settings;
    int before = gdi::LiveCount();
    {
        TJvBalloonWindow w(settings);
        for (int i = 0; i < 20; ++i) {
            std::wstring text = L"Hint number " + std::to_wstring(i);
            RECT r = w.CalcHintRect(1024, text);
            OffsetRect(&r, 100 + 40 * i, 100 + 30 * i);
            w.ActivateHint(r, text);
            testsupport::DispatchPending();  // its painting too
            w.ReleaseHint();
        }
    }
    EXPECT_EQ(gdi::LiveCount(), before);
}

TEST(HintMonitor, ShowsTheShortHintAfterThePauseAndHidesItLater) {
    TestForm form;
    hints::ApplicationHints settings;
    TJvBalloonHint balloons(form.form, settings, Quick);
    balloons.SetApplicationHintOptions(ahUseBalloonAsHint);
    auto& m = balloons.Monitor();

    form.Hover(form.a);
    ASSERT_TRUE(
        testsupport::WaitFor([&] { return VisibleHint(m) != nullptr; }, 5000, "a hint shown"));
    HWND h = VisibleHint(m);
    EXPECT_EQ(ClassOf(h), L"TJvBalloonWindow");
    EXPECT_EQ(TextOf(h), L"Short A");
    // It goes after the hide pause and stays away while the cursor rests on the control.
    ASSERT_TRUE(testsupport::WaitFor([&] { return VisibleHint(m) == nullptr; }, 5000,
                                     "the hint gone after its pause"));
    EXPECT_TRUE(testsupport::HoldsFor([&] { return VisibleHint(m) == nullptr; }, 300,
                                      "no hint while the cursor rests"));
    // The next control brings the next hint.
    form.Hover(form.b);
    ASSERT_TRUE(
        testsupport::WaitFor([&] { return VisibleHint(m) != nullptr; }, 5000, "a hint shown"));
    EXPECT_EQ(TextOf(VisibleHint(m)), L"Bee");
    // Out of the form: gone.
    testsupport::MoveCursor(100, 700);
    EXPECT_TRUE(
        testsupport::WaitFor([&] { return VisibleHint(m) == nullptr; }, 5000, "the hint gone"));
    // With nothing under the cursor it stops looking; the cursor coming back wakes it.
    ASSERT_TRUE(testsupport::WaitFor([&] { return !m.Polling(); }, 5000, "the monitor asleep"));
    form.Hover(form.b);
    ASSERT_TRUE(testsupport::WaitFor([&] { return VisibleHint(m) != nullptr; }, 5000,
                                     "a hint shown after the wake"));
}

TEST(HintMonitor, FindsLabelsAndParentsHints) {
    TestForm form;
    hints::ApplicationHints settings;
    TJvBalloonHint balloons(form.form, settings, Quick);
    balloons.SetApplicationHintOptions(ahUseBalloonAsHint);
    auto& m = balloons.Monitor();
    // A static label is transparent to WindowFromPoint; its hint still counts.
    EXPECT_EQ(m.HintControlAt(form.Center(form.label)), form.label);
    // A control without a hint of its own shows its parent's.
    EXPECT_EQ(m.HintControlAt(form.Center(form.innerChild)), form.inner);
    // "|long" has no short part: nothing to show there.
    EXPECT_EQ(m.HintControlAt(form.Center(form.longOnly)), nullptr);
    EXPECT_EQ(m.HintControlAt({5, 5}), nullptr);  // outside the form

    form.Hover(form.label);
    ASSERT_TRUE(
        testsupport::WaitFor([&] { return VisibleHint(m) != nullptr; }, 5000, "a hint shown"));
    EXPECT_EQ(TextOf(VisibleHint(m)), L"Label hint");
    form.Hover(form.innerChild);
    ASSERT_TRUE(testsupport::WaitFor(
        [&] { return VisibleHint(m) && TextOf(VisibleHint(m)) == L"Panel hint"; }, 5000,
        "the parent's hint \"Panel hint\""));
}

TEST(HintMonitor, HidingTheFormTakesTheHintAtOnce) {
    TestForm form;
    hints::ApplicationHints settings;
    TJvBalloonHint balloons(form.form, settings, Quick);
    balloons.SetApplicationHintOptions(ahUseBalloonAsHint);
    auto& m = balloons.Monitor();
    { hints::HintMonitor another(form.form, settings, Quick); }  // the first still watches
    form.Hover(form.a);
    ASSERT_TRUE(
        testsupport::WaitFor([&] { return VisibleHint(m) != nullptr; }, 5000, "a hint shown"));
    HWND h = VisibleHint(m);
    ShowWindow(form.form, SW_HIDE);
    EXPECT_FALSE(IsWindowVisible(h));  // no message loop needed
    // Someone showing it again (an application restore) does not make it stay.
    ShowWindow(form.form, SW_SHOWNOACTIVATE);
    ShowWindow(h, SW_SHOWNOACTIVATE);
    EXPECT_TRUE(
        testsupport::WaitFor([&] { return !IsWindowVisible(h); }, 5000, "the hint hidden again"));
}

TEST(HintMonitor, WithoutTheBalloonHintsUseThePlainWindow) {
    TestForm form;
    hints::ApplicationHints settings;
    hints::HintMonitor m(form.form, settings, Quick);
    form.Hover(form.b);
    ASSERT_TRUE(
        testsupport::WaitFor([&] { return VisibleHint(m) != nullptr; }, 5000, "a hint shown"));
    EXPECT_EQ(ClassOf(VisibleHint(m)), L"THintWindow");
    EXPECT_EQ(TextOf(VisibleHint(m)), L"Bee");
}
