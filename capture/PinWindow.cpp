#include "capture/PinWindow.h"

#include <algorithm>
#include <utility>

#include "access/Names.h"
#include "capture/PinZoom.h"
#include "win/Application.h"
#include "win/Dpi.h"
#include "win/DpiScale.h"
#include "win/ErrorReport.h"
#include "win/Handle.h"

namespace {
constexpr const wchar_t* PinClass = L"TPinForm";
constexpr const wchar_t* BoardClass = L"TPinBoard";
constexpr UINT PruneMessage = WM_APP + 1;
constexpr int FrameWidth = 2;  // at 96 DPI: one dark line and one light
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
    pins_.push_back(std::make_unique<TPinForm>(*this, owner, std::move(bitmap), palette, at,
                                               std::move(mode), ++opened_));
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

void TPinBoard::ActivateNext(const TPinForm* from, bool back) {
    std::vector<TPinForm*> open;
    for (const auto& p : pins_)
        if (!p->Closing()) open.push_back(p.get());
    const auto at = std::ranges::find(open, from);
    if (at == open.end() || open.size() < 2) return;
    const std::size_t i = static_cast<std::size_t>(at - open.begin());
    TPinForm* next = open[(i + (back ? open.size() - 1 : 1)) % open.size()];
    // The pin in front is this program's, so the platform lets another of its windows take over.
    SetForegroundWindow(next->Handle());
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
                   std::wstring mode, int number)
    : board_(board),
      bitmap_(std::move(bitmap)),
      palette_(CopyPalette(palette)),
      mode_(std::move(mode)),
      size_(BitmapSize(HandleOf(bitmap_))),
      number_(number) {
    // The application's icon, which the task switcher and the taskbar show beside the name.
    RegisterClass(PinClass, CS_DBLCLKS, LoadCursorW(nullptr, IDC_SIZEALL), nullptr,
                  win::Application().Icon());
    // Owned by the application window, which takes it off the screen with the rest during a
    // capture; WS_EX_APPWINDOW lists it in the task switcher and the taskbar all the same, which
    // an owned window is not otherwise. The window menu (Alt+Space) gives its taskbar button the
    // icon. Made on its monitor first, whose DPI sizes the frame.
    Create(WS_EX_TOPMOST | WS_EX_APPWINDOW, PinClass, L"", WS_POPUP | WS_SYSMENU, at.x, at.y,
           size_.cx, size_.cy, owner);
    frame_ = dpi::Scale(FrameWidth, win::WindowDpi(Handle()));
    zoom_ = Fitting(100);
    // The image where it was taken, the frame round it.
    Place({at.x - frame_, at.y - frame_});
    // No activation when it appears: the user goes on where they were; a click, the task
    // switcher or Tab from another pin makes it active.
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
    const int next = Fitting(pin::NextZoom(zoom_, in));
    if (next == zoom_) return;
    zoom_ = next;
    RECT r{};
    if (!GetWindowRect(Handle(), &r)) return;
    Place({r.left, r.top});
}

RECT TPinForm::WorkArea() const {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (GetMonitorInfoW(MonitorFromWindow(Handle(), MONITOR_DEFAULTTONEAREST), &info))
        return info.rcWork;
    RECT work{};
    if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0))
        work = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    return work;
}

int TPinForm::Fitting(int percent) const {
    const RECT work = WorkArea();
    return pin::FittingZoom({size_.cx, size_.cy}, percent, frame_,
                            {work.right - work.left, work.bottom - work.top});
}

void TPinForm::Place(POINT at) {
    const geo::Size shown = pin::ZoomedSize({size_.cx, size_.cy}, zoom_);
    const RECT work = WorkArea();
    const geo::Rect r =
        pin::KeepWithin({shown.cx + 2 * frame_, shown.cy + 2 * frame_}, {at.x, at.y},
                        {work.left, work.top, work.right, work.bottom});
    SetWindowPos(Handle(), nullptr, r.left, r.top, r.Width(), r.Height(),
                 SWP_NOZORDER | SWP_NOACTIVATE);
    // The name says the zoom; a screen reader hears the change of the window in front.
    SetWindowTextW(Handle(), a11y::PinName(number_, size_.cx, size_.cy, zoom_).c_str());
    InvalidateRect(Handle(), nullptr, FALSE);
}

void TPinForm::Paint(HDC dc) {
    RECT client;
    GetClientRect(Handle(), &client);
    // Two lines of a pair that stands out on any screen (the system's, so High Contrast's too):
    // dark outside, light inside; the highlight's pair while the pin is active.
    const bool active = GetActiveWindow() == Handle();
    const int outer = std::max(1, frame_ / 2);
    RECT ring = client;
    FillRect(dc, &ring, GetSysColorBrush(active ? COLOR_HIGHLIGHT : COLOR_WINDOWTEXT));
    InflateRect(&ring, -outer, -outer);
    FillRect(dc, &ring, GetSysColorBrush(active ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOW));
    RECT image = client;
    InflateRect(&image, -frame_, -frame_);
    gdi::PaletteSelection pal(dc, palette_.Get());
    gdi::MemoryDC mem(dc);
    if (!mem) return;
    gdi::Selection sel(mem.Get(), HandleOf(bitmap_));
    // Smaller than life the pixels are averaged, larger they show as blocks.
    SetStretchBltMode(dc, zoom_ < 100 ? HALFTONE : COLORONCOLOR);
    SetBrushOrgEx(dc, 0, 0, nullptr);
    StretchBlt(dc, image.left, image.top, image.right - image.left, image.bottom - image.top,
               mem.Get(), 0, 0, size_.cx, size_.cy, SRCCOPY);
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
        case WM_CLOSE:  // Alt+F4, the window menu: the board takes it down
            Close();
            return 0;
        case WM_ACTIVATE:
            InvalidateRect(Handle(), nullptr, FALSE);  // the frame shows which pin is active
            break;
        case WM_KEYDOWN: {
            const bool shift = GetKeyState(VK_SHIFT) < 0;
            const int step = shift ? 10 : 1;
            RECT r{};
            switch (wp) {
                case VK_ESCAPE:
                    Close();
                    break;
                case VK_ADD:
                case VK_SUBTRACT:
                    Zoom(wp == VK_ADD);
                    break;
                case VK_TAB:
                    board_.ActivateNext(this, shift);
                    break;
                case VK_LEFT:
                case VK_RIGHT:
                case VK_UP:
                case VK_DOWN:
                    if (!GetWindowRect(Handle(), &r)) break;
                    SetWindowPos(Handle(), nullptr,
                                 r.left + (wp == VK_LEFT    ? -step
                                           : wp == VK_RIGHT ? step
                                                            : 0),
                                 r.top + (wp == VK_UP     ? -step
                                          : wp == VK_DOWN ? step
                                                          : 0),
                                 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
                    break;
            }
            return 0;
        }
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
