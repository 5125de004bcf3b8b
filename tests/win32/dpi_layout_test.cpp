// The main window at the DPI of its monitor: every control inside its parent's client area and
// every text fitting its control, in the compact view, on every page of the options view and in
// the capture view; and the same after the window moves to a monitor of another DPI. The test
// script runs this group again in prefixes set to 144 and 192 DPI.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "app/Components.h"
#include "app/ControlIds.h"
#include "app/TintsnatchMain.h"
#include "tests/support/TestSupport.h"
#include "tests/win32/MainWindowFixture.h"
#include "win/Application.h"
#include "win/Controls.h"
#include "win/Dpi.h"
#include "win/DpiScale.h"

namespace {

constexpr int PageIds[] = {id::tsZoom, id::tsClipBoard, id::tsCapture, id::Keys,
                           id::tsMisc, id::About,       id::tsSave,    id::tsHistory};

std::wstring ClassOf(HWND h) {
    wchar_t cls[64] = {};
    GetClassNameW(h, cls, 64);
    return cls;
}

std::string Describe(HWND h) {
    std::wstring text = win::GetText(h);
    std::ostringstream out;
    out << "control " << GetDlgCtrlID(h) << " \"" << std::string(text.begin(), text.end()) << "\"";
    return out.str();
}

// The room a text needs in its control's font: one line, or wrapped within `wrapWidth`.
SIZE TextExtent(HWND control, const std::wstring& text, int wrapWidth) {
    HDC dc = GetDC(control);
    auto font = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
    HGDIOBJ old = SelectObject(dc, font ? font : GetStockObject(SYSTEM_FONT));
    RECT r{0, 0, wrapWidth, 0};
    UINT format = DT_CALCRECT | DT_NOPREFIX | (wrapWidth > 0 ? DT_WORDBREAK : DT_SINGLELINE);
    if (ClassOf(control) == L"Button") format &= ~static_cast<UINT>(DT_NOPREFIX);
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, format);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    return {r.right - r.left, r.bottom - r.top};
}

class DpiLayout : public MainWindowFixture {
  protected:
    int S(int v) const { return dpi::Scale(v, form.Dpi()); }

    bool OuterSizeIs(int w, int h) {
        SIZE s = win::OuterSize(form.Handle());
        return s.cx == S(w) && s.cy == S(h);
    }
    void ExpectOuterSize(int w, int h) {
        SIZE s = win::OuterSize(form.Handle());
        EXPECT_EQ(s.cx, S(w)) << "at " << form.Dpi() << " DPI";
        EXPECT_EQ(s.cy, S(h)) << "at " << form.Dpi() << " DPI";
    }

    // A text fits when its control shows it whole: labels in their client area (wrapped where
    // they wrap), check boxes and radio buttons beside their box, group boxes in their frame.
    void ExpectTextFits(HWND c) {
        if (ClassOf(c) == HOTKEY_CLASSW) return ExpectKeysFit(c);
        std::wstring text = win::GetText(c);
        if (text.empty()) return;
        std::wstring cls = ClassOf(c);
        RECT rc;
        GetClientRect(c, &rc);
        LONG style = GetWindowLongW(c, GWL_STYLE);
        int room = rc.right, need = 0, height = 0;
        if (cls == L"Static") {
            if ((style & SS_TYPEMASK) == SS_BITMAP) return;
            bool wraps = (style & SS_TYPEMASK) == SS_LEFT;
            SIZE e = TextExtent(c, text, wraps ? rc.right : 0);
            need = e.cx;
            height = e.cy;
        } else if (cls == L"Button") {
            SIZE e = TextExtent(c, text, 0);
            switch (style & BS_TYPEMASK) {
                case BS_GROUPBOX:
                    need = e.cx + S(16);  // the frame's corners either side of the caption
                    height = 0;
                    break;
                case BS_AUTOCHECKBOX:
                case BS_AUTORADIOBUTTON:
                    need = e.cx + S(17);  // the box and the gap after it
                    height = e.cy;
                    break;
                default:
                    need = e.cx + S(8);
                    height = e.cy;
            }
        } else if (cls == L"TJvHotLink") {
            SIZE e = TextExtent(c, text, 0);
            need = e.cx;
            height = e.cy;
        } else {
            return;
        }
        EXPECT_LE(need, room) << Describe(c) << " is cut at " << form.Dpi() << " DPI";
        EXPECT_LE(height, rc.bottom) << Describe(c) << " is cut at " << form.Dpi() << " DPI";
    }

    // A hotkey edit draws its key's text itself: the modifiers' and the key's names joined by
    // " + ". The longest of a function key, letter or digit with all three modifiers shows whole.
    void ExpectKeysFit(HWND edit) {
        std::wstring text;
        for (UINT vk : {VK_CONTROL, VK_SHIFT, VK_MENU, VK_F24}) {
            wchar_t name[64] = {};
            GetKeyNameTextW(static_cast<LONG>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC) << 16), name, 64);
            text += (text.empty() ? L"" : L" + ") + std::wstring(name);
        }
        RECT rc;
        GetClientRect(edit, &rc);
        EXPECT_LE(TextExtent(edit, text, 0).cx + S(4), rc.right)
            << Describe(edit) << " cuts " << std::string(text.begin(), text.end()) << " at "
            << form.Dpi() << " DPI";
    }

    // Every shown control under `root`, at any depth: inside its parent, its text whole.
    void ExpectFits(HWND root) {
        for (HWND c = GetWindow(root, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
            if (!win::IsShown(c)) continue;
            RECT r, room;
            GetWindowRect(c, &r);
            MapWindowPoints(nullptr, root, reinterpret_cast<POINT*>(&r), 2);
            GetClientRect(root, &room);
            EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.right <= room.right &&
                        r.bottom <= room.bottom)
                << Describe(c) << " at (" << r.left << "," << r.top << ")-(" << r.right << ","
                << r.bottom << ") in a parent of " << room.right << " x " << room.bottom << " at "
                << form.Dpi() << " DPI";
            ExpectTextFits(c);
            // The captured image is as large as it was taken: it scrolls in its box. The page
            // control is walked too: the page shown is its one shown child.
            if (c != Control(id::ScrollBox1)) ExpectFits(c);
        }
    }

    // The title bar shows the whole caption beside the close box, both as the platform draws
    // them at the window's DPI.
    void ExpectTitleFits() {
        std::wstring title = win::GetText(form.Handle());
        NONCLIENTMETRICSW ncm{};
        ncm.cbSize = sizeof ncm;
        ASSERT_TRUE(SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0,
                                               static_cast<UINT>(form.Dpi())));
        HFONT font = CreateFontIndirectW(&ncm.lfSmCaptionFont);
        HDC dc = GetDC(nullptr);
        HGDIOBJ old = SelectObject(dc, font);
        SIZE e{};
        GetTextExtentPoint32W(dc, title.c_str(), static_cast<int>(title.size()), &e);
        SelectObject(dc, old);
        ReleaseDC(nullptr, dc);
        DeleteObject(font);
        RECT wr, cr;
        GetWindowRect(form.Handle(), &wr);
        GetClientRect(form.Handle(), &cr);
        int frame = (wr.right - wr.left - cr.right) / 2;
        int room = wr.right - wr.left - 2 * frame -
                   GetSystemMetricsForDpi(SM_CXSMSIZE, static_cast<UINT>(form.Dpi())) - 4;
        EXPECT_LE(e.cx, room) << "the title \"" << std::string(title.begin(), title.end())
                              << "\" is cut at " << form.Dpi() << " DPI";
    }

    void ShowPage(int index) {
        HWND tabs = Control(id::Properties);
        TabCtrl_SetCurSel(tabs, index);
        NMHDR hdr{tabs, static_cast<UINT_PTR>(id::Properties), static_cast<UINT>(TCN_SELCHANGE)};
        SendMessageW(form.Handle(), WM_NOTIFY, id::Properties, reinterpret_cast<LPARAM>(&hdr));
    }

    // The compact view, every page of the options view, and the capture view (of the desktop,
    // which needs no overlay).
    void ExpectEveryViewFits() {
        RECT wr;
        GetWindowRect(form.Handle(), &wr);
        if (form.FollowMode()) form.FixedFollowClick();
        testsupport::MoveCursor(wr.right + 300, wr.bottom + 300);
        form.Timer1Timer();
        EXPECT_TRUE(testsupport::WaitFor(
            [&] { return OuterSizeIs(TTintsnatch4::CompactWidth, TTintsnatch4::CompactHeight); },
            5000, "the compact view's size"));
        ExpectOuterSize(TTintsnatch4::CompactWidth, TTintsnatch4::CompactHeight);
        ExpectTitleFits();
        ExpectFits(form.Handle());

        form.Options1Click();
        EXPECT_TRUE(testsupport::WaitFor(
            [&] { return OuterSizeIs(TTintsnatch4::OptionsWidth, TTintsnatch4::OptionsHeight); },
            5000, "the options view's size"));
        ExpectOuterSize(TTintsnatch4::OptionsWidth, TTintsnatch4::OptionsHeight);
        for (int i = 0; i < page::Count; ++i) {
            ShowPage(i);
            EXPECT_TRUE(testsupport::WaitFor([&] { return win::IsShown(Control(PageIds[i])); },
                                             5000,
                                             "page " + std::to_string(PageIds[i]) + " shown"));
            SCOPED_TRACE("page " + std::to_string(PageIds[i]));
            ExpectFits(form.Handle());
        }
        form.Options1Click();

        SendMessageW(Control(id::rgCaptureItem0 + 1), BM_CLICK, 0, 0);
        form.ScreenCapture()->Delay = 0;
        form.CaptureExecute();
        ASSERT_TRUE(testsupport::WaitFor([&] { return win::IsShown(Control(id::CapturePanel)); },
                                         5000, "the capture view shown"));
        ExpectOuterSize(TTintsnatch4::OptionsWidth, TTintsnatch4::OptionsHeight);
        SCOPED_TRACE("capture view");
        ExpectFits(form.Handle());
        form.TintResetExecute();
        SendMessageW(Control(id::rgCaptureItem0), BM_CLICK, 0, 0);
    }

    // Where every control sits in its parent, the views' panels and pages aside (they follow
    // the view shown), and the captured image (it has the size it was taken at).
    std::vector<std::pair<HWND, RECT>> Layout() const {
        struct Walk {
            HWND form, tabs, scrollBox;
            std::vector<std::pair<HWND, RECT>> rects;
        } walk{form.Handle(), Control(id::Properties), Control(id::ScrollBox1), {}};
        EnumChildWindows(
            form.Handle(),
            [](HWND c, LPARAM lp) -> BOOL {
                auto* w = reinterpret_cast<Walk*>(lp);
                HWND parent = GetParent(c);
                if (parent == w->form || parent == w->tabs || parent == w->scrollBox) return TRUE;
                RECT r;
                GetWindowRect(c, &r);
                MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
                w->rects.push_back({c, r});
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&walk));
        return walk.rects;
    }

    // What the window does when the platform moves it to a monitor of `dpi`. (Under Wine every
    // monitor has the one DPI of the prefix, so this is sent as the platform would send it.)
    void MoveToMonitorOf(int dpi) {
        RECT wr;
        GetWindowRect(form.Handle(), &wr);
        RECT suggested{wr.left + 10, wr.top + 10, wr.left + 10 + dpi::Scale(172, dpi),
                       wr.top + 10 + dpi::Scale(98, dpi)};
        SendMessageW(form.Handle(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                     reinterpret_cast<LPARAM>(&suggested));
    }
};

}  // namespace

TEST_F(DpiLayout, EveryViewFitsAtTheMonitorsDpi) {
    EXPECT_EQ(form.Dpi(), win::WindowDpi(form.Handle()));
    ExpectEveryViewFits();
}

TEST_F(DpiLayout, TheFollowOffsetScalesWithTheDpi) {
    ASSERT_TRUE(form.FollowMode());
    testsupport::MoveCursor(100, 100);
    form.Timer1Timer();
    RECT wr;
    GetWindowRect(form.Handle(), &wr);
    EXPECT_EQ(wr.left, 100 + S(20));
    EXPECT_EQ(wr.top, 100 + S(20));
}

TEST_F(DpiLayout, MovingToAMonitorOfAnotherDpiLaysTheWindowOutAgain) {
    // A monitor of twice the DPI: the frame and caption stay as the platform draws them here,
    // which a larger layout has room for.
    const int home = form.Dpi(), other = 2 * home;
    RECT wr;
    GetWindowRect(form.Handle(), &wr);
    form.FixedFollowClick();
    testsupport::MoveCursor(wr.right + 300, wr.bottom + 300);
    form.Timer1Timer();
    const std::wstring position = win::GetText(Control(id::Position));
    ASSERT_NE(position, L"(---,---)");

    const auto start = Layout();

    MoveToMonitorOf(other);
    ASSERT_EQ(form.Dpi(), other);
    RECT moved;
    GetWindowRect(form.Handle(), &moved);
    EXPECT_EQ(moved.left, wr.left + 10) << "at the place the platform suggests";
    EXPECT_EQ(moved.top, wr.top + 10);
    EXPECT_EQ(win::GetText(Control(id::Position)), position) << "the readouts stay";
    ExpectEveryViewFits();

    // And back: the very layout of the start, nothing drifts.
    MoveToMonitorOf(home);
    ASSERT_EQ(form.Dpi(), home);
    form.Timer1Timer();  // the compact view again, as at the start
    const auto back = Layout();
    ASSERT_EQ(back.size(), start.size());
    for (size_t i = 0; i < start.size(); ++i) {
        const RECT &a = start[i].second, &b = back[i].second;
        EXPECT_TRUE(EqualRect(&a, &b))
            << Describe(start[i].first) << " moved from (" << a.left << "," << a.top << ")-("
            << a.right << "," << a.bottom << ") to (" << b.left << "," << b.top << ")-(" << b.right
            << "," << b.bottom << ")";
    }
    ExpectEveryViewFits();
}
