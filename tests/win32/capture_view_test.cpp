// The main window's capture workflow, driven in-process: the Capture page, the capture command,
// the capture view with its buttons, saving, and the caption.
#include <gtest/gtest.h>

#include <cwchar>
#include <fstream>
#include <iterator>
#include <memory>
#include <thread>

#include "app/Components.h"
#include "app/ControlIds.h"
#include "app/TintsnatchMain.h"
#include "tests/e2e/UnixTools.h"
#include "tests/win32/CaptureTestWindows.h"
#include "win/Application.h"
#include "win/ErrorReport.h"
#include "win/Hints.h"

using namespace capture_test;

namespace {
const COLORREF Teal = RGB(0, 160, 80), Grey = RGB(40, 40, 40);

bool FileExists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

class CaptureView : public testing::Test {
  protected:
    void SetUp() override {
        testsupport::MoveCursor(5, 5);
        form = std::make_unique<TTintsnatch4>();
        form->CreateForm();
        form->FixedFollowClick();  // the window stays centred, in view of the screen reads
        ShowWindow(form->Handle(), SW_SHOWNORMAL);
        SetForegroundWindow(form->Handle());
        form->ScreenCapture()->Delay = 150;
        ASSERT_TRUE(testsupport::WaitFor([&] { return IsWindowVisible(form->Handle()) != FALSE; },
                                         5000, "the main window shown"));
    }
    void TearDown() override {
        form.reset();
        auto& app = win::Application();
        app.SetMainWindow(nullptr);
        app.SetMessageFilter(nullptr);
        testsupport::DispatchPending();  // takes the quit message the main window posted
    }
    HWND Control(int controlId) const { return win::FindControl(form->Handle(), controlId); }
    void Click(int controlId) { SendMessageW(Control(controlId), BM_CLICK, 0, 0); }
    bool InCaptureView() const {
        return win::IsShown(Control(id::CapturePanel)) &&
               !win::IsShown(Control(id::ColorZoomPanel)) && !win::IsShown(Control(id::Properties));
    }
    bool InCompactView() const {
        SIZE s = win::OuterSize(form->Handle());
        return !win::IsShown(Control(id::CapturePanel)) &&
               win::IsShown(Control(id::ColorZoomPanel)) && s.cx == TTintsnatch4::CompactWidth &&
               s.cy == TTintsnatch4::CompactHeight;
    }
    void CaptureDesktop() {
        Click(id::rgCaptureItem0 + 1);
        form->CaptureExecute();
        EXPECT_TRUE(
            testsupport::WaitFor([&] { return InCaptureView(); }, 5000, "the capture view"));
    }

    std::unique_ptr<TTintsnatch4> form;
};
}  // namespace

TEST_F(CaptureView, PageAndButtonsAreAsDesigned) {
    EXPECT_TRUE(win::IsChecked(Control(id::rgCaptureItem0)));
    EXPECT_TRUE(win::IsChecked(Control(id::rgCaptureAreaItem0 + 6)));
    EXPECT_EQ(win::GetText(Control(id::rgCaptureAreaItem0 + 6)), L"Custom");
    EXPECT_EQ(win::GetText(Control(id::rgCapture)), L"Screen capture mode");
    EXPECT_EQ(win::GetText(Control(id::rgCaptureArea)), L"Capture area");
    EXPECT_EQ(win::GetHint(Control(id::rgCaptureItem0 + 3)), L"Screen capture modes");
    EXPECT_EQ(win::GetHint(Control(id::rgCaptureAreaItem0)), L"Size of captured area");

    // Tab order Copy, Save As, Cancel, Print; the places of the design.
    HWND copy = Control(id::ClipboardCopy);
    HWND save = GetWindow(copy, GW_HWNDNEXT);
    HWND cancel = GetWindow(save, GW_HWNDNEXT);
    HWND print = GetWindow(cancel, GW_HWNDNEXT);
    EXPECT_EQ(win::GetText(copy), L"&Copy");
    EXPECT_EQ(win::GetText(save), L"Save &As...");
    EXPECT_EQ(win::GetText(cancel), L"Ca&ncel");
    EXPECT_EQ(win::GetText(print), L"&Print...");
    EXPECT_EQ(win::GetHint(cancel), L"Cancel|Cancel screen capturing");
    EXPECT_EQ(win::GetHint(save), L"Saves captured image to a file (Ctrl+S)");
    EXPECT_EQ(win::GetHint(print), L"Open print dialog to print captured image (Ctrl+P)");
    RECT r;
    GetWindowRect(print, &r);
    MapWindowPoints(nullptr, Control(id::BtnPanel), reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.left, 8);
    EXPECT_EQ(r.top, 72);
    EXPECT_EQ(r.right - r.left, 75);
    EXPECT_EQ(r.bottom - r.top, 25);
}

TEST_F(CaptureView, AreaGroupFollowsTheModeAndTheCaptionFollowsBoth) {
    HWND zoom = Control(id::lblZoomFactor);
    std::wstring factor = zoom ? win::GetText(zoom) : L"";
    form->Timer1Timer();
    EXPECT_EQ(win::GetText(form->Handle()), L"Selection Custom - " + factor);
    const wchar_t* words[] = {L"Selection Custom - ", L"Desktop  - ", L"Active window  - ",
                              L"Object  - "};
    for (int mode : {1, 2, 3, 0}) {
        Click(id::rgCaptureItem0 + mode);
        EXPECT_EQ(IsWindowEnabled(Control(id::rgCaptureAreaItem0)) != FALSE, mode == 0) << mode;
        EXPECT_EQ(IsWindowEnabled(Control(id::rgCaptureArea)) != FALSE, mode == 0) << mode;
        form->Timer1Timer();
        EXPECT_EQ(win::GetText(form->Handle()), words[mode] + factor);
    }
    Click(id::rgCaptureAreaItem0 + 2);
    form->Timer1Timer();
    EXPECT_EQ(win::GetText(form->Handle()), L"Selection 32x32 - " + factor);
}

TEST_F(CaptureView, CaptureOpensTheViewScrollableToTheFarCorner) {
    int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
    ColourWindowThread pattern(ScreenRect(), {{{sw - 100, sh - 100, sw, sh}, Teal}}, Grey);
    SetForegroundWindow(form->Handle());
    SetClipboardText(L"before");
    CaptureDesktop();
    ASSERT_TRUE(InCaptureView());
    SIZE s = win::OuterSize(form->Handle());
    EXPECT_EQ(s.cx, TTintsnatch4::OptionsWidth);
    EXPECT_EQ(s.cy, TTintsnatch4::OptionsHeight);
    SIZE clip = ClipboardBitmapSize();
    EXPECT_EQ(clip.cx, sw);
    EXPECT_EQ(clip.cy, sh);

    HWND box = Control(id::ScrollBox1);
    SCROLLINFO si{};
    si.cbSize = sizeof si;
    si.fMask = SIF_ALL;
    ASSERT_TRUE(GetScrollInfo(box, SB_HORZ, &si));
    EXPECT_EQ(si.nMax, sw - 1);
    ASSERT_TRUE(GetScrollInfo(box, SB_VERT, &si));
    EXPECT_EQ(si.nMax, sh - 1);

    SendMessageW(box, WM_HSCROLL, SB_RIGHT, 0);
    SendMessageW(box, WM_VSCROLL, SB_BOTTOM, 0);
    RECT client;
    GetClientRect(box, &client);
    POINT corner{client.right - 1, client.bottom - 1};
    ClientToScreen(box, &corner);
    EXPECT_TRUE(testsupport::WaitFor(
        [&] { return GetPixel(gdi::WindowDC(nullptr).Get(), corner.x, corner.y) == Teal; }, 5000,
        "the image's corner block at the scroll box's corner"));
    // The image's own corner pixel sits at the scroll box's corner.
    RECT image;
    GetWindowRect(Control(id::CapturedImage), &image);
    EXPECT_EQ(image.left + sw, corner.x + 1);
    EXPECT_EQ(image.top + sh, corner.y + 1);
}

TEST_F(CaptureView, CopyPutsTheImageOnTheClipboardAgainAndResets) {
    CaptureDesktop();
    ASSERT_TRUE(InCaptureView());
    SetClipboardText(L"other");
    Click(id::ClipboardCopy);
    EXPECT_EQ(ClipboardBitmapSize().cx, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_TRUE(InCompactView());
}

TEST_F(CaptureView, CancelAndEscResetWithoutCopying) {
    CaptureDesktop();
    SetClipboardText(L"keep");
    Click(id::Cancel);
    EXPECT_TRUE(InCompactView());
    EXPECT_EQ(ClipboardText(), L"keep");

    CaptureDesktop();
    ASSERT_TRUE(InCaptureView());
    SetClipboardText(L"keep too");
    PostMessageW(form->Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_TRUE(testsupport::WaitFor([&] { return InCompactView(); }, 5000, "the compact view"));
    EXPECT_EQ(ClipboardText(), L"keep too");
}

TEST_F(CaptureView, SaveWritesBitmapDataUnderExactlyTheNameAndResets) {
    CaptureDesktop();
    std::wstring path = TempPath(L"ts-capture-view.jpg");
    DeleteFileW(path.c_str());
    form->FileSaveAs1Accept(path);
    EXPECT_TRUE(InCompactView());
    std::string bytes = FileBytes(path);
    ASSERT_GT(bytes.size(), 54u);
    EXPECT_EQ(bytes.substr(0, 2), "BM");
    gdi::Bitmap loaded(static_cast<HBITMAP>(
        LoadImageW(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE)));
    ASSERT_TRUE(loaded);
    BITMAP bm{};
    GetObjectW(loaded.Get(), sizeof bm, &bm);
    EXPECT_EQ(bm.bmWidth, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(bm.bmHeight, GetSystemMetrics(SM_CYSCREEN));
    loaded.Reset();
    DeleteFileW(path.c_str());

    // A name ending in ".png", in any case, asks for PNG.
    path = TempPath(L"ts-capture-view.Png");
    CaptureDesktop();
    form->FileSaveAs1Accept(path);
    EXPECT_EQ(FileBytes(path).substr(0, 8), "\x89PNG\r\n\x1A\n");
    DeleteFileW(path.c_str());
}

TEST_F(CaptureView, SaveBeforeAnyCaptureMakesNoFile) {
    std::wstring path = TempPath(L"ts-capture-none.bmp");
    DeleteFileW(path.c_str());
    form->FileSaveAs1Accept(path);
    EXPECT_FALSE(FileExists(path));
    EXPECT_TRUE(InCompactView());
}

TEST_F(CaptureView, FailedSaveReportsAndKeepsTheViewAndTheFile) {
    CaptureDesktop();
    std::wstring bmpError;
    for (const wchar_t* name : {L"ts-capture-busy.bmp", L"ts-capture-busy.PNG"}) {
        std::wstring path = TempPath(name);
        {
            std::ofstream f(path.c_str(), std::ios::binary | std::ios::trunc);
            f << "earlier picture";
        }
        HANDLE held =
            CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(held, INVALID_HANDLE_VALUE);
        std::wstring error = L"none";
        try {
            form->FileSaveAs1Accept(path);
        } catch (const win::Error& e) {
            error = e.Text();
        }
        CloseHandle(held);
        EXPECT_TRUE(InCaptureView());
        EXPECT_EQ(FileBytes(path), "earlier picture");
        DeleteFileW(path.c_str());
        // A PNG save fails in the same words as a BMP save.
        error.replace(error.find(name), wcslen(name), L"NAME");
        if (bmpError.empty()) bmpError = error;
        EXPECT_EQ(error, bmpError) << name;
    }
    EXPECT_NE(bmpError.find(L"Cannot create file \""), std::wstring::npos) << bmpError;
}

// A file system of 64 KB of its own (Linux tmpfs, mounted by root) that a desktop capture
// cannot fit on.
class SmallDisk {
  public:
    SmallDisk() : folder_(TempPath(L"ts-small-disk")) {
        CreateDirectoryW(folder_.c_str(), nullptr);
        unix_ = unixtools::UnixPath(folder_);
        mounted_ = !unix_.empty() &&
                   unixtools::RunShell("mount -t tmpfs -o size=64k tmpfs '" + unix_ + "'") == 0;
    }
    ~SmallDisk() {
        if (mounted_) unixtools::RunShell("umount '" + unix_ + "'");
        RemoveDirectoryW(folder_.c_str());
    }
    explicit operator bool() const { return mounted_; }
    std::wstring Path(const wchar_t* name) const { return folder_ + L"\\" + name; }

  private:
    std::wstring folder_;
    std::string unix_;
    bool mounted_ = false;
};

TEST_F(CaptureView, SaveOnAFullDiskReportsNoRoomAndKeepsTheFile) {
    SmallDisk disk;
    if (!disk) GTEST_SKIP() << "mounting a small file system needs root under Wine";
    CaptureDesktop();
    {
        // A desktop capture's BMP is megabytes: the disk takes a first part of it. (The PNG and
        // BMP saves share the writing.)
        std::wstring path = disk.Path(L"full.bmp");
        {
            std::ofstream f(path.c_str(), std::ios::binary | std::ios::trunc);
            f << "earlier picture";
        }
        std::wstring error = L"none";
        try {
            form->FileSaveAs1Accept(path);
        } catch (const win::Error& e) {
            error = e.Text();
        }
        wchar_t* text = nullptr;
        FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                           FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, ERROR_DISK_FULL, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
        std::wstring noRoom = text ? text : L"?";
        LocalFree(text);
        while (!noRoom.empty() && (iswspace(noRoom.back()) || noRoom.back() == L'.'))
            noRoom.pop_back();
        EXPECT_NE(error.find(noRoom), std::wstring::npos) << error;
        EXPECT_TRUE(InCaptureView());
        EXPECT_EQ(FileBytes(path), "earlier picture");
        DeleteFileW(path.c_str());
    }
}

TEST_F(CaptureView, CtrlSSavesTheLastImageFromTheCompactView) {
    CaptureDesktop();
    Click(id::Cancel);
    ASSERT_TRUE(InCompactView());
    std::wstring path = TempPath(L"ts-capture-ctrl-s.bmp");
    DeleteFileW(path.c_str());
    // The user types the name into the save dialog and presses Save.
    bool dialogSeen = false;
    std::thread user([&] {
        HWND dlg = nullptr;
        dialogSeen = static_cast<bool>(testsupport::WaitFor(
            [&] {
                dlg = FindOwnWindow(L"#32770");
                return dlg && IsWindowVisible(dlg);
            },
            10000, "the save dialog"));
        if (!dialogSeen) return;
        // The dialog finishes setting itself up from messages it posted itself; two round trips
        // through its loop see them handled, so they cannot overwrite the name typed next.
        for (int trip = 0; trip < 2; ++trip) {
            DWORD_PTR answer = 0;
            SendMessageTimeoutW(dlg, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &answer);
        }
        HWND name = GetDlgItem(dlg, 0x480);        // edt1
        if (!name) name = GetDlgItem(dlg, 0x47c);  // cmb13
        SendMessageW(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
        PostMessageW(dlg, WM_COMMAND, IDOK, 0);
    });
    SetForegroundWindow(form->Handle());
    SetFocus(form->Handle());
    EXPECT_TRUE(testsupport::WaitFor(  // no ASSERT: the user's thread is joined below
        [&] { return GetForegroundWindow() == form->Handle() && GetFocus() == form->Handle(); },
        5000, "the main window in front with the focus"));
    INPUT keys[4]{};
    for (auto& k : keys) k.type = INPUT_KEYBOARD;
    keys[0].ki.wVk = VK_CONTROL;
    keys[1].ki.wVk = 'S';
    keys[2].ki.wVk = 'S';
    keys[2].ki.dwFlags = KEYEVENTF_KEYUP;
    keys[3].ki.wVk = VK_CONTROL;
    keys[3].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(4, keys, sizeof(INPUT));
    // The application's loop, which knows the window's shortcuts, until the file is written.
    DWORD start = GetTickCount();
    while (!FileExists(path) && GetTickCount() - start < 10000) {
        win::Application().ProcessMessages();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
    user.join();
    EXPECT_TRUE(FileExists(path)) << "gave up after 10 s waiting for the file saved";
    EXPECT_TRUE(dialogSeen);
    EXPECT_EQ(FileBytes(path).substr(0, 2), "BM");
    EXPECT_TRUE(InCompactView());
    DeleteFileW(path.c_str());
}

TEST_F(CaptureView, RepeatedCapturesKeepOneImageAndLeakNothing) {
    CaptureDesktop();
    int afterFirst = gdi::LiveCount();
    for (int i = 0; i < 3; ++i) {
        CaptureDesktop();  // a capture while the view is open replaces the image
        EXPECT_TRUE(InCaptureView());
        Click(id::ClipboardCopy);
    }
    EXPECT_EQ(gdi::LiveCount(), afterFirst);
}
