// The options view as the user sees it: every control inside its page, and nothing of the compact
// view left on the screen when the options view opens over it.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "app/ControlIds.h"
#include "app/TintsnatchMain.h"
#include "tests/support/TestSupport.h"
#include "tests/win32/MainWindowFixture.h"
#include "win/Application.h"
#include "win/Controls.h"

namespace {

constexpr int PageIds[] = {id::tsZoom, id::tsClipBoard, id::tsCapture, id::Keys,
                           id::tsMisc, id::About,       id::tsHistory};

std::vector<HWND> Children(HWND parent) {
    std::vector<HWND> out;
    for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) out.push_back(c);
    return out;
}

RECT RectIn(HWND child, HWND parent) {
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

class OptionsView : public MainWindowFixture {
  protected:
    int Width() const {
        RECT wr;
        GetWindowRect(form.Handle(), &wr);
        return wr.right - wr.left;
    }
};

}  // namespace

TEST_F(OptionsView, EveryControlLiesInsideItsPage) {
    form.Options1Click();  // the options view stays wherever the cursor is
    ASSERT_TRUE(testsupport::WaitFor([&] { return Width() == TTintsnatch4::OptionsWidth; }, 5000,
                                     "the options view's width"));
    for (int pageId : PageIds) {
        HWND page = Control(pageId);
        ASSERT_NE(page, nullptr);
        RECT room;
        GetClientRect(page, &room);
        for (HWND c : Children(page)) {
            if (!win::IsShown(c)) continue;  // the hidden copy key
            RECT r = RectIn(c, page);
            EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.right <= room.right &&
                        r.bottom <= room.bottom)
                << "page " << pageId << ", control " << GetDlgCtrlID(c) << " at (" << r.left << ","
                << r.top << ")-(" << r.right << "," << r.bottom << ") in a page of " << room.right
                << " x " << room.bottom;
        }
    }
}

TEST_F(OptionsView, OpeningFromTheCompactViewLeavesNothingOfItBehind) {
    RECT wr;
    GetWindowRect(form.Handle(), &wr);
    form.FixedFollowClick();  // the window stays where it is
    testsupport::MoveCursor(wr.right + 200, wr.bottom + 200);
    form.Timer1Timer();
    ASSERT_TRUE(testsupport::WaitFor([&] { return Width() == TTintsnatch4::CompactWidth; }, 5000,
                                     "the compact view's width"));
    GetWindowRect(form.Handle(), &wr);

    // The compact view's last picture, in a colour no page uses.
    const COLORREF stale = RGB(3, 251, 7);
    HDC dc = GetDCEx(form.Handle(), nullptr, DCX_CACHE);
    ASSERT_NE(dc, nullptr);
    RECT all;
    GetClientRect(form.Handle(), &all);
    HBRUSH brush = CreateSolidBrush(stale);
    FillRect(dc, &all, brush);
    DeleteObject(brush);
    ReleaseDC(form.Handle(), dc);

    testsupport::MoveCursor(wr.left + 10, wr.top + 10);
    form.Timer1Timer();
    ASSERT_TRUE(testsupport::WaitFor([&] { return Width() == TTintsnatch4::OptionsWidth; }, 5000,
                                     "the options view's width"));
    GetWindowRect(form.Handle(), &wr);
    int stalePixels = 0;
    POINT first{-1, -1};
    auto countStale = [&] {
        HDC screen = GetDC(nullptr);
        stalePixels = 0;
        for (int y = wr.top + 1; y < wr.bottom - 1; y += 2)
            for (int x = wr.left + 1; x < wr.right - 1; x += 2)
                if (GetPixel(screen, x, y) == stale && stalePixels++ == 0)
                    first = {x - wr.left, y - wr.top};
        ReleaseDC(nullptr, screen);
        return stalePixels == 0;
    };
    EXPECT_TRUE(
        testsupport::WaitFor(countStale, 5000, "the options view painted over the compact one"))
        << stalePixels << " stale pixels, the first at (" << first.x << "," << first.y
        << ") in the window";
}

TEST_F(OptionsView, LeavingItTakesTheKeyboardFocusAlong) {
    // In fixed mode the cursor opens the options view; the user clicks into "Start capture:" on
    // the Keys page and then moves the cursor away, back to the compact view.
    form.FixedFollowClick();
    SetForegroundWindow(form.Handle());
    RECT wr;
    GetWindowRect(form.Handle(), &wr);
    testsupport::MoveCursor(wr.left + 10, wr.top + 10);
    form.Timer1Timer();
    HWND tabs = Control(id::Properties);
    TabCtrl_SetCurSel(tabs, 3);
    NMHDR hdr{tabs, static_cast<UINT_PTR>(id::Properties), static_cast<UINT>(TCN_SELCHANGE)};
    SendMessageW(form.Handle(), WM_NOTIFY, id::Properties, reinterpret_cast<LPARAM>(&hdr));
    HWND edit = Control(id::hkCapture);
    ASSERT_TRUE(IsWindowVisible(edit));
    SetFocus(edit);
    ASSERT_EQ(GetFocus(), edit);

    testsupport::MoveCursor(wr.right + 200, wr.bottom + 200);
    form.Timer1Timer();
    ASSERT_FALSE(IsWindowVisible(edit));
    HWND focus = GetFocus();
    EXPECT_FALSE(focus == tabs || IsChild(tabs, focus)) << "a hidden control keeps the focus";
    // The next keystroke is no new capture key.
    testsupport::PressKeys({'A'});
    EXPECT_TRUE(testsupport::HoldsFor([&] { return win::HotKeyValue(edit) == VK_F9; }, 300,
                                      "the capture key F9"));
}

// Typed or pasted, the delay shows the seconds the capture waits; the Save page shows a name it
// gives, with the type it writes.
TEST_F(OptionsView, TheDelayShowsWhatIsUsedAndTheSavePageANameWithItsType) {
    HWND delay = Control(id::edDelay);
    for (auto [typed, shown] : {std::pair{L"99", L"10"}, {L"abc", L"0"}, {L"07", L"7"}}) {
        SetWindowTextW(delay, typed);
        EXPECT_EQ(win::GetText(delay), shown) << testing::PrintToString(std::wstring(typed));
    }
    SetWindowTextW(Control(id::edFileName), L"s {counter}");
    EXPECT_EQ(win::GetText(Control(id::lblSaveExample)), L"Example: s 001.bmp");
}
