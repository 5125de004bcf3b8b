#pragma once
// A window's keys held as system-wide hotkeys for the life of this object (see
// capture/OverlayKeys.h), and the key each of its messages brings.
#include <optional>
#include <vector>

#include "capture/OverlayKeys.h"
#include "win/Platform.h"

namespace overlaykeys {

class Win32KeyHolder final : public IKeyHolder {
  public:
    explicit Win32KeyHolder(HWND window) : window_(window) {}
    bool Hold(std::uint16_t id, const Chord& chord, bool repeats) override;
    void Release(std::uint16_t id) override;

  private:
    HWND window_;
};

class HeldKeys {
  public:
    HeldKeys(HWND window, Taker taker);
    // The key a WM_HOTKEY or WM_KEYDOWN of the window brings; none for every other message, for
    // another program's hotkey, and for a key-down that its hotkey brings already.
    std::optional<Chord> KeyOf(UINT msg, WPARAM wp) const;

  private:
    Win32KeyHolder holder_;
    KeyRoute route_;
};

}  // namespace overlaykeys
