// Run at log-on and the single-instance rule, over a fake Run key and a fake process list.
#include <gtest/gtest.h>

#include "settings/SingleInstance.h"
#include "settings/Startup.h"
#include "tests/unit/settings_fakes.h"
#include "win/ErrorReport.h"

using settings::RunValue;

namespace {

const std::wstring Plain = L"C:\\Tools\\Tintsnatch4.exe";
const std::wstring Blank = L"C:\\Program Files\\Tintsnatch\\Tintsnatch4.exe";
const std::wstring Name = L"Tintsnatch4";

RunValue Text(const std::wstring& t) { return {RunValue::Type::Text, t}; }

TEST(SettingsRunValue, PathWithABlankIsQuotedOthersAreWrittenAsTheyAre) {
    EXPECT_EQ(settings::RunCommandFor(Plain), Plain);
    EXPECT_EQ(settings::RunCommandFor(Blank), L"\"" + Blank + L"\"");
    EXPECT_EQ(settings::RunCommandFor(L"C:\\a\tb\\x.exe"), L"\"C:\\a\tb\\x.exe\"");
}

TEST(SettingsRunValue, OurPathPlainOrQuotedInAnyCaseIsOurs) {
    using settings::IsOurRunValue;
    EXPECT_TRUE(IsOurRunValue(Text(Plain), Plain));
    EXPECT_TRUE(IsOurRunValue(Text(L"c:\\TOOLS\\tintsnatch4.EXE"), Plain));
    EXPECT_TRUE(IsOurRunValue(Text(L"\"" + Blank + L"\""), Blank));
    EXPECT_TRUE(IsOurRunValue(Text(Blank), Blank)) << "written by an older version";
    EXPECT_TRUE(IsOurRunValue(Text(L"\"" + Plain + L"\""), Plain));
    EXPECT_FALSE(IsOurRunValue(Text(Plain + L" /min"), Plain)) << "arguments added";
    EXPECT_FALSE(IsOurRunValue(Text(L"D:\\Old\\Tintsnatch4.exe"), Plain)) << "moved";
    EXPECT_FALSE(IsOurRunValue(Text(L"\"" + Plain), Plain));
    EXPECT_FALSE(IsOurRunValue(Text(L""), Plain));
    EXPECT_FALSE(IsOurRunValue({RunValue::Type::Missing, {}}, Plain));
    EXPECT_FALSE(IsOurRunValue({RunValue::Type::Other, {}}, Plain))
        << "a value that is not text is not ours";
}

class SettingsStartup : public testing::Test {
  protected:
    fakes::RunKeyStore store, user;  // the machine-wide Run key and the user's
    std::vector<std::wstring> shown;
    settings::StartupRegistration Registration(const std::wstring& exe = Blank) {
        return settings::StartupRegistration(store, user, Name, exe,
                                             [this](const std::wstring& t) { shown.push_back(t); });
    }
};

TEST_F(SettingsStartup, ReadingOpensTheKeyForReadingOnly) {
    store.refuseFull = true;  // a user without write rights
    store.values[Name] = Text(L"\"" + Blank + L"\"");
    EXPECT_TRUE(Registration().ReadState());
    EXPECT_TRUE(shown.empty());
    EXPECT_EQ(store.opens, std::vector<settings::RunKeyAccess>{settings::RunKeyAccess::Read});
}

TEST_F(SettingsStartup, ReadingWhenTheKeyIsMissingOrUnreadable) {
    store.keyExists = false;
    EXPECT_FALSE(Registration().ReadState());
    EXPECT_TRUE(shown.empty()) << "a missing Run key just means not registered";
    store.keyExists = true;
    store.refuseRead = true;
    EXPECT_FALSE(Registration().ReadState());
    EXPECT_EQ(shown, std::vector<std::wstring>{L"Error opening registry key."});
}

TEST_F(SettingsStartup, ValueThatIsNotTextReadsAsNotRegistered) {
    store.values[Name] = {RunValue::Type::Other, {}};
    EXPECT_FALSE(Registration().ReadState());
    EXPECT_TRUE(shown.empty());
}

TEST_F(SettingsStartup, TickingWritesOurPathAndUntickingDeletesIt) {
    auto reg = Registration();
    bool checked = false;
    reg.Toggle(checked);
    EXPECT_TRUE(checked);
    EXPECT_EQ(store.values[Name].text, L"\"" + Blank + L"\"");
    EXPECT_EQ(store.opens.back(), settings::RunKeyAccess::Full);
    reg.Toggle(checked);
    EXPECT_FALSE(checked);
    EXPECT_EQ(store.values.count(Name), 0u);
    EXPECT_TRUE(shown.empty());
}

TEST_F(SettingsStartup, EntryTurnedOffInWindowsListShowsUntickedAndTickingTurnsItOn) {
    store.values[Name] = Text(Blank);
    store.approvals[Name] = {3, 0, 0, 0};  // short: not the layout we know
    EXPECT_TRUE(Registration().ReadState());
    store.approvals[Name] = {3, 0, 0, 0, 0xd4, 0x0d, 0x43, 0x8d, 0xc8, 0x3b, 0xd9, 1};
    bool checked = Registration().ReadState();
    EXPECT_FALSE(checked) << "as Task Manager leaves it, Windows will not start it";
    Registration().Toggle(checked);
    EXPECT_TRUE(checked);
    EXPECT_FALSE(store.approvals[Name]) << "turned on there too";
}

TEST_F(SettingsStartup, TickingOverwritesAValueFromAnOldLocation) {
    store.values[Name] = Text(L"D:\\Old\\Tintsnatch4.exe");
    bool checked = Registration(Plain).ReadState();
    EXPECT_FALSE(checked);
    Registration(Plain).Toggle(checked);
    EXPECT_EQ(store.values[Name].text, Plain);
}

TEST_F(SettingsStartup, UntickingAValueSomeoneElseRemovedSaysSo) {
    bool checked = true;
    Registration().Toggle(checked);
    EXPECT_FALSE(checked);
    EXPECT_EQ(shown, std::vector<std::wstring>{L"Failed to delete value from registry."});
}

TEST_F(SettingsStartup, KeyRefusedLeavesTheRegistryAndTheCheckMarkShowsIt) {
    store.refuseFull = true;
    store.values[Name] = Text(Blank);
    bool checked = true;
    Registration().Toggle(checked);
    EXPECT_TRUE(checked) << "still registered";
    EXPECT_EQ(store.values[Name].text, Blank);
    EXPECT_EQ(shown, std::vector<std::wstring>{L"Error opening registry key."});
}

TEST_F(SettingsStartup, WriteRefusedIsAnErrorAndTheCheckMarkStaysOn) {
    store.failWrite = true;
    bool checked = false;
    try {
        Registration().Toggle(checked);
        FAIL() << "no error";
    } catch (const win::Error& e) {
        EXPECT_EQ(e.Text(), L"Failed to set data for 'Tintsnatch4'");
    }
    EXPECT_TRUE(checked);
}

TEST(SettingsSingleInstance, FileNameOfAPath) {
    using settings::FileNameOf;
    EXPECT_EQ(FileNameOf(L"C:\\Program Files\\T\\Tintsnatch4.exe"), L"Tintsnatch4.exe");
    EXPECT_EQ(FileNameOf(L"C:/x/y.exe"), L"y.exe");
    EXPECT_EQ(FileNameOf(L"C:y.exe"), L"y.exe");
    EXPECT_EQ(FileNameOf(L"y.exe"), L"y.exe");
    EXPECT_EQ(FileNameOf(L"C:\\dir\\"), L"");
}

TEST(SettingsSingleInstance, EachOtherProcessOfOurNameIsReportedOnce) {
    fakes::ProcessList processes;
    processes.list = std::vector<settings::ProcessEntry>{{4, L"System"},
                                                         {100, L"Tintsnatch4.exe"},
                                                         {200, L"explorer.exe"},
                                                         {300, L"Tintsnatch4.exe"},
                                                         {400, L"tintsnatch4.exe"},
                                                         {500, L"Tintsnatch4.exe"}};
    int reports = 0;
    EXPECT_TRUE(
        settings::FindOtherInstances(processes, L"Tintsnatch4.exe", 300, [&] { ++reports; }));
    EXPECT_EQ(reports, 2) << "100 and 500; our own pid and another letter case do not count";
}

TEST(SettingsSingleInstance, OnlyCopiesInOurOwnSessionCount) {
    fakes::ProcessList processes;
    processes.list = std::vector<settings::ProcessEntry>{
        {1, L"Tintsnatch4.exe"}, {2, L"Tintsnatch4.exe"}, {3, L"Tintsnatch4.exe"}};
    processes.sessions = {{1, 1}, {2, 2}, {3, 1}};
    int reports = 0;
    settings::FindOtherInstances(processes, L"Tintsnatch4.exe", 1, [&] { ++reports; });
    EXPECT_EQ(reports, 1) << "3 only: another user's copy in session 2 is theirs";
}

TEST(SettingsSingleInstance, TheSessionsNameDecidesAlsoForACopyWhoseSessionCannotBeRead) {
    fakes::ProcessList processes;  // 2 runs elevated: its session cannot be read
    processes.list = std::vector<settings::ProcessEntry>{{1, L"T.exe"}, {2, L"T.exe"}};
    processes.sessions = {{1, 1}};
    int reports = 0;
    for (auto claim : {settings::SessionClaim::Taken, settings::SessionClaim::Ours})
        settings::FindOtherInstances(claim, processes, L"T.exe", 1, [&] { ++reports; });
    EXPECT_EQ(reports, 1) << "where 2 holds the name; where we made it, one started with us yields";
}

TEST(SettingsSingleInstance, AloneOrWithoutAListNothingIsReported) {
    fakes::ProcessList processes;
    int reports = 0;
    EXPECT_FALSE(settings::FindOtherInstances(processes, L"Tintsnatch4.exe", 1, [&] { ++reports; }))
        << "the list could not be had";
    processes.list = std::vector<settings::ProcessEntry>{{7, L"Tintsnatch4.exe"},
                                                         {8, L"Copy of Tintsnatch4.exe"}};
    EXPECT_TRUE(settings::FindOtherInstances(processes, L"Tintsnatch4.exe", 7, [&] { ++reports; }));
    processes.list = std::vector<settings::ProcessEntry>{};
    EXPECT_FALSE(
        settings::FindOtherInstances(processes, L"Tintsnatch4.exe", 7, [&] { ++reports; }));
    EXPECT_EQ(reports, 0);
}

}  // namespace
