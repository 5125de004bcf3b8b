#include "capture/OverlayKeysWin32.h"

namespace overlaykeys {

bool Win32KeyHolder::Hold(std::uint16_t id, const Chord& chord, bool repeats) {
    const UINT modifiers = (chord.shift ? MOD_SHIFT : 0) | (repeats ? 0 : MOD_NOREPEAT);
    return RegisterHotKey(window_, id, modifiers, chord.key) != FALSE;
}

void Win32KeyHolder::Release(std::uint16_t id) {
    // Refused only when the window is gone, which took its hotkeys with it.
    (void)UnregisterHotKey(window_, id);
}

HeldKeys::HeldKeys(HWND window, Taker taker) : holder_(window), route_(holder_, KeysOf(taker)) {}

std::optional<Chord> HeldKeys::KeyOf(UINT msg, WPARAM wp) const {
    if (msg == WM_HOTKEY) return route_.FromHotKey(static_cast<std::uint16_t>(wp));
    if (msg != WM_KEYDOWN) return std::nullopt;
    auto down = [](int key) { return GetKeyState(key) < 0; };
    return route_.FromKeyDown(
        static_cast<unsigned>(wp),
        {down(VK_SHIFT), down(VK_CONTROL), down(VK_MENU), down(VK_LWIN) || down(VK_RWIN)});
}

}  // namespace overlaykeys
