#include "capture/PinWindow.h"

#include <algorithm>
#include <utility>

#include "capture/PinZoom.h"
#include "win/ErrorReport.h"
#include "win/Handle.h"

namespace {
constexpr const wchar_t* PinClass = L"TPinForm";
constexpr const wchar_t* BoardClass = L"TPinBoard";
constexpr UINT PruneMessage = WM_APP + 1;
enum MenuItem : UINT { ItemCopy = 1, ItemSave, ItemClose, ItemCloseAll };

POINT MessagePoint() {
    const DWORD at = GetMessagePos();
    return {GET_X_LPARAM(at), GET_Y_LPARAM(at)};
}
}  // namespace

TPinBoard::TPinBoard(Actions actions) : actions_(std::move(actions)) {
    RegisterClass(BoardClass);
    Create(0, BoardClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE);
}

TPinBoard::~TPinBoard() {
    pins_.clear();
    if (Handle()) DestroyWindow(Handle());
}

void TPinBoard::Open(HWND owner, SharedBitmap bitmap, HPALETTE palette, POINT at,
                     std::wstring mode) {
    if (!bitmap) return;
    Prune();
    pins_.push_back(
        std::make_unique<TPinForm>(*this, owner, std::move(bitmap), palette, at, std::move(mode)));
}

void TPinBoard::CloseAll() { pins_.clear(); }

std::size_t TPinBoard::Count() const {
    return static_cast<std::size_t>(
        std::ranges::count_if(pins_, [](const auto& p) { return !p->Closing(); }));
}

TPinForm* TPinBoard::Find(HWND window) const {
    for (const auto& p : pins_)
        if (p->Handle() == window && !p->Closing()) return p.get();
    return nullptr;
}

void TPinBoard::RequestClose(TPinForm* pin) {
    // The pin is in its own handler: it is destroyed from the board's next message instead.
    if (pin->Handle()) ShowWindow(pin->Handle(), SW_HIDE);
    PostMessageW(Handle(), PruneMessage, 0, 0);
}

void TPinBoard::RequestCloseAll() {
    for (const auto& p : pins_) p->Close();
}

void TPinBoard::Prune() {
    std::erase_if(pins_, [](const auto& p) { return p->Closing(); });
}

LRESULT TPinBoard::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == PruneMessage) {
        Prune();
        return 0;
    }
    return Window::HandleMessage(msg, wp, lp);
}

TPinForm::TPinForm(TPinBoard& board, HWND owner, SharedBitmap bitmap, HPALETTE palette, POINT at,
                   std::wstring mode)
    : board_(board),
      bitmap_(std::move(bitmap)),
      palette_(CopyPalette(palette)),
      mode_(std::move(mode)),
      size_(BitmapSize(HandleOf(bitmap_))) {
    RegisterClass(PinClass, CS_DBLCLKS, LoadCursorW(nullptr, IDC_SIZEALL));
    // No activation when it appears: the user goes on where they were; a click makes it active.
    Create(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, PinClass, L"Pinned capture", WS_POPUP, at.x, at.y,
           size_.cx, size_.cy, owner);
    ShowWindow(Handle(), SW_SHOWNOACTIVATE);
}

TPinForm::~TPinForm() {
    if (Handle()) DestroyWindow(Handle());
}

void TPinForm::Close() {
    if (closing_) return;
    closing_ = true;
    board_.RequestClose(this);
}

void TPinForm::Zoom(bool in) {
    const int next = pin::NextZoom(zoom_, in);
    if (next == zoom_) return;
    zoom_ = next;
    const geo::Size shown = pin::ZoomedSize({size_.cx, size_.cy}, zoom_);
    SetWindowPos(Handle(), nullptr, 0, 0, shown.cx, shown.cy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(Handle(), nullptr, FALSE);
}

void TPinForm::Paint(HDC dc) {
    RECT client;
    GetClientRect(Handle(), &client);
    gdi::PaletteSelection pal(dc, palette_.Get());
    gdi::MemoryDC mem(dc);
    if (!mem) return;
    gdi::Selection sel(mem.Get(), HandleOf(bitmap_));
    // Smaller than life the pixels are averaged, larger they show as blocks.
    SetStretchBltMode(dc, zoom_ < 100 ? HALFTONE : COLORONCOLOR);
    SetBrushOrgEx(dc, 0, 0, nullptr);
    StretchBlt(dc, 0, 0, client.right, client.bottom, mem.Get(), 0, 0, size_.cx, size_.cy, SRCCOPY);
}

void TPinForm::ShowMenu(POINT screen) {
    win::Menu menu(CreatePopupMenu());
    if (!menu) return;
    const std::pair<UINT, const wchar_t*> items[] = {{ItemCopy, L"&Copy"},
                                                     {ItemSave, L"&Save"},
                                                     {ItemClose, L"C&lose"},
                                                     {ItemCloseAll, L"Close &all"}};
    for (const auto& [item, caption] : items)
        if (!AppendMenuW(menu.Get(), MF_STRING, item, caption)) return;
    // The menu belongs to the window in front, or it stays open after a click elsewhere.
    SetForegroundWindow(Handle());
    const UINT chosen =
        static_cast<UINT>(TrackPopupMenu(menu.Get(), TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY,
                                         screen.x, screen.y, 0, Handle(), nullptr));
    const auto& actions = board_.PinActions();
    switch (chosen) {
        case ItemCopy:
            if (actions.Copy) actions.Copy(bitmap_, palette_.Get());
            break;
        case ItemSave:
            if (actions.Save) actions.Save(HandleOf(bitmap_), palette_.Get(), mode_);
            break;
        case ItemClose:
            Close();
            break;
        case ItemCloseAll:
            board_.RequestCloseAll();
            break;
        default:
            break;
    }
}

LRESULT TPinForm::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        // In screen pixels where each message was made: client coordinates of messages queued
        // before a move would count from where the window no longer is.
        case WM_LBUTTONDOWN: {
            RECT r{};
            GetWindowRect(Handle(), &r);
            const POINT p = MessagePoint();
            grab_ = POINT{p.x - r.left, p.y - r.top};
            SetCapture(Handle());
            return 0;
        }
        case WM_MOUSEMOVE:
            if (grab_ && GetCapture() == Handle()) {
                const POINT p = MessagePoint();
                SetWindowPos(Handle(), nullptr, p.x - grab_->x, p.y - grab_->y, 0, 0,
                             SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            }
            return 0;
        case WM_LBUTTONUP:
        case WM_CAPTURECHANGED:
            grab_.reset();
            if (msg == WM_LBUTTONUP && GetCapture() == Handle()) ReleaseCapture();
            return 0;
        case WM_LBUTTONDBLCLK:
            Close();
            return 0;
        case WM_MOUSEWHEEL:
            Zoom(GET_WHEEL_DELTA_WPARAM(wp) > 0);
            return 0;
        case WM_KEYDOWN:
            if (wp == VK_ESCAPE) Close();
            if (wp == VK_ADD || wp == VK_SUBTRACT) Zoom(wp == VK_ADD);
            return 0;
        case WM_CONTEXTMENU: {
            POINT p{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
            if (p.x == -1 && p.y == -1) {
                // From the keyboard: at the window's corner.
                p = {0, 0};
                ClientToScreen(Handle(), &p);
            }
            ShowMenu(p);
            return 0;
        }
    }
    return PaintedWindow::HandleMessage(msg, wp, lp);
}
