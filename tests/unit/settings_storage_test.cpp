// The settings storage: restore and save cycles over fake controls, a fake file and a fake window.
#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>

#include "settings/JvFormStorage.h"
#include "settings/SettingsPlace.h"
#include "tests/unit/settings_fakes.h"
#include "win/ErrorReport.h"

using settings::PropKind;
using settings::PropValue;
using settings::StoredProp;

namespace {

const std::wstring Path = L"C:\\Program Files\\Tintsnatch\\Tintsnatch4.ini";
const std::wstring Section = L"TTintsnatch4";
const std::wstring Preview = L"RGB(255,0,0)";

// The fourteen controls as plain values, with each control's own rules: clamping, and a change
// handler that runs only on a real change (recorded in log).
struct Controls {
    bool grabIfMin = false, startUp = false, crosshair = true;
    std::wstring page = L"tsZoom";
    int zoom = 15, crossSize = 30;
    int hkCapture = 120, hkExit = 121, hkFixedFollow = 118, hkShowHide = 117;
    int rgCapture = 0, rgCaptureArea = 6, rgClipboard = 0;
    std::wstring preview = Preview;
    std::vector<std::wstring> log;
    bool startUpThrows = false;
    std::function<void()> onRead;  // runs whenever a value is read (saving or restoring)

    std::optional<PropValue> Read(PropValue value) const {
        if (onRead) onRead();
        return value;
    }

    std::vector<StoredProp> Props() {
        auto boolean = [&](const wchar_t* name, bool* v, const wchar_t* handler) {
            return StoredProp{name,
                              PropKind::Boolean,
                              [=, this] { return Read(*v); },
                              [=, this](const PropValue& p) {
                                  if (*v == std::get<bool>(p)) return;
                                  if (v == &startUp && startUpThrows)
                                      throw std::runtime_error("registry");
                                  *v = std::get<bool>(p);
                                  if (handler) log.push_back(handler);
                              },
                              {}};
        };
        auto integer = [&](const wchar_t* name, int* v, int lo, int hi, const wchar_t* handler) {
            return StoredProp{name,
                              PropKind::Integer,
                              [=, this] { return Read(*v); },
                              [=, this](const PropValue& p) {
                                  int n = std::clamp(std::get<std::int32_t>(p), lo, hi);
                                  if (*v == n) return;
                                  *v = n;
                                  if (handler) log.push_back(handler);
                                  if (v == &rgClipboard) preview = L"format" + std::to_wstring(n);
                              },
                              {}};
        };
        auto hotKey = [&](const wchar_t* name, int* v) {
            return StoredProp{name,
                              PropKind::Integer,
                              [=, this] { return Read(*v); },
                              [=](const PropValue& p) {
                                  *v = static_cast<std::uint16_t>(std::get<std::int32_t>(p));
                              },
                              {}};
        };
        return {
            boolean(L"cbGrabIfMin.Checked", &grabIfMin, nullptr),
            boolean(L"cbStartUp.Checked", &startUp, L"RunWinStartUpExecute"),
            StoredProp{L"Properties.ActivePage",
                       PropKind::Component,
                       [this] { return Read(page); },
                       [this](const PropValue& p) {
                           page = std::get<std::wstring>(p);
                           log.push_back(L"ActivePage:" + page);
                       },
                       {L"tsZoom", L"tsClipBoard", L"tsCapture", L"Keys", L"tsMisc", L"About"}},
            integer(L"ZoomSlider.Position", &zoom, 1, 100, L"ZoomSliderChange"),
            hotKey(L"hkCapture.HotKey", &hkCapture),
            hotKey(L"hkExit.HotKey", &hkExit),
            hotKey(L"hkFixedFollow.HotKey", &hkFixedFollow),
            hotKey(L"hkShowHide.HotKey", &hkShowHide),
            integer(L"rgCapture.ItemIndex", &rgCapture, -1, 3, L"rgCaptureClick"),
            integer(L"rgCaptureArea.ItemIndex", &rgCaptureArea, -1, 6, nullptr),
            integer(L"rgClipboard.ItemIndex", &rgClipboard, -1, 5, L"rgClipboardClick"),
            StoredProp{L"colFmtPreview.Caption",
                       PropKind::String,
                       [this] { return Read(preview); },
                       [this](const PropValue& p) { preview = std::get<std::wstring>(p); },
                       {}},
            integer(L"CroshairSize.Position", &crossSize, 5, 100, L"CroshairSizeChange"),
            boolean(L"cbCroshair.Checked", &crosshair, L"cbCroshairClick"),
        };
    }
};

class SettingsStorage : public testing::Test {
  protected:
    Controls c;
    fakes::ProfileFile* files = nullptr;
    fakes::PlacementWindow* window = nullptr;
    std::unique_ptr<TJvFormStorage> storage;
    std::vector<std::wstring> reports;

    void SetUp() override {
        auto f = std::make_unique<fakes::ProfileFile>();
        auto w = std::make_unique<fakes::PlacementWindow>();
        files = f.get();
        window = w.get();
        window->metrics[1] = 1;  // the usual one-pixel border both ways
        storage =
            std::make_unique<TJvFormStorage>(std::move(f), std::move(w), c.Props(), L"Tintsnatch4");
        storage->IniFileName = Path;
        storage->ReportError = [this] {
            try {
                throw;
            } catch (const win::Error& e) {
                reports.push_back(e.Text());
            } catch (const std::exception& e) {
                reports.push_back(L"other error");
            }
        };
    }
    void Load(const std::wstring& body) { files->Load(Path, L"[TTintsnatch4]\n" + body); }
    void Show() {
        window->visible = false;  // the show notification comes before the window is visible
        storage->ShowHook([this] { c.log.push_back(L"FormShow"); });
        window->visible = true;
    }
    void Close() { EXPECT_TRUE(storage->CloseQueryHook()); }
    void Destroy() {
        storage->DestroyHook([this] { c.log.push_back(L"FormDestroy"); });
    }
    std::wstring Value(const std::wstring& key) {
        for (auto& [k, v] : files->Lines(Path, Section))
            if (k == key) return v;
        return L"<absent>";
    }
    std::vector<std::wstring> Keys() {
        std::vector<std::wstring> keys;
        for (auto& [k, v] : files->Lines(Path, Section)) keys.push_back(k);
        return keys;
    }
};

TEST_F(SettingsStorage, FirstCloseWritesTheWorkedExampleInOrder) {
    Show();
    EXPECT_EQ(c.log, std::vector<std::wstring>{L"FormShow"}) << "no file changes nothing";
    Close();
    std::vector<std::pair<std::wstring, std::wstring>> expected = {
        {L"FormVersion", L"0"},
        {L"Flags", L"0"},
        {L"ShowCmd", L"1"},
        {L"PixelsPerInch", L"96"},
        {L"MinMaxPos(1024x768)", L"-1,-1,-1,-1"},
        {L"MinMaxPos", L"-1,-1,-1,-1"},
        {L"NormPos(1024x768)", L"426,335,598,433"},
        {L"NormPos", L"426,335,598,433"},
        {L"Visible", L"0"},
        {L"cbGrabIfMin_Checked", L"False"},
        {L"cbStartUp_Checked", L"False"},
        {L"Properties_ActivePage", L"tsZoom"},
        {L"ZoomSlider_Position", L"15"},
        {L"hkCapture_HotKey", L"120"},
        {L"hkExit_HotKey", L"121"},
        {L"hkFixedFollow_HotKey", L"118"},
        {L"hkShowHide_HotKey", L"117"},
        {L"rgCapture_ItemIndex", L"0"},
        {L"rgCaptureArea_ItemIndex", L"6"},
        {L"rgClipboard_ItemIndex", L"0"},
        {L"colFmtPreview_Caption", Preview},
        {L"CroshairSize_Position", L"30"},
        {L"cbCroshair_Checked", L"True"},
    };
    EXPECT_EQ(files->Lines(Path, Section), expected);
    size_t written = files->writes.size();
    Destroy();
    EXPECT_EQ(files->writes.size(), written) << "the destroy after a close saves nothing";
    EXPECT_EQ(c.log.back(), L"FormDestroy");
}

TEST_F(SettingsStorage, HandEditedFileIsAppliedThroughTheControlsRules) {
    c.crosshair = false;
    Load(
        L"hkCapture_HotKey=16504\nProperties_ActivePage=Keys\nZoomSlider_Position=500\n"
        L"cbCroshair_Checked=TRUE\nhkExit_HotKey=$10079\n");
    Show();
    EXPECT_EQ(c.hkCapture, 16504);
    EXPECT_EQ(c.hkExit, 0x79) << "a hotkey word keeps its low 16 bits";
    EXPECT_EQ(c.page, L"Keys");
    EXPECT_EQ(c.zoom, 100) << "the slider clamps";
    EXPECT_TRUE(c.crosshair);
    EXPECT_EQ(c.log, (std::vector<std::wstring>{L"ActivePage:Keys", L"ZoomSliderChange",
                                                L"cbCroshairClick", L"FormShow"}))
        << "list order, handlers only on change, FormShow last";
}

TEST_F(SettingsStorage, UnchangedValuesRunNoHandlersAndThePreviewKeepsTheStoredText) {
    Load(
        L"ZoomSlider_Position=15\ncbCroshair_Checked=True\nrgCapture_ItemIndex=0\n"
        L"rgClipboard_ItemIndex=3\ncolFmtPreview_Caption=\"\"#FF0000\"\"\n"
        L"CroshairSize_Position=4\n");
    Show();
    EXPECT_EQ(c.log,
              (std::vector<std::wstring>{L"rgClipboardClick", L"CroshairSizeChange", L"FormShow"}));
    EXPECT_EQ(c.preview, L"\"#FF0000\"") << "the stored caption, set after the format's own";
    EXPECT_EQ(c.crossSize, 5);
}

TEST_F(SettingsStorage, ValuesThatAreNotOfTheirKind) {
    c.rgCapture = 2;
    c.hkCapture = 120;
    Load(
        L"ZoomSlider_Position=abc\nrgCapture_ItemIndex=\nhkCapture_HotKey=F9\n"
        L"cbGrabIfMin_Checked=1\ncbCroshair_Checked=yes\ncbStartUp_Checked=\x01\xff\xfe\n"
        L"colFmtPreview_Caption= \x01\xfe text \x02\n");
    Show();
    EXPECT_EQ(c.zoom, 1) << "not an integer reads as 0, then the slider clamps";
    EXPECT_EQ(c.rgCapture, 0);
    EXPECT_EQ(c.hkCapture, 0) << "no key";
    EXPECT_FALSE(c.grabIfMin) << "booleans other than True/False leave the box";
    EXPECT_TRUE(c.crosshair);
    EXPECT_FALSE(c.startUp);
    EXPECT_EQ(c.preview, L"\xfe text");
}

TEST_F(SettingsStorage, BrokenFileWithoutOurSectionChangesNothing) {
    files->Load(Path,
                L"garbage\n\x01\x02=\x03\n[Other]\nZoomSlider_Position=50\n[TTintsnatch4\n"
                L"ZoomSlider_Position=60\n");
    Show();
    EXPECT_EQ(c.zoom, 15);
    EXPECT_EQ(c.log, std::vector<std::wstring>{L"FormShow"});
    EXPECT_TRUE(window->applied.size() == 1u) << "only the maximised-position reset";
}

TEST_F(SettingsStorage, VersionBelowOursRestoresNothingButTheNextSaveWritesTheCurrentState) {
    Load(L"FormVersion=-1\nZoomSlider_Position=50\nNormPos=10,10,0,0\nShowCmd=3\n");
    c.zoom = 20;
    Show();
    EXPECT_EQ(c.zoom, 20);
    EXPECT_TRUE(storage->Restored());
    EXPECT_TRUE(window->statesSet.empty());
    ASSERT_EQ(window->applied.size(), 1u) << "only the maximised-position reset";
    EXPECT_EQ(window->applied[0].left, 426);
    Close();
    EXPECT_EQ(Value(L"FormVersion"), L"0");
    EXPECT_EQ(Value(L"ZoomSlider_Position"), L"20");
}

TEST_F(SettingsStorage, VersionThatIsNotANumberCountsAsZero) {
    Load(L"FormVersion=new\nZoomSlider_Position=50\n");
    Show();
    EXPECT_EQ(c.zoom, 50);
}

TEST_F(SettingsStorage, LongValuesAreCutTo2047Characters) {
    Load(L"colFmtPreview_Caption=" + std::wstring(5000, L'x') + L"\n");
    Show();
    EXPECT_EQ(c.preview, std::wstring(2047, L'x'));
    Close();
    EXPECT_EQ(Value(L"colFmtPreview_Caption").size(), 2047u);
}

TEST_F(SettingsStorage, CaptionInQuotesReadsBackWithThem) {
    Show();
    c.preview = L"  \"#123456\" ";
    Close();
    EXPECT_EQ(Value(L"colFmtPreview_Caption"), L"\"\"#123456\"\"");
    c.preview = L"other";
    Show();
    EXPECT_EQ(c.preview, L"\"#123456\"");
}

TEST_F(SettingsStorage, PageReferences) {
    struct Case {
        const wchar_t* stored;
        const wchar_t* page;
    };
    for (Case k : {Case{L"keys", L"Keys"}, Case{L"Tintsnatch4.tsMisc", L"tsMisc"},
                   Case{L"TINTSNATCH4.About", L"About"}, Case{L"Other.Keys", L"tsZoom"},
                   Case{L"ZoomSlider", L""}, Case{L"(NULL)", L""}, Case{L"", L"tsZoom"},
                   Case{L"Tintsnatch4.", L""}}) {
        c.page = L"tsZoom";
        Load(std::wstring(L"Properties_ActivePage=") + k.stored + L"\n");
        Show();
        EXPECT_EQ(c.page, k.page) << testing::PrintToString(std::wstring(k.stored));
    }
}

TEST_F(SettingsStorage, NoPageShownStaysSoAndSavesNothingForIt) {
    Load(L"Properties_ActivePage=(null)\n");
    Show();
    EXPECT_EQ(c.page, L"");
    Load(L"Properties_ActivePage=Keys\n");
    Show();
    EXPECT_EQ(c.page, L"") << "a reference that holds nothing is not restored";
    Close();
    EXPECT_EQ(Value(L"Properties_ActivePage"), L"Keys") << "the file keeps the old text";
}

TEST_F(SettingsStorage, OneFailingEntryDoesNotStopTheOthers) {
    c.startUpThrows = true;
    Load(L"cbStartUp_Checked=True\nZoomSlider_Position=40\n");
    Show();
    EXPECT_FALSE(c.startUp);
    EXPECT_EQ(c.zoom, 40);
    EXPECT_TRUE(reports.empty()) << "a restore swallows the entry's error";
}

TEST_F(SettingsStorage, ShowGoesOnWhenTheRestoreFails) {
    window->failGetPlacement = true;
    Load(L"NormPos=1,2,3,4\n");
    Show();
    EXPECT_EQ(reports, std::vector<std::wstring>{L"other error"});
    EXPECT_EQ(c.log.back(), L"FormShow");
}

TEST_F(SettingsStorage, NeverShownWindowWritesNothing) {
    Close();
    Destroy();
    EXPECT_TRUE(files->writes.empty());
    EXPECT_FALSE(storage->Restored());
    EXPECT_EQ(c.log, std::vector<std::wstring>{L"FormDestroy"});
}

TEST_F(SettingsStorage, FlagsAcrossShowHideCloseAndDestroy) {
    std::vector<bool> destroyingSeen;
    c.onRead = [&] { destroyingSeen.push_back(storage->Destroying()); };
    EXPECT_FALSE(storage->Restored() || storage->Saved() || storage->Destroying());
    Show();
    EXPECT_TRUE(storage->Restored());
    EXPECT_FALSE(storage->Saved());
    Close();
    EXPECT_TRUE(storage->Saved());
    EXPECT_EQ(Value(L"Visible"), L"0");
    Show();  // shown again after a hide: a new restore clears Saved
    EXPECT_FALSE(storage->Saved());
    destroyingSeen.clear();
    Destroy();
    EXPECT_TRUE(storage->Saved());
    EXPECT_EQ(Value(L"Visible"), L"1");
    EXPECT_FALSE(storage->Destroying());
    ASSERT_FALSE(destroyingSeen.empty());
    EXPECT_TRUE(
        std::all_of(destroyingSeen.begin(), destroyingSeen.end(), [](bool b) { return b; }));
}

TEST_F(SettingsStorage, ShowingAgainBringsBackTheSavedValuesAndPosition) {
    Show();
    c.zoom = 33;
    Close();
    c.zoom = 77;
    c.rgCaptureArea = 2;
    window->record.left = 5;
    window->record.right = 5 + 172;
    window->bounds.left = 5;
    Show();
    EXPECT_EQ(c.zoom, 33);
    EXPECT_EQ(c.rgCaptureArea, 6);
    ASSERT_GE(window->applied.size(), 2u);
    EXPECT_EQ(window->applied[window->applied.size() - 2].left, 426);
    EXPECT_EQ(window->start, settings::StartPosition::AsDesigned);
}

// One save, one write of the file: the other sections' values with the stored ones; a file that
// cannot take the new one's place stays whole, and the next save writes all that still differs.
TEST_F(SettingsStorage, ASaveWritesEverySectionInOneStepOrNothing) {
    Load(L"ZoomSlider_Position=50\n");
    int staged = 0;
    storage->SaveOtherSections = [&](settings::ProfileFile& f, const std::wstring& path) {
        ++staged;
        EXPECT_TRUE(f.WriteString(path, L"TTintsnatch4.History", L"Colors", L"FF8000"));
    };
    Show();
    c.zoom = 51;
    files->failCommit = true;
    Close();
    EXPECT_EQ(reports, std::vector<std::wstring>{L"Unable to write to " + Path});
    EXPECT_EQ(Value(L"ZoomSlider_Position"), L"50") << "the old file, whole";
    files->failCommit = false;
    Destroy();
    EXPECT_EQ(files->commits, 1);
    EXPECT_EQ(staged, 2);
    EXPECT_EQ(Value(L"ZoomSlider_Position"), L"51");
    EXPECT_EQ(files->Lines(Path, L"TTintsnatch4.History").size(), 1u);
}

TEST_F(SettingsStorage, UnwritableFileIsReportedOncePerExit) {
    Load(L"ZoomSlider_Position=50\n");
    std::vector<std::pair<std::wstring, std::wstring>> before = files->Lines(Path, Section);
    Show();
    files->writesBeforeFailure = 0;
    Close();
    EXPECT_EQ(reports, std::vector<std::wstring>{L"Unable to write to " + Path});
    EXPECT_FALSE(storage->Saved());
    Destroy();  // tries once more, and fails again
    EXPECT_EQ(reports.size(), 1u) << "one box per exit";
    EXPECT_EQ(c.log.back(), L"FormDestroy") << "closing completes";
    EXPECT_EQ(files->Lines(Path, Section), before);
}

TEST_F(SettingsStorage, WriteFailingHalfwayStopsThatSave) {
    Show();
    files->writesBeforeFailure = 3;
    Close();
    EXPECT_EQ(files->writes.size(), 3u);
    EXPECT_EQ(reports.size(), 1u);
    EXPECT_FALSE(storage->Saved());
}

TEST_F(SettingsStorage, LoadTellsAReadFileFromAMissingOneAndAnUnreadableOne) {
    EXPECT_EQ(storage->LoadSettings(), settings::LoadResult::Missing);
    Load(L"ZoomSlider_Position=40\n");
    EXPECT_EQ(storage->LoadSettings(), settings::LoadResult::Read);
    EXPECT_EQ(c.zoom, 40);
    files->locked = true;
    c.zoom = 17;
    EXPECT_EQ(storage->LoadSettings(), settings::LoadResult::Unreadable);
    EXPECT_EQ(c.zoom, 17) << "nothing restored from a file that could not be read";
}

TEST_F(SettingsStorage, FileUnreadableAtTheFirstShowIsReportedOnceAndNotSavedOver) {
    Load(L"ZoomSlider_Position=40\n");
    files->locked = true;
    Show();
    EXPECT_EQ(c.zoom, 15) << "runs on its defaults";
    EXPECT_EQ(reports, std::vector<std::wstring>{L"Unable to read " + Path + L"."});
    EXPECT_EQ(c.log.back(), L"FormShow");
    storage->HideHook({});
    Show();
    EXPECT_EQ(reports.size(), 1u) << "reported once";
    files->locked = false;  // writable again, but what this run holds are defaults
    storage->HideHook({});
    Close();
    Destroy();
    EXPECT_TRUE(files->writes.empty());
    EXPECT_EQ(Value(L"ZoomSlider_Position"), L"40");
}

TEST_F(SettingsStorage, FileReadAtALaterShowIsSavedAgain) {
    Load(L"ZoomSlider_Position=40\n");
    files->locked = true;
    Show();
    files->locked = false;
    Show();
    EXPECT_EQ(c.zoom, 40);
    c.zoom = 41;
    Close();
    EXPECT_EQ(Value(L"ZoomSlider_Position"), L"41");
}

TEST_F(SettingsStorage, SavesWhileTheWindowStaysReportAFailureOnlyOnce) {
    Show();
    files->writesBeforeFailure = 0;
    storage->KeepFileCurrent();
    storage->HideHook([this] { c.log.push_back(L"FormHide"); });
    EXPECT_EQ(reports.size(), 1u);
    EXPECT_EQ(c.log.back(), L"FormHide");
    Close();
    EXPECT_EQ(reports.size(), 2u) << "the close reports as before";
}

TEST_F(SettingsStorage, SavesCompareWithTheFileAsItIsNow) {
    Show();
    Close();
    Show();
    storage->KeepFileCurrent();
    EXPECT_EQ(files->writes.size(), 23u) << "the first close wrote all; the file holds every value";
    files->files.erase(Path);  // deleted by another program while we run
    storage->HideHook({});
    EXPECT_EQ(files->writes.size(), 46u) << "a deleted file is written whole";
    Load(L"CroshairSize_Position=50\nZoomSlider_Position=15\nOther=kept\n");  // replaced
    storage->KeepFileCurrent();
    EXPECT_EQ(Value(L"CroshairSize_Position"), L"30") << "a value that differs from ours";
    EXPECT_EQ(Value(L"Other"), L"kept");
    EXPECT_EQ(std::count(files->writes.begin(), files->writes.end(), L"ZoomSlider_Position=15"), 2)
        << "a value the file already holds is not written";
    files->writesBeforeFailure = 0;
    c.zoom = 17;
    storage->EndSessionHook();
    EXPECT_TRUE(reports.empty()) << "a save failing at the end of the session shows nothing";
}

TEST(SettingsStoredProps, EntriesAreSplitAtTheFirstDotAndMalformedOnesDropped) {
    std::vector<StoredProp> props;
    for (const wchar_t* name :
         {L" ZoomSlider . Position ", L"NoDot", L".Checked", L"cb.", L"a.b.c"})
        props.push_back(StoredProp{name, PropKind::Integer, {}, {}, {}});
    auto resolved = settings::ResolveStoredProps(std::move(props));
    ASSERT_EQ(resolved.size(), 2u);
    EXPECT_EQ(resolved[0].Key, L"ZoomSlider_Position");
    EXPECT_EQ(resolved[1].Component, L"a");
    EXPECT_EQ(resolved[1].Property, L"b.c");
}

}  // namespace

TEST(SettingsPlace, BesideTheProgramWhereverThatCanBeWrittenElseInTheUsersFolder) {
    using settings::SettingsPlace;
    auto place = [](bool exists, bool fileWritable, bool folderWritable) {
        return settings::ChoosePlace({exists, fileWritable, folderWritable});
    };
    EXPECT_EQ(place(true, true, false), SettingsPlace::BesideProgram) << "a writable file stays";
    EXPECT_EQ(place(false, false, true), SettingsPlace::BesideProgram) << "a portable copy";
    EXPECT_EQ(place(false, false, false), SettingsPlace::UserData) << "Program Files";
    EXPECT_EQ(place(true, false, true), SettingsPlace::UserData) << "a file this user cannot write";
    EXPECT_EQ(settings::UserDataFile(L"C:\\Users\\Ann\\AppData\\Roaming", L"Tintsnatch4"),
              L"C:\\Users\\Ann\\AppData\\Roaming\\Tintsnatch4\\Tintsnatch4.ini");

    // Run as administrator from Program Files: the file in use, and the one other starts use.
    const std::wstring pf = L"C:\\Program Files", exe = L"c:\\program files\\Tintsnatch\\";
    EXPECT_TRUE(settings::IsInFolder(exe, pf));
    EXPECT_TRUE(settings::IsInFolder(exe, pf + L"\\"));
    EXPECT_FALSE(settings::IsInFolder(L"C:\\Program Files (x86)\\T\\", pf));
    EXPECT_FALSE(settings::IsInFolder(L"D:\\Tools\\", pf));
    const std::wstring ini = exe + L"Tintsnatch4.ini", user = L"C:\\Users\\Ann\\x.ini";
    EXPECT_EQ(settings::SettingsPathText(ini, true, user),
              ini + L" (run as administrator; other starts use " + user + L")");
    EXPECT_EQ(settings::SettingsPathText(ini, false, user), ini);
}
