#pragma once
// The Keys page's hotkey edits (msctls_hotkey32) take a key only when it is complete. The
// platform's edit takes every key-down as its new value, a modifier alone included, and keeps the
// modifiers it saw go down until it sees them come up: the Ctrl of a Ctrl+Tab out of it became its
// value at once, and stayed down for the next key typed into it. Here the edit hears no keyboard
// message itself: a complete key, made with the modifiers held as the key went down, becomes its
// value and is notified as the platform's edit notifies (EN_CHANGE); modifiers held alone are
// only shown; leaving the edit shows its value again. HKM_GETHOTKEY always answers the value.
#include <cstdint>
#include <functional>

#include "win/Platform.h"

namespace hotkeys {

// Whether the edit may take a complete key (a shortcut word: 0x2000 Shift, 0x4000 Ctrl,
// 0x8000 Alt); a key refused leaves the value as it was.
using AcceptKey = std::function<bool(std::uint16_t shortcut)>;

// Makes a created hotkey edit one that takes complete keys only; throws win::Error on failure.
void TakeCompleteKeysOnly(HWND edit, AcceptKey accept = {});

// A key typed into the edit that never reached it as a key: one of the program's own global keys,
// which the system turns into a hotkey message wherever it is pressed. False when the edit is not
// one that TakeCompleteKeysOnly made.
bool TypeKey(HWND edit, std::uint32_t shortcut);

}  // namespace hotkeys
