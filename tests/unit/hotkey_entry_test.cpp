// What a key pressed in a hotkey edit makes of its value: complete keys only, by the edits' rule.
#include <gtest/gtest.h>

#include "hotkeys/KeyEntry.h"

using hotkeys::CompleteShortcut;
using hotkeys::PendingModifiers;

TEST(KeyEntry, OnlyACompleteKeyMakesAValueAndShiftAloneIsDropped) {
    constexpr std::uint32_t F8 = 0x77, F12 = 0x7B, A = 0x41;
    EXPECT_EQ(CompleteShortcut({F8, false, false, false}), 0x77);
    EXPECT_EQ(CompleteShortcut({F8, true, false, false}), 0x77) << "Shift alone is no modifier";
    EXPECT_EQ(CompleteShortcut({F8, false, true, false}), 0x4077);
    EXPECT_EQ(CompleteShortcut({F12, true, true, true}), 0xE07B);
    EXPECT_EQ(CompleteShortcut({A, true, false, true}), 0xA041);
    // Modifiers, either side's too, make nothing yet; nor do the keys left to the window.
    for (std::uint32_t vk : {0x10u, 0x11u, 0x12u, 0xA0u, 0xA3u, 0xA5u, 0x09u, 0x1Bu, 0x0Du, 0x20u,
                             0x08u, 0x2Eu, 0u, 0x100u})
        EXPECT_EQ(CompleteShortcut({vk, false, true, false}), std::nullopt) << vk;

    EXPECT_EQ(PendingModifiers(true, false, false), 0) << "Shift alone is not shown";
    EXPECT_EQ(PendingModifiers(false, true, false), 0x4000);
    EXPECT_EQ(PendingModifiers(true, true, true), 0xE000);
    EXPECT_EQ(PendingModifiers(false, false, false), 0);
}
