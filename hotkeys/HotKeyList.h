#pragma once
// The shortcut value encoding and the list of system-wide hotkeys one manager has registered.
// Each registration is named by the global atom of "HotKeyManagerHotKey" + the value in decimal,
// one atom reference per registration attempt, given back when the attempt fails or the
// registration ends.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "hotkeys/HotKeyPlatform.h"

namespace hotkeys {

// Modifier bits of a shortcut value (bits 0-7 hold the virtual key).
constexpr std::uint32_t ShiftBit = 0x2000;
constexpr std::uint32_t CtrlBit = 0x4000;
constexpr std::uint32_t AltBit = 0x8000;
constexpr std::uint32_t WinBit = 0x10000;

// The platform's hotkey modifier flags.
constexpr std::uint16_t ModAlt = 0x0001;
constexpr std::uint16_t ModControl = 0x0002;
constexpr std::uint16_t ModShift = 0x0004;
constexpr std::uint16_t ModWin = 0x0008;

constexpr std::uint32_t WmHotKey = 0x0312;

struct SplitKey {
    std::uint16_t Modifiers;  // platform flags
    std::uint16_t Key;        // virtual key
    bool operator==(const SplitKey&) const = default;
};

// Bits 8-12 and 17-31 play no part.
SplitKey SplitShortcut(std::uint32_t value);

// The shortcut value a WM_HOTKEY lParam stands for: modifier flags in the low word, the virtual
// key in the high word.
std::uint32_t ShortcutFromHotKeyParam(std::intptr_t lParam);

// "HotKeyManagerHotKey" followed by the value in unsigned decimal.
std::string AtomText(std::uint32_t value);

struct Registration {
    std::uint32_t Value;  // the shortcut value exactly as registered
    std::uint16_t Index;  // its hotkey identifier (the atom)
    bool operator==(const Registration&) const = default;
};

struct HotKeyPress {
    std::uint32_t HotKey;
    std::uint16_t Index;
    bool operator==(const HotKeyPress&) const = default;
};

class HotKeyList {
  public:
    HotKeyList(IHotKeyPlatform& platform, WindowRef window)
        : platform_(platform), window_(window) {}
    // Ends every registration, the last-made first, so no hotkey outlives the list.
    ~HotKeyList();
    HotKeyList(const HotKeyList&) = delete;
    HotKeyList& operator=(const HotKeyList&) = delete;

    // The new identifier, 0 when the platform refuses (the list is then unchanged). A value held
    // already, here or elsewhere, is refused by the platform and the earlier one stays in force.
    [[nodiscard]] std::uint16_t Register(std::uint32_t value);
    // Ends the registration `oldIndex` (whatever the platform answers) and registers `value`.
    // 0 and no change when `oldIndex` is not in the list.
    [[nodiscard]] std::uint16_t Replace(std::uint16_t oldIndex, std::uint32_t value);
    // End the first registration with that value / identifier; true when the platform confirmed.
    // The entry and its atom reference go even when the platform does not confirm.
    bool UnregisterValue(std::uint32_t value);
    bool UnregisterIndex(std::uint16_t index);
    void UnregisterAll();

    // The press a WM_HOTKEY message reports, or nothing when its keys are not registered here.
    std::optional<HotKeyPress> PressFromMessage(std::uintptr_t wParam, std::intptr_t lParam) const;

    const std::vector<Registration>& Registrations() const { return list_; }

  private:
    bool End(std::vector<Registration>::iterator it);

    IHotKeyPlatform& platform_;
    WindowRef window_;
    std::vector<Registration> list_;
};

}  // namespace hotkeys
