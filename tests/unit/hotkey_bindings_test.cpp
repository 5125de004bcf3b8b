// Which of the main window's global keys are registered over its life, and which command a
// press runs, against the fake hotkey platform; and what a key typed into a hotkey edit makes.
#include <gtest/gtest.h>

#include <optional>

#include "app/HotKeyBindings.h"
#include "hotkeys/KeyEntry.h"
#include "tests/unit/FakeHotKeyPlatform.h"

using hotkeys::CompleteShortcut;
using hotkeys::FakeHotKeyPlatform;
using hotkeys::HotKeyList;

namespace {
constexpr std::uint32_t F6 = 117, F7 = 118, F8 = 119, F9 = 120, F10 = 121, F11 = 122,
                        CtrlC = 0x4043;
constexpr BindingKeys Defaults{F9, F6, F7, F10, CtrlC, F8};

class Bindings : public testing::Test {
  protected:
    FakeHotKeyPlatform platform;
    int window = 0;
    std::optional<HotKeyList> list{std::in_place, platform, &window};
    HotKeyBindings bindings{*list};

    bool Held(std::uint32_t value) const {
        for (const auto& r : list->Registrations())
            if (r.Value == value) return true;
        return false;
    }
    std::vector<bool> HeldKeys() const {
        return {Held(F9),    Held(F6),  Held(F7),  Held(F10),
                Held(CtrlC), Held(107), Held(109), Held(F8)};
    }
    void TearDown() override {
        bindings.Unbind();
        list.reset();
        EXPECT_EQ(platform.AllReferences(), 0) << "every atom reference is given back";
    }
};
}  // namespace

TEST_F(Bindings, RegistrationAcrossCreateShowHideAndShowAgain) {
    using V = std::vector<bool>;
    bindings.Bind(Defaults);
    const V all(8, true);
    EXPECT_EQ(HeldKeys(), all) << "after create";
    bindings.Show(Defaults);
    EXPECT_EQ(HeldKeys(), all) << "after first show";
    std::uint16_t copyId = bindings.CopyKeyIndex;

    bindings.Hide(/*keepCopyKey=*/false);
    EXPECT_EQ(HeldKeys(), (V{true, true, true, true, false, false, false, false}))
        << "hidden, option off: the pick key goes with the copy key";
    bindings.Show(Defaults);
    EXPECT_EQ(HeldKeys(), all) << "shown again";

    bindings.Hide(/*keepCopyKey=*/true);
    EXPECT_EQ(HeldKeys(), (V{true, true, true, true, true, false, false, true}))
        << "hidden, option on";
    copyId = bindings.CopyKeyIndex;
    bindings.Show(Defaults);
    EXPECT_EQ(bindings.CopyKeyIndex, copyId) << "a kept copy key is not registered twice";
    EXPECT_EQ(list->Registrations().size(), 8u);
    EXPECT_EQ(bindings.Dispatch(bindings.PickKeyIndex), Binding::Pick);
    bindings.Move(Binding::Pick, F11);
    EXPECT_TRUE(Held(F11) && !Held(F8)) << "its edit moves it at once";
}

TEST_F(Bindings, ShowMovesUserBindingsToRestoredKeys) {
    bindings.Bind(Defaults);
    BindingKeys restored = Defaults;
    restored.Capture = 0x4000 | F9;  // Ctrl+F9 from the settings file
    bindings.Show(restored);
    EXPECT_TRUE(Held(0x4000 | F9));
    EXPECT_FALSE(Held(F9)) << "F9 goes back to other programs";
    EXPECT_EQ(bindings.Dispatch(bindings.CaptureKeyIndex), Binding::Capture);
}

TEST_F(Bindings, AnEditChangeMovesItsBindingAtOnce) {
    bindings.Bind(Defaults);
    std::uint16_t before = bindings.CaptureKeyIndex;
    bindings.Move(Binding::Capture, F11);
    EXPECT_TRUE(Held(F11));
    EXPECT_FALSE(Held(F9));
    EXPECT_NE(bindings.CaptureKeyIndex, 0);
    EXPECT_NE(bindings.CaptureKeyIndex, before);
    EXPECT_EQ(bindings.Dispatch(bindings.CaptureKeyIndex), Binding::Capture);
    EXPECT_EQ(bindings.Dispatch(before), std::nullopt);
}

TEST_F(Bindings, DuplicateKeysLeaveTheLaterBindingEmptyAndItCanBeRecovered) {
    bindings.Bind(Defaults);
    // Typing the show/hide key into "Exit program:" fails silently; F6 keeps toggling.
    bindings.Move(Binding::Exit, F6);
    EXPECT_EQ(bindings.ExitKeyIndex, 0);
    EXPECT_EQ(bindings.Dispatch(bindings.ShowHideKeyIndex), Binding::ShowHide);
    EXPECT_FALSE(Held(F10)) << "the old exit key was released";
    // Editing the empty binding again registers the new key.
    bindings.Move(Binding::Exit, F11);
    EXPECT_TRUE(Held(F11));
    EXPECT_EQ(bindings.Dispatch(bindings.ExitKeyIndex), Binding::Exit);
}

TEST_F(Bindings, AKeyHeldByAnotherProgramLeavesItsFieldZero) {
    platform.HeldElsewhere(F7);
    bindings.Bind(Defaults);
    EXPECT_EQ(bindings.FixedFollowKeyIndex, 0);
    EXPECT_NE(bindings.ExitKeyIndex, 0);
    EXPECT_EQ(bindings.Dispatch(0), std::nullopt) << "no field of 0 ever matches a press";
    // Shows keep trying: once the other program lets go, the binding comes back.
    std::uint16_t otherAtom = platform.held.front().Id;
    platform.Forget(otherAtom);
    platform.DeleteGlobalAtom(otherAtom);
    bindings.Show(Defaults);
    EXPECT_NE(bindings.FixedFollowKeyIndex, 0);
}

TEST_F(Bindings, DispatchTakesTheFirstMatchingFieldInTableOrder) {
    bindings.Bind(Defaults);
    EXPECT_EQ(bindings.Dispatch(bindings.CaptureKeyIndex), Binding::Capture);
    EXPECT_EQ(bindings.Dispatch(bindings.ZoomOutKeyIndex), Binding::ZoomOut);
    // Two fields holding the same identifier: the earlier binding in the table wins.
    bindings.ZoomInKeyIndex = bindings.CopyKeyIndex;
    EXPECT_EQ(bindings.Dispatch(bindings.CopyKeyIndex), Binding::Copy);
    EXPECT_EQ(bindings.Dispatch(0xFFFF), std::nullopt);
}

// A file of the version before the pick with show/hide on F8: that key wins and the pick has
// none; and two keys swapped in the file both move.
TEST_F(Bindings, TheFourKeepTheirKeysOverThePickAndSwappedKeysBothMove) {
    bindings.Bind(Defaults);
    BindingKeys restored = Defaults;
    restored.ShowHide = F8;
    std::swap(restored.Capture, restored.FixedFollow);
    const BindingKeys settled = HotKeyBindings::Settle(restored);
    EXPECT_EQ(settled.Pick, 0u);
    bindings.Show(settled);
    EXPECT_EQ(bindings.Dispatch(bindings.ShowHideKeyIndex), Binding::ShowHide);
    EXPECT_EQ(bindings.PickKeyIndex, 0);
    EXPECT_TRUE(Held(F8) && Held(F7) && Held(F9) && !Held(F6));
}

TEST_F(Bindings, AKeyAnEditAsksForInVainIsSaidToBeItsHolders) {
    bindings.Bind(Defaults);
    BindingKeys keys = Defaults;
    keys.Exit = F6;  // typed into "Exit program:": show/hide keeps it
    bindings.Move(Binding::Exit, F6);
    EXPECT_EQ(bindings.FirstContest(keys).value_or(HotKeyBindings::Contest{}).holder,
              Binding::ShowHide);
    keys.Capture = CtrlC;  // the copy binding's key
    bindings.Move(Binding::Capture, CtrlC);
    EXPECT_EQ(bindings.FirstContest(keys).value_or(HotKeyBindings::Contest{}).holder,
              Binding::Copy);
    bindings.Move(Binding::Pick, 0x4000);
    EXPECT_EQ(bindings.PickKeyIndex, 0) << "a value without a key registers nothing";
}

TEST(KeyEntry, OnlyACompleteKeyMakesAValueAndShiftAloneIsDropped) {
    EXPECT_EQ(CompleteShortcut({0x77, false, false, false}), 0x77);  // F8
    EXPECT_EQ(CompleteShortcut({0x77, true, false, false}), 0x77) << "Shift alone is no modifier";
    EXPECT_EQ(CompleteShortcut({0x7B, true, true, true}), 0xE07B);
    // Modifiers, either side's too, make nothing yet; nor do the keys left to the window.
    for (std::uint32_t vk : {0x10u, 0x11u, 0x12u, 0xA0u, 0xA5u, 0x09u, 0x1Bu, 0x20u, 0u, 0x100u})
        EXPECT_EQ(CompleteShortcut({vk, false, true, false}), std::nullopt) << vk;
    EXPECT_EQ(hotkeys::PendingModifiers(true, false, false), 0) << "Shift alone is not shown";
    EXPECT_EQ(hotkeys::PendingModifiers(true, true, false), 0x6000);
}
