// The keys of the overlays and the countdown, held as hotkeys while they show: which keys, which
// repeat, and that each press acts once whether it comes as a hotkey or as a key-down.
#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <set>

#include "access/OverlayNames.h"
#include "capture/OverlayKeys.h"

using namespace overlaykeys;

namespace {
// Holds what it is given, as the platform does, but refuses the keys another program holds.
class FakeHolder : public IKeyHolder {
  public:
    std::set<unsigned> heldElsewhere;
    std::map<std::uint16_t, std::pair<Chord, bool>> held;  // id: key, repeats
    bool Hold(std::uint16_t id, const Chord& chord, bool repeats) override {
        if (heldElsewhere.count(chord.key) || held.count(id)) return false;
        held[id] = {chord, repeats};
        return true;
    }
    void Release(std::uint16_t id) override { EXPECT_EQ(held.erase(id), 1u) << "released twice"; }
};
}  // namespace

TEST(OverlayKeys, TheOverlayHoldsItsKeysAndEachPressActsOnceByWhicheverMessage) {
    FakeHolder holder;
    {
        KeyRoute route(holder, KeysOf(Taker::Overlay));
        ASSERT_EQ(holder.held.size(), 11u)
            << "four arrows with and without Shift, Enter, Space, Esc";
        for (const auto& [id, key] : holder.held) {
            EXPECT_EQ(route.FromHotKey(id), key.first);
            EXPECT_EQ(key.second, key.first.key != VkReturn && key.first.key != VkSpace &&
                                      key.first.key != VkEscape)
                << "only the arrows repeat, key " << key.first.key;
        }
        EXPECT_EQ(route.FromHotKey(0), std::nullopt);
        EXPECT_EQ(route.FromHotKey(12), std::nullopt);
        EXPECT_EQ(route.FromHotKey(0xFFFE), std::nullopt) << "the platform's own hotkey ids";
        // In front, a held key arrives as a hotkey: its key-down, should it come too, does nothing.
        EXPECT_EQ(route.FromKeyDown(VkRight, {}), std::nullopt);
        EXPECT_EQ(route.FromKeyDown(VkRight, {.shift = true}), std::nullopt);
        EXPECT_EQ(route.FromKeyDown(VkEscape, {}), std::nullopt);
        // Combinations no hotkey holds come as key-downs alone, and act as the plain key.
        EXPECT_EQ(route.FromKeyDown(VkRight, {.control = true}), (Chord{VkRight, false}));
        EXPECT_EQ(route.FromKeyDown(VkReturn, {.shift = true}), (Chord{VkReturn, true}));
        EXPECT_EQ(route.FromKeyDown('A', {}), (Chord{'A', false}));
    }
    EXPECT_TRUE(holder.held.empty()) << "every key released on the way out";
}

TEST(OverlayKeys, AKeyAnotherProgramHoldsStillWorksAsAKeyDownInFront) {
    FakeHolder holder;
    holder.heldElsewhere = {VkSpace};
    KeyRoute route(holder, KeysOf(Taker::Overlay));
    EXPECT_FALSE(route.Holds({VkSpace, false}));
    EXPECT_EQ(route.FromKeyDown(VkSpace, {}), (Chord{VkSpace, false}));
    for (std::uint16_t id = 1; id <= 11; ++id)
        EXPECT_NE(route.FromHotKey(id), (std::optional<Chord>{Chord{VkSpace, false}}));
}

TEST(OverlayKeys, TheCountdownTakesEscAloneSoTheUsersMenuKeepsTheRest) {
    FakeHolder holder;
    KeyRoute route(holder, KeysOf(Taker::Countdown));
    ASSERT_EQ(holder.held.size(), 1u);
    EXPECT_EQ(holder.held.begin()->second.first, (Chord{VkEscape, false}));
    EXPECT_FALSE(holder.held.begin()->second.second) << "Esc does not repeat";
}

TEST(OverlayNames, SayTheSecondsTheColourAndPointAndTheSizeDrawn) {
    EXPECT_EQ(a11y::CountdownName(3), L"Capture in 3 seconds");
    EXPECT_EQ(a11y::CountdownName(1), L"Capture in 1 second");
    EXPECT_EQ(a11y::LoupeName(L"#FF8000", -20, 157), L"Pick precisely: #FF8000, at -20, 157");
    EXPECT_EQ(a11y::SelectionName(0, 0), L"Select an area to capture");
    EXPECT_EQ(a11y::SelectionName(200, 0), L"Select an area to capture") << "a line is no area";
    EXPECT_EQ(a11y::SelectionName(200, 150), L"Select an area to capture: 200 x 150");
}
