#pragma once
// The main window's global hotkeys and when each is registered: all at creation, the copy, pick
// and zoom keys released while the window is hidden (the copy and pick keys kept if the user
// asks), a user binding moved at once when its edit changes. Works on the hotkey manager's list, so
// the rules run against a fake platform in tests.
#include <cstdint>
#include <optional>

#include "hotkeys/HotKeyList.h"

// In the order they are registered at creation and compared when a hotkey is pressed. The pick
// came last, after the seven of old, so their order stays.
enum class Binding { Capture, ShowHide, FixedFollow, Exit, Copy, ZoomIn, ZoomOut, Pick };

// The keys the edits hold now (shortcut values).
struct BindingKeys {
    std::uint32_t Capture, ShowHide, FixedFollow, Exit, Copy;
    // "Pick precisely": held exactly when the copy key is.
    std::uint32_t Pick = 0;
};

class HotKeyBindings {
  public:
    static constexpr std::uint32_t ZoomInKey = 107;   // numeric-keypad plus
    static constexpr std::uint32_t ZoomOutKey = 109;  // numeric-keypad minus

    explicit HotKeyBindings(hotkeys::HotKeyList& list) : list_(list) {}

    void Bind(const BindingKeys& keys);
    void Unbind();
    // After the window is shown: user bindings follow their edits, copy and zoom come back, and
    // every key another program held is tried again.
    void Show(const BindingKeys& keys);
    // After the window is hidden: copy and pick (unless kept) and zoom keys go back to other
    // programs.
    void Hide(bool keepCopyKey);
    // Whether every binding holds its key, leaving out those that cannot have it while another
    // binding of ours does (a key typed into two edits), and those without a key. While not,
    // a shown window keeps trying.
    bool AllHeld(const BindingKeys& keys) const;
    // An edit changed: its binding moves to the new key at once. A binding that holds nothing
    // (its key was refused earlier) registers the new key, so the user can always recover it.
    // A value without a key (none) only releases what the binding held.
    void Move(Binding binding, std::uint32_t value);

    // Who has a key the user asked for twice. The four bindings of old (capture, show/hide,
    // fixed/follow, exit) always come before the pick, which came later with a key of its own
    // choosing: the pick never keeps a key one of them asks for, whether that key was stored,
    // restored or typed. Among the four, the one holding the key keeps it, and the other holds
    // nothing. Settle gives the keys with the pick's given up where one of the four asks for it.
    static BindingKeys Settle(const BindingKeys& keys);
    // The first of the four that asks for the key (a value without a key is nobody's).
    static std::optional<Binding> OldBindingAsking(const BindingKeys& keys, std::uint32_t key);
    // A key a binding the user chooses asks for but does not hold, where another binding of ours
    // holds it or asks for it too: the key and its holder (none: another program).
    struct Contest {
        std::uint32_t key;
        std::optional<Binding> holder;
    };
    std::optional<Contest> FirstContest(const BindingKeys& keys) const;
    // The binding a press of this identifier runs: the first field that equals it.
    std::optional<Binding> Dispatch(std::uint16_t index) const;
    bool IsRegistered(Binding binding) const;

    // The identifier fields (0 = no registration). A field is cleared when its key is released:
    // the global atom it held may be handed to another key afterwards.
    std::uint16_t CaptureKeyIndex = 0, ShowHideKeyIndex = 0, FixedFollowKeyIndex = 0,
                  ExitKeyIndex = 0, CopyKeyIndex = 0, ZoomInKeyIndex = 0, ZoomOutKeyIndex = 0,
                  PickKeyIndex = 0;

  private:
    std::uint16_t& Field(Binding binding);
    std::uint16_t Field(Binding binding) const;
    std::optional<std::uint32_t> RegisteredValue(std::uint16_t index) const;
    void Release(Binding binding);

    hotkeys::HotKeyList& list_;
};
