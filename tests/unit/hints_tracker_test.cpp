// When hints show and hide, and which part of a hint shows.
#include <gtest/gtest.h>

#include "hints/HintTracker.h"

using namespace hints;
using Action = HintTracker::Action;

namespace {
constexpr HintTracker::Target A = 0x1000, B = 0x2000;
}

TEST(ShortHint, IsThePartBeforeTheFirstBar) {
    EXPECT_EQ(ShortHint(L"Cancel|Cancel screen capturing"), L"Cancel");
    EXPECT_EQ(ShortHint(L"Select format of color information"),
              L"Select format of color information");
    EXPECT_EQ(ShortHint(L"a|b|c"), L"a");
    EXPECT_EQ(ShortHint(L"|only long"), L"");
    EXPECT_EQ(ShortHint(L""), L"");
}

TEST(HintTimes, FollowTheDoubleClickTimeAsTooltipsDo) {
    HintTimes t = TooltipTimes(500);
    EXPECT_EQ(t.pause, 500u);
    EXPECT_EQ(t.reshowPause, 100u);
    EXPECT_EQ(t.hidePause, 5000u);
}

TEST(HintTracker, ShowsAfterThePauseAndHidesAfterTheHidePause) {
    HintTracker t;
    EXPECT_EQ(t.Update(1000, A, false), Action::None);
    EXPECT_EQ(t.Update(1499, A, false), Action::None);
    EXPECT_EQ(t.Update(1500, A, false), Action::Show);
    EXPECT_TRUE(t.Showing());
    EXPECT_EQ(t.Update(1550, A, false), Action::None);
    EXPECT_EQ(t.Update(6499, A, false), Action::None);
    EXPECT_EQ(t.Update(6500, A, false), Action::Hide);
    EXPECT_FALSE(t.Showing());
    // Resting on the same control does not bring it back.
    EXPECT_EQ(t.Update(20000, A, false), Action::None);
    // Another control does, after the full pause (no hint was showing).
    EXPECT_EQ(t.Update(20050, B, false), Action::None);
    EXPECT_EQ(t.Update(20549, B, false), Action::None);
    EXPECT_EQ(t.Update(20550, B, false), Action::Show);
}

TEST(HintTracker, LeavingTheControlHidesAtOnceAndRestartsThePause) {
    HintTracker t;
    t.Update(0, A, false);
    ASSERT_EQ(t.Update(500, A, false), Action::Show);
    EXPECT_EQ(t.Update(600, 0, false), Action::Hide);
    EXPECT_EQ(t.Update(700, 0, false), Action::None);
    EXPECT_EQ(t.Update(800, A, false), Action::None);
    EXPECT_EQ(t.Update(1299, A, false), Action::None);
    EXPECT_EQ(t.Update(1300, A, false), Action::Show);
}

TEST(HintTracker, FromOneShownHintToTheNextControlTheShortPause) {
    HintTracker t;
    t.Update(0, A, false);
    ASSERT_EQ(t.Update(500, A, false), Action::Show);
    EXPECT_EQ(t.Update(700, B, false), Action::Hide);
    EXPECT_EQ(t.Update(799, B, false), Action::None);
    EXPECT_EQ(t.Update(800, B, false), Action::Show);
}

TEST(HintTracker, MovingOnBeforeThePauseStartsItAgain) {
    HintTracker t;
    t.Update(0, A, false);
    EXPECT_EQ(t.Update(300, B, false), Action::None);
    EXPECT_EQ(t.Update(700, B, false), Action::None);
    EXPECT_EQ(t.Update(800, B, false), Action::Show);
}

TEST(HintTracker, AMouseButtonEndsTheHintUntilAnotherControl) {
    HintTracker t;
    t.Update(0, A, false);
    EXPECT_EQ(t.Update(200, A, true), Action::None);  // pressed while waiting: no hint
    EXPECT_EQ(t.Update(2000, A, false), Action::None);
    t.Update(2100, B, false);
    ASSERT_EQ(t.Update(2600, B, false), Action::Show);
    EXPECT_EQ(t.Update(2700, B, true), Action::Hide);
    EXPECT_EQ(t.Update(9000, B, false), Action::None);
}

TEST(HintTracker, CancelHidesUntilTheTargetChanges) {
    HintTracker t;
    t.Update(0, A, false);
    ASSERT_EQ(t.Update(500, A, false), Action::Show);
    t.Cancel();
    EXPECT_FALSE(t.Showing());
    EXPECT_EQ(t.Update(600, A, false), Action::None);
    EXPECT_EQ(t.Update(5000, A, false), Action::None);
    EXPECT_EQ(t.Update(5100, 0, false), Action::None);  // nothing showing: nothing to hide
    t.Update(5200, A, false);
    EXPECT_EQ(t.Update(5700, A, false), Action::Show);
}

TEST(HintTracker, SurvivesTheTickCountWrapping) {
    HintTracker t;
    const unsigned start = 0xFFFFFF00u;
    t.Update(start, A, false);
    EXPECT_EQ(t.Update(start + 499u, A, false), Action::None);
    EXPECT_EQ(t.Update(start + 500u, A, false), Action::Show);  // wrapped past zero
    EXPECT_EQ(t.Update(start + 5499u, A, false), Action::None);
    EXPECT_EQ(t.Update(start + 5500u, A, false), Action::Hide);
}
