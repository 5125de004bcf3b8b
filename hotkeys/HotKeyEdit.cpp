#include "hotkeys/HotKeyEdit.h"

#include "hotkeys/KeyEntry.h"
#include "win/ErrorReport.h"

namespace hotkeys {

namespace {
constexpr UINT_PTR SubclassId = 0x484B4544;  // "HKED"
// The edit's state hangs on a property too, where TypeKey finds it.
constexpr wchar_t StateProperty[] = L"Tintsnatch4.KeyEdit";

struct EditState {
    WORD value = 0;  // HKM_GETHOTKEY's form: the key, then HOTKEYF_* flags
    AcceptKey accept;
    bool showing = false;  // an HKM_SETHOTKEY of ours, which shows without setting the value
};

bool Held(int vk) { return GetKeyState(vk) < 0; }

// The edit's own form of a shortcut word, with the extended-key flag of the key-down (it tells
// the keypad's keys from the others of the same code in the edit's text).
WORD EditForm(std::uint16_t shortcut, LPARAM keyData) {
    BYTE flags = 0;
    if (shortcut & 0x2000) flags |= HOTKEYF_SHIFT;
    if (shortcut & 0x4000) flags |= HOTKEYF_CONTROL;
    if (shortcut & 0x8000) flags |= HOTKEYF_ALT;
    if ((keyData >> 24) & 1) flags |= HOTKEYF_EXT;
    return MAKEWORD(shortcut & 0xFF, flags);
}

// What the edit shows, its value untouched: the platform's edit draws what it holds.
void Show(HWND edit, EditState& state, WORD shown) {
    state.showing = true;
    SendMessageW(edit, HKM_SETHOTKEY, shown, 0);
    state.showing = false;
}

// The modifiers held now: the value while none is, else the modifiers alone, as the platform's
// edit shows them while they are down.
void ShowHeldModifiers(HWND edit, EditState& state) {
    const std::uint16_t held = PendingModifiers(Held(VK_SHIFT), Held(VK_CONTROL), Held(VK_MENU));
    Show(edit, state, held ? EditForm(held, 0) : state.value);
}

// A complete key becomes the value, unless refused; either way the value shows.
void Take(HWND edit, EditState& state, const KeyPress& key, LPARAM keyData) {
    const auto shortcut = CompleteShortcut(key);
    if (!shortcut) return;
    const WORD value = EditForm(*shortcut, keyData);
    if (value == state.value || (state.accept && !state.accept(*shortcut))) {
        Show(edit, state, state.value);
        return;
    }
    state.value = value;
    Show(edit, state, value);
    SendMessageW(GetParent(edit), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(edit), EN_CHANGE),
                 reinterpret_cast<LPARAM>(edit));
}

void KeyDown(HWND edit, EditState& state, WPARAM vk, LPARAM keyData) {
    if (IsModifierKey(static_cast<std::uint32_t>(vk)))
        ShowHeldModifiers(edit, state);
    else
        Take(edit, state,
             {static_cast<std::uint32_t>(vk), Held(VK_SHIFT), Held(VK_CONTROL), Held(VK_MENU)},
             keyData);
}

LRESULT CALLBACK CompleteKeysOnly(HWND edit, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR,
                                  DWORD_PTR data) {
    auto& state = *reinterpret_cast<EditState*>(data);
    switch (msg) {
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
            // Keys the platform's edit leaves to the window go on there (Alt+Space opens the
            // window menu).
            if (LeftToWindow(static_cast<std::uint32_t>(wp))) break;
            win::Guarded([&] { KeyDown(edit, state, wp, lp); });
            return 0;
        case WM_KEYUP:
        case WM_SYSKEYUP:
            // An Alt or F10 let go here is the edit's, not the window menu's.
            if (IsModifierKey(static_cast<std::uint32_t>(wp))) ShowHeldModifiers(edit, state);
            return 0;
        case WM_CHAR:
        case WM_SYSCHAR:
            // The platform's edit would take the key again from its character.
            return 0;
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            Show(edit, state, state.value);
            break;
        case HKM_SETHOTKEY:
            if (!state.showing) state.value = LOWORD(wp);
            break;
        case HKM_GETHOTKEY:
            return state.value;
        case WM_NCDESTROY:
            RemoveWindowSubclass(edit, CompleteKeysOnly, SubclassId);
            RemovePropW(edit, StateProperty);
            delete &state;
            break;
    }
    return DefSubclassProc(edit, msg, wp, lp);
}
}  // namespace

bool TypeKey(HWND edit, std::uint32_t shortcut) {
    auto* state = static_cast<EditState*>(GetPropW(edit, StateProperty));
    if (!state) return false;
    Take(edit, *state,
         {shortcut & 0xFF, (shortcut & 0x2000) != 0, (shortcut & 0x4000) != 0,
          (shortcut & 0x8000) != 0},
         0);
    return true;
}

void TakeCompleteKeysOnly(HWND edit, AcceptKey accept) {
    auto* state = new EditState{static_cast<WORD>(SendMessageW(edit, HKM_GETHOTKEY, 0, 0)),
                                std::move(accept)};
    if (!SetPropW(edit, StateProperty, state)) {
        delete state;
        throw win::Error(L"Cannot prepare a hotkey edit");
    }
    if (!SetWindowSubclass(edit, CompleteKeysOnly, SubclassId,
                           reinterpret_cast<DWORD_PTR>(state))) {
        RemovePropW(edit, StateProperty);
        delete state;
        throw win::Error(L"Cannot prepare a hotkey edit");
    }
}

}  // namespace hotkeys
