// The tray icon's record for old and new shells, tip cutting, the CR/LF rule and the callback
// dispatch table.
#include <gtest/gtest.h>

#include "tray/TrayLogic.h"

using namespace tray;

namespace {
constexpr std::uint32_t Shell472 = 0x00040048;  // 4.72: the original record
constexpr std::uint32_t Shell5 = 0x00050000;
constexpr std::uint32_t Shell6 = 0x00060001;
}  // namespace

TEST(TrayShellVersion, VersionFiveStartsAbove0x4FFFF) {
    EXPECT_FALSE(IsShell5(0));
    EXPECT_FALSE(IsShell5(Shell472));
    EXPECT_FALSE(IsShell5(0x0004FFFF));
    EXPECT_TRUE(IsShell5(Shell5));
    EXPECT_TRUE(IsShell5(Shell6));
}

TEST(TrayShellVersion, AFailedReadIsTriedAgainAndASuccessIsKept) {
    ShellVersionCache cache;
    int reads = 0;
    std::uint32_t answer = 0;
    auto read = [&] {
        ++reads;
        return answer;
    };
    EXPECT_EQ(cache.Get(read), 0u);
    EXPECT_EQ(cache.Get(read), 0u);
    EXPECT_EQ(reads, 2);
    answer = Shell6;
    EXPECT_EQ(cache.Get(read), Shell6);
    answer = Shell472;
    EXPECT_EQ(cache.Get(read), Shell6);
    EXPECT_EQ(reads, 3);
}

TEST(TrayRecord, SizeFollowsTheShellAndThePointerSize) {
    EXPECT_EQ(RecordSize(Shell6, 4), 488u);
    EXPECT_EQ(RecordSize(Shell5, 4), 488u);
    EXPECT_EQ(RecordSize(Shell472, 4), 88u);
    EXPECT_EQ(RecordSize(0, 4), 88u) << "an unreadable version counts as an old shell";
    EXPECT_EQ(RecordSize(Shell6, 8), 504u);
    EXPECT_EQ(RecordSize(Shell472, 8), 104u);
}

TEST(TrayRecord, ActivationOnANewShellAsksForVersionFourWithAllFourFlagsAndTheTipShown) {
    RecordFields r = ActivationRecord(Shell6, L"Tintsnatch 4|Colour picker", 4);
    EXPECT_EQ(r.size, 488u);
    EXPECT_EQ(r.id, 1u);
    EXPECT_EQ(r.callbackMessage, 0x0401u);
    EXPECT_EQ(r.flags, 0x97u) << "NIF_SHOWTIP, or version 4 hides the tip";
    EXPECT_EQ(r.tip, L"Tintsnatch 4");
    EXPECT_TRUE(r.setVersion);
    EXPECT_EQ(r.version, 4u);
}

TEST(TrayRecord, ActivationOnAnOldShellSetsNoVersion) {
    RecordFields r = ActivationRecord(Shell472, L"", 4);
    EXPECT_EQ(r.size, 88u);
    EXPECT_EQ(r.flags, 0x17u);
    EXPECT_EQ(r.tip, L"");
    EXPECT_FALSE(r.setVersion);
    EXPECT_EQ(r.version, 0u);
}

TEST(TrayRecord, TipRefreshDropsTheBalloonFlagAndKeepsTheRest) {
    RecordFields r = ActivationRecord(Shell6, L"", 8);
    RefreshTip(r, L"Tintsnatch 4", Shell6);
    EXPECT_EQ(r.flags, 0x87u);
    RecordFields old = ActivationRecord(Shell472, L"", 8);
    RefreshTip(old, L"Tintsnatch 4", Shell472);
    EXPECT_EQ(old.flags, 0x07u);
    EXPECT_EQ(r.tip, L"Tintsnatch 4");
    EXPECT_EQ(r.size, 504u);
    EXPECT_EQ(r.id, 1u);
    EXPECT_EQ(r.callbackMessage, 0x0401u);
}

TEST(TrayTip, TheShortPartIsCutTo127Or63Characters) {
    std::wstring exact127(127, L'a'), over127(128, L'b');
    EXPECT_EQ(TipText(exact127, Shell6), exact127);
    EXPECT_EQ(TipText(over127, Shell6), std::wstring(127, L'b'));
    EXPECT_EQ(TipText(std::wstring(63, L'c'), Shell472), std::wstring(63, L'c'));
    EXPECT_EQ(TipText(std::wstring(64, L'c'), Shell472), std::wstring(63, L'c'));
    // The cut applies to the short part, not to the whole hint.
    std::wstring longTail = L"short|" + std::wstring(300, L'x');
    EXPECT_EQ(TipText(longTail, Shell472), L"short");
    EXPECT_EQ(TipText(std::wstring(70, L'd') + L"|tail", Shell472), std::wstring(63, L'd'));
}

TEST(TrayTip, ShortHintEndsAtTheFirstBar) {
    EXPECT_EQ(ShortHint(L"a|b|c"), L"a");
    EXPECT_EQ(ShortHint(L"|long only"), L"");
    EXPECT_EQ(ShortHint(L"no bar"), L"no bar");
    EXPECT_EQ(ShortHint(L""), L"");
}

TEST(TrayTip, CuttingNeverLeavesHalfASurrogatePair) {
    // U+1F3A8 (artist palette) as a pair straddling the 63rd character.
    std::wstring hint = std::wstring(62, L'p') + L"\xD83C\xDFA8" + L"tail";
    std::wstring tip = TipText(hint, Shell472);
    EXPECT_EQ(tip, std::wstring(62, L'p'));
    std::wstring fits = std::wstring(61, L'p') + L"\xD83C\xDFA8";
    EXPECT_EQ(TipText(fits, Shell472), fits);
}

TEST(TrayHint, AnOldShellGetsADashForEachLineBreakPair) {
    EXPECT_EQ(HintForShell(L"Tintsnatch\r\n4", Shell472), L"Tintsnatch - 4");
    EXPECT_EQ(HintForShell(L"\r\na\r\n\r\n", Shell472), L" - a -  - ");
    // Only the pair counts: lone CR or LF, and LF CR, stay as they are.
    EXPECT_EQ(HintForShell(L"a\rb\nc\n\rd", Shell472), L"a\rb\nc\n\rd");
    EXPECT_EQ(HintForShell(L"a\r\r\nb", Shell472), L"a\r - b");
    EXPECT_EQ(HintForShell(L"ends with CR\r", Shell472), L"ends with CR\r");
}

TEST(TrayHint, ANewShellKeepsLineBreaks) {
    EXPECT_EQ(HintForShell(L"Tintsnatch\r\n4", Shell5), L"Tintsnatch\r\n4");
    EXPECT_EQ(HintForShell(L"", Shell6), L"");
}

TEST(TrayCallback, TheTableRoutesEachNotification) {
    struct Case {
        std::uint32_t lParam;
        CallbackAction action;
        TMouseButton button;
    } cases[] = {
        {0x0200, CallbackAction::TipRefresh, TMouseButton::mbLeft},
        {0x0205, CallbackAction::PopupMenu, TMouseButton::mbRight},
        {0x0401, CallbackAction::KeySelect, TMouseButton::mbLeft},
        {0x0203, CallbackAction::DoubleClick, TMouseButton::mbLeft},
        {0x0206, CallbackAction::DoubleClick, TMouseButton::mbRight},
        {0x0209, CallbackAction::DoubleClick, TMouseButton::mbMiddle},
    };
    for (const auto& c : cases) {
        CallbackRoute r = RouteCallback(c.lParam);
        EXPECT_EQ(r.action, c.action) << std::hex << c.lParam;
        if (c.action == CallbackAction::DoubleClick) {
            EXPECT_EQ(r.button, c.button) << c.lParam;
        }
    }
}

TEST(TrayCallback, PressesSingleReleasesAndUnknownNotificationsDoNothing) {
    for (std::uint32_t lp : {0x0201u, 0x0202u, 0x0204u, 0x0207u, 0x0208u})
        EXPECT_EQ(RouteCallback(lp).action, CallbackAction::None) << std::hex << lp;
    // Neighbours of routed values, a balloon notification, and a notification carrying the icon
    // identifier in its high word (the layout of a later notification version, not ours).
    for (std::uint32_t lp :
         {0x0000u, 0x01FFu, 0x020Au, 0x0400u, 0x0402u, 0x0405u, 0x00010203u, 0x00010205u})
        EXPECT_EQ(RouteCallback(lp).action, CallbackAction::None) << std::hex << lp;
}

TEST(TrayCallback, VersionFourTakesTheEventFromTheLowWordAndTheAnchorFromWParam) {
    // The anchor of an icon on a monitor left of the primary one, icon identifier 1.
    const std::uint64_t wp = 0x0096FF38;  // x = -200, y = 150
    const Callback c = DecodeCallback(wp, 0x0001007B, true);
    EXPECT_EQ(c.event, 0x007Bu);
    EXPECT_TRUE(c.hasAnchor);
    EXPECT_EQ(c.x, -200);
    EXPECT_EQ(c.y, 150);
    EXPECT_EQ(RouteCallback(c, true).action, CallbackAction::PopupMenu);
    // The right release before WM_CONTEXTMENU opens nothing, or the menu would open twice.
    EXPECT_EQ(RouteCallback(DecodeCallback(wp, 0x00010205, true), true).action,
              CallbackAction::None);
    EXPECT_EQ(RouteCallback(DecodeCallback(wp, 0x00010401, true), true).action,
              CallbackAction::KeySelect);
    EXPECT_EQ(RouteCallback(DecodeCallback(wp, 0x00010203, true), true).action,
              CallbackAction::DoubleClick);
    // The earlier layout: lParam is the event, no anchor.
    const Callback old = DecodeCallback(1, 0x0205, false);
    EXPECT_FALSE(old.hasAnchor);
    EXPECT_EQ(RouteCallback(old, false).action, CallbackAction::PopupMenu);
}

TEST(TrayCallback, AMenuIsTheKeyboardsUnlessTheRightButtonsReleaseCameJustBefore) {
    EXPECT_TRUE(MenuByKeyboard(0x0401, 0x0205, true)) << "Enter or Space on the icon";
    EXPECT_TRUE(MenuByKeyboard(0x007B, 0, true)) << "Shift+F10 or the menu key";
    EXPECT_TRUE(MenuByKeyboard(0x007B, 0x0203, true));
    EXPECT_FALSE(MenuByKeyboard(0x007B, 0x0205, true)) << "a right-click";
    EXPECT_FALSE(MenuByKeyboard(0x0205, 0x0204, false)) << "a right-click, earlier layout";
}

TEST(TrayCallback, OneEnterOnTheIconActsOnce) {
    KeySelectGate gate(500);
    ASSERT_TRUE(gate.Accept(1000));
    EXPECT_FALSE(gate.Accept(1001)) << "the second while the menu is up";
    gate.Ended(9000);  // the menu stayed open a while
    EXPECT_FALSE(gate.Accept(9010)) << "the second just after it closed";
    EXPECT_TRUE(gate.Accept(9600)) << "a later Enter is the user's own";
}
