#pragma once
// Display text of a shortcut value, with key names from the keyboard layout: the localized form
// uses the user's layout and the modifier names read from it at start; the English form uses the
// US English layout, loaded at start if the user does not have it.
#include <cstdint>
#include <string>

#include "hotkeys/HotKeyPlatform.h"

namespace hotkeys {

struct ModifierNameSet {
    std::string Shift = "Shift", Ctrl = "Ctrl", Alt = "Alt", Win = "Win";
    bool operator==(const ModifierNameSet&) const = default;
};

// The key-name parameter for a scan code: scan code in bits 16 and up, bit 24 set for the keys
// that count as extended (Page Up to the arrows, Insert, Delete).
std::int32_t KeyNameParam(std::uint32_t key, std::uint32_t scanCode);

// The process's shortcut-text state: the modifier names and the US layout.
class ShortcutTexts {
  public:
    explicit ShortcutTexts(IKeyboardPlatform& keyboard) : keyboard_(keyboard) {}
    ShortcutTexts(const ShortcutTexts&) = delete;
    ShortcutTexts& operator=(const ShortcutTexts&) = delete;

    // Reads the modifier names from the user's layout and loads the US layout. A second call
    // while started does nothing.
    void Start();
    // Unloads the US layout if Start loaded it, and clears the modifier names.
    void End();

    // Modifiers in the order Ctrl, Shift, Alt, Win, each followed by "+", then the key's name.
    std::string ShortcutToText(std::uint32_t value, bool localized);

    const ModifierNameSet& ModifierNames() const { return modifierNames_; }
    LayoutRef UsLayout() const { return usLayout_; }
    bool UsLayoutLoadedHere() const { return usLayoutLoadedHere_; }

  private:
    std::string KeyText(std::uint32_t key, bool localized);

    IKeyboardPlatform& keyboard_;
    ModifierNameSet modifierNames_;
    LayoutRef usLayout_ = nullptr;
    bool usLayoutLoadedHere_ = false;
    bool started_ = false;
};

}  // namespace hotkeys
