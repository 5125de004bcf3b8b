// The settings file through the platform's profile-string functions on real files.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "settings/ProfileFileWin32.h"
#include "win/ErrorReport.h"
#include "win/Handle.h"
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
    // A temporary file of a save, beside the settings file.
    bool TempBeside() const {
        WIN32_FIND_DATAW found;
        HANDLE find = FindFirstFileW((folder_ + L"\\~*.tmp").c_str(), &found);
        return find != INVALID_HANDLE_VALUE && FindClose(find);
    }
    void GetTimes(FILETIME& written) const {
        WIN32_FILE_ATTRIBUTE_DATA data{};
        ASSERT_TRUE(GetFileAttributesExW(path_.c_str(), GetFileExInfoStandard, &data));
        written = data.ftLastWriteTime;
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
    EXPECT_EQ(Bytes(), "<missing>") << "nothing on the disk before the commit";
    ini.Commit();
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
        ini.Commit();
        FAIL() << "the write to a read-only file succeeded";
    } catch (const win::Error& e) {
        EXPECT_EQ(e.Text(), L"Unable to write to " + path_);
    }
    files_.Flush(path_);
    EXPECT_EQ(Bytes(), "[TTintsnatch4]\r\nFormVersion=0\r\n");
}

TEST_F(SettingsProfileFile, ReadsEveryValueAsThePlatformsReaderDoes) {
    // The forms people and other programs leave in the file.
    WriteBytes(
        "junk\r\n  [ TTintsnatch4 ]  words\r\n  Zoom  =  v 1  \r\nZOOM=second\r\n"
        "q=\"\"RGB\"\"\r\ninner= \" y \" \r\nlone=\"\r\nsingle='x'\rcafe=caf\xE9\r\n"
        "eq=a=b\r\nnoeq\r\n;c=comment\r\n\tTab\t=\tt\t\r\n[Other]\r\nZoom=other\r\n"
        "[tTINTSNATCH4]\r\nlater=1\r\nlast=no line end");
    settings::IniFile ini(files_, path_, L"TTintsnatch4");
    for (const wchar_t* section : {L"TTintsnatch4", L"Other", L"Absent"})
        for (const wchar_t* key : {L"zoom", L"q", L"inner", L"lone", L"single", L"cafe", L"eq",
                                   L"noeq", L";c", L"tab", L"later", L"last", L"absent"}) {
            wchar_t platform[256];
            GetPrivateProfileStringW(section, key, L"<default>", platform, 256, path_.c_str());
            EXPECT_EQ(files_.ReadString(path_, section, key, L"<default>"), platform)
                << section << " " << key;
        }
}

TEST_F(SettingsProfileFile, TextOutsideTheCodePageReadsBackAsItWasAndTheRestStaysPlain) {
    const std::wstring folder =
        L"C:\\Users\\Ann\\\u0421\u043d\u0438\u043c\u043a\u0438 \u622a\u56fe";
    const std::wstring custom = L"caf\u00e9 \u2713 \u65e5\u672c \U0001F600 {HEX}";
    {
        settings::IniFile ini(files_, path_, L"TTintsnatch4");
        ini.WriteString(L"edSaveFolder_Text", folder);
        ini.WriteString(L"edCustomFormat_Text", custom);
        ini.WriteString(L"edFileName_Text", L"caf\u00e9 {date}");
        ini.Commit();
    }
    settings::Win32ProfileFile other;
    settings::IniFile ini(other, path_, L"TTintsnatch4");
    EXPECT_EQ(ini.ReadString(L"edSaveFolder_Text", L""), folder);
    EXPECT_EQ(ini.ReadString(L"edCustomFormat_Text", L""), custom);
    const std::string text = Bytes();
    EXPECT_NE(text.find("edFileName_Text=caf\xE9 {date}\r\n"), std::string::npos)
        << "in the code page, as before: " << text;
    EXPECT_NE(text.find("edSaveFolder_Text=\xEF\xBB\xBF"
                        "C:\\Users\\Ann\\\xD0\xA1"),
              std::string::npos)
        << text;
}

// What a crash or a power loss between writing and replacing would leave: the old file whole,
// the new one beside it; and a replace that fails leaves the old file and nothing else.
TEST_F(SettingsProfileFile, ASaveLeavesTheOldFileOrTheNewOneNeverAMix) {
    const std::string old = "[Other]\r\nkeep=me\r\n[TTintsnatch4]\r\nZoom=15\r\n";
    WriteBytes(old);
    const auto save = [&](bool replace) {
        settings::IniFile ini(files_, path_, L"TTintsnatch4");
        for (int i = 0; i < 50; ++i) ini.WriteInteger(L"Key" + std::to_wstring(i), i);
        ini.WriteInteger(L"Zoom", 30);
        int calls = 0;
        files_.OnBeforeReplace = [&] {
            ++calls;
            EXPECT_EQ(Bytes(), old) << "the old file is untouched until the last step";
            EXPECT_TRUE(TempBeside()) << "the new one written whole beside it";
            return replace;
        };
        if (replace)
            EXPECT_NO_THROW(ini.Commit());
        else
            EXPECT_THROW(ini.Commit(), win::Error);
        files_.OnBeforeReplace = {};
        EXPECT_EQ(calls, 1);
    };
    save(false);
    EXPECT_EQ(Bytes(), old);
    EXPECT_FALSE(TempBeside()) << "nothing left behind";
    save(true);
    EXPECT_FALSE(TempBeside());
    const std::string now = Bytes();
    EXPECT_EQ(now.find("[Other]\r\nkeep=me\r\n[TTintsnatch4]\r\nZoom=30\r\nKey0=0\r\n"), 0u) << now;

    // Nothing differs: nothing is written at all (the file keeps a time long past).
    const FILETIME past{0x3B9ACA00, 0x01C00000};
    {
        win::FileHandle f(CreateFileW(path_.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ,
                                      nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(f && SetFileTime(f.Get(), nullptr, nullptr, &past));
    }
    settings::IniFile same(files_, path_, L"TTintsnatch4");
    same.WriteInteger(L"Zoom", 30);
    same.Commit();
    FILETIME after{};
    GetTimes(after);
    EXPECT_EQ(CompareFileTime(&past, &after), 0);
}

}  // namespace
