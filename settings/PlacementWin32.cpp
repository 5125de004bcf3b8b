#include "settings/PlacementWin32.h"

#include "win/Application.h"
#include "win/ErrorReport.h"
#include "win/Gdi.h"

namespace settings {

bool Win32PlacementWindow::HasHandle() const { return hwnd_ && IsWindow(hwnd_); }

std::wstring Win32PlacementWindow::ClassName() const {
    wchar_t name[256] = {};
    int n = GetClassNameW(hwnd_, name, 256);
    return std::wstring(name, n > 0 ? static_cast<size_t>(n) : 0);
}

PlacementRecord Win32PlacementWindow::GetPlacement() const {
    WINDOWPLACEMENT wp{};
    wp.length = sizeof wp;
    if (!GetWindowPlacement(hwnd_, &wp)) throw win::Error(L"Cannot read the window placement");
    PlacementRecord r;
    r.flags = static_cast<std::int32_t>(wp.flags);
    r.showCmd = static_cast<std::int32_t>(wp.showCmd);
    r.minX = wp.ptMinPosition.x, r.minY = wp.ptMinPosition.y;
    r.maxX = wp.ptMaxPosition.x, r.maxY = wp.ptMaxPosition.y;
    r.left = wp.rcNormalPosition.left, r.top = wp.rcNormalPosition.top;
    r.right = wp.rcNormalPosition.right, r.bottom = wp.rcNormalPosition.bottom;
    return r;
}

void Win32PlacementWindow::SetPlacement(const PlacementRecord& r) {
    WINDOWPLACEMENT wp{};
    wp.length = sizeof wp;
    wp.flags = static_cast<UINT>(r.flags);
    wp.showCmd = static_cast<UINT>(r.showCmd);
    wp.ptMinPosition = {r.minX, r.minY};
    wp.ptMaxPosition = {r.maxX, r.maxY};
    wp.rcNormalPosition = {r.left, r.top, r.right, r.bottom};
    if (!SetWindowPlacement(hwnd_, &wp)) throw win::Error(L"Cannot set the window placement");
}

bool Win32PlacementWindow::Visible() const { return IsWindowVisible(hwnd_) != FALSE; }

WindowBounds Win32PlacementWindow::Bounds() const {
    RECT rc{};
    if (!GetWindowRect(hwnd_, &rc)) throw win::Error(L"Cannot read the window position");
    return {rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top};
}

BorderStyle Win32PlacementWindow::Border() const {
    auto style = static_cast<DWORD>(GetWindowLongPtrW(hwnd_, GWL_STYLE));
    auto ex = static_cast<DWORD>(GetWindowLongPtrW(hwnd_, GWL_EXSTYLE));
    bool tool = (ex & WS_EX_TOOLWINDOW) != 0;
    if (style & WS_THICKFRAME) return tool ? BorderStyle::SizeToolWin : BorderStyle::Sizeable;
    if (tool) return BorderStyle::ToolWindow;
    if (ex & WS_EX_DLGMODALFRAME) return BorderStyle::Dialog;
    if (style & WS_BORDER) return BorderStyle::Single;
    return BorderStyle::None;
}

WindowKind Win32PlacementWindow::Kind() const {
    if (GetWindowLongPtrW(hwnd_, GWL_EXSTYLE) & WS_EX_MDICHILD) return WindowKind::MdiChild;
    if (FindWindowExW(hwnd_, nullptr, L"MDICLIENT", nullptr)) return WindowKind::MdiFrame;
    return WindowKind::Ordinary;
}

WindowState Win32PlacementWindow::State() const {
    if (IsIconic(hwnd_)) return WindowState::Minimized;
    if (IsZoomed(hwnd_)) return WindowState::Maximized;
    return WindowState::Normal;
}

void Win32PlacementWindow::SetState(WindowState state) {
    if (state == State()) return;
    if (Visible()) {
        int cmd = state == WindowState::Minimized   ? SW_MINIMIZE
                  : state == WindowState::Maximized ? SW_SHOWMAXIMIZED
                                                    : SW_RESTORE;
        ShowWindow(hwnd_, cmd);  // returns the earlier visibility, not success
        return;
    }
    // The window is on its way to being shown (we run inside its show notification): showing it
    // from here would re-enter that notification, so the state change waits for the show.
    WPARAM command = state == WindowState::Minimized   ? SC_MINIMIZE
                     : state == WindowState::Maximized ? SC_MAXIMIZE
                                                       : SC_RESTORE;
    if (!PostMessageW(hwnd_, WM_SYSCOMMAND, command, 0))
        throw win::Error(L"Cannot change the window state");
}

bool Win32PlacementWindow::IsMainWindow() const {
    HWND main = win::Application().MainWindow();
    return !main || main == hwnd_;
}

bool Win32PlacementWindow::ApplicationMinimized() const { return win::Application().IsMinimized(); }

void Win32PlacementWindow::MinimizeApplication() {
    if (!PostMessageW(win::Application().Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0))
        throw win::Error(L"Cannot minimise the application");
}

void Win32PlacementWindow::Repaint() {
    // Only fails for a window that is gone, and then there is nothing to paint.
    (void)RedrawWindow(hwnd_, nullptr, nullptr,
                       RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

ScreenInfo Win32PlacementWindow::Screen() const {
    ScreenInfo s;
    s.width = GetSystemMetrics(SM_CXSCREEN);
    s.height = GetSystemMetrics(SM_CYSCREEN);
    gdi::WindowDC screen(nullptr);
    if (!screen) throw win::Error(L"Cannot read the screen resolution");
    s.pixelsPerInch = GetDeviceCaps(screen.Get(), LOGPIXELSY);
    return s;
}

int Win32PlacementWindow::Metric(SystemMetric metric) const {
    switch (metric) {
        case SystemMetric::CxBorder:
            return GetSystemMetrics(SM_CXBORDER);
        case SystemMetric::CyBorder:
            return GetSystemMetrics(SM_CYBORDER);
        case SystemMetric::CxFrame:
            return GetSystemMetrics(SM_CXFRAME);
        case SystemMetric::CyFrame:
            return GetSystemMetrics(SM_CYFRAME);
        case SystemMetric::CxDlgFrame:
            return GetSystemMetrics(SM_CXDLGFRAME);
        case SystemMetric::CyDlgFrame:
            return GetSystemMetrics(SM_CYDLGFRAME);
    }
    return 0;
}

}  // namespace settings
