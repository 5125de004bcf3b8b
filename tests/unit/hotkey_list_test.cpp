// The hotkey registration list against a fake platform that keeps a global atom table with
// reference counts and refuses a key combination that anyone holds already, as the real one does.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "hotkeys/HotKeyList.h"
#include "tests/unit/FakeHotKeyPlatform.h"

using namespace hotkeys;

namespace {

class HotKeyListTest : public testing::Test {
  protected:
    // After the list has gone, every atom reference it took is back and nothing of ours is
    // registered, whatever path the test went.
    void TearDown() override {
        list.reset();
        int others = 0;
        for (const auto& h : fake.held) {
            EXPECT_NE(h.Window, Window()) << "registration " << h.Id << " outlived the list";
            ++others;
        }
        EXPECT_EQ(fake.AllReferences(), others);
        EXPECT_EQ(fake.deletesOfUnknownAtoms, 0);
    }
    WindowRef Window() { return &window; }
    static std::intptr_t HotKeyParam(std::uint16_t modifiers, std::uint16_t key) {
        return static_cast<std::intptr_t>(modifiers | (static_cast<std::uint32_t>(key) << 16));
    }

    int window = 0;
    FakeHotKeyPlatform fake;
    std::unique_ptr<HotKeyList> list = std::make_unique<HotKeyList>(fake, &window);
};

}  // namespace

TEST(HotKeyEncoding, SplitsModifierBitsIntoPlatformFlags) {
    EXPECT_EQ(SplitShortcut(117), (SplitKey{0x0000, 0x75}));
    EXPECT_EQ(SplitShortcut(16451), (SplitKey{ModControl, 0x43}));
    EXPECT_EQ(SplitShortcut(0xE041), (SplitKey{ModAlt | ModControl | ModShift, 0x41}));
    EXPECT_EQ(SplitShortcut(0x10041), (SplitKey{ModWin, 0x41}));
    // Bits 8-12 and 17-31 are no modifiers and no part of the key.
    EXPECT_EQ(SplitShortcut(0xFFFE1F41), (SplitKey{0x0000, 0x41}));
}

TEST(HotKeyEncoding, RebuildsTheValueFromAHotKeyMessage) {
    EXPECT_EQ(ShortcutFromHotKeyParam(0x00410003), 0xC041u);
    EXPECT_EQ(ShortcutFromHotKeyParam(0x00410008), 0x10041u);
    EXPECT_EQ(ShortcutFromHotKeyParam(0x00750004), 0x2075u);
    EXPECT_EQ(ShortcutFromHotKeyParam(0x0075000F), 0x1E075u);
    for (std::uint32_t value : {0x75u, 0x4043u, 0xE041u, 0x10041u, 0x1E06Bu}) {
        SplitKey k = SplitShortcut(value);
        EXPECT_EQ(ShortcutFromHotKeyParam(k.Modifiers | (k.Key << 16)), value) << value;
    }
}

TEST(HotKeyEncoding, AtomTextIsThePrefixAndTheUnsignedDecimalValue) {
    EXPECT_EQ(AtomText(117), "HotKeyManagerHotKey117");
    EXPECT_EQ(AtomText(16451), "HotKeyManagerHotKey16451");
    EXPECT_EQ(AtomText(0x10041), "HotKeyManagerHotKey65601");
    EXPECT_EQ(AtomText(0), "HotKeyManagerHotKey0");
    EXPECT_EQ(AtomText(0xFFFFFFFF), "HotKeyManagerHotKey4294967295");
}

TEST_F(HotKeyListTest, RegistersTheSplitKeysUnderTheAtomOfTheValue) {
    std::uint16_t f6 = list->Register(117);
    std::uint16_t ctrlC = list->Register(16451);
    ASSERT_TRUE(f6 && ctrlC && f6 != ctrlC);
    EXPECT_EQ(fake.References("HotKeyManagerHotKey117"), 1);
    EXPECT_EQ(fake.References("HotKeyManagerHotKey16451"), 1);
    EXPECT_EQ(fake.held, (std::vector<FakeHotKeyPlatform::Held>{
                             {Window(), f6, 0, 0x75}, {Window(), ctrlC, ModControl, 0x43}}));
    EXPECT_EQ(list->Registrations(), (std::vector<Registration>{{117, f6}, {16451, ctrlC}}));
}

TEST_F(HotKeyListTest, ASecondRegisterOfAValueIsRefusedAndTheFirstStaysInForce) {
    std::uint16_t first = list->Register(0x4043);
    ASSERT_NE(first, 0);
    EXPECT_EQ(list->Register(0x4043), 0);
    EXPECT_EQ(list->Registrations(), (std::vector<Registration>{{0x4043, first}}));
    EXPECT_EQ(fake.References(AtomText(0x4043)), 1);
    EXPECT_EQ(list->PressFromMessage(first, HotKeyParam(ModControl, 0x43)),
              (HotKeyPress{0x4043, first}));
    EXPECT_TRUE(list->UnregisterIndex(first));
}

TEST_F(HotKeyListTest, ACombinationHeldByAnotherProgramIsRefused) {
    fake.HeldElsewhere(0x8073);  // holds a reference on the same atom text, too
    EXPECT_EQ(list->Register(0x8073), 0);
    EXPECT_TRUE(list->Registrations().empty());
    EXPECT_EQ(fake.References(AtomText(0x8073)), 1);

    fake.unacceptable.insert({0, 0x90});
    EXPECT_EQ(list->Register(0x90), 0);
    EXPECT_EQ(fake.References(AtomText(0x90)), 0);
}

TEST_F(HotKeyListTest, NoAtomMeansNoRegistration) {
    fake.refuseAtoms = true;
    EXPECT_EQ(list->Register(0x75), 0);
    EXPECT_EQ(fake.log, std::vector<std::string>{"add HotKeyManagerHotKey117"});
}

TEST_F(HotKeyListTest, ReplaceOfAnIdentifierNotHeldChangesNothing) {
    std::uint16_t f6 = list->Register(117);
    fake.log.clear();
    EXPECT_EQ(list->Replace(0, 118), 0);
    EXPECT_EQ(list->Replace(static_cast<std::uint16_t>(f6 + 1), 118), 0);
    EXPECT_TRUE(fake.log.empty());
    EXPECT_EQ(list->Registrations(), (std::vector<Registration>{{117, f6}}));
}

TEST_F(HotKeyListTest, ReplaceOntoARefusedValueLeavesNeitherValue) {
    std::uint16_t old = list->Register(0x78);
    fake.HeldElsewhere(0x79);
    EXPECT_EQ(list->Replace(old, 0x79), 0);
    EXPECT_TRUE(list->Registrations().empty());
    EXPECT_EQ(fake.held.size(), 1u);  // only the other program's
    EXPECT_EQ(fake.References(AtomText(0x78)), 0);
}

TEST_F(HotKeyListTest, ReplaceWithTheSameValueRegistersItAfresh) {
    // The old registration must end first, or the platform would refuse the value as held.
    std::uint16_t old = list->Register(0x4043);
    fake.log.clear();
    std::uint16_t fresh = list->Replace(old, 0x4043);
    ASSERT_NE(fresh, 0);
    EXPECT_EQ(list->Registrations(), (std::vector<Registration>{{0x4043, fresh}}));
    EXPECT_EQ(fake.Log("unregister"),
              std::vector<std::string>{"unregister " + std::to_string(old)});
    EXPECT_EQ(fake.References(AtomText(0x4043)), 1);
}

TEST_F(HotKeyListTest, UnregisterFindsTheFirstExactMatch) {
    std::uint16_t a = list->Register(0x41);
    std::uint16_t winA = list->Register(0x10041);
    fake.log.clear();
    EXPECT_FALSE(list->UnregisterValue(0x20041));  // all 32 bits count
    EXPECT_FALSE(list->UnregisterIndex(0));
    EXPECT_TRUE(fake.log.empty());

    EXPECT_TRUE(list->UnregisterValue(0x10041));
    EXPECT_EQ(fake.Log("unregister"),
              std::vector<std::string>{"unregister " + std::to_string(winA)});
    EXPECT_EQ(list->Registrations(), (std::vector<Registration>{{0x41, a}}));
    EXPECT_FALSE(list->UnregisterValue(0x10041));
}

TEST_F(HotKeyListTest, AnUnconfirmedUnregistrationStillEndsTheEntry) {
    std::uint16_t id = list->Register(0x75);
    fake.Forget(id);
    EXPECT_FALSE(list->UnregisterIndex(id));
    EXPECT_TRUE(list->Registrations().empty());
    EXPECT_EQ(fake.References(AtomText(0x75)), 0);
}

TEST_F(HotKeyListTest, UnregisterAllAndDestructionEndTheLastMadeFirst) {
    auto registerThree = [&](std::vector<std::uint32_t> values) {
        std::vector<std::string> lastFirst;
        for (std::uint32_t v : values)
            lastFirst.insert(lastFirst.begin(), "unregister " + std::to_string(list->Register(v)));
        fake.log.clear();
        return lastFirst;
    };
    auto expected = registerThree({0x75, 0x76, 0x78});
    list->UnregisterAll();
    EXPECT_TRUE(list->Registrations().empty());
    EXPECT_EQ(fake.Log("unregister"), expected);

    expected = registerThree({0x4043, 0x79, 0x6B});
    list.reset();
    EXPECT_EQ(fake.Log("unregister"), expected);
}

TEST_F(HotKeyListTest, AMessageIsAPressOnlyWhenItsValueIsRegistered) {
    std::uint16_t ctrlA = list->Register(0x4041);
    EXPECT_EQ(list->PressFromMessage(ctrlA, HotKeyParam(ModAlt | ModControl, 0x41)), std::nullopt);

    std::uint16_t ctrlAltA = list->Register(0xC041);
    // The identifier comes from the low word of wParam, whatever the rest holds.
    std::uintptr_t wParam = 0xABCD0000u | ctrlAltA;
    EXPECT_EQ(list->PressFromMessage(wParam, HotKeyParam(ModAlt | ModControl, 0x41)),
              (HotKeyPress{0xC041, ctrlAltA}));
    EXPECT_EQ(list->PressFromMessage(ctrlA, HotKeyParam(ModControl, 0x41)),
              (HotKeyPress{0x4041, ctrlA}));
}
