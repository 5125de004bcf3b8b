#include "hotkeys/KeyEntry.h"

namespace hotkeys {

namespace {
// Virtual-key codes (the platform's values; this file does without its header).
constexpr std::uint32_t Back = 0x08, Tab = 0x09, Return = 0x0D, Shift = 0x10, Control = 0x11,
                        Menu = 0x12, Escape = 0x1B, Space = 0x20, Delete = 0x2E;
// The left and right Shift, Ctrl and Alt keys.
constexpr std::uint32_t FirstSided = 0xA0, LastSided = 0xA5;
}  // namespace

bool IsModifierKey(std::uint32_t vk) {
    return vk == Shift || vk == Control || vk == Menu || (vk >= FirstSided && vk <= LastSided);
}

bool LeftToWindow(std::uint32_t vk) {
    switch (vk) {
        case Back:
        case Tab:
        case Return:
        case Escape:
        case Space:
        case Delete:
            return true;
    }
    return false;
}

std::uint16_t PendingModifiers(bool shift, bool ctrl, bool alt) {
    if (!ctrl && !alt) return 0;
    return static_cast<std::uint16_t>((shift ? 0x2000 : 0) | (ctrl ? 0x4000 : 0) |
                                      (alt ? 0x8000 : 0));
}

std::optional<std::uint16_t> CompleteShortcut(const KeyPress& key) {
    if (key.vk == 0 || key.vk > 0xFF || IsModifierKey(key.vk) || LeftToWindow(key.vk))
        return std::nullopt;
    return static_cast<std::uint16_t>(key.vk | PendingModifiers(key.shift, key.ctrl, key.alt));
}

}  // namespace hotkeys
