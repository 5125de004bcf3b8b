#pragma once
// The platform-free part of the tray icon: what goes into the shell's notification record for a
// given shell version, how the tip is cut, how a hint is adapted to an old shell, and which
// callback notification does what. The Win32 component (tray/JvTrayIcon) only copies these
// decisions into the platform's record and calls.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace tray {

inline constexpr std::uint32_t IconId = 1;
inline constexpr std::uint32_t CallbackMessage = 0x0401;  // WM_USER + 1

// Record flags (NIF_*).
inline constexpr std::uint32_t FlagMessage = 0x01, FlagIcon = 0x02, FlagTip = 0x04, FlagInfo = 0x10;
// NIF_SHOWTIP: with version 4 the shell shows the tip only when each call asks for it.
inline constexpr std::uint32_t FlagShowTip = 0x80;
inline constexpr std::uint32_t ActivationFlags = FlagMessage | FlagIcon | FlagTip | FlagInfo;
inline constexpr std::uint32_t TipRefreshFlags = FlagMessage | FlagIcon | FlagTip;
// NOTIFYICON_VERSION_4: the shell tells where the icon is (its anchor) with each notification,
// sends WM_CONTEXTMENU for a right-click, Shift+F10 or the menu key, and NIN_KEYSELECT for Enter or
// Space on the icon, so the menu works by keyboard and opens at the icon.
inline constexpr std::uint32_t NotifyIconVersion = 4;

// The shell version is the upper half of shell32.dll's file version: major << 16 | minor.
// Version 5 brought the longer record (128-character tip, balloons, NIM_SETVERSION).
constexpr bool IsShell5(std::uint32_t shellVersion) { return shellVersion > 0x4FFFF; }

// Size of the ANSI record the shell is told about: the version-2 layout on a version-5 shell,
// else the original one. Both layouts hold pointers, so their size depends on the pointer size:
// 488 and 88 bytes in a 32-bit process, 504 and 104 in a 64-bit one.
std::uint32_t RecordSize(std::uint32_t shellVersion, std::size_t pointerBytes = sizeof(void*));

// Longest tip in characters: 127 in the long record, 63 in the original one.
std::size_t TipLimit(std::uint32_t shellVersion);

// The short part of a hint: everything before the first "|".
std::wstring ShortHint(std::wstring_view hint);

// The tip for a hint: its short part cut to the tip limit (never leaving half a surrogate pair).
std::wstring TipText(std::wstring_view hint, std::uint32_t shellVersion);

// A hint as stored for the shell: an old shell cannot show line breaks in a tip, so each CR/LF
// pair becomes " - " there; a version-5 shell keeps them.
std::wstring HintForShell(std::wstring_view hint, std::uint32_t shellVersion);

// The fields of the record that do not name a window or an icon handle.
struct RecordFields {
    std::uint32_t size = 0;
    std::uint32_t id = IconId;
    std::uint32_t callbackMessage = CallbackMessage;
    std::uint32_t flags = 0;
    std::wstring tip;
    bool setVersion = false;  // NIM_SETVERSION follows NIM_ADD (long record only)
    std::uint32_t version = 0;
};

// The record as activation fills it: on a shell asked for version 4, with the flag that keeps
// the tip.
RecordFields ActivationRecord(std::uint32_t shellVersion, std::wstring_view hint,
                              std::size_t pointerBytes = sizeof(void*));
// A tip refresh: the new tip, and from then on without the balloon flag (the tip's own flag
// stays).
void RefreshTip(RecordFields& record, std::wstring_view hint, std::uint32_t shellVersion);

enum class TMouseButton { mbLeft, mbRight, mbMiddle };

// The keys and buttons held at a notification (a set as the framework's shift state).
enum TShiftFlag : unsigned {
    ssShift = 1u << 0,
    ssAlt = 1u << 1,
    ssCtrl = 1u << 2,
    ssLeft = 1u << 3,
    ssRight = 1u << 4,
    ssMiddle = 1u << 5,
};
using TShiftState = unsigned;

// What a callback notification (the record's callback message, lParam = the mouse or key event)
// makes the component do.
enum class CallbackAction { None, TipRefresh, PopupMenu, KeySelect, DoubleClick };

struct CallbackRoute {
    std::uint32_t lParam;
    CallbackAction action;
    TMouseButton button;
};

// The dispatch table; notifications not in it do nothing.
inline constexpr CallbackRoute CallbackRoutes[] = {
    {0x0200, CallbackAction::TipRefresh, TMouseButton::mbLeft},     // mouse moved
    {0x0201, CallbackAction::None, TMouseButton::mbLeft},           // left pressed
    {0x0202, CallbackAction::None, TMouseButton::mbLeft},           // left released
    {0x0203, CallbackAction::DoubleClick, TMouseButton::mbLeft},    // left double-click
    {0x0204, CallbackAction::None, TMouseButton::mbRight},          // right pressed
    {0x0205, CallbackAction::PopupMenu, TMouseButton::mbRight},     // right released
    {0x0206, CallbackAction::DoubleClick, TMouseButton::mbRight},   // right double-click
    {0x0207, CallbackAction::None, TMouseButton::mbMiddle},         // middle pressed
    {0x0208, CallbackAction::None, TMouseButton::mbMiddle},         // middle released
    {0x0209, CallbackAction::DoubleClick, TMouseButton::mbMiddle},  // middle double-click
    {0x0401, CallbackAction::KeySelect, TMouseButton::mbLeft},      // NIN_KEYSELECT
};

// With version 4 the right button's release is followed by WM_CONTEXTMENU, which opens the menu
// (at the icon); the release itself does nothing, or the menu would open twice.
inline constexpr CallbackRoute Version4Routes[] = {
    {0x0205, CallbackAction::None, TMouseButton::mbRight},
    {0x007B, CallbackAction::PopupMenu, TMouseButton::mbRight},  // WM_CONTEXTMENU
};

CallbackRoute RouteCallback(std::uint32_t lParam);

// A callback message as the shell sent it. With version 4 the event is lParam's low word (its
// high word is the icon's identifier) and wParam holds the icon's anchor point in screen
// coordinates; before, lParam is the event and only the cursor tells where.
struct Callback {
    std::uint32_t event;
    bool hasAnchor;
    int x, y;
};
Callback DecodeCallback(std::uint64_t wParam, std::uint64_t lParam, bool version4);
CallbackRoute RouteCallback(const Callback& callback, bool version4);

// Whether the menu a notification opens was asked for by the keyboard: NIN_KEYSELECT always is;
// with version 4, WM_CONTEXTMENU is too unless it follows the right button's release (Shift+F10
// and the menu key send it alone). `previous` is the notification before it, mouse moves aside.
constexpr bool MenuByKeyboard(std::uint32_t event, std::uint32_t previous, bool version4) {
    return event == 0x0401 || (version4 && event == 0x007B && previous != 0x0205);
}

// The shell sends NIN_KEYSELECT twice for one Enter on the icon. The second arrives while the
// menu the first opened is still up (the menu's loop takes sent messages) or just after it
// closed; either way it is dropped, so Enter acts once.
class KeySelectGate {
  public:
    explicit KeySelectGate(std::uint32_t gapMs) : gap_(gapMs) {}
    // Whether a key-select arriving at `now` (ms) acts; one that does is busy until Ended.
    bool Accept(std::uint64_t now);
    void Ended(std::uint64_t now);

  private:
    std::uint32_t gap_;
    bool busy_ = false;
    bool ended_ = false;
    std::uint64_t endedAt_ = 0;
};

// The shell version, read once per process. A failed read (0) is not kept, so the next use reads
// again.
class ShellVersionCache {
  public:
    std::uint32_t Get(const std::function<std::uint32_t()>& read) {
        if (version_ == 0) version_ = read();
        return version_;
    }

  private:
    std::uint32_t version_ = 0;
};

}  // namespace tray
