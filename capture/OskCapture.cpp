#include "capture/OskCapture.h"

#include <dwmapi.h>

#include <optional>
#include <utility>

#include "capture/CaptureBounds.h"
#include "capture/CaptureTheObject.h"
#include "capture/CaptureTheRect.h"
#include "capture/CountdownWindow.h"
#include "capture/CursorImageWin32.h"
#include "capture/RegionProposal.h"
#include "capture/ScreenSettleWin32.h"
#include "win/Application.h"
#include "win/ErrorReport.h"

namespace {
// Restores the application (when it was minimised for the operation) on every way out of an
// operation, failures included. When nothing of ours shows what the operation did (the user backed
// out, a pick copied its colour, the window is hidden), the foreground goes back to the window the
// user was in; else the main window takes it, showing the capture.
class RestoreOnExit {
  public:
    RestoreOnExit(bool minimized, HWND front, const bool& giveBack)
        : minimized_(minimized), front_(front), giveBack_(giveBack) {}
    ~RestoreOnExit() {
        auto& app = win::Application();
        HWND main = app.MainWindow();
        if (minimized_) {
            if (giveBack_)
                app.RestoreTo({front_});
            else
                app.RestoreTo({main, front_});
        } else if ((giveBack_ || !main || !IsWindowVisible(main)) && front_ &&
                   IsWindowVisible(front_)) {
            // Refused only when the platform kept the foreground with it all along.
            (void)SetForegroundWindow(front_);
        }
    }
    RestoreOnExit(const RestoreOnExit&) = delete;
    RestoreOnExit& operator=(const RestoreOnExit&) = delete;

  private:
    bool minimized_;
    HWND front_;
    const bool& giveBack_;
};

// The window the user was in as an operation starts. A hotkey brings the application to the
// front before its command runs: when ours is in front, the window that was before it.
HWND UsersFront() {
    auto& app = win::Application();
    HWND front = GetForegroundWindow();
    if (!front || app.Owns(front))
        if (HWND before = app.FrontBefore()) front = before;
    return front;
}

class BusyFlag {
  public:
    explicit BusyFlag(bool& flag) : flag_(flag) { flag_ = true; }
    ~BusyFlag() { flag_ = false; }
    BusyFlag(const BusyFlag&) = delete;
    BusyFlag& operator=(const BusyFlag&) = delete;

  private:
    bool& flag_;
};

// Keeps the engine's pointer to an overlay or the countdown for as long as it shows.
template <typename T>
class Pointer {
  public:
    Pointer(T*& slot, T& window) : slot_(slot) { slot_ = &window; }
    ~Pointer() { slot_ = nullptr; }
    Pointer(const Pointer&) = delete;
    Pointer& operator=(const Pointer&) = delete;

  private:
    T*& slot_;
};

[[noreturn]] void NoScreen() { throw win::Error(L"Cannot read the screen"); }

geo::Rect FromRect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

// Every monitor's rectangle on the desk as it is now.
std::vector<geo::Rect> Monitors() {
    std::vector<geo::Rect> found;
    const auto add = [](HMONITOR, HDC, LPRECT m, LPARAM data) -> BOOL {
        reinterpret_cast<std::vector<geo::Rect>*>(data)->push_back(FromRect(*m));
        return TRUE;
    };
    if (!EnumDisplayMonitors(nullptr, nullptr, add, reinterpret_cast<LPARAM>(&found)))
        found.clear();
    return found;
}

// All monitors together, as the overlays cover them.
RECT DeskRect() {
    const int x = GetSystemMetrics(SM_XVIRTUALSCREEN), y = GetSystemMetrics(SM_YVIRTUALSCREEN);
    return {x, y, x + GetSystemMetrics(SM_CXVIRTUALSCREEN),
            y + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
}

// The frame as the compositor draws it, without the invisible resize borders. Its library is
// loaded at the first capture of a window, not at every start; without a compositor (Wine, as we
// run it) there is no answer.
std::optional<geo::Rect> VisibleFrame(HWND window) {
    using GetAttributeFn = HRESULT(WINAPI*)(HWND, DWORD, PVOID, DWORD);
    static const auto getAttribute = [] {
        HMODULE dwm = LoadLibraryExW(L"dwmapi.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
        return dwm ? reinterpret_cast<GetAttributeFn>(
                         reinterpret_cast<void*>(GetProcAddress(dwm, "DwmGetWindowAttribute")))
                   : nullptr;
    }();
    RECT frame{};
    if (!getAttribute ||
        FAILED(getAttribute(window, DWMWA_EXTENDED_FRAME_BOUNDS, &frame, sizeof frame)))
        return std::nullopt;
    return FromRect(frame);
}

// The screen area that shows the window; false when it has no rectangle (it is gone).
bool ScreenAreaOf(HWND window, RECT& area) {
    RECT r{};
    if (!window || !GetWindowRect(window, &r)) return false;
    WindowPlacing placing;
    placing.Window = FromRect(r);
    placing.TopLevel = (GetWindowLongPtrW(window, GWL_STYLE) & WS_CHILD) == 0;
    if (placing.TopLevel) {
        placing.Frame = VisibleFrame(window);
        placing.Maximized = IsZoomed(window) != FALSE;
        const int x = GetSystemMetrics(SM_XVIRTUALSCREEN), y = GetSystemMetrics(SM_YVIRTUALSCREEN);
        placing.Desk = {x, y, x + GetSystemMetrics(SM_CXVIRTUALSCREEN),
                        y + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
        MONITORINFO info{};
        info.cbSize = sizeof info;
        placing.Monitor =
            GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &info)
                ? FromRect(info.rcMonitor)
                : placing.Desk;
    }
    const geo::Rect c = CaptureBounds(placing);
    area = {c.left, c.top, c.right, c.bottom};
    return true;
}
}  // namespace

void TOskScreenCapture::Settle(const std::vector<RECT>& vacated) const {
    if (Delay > 0) settle::WaitUntilShown(vacated, static_cast<DWORD>(Delay));
}

std::unique_ptr<TPicture> TOskScreenCapture::Run(const std::function<bool()>& take) {
    BusyFlag busy(capturing_);
    // Read before anything moves: the pointer's shape is the one of the window under it now.
    std::optional<TCursorShot> cursor = std::exchange(pointer_, std::nullopt);
    if (!IncludeCursor)
        cursor.reset();
    else if (!cursor)
        cursor = TCursorShot::Take();
    origin_.reset();
    showsPointer_ = false;
    bool minimize = Minimize;
    cancelled_ = false;
    HWND front = UsersFront();
    std::optional<settle::OwnWindows> own;
    if (minimize) {
        own.emplace();
        win::Application().Minimize();
    }
    RestoreOnExit restore(minimize, front, cancelled_);
    Settle(own ? own->Areas() : std::vector<RECT>{});
    if (StartDelay > 0) {
        TCountdownForm countdown;
        {
            Pointer<TCountdownForm> running(countdown_, countdown);
            cancelled_ = !countdown.Run(StartDelay);
        }
        if (cancelled_) return nullptr;
        // The countdown is ours too: read once the screen no longer shows it (at once where the
        // platform kept it out of every capture).
        if (!countdown.ExcludedFromCapture()) Settle({countdown.Bounds()});
    }
    if (!take()) return nullptr;
    if (cursor && origin_ && showsPointer_) cursor->DrawInto(image_, *origin_);
    auto result = image_.Copy();
    if (Auto) CopyToClipboard();
    if (OnCapture) OnCapture(this);
    return result;
}

void TOskScreenCapture::TakeDesktop() {
    image_ = TPicture();
    HWND desktop = GetDesktopWindow();
    gdi::WindowDC dc(desktop, false);
    if (!dc) NoScreen();
    ApplyPaletteRule(dc.Get(), image_);
    RECT r;
    if (!GetWindowRect(desktop, &r)) NoScreen();
    image_.SetSize(r.right - r.left, r.bottom - r.top);
    image_.CopyFrom(dc.Get(), 0, 0);
    origin_ = POINT{r.left, r.top};
    showsPointer_ = true;
}

void TOskScreenCapture::TakeScreenArea(const RECT& area) {
    // Read from the screen, not from the window's own device context: on a composited desktop
    // that is black or stale for windows the graphics card draws, and the frame is not in it.
    // What the screen shows there is captured, including anything lying over the window.
    image_ = TPicture();
    gdi::WindowDC screen(nullptr);
    if (!screen) NoScreen();
    ApplyPaletteRule(screen.Get(), image_);
    image_.SetSize(area.right - area.left, area.bottom - area.top);
    image_.CopyFrom(screen.Get(), area.left, area.top);
}

std::unique_ptr<TPicture> TOskScreenCapture::CaptureDesktop() {
    return Run([this] {
        TakeDesktop();
        return true;
    });
}

std::unique_ptr<TPicture> TOskScreenCapture::CaptureActiveWindow() {
    return Run([this] {
        // After the minimise the foreground is often the application itself, which is never in
        // a capture: the window the user was in is then the one that had the foreground before.
        // With none at all (the system is between activations) the window rectangle is not
        // defined; the whole screen is the nearest thing to what the user asked for.
        auto& app = win::Application();
        HWND window = GetForegroundWindow();
        if (!window || app.Owns(window)) window = app.UserWindow();
        if (!window) window = GetDesktopWindow();
        RECT area;
        if (!ScreenAreaOf(window, area)) NoScreen();
        TakeScreenArea(area);
        origin_ = POINT{area.left, area.top};
        showsPointer_ = true;
        return true;
    });
}

std::unique_ptr<TPicture> TOskScreenCapture::CaptureObject() {
    return Run([this] { return TakeObject(); });
}

std::unique_ptr<TPicture> TOskScreenCapture::CaptureSelection() {
    return Run([this] { return TakeSelection(false, 0, 0); });
}

std::unique_ptr<TPicture> TOskScreenCapture::CaptureSizedSelection(int width, int height) {
    return Run([this, width, height] { return TakeSelection(true, width, height); });
}

bool TOskScreenCapture::TakeObject() {
    {
        // The overlay lies over everything, so the click never reaches the window beneath.
        TCaptureObjectForm overlay(win::Application().Handle());
        if (!Shown(overlay)) return false;
    }
    // The overlay covered the desk; the window captured is the one under the cursor once the
    // screen shows what lay beneath it.
    Settle({DeskRect()});
    POINT p;
    if (!GetCursorPos(&p)) NoScreen();
    RECT area{};
    if (!ScreenAreaOf(WindowFromPoint(p), area)) area = {};
    TakeScreenArea(area);
    origin_ = POINT{area.left, area.top};
    return true;
}

bool TOskScreenCapture::TakeSelection(bool fixedSize, int width, int height) {
    // The overlay takes its frozen copy now, after the application left the screen.
    TCaptureRectForm overlay(win::Application().Handle());
    overlay.FixedSize = fixedSize;
    overlay.FixedWidth = width;
    overlay.FixedHeight = height;
    const RECT desk = DeskRect();
    overlay.ShowSize = OfferLastRegion;
    // The kept rectangle may come from a hand-edited file or from a monitor since unplugged:
    // only what lies on the desk now is offered, and nothing when none of it does.
    if (OfferLastRegion && LastRegion && !fixedSize)
        if (const auto r = proposal::OnDesk(FromRect(*LastRegion), Monitors()))
            overlay.Proposal = frame::Rect{r->left - desk.left, r->top - desk.top,
                                           r->right - desk.left, r->bottom - desk.top};
    if (!Shown(overlay)) return false;
    // The area was read from the frozen copy when the button was released: nothing waits here.
    image_ = std::move(overlay.SelectionImage());
    // The overlay counts from the desk's top-left corner.
    if (const auto& area = overlay.TakenArea()) {
        origin_ = POINT{desk.left + area->Left, desk.top + area->Top};
        showsPointer_ = true;
        if (!fixedSize)
            LastRegion =
                RECT{origin_->x, origin_->y, desk.left + area->Right, desk.top + area->Bottom};
    }
    return true;
}

bool TOskScreenCapture::Shown(TScreenOverlay& overlay) {
    const int result = ShowOverlay(overlay);
    if (result == TScreenOverlay::mrAbort) cancelled_ = true;
    return result == TScreenOverlay::mrOk;
}

void TOskScreenCapture::RunAside(const std::function<void()>& work) {
    BusyFlag busy(capturing_);
    // An application already away (minimised by the user, or to the tray) shows nothing of ours,
    // and stays away afterwards: a restore would bring it back.
    const bool minimize = Minimize && !win::Application().IsMinimized();
    // Whatever way the work ends it opens nothing of ours: the keys go back to the user's window.
    const bool giveBack = true;
    HWND front = UsersFront();
    std::optional<settle::OwnWindows> own;
    if (minimize) {
        own.emplace();
        win::Application().Minimize();
    }
    RestoreOnExit restore(minimize, front, giveBack);
    Settle(own ? own->Areas() : std::vector<RECT>{});
    work();
}

int TOskScreenCapture::ShowOverlay(TScreenOverlay& overlay) {
    Pointer<TScreenOverlay> shown(overlay_, overlay);
    return overlay.ShowModal();
}

void TOskScreenCapture::NotePointer() {
    // A key pressed while an operation runs starts nothing: nothing is kept for later.
    if (!capturing_) pointer_ = TCursorShot::Take();
}

void TOskScreenCapture::Cancel() {
    if (countdown_) countdown_->Cancel();
    // Closing an overlay dismisses it.
    if (overlay_ && overlay_->Handle()) SendMessageW(overlay_->Handle(), WM_CLOSE, 0, 0);
}

void TOskScreenCapture::CopyToClipboard() {
    if (image_.Empty()) return;
    ImageClipboard().Copy(image_.Pixels(), image_.Palette());
}

TPngClipboard& TOskScreenCapture::ImageClipboard() {
    if (!clipboard_) clipboard_ = std::make_unique<TPngClipboard>();
    return *clipboard_;
}
