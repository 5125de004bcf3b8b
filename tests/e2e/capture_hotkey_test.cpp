// F9 starts a capture in the chosen mode; the capture view shows the image, already on the
// clipboard, and its buttons copy it again or dismiss it.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <vector>

#include "app/ControlIds.h"
#include "tests/e2e/Harness.h"
#include "tests/e2e/UnixTools.h"

using namespace e2e;

namespace {
SIZE ClipboardBitmapSize() {
    SIZE s{-1, -1};
    if (!OpenClipboardWaiting()) return s;
    if (HBITMAP b = static_cast<HBITMAP>(GetClipboardData(CF_BITMAP))) {
        BITMAP bm{};
        if (GetObjectW(b, sizeof bm, &bm)) s = {bm.bmWidth, bm.bmHeight};
    }
    CloseClipboard();
    return s;
}

bool SizeIs(const SIZE& s, int w, int h) { return s.cx == w && s.cy == h; }

// The bytes of a clipboard format ("PNG" unless named), empty when it has none.
std::vector<std::uint8_t> ClipboardPng(UINT format = RegisterClipboardFormatW(L"PNG")) {
    std::vector<std::uint8_t> bytes;
    if (!OpenClipboardWaiting()) return bytes;
    if (HANDLE h = GetClipboardData(format)) {
        if (auto* p = static_cast<const std::uint8_t*>(GlobalLock(h))) {
            bytes.assign(p, p + GlobalSize(h));
            GlobalUnlock(h);
        }
    }
    CloseClipboard();
    return bytes;
}

void WriteFileBytes(const std::wstring& path, const std::string& bytes) {
    std::ofstream(path.c_str(), std::ios::binary | std::ios::trunc) << bytes;
}
std::string FileBytes(const std::wstring& path) {
    std::ifstream in(path.c_str(), std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}
bool FileExists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// The program's save dialog, driven through its controls as a user does.
HWND SaveDialog(DWORD pid) {
    HWND dlg = nullptr;
    WaitFor(
        [&] {
            dlg = FindTopWindow(L"#32770", pid);
            return dlg && IsWindowVisible(dlg) && GetDlgItem(dlg, IDOK);
        },
        5000, "the save dialog shown");
    return dlg;
}
HWND TypeList(HWND dlg) { return GetDlgItem(dlg, 0x470); }  // cmb1
// With the keyboard: Alt+T goes to "Files of &type:", the arrows move along the list.
bool ChooseType(HWND dlg, int index) {
    PressKeys({VK_MENU, 'T'});
    int now = static_cast<int>(SendMessageW(TypeList(dlg), CB_GETCURSEL, 0, 0));
    for (; now < index; ++now) PressKeys({VK_DOWN});
    for (; now > index; --now) PressKeys({VK_UP});
    return static_cast<bool>(
        WaitFor([&] { return SendMessageW(TypeList(dlg), CB_GETCURSEL, 0, 0) == index; }, 5000,
                "the file type chosen"));
}
void TypeNameAndSave(HWND dlg, const std::wstring& name) {
    HWND edit = GetDlgItem(dlg, 0x480);        // edt1
    if (!edit) edit = GetDlgItem(dlg, 0x47c);  // cmb13
    SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(name.c_str()));
    PostMessageW(GetDlgItem(dlg, IDOK), BM_CLICK, 0, 0);
}
// A message box that the dialog owns (the question before replacing a file).
HWND OwnedBox(HWND dlg, DWORD pid) {
    HWND found = nullptr;
    for (HWND w = FindWindowExW(nullptr, nullptr, L"#32770", nullptr); w && !found;
         w = FindWindowExW(nullptr, w, L"#32770", nullptr)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(w, &owner);
        if (owner == pid && w != dlg && GetWindow(w, GW_OWNER) == dlg && IsWindowVisible(w))
            found = w;
    }
    return found;
}
}  // namespace

class CaptureByHotKey : public testing::Test {
  protected:
    const int screenW = GetSystemMetrics(SM_CXSCREEN), screenH = GetSystemMetrics(SM_CYSCREEN);
    PatternWindow pattern{{{{100, 100, 200, 175}, RGB(255, 0, 0)},
                           {{200, 175, 300, 250}, RGB(0, 0, 255)},
                           {{screenW - 20, screenH - 20, screenW, screenH}, RGB(255, 0, 255)}}};
    App app;
    void SetUp() override {
        ASSERT_TRUE(app.Start());
        MoveCursor(700, 600);
        SetClipboardText(L"before");
    }
    // Chooses "&Desktop" on the Capture page, as a click does, and puts the cursor where the
    // capture view will open wholly on the screen.
    // Chooses "&Desktop" on the Capture page, as a click does.
    void ChooseDesktopMode() {
        MoveCursor(100, 100);
        ASSERT_TRUE(
            WaitFor([&] { return app.WindowRect().left == 120 && app.WindowRect().top == 120; },
                    5000, "the window at (120, 120)"));
        MoveCursor(150, 128);
        ASSERT_TRUE(
            WaitFor([&] { return app.WindowSize().cx == 300; }, 5000, "the window 300 wide"));
        SendMessageW(app.Control(id::rgCaptureItem0 + 1), BM_CLICK, 0, 0);
        EXPECT_TRUE(WaitFor([&] { return !IsWindowEnabled(app.Control(id::rgCaptureArea)); }, 5000,
                            "the area group greyed"))
            << "the area group is for the selection mode only";
        MoveCursor(100, 400);  // the capture view will open at (120, 420), wholly on the screen
        EXPECT_TRUE(WaitFor([&] { return app.Caption() == L"Desktop  - 15"; }, 5000,
                            "the caption \"Desktop  - 15\""));
    }
    // What ImageMagick reads in a file of a desktop capture: the format, the screen's size and
    // the pattern's red, blue and magenta, all opaque.
    std::string Expected(const char* format, const std::string& alpha = "") const {
        return std::string(format) + " " + std::to_string(screenW) + " " + std::to_string(screenH) +
               " FF0000" + alpha + "/1 0000FF" + alpha + "/1 FF00FF" + alpha + "/1";
    }
    std::string Decoded(const std::wstring& file) const {
        return unixtools::ImageMagickReads(
            file, std::vector<POINT>{{150, 130}, {250, 200}, {screenW - 10, screenH - 10}});
    }
};

TEST_F(CaptureByHotKey, F9DragsARectangleAndOpensTheCaptureView) {
    PressKeys({VK_F9});
    HWND overlay = nullptr;
    ASSERT_TRUE(
        WaitFor([&] { return (overlay = app.VisibleTopWindow(L"TCaptureRectForm")) != nullptr; },
                5000, "the overlay shown"));
    EXPECT_FALSE(IsWindowVisible(app.MainWindow())) << "the application is minimised meanwhile";
    // A press before the overlay is in front may reach the desktop beneath, and the drag would
    // then start from the overlay's empty rectangle at (0, 0).
    ASSERT_TRUE(app.WaitForFront(L"TCaptureRectForm"));
    MouseTo(100, 100);
    MouseTo(100, 100, MOUSEEVENTF_LEFTDOWN);
    MouseTo(200, 180);
    MouseTo(300, 250);
    MouseTo(300, 250, MOUSEEVENTF_LEFTUP);
    ASSERT_TRUE(
        WaitFor([&] { return app.Visible(id::CapturePanel); }, 8000, "the capture view shown"));
    EXPECT_EQ(FindTopWindow(L"TCaptureRectForm", app.ProcessId()), nullptr);
    // The view shows first, then the window takes its size.
    EXPECT_TRUE(WaitFor([&] { return app.WindowSize().cx == 300 && app.WindowSize().cy == 220; },
                        5000, "the window 300 x 220"));
    EXPECT_TRUE(SizeIs(ClipboardBitmapSize(), 200, 150)) << "the image is on the clipboard";
    EXPECT_EQ(app.Text(id::ClipboardCopy), L"&Copy");
    EXPECT_EQ(app.Text(id::Cancel), L"Ca&ncel");

    // "Ca&ncel" leaves the view without copying; "&Copy" after another capture copies again.
    SetClipboardText(L"after");
    SendMessageW(app.Control(id::Cancel), BM_CLICK, 0, 0);
    EXPECT_TRUE(
        WaitFor([&] { return !app.Visible(id::CapturePanel); }, 5000, "the capture view gone"));
    EXPECT_EQ(ClipboardText(), L"after");
}

TEST_F(CaptureByHotKey, DesktopModeCapturesTheWholeScreenAndCopyCopiesItAgain) {
    ChooseDesktopMode();
    PressKeys({VK_F9});
    ASSERT_TRUE(
        WaitFor([&] { return app.Visible(id::CapturePanel); }, 8000, "the capture view shown"));
    int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    EXPECT_TRUE(SizeIs(ClipboardBitmapSize(), w, h));
    // The image scrolls to its far corner: the screen's bottom-right block shows there.
    HWND box = app.Control(id::ScrollBox1);
    SendMessageW(box, WM_HSCROLL, SB_RIGHT, 0);
    SendMessageW(box, WM_VSCROLL, SB_BOTTOM, 0);
    RECT client;
    GetClientRect(box, &client);
    POINT corner{client.right - 1, client.bottom - 1};
    ClientToScreen(box, &corner);
    EXPECT_TRUE(WaitFor([&] { return ScreenPixel(corner.x, corner.y) == RGB(255, 0, 255); }, 5000,
                        "the screen's corner block at the scroll box's corner"));
    // Beside the bitmap, the capture is offered as "PNG", which another program reads here.
    std::vector<std::uint8_t> png = ClipboardPng();
    std::wstring pngFile = app.Folder() + L"\\clipboard.png";
    WriteFileBytes(pngFile, std::string(png.begin(), png.end()));
    EXPECT_EQ(Decoded(pngFile), Expected("PNG"));

    SetClipboardText(L"replaced");
    SendMessageW(app.Control(id::ClipboardCopy), BM_CLICK, 0, 0);
    EXPECT_TRUE(WaitFor([&] { return SizeIs(ClipboardBitmapSize(), w, h); }, 5000,
                        "the whole screen on the clipboard"));
    EXPECT_TRUE(
        WaitFor([&] { return !app.Visible(id::CapturePanel); }, 5000, "the capture view gone"))
        << "copy resets the view";
    // "&Copy" offers it again; it stays on the clipboard after the program has ended.
    ASSERT_TRUE(app.Close());
    EXPECT_EQ(ClipboardPng(), png);
    // The 24-bit form the program offered too, not one the system makes from the bitmap.
    const std::vector<std::uint8_t> dib = ClipboardPng(CF_DIB);
    ASSERT_GE(dib.size(), sizeof(BITMAPINFOHEADER));
    EXPECT_EQ(reinterpret_cast<const BITMAPINFOHEADER*>(dib.data())->biBitCount, 24);
}

TEST_F(CaptureByHotKey, ThePngOfferOutlivesTheProgramThoughTheClipboardIsBusyAtItsExit) {
    ChooseDesktopMode();
    PressKeys({VK_F9});
    ASSERT_TRUE(
        WaitFor([&] { return app.Visible(id::CapturePanel); }, 8000, "the capture view shown"));
    // Another program holds the clipboard from before the exit until a moment after the program
    // removes its tray icon, which it does just before its offer is rendered.
    ASSERT_TRUE(OpenClipboardWaiting());
    PostMessageW(app.MainWindow(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(WaitFor([&] { return !FindTopWindow(L"TJvTrayIconWindow", app.ProcessId()); }, 5000,
                        "the tray icon gone"));
    Settle(500);  // the other program's own hold, which nothing on screen shows
    CloseClipboard();
    ASSERT_TRUE(app.WaitForExit(10000));
    std::vector<std::uint8_t> png = ClipboardPng();
    EXPECT_TRUE(png.size() > 8 && std::string(png.begin() + 1, png.begin() + 4) == "PNG");
}

TEST_F(CaptureByHotKey, NearTheRightAndBottomEdgesTheCaptureViewMovesOntoTheScreen) {
    ChooseDesktopMode();
    RECT work{}, compact{};
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0));
    MoveCursor(work.right - 194, work.bottom - 128);  // the window 2 and 10 pixels from the edges
    ASSERT_TRUE(WaitFor(
        [&] {
            compact = app.WindowRect();
            return compact.left == work.right - 174 && compact.top == work.bottom - 108;
        },
        5000, "the window near the bottom-right corner"));
    PressKeys({VK_F9});
    ASSERT_TRUE(WaitFor([&] { return app.Visible(id::CapturePanel) && app.WindowSize().cx == 300; },
                        8000, "the capture view shown"));
    ASSERT_TRUE(app.Handled());  // the controls laid out for the new size, which shows first
    // Moved just onto the screen, still over the compact view.
    RECT view = app.WindowRect(), both{};
    EXPECT_EQ(view.right, work.right);
    EXPECT_EQ(view.bottom, work.bottom);
    UnionRect(&both, &view, &compact);
    EXPECT_TRUE(EqualRect(&both, &view));
    for (int button : {id::ClipboardCopy, id::SaveImage, id::Button1, id::Cancel}) {
        RECT b{};
        GetWindowRect(app.Control(button), &b);
        EXPECT_TRUE(IntersectRect(&both, &b, &work) && EqualRect(&both, &b))
            << app.Text(button) << " off the screen";
    }
}

TEST_F(CaptureByHotKey, SaveAsWritesPngOrBmpByNameOrTypeAndAsksBeforeReplacing) {
    ChooseDesktopMode();
    PressKeys({VK_F9});
    ASSERT_TRUE(
        WaitFor([&] { return app.Visible(id::CapturePanel); }, 8000, "the capture view shown"));
    const std::wstring dir = app.Folder() + L"\\";
    for (const wchar_t* name : {L"a.png", L"a.bmp", L"a", L"b", L"b.png", L"b.bmp"})
        DeleteFileW((dir + name).c_str());
    auto save = [&](const std::wstring& name, int type) {
        PressKeys({VK_CONTROL, 'S'});  // from any view, after a capture
        HWND dlg = SaveDialog(app.ProcessId());
        if (!dlg) return;
        if (type >= 0) {
            EXPECT_TRUE(ChooseType(dlg, type));
        }
        TypeNameAndSave(dlg, dir + name);
        EXPECT_TRUE(WaitFor([&] { return !IsWindow(dlg); }, 5000, "the save dialog closed"));
    };

    PressKeys({VK_CONTROL, 'S'});
    HWND dlg = SaveDialog(app.ProcessId());
    ASSERT_TRUE(dlg);
    ASSERT_EQ(SendMessageW(TypeList(dlg), CB_GETCOUNT, 0, 0), 3);
    wchar_t item[64];
    const wchar_t* types[] = {L"Bitmap (*.bmp)", L"PNG (*.png)", L"All files (*.*)"};
    for (int i = 0; i < 3; ++i) {
        SendMessageW(TypeList(dlg), CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item));
        EXPECT_STREQ(item, types[i]);
    }
    EXPECT_EQ(SendMessageW(TypeList(dlg), CB_GETCURSEL, 0, 0), 0);
    TypeNameAndSave(dlg, dir + L"a.png");  // the name asks for PNG, whatever the type
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(dlg) && FileExists(dir + L"a.png"); }, 5000,
                        "a.png written"));
    EXPECT_EQ(Decoded(dir + L"a.png"), Expected("PNG"));

    save(L"a.bmp", -1);
    ASSERT_TRUE(WaitFor([&] { return FileExists(dir + L"a.bmp"); }, 5000, "a.bmp written"));
    EXPECT_EQ(Decoded(dir + L"a.bmp"), Expected("BMP3", "FF")) << "32-bit pixels are opaque";
    save(L"a", 2);  // "All files": the name as typed
    ASSERT_TRUE(WaitFor([&] { return FileExists(dir + L"a"); }, 5000, "a written"));
    EXPECT_EQ(FileBytes(dir + L"a"), FileBytes(dir + L"a.bmp"));
    save(L"b", 1);  // the PNG type adds its extension
    ASSERT_TRUE(WaitFor([&] { return FileExists(dir + L"b.png"); }, 5000, "b.png written"));
    EXPECT_FALSE(FileExists(dir + L"b"));
    EXPECT_EQ(FileBytes(dir + L"b.png"), FileBytes(dir + L"a.png"));

    // The type chosen last comes back; replacing a file asks first, and "No" keeps it.
    WriteFileBytes(dir + L"a.bmp", "earlier picture");
    PressKeys({VK_CONTROL, 'S'});
    dlg = SaveDialog(app.ProcessId());
    ASSERT_TRUE(dlg);
    EXPECT_EQ(SendMessageW(TypeList(dlg), CB_GETCURSEL, 0, 0), 1);
    TypeNameAndSave(dlg, dir + L"a.bmp");
    HWND box = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (box = OwnedBox(dlg, app.ProcessId())) != nullptr; }, 5000,
                        "the question box"))
        << "a question before replacing";
    PostMessageW(GetDlgItem(box, IDNO), BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(box); }, 5000, "the question box closed"));
    EXPECT_TRUE(IsWindowVisible(dlg)) << "the dialog stays for another name";
    PostMessageW(GetDlgItem(dlg, IDCANCEL), BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(dlg); }, 5000, "the save dialog closed"));
    EXPECT_EQ(FileBytes(dir + L"a.bmp"), "earlier picture");
}

TEST_F(CaptureByHotKey, SaveWritesIntoTheFolderAtOnceNeverOverAFileAndReportsAFolderItCannotMake) {
    const std::wstring folder = app.Folder() + L"\\shots\\new", first = folder + L"\\s Desktop.bmp";
    SendMessageW(app.Control(id::edSaveFolder), WM_SETTEXT, 0,
                 reinterpret_cast<LPARAM>(folder.c_str()));
    SendMessageW(app.Control(id::edFileName), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"s {mode}"));
    ChooseDesktopMode();
    auto captureAndSave = [&] {
        PressKeys({VK_F9});
        EXPECT_TRUE(
            WaitFor([&] { return app.Visible(id::CapturePanel); }, 8000, "the capture view shown"));
        PostMessageW(app.Control(id::SaveNow), BM_CLICK, 0, 0);
    };
    captureAndSave();  // the folder is made
    ASSERT_TRUE(WaitFor([&] { return !app.Visible(id::CapturePanel); }, 8000, "the view left"));
    EXPECT_EQ(Decoded(first), Expected("BMP3", "FF"));
    WriteFileBytes(first, "the user's own file");
    captureAndSave();
    ASSERT_TRUE(WaitFor([&] { return !app.Visible(id::CapturePanel); }, 8000, "the view left"));
    EXPECT_EQ(FileBytes(first), "the user's own file");
    EXPECT_EQ(Decoded(folder + L"\\s Desktop (2).bmp"), Expected("BMP3", "FF"));

    // A folder under a file cannot be made: the save's own report, the view stays, nothing new.
    const std::wstring blocked = first + L"\\sub";
    SendMessageW(app.Control(id::edSaveFolder), WM_SETTEXT, 0,
                 reinterpret_cast<LPARAM>(blocked.c_str()));
    captureAndSave();
    HWND box = nullptr;
    ASSERT_TRUE(WaitFor(
        [&] {
            box = FindTopWindow(L"#32770", app.ProcessId());
            return box && WindowTextOf(box) == L"Tintsnatch 4";
        },
        8000, "the error report"));
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(box); }, 5000, "the report closed"));
    EXPECT_TRUE(app.Visible(id::CapturePanel));
    EXPECT_EQ(FileBytes(first), "the user's own file");
    EXPECT_FALSE(FileExists(folder + L"\\s Desktop (3).bmp"));
}

TEST_F(CaptureByHotKey, TheViewsButtonsAreReachedByTabAndByTheirAccessKeys) {
    const std::wstring folder = app.Folder() + L"\\keys";
    SendMessageW(app.Control(id::edSaveFolder), WM_SETTEXT, 0,
                 reinterpret_cast<LPARAM>(folder.c_str()));
    SendMessageW(app.Control(id::edFileName), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"k"));
    ChooseDesktopMode();
    auto capture = [&] {
        PressKeys({VK_F9});
        return app.WaitForFocus(app.Control(id::ClipboardCopy), 8000);
    };
    ASSERT_TRUE(capture()) << "the first button takes the focus as the view opens";
    // Tab runs through the six in their order and round; Shift+Tab goes back.
    for (int next :
         {id::SaveImage, id::Cancel, id::Button1, id::SaveNow, id::PinCapture, id::ClipboardCopy}) {
        PressKeys({VK_TAB});
        ASSERT_TRUE(app.WaitForFocus(app.Control(next))) << "control " << next;
    }
    PressKeys({VK_SHIFT, VK_TAB});
    ASSERT_TRUE(app.WaitForFocus(app.Control(id::PinCapture)));
    PressKeys({VK_SHIFT, VK_TAB});
    ASSERT_TRUE(app.WaitForFocus(app.Control(id::SaveNow)));
    PressKeys({VK_RETURN});  // Enter presses the focused "&Save"
    EXPECT_TRUE(WaitFor([&] { return FileExists(folder + L"\\k.bmp"); }, 8000, "k.bmp saved"));
    ASSERT_TRUE(WaitFor([&] { return !app.Visible(id::CapturePanel); }, 5000, "the view left"));

    // The access keys: Alt+A opens the save dialog, whose Esc gives the focus back to its button;
    // Alt+S saves at once; Space presses the focused "&Copy".
    ASSERT_TRUE(capture());
    PressKeys({VK_MENU, 'A'});
    HWND dlg = SaveDialog(app.ProcessId());
    ASSERT_NE(dlg, nullptr);
    PressKeys({VK_ESCAPE});
    ASSERT_TRUE(app.WaitForFocus(app.Control(id::SaveImage)));
    PressKeys({VK_MENU, 'S'});
    EXPECT_TRUE(WaitFor([&] { return FileExists(folder + L"\\k (2).bmp"); }, 8000, "k (2).bmp"));
    ASSERT_TRUE(capture());
    SetClipboardText(L"before");
    PressKeys({VK_SPACE});
    EXPECT_TRUE(WaitFor([&] { return SizeIs(ClipboardBitmapSize(), screenW, screenH); }, 5000,
                        "the screen copied again"));
    ASSERT_TRUE(WaitFor([&] { return !app.Visible(id::CapturePanel); }, 5000, "the view left"));
    // Gone with the view, the focus takes no key meant for a hidden button.
    ASSERT_TRUE(app.WaitForFocus(app.MainWindow()));
}
