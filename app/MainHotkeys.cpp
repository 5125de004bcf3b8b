// The main window's global hotkeys: the bindings, the Keys page and the dispatch of presses.
#include "app/Components.h"
#include "app/ControlIds.h"
#include "app/TintsnatchMain.h"

#include "win/Application.h"
#include "win/Hints.h"

void TTintsnatch4::CreateKeysPage() {
    HWND page = Keys.Handle();
    HFONT font = font_.Get();
    // The group fills the page; positions inside it are measured from its top-left corner.
    const int gx = 4, gy = 2;
    SIZE room = PageSize(Keys);
    gbKeys = win::CreateGroupBox(page, id::gbKeys, L"Keyboard shortcuts", gx, gy, room.cx - 2 * gx,
                                 room.cy - gy - 2, font);
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
    gbMisc = win::CreateGroupBox(page, id::gbMisc, L"Miscelaneous options", gx, gy,
                                 room.cx - 2 * gx, room.cy - gy - 2, font);
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
    bindings_ = std::make_unique<HotKeyBindings>(HotKeyManager1->List());
}

BindingKeys TTintsnatch4::EditKeys() const {
    return {win::HotKeyValue(hkCapture), win::HotKeyValue(hkShowHide),
            win::HotKeyValue(hkFixedFollow), win::HotKeyValue(hkExit),
            win::HotKeyValue(hkClipboard)};
}

void TTintsnatch4::BindHotKeys() { bindings_->Bind(EditKeys()); }

void TTintsnatch4::UnbindHotKeys() {
    if (bindings_) bindings_->Unbind(EditKeys());
}

void TTintsnatch4::FormShow() { bindings_->Show(EditKeys()); }

void TTintsnatch4::FormHide() { bindings_->Hide(EditKeys(), win::IsChecked(cbGrabIfMin)); }

void TTintsnatch4::hkCaptureChange() { bindings_->Move(Binding::Capture, EditKeys().Capture); }
void TTintsnatch4::hkShowHideChange() { bindings_->Move(Binding::ShowHide, EditKeys().ShowHide); }
void TTintsnatch4::hkFixedFollowChange() {
    bindings_->Move(Binding::FixedFollow, EditKeys().FixedFollow);
}
void TTintsnatch4::hkExitChange() { bindings_->Move(Binding::Exit, EditKeys().Exit); }

void TTintsnatch4::HotKeyManager1HotKeyPressed(std::uint32_t, std::uint16_t index) {
    // Remembers the window the user was in: the active-window capture takes it.
    win::Application().BringToFront();
    auto binding = bindings_->Dispatch(index);
    if (!binding) return;
    switch (*binding) {
        case Binding::Capture:
            CaptureExecute();
            break;
        case Binding::ShowHide:
            ShowHideExecute();
            break;
        case Binding::FixedFollow:
            FixedFollowClick();
            break;
        case Binding::Exit:
            if (Action* exit = actions_.Find(L"FileExit1")) exit->Execute();
            break;
        case Binding::Copy:
            EditCopy1Execute(nullptr);
            break;
        case Binding::ZoomIn:
            ZoomInExecute();
            break;
        case Binding::ZoomOut:
            ZoomOutExecute();
            break;
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
