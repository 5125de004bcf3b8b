#include "capture/OskCapture.h"

#include <dwmapi.h>

#include <optional>

#include "capture/CaptureBounds.h"
#include "capture/CaptureTheObject.h"
#include "capture/CaptureTheRect.h"
#include "win/Application.h"
#include "win/ErrorReport.h"

namespace {
// Restores the application on every way out of an operation, failures included.
class RestoreOnExit {
  public:
    explicit RestoreOnExit(bool active) : active_(active) {}
    ~RestoreOnExit() {
        if (active_) win::Application().Restore();
    }
    RestoreOnExit(const RestoreOnExit&) = delete;
    RestoreOnExit& operator=(const RestoreOnExit&) = delete;

  private:
    bool active_;
};

class BusyFlag {
  public:
    explicit BusyFlag(bool& flag) : flag_(flag) { flag_ = true; }
    ~BusyFlag() { flag_ = false; }
    BusyFlag(const BusyFlag&) = delete;
    BusyFlag& operator=(const BusyFlag&) = delete;

  private:
    bool& flag_;
};

// Keeps the engine's pointer to the overlay for as long as it shows.
class ShownOverlay {
  public:
    ShownOverlay(TScreenOverlay*& slot, TScreenOverlay& overlay) : slot_(slot) { slot_ = &overlay; }
    ~ShownOverlay() { slot_ = nullptr; }
    ShownOverlay(const ShownOverlay&) = delete;
    ShownOverlay& operator=(const ShownOverlay&) = delete;

  private:
    TScreenOverlay*& slot_;
};

[[noreturn]] void NoScreen() { throw win::Error(L"Cannot read the screen"); }

geo::Rect FromRect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

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

void TOskScreenCapture::Pause() const {
    if (Delay > 0) Sleep(static_cast<DWORD>(Delay));
}

std::unique_ptr<TPicture> TOskScreenCapture::Run(const std::function<bool()>& take) {
    BusyFlag busy(capturing_);
    bool minimize = Minimize;
    if (minimize) win::Application().Minimize();
    RestoreOnExit restore(minimize);
    Pause();
    if (!take()) return nullptr;
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
        ShownOverlay shown(overlay_, overlay);
        if (overlay.ShowModal() != TScreenOverlay::mrOk) return false;
    }
    // The window captured is the one under the cursor after this second pause.
    Pause();
    POINT p;
    if (!GetCursorPos(&p)) NoScreen();
    RECT area{};
    if (!ScreenAreaOf(WindowFromPoint(p), area)) area = {};
    TakeScreenArea(area);
    return true;
}

bool TOskScreenCapture::TakeSelection(bool fixedSize, int width, int height) {
    // The overlay takes its frozen copy now, after the application left the screen.
    TCaptureRectForm overlay(win::Application().Handle());
    overlay.FixedSize = fixedSize;
    overlay.FixedWidth = width;
    overlay.FixedHeight = height;
    {
        ShownOverlay shown(overlay_, overlay);
        if (overlay.ShowModal() != TScreenOverlay::mrOk) return false;
    }
    // The area was read when the button was released; this pause only delays the result.
    Pause();
    image_ = std::move(overlay.SelectionImage());
    return true;
}

void TOskScreenCapture::Cancel() {
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
