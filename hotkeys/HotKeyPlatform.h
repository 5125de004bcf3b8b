#pragma once
// The platform calls behind the hotkey manager and the shortcut texts, kept behind two small
// interfaces so the registration list, the identifiers and the message decoding can run against
// a fake. Handles travel as opaque pointers: this header never sees <windows.h>.
#include <cstdint>
#include <string>
#include <vector>

namespace hotkeys {

using WindowRef = void*;  // HWND of the window the hotkeys are registered for
using LayoutRef = void*;  // HKL of a keyboard layout; nullptr means none

// Global atoms and system-wide hotkey registration.
class IHotKeyPlatform {
  public:
    virtual ~IHotKeyPlatform() = default;
    // Takes one reference on the global atom for the text; 0 when the platform refuses.
    virtual std::uint16_t AddGlobalAtom(const std::string& text) = 0;
    // Gives one reference back; the atom goes when its last reference does.
    virtual void DeleteGlobalAtom(std::uint16_t atom) = 0;
    virtual bool RegisterHotKey(WindowRef window, std::uint16_t id, std::uint16_t modifiers,
                                std::uint16_t key) = 0;
    virtual bool UnregisterHotKey(WindowRef window, std::uint16_t id) = 0;
};

// Scan codes, key names and keyboard layouts of the calling thread.
class IKeyboardPlatform {
  public:
    virtual ~IKeyboardPlatform() = default;
    // Virtual key to scan code in the thread's current layout; 0 when the key has none.
    virtual std::uint32_t ScanCode(std::uint32_t key) = 0;
    // The same mapping in the given layout.
    virtual std::uint32_t ScanCodeIn(std::uint32_t key, LayoutRef layout) = 0;
    // Name of a key in the active layout, from a key-name parameter (scan code in bits 16-23,
    // extended-key flag in bit 24); empty when the platform knows none.
    virtual std::string KeyName(std::int32_t param) = 0;
    virtual LayoutRef ActiveLayout() = 0;
    // Makes the layout the thread's active one; returns the previously active layout, nullptr on
    // failure.
    virtual LayoutRef ActivateLayout(LayoutRef layout) = 0;
    // The installed layouts, at most `limit` of them.
    virtual std::vector<LayoutRef> InstalledLayouts(int limit) = 0;
    // Loads the layout named by its identifier text ("00000409"); nullptr on failure.
    virtual LayoutRef LoadLayout(const std::string& id, std::uint32_t flags) = 0;
    virtual void UnloadLayout(LayoutRef layout) = 0;
};

}  // namespace hotkeys
