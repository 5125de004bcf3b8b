#include "hints/JvHotLink.h"

#include <shellapi.h>

#include <algorithm>

#include "win/DpiScale.h"

namespace {
constexpr UINT TextFormat = DT_SINGLELINE | DT_NOPREFIX;
constexpr wchar_t Face[] = L"Tahoma";
constexpr wchar_t HotTrackFace[] = L"MS Sans Serif";

gdi::Font LinkFont(const wchar_t* face, int dpi) {
    return gdi::MakeFont(face, dpi::Scale(-11, dpi), true);  // 8 points
}
}  // namespace

bool TJvHotLink::OpenWithShell(const std::wstring& target) {
    // No error message of the shell's own: a link that cannot be opened does nothing visible.
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC;
    info.lpVerb = L"open";
    info.lpFile = target.c_str();
    info.nShow = SW_SHOWNORMAL;
    return ShellExecuteExW(&info) != FALSE;
}

void TJvHotLink::Create(HWND parent, int id, int x, int y, const std::wstring& caption,
                        const std::wstring& url, hints::Alignment alignment, int dpi) {
    caption_ = caption;
    url_ = url;
    alignment_ = alignment;
    MakeFonts(dpi);
    RegisterClass(L"TJvHotLink", 0, LoadCursorW(nullptr, IDC_HAND), nullptr);
    SIZE s = TextSize(font_.Get());
    normalBounds_ = {x, y, x + s.cx, y + s.cy};
    Window::Create(0, L"TJvHotLink", caption_.c_str(), WS_CHILD | WS_VISIBLE, x, y, s.cx, s.cy,
                   parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)));
}

void TJvHotLink::MakeFonts(int dpi) {
    font_ = LinkFont(Face, dpi);
    hotTrackFont_ = LinkFont(HotTrackFace, dpi);
}

void TJvHotLink::Place(int x, int y, int dpi) {
    MakeFonts(dpi);
    SIZE s = TextSize(font_.Get());
    normalBounds_ = {x, y, x + s.cx, y + s.cy};
    AdjustBounds();
}

HFONT TJvHotLink::CurrentFont() const {
    const gdi::Font& f = hot_ && hotTrack_ && hotTrackFont_ ? hotTrackFont_ : font_;
    return f ? f.Get() : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

SIZE TJvHotLink::TextSize(HFONT font) const {
    gdi::WindowDC screen(nullptr);
    if (!screen) return {0, 0};
    gdi::Selection sel(screen.Get(), font ? font : GetStockObject(DEFAULT_GUI_FONT));
    RECT r{0, 0, 0, 0};
    DrawTextW(screen.Get(), caption_.c_str(), static_cast<int>(caption_.size()), &r,
              TextFormat | DT_CALCRECT);
    return {r.right - r.left, r.bottom - r.top};
}

void TJvHotLink::AdjustBounds() {
    SIZE normal = TextSize(font_.Get());
    normalBounds_ = hints::AutoSizeBounds(normalBounds_, {normal.cx, normal.cy}, alignment_);
    hints::Rect bounds = normalBounds_;
    if (hot_ && hotTrack_) {
        SIZE hot = TextSize(CurrentFont());
        hints::Rect b = hints::AutoSizeBounds(normalBounds_, {hot.cx, hot.cy}, alignment_);
        // While hot the link never becomes smaller than it was: a narrower hot-track font must
        // not move the edge out from under the mouse, which would end the hot state and start it
        // again over and over.
        bounds = {std::min(b.left, bounds.left), std::min(b.top, bounds.top),
                  std::max(b.right, bounds.right), std::max(b.bottom, bounds.bottom)};
    }
    SetWindowPos(Handle(), nullptr, bounds.left, bounds.top, bounds.Width(), bounds.Height(),
                 SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(Handle(), nullptr, TRUE);
}

void TJvHotLink::MouseEnter() {
    if (hot_) return;
    hot_ = true;
    savedHintColor_ = settings_.HintColorChoice();
    settings_.ChooseHintColor(hintColor_);
    AdjustBounds();
}

void TJvHotLink::MouseLeave() {
    if (!hot_) return;
    hot_ = false;
    settings_.ChooseHintColor(savedHintColor_);
    AdjustBounds();
}

void TJvHotLink::SetLinkColor(COLORREF color) {
    if (color == linkColor_) return;
    linkColor_ = color;
    if (Handle()) InvalidateRect(Handle(), nullptr, TRUE);
}

void TJvHotLink::Click() {
    if (HWND parent = GetParent(Handle()))
        SendMessageW(parent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(Handle()), STN_CLICKED),
                     reinterpret_cast<LPARAM>(Handle()));
    if (opener_ && !url_.empty()) opener_(url_);
}

void TJvHotLink::Paint(HDC dc) {
    RECT r;
    GetClientRect(Handle(), &r);
    // The background is the parent's, as for a standard label: it answers WM_CTLCOLORSTATIC.
    HWND parent = GetParent(Handle());
    auto brush = reinterpret_cast<HBRUSH>(parent ? SendMessageW(parent, WM_CTLCOLORSTATIC,
                                                                reinterpret_cast<WPARAM>(dc),
                                                                reinterpret_cast<LPARAM>(Handle()))
                                                 : 0);
    FillRect(dc, &r, brush ? brush : GetSysColorBrush(COLOR_BTNFACE));
    gdi::Selection font(dc, CurrentFont());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, linkColor_);
    UINT align = alignment_ == hints::Alignment::Right    ? DT_RIGHT
                 : alignment_ == hints::Alignment::Center ? DT_CENTER
                                                          : DT_LEFT;
    DrawTextW(dc, caption_.c_str(), static_cast<int>(caption_.size()), &r, TextFormat | align);
}

LRESULT TJvHotLink::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_GETFONT:
            // The font in use, the hot-track font while hot, as a control answers it.
            return reinterpret_cast<LRESULT>(CurrentFont());
        case WM_MOUSEMOVE:
            if (!hot_) {
                TRACKMOUSEEVENT tme{sizeof tme, TME_LEAVE, Handle(), 0};
                TrackMouseEvent(&tme);
                MouseEnter();
            }
            return 0;
        case WM_MOUSELEAVE:
            MouseLeave();
            return 0;
        case WM_LBUTTONDOWN:
            pressed_ = true;
            SetCapture(Handle());
            return 0;
        case WM_LBUTTONUP: {
            bool wasPressed = pressed_;
            pressed_ = false;
            if (GetCapture() == Handle()) ReleaseCapture();
            RECT r;
            GetClientRect(Handle(), &r);
            POINT p{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
            if (wasPressed && PtInRect(&r, p)) Click();
            return 0;
        }
        case WM_CAPTURECHANGED:
            pressed_ = false;
            return 0;
        case WM_SETTEXT:
            caption_ =
                reinterpret_cast<const wchar_t*>(lp) ? reinterpret_cast<const wchar_t*>(lp) : L"";
            {
                LRESULT result = PaintedWindow::HandleMessage(msg, wp, lp);
                AdjustBounds();
                return result;
            }
    }
    return PaintedWindow::HandleMessage(msg, wp, lp);
}
