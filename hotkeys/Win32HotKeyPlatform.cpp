#include "hotkeys/Win32HotKeyPlatform.h"

#include "win/Platform.h"

namespace hotkeys {

std::uint16_t Win32HotKeyPlatform::AddGlobalAtom(const std::string& text) {
    return GlobalAddAtomA(text.c_str());
}

void Win32HotKeyPlatform::DeleteGlobalAtom(std::uint16_t atom) {
    // Giving a reference back has no failure worth acting on: the atom is ours to release and
    // there is nothing to retry.
    (void)GlobalDeleteAtom(atom);
}

bool Win32HotKeyPlatform::RegisterHotKey(WindowRef window, std::uint16_t id,
                                         std::uint16_t modifiers, std::uint16_t key) {
    // A held key is one press: no run of captures or copies from the keyboard's repeat.
    return ::RegisterHotKey(static_cast<HWND>(window), id, modifiers | MOD_NOREPEAT, key) != FALSE;
}

bool Win32HotKeyPlatform::UnregisterHotKey(WindowRef window, std::uint16_t id) {
    return ::UnregisterHotKey(static_cast<HWND>(window), id) != FALSE;
}

std::uint32_t Win32KeyboardPlatform::ScanCode(std::uint32_t key) {
    return MapVirtualKeyA(key, MAPVK_VK_TO_VSC);
}

std::uint32_t Win32KeyboardPlatform::ScanCodeIn(std::uint32_t key, LayoutRef layout) {
    if (!layout) return MapVirtualKeyA(key, MAPVK_VK_TO_VSC);
    return MapVirtualKeyExA(key, MAPVK_VK_TO_VSC, static_cast<HKL>(layout));
}

std::string Win32KeyboardPlatform::KeyName(std::int32_t param) {
    char buffer[256] = {};
    if (GetKeyNameTextA(param, buffer, static_cast<int>(sizeof buffer)) <= 0) return {};
    buffer[sizeof buffer - 1] = '\0';
    return buffer;
}

LayoutRef Win32KeyboardPlatform::ActiveLayout() { return GetKeyboardLayout(0); }

LayoutRef Win32KeyboardPlatform::ActivateLayout(LayoutRef layout) {
    return ActivateKeyboardLayout(static_cast<HKL>(layout), 0);
}

std::vector<LayoutRef> Win32KeyboardPlatform::InstalledLayouts(int limit) {
    std::vector<HKL> handles(static_cast<std::size_t>(limit));
    const int count = GetKeyboardLayoutList(limit, handles.data());
    std::vector<LayoutRef> layouts;
    layouts.reserve(static_cast<std::size_t>(count > 0 ? count : 0));
    for (int i = 0; i < count; ++i) layouts.push_back(handles[static_cast<std::size_t>(i)]);
    return layouts;
}

LayoutRef Win32KeyboardPlatform::LoadLayout(const std::string& id, std::uint32_t flags) {
    return LoadKeyboardLayoutA(id.c_str(), flags);
}

void Win32KeyboardPlatform::UnloadLayout(LayoutRef layout) {
    // Only reached at exit; a layout the platform will not unload stays loaded, nothing else.
    (void)UnloadKeyboardLayout(static_cast<HKL>(layout));
}

}  // namespace hotkeys
