// The main window's global hotkeys: the bindings, the Keys page and the dispatch of presses.
#include "app/Components.h"
#include "app/ControlIds.h"
#include "app/TintsnatchMain.h"

#include <optional>

#include "win/Application.h"
#include "win/Hints.h"

void TTintsnatch4::CreateKeysPage() {
    HWND page = Keys.Handle();
    HFONT font = font_.Get();
    // The group fills the page; positions inside it are measured from its top-left corner.
    const int gx = 4, gy = 2;
    SIZE room = PageSize(Keys);
    gbKeys = win::CreateControl(L"BUTTON", L"Keyboard shortcuts", WS_VISIBLE | BS_GROUPBOX, gx, gy,
                                room.cx - 2 * gx, room.cy - gy - 2, page, id::gbKeys, font);
    lblShow = win::CreateLabel(page, id::lblShow, L"Toggle show/hide:", gx + 8, gy + 24, 110, 14,
                               font);
    Label1 = win::CreateLabel(page, id::Label1, L"Toggle fixed/follow:", gx + 8, gy + 48, 110, 14,
                              font);
    Label2 = win::CreateLabel(page, id::Label2, L"Start capture:", gx + 8, gy + 72, 110, 14, font);
    lblExit = win::CreateLabel(page, id::lblExit, L"Exit program:", gx + 8, gy + 96, 110, 14, font);

    auto edit = [&](int controlId, int x, int y, std::uint16_t value, bool visible) {
        HWND h = win::CreateControl(HOTKEY_CLASSW, L"", (visible ? WS_VISIBLE : 0) | WS_TABSTOP |
                                                          WS_BORDER,
                                    gx + x, gy + y, 49, 19, page, controlId, font);
        // A key typed alone or with Shift alone counts as invalid and is taken with no modifier:
        // the key alone. Ctrl and Alt combinations stay as typed.
        SendMessageW(h, HKM_SETRULES, HKCOMB_NONE | HKCOMB_S, MAKELPARAM(0, 0));
        win::SetHotKeyValue(h, value);
        return h;
    };
    // Created in tab order: show/hide, fixed/follow, exit, the hidden copy key, capture.
    hkShowHide = edit(id::hkShowHide, 120, 16, VK_F6, true);
    hkFixedFollow = edit(id::hkFixedFollow, 120, 40, VK_F7, true);
    hkExit = edit(id::hkExit, 120, 88, VK_F10, true);
    hkClipboard = edit(id::hkClipboard, 184, 16, 0x4000 | 'C', false);
    hkCapture = edit(id::hkCapture, 120, 64, VK_F9, true);
    win::SetHint(hkShowHide, L"Press key to togle show and hide of Tintsnatch window");
    win::SetHint(hkFixedFollow, L"Press key to togle fixed and follow mode of Tintsnatch window");
    win::SetHint(hkCapture, L"Press key that you wish to use as shortcut to screen capture");
    win::SetHint(hkExit, L"Pres key to use to exit program");
}

void TTintsnatch4::CreateMiscPage() {
    HWND page = tsMisc.Handle();
    HFONT font = font_.Get();
    const int gx = 4, gy = 2;
    SIZE room = PageSize(tsMisc);
    gbMisc = win::CreateControl(L"BUTTON", L"Miscelaneous options", WS_VISIBLE | BS_GROUPBOX, gx,
                                gy, room.cx - 2 * gx, room.cy - gy - 2, page, id::gbMisc, font);
    cbStartUp = win::CreateControl(L"BUTTON", L"Run Tintsnatch at Windows StartUp",
                                   WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX, gx + 8, gy + 24, 220,
                                   17, page, id::cbStartUp, font);
    cbGrabIfMin = win::CreateControl(L"BUTTON", L"Enable CTRL+C if minimized",
                                     WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX, gx + 8, gy + 48,
                                     161, 17, page, id::cbGrabIfMin, font);
    win::SetHint(cbStartUp, L"Automaticaly run Tintsnatch at Windows startup");
    win::SetHint(cbGrabIfMin, L"CTRL-C will pick color even if Tintsnatch window is not visible");
}
void TTintsnatch4::CreateHotKeyManager() {
    HotKeyManager1 = std::make_unique<THotKeyManager>();
    HotKeyManager1->OnHotKeyPressed = [this](std::uint32_t hotKey, std::uint16_t index) {
        HotKeyManager1HotKeyPressed(hotKey, index);
    };
}

namespace {
constexpr std::uint32_t ZoomInKey = VK_ADD;        // 107, numeric-keypad plus
constexpr std::uint32_t ZoomOutKey = VK_SUBTRACT;  // 109, numeric-keypad minus

// The value registered under an identifier, if the manager holds one.
std::optional<std::uint32_t> RegisteredValue(const THotKeyManager& manager, std::uint16_t index) {
    if (index == 0) return std::nullopt;
    for (const auto& r : manager.Registrations())
        if (r.Index == index) return r.Value;
    return std::nullopt;
}
}  // namespace

void TTintsnatch4::BindHotKeys() {
    CaptureKeyIndex = HotKeyManager1->Register(win::HotKeyValue(hkCapture));
    ShowHideKeyIndex = HotKeyManager1->Register(win::HotKeyValue(hkShowHide));
    FixedFollowKeyIndex = HotKeyManager1->Register(win::HotKeyValue(hkFixedFollow));
    ExitKeyIndex = HotKeyManager1->Register(win::HotKeyValue(hkExit));
    CopyKeyIndex = HotKeyManager1->Register(win::HotKeyValue(hkClipboard));
    ZoomInKeyIndex = HotKeyManager1->Register(ZoomInKey);
    ZoomOutKeyIndex = HotKeyManager1->Register(ZoomOutKey);
}

void TTintsnatch4::UnbindHotKeys() {
    if (!HotKeyManager1) return;
    for (HWND edit : {hkCapture, hkShowHide, hkFixedFollow, hkExit, hkClipboard})
        HotKeyManager1->UnregisterValue(win::HotKeyValue(edit));
    HotKeyManager1->UnregisterValue(ZoomInKey);
    HotKeyManager1->UnregisterValue(ZoomOutKey);
}

void TTintsnatch4::MoveBinding(std::uint16_t& field, HWND edit) {
    std::uint32_t value = win::HotKeyValue(edit);
    if (RegisteredValue(*HotKeyManager1, field)) {
        field = HotKeyManager1->Replace(field, value);
    } else {
        // The binding holds no registration (its key was refused before): register the new
        // key, so that the user can always bring a binding back.
        field = HotKeyManager1->Register(value);
    }
}

void TTintsnatch4::FormShow() {
    struct Binding {
        std::uint16_t& field;
        HWND edit;
    } user[] = {{CaptureKeyIndex, hkCapture},
                {ShowHideKeyIndex, hkShowHide},
                {FixedFollowKeyIndex, hkFixedFollow},
                {ExitKeyIndex, hkExit}};
    for (auto& b : user)
        if (RegisteredValue(*HotKeyManager1, b.field) != win::HotKeyValue(b.edit))
            MoveBinding(b.field, b.edit);
    if (!RegisteredValue(*HotKeyManager1, CopyKeyIndex))
        CopyKeyIndex = HotKeyManager1->Register(win::HotKeyValue(hkClipboard));
    if (!RegisteredValue(*HotKeyManager1, ZoomInKeyIndex))
        ZoomInKeyIndex = HotKeyManager1->Register(ZoomInKey);
    if (!RegisteredValue(*HotKeyManager1, ZoomOutKeyIndex))
        ZoomOutKeyIndex = HotKeyManager1->Register(ZoomOutKey);
}

void TTintsnatch4::FormHide() {
    if (!win::IsChecked(cbGrabIfMin)) HotKeyManager1->UnregisterValue(win::HotKeyValue(hkClipboard));
    HotKeyManager1->UnregisterValue(ZoomInKey);
    HotKeyManager1->UnregisterValue(ZoomOutKey);
}

void TTintsnatch4::HotKeyManager1HotKeyPressed(std::uint32_t, std::uint16_t index) {
    SetForegroundWindow(win::Application().Handle());
    if (index == 0) return;
    if (index == CaptureKeyIndex) {
        CaptureExecute();
    } else if (index == ShowHideKeyIndex) {
        ShowHideExecute();
    } else if (index == FixedFollowKeyIndex) {
        FixedFollowClick();
    } else if (index == ExitKeyIndex) {
        if (Action* exit = actions_.Find(L"FileExit1")) exit->Execute();
    } else if (index == CopyKeyIndex) {
        EditCopy1Execute(nullptr);
    } else if (index == ZoomInKeyIndex) {
        ZoomInExecute();
    } else if (index == ZoomOutKeyIndex) {
        ZoomOutExecute();
    }
}

bool TTintsnatch4::KeysCommand(int controlId, int code) {
    if (code != EN_CHANGE) return false;
    switch (controlId) {
        case id::hkCapture:
            hkCaptureChange();
            return true;
        case id::hkShowHide:
            hkShowHideChange();
            return true;
        case id::hkFixedFollow:
            hkFixedFollowChange();
            return true;
        case id::hkExit:
            hkExitChange();
            return true;
    }
    return false;
}
