#pragma once
// The hotkey and keyboard-layout calls of the real platform.
#include "hotkeys/HotKeyPlatform.h"

namespace hotkeys {

class Win32HotKeyPlatform final : public IHotKeyPlatform {
  public:
    std::uint16_t AddGlobalAtom(const std::string& text) override;
    void DeleteGlobalAtom(std::uint16_t atom) override;
    bool RegisterHotKey(WindowRef window, std::uint16_t id, std::uint16_t modifiers,
                        std::uint16_t key) override;
    bool UnregisterHotKey(WindowRef window, std::uint16_t id) override;
};

class Win32KeyboardPlatform final : public IKeyboardPlatform {
  public:
    std::uint32_t ScanCode(std::uint32_t key) override;
    std::uint32_t ScanCodeIn(std::uint32_t key, LayoutRef layout) override;
    std::string KeyName(std::int32_t param) override;
    LayoutRef ActiveLayout() override;
    LayoutRef ActivateLayout(LayoutRef layout) override;
    std::vector<LayoutRef> InstalledLayouts(int limit) override;
    LayoutRef LoadLayout(const std::string& id, std::uint32_t flags) override;
    void UnloadLayout(LayoutRef layout) override;
};

}  // namespace hotkeys
