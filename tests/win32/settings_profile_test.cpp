// The settings file through the platform's profile-string functions on real files.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "settings/ProfileFileWin32.h"
#include "win/ErrorReport.h"
#include "win/Platform.h"

namespace {

class SettingsProfileFile : public testing::Test {
  protected:
    void SetUp() override {
        wchar_t tmp[MAX_PATH];
        ASSERT_NE(GetTempPathW(MAX_PATH, tmp), 0u);
        // A folder name outside the ANSI code page: the wide functions must reach it.
        folder_ = std::wstring(tmp) + L"ts-settings-\u0416\u00e9\u4e2d-" +
                  std::to_wstring(GetCurrentProcessId());
        CreateDirectoryW(folder_.c_str(), nullptr);
        path_ = folder_ + L"\\Tintsnatch4.ini";
        SetFileAttributesW(path_.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(path_.c_str());
    }
    void TearDown() override {
        SetFileAttributesW(path_.c_str(), FILE_ATTRIBUTE_NORMAL);
        files_.Flush(path_);
        DeleteFileW(path_.c_str());
        RemoveDirectoryW(folder_.c_str());
    }
    std::string Bytes() const {
        HANDLE f = CreateFileW(path_.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                               nullptr, OPEN_EXISTING, 0, nullptr);
        if (f == INVALID_HANDLE_VALUE) return "<missing>";
        std::string s(1 << 16, '\0');
        DWORD got = 0;
        ReadFile(f, s.data(), static_cast<DWORD>(s.size()), &got, nullptr);
        CloseHandle(f);
        s.resize(got);
        return s;
    }
    void WriteBytes(const std::string& bytes) {
        HANDLE f = CreateFileW(path_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ASSERT_NE(f, INVALID_HANDLE_VALUE);
        DWORD n = 0;
        WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &n, nullptr);
        CloseHandle(f);
        files_.Flush(path_);
    }
    std::wstring folder_, path_;
    settings::Win32ProfileFile files_;
};

TEST_F(SettingsProfileFile, WritesPlainTextInFirstWriteOrderAndRewritesInPlace) {
    settings::IniFile ini(files_, path_, L"TTintsnatch4");
    ini.WriteInteger(L"FormVersion", 0);
    ini.WriteString(L"NormPos", L"426,335,598,433");
    ini.WriteString(L"cbCroshair_Checked", L"True");
    ini.WriteString(L"NormPos", L"1,2,3,4");
    files_.Flush(path_);
    std::string text = Bytes();
    EXPECT_EQ(text.find("\xEF\xBB\xBF"), std::string::npos) << "no byte-order mark";
    EXPECT_NE(text.find("[TTintsnatch4]"), std::string::npos) << text;
    size_t version = text.find("FormVersion=0"), pos = text.find("NormPos=1,2,3,4"),
           cross = text.find("cbCroshair_Checked=True");
    ASSERT_NE(version, std::string::npos) << text;
    ASSERT_NE(pos, std::string::npos) << text;
    ASSERT_NE(cross, std::string::npos) << text;
    EXPECT_LT(version, pos);
    EXPECT_LT(pos, cross);
    EXPECT_EQ(ini.ReadString(L"NormPos", L""), L"1,2,3,4");
}

TEST_F(SettingsProfileFile, ReadsBackQuotesBlanksAndLongValues) {
    WriteBytes(
        "[TTintsnatch4]\r\n"
        "quoted=\"\"RGB\"\"\r\n"
        "single='x'\r\n"
        "padded=   some text   \r\n"
        "hex=$1F\r\n"
        "long=" +
        std::string(3000, 'a') + "\r\n");
    settings::IniFile ini(files_, path_, L"TTintsnatch4");
    EXPECT_EQ(ini.ReadString(L"quoted", L"-"), L"\"RGB\"");
    EXPECT_EQ(ini.ReadString(L"single", L"-"), L"x");
    EXPECT_EQ(ini.ReadString(L"padded", L"-"), L"some text");
    EXPECT_EQ(ini.ReadInteger(L"hex", 7), 31);
    EXPECT_EQ(ini.ReadString(L"long", L""), std::wstring(2047, L'a'));
    EXPECT_EQ(ini.ReadString(L"absent", L"default"), L"default");
}

TEST_F(SettingsProfileFile, BrokenFileStillGivesItsGoodKeysAndDefaults) {
    static const char broken[] =
        "junk line without equals\r\n\x01\x02\xff\xfe\x00zz\r\n"
        "=no key\r\n[TTintsnatch4\r\n"
        "[TTintsnatch4]\r\nZoomSlider_Position=42\r\n"
        "\xff\xfe\xfd=\x80\x81\r\nbad\x00key=1\r\n"
        "rgCapture_ItemIndex=1\r\n";
    WriteBytes(std::string(broken, sizeof broken - 1));
    settings::IniFile ini(files_, path_, L"TTintsnatch4");
    EXPECT_EQ(ini.ReadInteger(L"ZoomSlider_Position", 0), 42);
    EXPECT_EQ(ini.ReadInteger(L"cbGrabIfMin_Checked", -5), -5);
    EXPECT_EQ(ini.ReadString(L"Missing", L"d"), L"d");
}

TEST_F(SettingsProfileFile, NoSectionGivesDefaults) {
    WriteBytes("FormVersion=5\r\nZoomSlider_Position=42\r\n");
    settings::IniFile ini(files_, path_, L"TTintsnatch4");
    EXPECT_EQ(ini.ReadInteger(L"ZoomSlider_Position", 15), 15);
}

TEST_F(SettingsProfileFile, UnwritableFileFailsTheWriteAndKeepsItsContent) {
    WriteBytes("[TTintsnatch4]\r\nFormVersion=0\r\n");
    ASSERT_TRUE(SetFileAttributesW(path_.c_str(), FILE_ATTRIBUTE_READONLY));
    // Wine running as root writes read-only files all the same; a handle that denies writing to
    // others makes the file unwritable there too.
    HANDLE lock = CreateFileW(path_.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    struct Unlock {
        HANDLE h;
        ~Unlock() { CloseHandle(h); }
    } unlock{lock};
    settings::IniFile ini(files_, path_, L"TTintsnatch4");
    EXPECT_EQ(ini.ReadInteger(L"FormVersion", 7), 0) << "reading still works";
    try {
        ini.WriteString(L"Visible", L"0");
        FAIL() << "the write to a read-only file succeeded";
    } catch (const win::Error& e) {
        EXPECT_EQ(e.Text(), L"Unable to write to " + path_);
    }
    files_.Flush(path_);
    EXPECT_EQ(Bytes(), "[TTintsnatch4]\r\nFormVersion=0\r\n");
}

}  // namespace
