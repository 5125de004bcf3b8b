#pragma once
// What a key pressed in a hotkey edit makes of the edit's value. Only a complete key (a key other
// than Shift, Ctrl and Alt, with the modifiers held with it) changes the value; modifiers held
// alone are only shown while they are held, so a Ctrl+Tab or Shift+Tab out of the edit, or a
// modifier let go elsewhere, changes nothing.
#include <cstdint>
#include <optional>

namespace hotkeys {

struct KeyPress {
    std::uint32_t vk;  // virtual-key code
    bool shift, ctrl, alt;
};

// The shortcut word (key in the low byte, 0x2000 Shift, 0x4000 Ctrl, 0x8000 Alt) that the key
// makes, or none: for a modifier key, and for the keys an edit leaves to the window (Tab, Esc,
// Enter, Space, Backspace, Delete). A key alone or with Shift alone is taken as the key alone:
// a global key that every capital letter would fire is no key to have.
std::optional<std::uint16_t> CompleteShortcut(const KeyPress& key);

// Whether the edit leaves the key to the window, as the platform's hotkey edit does.
bool LeftToWindow(std::uint32_t vk);
bool IsModifierKey(std::uint32_t vk);

// The modifiers an edit shows while they are held with no key yet (0x2000 Shift, 0x4000 Ctrl,
// 0x8000 Alt), or 0 when the rule above would drop them all (nothing, or Shift alone).
std::uint16_t PendingModifiers(bool shift, bool ctrl, bool alt);

}  // namespace hotkeys
