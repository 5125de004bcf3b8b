#include "hotkeys/HotKeyList.h"

#include <algorithm>

namespace hotkeys {

namespace {
struct ModifierPair {
    std::uint32_t Bit;
    std::uint16_t Flag;
};
constexpr ModifierPair kModifiers[] = {
    {AltBit, ModAlt}, {CtrlBit, ModControl}, {ShiftBit, ModShift}, {WinBit, ModWin}};
}  // namespace

SplitKey SplitShortcut(std::uint32_t value) {
    SplitKey split{0, static_cast<std::uint16_t>(value & 0xFF)};
    for (const auto& m : kModifiers)
        if (value & m.Bit) split.Modifiers |= m.Flag;
    return split;
}

std::uint32_t ShortcutFromHotKeyParam(std::intptr_t lParam) {
    const auto bits = static_cast<std::uintptr_t>(lParam);
    const auto flags = static_cast<std::uint16_t>(bits & 0xFFFF);
    std::uint32_t value = static_cast<std::uint16_t>((bits >> 16) & 0xFFFF);
    for (const auto& m : kModifiers)
        if (flags & m.Flag) value += m.Bit;
    return value;
}

std::string AtomText(std::uint32_t value) { return "HotKeyManagerHotKey" + std::to_string(value); }

HotKeyList::~HotKeyList() { UnregisterAll(); }

std::uint16_t HotKeyList::Register(std::uint32_t value) {
    const SplitKey split = SplitShortcut(value);
    const std::uint16_t atom = platform_.AddGlobalAtom(AtomText(value));
    // Without an atom there is no identifier to register under; 0 would read as "none" anyway.
    if (atom == 0) return 0;
    if (!platform_.RegisterHotKey(window_, atom, split.Modifiers, split.Key)) {
        platform_.DeleteGlobalAtom(atom);
        return 0;
    }
    list_.push_back({value, atom});
    return atom;
}

std::uint16_t HotKeyList::Replace(std::uint16_t oldIndex, std::uint32_t value) {
    auto it = std::find_if(list_.begin(), list_.end(),
                           [&](const Registration& r) { return r.Index == oldIndex; });
    if (it == list_.end()) return 0;
    End(it);
    return Register(value);
}

bool HotKeyList::UnregisterValue(std::uint32_t value) {
    auto it = std::find_if(list_.begin(), list_.end(),
                           [&](const Registration& r) { return r.Value == value; });
    return it != list_.end() && End(it);
}

bool HotKeyList::UnregisterIndex(std::uint16_t index) {
    auto it = std::find_if(list_.begin(), list_.end(),
                           [&](const Registration& r) { return r.Index == index; });
    return it != list_.end() && End(it);
}

void HotKeyList::UnregisterAll() {
    while (!list_.empty()) End(list_.end() - 1);
}

bool HotKeyList::End(std::vector<Registration>::iterator it) {
    const std::uint16_t index = it->Index;
    list_.erase(it);
    const bool confirmed = platform_.UnregisterHotKey(window_, index);
    platform_.DeleteGlobalAtom(index);
    return confirmed;
}

std::optional<HotKeyPress> HotKeyList::PressFromMessage(std::uintptr_t wParam,
                                                        std::intptr_t lParam) const {
    const std::uint32_t value = ShortcutFromHotKeyParam(lParam);
    const bool known = std::any_of(list_.begin(), list_.end(),
                                   [&](const Registration& r) { return r.Value == value; });
    if (!known) return std::nullopt;
    return HotKeyPress{value, static_cast<std::uint16_t>(wParam & 0xFFFF)};
}

}  // namespace hotkeys
