// The settings file as the user's text and colours meet it: text beyond the ANSI code page, a
// hand-edited history line, a file held or deleted while the program runs, and settings that came
// read-only with the program.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "app/ControlIds.h"
#include "tests/e2e/Harness.h"
#include "tests/e2e/UnixTools.h"
// After the platform header, which it needs.
#include <shlobj.h>

using namespace e2e;

namespace {

std::wstring IniPath(const App& app) { return app.Folder() + L"\\Tintsnatch4.ini"; }

std::string ReadBytes(const std::wstring& path) {
    std::ifstream in(path.c_str(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteBytes(const std::wstring& path, const std::string& bytes) {
    std::ofstream(path.c_str(), std::ios::binary | std::ios::trunc) << bytes;
}

std::string ValueOf(const std::string& file, const std::string& key) {
    const std::size_t at = file.find("\n" + key + "=");
    if (at == std::string::npos) return "<missing>";
    const std::size_t from = at + key.size() + 2;
    return file.substr(from, file.find_first_of("\r\n", from) - from);
}

// The program's own message box, once its text is there; dismissed with OK.
bool DismissMessage(DWORD pid) {
    HWND box = nullptr;
    if (!WaitFor([&] { return (box = FindTopWindow(L"#32770", pid)) != nullptr; }, 8000,
                 "the program's message"))
        return false;
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    return WaitFor([&] { return !IsWindow(box); }, 5000, "the message gone");
}

class SettingsFile : public testing::Test {
  protected:
    PatternWindow pattern{{{{100, 100, 200, 200}, RGB(255, 0, 0)}}};
    App app;

    void CopyRed() {
        SetClipboardText(L"before");
        MoveCursor(150, 150);
        ASSERT_TRUE(WaitFor([&] { return app.Text(id::ColHex) == L"#FF0000"; }, 5000,
                            "ColHex showing \"#FF0000\""));
        PressKeys({VK_CONTROL, 'C'});
        ASSERT_TRUE(WaitFor([] { return ClipboardText() == L"255 0 0"; }, 5000, "the copy"));
    }
};

TEST_F(SettingsFile, TextBeyondTheCodePageComesBackAfterARestart) {
    const std::wstring folder =
        L"C:\\Users\\Ann\\\u0421\u043d\u0438\u043c\u043a\u0438 \u622a\u56fe";
    const std::wstring custom = L"caf\u00e9 \u2713 \u65e5\u672c \U0001F600 {HEX}";
    const std::wstring name = L"\u5199\u771f {date}";
    ASSERT_TRUE(app.Start());
    SendMessageW(app.Control(id::edSaveFolder), WM_SETTEXT, 0, LPARAM(folder.c_str()));
    SendMessageW(app.Control(id::edCustomFormat), WM_SETTEXT, 0, LPARAM(custom.c_str()));
    SendMessageW(app.Control(id::edFileName), WM_SETTEXT, 0, LPARAM(name.c_str()));
    ASSERT_TRUE(app.Close());

    ASSERT_TRUE(app.Start());
    EXPECT_EQ(app.Text(id::edSaveFolder), folder);
    EXPECT_EQ(app.Text(id::edCustomFormat), custom);
    EXPECT_EQ(app.Text(id::edFileName), name);
    ASSERT_TRUE(app.Close());
}

TEST_F(SettingsFile, LongAndNulHistoryLinesKeepEveryGoodEntry) {
    // 9,980 broken items, one with a NUL in it, then the good ones, the last pinned.
    std::string line = "Colors=";
    for (int i = 0; i < 9980; ++i) line += "ZZZZZZ,";
    line += std::string(
                "11\0"
                "1111,",
                8) +
            "0A0B0C,123456*";
    WriteBytes(IniPath(app), "[TTintsnatch4.History]\r\n" + line + "\r\n");
    ASSERT_TRUE(app.Start());
    CopyRed();
    ASSERT_TRUE(app.Close());
    EXPECT_EQ(ValueOf(ReadBytes(IniPath(app)), "Colors"), "FF0000,0A0B0C,123456*");
}

TEST_F(SettingsFile, ColoursCopiedWhileTheFileWasHeldOrGoneAreSavedAtExit) {
    WriteBytes(IniPath(app), "[TTintsnatch4.History]\r\nColors=0A0B0C\r\n");
    ASSERT_TRUE(app.Start());
    {
        // Another program holds the file, letting others read it only.
        HANDLE held = CreateFileW(IniPath(app).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(held, INVALID_HANDLE_VALUE);
        CopyRed();
        EXPECT_TRUE(DismissMessage(app.ProcessId())) << "Unable to write to ...";
        CloseHandle(held);
    }
    EXPECT_EQ(ValueOf(ReadBytes(IniPath(app)), "Colors"), "0A0B0C");
    ASSERT_TRUE(DeleteFileW(IniPath(app).c_str()));
    ASSERT_TRUE(app.Close());
    const std::string file = ReadBytes(IniPath(app));
    EXPECT_EQ(ValueOf(file, "Colors"), "FF0000,0A0B0C");
    EXPECT_EQ(ValueOf(file, "FormVersion"), "0");
}

// Settings that came with the program, read-only, in a folder this user cannot write: the
// user's copy is writable, and a deleted copy is made again with its folder.
TEST_F(SettingsFile, ReadOnlySettingsFromTheProgramsFolderBecomeTheUsersWritableCopy) {
    wchar_t* appData = nullptr;
    ASSERT_TRUE(SUCCEEDED(SHGetKnownFolderPath(FOLDERID_RoamingAppData, 0, nullptr, &appData)));
    const std::wstring own = std::wstring(appData) + L"\\Tintsnatch4";
    const std::wstring moved = own + L"\\Tintsnatch4.ini";
    CoTaskMemFree(appData);
    DeleteFileW(moved.c_str());
    RemoveDirectoryW(own.c_str());
    WriteBytes(IniPath(app), "[TTintsnatch4]\r\nZoomSlider_Position=40\r\n");
    ASSERT_TRUE(SetFileAttributesW(IniPath(app).c_str(), FILE_ATTRIBUTE_READONLY));
    // Root under Wine writes anything the Linux side lets it: immutable refuses even root.
    const std::string folder = unixtools::UnixPath(app.Folder());
    if (unixtools::RunShell("chattr +i '" + folder + "/Tintsnatch4.ini' '" + folder + "'") != 0)
        GTEST_SKIP() << "the file system cannot make a file immutable";
    struct Writable {
        std::string f;
        ~Writable() { unixtools::RunShell("chattr -i '" + f + "' '" + f + "/Tintsnatch4.ini'"); }
    } writable{folder};

    ASSERT_TRUE(app.Launch());
    EXPECT_TRUE(DismissMessage(app.ProcessId())) << "where the settings are kept now";
    ASSERT_TRUE(app.WaitForWindow());
    EXPECT_EQ(app.Text(id::lblZoomFactor), L"40") << "the program's settings, copied";
    EXPECT_EQ(app.Text(id::SettingsPath), moved);
    EXPECT_FALSE(GetFileAttributesW(moved.c_str()) & FILE_ATTRIBUTE_READONLY);
    PressKeys({VK_ADD});
    ASSERT_TRUE(WaitFor([&] { return app.Text(id::lblZoomFactor) == L"41"; }, 5000,
                        "lblZoomFactor showing \"41\""));
    ASSERT_TRUE(DeleteFileW(moved.c_str()));
    ASSERT_TRUE(RemoveDirectoryW(own.c_str()));
    ASSERT_TRUE(app.Close()) << "no error at the exit";
    EXPECT_EQ(ValueOf(ReadBytes(moved), "ZoomSlider_Position"), "41");
    DeleteFileW(moved.c_str());
}

}  // namespace
