// Settings file, start-up registration and the single-instance rule, seen from outside: the
// file on disk, the registry, windows and message boxes of the running program.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "app/ControlIds.h"
#include "tests/e2e/Harness.h"
#include "tests/e2e/UnixTools.h"
// After the platform header, which they need.
#include <sddl.h>
#include <shlobj.h>

using namespace e2e;

namespace {

const wchar_t* const RunKey = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
const wchar_t* const ApprovedKey =
    L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\Run";

std::wstring IniPath(const App& app) { return app.Folder() + L"\\Tintsnatch4.ini"; }

std::string ReadBytes(const std::wstring& path) {
    HANDLE f = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) return {};
    std::string s(1 << 16, '\0');
    DWORD got = 0;
    ReadFile(f, s.data(), static_cast<DWORD>(s.size()), &got, nullptr);
    CloseHandle(f);
    s.resize(got);
    return s;
}

void WriteBytes(const std::wstring& path, const std::string& bytes) {
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(f, INVALID_HANDLE_VALUE);
    DWORD n = 0;
    WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &n, nullptr);
    CloseHandle(f);
}

struct Line {
    std::string key, value;
};

std::vector<Line> Lines(const std::string& text) {
    std::vector<Line> out;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        size_t eq = line.find('=');
        if (eq == std::string::npos)
            out.push_back({line, ""});
        else
            out.push_back({line.substr(0, eq), line.substr(eq + 1)});
        start = end + 1;
    }
    return out;
}

std::string Narrow(const std::wstring& w) { return std::string(w.begin(), w.end()); }

std::wstring MessageText(HWND box) {
    std::wstring text;
    EnumChildWindows(
        box,
        [](HWND h, LPARAM lp) -> BOOL {
            wchar_t cls[32] = {};
            GetClassNameW(h, cls, 32);
            if (_wcsicmp(cls, L"Static") == 0)
                *reinterpret_cast<std::wstring*>(lp) += WindowTextOf(h);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&text));
    return text;
}

// The program's message box: a dialog window of its process, once its text is in place (the
// dialog exists a moment before its controls do).
HWND FindMessageBox(DWORD pid, DWORD timeoutMs = 8000) {
    HWND found = nullptr;
    EXPECT_TRUE(WaitFor(
        [&] {
            found = FindTopWindow(L"#32770", pid);
            return found && !MessageText(found).empty();
        },
        timeoutMs, "the program's message"));
    return found;
}

void Dismiss(HWND box) {
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(box); }, 5000, "the message gone"));
}

// The same program started again, from the same folder.
struct SecondCopy {
    PROCESS_INFORMATION pi{};
    explicit SecondCopy(const App& first, const std::wstring& name = L"Tintsnatch4.exe") {
        STARTUPINFOW si{};
        si.cb = sizeof si;
        const std::wstring exe = first.Folder() + L"\\" + name;
        EXPECT_TRUE(exe == first.ExePath() || CopyFileW(first.ExePath().c_str(), exe.c_str(), 0));
        std::wstring cmd = L"\"" + exe + L"\"";
        EXPECT_TRUE(CreateProcessW(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                   first.Folder().c_str(), &si, &pi));
    }
    // Its exit code once it ended by itself, or STILL_ACTIVE (it is ended then).
    DWORD Ended() const {
        DWORD code = STILL_ACTIVE;
        if (WaitForSingleObject(pi.hProcess, 8000) == WAIT_OBJECT_0)
            GetExitCodeProcess(pi.hProcess, &code);
        else
            TerminateProcess(pi.hProcess, 1);
        CloseHandle(pi.hProcess);
        CloseHandle(pi.hThread);
        return code;
    }
};

bool RunValue(std::wstring* text, HKEY root = HKEY_LOCAL_MACHINE) {
    HKEY key;
    if (RegOpenKeyExW(root, RunKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return false;
    wchar_t buf[1024] = {};
    DWORD size = sizeof buf - sizeof(wchar_t), type = 0;
    bool ok = RegQueryValueExW(key, L"Tintsnatch4", nullptr, &type, reinterpret_cast<BYTE*>(buf),
                               &size) == ERROR_SUCCESS;
    RegCloseKey(key);
    if (ok && text) *text = buf;
    return ok;
}

void DeleteRunValue() {
    HKEY key;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, RunKey, 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
        RegDeleteValueW(key, L"Tintsnatch4");
        RegCloseKey(key);
    }
    RegDeleteKeyValueW(HKEY_CURRENT_USER, RunKey, L"Tintsnatch4");
    RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, ApprovedKey, L"Tintsnatch4");
}

// While it lives, everyone may only read (KEY_READ) the Run key under root, as Windows with user
// account control lets an ordinary start have the machine-wide one. The old access list goes back
// through a handle opened for that first, whatever the new list allows.
class ReadOnlyRunKey {
  public:
    explicit ReadOnlyRunKey(HKEY root) {
        RegCreateKeyExW(root, RunKey, 0, nullptr, 0, READ_CONTROL | WRITE_DAC, nullptr, &key_,
                        nullptr);
        DWORD size = sizeof old_;
        EXPECT_EQ(RegGetKeySecurity(key_, DACL_SECURITY_INFORMATION, old_, &size), ERROR_SUCCESS);
        PSECURITY_DESCRIPTOR readOnly = nullptr;
        ConvertStringSecurityDescriptorToSecurityDescriptorW(L"D:P(A;;KR;;;WD)", SDDL_REVISION_1,
                                                             &readOnly, nullptr);
        EXPECT_EQ(RegSetKeySecurity(key_, DACL_SECURITY_INFORMATION, readOnly), ERROR_SUCCESS);
        LocalFree(readOnly);
    }
    ~ReadOnlyRunKey() {
        RegSetKeySecurity(key_, DACL_SECURITY_INFORMATION, old_);
        RegCloseKey(key_);
    }

  private:
    HKEY key_ = nullptr;
    alignas(void*) BYTE old_[4096] = {};
};

int TabSelection(const App& app) {
    return static_cast<int>(SendMessageW(app.Control(id::Properties), TCM_GETCURSEL, 0, 0));
}

bool Checked(const App& app, int control) {
    return SendMessageW(app.Control(control), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

int TrackPos(const App& app, int control) {
    return static_cast<int>(SendMessageW(app.Control(control), TBM_GETPOS, 0, 0));
}

// The hotkey edit's own word: key in the low byte, HOTKEYF_* flags in the high byte.
WORD EditKey(const App& app, int control) {
    return static_cast<WORD>(SendMessageW(app.Control(control), HKM_GETHOTKEY, 0, 0));
}

// Whether a combination is free, as any program can find out: try to register it.
bool KeyIsFree(UINT mods, UINT vk) {
    if (!RegisterHotKey(nullptr, 0x7F01, mods | MOD_NOREPEAT, vk)) return false;
    UnregisterHotKey(nullptr, 0x7F01);
    return true;
}

std::string ValueOf(const std::vector<Line>& lines, const std::string& key) {
    for (const Line& l : lines)
        if (l.key == key) return l.value;
    return "<missing>";
}

// Moves the cursor and makes sure it got there. A process that has no window yet cannot move
// the cursor under Wine (its display driver is not loaded), so a hidden window comes first.
void PlaceCursor(int x, int y) {
    static HWND anchor = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                         GetModuleHandleW(nullptr), nullptr);
    (void)anchor;
    ASSERT_TRUE(WaitFor(
        [&] {
            MoveCursor(x, y);
            POINT p{};
            GetCursorPos(&p);
            return p.x == x && p.y == y;
        },
        5000, "the cursor at its place"));
}

class SettingsE2E : public testing::Test {
  protected:
    void SetUp() override { PlaceCursor(600, 500); }
    void TearDown() override { DeleteRunValue(); }
};

TEST_F(SettingsE2E, FirstCloseWritesPlacementThenTheStoredValuesInOrder) {
    App app;
    DeleteFileW(IniPath(app).c_str());
    ASSERT_TRUE(app.Start());
    ASSERT_TRUE(WaitFor([&] { return app.WindowRect().left == 620 && app.WindowRect().top == 520; },
                        5000, "the window beside the cursor"));
    RECT r = app.WindowRect();
    ASSERT_TRUE(app.Close());

    std::vector<Line> lines = Lines(ReadBytes(IniPath(app)));
    ASSERT_GE(lines.size(), 10u) << ReadBytes(IniPath(app));
    int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    std::string suffix = std::string("(") + std::to_string(w) + "x" + std::to_string(h) + ")";
    std::string norm = std::to_string(r.left) + "," + std::to_string(r.top) + "," +
                       std::to_string(r.right) + "," + std::to_string(r.bottom);
    std::vector<std::string> head = {"[TTintsnatch4]", "FormVersion",      "Flags",
                                     "ShowCmd",        "PixelsPerInch",    "MinMaxPos" + suffix,
                                     "MinMaxPos",      "NormPos" + suffix, "NormPos",
                                     "Visible"};
    for (size_t i = 0; i < head.size(); ++i) EXPECT_EQ(lines[i].key, head[i]) << i;
    EXPECT_EQ(lines[1].value, "0");
    EXPECT_EQ(lines[3].value, "1");
    EXPECT_EQ(lines[5].value.substr(lines[5].value.rfind(',') - 2), "-1,-1")
        << "maximised position: the negated one-pixel border";
    EXPECT_EQ(lines[7].value, norm);
    EXPECT_EQ(lines[8].value, norm);
    EXPECT_EQ(lines[9].value, "0") << "saved at closing, not at destruction";

    // The fourteen stored values follow in list order, each with its first-start value, then
    // the capture's own and the colours' own under keys of their own; the preview still holds its
    // design text, as the Clipboard page was never opened.
    const std::vector<std::pair<std::string, std::string>> stored = {
        {"cbGrabIfMin_Checked", "False"},
        {"cbStartUp_Checked", "False"},
        {"Properties_ActivePage", "tsZoom"},
        {"ZoomSlider_Position", "15"},
        {"hkCapture_HotKey", "120"},
        {"hkExit_HotKey", "121"},
        {"hkFixedFollow_HotKey", "118"},
        {"hkShowHide_HotKey", "117"},
        {"rgCapture_ItemIndex", "0"},
        {"rgCaptureArea_ItemIndex", "6"},
        {"rgClipboard_ItemIndex", "0"},
        {"colFmtPreview_Caption", "------"},
        {"CroshairSize_Position", "30"},
        {"cbCroshair_Checked", "True"},
        {"edSaveFolder_Text", ""},
        {"edFileName_Text", "Capture {date} {time}"},
        {"udDelay_Position", "0"},
        {"cbIncludeCursor_Checked", "False"},
        {"cbLastRegion_Checked", "False"},
        {"OskScreenCapture1_LastRegion", ""},
        {"cbSample_ItemIndex", "0"},
        {"edCustomFormat_Text", "rgb({red}, {green}, {blue})"},
        {"hkPick_HotKey", "119"}};
    ASSERT_EQ(lines.size(), head.size() + stored.size()) << ReadBytes(IniPath(app));
    for (size_t i = 0; i < stored.size(); ++i) {
        EXPECT_EQ(lines[head.size() + i].key, stored[i].first) << i;
        EXPECT_EQ(lines[head.size() + i].value, stored[i].second) << stored[i].first;
    }
}

TEST_F(SettingsE2E, HandEditedFileIsAppliedAtTheNextStartAndHandAddedLinesStay) {
    App app;
    WriteBytes(IniPath(app),
               "[TTintsnatch4]\r\n"
               "; my own notes\r\n"
               "MyNote=keep me\r\n"
               "NormPos=200,150,0,0\r\n"
               "cbGrabIfMin_Checked=true\r\n"
               "Properties_ActivePage=Keys\r\n"
               "ZoomSlider_Position=500\r\n"
               "hkCapture_HotKey=16504\r\n"
               "hkExit_HotKey=32889\r\n"
               "hkFixedFollow_HotKey=16502\r\n"
               "hkShowHide_HotKey=0x4075\r\n"
               "rgCapture_ItemIndex=1\r\n"
               "rgCaptureArea_ItemIndex=2\r\n"
               "rgClipboard_ItemIndex=3\r\n"
               "colFmtPreview_Caption=  kept preview  \r\n"
               "CroshairSize_Position=3\r\n"
               "cbCroshair_Checked=TRUE\r\n");
    // Inside the restored window, so the window opens its options view and stays put.
    PlaceCursor(250, 200);
    ASSERT_TRUE(app.Start());
    ASSERT_TRUE(WaitFor([&] { return app.WindowSize().cx == 300; }, 5000, "the window 300 wide"));
    RECT r = app.WindowRect();
    EXPECT_EQ(r.left, 200);
    EXPECT_EQ(r.top, 150);
    EXPECT_EQ(TabSelection(app), 3);
    EXPECT_TRUE(app.Visible(id::Keys)) << "the Keys page is the one shown";
    EXPECT_FALSE(app.Visible(id::tsZoom));

    // Sliders clamp, and their change handlers ran for the new positions.
    EXPECT_EQ(TrackPos(app, id::ZoomSlider), 100);
    EXPECT_EQ(app.Text(id::lblZoomFactor), L"100");
    EXPECT_EQ(TrackPos(app, id::CroshairSize), 5);
    EXPECT_EQ(app.Text(id::Label9), L"5");
    EXPECT_TRUE(Checked(app, id::cbCroshair));
    EXPECT_TRUE(IsWindowEnabled(app.Control(id::CroshairSize)));
    EXPECT_TRUE(Checked(app, id::cbGrabIfMin));
    // Desktop mode: the area choice is kept but greyed out, as rgCaptureClick leaves it.
    EXPECT_TRUE(Checked(app, id::rgCaptureItem0 + 1));
    EXPECT_TRUE(Checked(app, id::rgCaptureAreaItem0 + 2));
    EXPECT_FALSE(IsWindowEnabled(app.Control(id::rgCaptureAreaItem0 + 2)));
    // The format's click handler rewrote the preview first; the stored caption came after it.
    EXPECT_TRUE(Checked(app, id::rgClipboardItem0 + 3));
    EXPECT_EQ(app.Text(id::colFmtPreview), L"kept preview");

    EXPECT_EQ(EditKey(app, id::hkCapture), MAKEWORD(VK_F9, HOTKEYF_CONTROL));
    EXPECT_EQ(EditKey(app, id::hkExit), MAKEWORD(VK_F10, HOTKEYF_ALT));
    EXPECT_EQ(EditKey(app, id::hkFixedFollow), MAKEWORD(VK_F7, HOTKEYF_CONTROL));
    EXPECT_EQ(EditKey(app, id::hkShowHide), MAKEWORD(VK_F6, HOTKEYF_CONTROL));
    // The global keys moved to the restored ones at the first show; the defaults are free.
    EXPECT_TRUE(WaitFor([] { return KeyIsFree(0, VK_F9); }, 5000, "F9 given back"))
        << "F9 reaches other programs";
    for (UINT vk : {VK_F6, VK_F7, VK_F10}) EXPECT_TRUE(KeyIsFree(0, vk)) << vk;
    EXPECT_FALSE(KeyIsFree(MOD_CONTROL, VK_F9));
    EXPECT_FALSE(KeyIsFree(MOD_ALT, VK_F10));
    EXPECT_FALSE(KeyIsFree(MOD_CONTROL, VK_F7));
    EXPECT_FALSE(KeyIsFree(MOD_CONTROL, VK_F6));

    MoveCursor(700, 600);
    PressKeys({VK_CONTROL, VK_F9});
    EXPECT_TRUE(
        WaitFor([&] { return app.Visible(id::CapturePanel); }, 5000, "the capture view shown"))
        << "Ctrl+F9 captures";
    ASSERT_TRUE(app.Close());

    // Hand-added lines stay where they were; changed values are written back in our own forms.
    std::vector<Line> lines = Lines(ReadBytes(IniPath(app)));
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines[1].key, "; my own notes");
    EXPECT_EQ(lines[2].key, "MyNote");
    EXPECT_EQ(lines[2].value, "keep me");
    EXPECT_EQ(ValueOf(lines, "cbGrabIfMin_Checked"), "True");
    EXPECT_EQ(ValueOf(lines, "Properties_ActivePage"), "Keys");
    EXPECT_EQ(ValueOf(lines, "ZoomSlider_Position"), "100");
    EXPECT_EQ(ValueOf(lines, "hkCapture_HotKey"), "16504");
    EXPECT_EQ(ValueOf(lines, "hkExit_HotKey"), "32889");
    EXPECT_EQ(ValueOf(lines, "hkFixedFollow_HotKey"), "16502");
    EXPECT_EQ(ValueOf(lines, "hkShowHide_HotKey"), "16501");
    EXPECT_EQ(ValueOf(lines, "rgCapture_ItemIndex"), "1");
    EXPECT_EQ(ValueOf(lines, "rgCaptureArea_ItemIndex"), "2");
    EXPECT_EQ(ValueOf(lines, "rgClipboard_ItemIndex"), "3");
    // A value that reads as the one in effect is not rewritten: the line stays as typed.
    EXPECT_EQ(ValueOf(lines, "colFmtPreview_Caption"), "  kept preview  ");
    EXPECT_EQ(ValueOf(lines, "CroshairSize_Position"), "5");
    EXPECT_EQ(ValueOf(lines, "cbCroshair_Checked"), "True");
}

TEST_F(SettingsE2E, ChangesSurviveHidingAndShowingAndAFileEditedMeanwhileWins) {
    DeleteRunValue();
    App app;
    WriteBytes(IniPath(app),
               "[TTintsnatch4]\r\ncbStartUp_Checked=False\r\nZoomSlider_Position=15\r\n");
    ASSERT_TRUE(app.Start());
    PressKeys({VK_ADD});
    PressKeys({VK_ADD});
    ASSERT_TRUE(WaitFor([&] { return app.Text(id::lblZoomFactor) == L"17"; }, 5000,
                        "lblZoomFactor showing \"17\""));
    SendMessageW(app.Control(id::cbStartUp), BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitFor([] { return RunValue(nullptr); }, 5000, "the Run value written"));

    ASSERT_TRUE(app.ShowHide(false));
    ASSERT_TRUE(app.ShowHide(true));
    EXPECT_EQ(app.Text(id::lblZoomFactor), L"17");
    EXPECT_TRUE(Checked(app, id::cbStartUp));
    EXPECT_TRUE(RunValue(nullptr)) << "the registration stays";

    // Every show still restores the file: an edit made while the window is hidden wins.
    ASSERT_TRUE(app.ShowHide(false));
    std::string text = ReadBytes(IniPath(app));
    size_t at = text.find("ZoomSlider_Position=17");
    ASSERT_NE(at, std::string::npos) << text;
    WriteBytes(IniPath(app), text.replace(at, 22, "ZoomSlider_Position=30"));
    ASSERT_TRUE(app.ShowHide(true));
    EXPECT_EQ(app.Text(id::lblZoomFactor), L"30");

    // Deleted by another program while the window is hidden: the close writes it whole again.
    ASSERT_TRUE(app.ShowHide(false));
    ASSERT_TRUE(DeleteFileW(IniPath(app).c_str()));
    ASSERT_TRUE(app.Close());
    std::vector<Line> lines = Lines(ReadBytes(IniPath(app)));
    EXPECT_EQ(ValueOf(lines, "ZoomSlider_Position"), "30");
    EXPECT_EQ(ValueOf(lines, "cbStartUp_Checked"), "True");
    for (const char* key : {"FormVersion", "Visible", "cbCroshair_Checked"})
        EXPECT_NE(ValueOf(lines, key), "<missing>") << key;
}

TEST_F(SettingsE2E, EndOfSessionSavesAsAtACloseAndReleasesTheHotKeys) {
    App app;
    WriteBytes(IniPath(app), "[TTintsnatch4]\r\nZoomSlider_Position=15\r\n");
    ASSERT_TRUE(app.Start());
    PressKeys({VK_ADD});
    ASSERT_TRUE(WaitFor([&] { return app.Text(id::lblZoomFactor) == L"16"; }, 5000,
                        "lblZoomFactor showing \"16\""));
    DWORD_PTR answer = 0;
    ASSERT_TRUE(SendMessageTimeoutW(app.MainWindow(), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF,
                                    SMTO_BLOCK, 5000, &answer));
    EXPECT_TRUE(answer) << "the session may end";
    ASSERT_TRUE(SendMessageTimeoutW(app.MainWindow(), WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF,
                                    SMTO_BLOCK, 5000, &answer));
    for (UINT vk : {VK_F6, VK_F7, VK_F9, VK_F10, VK_ADD}) EXPECT_TRUE(KeyIsFree(0, vk)) << vk;

    // The session's end stops the process without a close.
    HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, app.ProcessId());
    ASSERT_TRUE(process);
    TerminateProcess(process, 0);
    WaitForSingleObject(process, 5000);
    CloseHandle(process);
    EXPECT_EQ(ValueOf(Lines(ReadBytes(IniPath(app))), "Visible"), "0");
    ASSERT_TRUE(app.Start());
    EXPECT_EQ(app.Text(id::lblZoomFactor), L"16");
    ASSERT_TRUE(app.Close());
}

// A file of the version before the pick, with capture on F8, the pick's first key: capture keeps
// F8, and the pick has none until the user gives it one.
TEST_F(SettingsE2E, AKeyStoredOnF8BeforeThePickKeepsItAndThePickHasNone) {
    App app;
    WriteBytes(IniPath(app), "[TTintsnatch4]\r\nhkCapture_HotKey=119\r\nrgCapture_ItemIndex=1\r\n");
    ASSERT_TRUE(app.Start());
    EXPECT_EQ(EditKey(app, id::hkPick), 0);
    EXPECT_TRUE(WaitFor([] { return KeyIsFree(0, VK_F9); }, 5000, "F9 given back"));
    PressKeys({VK_F8});
    EXPECT_TRUE(WaitFor([&] { return app.Visible(id::CapturePanel); }, 8000, "F8 capturing"));
    ASSERT_TRUE(app.Close());
    std::vector<Line> lines = Lines(ReadBytes(IniPath(app)));
    EXPECT_EQ(ValueOf(lines, "hkCapture_HotKey"), "119");
    EXPECT_EQ(ValueOf(lines, "hkPick_HotKey"), "0");
}

TEST_F(SettingsE2E, FileLockedAtStartUpIsReportedAndKeepsItsValues) {
    App app;
    const std::string content = "[TTintsnatch4]\r\nZoomSlider_Position=42\r\n";
    WriteBytes(IniPath(app), content);
    // Another program holds the file without sharing for two seconds, as a backup might.
    HANDLE lock =
        CreateFileW(IniPath(app).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    DWORD lockedAt = GetTickCount();
    ASSERT_TRUE(app.Launch());
    HWND box = FindMessageBox(app.ProcessId());
    ASSERT_TRUE(box);
    EXPECT_EQ(MessageText(box), L"Unable to read " + IniPath(app) + L".");
    EXPECT_EQ(WindowTextOf(box), L"Tintsnatch 4");
    // The other program lets go only after its two seconds, whatever the program does.
    Settle(2000 - std::min<DWORD>(2000, GetTickCount() - lockedAt));
    CloseHandle(lock);
    Dismiss(box);
    ASSERT_TRUE(app.WaitForWindow());
    EXPECT_EQ(app.Text(id::lblZoomFactor), L"15") << "runs on its defaults";
    ASSERT_TRUE(app.Close());
    EXPECT_EQ(ReadBytes(IniPath(app)), content);
}

TEST_F(SettingsE2E, FolderWithLettersBeyondAsciiReadsAndWritesItsOwnFile) {
    App app(L"ts-e2e-\u0416\u00e9\u4e2d");
    WriteBytes(IniPath(app), "[TTintsnatch4]\r\nZoomSlider_Position=30\r\n");
    ASSERT_TRUE(app.Start());
    EXPECT_TRUE(WaitFor([&] { return app.Text(id::lblZoomFactor) == L"30"; }, 5000,
                        "lblZoomFactor showing \"30\""));
    ASSERT_TRUE(app.Close());
    std::vector<Line> lines = Lines(ReadBytes(IniPath(app)));
    EXPECT_EQ(ValueOf(lines, "FormVersion"), "0") << ReadBytes(IniPath(app));
    EXPECT_EQ(ValueOf(lines, "ZoomSlider_Position"), "30");
}

TEST_F(SettingsE2E, UnwritableFileGivesTheMessageAndLosesNothing) {
    App app;
    const std::string content = "[TTintsnatch4]\r\nMyNote=precious\r\nZoomSlider_Position=42\r\n";
    WriteBytes(IniPath(app), content);
    ASSERT_TRUE(app.Start());
    ASSERT_TRUE(
        WaitFor([&] { return app.Text(id::Position) == L"(600,500)"; }, 5000, "the first sample"));
    ASSERT_TRUE(SetFileAttributesW(IniPath(app).c_str(), FILE_ATTRIBUTE_READONLY));
    // Wine running as root writes read-only files all the same; a handle that denies writing
    // to others makes the file unwritable there too.
    HANDLE lock = CreateFileW(IniPath(app).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    PostMessageW(app.MainWindow(), WM_CLOSE, 0, 0);

    // Once an exit, saying which file; the destruction tries again without a second box.
    HWND box = FindMessageBox(app.ProcessId());
    ASSERT_TRUE(box);
    std::wstring text = MessageText(box);
    EXPECT_NE(text.find(L"Unable to write to "), std::wstring::npos) << Narrow(text);
    EXPECT_NE(text.find(L"Tintsnatch4.ini"), std::wstring::npos) << Narrow(text);
    EXPECT_EQ(WindowTextOf(box), L"Tintsnatch 4");
    Dismiss(box);
    EXPECT_TRUE(app.WaitForExit(5000)) << "closing completes with no other box";
    CloseHandle(lock);
    EXPECT_EQ(ReadBytes(IniPath(app)), content);
    SetFileAttributesW(IniPath(app).c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(SettingsE2E, AFolderThatCannotBeWrittenKeepsTheSettingsInTheUsersFolderAndSaysSoOnce) {
    App app;
    wchar_t* appData = nullptr;
    ASSERT_TRUE(SUCCEEDED(SHGetKnownFolderPath(FOLDERID_RoamingAppData, 0, nullptr, &appData)));
    const std::wstring moved = std::wstring(appData) + L"\\Tintsnatch4\\Tintsnatch4.ini";
    CoTaskMemFree(appData);
    DeleteFileW(moved.c_str());
    // Wine running as root writes anywhere the Linux side lets root write: an immutable folder
    // refuses even root, as Program Files refuses an ordinary user.
    const std::string folder = unixtools::UnixPath(app.Folder());
    if (unixtools::RunShell("chattr +i '" + folder + "'") != 0)
        GTEST_SKIP() << "the file system cannot make a folder immutable";
    struct Writable {
        std::string folder;
        ~Writable() { unixtools::RunShell("chattr -i '" + folder + "'"); }
    } writable{folder};

    ASSERT_TRUE(app.Launch());
    HWND box = FindMessageBox(app.ProcessId());
    ASSERT_TRUE(box);
    EXPECT_NE(MessageText(box).find(moved), std::wstring::npos) << Narrow(MessageText(box));
    Dismiss(box);
    ASSERT_TRUE(app.WaitForWindow());
    EXPECT_EQ(app.Text(id::SettingsPath), moved);
    PressKeys({VK_ADD});
    ASSERT_TRUE(WaitFor([&] { return app.Text(id::lblZoomFactor) == L"16"; }, 5000,
                        "lblZoomFactor showing \"16\""));
    ASSERT_TRUE(app.Close()) << "no error at the exit";
    EXPECT_EQ(ValueOf(Lines(ReadBytes(moved)), "ZoomSlider_Position"), "16");

    ASSERT_TRUE(app.Start());
    EXPECT_EQ(app.Text(id::lblZoomFactor), L"16");
    ASSERT_TRUE(app.Handled());
    EXPECT_EQ(FindTopWindow(L"#32770", app.ProcessId()), nullptr) << "told once";
    ASSERT_TRUE(app.Close());
    DeleteFileW(moved.c_str());
}

TEST_F(SettingsE2E, SecondCopyReportsEndsAndLeavesTheRegistryAndTheFileAlone) {
    DeleteRunValue();
    App first;
    WriteBytes(IniPath(first),
               "[TTintsnatch4]\r\ncbStartUp_Checked=False\r\nZoomSlider_Position=500\r\n"
               "Visible=0\r\n");
    ASSERT_TRUE(first.Start());
    // Ticked in the running copy and not saved yet: the file still says False.
    SendMessageW(first.Control(id::cbStartUp), BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitFor([] { return RunValue(nullptr); }, 5000, "the Run value written"));

    SecondCopy second(first, L"Tintsnatch4 - Copy.exe");
    HWND box = FindMessageBox(second.pi.dwProcessId);
    ASSERT_TRUE(box);
    EXPECT_EQ(MessageText(box), L"Another instance of Tintsnatch is alredy running.");
    EXPECT_EQ(WindowTextOf(box), L"");
    Dismiss(box);
    EXPECT_EQ(second.Ended(), 0u) << "the second copy ends";
    EXPECT_TRUE(first.Running());
    EXPECT_TRUE(IsWindowVisible(first.MainWindow()));
    std::wstring value;
    EXPECT_TRUE(RunValue(&value)) << "the first copy's tick stays";
    EXPECT_EQ(value, first.ExePath());
    // Saved at its destruction, and only where it may differ: "Visible".
    EXPECT_EQ(ReadBytes(IniPath(first)),
              "[TTintsnatch4]\r\ncbStartUp_Checked=False\r\nZoomSlider_Position=500\r\n"
              "Visible=1\r\n");
}

// Its tray's "Exit", the taskbar or another program closes the second copy while it still
// reports the running one: the copy ends once the message is dismissed, without a fault.
TEST_F(SettingsE2E, SecondCopyClosedWhileItReportsEndsCleanlyAndLeavesTheFileAlone) {
    App first;
    // As a close leaves it ("Visible" is never read): a close of the copy writes nothing new.
    const std::string content = "[TTintsnatch4]\r\nZoomSlider_Position=500\r\nVisible=0\r\n";
    WriteBytes(IniPath(first), content);
    ASSERT_TRUE(first.Start());
    SecondCopy second(first);
    HWND box = FindMessageBox(second.pi.dwProcessId);
    HWND copy = FindTopWindow(L"TTintsnatch4", second.pi.dwProcessId);
    ASSERT_TRUE(box && copy);
    // Sent, so it is handled inside the message's own loop before the message goes.
    DWORD_PTR result = 0;
    SendMessageTimeoutW(copy, WM_CLOSE, 0, 0, SMTO_ABORTIFHUNG, 5000, &result);
    if (IsWindow(box)) Dismiss(box);
    EXPECT_EQ(second.Ended(), 0u) << "the second copy ends, without a fault";
    EXPECT_TRUE(first.Running());
    EXPECT_EQ(ReadBytes(IniPath(first)), content);
}

TEST_F(SettingsE2E, StoredTickWritesTheRunValueAtTheFirstShow) {
    DeleteRunValue();
    App app;
    WriteBytes(IniPath(app), "[TTintsnatch4]\r\ncbStartUp_Checked=True\r\n");
    ASSERT_TRUE(app.Start());
    std::wstring value;
    ASSERT_TRUE(WaitFor([&] { return RunValue(&value); }, 5000, "the Run value written"));
    EXPECT_EQ(value, app.ExePath());
    EXPECT_TRUE(Checked(app, id::cbStartUp));
    ASSERT_TRUE(app.Close());

    // Turned off in Windows' own start-up list since: the stored tick does not undo that.
    const BYTE off[12] = {3};
    RegSetKeyValueW(HKEY_LOCAL_MACHINE, ApprovedKey, L"Tintsnatch4", REG_BINARY, off, sizeof off);
    ASSERT_TRUE(app.Start());
    EXPECT_FALSE(Checked(app, id::cbStartUp));
    ASSERT_TRUE(app.Close());
    EXPECT_EQ(RegGetValueW(HKEY_LOCAL_MACHINE, ApprovedKey, L"Tintsnatch4", RRF_RT_ANY, {}, {}, {}),
              ERROR_SUCCESS);
}

TEST_F(SettingsE2E, StoredUntickDeletesAnExistingRunValueAtTheFirstShow) {
    App app;
    HKEY key;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, RunKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                              &key, nullptr),
              ERROR_SUCCESS);
    const std::wstring path = app.ExePath();
    RegSetValueExW(key, L"Tintsnatch4", 0, REG_SZ, reinterpret_cast<const BYTE*>(path.c_str()),
                   static_cast<DWORD>((path.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
    WriteBytes(IniPath(app), "[TTintsnatch4]\r\ncbStartUp_Checked=False\r\n");
    ASSERT_TRUE(app.Start());
    // Registered at creation, then the restore unticks the box, which runs the toggle.
    EXPECT_TRUE(WaitFor([] { return !RunValue(nullptr); }, 5000, "the Run value removed"));
    EXPECT_FALSE(Checked(app, id::cbStartUp));
    ASSERT_TRUE(app.Close());
}

TEST_F(SettingsE2E, TickingAndUntickingTheStartUpBoxWritesAndDeletesTheRunValue) {
    DeleteRunValue();
    // Turned off in Windows' own start-up list (Task Manager) once: ticking turns it on there.
    const BYTE off[12] = {3, 0, 0, 0, 0xd4, 0x0d, 0x43, 0x8d, 0xc8, 0x3b, 0xd9, 1};
    RegSetKeyValueW(HKEY_LOCAL_MACHINE, ApprovedKey, L"Tintsnatch4", REG_BINARY, off, sizeof off);
    App app;
    ASSERT_TRUE(app.Start());
    HWND box = app.Control(id::cbStartUp);
    EXPECT_EQ(SendMessageW(box, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    SendMessageW(box, BM_CLICK, 0, 0);
    std::wstring value;
    ASSERT_TRUE(WaitFor([&] { return RunValue(&value); }, 5000, "the Run value written"));
    EXPECT_EQ(value, app.ExePath());
    EXPECT_EQ(SendMessageW(box, BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(RegGetValueW(HKEY_LOCAL_MACHINE, ApprovedKey, L"Tintsnatch4", RRF_RT_ANY, {}, {}, {}),
              ERROR_FILE_NOT_FOUND);
    SendMessageW(box, BM_CLICK, 0, 0);
    EXPECT_TRUE(WaitFor([&] { return !RunValue(nullptr); }, 5000, "the Run value removed"));
    EXPECT_EQ(SendMessageW(box, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    ASSERT_TRUE(app.Close());
}

}  // namespace

TEST_F(SettingsE2E, WithoutWriteAccessToTheMachineRunKeyTheUsersIsUsedAndARefusalShowsOnce) {
    App app;
    WriteBytes(IniPath(app), "[TTintsnatch4]\r\ncbStartUp_Checked=True\r\n");
    {
        ReadOnlyRunKey machine(HKEY_LOCAL_MACHINE), user(HKEY_CURRENT_USER);
        ASSERT_TRUE(app.Launch());
        HWND box = FindMessageBox(app.ProcessId());
        ASSERT_TRUE(box);
        EXPECT_EQ(MessageText(box), L"Error opening registry key.");
        Dismiss(box);
        ASSERT_TRUE(app.WaitForWindow());
        EXPECT_FALSE(Checked(app, id::cbStartUp)) << "the real state, so it is saved unticked";
        ASSERT_TRUE(app.Close());
    }
    ReadOnlyRunKey machine(HKEY_LOCAL_MACHINE);
    ASSERT_TRUE(app.Start());
    // Ticked from the tray menu while hidden (the shell's notice of a right-click on the icon,
    // then "&Run on Start Up" by its key): the next show keeps the tick.
    ASSERT_TRUE(app.ShowHide(false));
    PostMessageW(FindTopWindow(L"TJvTrayIconWindow", app.ProcessId()), 0x0401, MAKEWPARAM(300, 200),
                 MAKELPARAM(WM_CONTEXTMENU, 1));
    ASSERT_TRUE(WaitFor([&] { return app.VisibleTopWindow(L"#32768") != nullptr; }, 5000,
                        "the tray menu open"));
    PressKeys({'R'});
    std::wstring value;
    ASSERT_TRUE(WaitFor([&] { return RunValue(&value, HKEY_CURRENT_USER); }, 5000,
                        "the user's Run value written"));
    EXPECT_EQ(value, app.ExePath());
    ASSERT_TRUE(app.ShowHide(true));
    ASSERT_TRUE(app.Handled());
    EXPECT_EQ(FindTopWindow(L"#32770", app.ProcessId()), nullptr) << "no message in this run";
    EXPECT_TRUE(RunValue(nullptr, HKEY_CURRENT_USER)) << "the tick made while hidden stays";
}
