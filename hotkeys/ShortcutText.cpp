#include "hotkeys/ShortcutText.h"

#include <algorithm>

#include "hotkeys/HotKeyList.h"

namespace hotkeys {

namespace {
constexpr std::uint32_t VkShift = 0x10, VkControl = 0x11, VkMenu = 0x12;
constexpr int MaxLayouts = 100;
constexpr std::uint32_t KlfNoTellShell = 0x80;
const char* const UsLayoutId = "00000409";

bool OnlyCapitals(const std::string& s) {
    return std::all_of(s.begin(), s.end(), [](char c) { return c >= 'A' && c <= 'Z'; });
}
}  // namespace

std::int32_t KeyNameParam(std::uint32_t key, std::uint32_t scanCode) {
    const bool extended = (key >= 0x21 && key <= 0x28) || (key >= 0x2D && key <= 0x2E);
    std::uint32_t param = scanCode << 16;
    if (extended) param |= 1u << 24;
    return static_cast<std::int32_t>(param);
}

void ShortcutTexts::Start() {
    if (started_) return;
    started_ = true;
    modifierNames_.Shift = ShortcutToText(VkShift, true);
    modifierNames_.Ctrl = ShortcutToText(VkControl, true);
    modifierNames_.Alt = ShortcutToText(VkMenu, true);
    modifierNames_.Win = OnlyCapitals(modifierNames_.Alt) ? "WIN" : "Win";

    const std::vector<LayoutRef> installed = keyboard_.InstalledLayouts(MaxLayouts);
    usLayout_ = keyboard_.LoadLayout(UsLayoutId, KlfNoTellShell);
    // A failed load leaves nothing to unload at the end.
    usLayoutLoadedHere_ = usLayout_ != nullptr && std::find(installed.begin(), installed.end(),
                                                            usLayout_) == installed.end();
}

void ShortcutTexts::End() {
    if (!started_) return;
    started_ = false;
    if (usLayoutLoadedHere_) keyboard_.UnloadLayout(usLayout_);
    usLayout_ = nullptr;
    usLayoutLoadedHere_ = false;
    modifierNames_ = {"", "", "", ""};
}

std::string ShortcutTexts::ShortcutToText(std::uint32_t value, bool localized) {
    static const ModifierNameSet english;
    const ModifierNameSet& names = localized ? modifierNames_ : english;
    std::string text;
    if (value & CtrlBit) text += names.Ctrl + "+";
    if (value & ShiftBit) text += names.Shift + "+";
    if (value & AltBit) text += names.Alt + "+";
    if (value & WinBit) text += names.Win + "+";
    return text + KeyText(value & 0xFF, localized);
}

std::string ShortcutTexts::KeyText(std::uint32_t key, bool localized) {
    const std::uint32_t scan =
        localized ? keyboard_.ScanCode(key) : keyboard_.ScanCodeIn(key, usLayout_);
    const std::int32_t param = KeyNameParam(key, scan);
    if (param == 0) return {};
    if (localized || usLayout_ == nullptr) return keyboard_.KeyName(param);

    // Key names come from the active layout only, so the English name needs the US layout
    // active for the length of the call.
    const LayoutRef active = keyboard_.ActiveLayout();
    if (active == usLayout_) return keyboard_.KeyName(param);
    const LayoutRef previous = keyboard_.ActivateLayout(usLayout_);
    std::string name = keyboard_.KeyName(param);
    if (previous) keyboard_.ActivateLayout(active);
    return name;
}

}  // namespace hotkeys
