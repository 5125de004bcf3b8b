// Balloon hints and the About page as a user meets them: hovering a control shows its hint in a
// balloon near the cursor, inside the work area; hovering a link switches its font and back.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "app/ControlIds.h"
#include "tests/e2e/Harness.h"

using namespace e2e;

namespace {

RECT WindowRectOf(HWND h) {
    RECT r{};
    GetWindowRect(h, &r);
    return r;
}

POINT Center(const RECT& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

// The rectangle of a tab of another process's tab control, on the screen, read the way an
// accessibility tool reads it: through memory in that process.
RECT TabRect(HWND tab, int index) {
    RECT r{};
    DWORD pid = 0;
    GetWindowThreadProcessId(tab, &pid);
    HANDLE process =
        OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    if (!process) return r;
    void* remote = VirtualAllocEx(process, nullptr, sizeof r, MEM_COMMIT, PAGE_READWRITE);
    if (remote) {
        if (SendMessageW(tab, TCM_GETITEMRECT, static_cast<WPARAM>(index),
                         reinterpret_cast<LPARAM>(remote)))
            ReadProcessMemory(process, remote, &r, sizeof r, nullptr);
        VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    }
    CloseHandle(process);
    MapWindowPoints(tab, nullptr, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// The app's balloon window while it is visible.
HWND VisibleBalloon(const App& app) {
    HWND h = FindTopWindow(L"TJvBalloonWindow", app.ProcessId());
    return h && IsWindowVisible(h) ? h : nullptr;
}

// The screen's pixels in a rectangle, row by row.
std::vector<COLORREF> ScreenPixels(const RECT& r) {
    HDC screen = GetDC(nullptr);
    auto p = ReadPixels(screen, {r.left, r.top}, r.right - r.left, r.bottom - r.top);
    ReleaseDC(nullptr, screen);
    return p.data;
}

// Whether this system draws a link's text differently in its font and in its hot-track font
// (where both faces fall back to one substitute, they look alike and only the property tells).
bool FontsLookDifferent(const std::wstring& text) {
    auto render = [&](const wchar_t* face) {
        LOGFONTW lf{};
        lf.lfHeight = -11;
        lf.lfUnderline = TRUE;
        lf.lfCharSet = DEFAULT_CHARSET;
        wcsncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
        HFONT font = CreateFontIndirectW(&lf);
        HDC screen = GetDC(nullptr);
        HDC dc = CreateCompatibleDC(screen);
        HBITMAP bmp = CreateCompatibleBitmap(screen, 300, 20);
        HGDIOBJ oldBmp = SelectObject(dc, bmp);
        HGDIOBJ oldFont = SelectObject(dc, font);
        RECT r{0, 0, 300, 20};
        FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        DrawTextW(dc, text.c_str(), -1, &r, DT_SINGLELINE | DT_NOPREFIX);
        std::vector<COLORREF> px;
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 300; ++x) px.push_back(GetPixel(dc, x, y));
        SelectObject(dc, oldFont);
        SelectObject(dc, oldBmp);
        DeleteObject(bmp);
        DeleteDC(dc);
        ReleaseDC(nullptr, screen);
        DeleteObject(font);
        return px;
    };
    return render(L"Tahoma") != render(L"MS Sans Serif");
}

class Hints : public testing::Test {
  protected:
    App app;
    void SetUp() override {
        ASSERT_TRUE(SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0));
        // The window follows the cursor 20 pixels right and below it: keep it on the screen.
        MoveCursor(work.left + 100, work.top + 100);
        ASSERT_TRUE(app.Start());
    }

    // Moves the cursor into the window, which turns into the options view. The window may move
    // on after its rectangle was read (it follows the cursor), so the user tries again.
    void OpenOptions() {
        bool open = false;
        for (int attempt = 0; attempt < 5 && !open; ++attempt) {
            RECT r = app.WindowRect();
            MoveCursor(r.left + 12, r.top + 12);
            open = static_cast<bool>(
                WaitFor([&] { return app.Visible(id::Properties); }, 1000, "the options view"));
        }
        ASSERT_TRUE(open);
        ASSERT_TRUE(
            WaitFor([&] { return app.WindowSize().cx == 300; }, 5000, "the options view's width"));
        // The window takes its new size before it lays out the pages for it.
        ASSERT_TRUE(WaitFor(
            [&] {
                RECT w = app.WindowRect(), t = WindowRectOf(app.Control(id::Properties));
                return t.left >= w.left && t.right <= w.right && t.bottom <= w.bottom;
            },
            5000, "the pages laid out in the options view"));
    }

    // Clicks the tab of a page of the options view (again if the first click went astray).
    void ShowPage(int index, int pageId) {
        HWND tab = app.Control(id::Properties);
        ASSERT_TRUE(tab);
        bool shown = false;
        for (int attempt = 0; attempt < 3 && !shown; ++attempt) {
            RECT r = TabRect(tab, index);
            ASSERT_GT(r.right, r.left);
            POINT c = Center(r);
            Click(c.x, c.y);
            shown =
                static_cast<bool>(WaitFor([&] { return app.Visible(pageId); }, 1500, "the page"));
        }
        ASSERT_TRUE(shown);
    }

    // Hovers a control and waits for the balloon; checks it is near the cursor and inside the
    // work area, and returns its text.
    std::wstring HoverForBalloon(HWND control) {
        POINT p = Center(WindowRectOf(control));
        MoveCursor(p.x, p.y);
        HWND balloon = nullptr;
        testing::AssertionResult shown =
            WaitFor([&] { return (balloon = VisibleBalloon(app)) != nullptr; }, 5000, "a balloon");
        if (!shown) return L"<no balloon>";
        RECT b = WindowRectOf(balloon);
        EXPECT_GE(b.left, work.left);
        EXPECT_GE(b.top, work.top);
        EXPECT_LE(b.right, work.right);
        EXPECT_LE(b.bottom, work.bottom);
        // Its stem points at the cursor: the cursor's column crosses it, and it lies just above
        // the cursor or a cursor height below it.
        EXPECT_GE(p.x, b.left);
        EXPECT_LT(p.x, b.right);
        int gap = p.y < b.top ? b.top - p.y : p.y - b.bottom;
        EXPECT_GE(gap, 0);
        EXPECT_LE(gap, GetSystemMetrics(SM_CYCURSOR) + 2);
        EXPECT_NE(GetForegroundWindow(), balloon);
        return WindowTextOf(balloon);
    }

    RECT work{};
};

}  // namespace

TEST_F(Hints, HoveringAClipboardFormatShowsItsHintInABalloon) {
    OpenOptions();
    ShowPage(1, id::tsClipBoard);
    HWND option = app.Control(id::rgClipboardItem0 + 3);
    ASSERT_TRUE(option);
    EXPECT_EQ(HoverForBalloon(option),
              L"Select format of color information to use when copying color to clipboard");
    // Leaving the control for one without a hint (the page tabs) takes the balloon away.
    RECT tab = TabRect(app.Control(id::Properties), 0);
    POINT t = Center(tab);
    MoveCursor(t.x, t.y);
    EXPECT_TRUE(WaitFor([&] { return VisibleBalloon(app) == nullptr; }, 5000, "the balloon gone"));
}

TEST_F(Hints, HoveringTheCaptureViewsCancelShowsCancel) {
    ASSERT_TRUE(app.Control(id::Cancel));
    // Capture the desktop: the capture view opens with its buttons.
    OpenOptions();
    ShowPage(2, id::tsCapture);
    HWND desktop = app.Control(id::rgCaptureItem0 + 1);
    ASSERT_TRUE(desktop);
    POINT d = Center(WindowRectOf(desktop));
    Click(d.x, d.y);
    PressKeys({VK_F9});
    ASSERT_TRUE(
        WaitFor([&] { return app.Visible(id::Cancel); }, 10000, "the capture view's Cancel shown"))
        << "the capture hotkey opens the capture view";
    EXPECT_EQ(HoverForBalloon(app.Control(id::Cancel)), L"Cancel");
}

TEST_F(Hints, AboutPageShowsPictureNoticeAndLinks) {
    OpenOptions();
    ShowPage(5, id::About);
    EXPECT_EQ(app.Text(id::Label4), L"Email:");
    EXPECT_EQ(app.Text(id::Label6), L"Home page:");
    EXPECT_EQ(app.Text(id::JvHotLink4), L"tintsnatch@example.org");
    EXPECT_EQ(app.Text(id::JvHotLink5), L"www.example.org/tintsnatch");
    EXPECT_NE(app.Text(id::Label5).find(L"\r\n"), std::wstring::npos);  // two lines
    // The picture fills the page's width in the picture's proportions, 292 x 172.
    RECT page = WindowRectOf(app.Control(id::About));
    RECT picture = WindowRectOf(app.Control(id::Image1));
    int w = picture.right - picture.left, h = picture.bottom - picture.top;
    EXPECT_LE(w, page.right - page.left);
    EXPECT_LE(h, page.bottom - page.top);
    EXPECT_TRUE(w == page.right - page.left || h == page.bottom - page.top);
    EXPECT_LE(std::abs(w * 172 - h * 292), 292);
    EXPECT_TRUE(SendMessageW(app.Control(id::Image1), STM_GETIMAGE, IMAGE_BITMAP, 0));
    // The links look like links: their text is blue.
    RECT link = WindowRectOf(app.Control(id::JvHotLink5));
    bool blue = false;
    for (COLORREF c : ScreenPixels(link)) blue = blue || c == RGB(0, 0, 255);
    EXPECT_TRUE(blue);
}

TEST_F(Hints, HoveringALinkSwitchesItsFontAndBack) {
    OpenOptions();
    ShowPage(5, id::About);
    for (int linkId : {id::JvHotLink5, id::JvHotLink4}) {
        HWND link = app.Control(linkId);
        ASSERT_TRUE(link);
        // Where both faces fall back to one substitute, no user could see the switch either.
        if (!FontsLookDifferent(WindowTextOf(link)))
            GTEST_SKIP() << "the link's two faces are drawn alike on this system";
        RECT normal = WindowRectOf(link);
        ASSERT_TRUE(WaitFor(
            [&] {
                for (COLORREF c : ScreenPixels(normal))
                    if (c == RGB(0, 0, 255)) return true;
                return false;
            },
            5000, "the link drawn in blue"));
        std::vector<COLORREF> normalPixels = ScreenPixels(normal);
        // Over the link's first letters (a right-aligned link keeps its right edge, so the mouse
        // stays over it whatever the fonts' widths).
        POINT over{linkId == id::JvHotLink4 ? normal.right - 4 : normal.left + 4, Center(normal).y};
        MoveCursor(over.x, over.y);
        EXPECT_TRUE(WaitFor([&] { return ScreenPixels(WindowRectOf(link)) != normalPixels; }, 5000,
                            "the link drawn in its hot-track font"))
            << "link " << linkId;
        // Away from the link (over the picture): the normal font again, drawn as before.
        RECT page = WindowRectOf(app.Control(id::About));
        MoveCursor(page.left + 20, page.top + 20);
        EXPECT_TRUE(WaitFor(
            [&] {
                RECT back = WindowRectOf(link);
                return EqualRect(&back, &normal) && ScreenPixels(normal) == normalPixels;
            },
            5000, "the link drawn as before"))
            << "link " << linkId;
    }
}
