// The main window's global hotkeys: the bindings, the Keys page and the dispatch of presses.
#include "app/Components.h"
#include "app/ControlIds.h"
#include "app/TintsnatchMain.h"
#include "win/Application.h"
#include "win/Hints.h"

namespace {
// A key another program holds may be let go at any moment: while the window shows and some key
// is missing, the bindings try again about once a second. The timer runs only then.
void KeepTryingMissingKeys(THotKeyManager& manager, HotKeyBindings& bindings,
                           const std::function<BindingKeys()>& keys) {
    if (bindings.AllHeld(keys())) {
        manager.RetryUntil({});
        return;
    }
    manager.RetryUntil([&bindings, keys] {
        bindings.Show(keys());
        return bindings.AllHeld(keys());
    });
}
}  // namespace

void TTintsnatch4::CreateKeysPage() {
    HWND page = Keys.Handle();
    HFONT font = font_.Get();
    const bool made = keys_.gbKeys != nullptr;
    // The group fills the page; positions inside it are measured from its top-left corner.
    const int gx = 4, gy = 2;
    SIZE room = PageRoom(Keys);
    win::PlaceGroupBox(keys_.gbKeys, page, id::gbKeys, L"Keyboard shortcuts",
                       Box(gx, gy, room.cx - 2 * gx, room.cy - gy - 2), font);
    win::PlaceLabel(keys_.lblShow, page, id::lblShow, L"Toggle show/hide:",
                    Box(gx + 8, gy + 24, 110, 14), font);
    win::PlaceLabel(keys_.Label1, page, id::Label1, L"Toggle fixed/follow:",
                    Box(gx + 8, gy + 48, 110, 14), font);
    win::PlaceLabel(keys_.Label2, page, id::Label2, L"Start capture:",
                    Box(gx + 8, gy + 72, 110, 14), font);
    win::PlaceLabel(keys_.lblExit, page, id::lblExit, L"Exit program:",
                    Box(gx + 8, gy + 96, 110, 14), font);
    win::PlaceLabel(keys_.lblPick, page, id::lblPick, L"Pick precisely:",
                    Box(gx + 8, gy + 120, 110, 14), font);

    auto edit = [&](HWND& h, int controlId, int x, int y, std::uint16_t value, bool visible) {
        const bool madeEdit = h != nullptr;
        win::PlaceControl(h, HOTKEY_CLASSW, L"",
                          (visible ? WS_VISIBLE : 0) | WS_TABSTOP | WS_BORDER,
                          Box(gx + x, gy + y, 49, 19), page, controlId, font);
        if (madeEdit) return;
        // A key typed alone or with Shift alone counts as invalid and is taken with no modifier:
        // the key alone. Ctrl and Alt combinations stay as typed.
        SendMessageW(h, HKM_SETRULES, HKCOMB_NONE | HKCOMB_S, MAKELPARAM(0, 0));
        win::SetHotKeyValue(h, value);
    };
    // Created in tab order: show/hide, fixed/follow, exit, the hidden copy key, capture, pick.
    edit(keys_.hkShowHide, id::hkShowHide, 120, 16, VK_F6, true);
    edit(keys_.hkFixedFollow, id::hkFixedFollow, 120, 40, VK_F7, true);
    edit(keys_.hkExit, id::hkExit, 120, 88, VK_F10, true);
    edit(keys_.hkClipboard, id::hkClipboard, 184, 16, 0x4000 | 'C', false);
    edit(keys_.hkCapture, id::hkCapture, 120, 64, VK_F9, true);
    edit(keys_.hkPick, id::hkPick, 120, 112, VK_F8, true);
    if (made) return;
    win::SetHint(keys_.hkShowHide, L"Press key to togle show and hide of Tintsnatch window");
    win::SetHint(keys_.hkFixedFollow,
                 L"Press key to togle fixed and follow mode of Tintsnatch window");
    win::SetHint(keys_.hkCapture, L"Press key that you wish to use as shortcut to screen capture");
    win::SetHint(keys_.hkExit, L"Pres key to use to exit program");
    win::SetHint(
        keys_.hkPick,
        L"Press key to pick a pixel precisely: the arrow keys move the cursor, Enter copies");
}

void TTintsnatch4::CreateMiscPage() {
    HWND page = tsMisc.Handle();
    HFONT font = font_.Get();
    const bool made = misc_.gbMisc != nullptr;
    const int gx = 4, gy = 2;
    SIZE room = PageRoom(tsMisc);
    win::PlaceGroupBox(misc_.gbMisc, page, id::gbMisc, L"Miscelaneous options",
                       Box(gx, gy, room.cx - 2 * gx, room.cy - gy - 2), font);
    win::PlaceControl(misc_.cbStartUp, L"BUTTON", L"Run Tintsnatch at Windows StartUp",
                      WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX, Box(gx + 8, gy + 24, 220, 17),
                      page, id::cbStartUp, font);
    win::PlaceControl(misc_.cbGrabIfMin, L"BUTTON", L"Enable CTRL+C if minimized",
                      WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX, Box(gx + 8, gy + 48, 161, 17),
                      page, id::cbGrabIfMin, font);
    win::FitText(misc_.cbStartUp, Dpi());
    win::FitText(misc_.cbGrabIfMin, Dpi());
    // Where the settings are kept: beside the program, or in the user's folder when the
    // program's folder cannot be written. Read-only text the user can select and scroll.
    win::PlaceLabel(misc_.lblSettingsPath, page, id::lblSettingsPath, L"Settings file:",
                    Box(gx + 8, gy + 74, 160, 14), font);
    win::FitText(misc_.lblSettingsPath, Dpi());
    win::PlaceControl(
        misc_.SettingsPath, L"EDIT", JvFormStorage1 ? JvFormStorage1->IniFileName.c_str() : L"",
        WS_VISIBLE | WS_TABSTOP | ES_READONLY | ES_AUTOHSCROLL,
        Box(gx + 8, gy + 90, room.cx - 2 * gx - 16, 14), page, id::SettingsPath, font);
    if (made) return;
    win::SetHint(misc_.cbStartUp, L"Automaticaly run Tintsnatch at Windows startup");
    win::SetHint(misc_.cbGrabIfMin,
                 L"CTRL-C will pick color even if Tintsnatch window is not visible");
}

void TTintsnatch4::CreateHotKeyManager() {
    HotKeyManager1 = std::make_unique<THotKeyManager>();
    HotKeyManager1->OnHotKeyPressed = [this](std::uint32_t hotKey, std::uint16_t index) {
        HotKeyManager1HotKeyPressed(hotKey, index);
    };
    bindings_ = std::make_unique<HotKeyBindings>(HotKeyManager1->List());
}

BindingKeys TTintsnatch4::EditKeys() const {
    return {win::HotKeyValue(keys_.hkCapture),     win::HotKeyValue(keys_.hkShowHide),
            win::HotKeyValue(keys_.hkFixedFollow), win::HotKeyValue(keys_.hkExit),
            win::HotKeyValue(keys_.hkClipboard),   win::HotKeyValue(keys_.hkPick)};
}

void TTintsnatch4::BindHotKeys() { bindings_->Bind(EditKeys()); }

void TTintsnatch4::UnbindHotKeys() {
    if (HotKeyManager1) HotKeyManager1->RetryUntil({});
    if (bindings_) bindings_->Unbind();
}

void TTintsnatch4::FormShow() {
    bindings_->Show(EditKeys());
    KeepTryingMissingKeys(*HotKeyManager1, *bindings_, [this] { return EditKeys(); });
}

void TTintsnatch4::FormHide() {
    HotKeyManager1->RetryUntil({});
    bindings_->Hide(win::IsChecked(misc_.cbGrabIfMin));
}

void TTintsnatch4::hkCaptureChange() { bindings_->Move(Binding::Capture, EditKeys().Capture); }
void TTintsnatch4::hkShowHideChange() { bindings_->Move(Binding::ShowHide, EditKeys().ShowHide); }
void TTintsnatch4::hkFixedFollowChange() {
    bindings_->Move(Binding::FixedFollow, EditKeys().FixedFollow);
}
void TTintsnatch4::hkExitChange() { bindings_->Move(Binding::Exit, EditKeys().Exit); }
void TTintsnatch4::hkPickChange() { bindings_->Move(Binding::Pick, EditKeys().Pick); }

void TTintsnatch4::HotKeyManager1HotKeyPressed(std::uint32_t, std::uint16_t index) {
    auto binding = bindings_->Dispatch(index);
    // The keypad's plus and minus zoom a pinned capture that the user is in.
    TPinForm* pin = pins_ ? pins_->Find(GetForegroundWindow()) : nullptr;
    // The pointer as the user sees it, read before the program takes the foreground: under Wine
    // the pointer is the foreground program's.
    if (binding == Binding::Capture && win::IsChecked(save_.cbIncludeCursor))
        OskScreenCapture1->NotePointer();
    // Remembers the window the user was in: the active-window capture takes it.
    win::Application().BringToFront();
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
            act_.FileExit1->Execute();
            break;
        case Binding::Copy:
            EditCopy1Execute(nullptr);
            break;
        case Binding::ZoomIn:
            if (pin)
                pin->Zoom(true);
            else
                ZoomInExecute();
            break;
        case Binding::ZoomOut:
            if (pin)
                pin->Zoom(false);
            else
                ZoomOutExecute();
            break;
        case Binding::Pick:
            PickExecute();
            break;
    }
}

bool TTintsnatch4::KeysCommand(int controlId, int code) {
    if (code != EN_CHANGE) return false;
    switch (controlId) {
        case id::hkCapture:
            hkCaptureChange();
            break;
        case id::hkShowHide:
            hkShowHideChange();
            break;
        case id::hkFixedFollow:
            hkFixedFollowChange();
            break;
        case id::hkExit:
            hkExitChange();
            break;
        case id::hkPick:
            hkPickChange();
            break;
        default:
            return false;
    }
    // A key typed here may be held by another program for now.
    KeepTryingMissingKeys(*HotKeyManager1, *bindings_, [this] { return EditKeys(); });
    return true;
}
