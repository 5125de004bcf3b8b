// Shortcut texts for any stored value, against a keyboard whose scan codes come from the input
// and whose layout load and activation may fail: the modifiers in their order, then the name the
// right layout gives the key, asked with the scan code in its place, and the user's layout active
// again after every text.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "hotkeys/HotKeyList.h"
#include "hotkeys/ShortcutText.h"
#include "tests/fuzz/FuzzInput.h"

using namespace hotkeys;

namespace {
class Keyboard : public IKeyboardPlatform {
  public:
    int user = 0, us = 0;  // their addresses are the layouts
    LayoutRef active = &user;
    const std::uint8_t* scans = nullptr;  // per layout and key: the input's bytes, round
    std::size_t scanCount = 0;
    bool usInstalled = false, loadFails = false, activationFails = false;
    int unloads = 0;

    std::uint32_t ScanCode(std::uint32_t key) override { return ScanCodeIn(key, active); }
    std::uint32_t ScanCodeIn(std::uint32_t key, LayoutRef layout) override {
        const std::size_t at = ((layout ? layout : active) == &us ? 256 : 0) + (key & 0xFF);
        return scanCount ? scans[at % scanCount] : 0;
    }
    std::string KeyName(std::int32_t param) override {
        const auto p = static_cast<std::uint32_t>(param);
        FUZZ_CHECK((p & ~0x01FF0000u) == 0 && p != 0);
        return (active == &us ? "us" : "user") + std::to_string(p >> 16 & 0xFF);
    }
    LayoutRef ActiveLayout() override { return active; }
    LayoutRef ActivateLayout(LayoutRef layout) override {
        return activationFails ? nullptr : std::exchange(active, layout);
    }
    std::vector<LayoutRef> InstalledLayouts(int) override {
        return usInstalled ? std::vector<LayoutRef>{&user, &us} : std::vector<LayoutRef>{&user};
    }
    LayoutRef LoadLayout(const std::string&, std::uint32_t) override {
        return loadFails ? nullptr : &us;
    }
    void UnloadLayout(LayoutRef layout) override { unloads += layout == &us ? 1 : 100; }
};
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Input in(data, size);
    Keyboard kb;
    const std::int32_t setup = in.Int();
    kb.usInstalled = setup & 1, kb.loadFails = setup & 2, kb.activationFails = setup & 4;
    if (kb.usInstalled && (setup & 8)) kb.active = &kb.us;  // the user works in US English
    kb.scans = data, kb.scanCount = size;

    ShortcutTexts texts(kb);
    texts.Start();
    const LayoutRef userLayout = kb.active;
    for (int n = 0; n < 4; ++n) {
        const auto value = static_cast<std::uint32_t>(in.Int());
        for (const bool localized : {true, false}) {
            const std::string text = texts.ShortcutToText(value, localized);
            FUZZ_CHECK(kb.active == userLayout);

            static const ModifierNameSet usNames;
            const ModifierNameSet& names = localized ? texts.ModifierNames() : usNames;
            std::string expected;
            if (value & CtrlBit) expected += names.Ctrl + "+";
            if (value & ShiftBit) expected += names.Shift + "+";
            if (value & AltBit) expected += names.Alt + "+";
            if (value & WinBit) expected += names.Win + "+";
            // The English name wants the US layout's scan code, and its name with that layout
            // active; where either is missing, the user's layout stands in.
            const bool english = !localized && !kb.loadFails;
            const LayoutRef named =
                english && (userLayout == &kb.us || !kb.activationFails) ? &kb.us : userLayout;
            const std::uint32_t key = value & 0xFF;
            const std::uint32_t scan = kb.ScanCodeIn(key, english ? &kb.us : userLayout);
            // A key without a scan code has no name, unless it counts as an extended key.
            if (scan != 0 || (key >= 0x21 && key <= 0x28) || key == 0x2D || key == 0x2E)
                expected += (named == &kb.us ? "us" : "user") + std::to_string(scan);
            FUZZ_CHECK(text == expected);
        }
    }
    texts.End();
    FUZZ_CHECK(kb.unloads == (!kb.loadFails && !kb.usInstalled ? 1 : 0));
    return 0;
}
