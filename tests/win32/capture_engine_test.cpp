// The capture engine against the real screen, and BMP files written and read back.
#include <gtest/gtest.h>

#include <atomic>
#include <fstream>
#include <iterator>

#include "capture/BmpFile.h"
#include "capture/OskCapture.h"
#include "tests/win32/CaptureTestWindows.h"
#include "win/Application.h"
#include "win/ErrorReport.h"

using namespace capture_test;

namespace {
const COLORREF Red = RGB(255, 0, 0), Teal = RGB(0, 160, 80), Navy = RGB(18, 52, 86),
               White = RGB(255, 255, 255), Grey = RGB(40, 40, 40), Magenta = RGB(255, 0, 255);

std::vector<Block> KnownBlocks() {
    return {{{200, 200, 300, 300}, Red},
            {{300, 200, 400, 300}, Teal},
            {{200, 300, 300, 400}, Navy},
            {{300, 300, 400, 400}, White}};
}

void WriteBytes(const std::wstring& path, const std::string& bytes) {
    std::ofstream f(path.c_str(), std::ios::binary | std::ios::trunc);
    f << bytes;
}

class CaptureEngine : public testing::Test {
  protected:
    void SetUp() override {
        engine.Delay = 30;
        engine.Minimize = false;
        engine.Auto = false;
        liveBefore = gdi::LiveCount();
    }
    void TearDown() override { EXPECT_EQ(gdi::LiveCount(), liveBefore + engine_own()); }
    int engine_own() const { return 1; }  // the working image's bitmap
    TOskScreenCapture engine;
    int liveBefore = 0;
};
}  // namespace

TEST_F(CaptureEngine, DesktopCaptureShowsTheScreensPixels) {
    ColourWindow pattern(ScreenRect(), KnownBlocks(), Grey);
    auto image = engine.CaptureDesktop();
    ASSERT_TRUE(image);
    EXPECT_EQ(image->Width(), GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(image->Height(), GetSystemMetrics(SM_CYSCREEN));
    EXPECT_EQ(image->Palette(), nullptr);  // not a palette display
    EXPECT_EQ(PixelOf(image->Bitmap(), 250, 250), Red);
    EXPECT_EQ(PixelOf(image->Bitmap(), 399, 299), Teal);
    EXPECT_EQ(PixelOf(image->Bitmap(), 200, 399), Navy);
    EXPECT_EQ(PixelOf(image->Bitmap(), 300, 300), White);
    EXPECT_EQ(PixelOf(image->Bitmap(), 400, 400), Grey);
    EXPECT_EQ(PixelOf(image->Bitmap(), 199, 250), Grey);
}

TEST_F(CaptureEngine, TwoCapturesAreIndependentImages) {
    ColourWindow pattern(ScreenRect(), KnownBlocks(), Grey);
    auto first = engine.CaptureDesktop();
    auto second = engine.CaptureDesktop();
    ASSERT_TRUE(first && second);
    EXPECT_NE(first->Bitmap(), second->Bitmap());
    {
        // Paint over the first: the second must not change.
        gdi::WindowDC screen(nullptr);
        gdi::MemoryDC dc(screen.Get());
        gdi::Selection sel(dc.Get(), first->Bitmap());
        RECT all{0, 0, first->Width(), first->Height()};
        FillRect(dc.Get(), &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    }
    EXPECT_EQ(PixelOf(first->Bitmap(), 250, 250), RGB(0, 0, 0));
    EXPECT_EQ(PixelOf(second->Bitmap(), 250, 250), Red);
    first.reset();
    EXPECT_EQ(PixelOf(second->Bitmap(), 350, 350), White);
}

TEST(CapturePicture, ACopySharesThePixelsUntilTheImageIsDrawnAgain) {
    ColourWindow pattern(ScreenRect(), KnownBlocks(), Grey);
    TPicture image;
    image.SetSize(400, 400);
    gdi::WindowDC screen(nullptr);
    image.CopyFrom(screen.Get(), 0, 0);
    auto copy = image.Copy();
    EXPECT_EQ(copy->Bitmap(), image.Bitmap());  // one bitmap for both
    // Drawn again from a blue source: the copy keeps the screen's pixels.
    gdi::MemoryDC blue(screen.Get());
    gdi::Bitmap blueBitmap(CreateCompatibleBitmap(screen.Get(), 400, 400));
    gdi::Selection sel(blue.Get(), blueBitmap.Get());
    RECT all{0, 0, 400, 400};
    gdi::Brush brush(CreateSolidBrush(RGB(0, 0, 255)));
    FillRect(blue.Get(), &all, brush.Get());
    image.CopyFrom(blue.Get(), 0, 0);
    EXPECT_EQ(PixelOf(image.Bitmap(), 250, 250), RGB(0, 0, 255));
    EXPECT_EQ(PixelOf(copy->Bitmap(), 250, 250), Red);
}

TEST_F(CaptureEngine, MinimizeKeepsTheApplicationOutOfThePictureAndRestoresIt) {
    ColourWindowThread pattern(ScreenRect(), KnownBlocks(), Grey);
    auto& app = win::Application();
    // A window of the application over the red block.
    ColourWindow own({220, 220, 280, 280}, {}, Magenta, app.Handle());
    ASSERT_EQ(GetPixel(gdi::WindowDC(nullptr).Get(), 250, 250), Magenta);
    engine.Minimize = true;
    engine.Delay = 500;  // the most it waits for the uncovered window to repaint
    auto image = engine.CaptureDesktop();
    ASSERT_TRUE(image);
    EXPECT_EQ(PixelOf(image->Bitmap(), 250, 250), Red);
    EXPECT_EQ(PixelOf(image->Bitmap(), 221, 221), Red);
    // Restored afterwards: the window is back and the application is not minimised.
    EXPECT_FALSE(app.IsMinimized());
    EXPECT_TRUE(IsWindowVisible(own.Handle()));
}

TEST_F(CaptureEngine, HiddenWindowStaysHiddenAndAMinimisedApplicationEndsRestored) {
    auto& app = win::Application();
    ColourWindow hidden({10, 10, 50, 50}, {}, Magenta, app.Handle());
    ShowWindow(hidden.Handle(), SW_HIDE);
    app.Minimize();
    ASSERT_TRUE(app.IsMinimized());
    engine.Minimize = true;
    ASSERT_TRUE(engine.CaptureDesktop());
    EXPECT_FALSE(app.IsMinimized());
    EXPECT_FALSE(IsWindowVisible(hidden.Handle()));
}

TEST_F(CaptureEngine, ActiveWindowIsTheForegroundWindowWithItsFrame) {
    ColourWindow pattern(ScreenRect(), KnownBlocks(), Grey);
    ColourWindow active({500, 150, 620, 230}, {{{0, 0, 10, 10}, Teal}}, Navy);
    SetForegroundWindow(active.Handle());
    ASSERT_TRUE(testsupport::WaitFor([&] { return GetForegroundWindow() == active.Handle(); }, 5000,
                                     "the window in front"));
    auto image = engine.CaptureActiveWindow();
    ASSERT_TRUE(image);
    EXPECT_EQ(image->Width(), 120);
    EXPECT_EQ(image->Height(), 80);
    EXPECT_EQ(PixelOf(image->Bitmap(), 5, 5), Teal);
    EXPECT_EQ(PixelOf(image->Bitmap(), 119, 79), Navy);
}

TEST_F(CaptureEngine, AutoPutsTheImageOnTheClipboardAndOnCaptureSeesTheEngine) {
    SetClipboardText(L"before");
    engine.Auto = true;
    TOskScreenCapture* sender = nullptr;
    int calls = 0;
    engine.OnCapture = [&](TOskScreenCapture* s) {
        sender = s;
        ++calls;
        // The image is already on the clipboard when the callback runs.
        EXPECT_EQ(ClipboardBitmapSize().cx, GetSystemMetrics(SM_CXSCREEN));
    };
    auto image = engine.CaptureDesktop();
    ASSERT_TRUE(image);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(sender, &engine);
    SIZE onClipboard = ClipboardBitmapSize();
    EXPECT_EQ(onClipboard.cx, image->Width());
    EXPECT_EQ(onClipboard.cy, image->Height());
    // Beside it, 24-bit pixels, bottom row first: no fourth byte to be taken as transparency.
    ASSERT_TRUE(testsupport::OpenClipboardWaiting());
    if (auto* dib = static_cast<const BITMAPINFOHEADER*>(GlobalLock(GetClipboardData(CF_DIB)))) {
        EXPECT_EQ(dib->biBitCount, 24);
        EXPECT_EQ(dib->biHeight, image->Height());
        const auto* top = reinterpret_cast<const BYTE*>(dib + 1) +
                          (dib->biWidth * 3 + 3) / 4 * 4 * (dib->biHeight - 1);
        EXPECT_EQ(RGB(top[2], top[1], top[0]), PixelOf(image->Bitmap(), 0, 0));
        GlobalUnlock(GetClipboardData(CF_DIB));
    } else {
        ADD_FAILURE() << "no CF_DIB on the clipboard";
    }
    CloseClipboard();
    EXPECT_EQ(engine.Version(), L"TOskScreenCapture v1.0");
    engine.SetVersion(L"something else");
    EXPECT_EQ(engine.Version(), L"TOskScreenCapture v1.0");
    // The engine keeps a copy of the image while the clipboard offers it as "PNG"; a new
    // clipboard content lets it go.
    SetClipboardText(L"after");
}

TEST_F(CaptureEngine, ClipboardHeldByAnotherWindowFailsAndStillRestores) {
    engine.Auto = true;
    engine.Minimize = true;
    ColourWindow holder({0, 0, 10, 10}, {}, Grey);
    ASSERT_TRUE(OpenClipboard(holder.Handle()));
    EXPECT_THROW(engine.CaptureDesktop(), win::Error);
    CloseClipboard();
    EXPECT_FALSE(win::Application().IsMinimized());
    EXPECT_FALSE(engine.Capturing());
}

TEST_F(CaptureEngine, AClipboardHeldForAMomentIsWaitedForWhileItsPngIsRendered) {
    engine.Auto = true;
    ASSERT_TRUE(engine.CaptureDesktop());  // the clipboard offers our PNG
    HANDLE held = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::atomic<bool> rendered{false}, done{false};
    // Another thread holds the clipboard for 300 ms and reads the PNG, as clipboard history may
    // after a change; the hold is the fault played here, and nothing shows its end but the time.
    std::thread holder([&] {
        const BOOL opened = OpenClipboard(nullptr);
        SetEvent(held);
        rendered = GetClipboardData(RegisterClipboardFormatW(L"PNG")) != nullptr;
        Sleep(300);
        if (opened) CloseClipboard();
        done = true;
    });
    WaitForSingleObject(held, 5000);
    CloseHandle(held);
    std::unique_ptr<TPicture> image;
    EXPECT_NO_THROW(image = engine.CaptureDesktop());
    EXPECT_TRUE(testsupport::WaitFor([&] { return done.load(); }, 5000, "the holder done"));
    holder.join();
    EXPECT_TRUE(rendered);
    ASSERT_TRUE(image);
    EXPECT_EQ(ClipboardBitmapSize().cx, image->Width());
}

TEST(CaptureBmpFile, SavedCaptureLoadsBackPixelForPixel) {
    ColourWindow pattern(ScreenRect(), KnownBlocks(), Grey);
    TOskScreenCapture engine;
    engine.Delay = 30;
    engine.Minimize = false;
    engine.Auto = false;
    auto image = engine.CaptureDesktop();
    ASSERT_TRUE(image);
    std::wstring path = TempPath(L"ts-capture-roundtrip.bmp");
    SaveBitmapFile(path, image->Bitmap(), image->Palette());
    HBITMAP loaded = static_cast<HBITMAP>(LoadImageW(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0,
                                                     LR_LOADFROMFILE | LR_CREATEDIBSECTION));
    ASSERT_NE(loaded, nullptr);
    gdi::Bitmap owner(loaded);
    int w1, h1, w2, h2;
    auto want = Pixels(image->Bitmap(), w1, h1);
    auto got = Pixels(loaded, w2, h2);
    EXPECT_EQ(w1, w2);
    EXPECT_EQ(h1, h2);
    EXPECT_TRUE(want == got);
    DeleteFileW(path.c_str());
}

TEST(CaptureBmpFile, SixteenBitImageKeepsItsDepthAndMasks) {
    // A 5-6-5 bitmap with a width that needs row padding.
    struct {
        BITMAPINFOHEADER h;
        DWORD masks[3];
    } bi{};
    bi.h.biSize = sizeof(BITMAPINFOHEADER);
    bi.h.biWidth = 3;
    bi.h.biHeight = 2;
    bi.h.biPlanes = 1;
    bi.h.biBitCount = 16;
    bi.h.biCompression = BI_BITFIELDS;
    bi.masks[0] = 0xF800;
    bi.masks[1] = 0x07E0;
    bi.masks[2] = 0x001F;
    void* bits = nullptr;
    gdi::Bitmap dib(CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&bi), DIB_RGB_COLORS,
                                     &bits, nullptr, 0));
    ASSERT_TRUE(dib);
    // Full or empty channels only: the platform's loader may narrow 5-6-5 to 5-5-5.
    const WORD rows[2][4] = {{0xF800, 0x07E0, 0x001F, 0}, {0xFFFF, 0x0000, 0xF81F, 0}};
    memcpy(bits, rows, sizeof rows);
    std::wstring path = TempPath(L"ts-capture-565.bmp");
    SaveBitmapFile(path, dib.Get(), nullptr);
    const std::string file = FileBytes(path);
    ASSERT_EQ(file.size(), 14u + 40u + 12u + 16u);
    EXPECT_EQ(file[28], 16);
    EXPECT_EQ(file[30], 3);  // bit fields
    EXPECT_EQ(memcmp(file.data() + 66, rows, 16), 0);

    gdi::Bitmap loaded(static_cast<HBITMAP>(LoadImageW(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0,
                                                       LR_LOADFROMFILE | LR_CREATEDIBSECTION)));
    ASSERT_TRUE(loaded);
    int w1, h1, w2, h2;
    EXPECT_TRUE(Pixels(dib.Get(), w1, h1) == Pixels(loaded.Get(), w2, h2));
    DeleteFileW(path.c_str());
}

TEST(CaptureBmpFile, EmptyBitmapMakesAnEmptyFile) {
    std::wstring path = TempPath(L"ts-capture-empty.bmp");
    WriteBytes(path, "previous contents");
    SaveBitmapFile(path, nullptr, nullptr);
    EXPECT_EQ(GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES, true);
    EXPECT_EQ(FileBytes(path), "");
    DeleteFileW(path.c_str());
}

namespace {
int FilesIn(const std::wstring& folder) {
    WIN32_FIND_DATAW fd;
    int files = 0;
    HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &fd);
    if (find == INVALID_HANDLE_VALUE) return -1;
    do {
        if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) ++files;
    } while (FindNextFileW(find, &fd));
    FindClose(find);
    return files;
}
}  // namespace

TEST(CaptureBmpFile, FailedWriteLeavesTheExistingFileAndNoLitter) {
    std::wstring folder = TempPath(L"ts-capture-fail");
    CreateDirectoryW(folder.c_str(), nullptr);
    std::wstring path = folder + L"\\kept.bmp";
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    WriteBytes(path, "keep me");

    // Held open by another program without sharing.
    HANDLE held = CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    try {
        WriteFileReplacing(path, {'B', 'M', 1, 2, 3});
        ADD_FAILURE() << "a file in use was replaced";
    } catch (const win::Error& e) {
        EXPECT_NE(e.Text().find(L"Cannot create file"), std::wstring::npos);
        EXPECT_NE(e.Text().find(L"kept.bmp"), std::wstring::npos);
    }
    CloseHandle(held);
    EXPECT_EQ(FileBytes(path), "keep me");
    EXPECT_EQ(FilesIn(folder), 1);  // no temporary file left behind

    // Read-only: the user protected it.
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_THROW(WriteFileReplacing(path, {'B', 'M'}), win::Error);
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(FileBytes(path), "keep me");
    EXPECT_EQ(FilesIn(folder), 1);

    // A bitmap that cannot be read, found out once the temporary file is made.
    HBITMAP gone = CreateBitmap(4, 4, 1, 32, nullptr);
    DeleteObject(gone);
    EXPECT_THROW(SaveBitmapFile(path, gone, nullptr), win::Error);
    EXPECT_EQ(FileBytes(path), "keep me");
    EXPECT_EQ(FilesIn(folder), 1);

    // A folder of that name, and a folder that does not exist.
    EXPECT_THROW(WriteFileReplacing(folder, {'B', 'M'}), win::Error);
    EXPECT_THROW(WriteFileReplacing(folder + L"\\no\\such\\folder\\x.bmp", {'B', 'M'}), win::Error);
    DeleteFileW(path.c_str());
    RemoveDirectoryW(folder.c_str());
}

TEST(CaptureBmpFile, ATargetHeldOpenForAMomentIsReplacedInAFolderPastMaxPath) {
    // Deeper than MAX_PATH: the temporary file's name must not need room below it.
    std::wstring folder = L"\\\\?\\" + TempPath(L"ts-capture-long");
    std::vector<std::wstring> made{folder};
    while (folder.size() < MAX_PATH + 20) {
        folder += L"\\" + std::wstring(40, L'd');
        made.push_back(folder);
    }
    for (const auto& f : made) CreateDirectoryW(f.c_str(), nullptr);
    const std::wstring path = folder + L"\\held.bmp";
    WriteBytes(path, "old");
    HANDLE open = CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(open, INVALID_HANDLE_VALUE);
    // A scanner holds it for 300 ms; nothing shows its end but the time.
    std::thread scanner([open] {
        Sleep(300);
        CloseHandle(open);
    });
    EXPECT_NO_THROW(WriteFileReplacing(path, {'n', 'e', 'w'}));
    scanner.join();
    EXPECT_EQ(FileBytes(path), "new");
    EXPECT_EQ(FilesIn(folder), 1);
    DeleteFileW(path.c_str());
    for (auto f = made.rbegin(); f != made.rend(); ++f) RemoveDirectoryW(f->c_str());
}

// An old file replaced by "new" through a replace call that fails as given: the new file ends in
// its place, and nothing else is left in the folder.
static void ExpectReplacedDespite(const ReplaceFileCall& replace) {
    std::wstring folder = TempPath(L"ts-capture-replace");
    CreateDirectoryW(folder.c_str(), nullptr);
    std::wstring path = folder + L"\\picture.bmp";
    WriteBytes(path, "old");
    auto produce = [](const ByteSink& sink) {
        sink(reinterpret_cast<const std::uint8_t*>("new"), 3);
    };
    EXPECT_NO_THROW(WriteFileReplacingFrom(path, produce, replace));
    EXPECT_EQ(FileBytes(path), "new");
    EXPECT_EQ(FilesIn(folder), 1);
    DeleteFileW(path.c_str());
    RemoveDirectoryW(folder.c_str());
}

TEST(CaptureBmpFile, AReplaceRefusedAsAccessDeniedEndsWithAPlainRename) {
    // As some network shares answer the replace call, however often it is tried.
    ExpectReplacedDespite([](const wchar_t*, const wchar_t*, const wchar_t*) -> BOOL {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    });
}

TEST(CaptureBmpFile, AReplaceThatMovedTheOldFileAsideEndsWithTheNewOne) {
    // As the platform documents ERROR_UNABLE_TO_MOVE_REPLACEMENT_2: the old file moved to the
    // backup's name, the new one left under its own.
    ExpectReplacedDespite(
        [](const wchar_t* replaced, const wchar_t*, const wchar_t* backup) -> BOOL {
            MoveFileExW(replaced, backup, 0);
            SetLastError(ERROR_UNABLE_TO_MOVE_REPLACEMENT_2);
            return FALSE;
        });
}
