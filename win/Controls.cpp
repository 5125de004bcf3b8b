#include "win/Controls.h"

#include <algorithm>

#include "access/Accessible.h"
#include "win/DpiScale.h"
#include "win/ErrorReport.h"
#include "win/Gdi.h"
#include "win/Text.h"

namespace win {

namespace {
// A check box or radio button at 96 DPI: its 13-pixel box and the gap before its text.
constexpr int CheckBoxRoom = 17;

// The room a control's text needs in its font, at least one line high.
SIZE TextRoom(HWND control, int dpi) {
    const std::wstring text = GetText(control);
    gdi::WindowDC screen(nullptr);
    if (!screen) throw Error(L"Cannot measure a control's text");
    auto font = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
    gdi::Selection select(screen.Get(), font ? font : GetStockObject(SYSTEM_FONT));
    wchar_t cls[16] = {};
    GetClassNameW(control, cls, 16);
    const LONG_PTR style = GetWindowLongPtrW(control, GWL_STYLE);
    const bool button = _wcsicmp(cls, L"Button") == 0;
    const bool box = button && ((style & BS_TYPEMASK) == BS_AUTOCHECKBOX ||
                                (style & BS_TYPEMASK) == BS_AUTORADIOBUTTON);
    // Buttons show an ampersand as the underline of the next letter; our labels show it as is.
    const UINT prefix = button ? 0 : DT_NOPREFIX;
    RECT r{};
    TEXTMETRICW tm{};
    if (!GetTextMetricsW(screen.Get(), &tm) ||
        (!text.empty() && !DrawTextW(screen.Get(), text.c_str(), static_cast<int>(text.size()), &r,
                                     DT_CALCRECT | prefix)))
        throw Error(L"Cannot measure a control's text");
    return {r.right + (box ? dpi::Scale(CheckBoxRoom, dpi) : 0), std::max(r.bottom, tm.tmHeight)};
}
}  // namespace

void Panel::Create(HWND parent, int id, int x, int y, int w, int h, DWORD extraStyle) {
    RegisterClass(L"TPanel", 0, nullptr, GetSysColorBrush(COLOR_BTNFACE));
    Window::Create(WS_EX_CONTROLPARENT, L"TPanel", L"",
                   WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | extraStyle, x, y, w, h, parent,
                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)));
}

LRESULT Panel::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_COMMAND:
        case WM_NOTIFY:
        case WM_HSCROLL:
        case WM_VSCROLL:
            if (HWND root = GetAncestor(Handle(), GA_ROOT); root && root != Handle())
                return SendMessageW(root, msg, wp, lp);
            break;
    }
    return Window::HandleMessage(msg, wp, lp);
}

void Readout::Place(HWND parent, int id, const wchar_t* text, const RECT& bounds, HFONT font) {
    if (Handle()) {
        win::Place(Handle(), bounds);
    } else {
        RegisterClass(L"TReadout", CS_OWNDC);
        text_ = text ? text : L"";
        Create(0, L"TReadout", nullptr, WS_CHILD | WS_VISIBLE, bounds.left, bounds.top,
               bounds.right - bounds.left, bounds.bottom - bounds.top, parent,
               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)));
    }
    SetFont(font);
}

void Readout::SetFont(HFONT font) {
    font_ = font;
    gdi::WindowDC own(Handle());
    if (own) SelectObject(own.Get(), font_ ? font_ : GetStockObject(SYSTEM_FONT));
    InvalidateRect(Handle(), nullptr, FALSE);
}

void Readout::Paint(HDC dc) {
    RECT r;
    GetClientRect(Handle(), &r);
    // Its own context has the font already; another one (a print) gets it for this drawing.
    HGDIOBJ font = font_ ? font_ : GetStockObject(SYSTEM_FONT);
    HGDIOBJ previous = GetCurrentObject(dc, OBJ_FONT) == font ? nullptr : SelectObject(dc, font);
    SetBkColor(dc, ownColors_ ? backColor_ : GetSysColor(COLOR_BTNFACE));
    SetTextColor(dc, ownColors_ ? textColor_ : GetSysColor(COLOR_WINDOWTEXT));
    // Background and text in one call: no moment shows one without the other.
    ExtTextOutW(dc, 0, 0, ETO_OPAQUE | ETO_CLIPPED, &r, text_.c_str(),
                static_cast<UINT>(text_.size()), nullptr);
    if (previous) SelectObject(dc, previous);
}

void Readout::SetColors(COLORREF text, COLORREF back) {
    if (ownColors_ && text == textColor_ && back == backColor_) return;
    ownColors_ = true;
    textColor_ = text;
    backColor_ = back;
    InvalidateRect(Handle(), nullptr, FALSE);
}

LRESULT Readout::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_GETOBJECT:
            if (LRESULT r = 0; a11y::AnswerGetObject(Handle(), wp, lp, a11y::Kind::Readout, r))
                return r;
            break;
        case WM_SETTEXT:
            // Kept here, not by the platform: storing it there costs a call into the system (a
            // server request under Wine) and tells accessibility listeners of a new name, both
            // many times a second. Drawn now, as a label draws a new text.
            text_ = lp ? reinterpret_cast<const wchar_t*>(lp) : L"";
            if (IsWindowVisible(Handle())) {
                gdi::WindowDC own(Handle());
                if (own) Paint(own.Get());
            }
            return TRUE;
        case WM_GETTEXTLENGTH:
            return static_cast<LRESULT>(text_.size());
        case WM_GETTEXT:
            return AnswerGetText(text_, wp, lp);
        case WM_SETFONT:
            SetFont(reinterpret_cast<HFONT>(wp));
            return 0;
        case WM_GETFONT:
            return reinterpret_cast<LRESULT>(font_);
        case WM_NCHITTEST:
            return HTTRANSPARENT;
        case WM_DESTROY:
            // The font goes back to its owner unselected.
            if (gdi::WindowDC own(Handle()); own)
                SelectObject(own.Get(), GetStockObject(SYSTEM_FONT));
            break;
    }
    return PaintedWindow::HandleMessage(msg, wp, lp);
}

HWND CreateControl(const wchar_t* className, const wchar_t* text, DWORD style, int x, int y, int w,
                   int h, HWND parent, int id, HFONT font, DWORD exStyle) {
    HWND hwnd =
        CreateWindowExW(exStyle, className, text, WS_CHILD | style, x, y, w, h, parent,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), Instance(), nullptr);
    if (!hwnd) throw Error(std::wstring(L"Cannot create control ") + className);
    if (font) SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return hwnd;
}

HWND CreateLabel(HWND parent, int id, const wchar_t* text, int x, int y, int w, int h, HFONT font,
                 DWORD extraStyle) {
    return CreateControl(L"STATIC", text, WS_VISIBLE | SS_LEFT | SS_NOPREFIX | extraStyle, x, y, w,
                         h, parent, id, font);
}

HWND CreateGroupBox(HWND parent, int id, const wchar_t* caption, int x, int y, int w, int h,
                    HFONT font, DWORD extraStyle) {
    // A group box paints only its frame and caption, and our panels clip their children: without
    // WS_EX_TRANSPARENT nobody would paint its inside, which would keep whatever the screen
    // showed there before (the other view, the page shown last).
    return CreateControl(L"BUTTON", caption, WS_VISIBLE | BS_GROUPBOX | extraStyle, x, y, w, h,
                         parent, id, font, WS_EX_TRANSPARENT);
}

void Place(HWND control, const RECT& bounds, HFONT font) {
    if (font) SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    SetWindowPos(control, nullptr, bounds.left, bounds.top, bounds.right - bounds.left,
                 bounds.bottom - bounds.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void PlaceControl(HWND& control, const wchar_t* className, const wchar_t* text, DWORD style,
                  const RECT& bounds, HWND parent, int id, HFONT font, DWORD exStyle) {
    if (control)
        Place(control, bounds, font);
    else
        control = CreateControl(className, text, style, bounds.left, bounds.top,
                                bounds.right - bounds.left, bounds.bottom - bounds.top, parent, id,
                                font, exStyle);
}

void PlaceLabel(HWND& control, HWND parent, int id, const wchar_t* text, const RECT& bounds,
                HFONT font, DWORD extraStyle) {
    if (control)
        Place(control, bounds, font);
    else
        control = CreateLabel(parent, id, text, bounds.left, bounds.top, bounds.right - bounds.left,
                              bounds.bottom - bounds.top, font, extraStyle);
}

void PlaceGroupBox(HWND& control, HWND parent, int id, const wchar_t* caption, const RECT& bounds,
                   HFONT font, DWORD extraStyle) {
    if (control)
        Place(control, bounds, font);
    else
        control =
            CreateGroupBox(parent, id, caption, bounds.left, bounds.top, bounds.right - bounds.left,
                           bounds.bottom - bounds.top, font, extraStyle);
}

LRESULT AnswerGetText(const std::wstring& text, WPARAM wp, LPARAM lp) {
    if (wp == 0 || !lp) return 0;
    auto* to = reinterpret_cast<wchar_t*>(lp);
    const size_t n = std::min<size_t>(text.size(), wp - 1);
    std::copy_n(text.c_str(), n, to);
    to[n] = L'\0';
    return static_cast<LRESULT>(n);
}

void SetText(HWND hwnd, const std::wstring& text) { SetWindowTextW(hwnd, text.c_str()); }

void SetTextIfChanged(HWND hwnd, const std::wstring& text) {
    if (GetText(hwnd) != text) SetText(hwnd, text);
}

std::wstring GetText(HWND hwnd) { return WindowText(hwnd); }

int FitText(HWND control, int dpi) {
    RECT r;
    if (!GetWindowRect(control, &r)) return 0;
    const SIZE need = TextRoom(control, dpi);
    const int w = r.right - r.left, h = r.bottom - r.top;
    const int grow = std::max(0, static_cast<int>(need.cx) - w);
    const int high = std::max(h, static_cast<int>(need.cy));
    if (grow > 0 || high > h)
        SetWindowPos(control, nullptr, 0, 0, w + grow, high,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    return grow;
}

bool IsShown(HWND hwnd) { return (GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_VISIBLE) != 0; }

void SetVisible(HWND hwnd, bool visible) {
    if (IsShown(hwnd) != visible) ShowWindow(hwnd, visible ? SW_SHOW : SW_HIDE);
}

HWND FindControl(HWND root, int id) {
    struct Search {
        int id;
        HWND found;
    } s{id, nullptr};
    EnumChildWindows(
        root,
        [](HWND h, LPARAM lp) -> BOOL {
            auto* s = reinterpret_cast<Search*>(lp);
            if (GetDlgCtrlID(h) == s->id) {
                s->found = h;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&s));
    return s.found;
}

SIZE OuterSize(HWND hwnd) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    return {r.right - r.left, r.bottom - r.top};
}

void SetOuterSize(HWND hwnd, int w, int h) {
    SIZE s = OuterSize(hwnd);
    if (s.cx == w && s.cy == h) return;
    SetWindowPos(hwnd, nullptr, 0, 0, w, h, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void RadioGroup::Place(HWND parent, int id, int firstItemId, const wchar_t* caption,
                       const std::vector<std::wstring>& items, int columns, const RECT& bounds,
                       HFONT font, int dpi) {
    if (!box_) {
        firstId_ = firstItemId;
        columns_ = std::max(1, columns);
        box_ = CreateGroupBox(parent, id, caption, 0, 0, 0, 0, font);
        for (size_t i = 0; i < items.size(); ++i) {
            DWORD style = WS_VISIBLE | BS_AUTORADIOBUTTON | (i == 0 ? WS_GROUP | WS_TABSTOP : 0);
            buttons_.push_back(CreateControl(L"BUTTON", items[i].c_str(), style, 0, 0, 0, 0, parent,
                                             firstItemId + static_cast<int>(i), font));
        }
    }
    LayOut(bounds, font, dpi);
}

void RadioGroup::LayOut(const RECT& bounds, HFONT font, int dpi) {
    auto s = [dpi](int v) { return dpi::Scale(v, dpi); };
    win::Place(box_, bounds, font);
    int x = bounds.left, w = bounds.right - bounds.left, h = bounds.bottom - bounds.top;
    int count = Count();
    int rows = (count + columns_ - 1) / columns_;
    int innerTop = bounds.top + s(15), innerH = h - s(15) - s(4);
    int colW = (w - s(16)) / columns_;
    int rowH = rows ? innerH / rows : innerH;
    int buttonH = s(17);
    for (int i = 0; i < count; ++i) {
        int col = i / rows, row = i % rows;  // items run down each column first
        int left = x + s(8) + col * colW,
            top = innerTop + row * rowH + std::max(0, (rowH - buttonH) / 2);
        win::Place(buttons_[static_cast<size_t>(i)],
                   RECT{left, top, left + colW - s(4), top + buttonH}, font);
    }
}

int RadioGroup::ItemIndex() const { return index_; }

bool RadioGroup::SetItemIndex(int index) {
    index = std::clamp(index, -1, Count() - 1);
    for (int i = 0; i < Count(); ++i)
        SendMessageW(buttons_[static_cast<size_t>(i)], BM_SETCHECK,
                     i == index ? BST_CHECKED : BST_UNCHECKED, 0);
    bool changed = index != index_;
    index_ = index;
    MarkTabStop();
    return changed;
}

bool RadioGroup::HandleClick(int controlId) {
    if (!Owns(controlId)) return false;
    int index = -1;
    for (size_t i = 0; i < buttons_.size(); ++i)
        if (SendMessageW(buttons_[i], BM_GETCHECK, 0, 0) == BST_CHECKED)
            index = static_cast<int>(i);
    bool changed = index != index_;
    index_ = index;
    MarkTabStop();
    return changed;
}

void RadioGroup::MarkTabStop() {
    // As in a dialog, Tab stops at a group once, on its chosen button (the first while none is).
    const size_t stop = index_ < 0 ? 0 : static_cast<size_t>(index_);
    for (size_t i = 0; i < buttons_.size(); ++i) {
        const LONG_PTR style = GetWindowLongPtrW(buttons_[i], GWL_STYLE);
        const LONG_PTR marked = i == stop ? style | WS_TABSTOP : style & ~WS_TABSTOP;
        if (marked != style) SetWindowLongPtrW(buttons_[i], GWL_STYLE, marked);
    }
}

bool RadioGroup::ArrowKey(HWND focus, unsigned key) {
    const auto at = std::find(buttons_.begin(), buttons_.end(), focus);
    if (at == buttons_.end()) return false;
    int step = 0;
    if (key == VK_DOWN || key == VK_RIGHT) step = 1;
    if (key == VK_UP || key == VK_LEFT) step = -1;
    if (step == 0) return false;
    const int count = Count(), from = static_cast<int>(at - buttons_.begin());
    for (int k = 1; k < count; ++k) {
        HWND next = buttons_[static_cast<size_t>((from + step * k + count) % count)];
        if (!IsWindowVisible(next) || !IsWindowEnabled(next)) continue;
        SetFocus(next);
        for (HWND b : buttons_)
            SendMessageW(b, BM_SETCHECK, b == next ? BST_CHECKED : BST_UNCHECKED, 0);
        SendMessageW(GetParent(next), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(next), BN_CLICKED),
                     reinterpret_cast<LPARAM>(next));
        break;
    }
    // A group with one button that can take the focus keeps it where it is.
    return true;
}

std::wstring RadioGroup::ItemText(int index) const {
    if (index < 0 || index >= Count()) return {};
    return GetText(buttons_[static_cast<size_t>(index)]);
}

bool RadioGroup::Owns(int controlId) const {
    return controlId >= firstId_ && controlId < firstId_ + Count();
}

void RadioGroup::SetEnabled(bool enabled) {
    EnableWindow(box_, enabled);
    for (HWND b : buttons_) EnableWindow(b, enabled);
}

bool RadioGroup::Enabled() const { return IsWindowEnabled(box_) != FALSE; }

int TrackPosition(HWND track) { return static_cast<int>(SendMessageW(track, TBM_GETPOS, 0, 0)); }
int TrackMin(HWND track) { return static_cast<int>(SendMessageW(track, TBM_GETRANGEMIN, 0, 0)); }
int TrackMax(HWND track) { return static_cast<int>(SendMessageW(track, TBM_GETRANGEMAX, 0, 0)); }

bool SetTrackPosition(HWND track, int pos) {
    pos = std::clamp(pos, TrackMin(track), TrackMax(track));
    if (pos == TrackPosition(track)) return false;
    SendMessageW(track, TBM_SETPOS, TRUE, pos);
    return true;
}

std::uint16_t HotKeyValue(HWND edit) {
    auto v = static_cast<std::uint16_t>(SendMessageW(edit, HKM_GETHOTKEY, 0, 0));
    std::uint16_t key = v & 0xFF, mods = v >> 8;
    std::uint16_t shortcut = key;
    if (mods & HOTKEYF_SHIFT) shortcut |= 0x2000;
    if (mods & HOTKEYF_CONTROL) shortcut |= 0x4000;
    if (mods & HOTKEYF_ALT) shortcut |= 0x8000;
    return shortcut;
}

void SetHotKeyValue(HWND edit, std::uint16_t shortcut) {
    WORD mods = 0;
    if (shortcut & 0x2000) mods |= HOTKEYF_SHIFT;
    if (shortcut & 0x4000) mods |= HOTKEYF_CONTROL;
    if (shortcut & 0x8000) mods |= HOTKEYF_ALT;
    SendMessageW(edit, HKM_SETHOTKEY, MAKEWORD(shortcut & 0xFF, mods), 0);
}

bool IsChecked(HWND button) { return SendMessageW(button, BM_GETCHECK, 0, 0) == BST_CHECKED; }

bool SetChecked(HWND button, bool checked) {
    if (IsChecked(button) == checked) return false;
    SendMessageW(button, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
    return true;
}

}  // namespace win
