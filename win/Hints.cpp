#include "win/Hints.h"

namespace win {
namespace {
constexpr UINT_PTR HintSubclassId = 0x48494E54;  // "HINT"
constexpr wchar_t HintProperty[] = L"Tintsnatch4.Hint";

std::wstring* HintOf(HWND control) {
    return static_cast<std::wstring*>(GetPropW(control, HintProperty));
}

// The hint text hangs on a property of the control, so it needs no table of windows; a subclass
// frees it at the control's WM_NCDESTROY.
LRESULT CALLBACK HintKeeper(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR /*id*/,
                            DWORD_PTR /*data*/) {
    if (msg == WM_NCDESTROY) {
        RemoveWindowSubclass(hwnd, HintKeeper, HintSubclassId);
        delete static_cast<std::wstring*>(RemovePropW(hwnd, HintProperty));
    }
    return DefSubclassProc(hwnd, msg, wp, lp);
}
}  // namespace

void SetHint(HWND control, const std::wstring& hint) {
    if (std::wstring* text = HintOf(control)) {
        *text = hint;
        return;
    }
    auto* text = new std::wstring(hint);
    if (!SetWindowSubclass(control, HintKeeper, HintSubclassId, 0) ||
        !SetPropW(control, HintProperty, text)) {
        RemoveWindowSubclass(control, HintKeeper, HintSubclassId);
        delete text;
    }
}

std::wstring GetHint(HWND control) {
    const std::wstring* text = HintOf(control);
    return text ? *text : std::wstring();
}
}  // namespace win
