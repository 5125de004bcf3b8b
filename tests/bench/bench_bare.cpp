// The platform's own cost of the application's window, for the whole-program benchmark: a bare
// window with as many controls of the same kinds, the same fonts, tray icon, resources and
// libraries, that shows one readout after start and puts the desktop on the clipboard on F9.
// It does nothing else: what the application costs beyond it is the application's own.
#include <cwchar>
#include <initializer_list>

#include "app/ControlIds.h"
#include "win/Platform.h"

// After the platform header: these need its types.
// clang-format off
#include <commdlg.h>
#include <shellapi.h>
#include <winver.h>
// clang-format on

namespace {
constexpr UINT TrayMessage = WM_APP + 1;
HFONT tahoma, courier;
HBITMAP captured;  // the last capture, kept as the application keeps it for its view
NOTIFYICONDATAW tray{};

HWND Child(HWND parent, const wchar_t* cls, const wchar_t* text, DWORD style, int x, int y, int w,
           int h, int id = 0, HFONT font = tahoma, DWORD exStyle = 0) {
    HWND c = CreateWindowExW(exStyle, cls, text, WS_CHILD | style, x, y, w, h, parent,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                             GetModuleHandleW(nullptr), nullptr);
    SendMessageW(c, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return c;
}

HWND Panel(HWND parent, int x, int y, int w, int h, DWORD visible) {
    return Child(parent, L"TBenchPanel", L"", visible | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, x, y, w,
                 h);
}

void Picture(HWND parent, const wchar_t* resource, int x, int y) {
    HWND p = Child(parent, L"STATIC", L"", WS_VISIBLE | SS_BITMAP, x, y, 0, 0);
    SendMessageW(p, STM_SETIMAGE, IMAGE_BITMAP,
                 reinterpret_cast<LPARAM>(LoadImageW(GetModuleHandleW(nullptr), resource,
                                                     IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR)));
}

void Radios(HWND parent, const wchar_t* caption, int count, int y) {
    Child(parent, L"BUTTON", caption, WS_VISIBLE | BS_GROUPBOX, 4, y, 280, 60, 0, tahoma,
          WS_EX_TRANSPARENT);
    for (int i = 0; i < count; ++i)
        Child(parent, L"BUTTON", L"Item", WS_VISIBLE | BS_AUTORADIOBUTTON, 12 + i % 2 * 130,
              y + 15 + i / 2 * 10, 120, 17);
}

void CreateControls(HWND form) {
    // Compact view: magnifier, readouts, swatch.
    HWND compact = Panel(form, 0, 0, 170, 96, WS_VISIBLE);
    Child(compact, L"STATIC", L"", WS_VISIBLE, 1, 1, 74, 74);
    HWND readouts = Panel(compact, 76, 0, 94, 96, WS_VISIBLE);
    const int ids[] = {id::ColR, id::ColG, id::ColB, id::ColHex,  id::ColC,
                       id::ColM, id::ColY, id::ColK, id::Position};
    for (int i = 0; i < 9; ++i)
        Child(readouts, L"STATIC", L"--", WS_VISIBLE | SS_LEFTNOWORDWRAP, 4 + i / 4 * 52,
              i % 4 * 12 + (i == 8 ? 7 : 0), 50, 12, ids[i], courier);
    Child(readouts, L"STATIC", L"", WS_VISIBLE, 4, 54, 17, 17);

    // Options view: a page control with six pages.
    HWND tabs = Child(form, WC_TABCONTROLW, L"", TCS_MULTILINE | WS_CLIPCHILDREN, 0, 0, 294, 196);
    HWND pages[6];
    const wchar_t* captions[] = {L"&Zoom", L"&Clipboard", L"Ca&pture", L"Keys", L"Misc", L"About"};
    for (int i = 0; i < 6; ++i) {
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<wchar_t*>(captions[i]);
        TabCtrl_InsertItem(tabs, i, &item);
        pages[i] = Panel(tabs, 4, 40, 286, 152, i == 0 ? WS_VISIBLE : 0);
    }
    // Zoom
    Child(pages[0], L"BUTTON", L"Zoom", WS_VISIBLE | BS_GROUPBOX, 4, 2, 278, 146, 0, tahoma,
          WS_EX_TRANSPARENT);
    for (int y : {18, 114})
        Child(pages[0], TRACKBAR_CLASSW, L"", WS_VISIBLE | TBS_HORZ | TBS_NOTICKS, 10, y, 126, 26);
    for (int i = 0; i < 5; ++i)
        Child(pages[0], L"STATIC", L"Label", WS_VISIBLE, 14, 48 + i * 12, 40, 13);
    Child(pages[0], L"STATIC", L"", WS_VISIBLE | SS_SUNKEN, 143, 15, 76, 76);
    Child(pages[0], L"STATIC", L"", WS_VISIBLE, 144, 16, 74, 74);
    Picture(pages[0], L"REFERENCE", 235, 26);
    Child(pages[0], L"BUTTON", L"Croshair (on/off)", WS_VISIBLE | BS_AUTOCHECKBOX, 143, 118, 128,
          17);
    // Clipboard
    Radios(pages[1], L"Clipboard format", 6, 2);
    HWND strip = Panel(pages[1], 4, 110, 278, 20, WS_VISIBLE);
    Child(strip, L"STATIC", L"Format: ", WS_VISIBLE, 4, 2, 40, 13);
    Child(strip, L"STATIC", L"", WS_VISIBLE, 48, 2, 200, 13);
    // Capture
    Radios(pages[2], L"Screen capture mode", 4, 2);
    Radios(pages[2], L"Capture area", 7, 70);
    // Keys
    Child(pages[3], L"BUTTON", L"Keyboard shortcuts", WS_VISIBLE | BS_GROUPBOX, 4, 2, 278, 146, 0,
          tahoma, WS_EX_TRANSPARENT);
    for (int i = 0; i < 5; ++i) {
        if (i < 4) Child(pages[3], L"STATIC", L"Key", WS_VISIBLE, 12, 20 + i * 26, 80, 13);
        Child(pages[3], HOTKEY_CLASSW, L"", i < 4 ? WS_VISIBLE : 0, 100, 18 + i * 26, 120, 20);
    }
    // Misc
    Child(pages[4], L"BUTTON", L"Miscelaneous options", WS_VISIBLE | BS_GROUPBOX, 4, 2, 278, 146, 0,
          tahoma, WS_EX_TRANSPARENT);
    for (int i = 0; i < 2; ++i)
        Child(pages[4], L"BUTTON", L"Option", WS_VISIBLE | BS_AUTOCHECKBOX, 12, 20 + i * 20, 240,
              17);
    // About
    Picture(pages[5], L"ABOUTPICTURE", 8, 8);
    for (int i = 0; i < 5; ++i)
        Child(pages[5], L"STATIC", L"About", WS_VISIBLE, 80, 8 + i * 16, 180, 13);

    // Capture view: the image in a scrolling box and four buttons.
    HWND view = Panel(form, 0, 0, 294, 196, 0);
    HWND box =
        Child(view, L"TBenchPanel", L"", WS_VISIBLE | WS_HSCROLL | WS_VSCROLL, 0, 0, 205, 196);
    Child(box, L"STATIC", L"", WS_VISIBLE, 0, 0, 10, 10);
    HWND buttons = Panel(view, 205, 0, 89, 196, WS_VISIBLE);
    for (int i = 0; i < 4; ++i)
        Child(buttons, L"BUTTON", L"Button", WS_VISIBLE | BS_PUSHBUTTON, 8, 8 + i * 32, 75, 25);
}

// The desktop on the clipboard, as the desktop capture does it without its pause.
void CaptureDesktop(HWND form) {
    const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    HBITMAP image = CreateCompatibleBitmap(screen, w, h);
    HGDIOBJ old = SelectObject(mem, image);
    BitBlt(mem, 0, 0, w, h, screen, 0, 0, SRCCOPY);
    SelectObject(mem, old);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
    if (captured) DeleteObject(captured);
    captured = image;
    if (OpenClipboard(form)) {
        EmptyClipboard();
        SetClipboardData(CF_BITMAP, CopyImage(image, IMAGE_BITMAP, 0, 0, 0));
        CloseClipboard();
    }
}

LRESULT CALLBACK FormProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_TIMER: {  // the first readout, once
            KillTimer(hwnd, 1);
            POINT p{};
            GetCursorPos(&p);
            HDC screen = GetDC(nullptr);
            COLORREF c = GetPixel(screen, p.x, p.y);
            ReleaseDC(nullptr, screen);
            wchar_t text[16];
            std::swprintf(text, 16, L"#%02X%02X%02X", GetRValue(c), GetGValue(c), GetBValue(c));
            HWND readout = nullptr;
            EnumChildWindows(
                hwnd,
                [](HWND h, LPARAM found) -> BOOL {
                    if (GetDlgCtrlID(h) != id::ColHex) return TRUE;
                    *reinterpret_cast<HWND*>(found) = h;
                    return FALSE;
                },
                reinterpret_cast<LPARAM>(&readout));
            SetWindowTextW(readout, text);
            return 0;
        }
        case WM_HOTKEY:
            CaptureDesktop(hwnd);
            return 0;
        case WM_DESTROY:
            Shell_NotifyIconW(NIM_DELETE, &tray);
            PostQuitMessage(0);
            return 0;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}
}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
    // The libraries the application loads at start, each used once as it uses them.
    DWORD handle = 0;
    GetFileVersionInfoSizeW(L"shell32.dll", &handle);
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run", 0,
                      KEY_READ, &key) == ERROR_SUCCESS)
        RegCloseKey(key);
    CommDlgExtendedError();

    tahoma = CreateFontW(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Tahoma");
    courier =
        CreateFontW(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Courier New");
    HICON icon = LoadIconW(instance, L"MAINICON");
    WNDCLASSW wc{};
    wc.hInstance = instance;
    wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpfnWndProc = DefWindowProcW;
    wc.lpszClassName = L"TBenchPanel";
    RegisterClassW(&wc);
    wc.lpfnWndProc = FormProc;
    wc.hIcon = icon;
    wc.lpszClassName = L"TBenchBare";
    RegisterClassW(&wc);
    const int w = 172, h = 98;
    HWND form = CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, wc.lpszClassName, L"Tintsnatch 4",
                                WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN,
                                (GetSystemMetrics(SM_CXSCREEN) - w) / 2,
                                (GetSystemMetrics(SM_CYSCREEN) - h) / 2, w, h, nullptr, nullptr,
                                instance, nullptr);
    if (!form) return 1;
    CreateControls(form);
    tray.cbSize = sizeof tray;
    tray.hWnd = form;
    tray.uID = 1;
    tray.uFlags = NIF_ICON | NIF_TIP | NIF_MESSAGE;
    tray.uCallbackMessage = TrayMessage;
    tray.hIcon = icon;
    lstrcpynW(tray.szTip, L"Tintsnatch 4", 64);
    Shell_NotifyIconW(NIM_ADD, &tray);
    RegisterHotKey(form, 1, 0, VK_F9);
    SetTimer(form, 1, 5, nullptr);
    ShowWindow(form, show == SW_HIDE ? SW_SHOWNOACTIVATE : show);
    MSG m;
    while (GetMessageW(&m, nullptr, 0, 0) > 0) {
        TranslateMessage(&m);
        DispatchMessageW(&m);
    }
    if (captured) DeleteObject(captured);
    return 0;
}
