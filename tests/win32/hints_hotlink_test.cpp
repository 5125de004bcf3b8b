// The hot link against the real platform: click handling, hot tracking, the shell's failure.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "hints/HintWindow.h"
#include "hints/JvHotLink.h"
#include "tests/support/TestSupport.h"

namespace {

std::vector<std::wstring>* journal = nullptr;  // what the parent and the opener saw, in order

LRESULT CALLBACK ParentProc(HWND h, UINT m, WPARAM wp, LPARAM lp) {
    if (m == WM_COMMAND && journal)
        journal->push_back(L"command " + std::to_wstring(LOWORD(wp)) + L" " +
                           std::to_wstring(HIWORD(wp)));
    return DefWindowProcW(h, m, wp, lp);
}

class LinkForm : public testing::Test {
  protected:
    void SetUp() override {
        journal = &events;
        WNDCLASSW wc{};
        wc.lpfnWndProc = ParentProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"HotLinkTestParent";
        wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
        RegisterClassW(&wc);
        parent = CreateWindowExW(WS_EX_TOPMOST, L"HotLinkTestParent", L"", WS_POPUP, 300, 300, 300,
                                 100, nullptr, nullptr, wc.hInstance, nullptr);
        ASSERT_TRUE(parent);
        ShowWindow(parent, SW_SHOWNOACTIVATE);
    }
    void TearDown() override {
        DestroyWindow(parent);
        journal = nullptr;
    }
    RECT Bounds(const TJvHotLink& link) const {
        RECT r;
        GetWindowRect(link.Handle(), &r);
        MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
        return r;
    }
    TJvHotLink::Opener Recorder() {
        return [this](const std::wstring& target) {
            events.push_back(L"open " + target);
            return true;
        };
    }

    hints::ApplicationHints settings;
    std::vector<std::wstring> events;
    HWND parent = nullptr;
};

}  // namespace

TEST_F(LinkForm, ClickTellsTheParentThenOpensTheTarget) {
    TJvHotLink link(settings, Recorder());
    link.Create(parent, 77, 10, 10, L"www.example.org/tintsnatch",
                L"https://www.example.org/tintsnatch");
    SendMessageW(link.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
    SendMessageW(link.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0], L"command 77 " + std::to_wstring(STN_CLICKED));
    EXPECT_EQ(events[1], L"open https://www.example.org/tintsnatch");
    // Released outside the link: no click.
    events.clear();
    SendMessageW(link.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
    SendMessageW(link.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(-20, 3));
    EXPECT_TRUE(events.empty());
}

TEST_F(LinkForm, LooksLikeALinkAndSizesItselfToItsCaption) {
    TJvHotLink link(settings, Recorder());
    link.Create(parent, 78, 10, 10, L"tintsnatch@example.org", L"mailto:tintsnatch@example.org");
    wchar_t cls[32];
    GetClassNameW(link.Handle(), cls, 32);
    EXPECT_STREQ(cls, L"TJvHotLink");
    wchar_t text[64];
    GetWindowTextW(link.Handle(), text, 64);
    EXPECT_STREQ(text, L"tintsnatch@example.org");
    EXPECT_EQ(reinterpret_cast<HCURSOR>(GetClassLongPtrW(link.Handle(), GCLP_HCURSOR)),
              LoadCursorW(nullptr, IDC_HAND));
    RECT r = Bounds(link);
    EXPECT_EQ(r.left, 10);
    EXPECT_GT(r.right - r.left, 60);  // the caption's width, not a fixed one
    EXPECT_GT(r.bottom - r.top, 8);
    SetWindowTextW(link.Handle(), L"tintsnatch@example.org and more");
    EXPECT_GT(Bounds(link).right, r.right);
    EXPECT_EQ(Bounds(link).left, 10);
}

TEST_F(LinkForm, HotTrackingSwitchesFontAndHintColourAndBack) {
    TJvHotLink link(settings, Recorder());
    link.Create(parent, 79, 200, 10, L"tintsnatch@example.org", L"mailto:x",
                hints::Alignment::Right);
    link.SetHintColor(RGB(1, 2, 3));
    COLORREF appColor = settings.HintColor();
    RECT normal = Bounds(link);

    link.MouseEnter();
    EXPECT_TRUE(link.Hot());
    EXPECT_EQ(settings.HintColor(), RGB(1, 2, 3));
    RECT hot = Bounds(link);
    // Right aligned: the right edge stays; the hot link covers at least its normal bounds, so
    // the mouse that made it hot stays over it.
    EXPECT_EQ(hot.right, normal.right);
    EXPECT_LE(hot.left, normal.left);
    EXPECT_LE(hot.top, normal.top);
    EXPECT_GE(hot.bottom, normal.bottom);

    link.MouseLeave();
    EXPECT_FALSE(link.Hot());
    EXPECT_EQ(settings.HintColor(), appColor);
    RECT back = Bounds(link);
    EXPECT_TRUE(EqualRect(&back, &normal));
}

TEST_F(LinkForm, TheRealMouseMakesItHotAndLeavingEndsIt) {
    TJvHotLink link(settings, Recorder());
    link.Create(parent, 80, 10, 10, L"www.example.org/tintsnatch", L"https://x");
    RECT r;
    GetWindowRect(link.Handle(), &r);
    testsupport::MoveCursor(r.left + 3, (r.top + r.bottom) / 2);
    ASSERT_TRUE(testsupport::WaitFor([&] { return link.Hot(); }, 5000, "the link hot"));
    testsupport::MoveCursor(r.left + 3, r.bottom + 40);
    EXPECT_TRUE(testsupport::WaitFor([&] { return !link.Hot(); }, 5000, "the link no longer hot"));
}

TEST(HotLinkShell, ATargetThatCannotOpenFailsSilently) {
    auto visibleWindows = [] {
        int n = 0;
        EnumWindows(
            [](HWND h, LPARAM lp) -> BOOL {
                DWORD pid = 0;
                GetWindowThreadProcessId(h, &pid);
                if (pid == GetCurrentProcessId() && IsWindowVisible(h))
                    ++*reinterpret_cast<int*>(lp);
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&n));
        return n;
    };
    int before = visibleWindows();
    EXPECT_FALSE(TJvHotLink::OpenWithShell(L"Z:\\no\\such\\folder\\tintsnatch-missing.tsnone"));
    EXPECT_TRUE(
        testsupport::HoldsFor([&] { return visibleWindows() == before; }, 500, "no window shown"));
}
