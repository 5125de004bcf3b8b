#include "hotkeys/HotKeyManager.h"

#include "hotkeys/Win32HotKeyPlatform.h"
#include "win/ErrorReport.h"
#include "win/Text.h"

namespace {

constexpr wchar_t WindowClass[] = L"THotKeyManagerWindow";
constexpr UINT_PTR RetryTimer = 1;
constexpr UINT RetryMs = 1000;

hotkeys::ShortcutTexts& Texts() {
    static hotkeys::Win32KeyboardPlatform keyboard;
    static hotkeys::ShortcutTexts texts(keyboard);
    return texts;
}

}  // namespace

THotKeyManager::THotKeyManager()
    : ownPlatform_(std::make_unique<hotkeys::Win32HotKeyPlatform>()), window_(*this) {
    Start(*ownPlatform_);
}

THotKeyManager::THotKeyManager(hotkeys::IHotKeyPlatform& platform) : window_(*this) {
    Start(platform);
}

void THotKeyManager::Start(hotkeys::IHotKeyPlatform& platform) {
    window_.Create();
    list_.emplace(platform, window_.Handle());
}

THotKeyManager::~THotKeyManager() { list_.reset(); }

std::uint16_t THotKeyManager::Register(std::uint32_t value) { return list_->Register(value); }

std::uint16_t THotKeyManager::Replace(std::uint16_t oldIndex, std::uint32_t value) {
    return list_->Replace(oldIndex, value);
}

bool THotKeyManager::UnregisterValue(std::uint32_t value) { return list_->UnregisterValue(value); }

bool THotKeyManager::UnregisterIndex(std::uint16_t index) { return list_->UnregisterIndex(index); }

void THotKeyManager::UnregisterAll() { list_->UnregisterAll(); }

void THotKeyManager::RetryUntil(std::function<bool()> attempt) {
    retry_ = std::move(attempt);
    if (!retry_) {
        // Fails only for a timer that is not running.
        (void)KillTimer(window_.Handle(), RetryTimer);
    } else if (!SetTimer(window_.Handle(), RetryTimer, RetryMs, nullptr)) {
        retry_ = nullptr;
        throw win::Error(L"Cannot start the hotkey retry timer");
    }
}

const std::vector<hotkeys::Registration>& THotKeyManager::Registrations() const {
    return list_->Registrations();
}

hotkeys::SplitKey THotKeyManager::SplitShortcut(std::uint32_t value) {
    return hotkeys::SplitShortcut(value);
}

std::wstring THotKeyManager::ShortcutToText(std::uint32_t value, bool localized) {
    return win::FromAnsi(Texts().ShortcutToText(value, localized));
}

void THotKeyManager::MessageWindow::Create() {
    RegisterClass(WindowClass);
    // A message-only window: never shown, not enumerated, and still the target of WM_HOTKEY.
    Window::Create(0, WindowClass, nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE);
}

LRESULT THotKeyManager::MessageWindow::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    // The handler may destroy the manager and with it this object (the exit command does), so
    // keep what is needed afterwards in locals and run a copy of the handler.
    HWND hwnd = Handle();
    if (msg == WM_TIMER && wp == RetryTimer) {
        if (!owner_.retry_ || owner_.retry_()) owner_.RetryUntil({});
        return 0;
    }
    if (msg == WM_HOTKEY && owner_.OnHotKeyPressed && owner_.list_) {
        if (auto press = owner_.list_->PressFromMessage(wp, lp)) {
            TOnHotKeyPressed handler = owner_.OnHotKeyPressed;
            handler(press->HotKey, press->Index);
        }
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
}

void HotKeyModuleStart() { Texts().Start(); }

void HotKeyModuleEnd() { Texts().End(); }

const hotkeys::ModifierNameSet& HotKeyModifierNames() { return Texts().ModifierNames(); }
