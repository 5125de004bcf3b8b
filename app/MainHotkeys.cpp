// The main window's global hotkeys: the bindings, the Keys page and the dispatch of presses.
#include "app/Components.h"
#include "app/ControlIds.h"
#include "app/TintsnatchMain.h"
#include "hotkeys/HotKeyEdit.h"
#include "win/Application.h"
#include "win/Hints.h"

namespace {
// A key another program holds may be let go at any moment: while the window shows and some key
// is missing, the bindings try again about once a second. The timer runs only then.
void KeepTryingMissingKeys(THotKeyManager& manager, HotKeyBindings& bindings,
                           const std::function<BindingKeys()>& keys,
                           const std::function<void()>& retried) {
    if (bindings.AllHeld(keys())) {
        manager.RetryUntil({});
        return;
    }
    manager.RetryUntil([&bindings, keys, retried] {
        bindings.Show(keys());
        retried();
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
    const int groupWidth = room.cx - 2 * gx, groupHeight = room.cy - gy - 2;
    win::PlaceGroupBox(keys_.gbKeys, page, id::gbKeys, L"Keyboard shortcuts",
                       Box(gx, gy, groupWidth, groupHeight), font);
    // Each label, then its edit, row by row: the order of the windows is the order of Tab. The
    // edits reach the group's right side, wide enough for a key with all three modifiers.
    const int editLeft = 120, editWidth = groupWidth - editLeft - 8;
    auto row = [&](HWND& label, int labelId, const wchar_t* caption, HWND& edit, int editId, int y,
                   std::uint16_t value) {
        win::PlaceLabel(label, page, labelId, caption, Box(gx + 8, gy + y + 8, 110, 14), font);
        PlaceKeyEdit(edit, editId, Box(gx + editLeft, gy + y, editWidth, 19), value, true);
    };
    row(keys_.lblShow, id::lblShow, L"Toggle show/hide:", keys_.hkShowHide, id::hkShowHide, 16,
        VK_F6);
    row(keys_.Label1, id::Label1, L"Toggle fixed/follow:", keys_.hkFixedFollow, id::hkFixedFollow,
        38, VK_F7);
    row(keys_.Label2, id::Label2, L"Start capture:", keys_.hkCapture, id::hkCapture, 60, VK_F9);
    row(keys_.lblExit, id::lblExit, L"Exit program:", keys_.hkExit, id::hkExit, 82, VK_F10);
    row(keys_.lblPick, id::lblPick, L"Pick precisely:", keys_.hkPick, id::hkPick, 104, VK_F8);
    PlaceKeyEdit(keys_.hkClipboard, id::hkClipboard, Box(gx + 184, gy + 16, 49, 19), 0x4000 | 'C',
                 false);
    // Says which binding has a key that two edits show; empty while none does. The holder comes
    // first: a long key's name is what the line gives up, and the edit shows it whole.
    win::PlaceLabel(keys_.lblKeyHolder, page, id::lblKeyHolder, L"",
                    Box(gx + 8, gy + groupHeight - 19, groupWidth - 16, 14), font,
                    SS_LEFTNOWORDWRAP | SS_ENDELLIPSIS);
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

void TTintsnatch4::PlaceKeyEdit(HWND& edit, int controlId, const RECT& bounds, std::uint16_t value,
                                bool visible) {
    const bool made = edit != nullptr;
    win::PlaceControl(edit, HOTKEY_CLASSW, L"", (visible ? WS_VISIBLE : 0) | WS_TABSTOP | WS_BORDER,
                      bounds, Keys.Handle(), controlId, font_.Get());
    if (made) return;
    win::SetHotKeyValue(edit, value);
    hotkeys::AcceptKey accept;
    // The pick takes no key that one of the four bindings of old asks for.
    if (controlId == id::hkPick)
        accept = [this](std::uint16_t key) {
            const auto owner = HotKeyBindings::OldBindingAsking(EditKeys(), key);
            if (owner) ShowKeyHolder(key, owner);
            return !owner;
        };
    hotkeys::TakeCompleteKeysOnly(edit, std::move(accept));
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
    // The settings just restored may give one of the four a key the pick has (a file of the
    // version before the pick, say): theirs win.
    SettlePickKey();
    bindings_->Show(EditKeys());
    UpdateKeyHolder();
    KeepTryingMissingKeys(
        *HotKeyManager1, *bindings_, [this] { return EditKeys(); }, [this] { UpdateKeyHolder(); });
}

void TTintsnatch4::SettlePickKey() {
    const BindingKeys keys = EditKeys();
    if (HotKeyBindings::Settle(keys).Pick == keys.Pick) return;
    win::SetHotKeyValue(keys_.hkPick, 0);
    bindings_->Move(Binding::Pick, 0);
}

void TTintsnatch4::ShowKeyHolder(std::uint32_t key, std::optional<Binding> holder) {
    // A binding of the page is named by its label, less the colon.
    auto label = [](HWND h) {
        std::wstring text = win::GetText(h);
        return text.substr(0, text.find_last_of(L':'));
    };
    std::wstring name = L"Another program";
    if (holder) {
        switch (*holder) {
            case Binding::Capture:
                name = label(keys_.Label2);
                break;
            case Binding::ShowHide:
                name = label(keys_.lblShow);
                break;
            case Binding::FixedFollow:
                name = label(keys_.Label1);
                break;
            case Binding::Exit:
                name = label(keys_.lblExit);
                break;
            case Binding::Pick:
                name = label(keys_.lblPick);
                break;
            case Binding::Copy:
                name = L"The colour copy";
                break;
            case Binding::ZoomIn:
            case Binding::ZoomOut:
                name = L"The zoom";
                break;
        }
    }
    win::SetTextIfChanged(
        keys_.lblKeyHolder,
        key ? name + L" holds " + THotKeyManager::ShortcutToText(key, true) : std::wstring());
}

void TTintsnatch4::UpdateKeyHolder() {
    const auto contest = bindings_->FirstContest(EditKeys());
    ShowKeyHolder(contest ? contest->key : 0, contest ? contest->holder : std::nullopt);
}

void TTintsnatch4::FormHide() {
    HotKeyManager1->RetryUntil({});
    bindings_->Hide(win::IsChecked(misc_.cbGrabIfMin));
}

// A key typed into one of the four that the pick has goes to the one typed into.
void TTintsnatch4::hkCaptureChange() {
    SettlePickKey();
    bindings_->Move(Binding::Capture, EditKeys().Capture);
}
void TTintsnatch4::hkShowHideChange() {
    SettlePickKey();
    bindings_->Move(Binding::ShowHide, EditKeys().ShowHide);
}
void TTintsnatch4::hkFixedFollowChange() {
    SettlePickKey();
    bindings_->Move(Binding::FixedFollow, EditKeys().FixedFollow);
}
void TTintsnatch4::hkExitChange() {
    SettlePickKey();
    bindings_->Move(Binding::Exit, EditKeys().Exit);
}
void TTintsnatch4::hkPickChange() { bindings_->Move(Binding::Pick, EditKeys().Pick); }

void TTintsnatch4::HotKeyManager1HotKeyPressed(std::uint32_t hotKey, std::uint16_t index) {
    const HWND front = GetForegroundWindow();
    const bool oursInFront = GetWindowThreadProcessId(front, nullptr) == GetCurrentThreadId();
    // Typed into a hotkey edit of ours, one of our own keys is the key typed, not its command.
    const HWND focus = GetFocus();
    for (HWND edit :
         {keys_.hkShowHide, keys_.hkFixedFollow, keys_.hkCapture, keys_.hkExit, keys_.hkPick})
        if (oursInFront && focus == edit && hotkeys::TypeKey(edit, hotKey)) return;
    auto binding = bindings_->Dispatch(index);
    // The keypad's plus and minus zoom a pinned capture that the user is in.
    TPinForm* pin = pins_ ? pins_->Find(front) : nullptr;
    // The pointer as the user sees it, read before the program takes the foreground: under Wine
    // the pointer is the foreground program's.
    if (binding == Binding::Capture && win::IsChecked(save_.cbIncludeCursor))
        OskScreenCapture1->NotePointer();
    // Pressed in another program, the key brings the application to the front, remembering the
    // window the user was in (the active-window capture takes it). Pressed while a window of ours
    // is in front, it is a key of that window and acts on what has the focus there (the History
    // page's entry for Ctrl+C, the pin for the keypad's keys): bringing the application forward
    // again would give the focus to the main window.
    if (oursInFront)
        win::Application().NoteFront();
    else
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
    UpdateKeyHolder();
    // A key typed here may be held by another program for now.
    KeepTryingMissingKeys(
        *HotKeyManager1, *bindings_, [this] { return EditKeys(); }, [this] { UpdateKeyHolder(); });
    return true;
}
