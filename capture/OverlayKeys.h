#pragma once
// The keys of what the program shows over the desk (the selection overlays, the pick's loupe, the
// capture countdown) reach it whatever has the foreground. The platform may refuse it the
// foreground (a menu open in another program, input given elsewhere during a countdown), and the
// countdown never takes it: arrows and Enter would then go to the other program, Enter running
// its highlighted menu command. So for as long as it shows it holds its keys as system-wide
// hotkeys and takes each from the one message that brings it. Which keys, and from which
// message, is decided here, in plain numbers.
#include <cstdint>
#include <optional>
#include <vector>

namespace overlaykeys {

// The platform's virtual-key codes of the keys taken.
inline constexpr unsigned VkReturn = 0x0D, VkEscape = 0x1B, VkSpace = 0x20, VkLeft = 0x25,
                          VkUp = 0x26, VkRight = 0x27, VkDown = 0x28;

// A key, and whether Shift goes with it.
struct Chord {
    unsigned key = 0;
    bool shift = false;
    friend bool operator==(const Chord&, const Chord&) = default;
};

// What takes keys: a selection overlay or the pick (the arrows, with Shift too, Enter, Space and
// Esc), or the countdown (Esc only: every other key stays with the menu the user opens meanwhile).
enum class Taker { Overlay, Countdown };
std::vector<Chord> KeysOf(Taker taker);

// Whether a held key repeats: the arrows do, as they do for any window; Enter, Space and Esc act
// once per press (a held Enter would otherwise start and end a rectangle at once).
bool Repeats(const Chord& chord);

// The registration of system-wide hotkeys for one window.
class IKeyHolder {
  public:
    virtual ~IKeyHolder() = default;
    // False when the platform refuses (another program holds the same key).
    virtual bool Hold(std::uint16_t id, const Chord& chord, bool repeats) = 0;
    virtual void Release(std::uint16_t id) = 0;
};

// The modifier keys down with a key-down message.
struct Modifiers {
    bool shift = false, control = false, alt = false, win = false;
};

// Holds the keys from construction to destruction. A held key arrives as a hotkey whatever has
// the foreground, and never as a key-down as well: where the platform refused one, its key-down
// serves instead (it works while the window has the foreground).
class KeyRoute {
  public:
    KeyRoute(IKeyHolder& holder, std::vector<Chord> chords);
    ~KeyRoute();
    KeyRoute(const KeyRoute&) = delete;
    KeyRoute& operator=(const KeyRoute&) = delete;

    // The key a hotkey of this id brings; none for an id that is not one of ours.
    std::optional<Chord> FromHotKey(std::uint16_t id) const;
    // The key a key-down brings (Shift as held with it; Ctrl, Alt and Win ignored, as the
    // windows' own handling does), or none when exactly that combination is held as a hotkey:
    // it acts through the hotkey alone.
    std::optional<Chord> FromKeyDown(unsigned key, const Modifiers& held) const;
    bool Holds(const Chord& chord) const;

  private:
    IKeyHolder& holder_;
    std::vector<Chord> chords_;  // by id - 1
    std::vector<bool> held_;     // by id - 1
};

}  // namespace overlaykeys
