#include "tray/TrayLogic.h"

namespace tray {

namespace {
constexpr std::size_t AlignUp(std::size_t n, std::size_t a) { return (n + a - 1) / a * a; }

// Offset of the tip in the record: cbSize, hWnd, uID, uCallbackMessage, uFlags, hIcon, each at
// its natural alignment.
constexpr std::size_t TipOffset(std::size_t ptr) {
    std::size_t n = AlignUp(4, ptr) + ptr;  // cbSize, hWnd
    n += 12;                                // uID, uCallbackMessage, uFlags
    return AlignUp(n, ptr) + ptr;           // hIcon
}
}  // namespace

std::uint32_t RecordSize(std::uint32_t shellVersion, std::size_t pointerBytes) {
    std::size_t n = TipOffset(pointerBytes);
    if (!IsShell5(shellVersion)) return static_cast<std::uint32_t>(AlignUp(n + 64, pointerBytes));
    // szTip[128], dwState, dwStateMask, szInfo[256], uVersion, szInfoTitle[64], dwInfoFlags
    n += 128 + 4 + 4 + 256 + 4 + 64 + 4;
    return static_cast<std::uint32_t>(AlignUp(n, pointerBytes));
}

std::size_t TipLimit(std::uint32_t shellVersion) { return IsShell5(shellVersion) ? 127 : 63; }

std::wstring ShortHint(std::wstring_view hint) {
    return std::wstring(hint.substr(0, hint.find(L'|')));
}

std::wstring TipText(std::wstring_view hint, std::uint32_t shellVersion) {
    std::wstring tip = ShortHint(hint);
    std::size_t limit = TipLimit(shellVersion);
    if (tip.size() > limit) {
        tip.resize(limit);
        if (tip.back() >= 0xD800 && tip.back() <= 0xDBFF) tip.pop_back();
    }
    return tip;
}

std::wstring HintForShell(std::wstring_view hint, std::uint32_t shellVersion) {
    if (IsShell5(shellVersion)) return std::wstring(hint);
    std::wstring out;
    out.reserve(hint.size());
    for (std::size_t i = 0; i < hint.size(); ++i) {
        if (hint[i] == L'\r' && i + 1 < hint.size() && hint[i + 1] == L'\n') {
            out += L" - ";
            ++i;
        } else {
            out += hint[i];
        }
    }
    return out;
}

RecordFields ActivationRecord(std::uint32_t shellVersion, std::wstring_view hint,
                              std::size_t pointerBytes) {
    RecordFields r;
    r.size = RecordSize(shellVersion, pointerBytes);
    r.tip = TipText(hint, shellVersion);
    r.setVersion = IsShell5(shellVersion);
    r.flags = ActivationFlags | (r.setVersion ? FlagShowTip : 0);
    r.version = r.setVersion ? NotifyIconVersion : 0;
    return r;
}

void RefreshTip(RecordFields& record, std::wstring_view hint, std::uint32_t shellVersion) {
    record.tip = TipText(hint, shellVersion);
    record.flags = TipRefreshFlags | (record.flags & FlagShowTip);
}

CallbackRoute RouteCallback(std::uint32_t lParam) {
    for (const auto& route : CallbackRoutes)
        if (route.lParam == lParam) return route;
    return {lParam, CallbackAction::None, TMouseButton::mbLeft};
}

Callback DecodeCallback(std::uint64_t wParam, std::uint64_t lParam, bool version4) {
    if (!version4) return {static_cast<std::uint32_t>(lParam), false, 0, 0};
    // Signed halves: a monitor left of or above the primary one has negative coordinates.
    return {static_cast<std::uint32_t>(lParam & 0xFFFF), true,
            static_cast<std::int16_t>(wParam & 0xFFFF),
            static_cast<std::int16_t>((wParam >> 16) & 0xFFFF)};
}

CallbackRoute RouteCallback(const Callback& callback, bool version4) {
    if (version4)
        for (const auto& route : Version4Routes)
            if (route.lParam == callback.event) return route;
    return RouteCallback(callback.event);
}

bool KeySelectGate::Accept(std::uint64_t now) {
    if (busy_ || (ended_ && now - endedAt_ < gap_)) return false;
    busy_ = true;
    return true;
}

void KeySelectGate::Ended(std::uint64_t now) {
    busy_ = false;
    ended_ = true;
    endedAt_ = now;
}

}  // namespace tray
