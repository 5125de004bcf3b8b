#include "capture/OverlayKeys.h"

#include <utility>

namespace overlaykeys {

std::vector<Chord> KeysOf(Taker taker) {
    if (taker == Taker::Countdown) return {{VkEscape, false}};
    std::vector<Chord> keys;
    for (unsigned arrow : {VkLeft, VkUp, VkRight, VkDown})
        for (bool shift : {false, true}) keys.push_back({arrow, shift});
    for (unsigned key : {VkReturn, VkSpace, VkEscape}) keys.push_back({key, false});
    return keys;
}

bool Repeats(const Chord& chord) { return chord.key >= VkLeft && chord.key <= VkDown; }

KeyRoute::KeyRoute(IKeyHolder& holder, std::vector<Chord> chords)
    : holder_(holder), chords_(std::move(chords)), held_(chords_.size(), false) {
    // Ids from 1: they are the window's own, apart from every other window's.
    for (std::size_t i = 0; i < chords_.size(); ++i)
        held_[i] = holder_.Hold(static_cast<std::uint16_t>(i + 1), chords_[i], Repeats(chords_[i]));
}

KeyRoute::~KeyRoute() {
    for (std::size_t i = 0; i < chords_.size(); ++i)
        if (held_[i]) holder_.Release(static_cast<std::uint16_t>(i + 1));
}

std::optional<Chord> KeyRoute::FromHotKey(std::uint16_t id) const {
    if (id == 0 || id > chords_.size() || !held_[id - 1u]) return std::nullopt;
    return chords_[id - 1u];
}

std::optional<Chord> KeyRoute::FromKeyDown(unsigned key, const Modifiers& held) const {
    const Chord chord{key, held.shift};
    // A hotkey is held for that key without Ctrl, Alt and Win only: with any of them down the
    // press is no hotkey, and comes as a key-down alone.
    if (!held.control && !held.alt && !held.win && Holds(chord)) return std::nullopt;
    return chord;
}

bool KeyRoute::Holds(const Chord& chord) const {
    for (std::size_t i = 0; i < chords_.size(); ++i)
        if (held_[i] && chords_[i] == chord) return true;
    return false;
}

}  // namespace overlaykeys
