// Shortcut texts and the module state against a fake keyboard whose key names depend on the
// active layout, as the platform's do.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "hotkeys/ShortcutText.h"

using namespace hotkeys;

namespace {

struct Layout {
    std::map<std::uint32_t, std::uint32_t> Scans;  // virtual key -> scan code
    std::map<std::int32_t, std::string> Names;     // key-name parameter -> name
};

std::int32_t Param(std::uint32_t scan, bool extended = false) {
    return static_cast<std::int32_t>((scan << 16) | (extended ? 1u << 24 : 0u));
}

Layout MakeLayout(const std::string& shift, const std::string& ctrl, const std::string& alt,
                  const std::string& del) {
    Layout l;
    l.Scans = {{0x10, 0x2A}, {0x11, 0x1D}, {0x12, 0x38}, {0x41, 0x1E}, {0x2E, 0x53}};
    l.Names = {{Param(0x2A), shift}, {Param(0x1D), ctrl},      {Param(0x38), alt},
               {Param(0x1E), "A"},   {Param(0x53, true), del}, {Param(0x53), "Num Del"}};
    return l;
}

class FakeKeyboard : public IKeyboardPlatform {
  public:
    int us = 0, de = 0, caps = 0;  // their addresses are the layout handles
    LayoutRef Us() { return &us; }
    LayoutRef De() { return &de; }
    LayoutRef Caps() { return &caps; }

    FakeKeyboard() {
        layouts[Us()] = MakeLayout("Shift", "Ctrl", "Alt", "Delete");
        layouts[De()] = MakeLayout("Umschalt", "Strg", "Alt", "Entf");
        layouts[Caps()] = MakeLayout("MAJ", "CTRL", "ALT", "SUPPR");
    }

    std::uint32_t ScanCode(std::uint32_t key) override { return ScanCodeIn(key, active); }
    std::uint32_t ScanCodeIn(std::uint32_t key, LayoutRef layout) override {
        auto& scans = layouts.at(layout ? layout : active).Scans;
        auto it = scans.find(key);
        return it == scans.end() ? 0 : it->second;
    }
    std::string KeyName(std::int32_t param) override {
        nameParams.push_back(param);
        auto& names = layouts.at(active).Names;
        auto it = names.find(param);
        return it == names.end() ? "" : it->second;
    }
    LayoutRef ActiveLayout() override { return active; }
    LayoutRef ActivateLayout(LayoutRef layout) override {
        ++activations;
        LayoutRef previous = active;
        active = layout;
        return previous;
    }
    std::vector<LayoutRef> InstalledLayouts(int limit) override {
        listLimit = limit;
        return installed;
    }
    LayoutRef LoadLayout(const std::string& id, std::uint32_t flags) override {
        loadedId = id;
        loadFlags = flags;
        return loadFails ? nullptr : Us();
    }
    void UnloadLayout(LayoutRef layout) override { unloaded.push_back(layout); }

    std::map<LayoutRef, Layout> layouts;
    LayoutRef active = nullptr;
    std::vector<LayoutRef> installed;
    std::vector<std::int32_t> nameParams;
    std::vector<LayoutRef> unloaded;
    std::string loadedId;
    std::uint32_t loadFlags = 0;
    int listLimit = 0;
    int activations = 0;
    bool loadFails = false;
};

class HotKeyTextTest : public testing::Test {
  protected:
    void UserHas(std::vector<LayoutRef> installed) {
        kb.installed = installed;
        kb.active = installed.front();
    }
    FakeKeyboard kb;
    ShortcutTexts texts{kb};
};

}  // namespace

TEST_F(HotKeyTextTest, EnglishTextUsesUsNamesUnderAnotherActiveLayout) {
    UserHas({kb.De()});
    texts.Start();
    EXPECT_EQ(texts.ShortcutToText(0x6041, false), "Ctrl+Shift+A");
    EXPECT_EQ(texts.ShortcutToText(0xC041, false), "Ctrl+Alt+A");
    EXPECT_EQ(texts.ShortcutToText(0x1E041, false), "Ctrl+Shift+Alt+Win+A");
    EXPECT_EQ(texts.ShortcutToText(0x2E, false), "Delete");
    EXPECT_EQ(kb.active, kb.De()) << "the user's layout is active again afterwards";

    EXPECT_EQ(texts.ShortcutToText(0x6041, true), "Strg+Umschalt+A");
    EXPECT_EQ(texts.ShortcutToText(0x2E, true), "Entf");

    // Key 0 has no scan code, so no name is asked for.
    kb.nameParams.clear();
    EXPECT_EQ(texts.ShortcutToText(0, false), "");
    EXPECT_EQ(texts.ShortcutToText(0x4000, true), "Strg+");
    EXPECT_TRUE(kb.nameParams.empty());
}

TEST_F(HotKeyTextTest, OnlyNavigationKeysCountAsExtended) {
    for (std::uint32_t key : {0x21u, 0x24u, 0x28u, 0x2Du, 0x2Eu})
        EXPECT_EQ(KeyNameParam(key, 0x47), Param(0x47, true)) << key;
    for (std::uint32_t key : {0x20u, 0x29u, 0x2Cu, 0x2Fu, 0x41u, 0x6Bu})
        EXPECT_EQ(KeyNameParam(key, 0x47), Param(0x47)) << key;
    // An extended key with no scan code still asks for a name: the flag alone is not zero.
    EXPECT_EQ(KeyNameParam(0x2E, 0), Param(0, true));
    EXPECT_EQ(KeyNameParam(0x41, 0), 0);
}

TEST_F(HotKeyTextTest, StartReadsModifierNamesFromTheUsersLayout) {
    UserHas({kb.Us(), kb.De()});
    texts.Start();
    EXPECT_EQ(texts.ModifierNames(), (ModifierNameSet{"Shift", "Ctrl", "Alt", "Win"}));
    EXPECT_EQ(texts.ShortcutToText(0x1E041, true), "Ctrl+Shift+Alt+Win+A");
    EXPECT_EQ(texts.ShortcutToText(0x6041, false), "Ctrl+Shift+A");
    EXPECT_EQ(kb.activations, 0) << "US is active already";
}

TEST_F(HotKeyTextTest, WinIsCapitalisedOnlyWhenAltIsAllCapitals) {
    UserHas({kb.Caps()});
    texts.Start();
    EXPECT_EQ(texts.ModifierNames(), (ModifierNameSet{"MAJ", "CTRL", "ALT", "WIN"}));
    EXPECT_EQ(texts.ShortcutToText(0x1E041, true), "CTRL+MAJ+ALT+WIN+A");
    texts.End();

    // No name for Alt counts as all capitals.
    kb.layouts[kb.Caps()].Scans.erase(0x12);
    texts.Start();
    EXPECT_EQ(texts.ModifierNames().Alt, "");
    EXPECT_EQ(texts.ModifierNames().Win, "WIN");
    texts.End();

    for (const char* alt : {"Alt Gr", "ALT1", "\xC4LT", "Alt"}) {
        kb.layouts[kb.Caps()].Scans[0x12] = 0x38;
        kb.layouts[kb.Caps()].Names[Param(0x38)] = alt;
        texts.Start();
        EXPECT_EQ(texts.ModifierNames().Win, "Win") << alt;
        texts.End();
    }
}

TEST_F(HotKeyTextTest, UsLayoutIsUnloadedOnlyWhenLoadedHere) {
    UserHas({kb.De()});
    texts.Start();
    EXPECT_EQ(kb.loadedId, "00000409");
    EXPECT_EQ(kb.loadFlags, 0x80u);
    EXPECT_EQ(kb.listLimit, 100);
    EXPECT_EQ(texts.UsLayout(), kb.Us());
    EXPECT_TRUE(texts.UsLayoutLoadedHere());
    texts.End();
    EXPECT_EQ(kb.unloaded, std::vector<LayoutRef>{kb.Us()});
    EXPECT_EQ(texts.ModifierNames(), (ModifierNameSet{"", "", "", ""}));

    kb.unloaded.clear();
    UserHas({kb.De(), kb.Us()});
    texts.Start();
    EXPECT_FALSE(texts.UsLayoutLoadedHere());
    texts.End();
    EXPECT_TRUE(kb.unloaded.empty());
}

TEST_F(HotKeyTextTest, AFailedUsLoadLeavesNothingToUnloadAndNoLayoutSwitch) {
    UserHas({kb.De()});
    kb.loadFails = true;
    texts.Start();
    EXPECT_FALSE(texts.UsLayoutLoadedHere());
    EXPECT_EQ(texts.ShortcutToText(0x4041, false), "Ctrl+A");
    EXPECT_EQ(kb.activations, 0);
    texts.End();
    EXPECT_TRUE(kb.unloaded.empty());
}
