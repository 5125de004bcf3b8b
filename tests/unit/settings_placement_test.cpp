// Window placement in the settings file: keys, parsing and the rules for applying it.
#include <gtest/gtest.h>

#include "settings/Placement.h"
#include "tests/unit/settings_fakes.h"

using settings::PlacementRecord;
using settings::StartPosition;
using settings::WindowState;

namespace {

const std::wstring Path = L"C:\\app\\Tintsnatch4.ini";
const std::wstring Section = L"TTintsnatch4";

class SettingsPlacement : public testing::Test {
  protected:
    fakes::ProfileFile files;
    fakes::PlacementWindow window;
    void Load(const std::wstring& body) { files.Load(Path, L"[TTintsnatch4]\n" + body); }
    void Read(bool position = true, bool state = true) {
        settings::IniFile ini(files, Path, Section);
        settings::ReadPlacement(window, ini, position, state);
    }
};

TEST(SettingsPlacementText, FourNumbersSplitAtBlanksAndCommas) {
    using settings::ParseFour;
    EXPECT_EQ(ParseFour(L"426,335,598,433", {0, 0, 0, 0}),
              (std::array<std::int32_t, 4>{426, 335, 598, 433}));
    EXPECT_EQ(ParseFour(L" -1 , -2,,  $10 4 ", {0, 0, 0, 0}),
              (std::array<std::int32_t, 4>{-1, -2, 16, 4}))
        << "runs of separators count as one";
    EXPECT_EQ(ParseFour(L"100,200", {1, 2, 3, 4}), (std::array<std::int32_t, 4>{100, 200, 3, 4}));
    EXPECT_EQ(ParseFour(L"a,200,b,9,77", {1, 2, 3, 4}), (std::array<std::int32_t, 4>{1, 200, 3, 9}))
        << "bad words keep their default; a fifth word is ignored";
    EXPECT_EQ(ParseFour(L"", {1, 2, 3, 4}), (std::array<std::int32_t, 4>{1, 2, 3, 4}));
    EXPECT_EQ(settings::FormatFour({-1, -1, 426, 2147483647}), L"-1,-1,426,2147483647");
    EXPECT_EQ(settings::ResolutionSuffix(1280, 1024), L"(1280x1024)");
}

TEST(SettingsPlacementText, ShowCommandsMapToStates) {
    using settings::StateFromShowCmd;
    for (int cmd : {1, 5, 9})
        EXPECT_EQ(StateFromShowCmd(cmd, WindowState::Maximized), WindowState::Normal);
    for (int cmd : {2, 6, 7})
        EXPECT_EQ(StateFromShowCmd(cmd, WindowState::Normal), WindowState::Minimized);
    EXPECT_EQ(StateFromShowCmd(3, WindowState::Normal), WindowState::Maximized);
    for (int cmd : {0, 4, 8, 10, -1, 11})
        EXPECT_EQ(StateFromShowCmd(cmd, WindowState::Normal), WindowState::Normal) << cmd;
}

TEST_F(SettingsPlacement, WriteGivesTheKeysInOrderWithTheScreenSuffix) {
    settings::IniFile ini(files, Path, Section);
    settings::WritePlacement(window, ini);
    EXPECT_EQ(files.writes, (std::vector<std::wstring>{
                                L"Flags=0", L"ShowCmd=1", L"PixelsPerInch=96",
                                L"MinMaxPos(1024x768)=-1,-1,-1,-1", L"MinMaxPos=-1,-1,-1,-1",
                                L"NormPos(1024x768)=426,335,598,433", L"NormPos=426,335,598,433"}));
}

TEST_F(SettingsPlacement, WriteWhileTheApplicationIsMinimisedStoresShownMinimised) {
    window.appMinimized = true;
    settings::IniFile ini(files, Path, Section);
    settings::WritePlacement(window, ini);
    EXPECT_EQ(files.writes[1], L"ShowCmd=2");
    window.mainWindow = false;
    files.writes.clear();
    settings::WritePlacement(window, ini);
    EXPECT_EQ(files.writes[1], L"ShowCmd=1") << "only the main window stands for the application";
}

TEST_F(SettingsPlacement, KeyOfThisScreenSizeWinsOverThePlainKey) {
    Load(
        L"PixelsPerInch=96\nNormPos(1024x768)=10,20,182,118\nNormPos=500,600,672,698\n"
        L"NormPos(1280x1024)=1,1,1,1\n");
    Read();
    ASSERT_EQ(window.applied.size(), 1u);
    EXPECT_EQ(window.applied[0].left, 10);
    EXPECT_EQ(window.applied[0].top, 20);
    EXPECT_EQ(window.start, StartPosition::AsDesigned) << "centring is switched off";
}

TEST_F(SettingsPlacement, ScreenSizeSeenForTheFirstTimeTakesThePlainKey) {
    window.screen = {1280, 1024, 96};
    Load(L"NormPos(1024x768)=10,20,182,118\nNormPos=500,600,672,698\n");
    Read();
    ASSERT_EQ(window.applied.size(), 1u);
    EXPECT_EQ(window.applied[0].left, 500);
    EXPECT_EQ(window.applied[0].top, 600);
}

TEST_F(SettingsPlacement, FixedSizeWindowTakesOnlyItsPositionFromTheFile) {
    Load(L"NormPos=100,200,0,0\n");
    Read();
    ASSERT_EQ(window.applied.size(), 1u);
    const PlacementRecord& r = window.applied[0];
    EXPECT_EQ(r.left, 100);
    EXPECT_EQ(r.top, 200);
    EXPECT_EQ(r.right, 100 + 172);
    EXPECT_EQ(r.bottom, 200 + 98);
    EXPECT_EQ(r.showCmd, 0) << "a window not yet shown is not shown by applying the record";
}

TEST_F(SettingsPlacement, FixedSizeWindowFarOutsideTheIntRangeIsNotMoved) {
    // Found by fuzzing: the bottom edge, the top from the file plus the window's height, passed
    // the int range and wrapped round, and the broken rectangle was applied.
    Load(L"NormPos=100,2147483600,0,0\n");
    Read();
    EXPECT_TRUE(window.applied.empty());
}

TEST_F(SettingsPlacement, SizeableWindowNeedsARealRectangle) {
    window.border = settings::BorderStyle::Sizeable;
    Load(L"NormPos=100,200,100,400\n");
    Read();
    EXPECT_TRUE(window.applied.empty());
    EXPECT_EQ(window.start, StartPosition::ScreenCenter) << "still centred";
    Load(L"NormPos=100,200,300,400\n");
    Read();
    ASSERT_EQ(window.applied.size(), 1u);
    EXPECT_EQ(window.applied[0].right, 300) << "a sizeable window takes its size too";
}

TEST_F(SettingsPlacement, OtherResolutionMovesNothingButStillSetsTheState) {
    Load(L"PixelsPerInch=120\nNormPos=100,200,272,298\nShowCmd=3\n");
    Read();
    EXPECT_TRUE(window.applied.empty());
    EXPECT_EQ(window.statesSet, std::vector<WindowState>{WindowState::Maximized});
}

TEST_F(SettingsPlacement, NoPositionKeysLeaveTheWindowWhereItIs) {
    Load(L"PixelsPerInch=96\nFlags=2\n");
    Read();
    EXPECT_TRUE(window.applied.empty());
    EXPECT_EQ(window.start, StartPosition::ScreenCenter);
    EXPECT_EQ(window.statesSet, std::vector<WindowState>{WindowState::Normal});
}

TEST_F(SettingsPlacement, MinMaxPositionsAndFlagsComeFromTheFile) {
    Load(L"Flags=2\nMinMaxPos=-32000,-32000,-1,-1\nNormPos=7,8,0,0\n");
    window.visible = true;
    Read();
    ASSERT_EQ(window.applied.size(), 1u);
    const PlacementRecord& r = window.applied[0];
    EXPECT_EQ(r.flags, 2);
    EXPECT_EQ(r.minX, -32000);
    EXPECT_EQ(r.maxY, -1);
    EXPECT_EQ(r.showCmd, 1) << "a visible window keeps its show command";
}

TEST_F(SettingsPlacement, GarbledPositionWordsFallBackPerWord) {
    Load(L"MinMaxPos=zz\nNormPos=abc,50\n");
    Read();
    ASSERT_EQ(window.applied.size(), 1u);
    const PlacementRecord& r = window.applied[0];
    EXPECT_EQ(r.minX, 0) << "minimised and maximised positions default to 0";
    EXPECT_EQ(r.maxX, 0);
    EXPECT_EQ(r.left, 426) << "the current left edge";
    EXPECT_EQ(r.top, 50);
}

TEST_F(SettingsPlacement, SavedMinimisedMinimisesTheWholeApplication) {
    Load(L"ShowCmd=2\n");
    Read();
    EXPECT_EQ(window.appMinimizeRequests, 1);
    EXPECT_TRUE(window.statesSet.empty()) << "the window itself is not minimised";
    window.mainWindow = false;
    Read();
    EXPECT_EQ(window.appMinimizeRequests, 1);
    EXPECT_EQ(window.statesSet, std::vector<WindowState>{WindowState::Minimized});
}

TEST_F(SettingsPlacement, DefaultStateIsMaximisedOnlyForAPlatformPlacedMainWindow) {
    Load(L"ShowCmd=0\n");
    window.start = StartPosition::PlatformDefault;
    Read(false, true);
    window.kind = settings::WindowKind::MdiFrame;
    window.start = StartPosition::ScreenCenter;
    Read(false, true);
    window.kind = settings::WindowKind::Ordinary;
    Read(false, true);
    EXPECT_EQ(window.statesSet,
              (std::vector<WindowState>{WindowState::Maximized, WindowState::Maximized,
                                        WindowState::Normal}));
}

TEST_F(SettingsPlacement, NothingHappensWhenNeitherPartIsWanted) {
    Load(L"NormPos=1,2,3,4\nShowCmd=3\n");
    Read(false, false);
    EXPECT_TRUE(window.applied.empty());
    EXPECT_TRUE(window.statesSet.empty());
    EXPECT_EQ(window.repaints, 0);
    Read(false, true);
    EXPECT_TRUE(window.applied.empty()) << "the state alone moves nothing";
    EXPECT_EQ(window.repaints, 1);
}

TEST_F(SettingsPlacement, MaximisedPositionBecomesTheNegatedBorder) {
    struct Case {
        settings::BorderStyle border;
        int x, y;
    };
    for (Case c :
         {Case{settings::BorderStyle::ToolWindow, -1, -2},
          Case{settings::BorderStyle::Single, -1, -2},
          Case{settings::BorderStyle::Sizeable, -4, -5},
          Case{settings::BorderStyle::SizeToolWin, -4, -5},
          Case{settings::BorderStyle::Dialog, -3, -6}, Case{settings::BorderStyle::None, 0, 0}}) {
        window.border = c.border;
        window.applied.clear();
        settings::ResetMaximizedPosition(window);
        ASSERT_EQ(window.applied.size(), 1u);
        EXPECT_EQ(window.applied[0].maxX, c.x);
        EXPECT_EQ(window.applied[0].maxY, c.y);
        EXPECT_EQ(window.applied[0].left, 426) << "nothing else changes";
        EXPECT_EQ(window.applied[0].showCmd, 0);
    }
}

}  // namespace
