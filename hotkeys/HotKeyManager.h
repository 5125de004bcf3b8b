#pragma once
// THotKeyManager: registers system-wide hotkeys for its own hidden message window, keeps the list
// of what it registered and reports each press through OnHotKeyPressed. It deals in shortcut
// values (which keys) and hotkey identifiers (which registration), never in commands.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "hotkeys/HotKeyList.h"
#include "hotkeys/ShortcutText.h"
#include "win/Window.h"

using TOnHotKeyPressed = std::function<void(std::uint32_t HotKey, std::uint16_t Index)>;

class THotKeyManager {
  public:
    // Creates the message window; throws win::Error when the platform refuses it.
    THotKeyManager();
    // The same against another platform (tests); it must outlive the manager.
    explicit THotKeyManager(hotkeys::IHotKeyPlatform& platform);
    // Ends every registration, the last-made first, before the message window goes.
    ~THotKeyManager();
    THotKeyManager(const THotKeyManager&) = delete;
    THotKeyManager& operator=(const THotKeyManager&) = delete;

    // Identifier of the new registration, 0 when the platform refuses the combination (held by
    // another program, registered already, or not acceptable).
    [[nodiscard]] std::uint16_t Register(std::uint32_t value);
    // Ends the registration `oldIndex` and registers `value`; 0 and no change when `oldIndex` is
    // 0 or not held.
    [[nodiscard]] std::uint16_t Replace(std::uint16_t oldIndex, std::uint32_t value);
    // True when the platform confirmed; the registration is gone from the list either way.
    bool UnregisterValue(std::uint32_t value);
    bool UnregisterIndex(std::uint16_t index);
    void UnregisterAll();
    // Runs attempt about once a second on the user-interface thread until it answers true (every
    // key wanted is held); an empty function stops it. No timer runs while none is set.
    void RetryUntil(std::function<bool()> attempt);

    const std::vector<hotkeys::Registration>& Registrations() const;
    // The list itself, for rules that decide what to register (the main window's bindings).
    hotkeys::HotKeyList& List() { return *list_; }
    // The hidden window the hotkeys are registered for.
    HWND Handle() const { return window_.Handle(); }

    static hotkeys::SplitKey SplitShortcut(std::uint32_t value);
    // English form: fixed modifier names, key names of the US layout. Localized form: the
    // modifier names read at module start and the key names of the user's layout.
    static std::wstring ShortcutToText(std::uint32_t value, bool localized);

    // Raised on the user-interface thread for each press of a registered combination. The
    // handler may destroy the manager.
    TOnHotKeyPressed OnHotKeyPressed;

  private:
    class MessageWindow : public win::Window {
      public:
        explicit MessageWindow(THotKeyManager& owner) : owner_(owner) {}
        void Create();

      protected:
        LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

      private:
        THotKeyManager& owner_;
    };

    void Start(hotkeys::IHotKeyPlatform& platform);

    std::function<bool()> retry_;
    std::unique_ptr<hotkeys::IHotKeyPlatform> ownPlatform_;
    MessageWindow window_;
    // Made once the window exists; goes before it, so every registration ends first.
    std::optional<hotkeys::HotKeyList> list_;
};

// Module start, once per process before the main window exists: reads the localized modifier
// names from the user's layout and loads the US layout for the English texts.
void HotKeyModuleStart();
// Module end, after the last window has gone: unloads the US layout if the start loaded it.
void HotKeyModuleEnd();
const hotkeys::ModifierNameSet& HotKeyModifierNames();
