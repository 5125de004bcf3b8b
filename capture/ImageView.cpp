#include "capture/ImageView.h"

#include <algorithm>

#include "access/Accessible.h"
#include "capture/Picture.h"
#include "win/Gdi.h"

namespace {
constexpr int LineStep = 16;  // pixels per arrow click
}

TImageScrollBox& TImageScrollBox::Create(HWND parent, int id, int imageId, int x, int y, int w,
                                         int h) {
    RegisterClass(L"TScrollBox", 0, nullptr, GetSysColorBrush(COLOR_BTNFACE));
    auto* box = new TImageScrollBox;
    try {
        box->Window::Create(0, L"TScrollBox", L"",
                            WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_HSCROLL | WS_VSCROLL, x, y,
                            w, h, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)));
        box->image_.Create(box->Handle(), imageId);
    } catch (...) {
        delete box;  // destroys the window, if there is one, before the object goes
        throw;
    }
    box->ownedByWindow_ = true;
    box->UpdateBars();
    return *box;
}

TImageScrollBox* TImageScrollBox::FromHandle(HWND hwnd) {
    if (!hwnd) return nullptr;
    wchar_t cls[32] = {};
    GetClassNameW(hwnd, cls, 32);
    if (wcscmp(cls, L"TScrollBox") != 0) return nullptr;
    return dynamic_cast<TImageScrollBox*>(
        reinterpret_cast<win::Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA)));
}

void TImageScrollBox::SetPicture(HBITMAP bitmap, HPALETTE palette) {
    image_.bitmap = bitmap;
    image_.palette = palette;
    image_.size = BitmapSize(bitmap);
    range_ = image_.size;
    SetScrollPos(Handle(), SB_HORZ, 0, FALSE);
    SetScrollPos(Handle(), SB_VERT, 0, FALSE);
    UpdateBars();
    InvalidateRect(image_.Handle(), nullptr, FALSE);
    a11y::RaiseNameChange(image_.Handle());
}

POINT TImageScrollBox::ScrollPosition() const {
    return {GetScrollPos(Handle(), SB_HORZ), GetScrollPos(Handle(), SB_VERT)};
}

void TImageScrollBox::UpdateBars() {
    if (updating_) return;  // showing or hiding a bar resizes the client area and comes back here
    updating_ = true;
    // A bar that appears narrows the room for the other one; two rounds settle it.
    for (int round = 0; round < 3; ++round) {
        RECT rc;
        GetClientRect(Handle(), &rc);
        SIZE before{rc.right, rc.bottom};
        for (int bar : {SB_HORZ, SB_VERT}) {
            int range = bar == SB_HORZ ? range_.cx : range_.cy;
            int page = bar == SB_HORZ ? rc.right : rc.bottom;
            SCROLLINFO si{};
            si.cbSize = sizeof si;
            si.fMask = SIF_RANGE | SIF_PAGE;
            si.nMin = 0;
            si.nMax = std::max(0, range - 1);
            // A page larger than the range hides the bar.
            si.nPage = static_cast<UINT>(range > page ? std::max(page, 1) : range + 1);
            SetScrollInfo(Handle(), bar, &si, TRUE);
        }
        GetClientRect(Handle(), &rc);
        if (rc.right == before.cx && rc.bottom == before.cy) break;
    }
    updating_ = false;
    PlaceImage();
}

void TImageScrollBox::PlaceImage() {
    RECT rc;
    GetClientRect(Handle(), &rc);
    POINT pos = ScrollPosition();
    // The image fills the scrollable area: the picture's size, at least the visible area.
    int w = std::max<int>(range_.cx, rc.right), h = std::max<int>(range_.cy, rc.bottom);
    SetWindowPos(image_.Handle(), nullptr, -pos.x, -pos.y, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
}

void TImageScrollBox::Scroll(int bar, int code) {
    SCROLLINFO si{};
    si.cbSize = sizeof si;
    si.fMask = SIF_ALL;
    if (!GetScrollInfo(Handle(), bar, &si)) return;
    int page = static_cast<int>(si.nPage);
    int maxPos = std::max(0, si.nMax - page + 1);
    int pos = si.nPos;
    switch (code) {
        case SB_LINEUP:
            pos -= LineStep;
            break;
        case SB_LINEDOWN:
            pos += LineStep;
            break;
        case SB_PAGEUP:
            pos -= page;
            break;
        case SB_PAGEDOWN:
            pos += page;
            break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION:
            pos = si.nTrackPos;
            break;
        case SB_TOP:
            pos = 0;
            break;
        case SB_BOTTOM:
            pos = maxPos;
            break;
        default:
            return;
    }
    pos = std::clamp(pos, 0, maxPos);
    if (pos == si.nPos) return;
    SetScrollPos(Handle(), bar, pos, TRUE);
    PlaceImage();
}

LRESULT TImageScrollBox::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_SIZE:
            UpdateBars();
            return 0;
        case WM_HSCROLL:
            if (lp == 0) Scroll(SB_HORZ, LOWORD(wp));
            return 0;
        case WM_VSCROLL:
            if (lp == 0) Scroll(SB_VERT, LOWORD(wp));
            return 0;
    }
    return Window::HandleMessage(msg, wp, lp);
}

void TImageScrollBox::TImage::Create(HWND parent, int id) {
    RegisterClass(L"TImage", 0, nullptr, nullptr);
    Window::Create(0, L"TImage", L"", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, parent,
                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)));
}

void TImageScrollBox::TImage::Paint(HDC dc, const RECT& area) {
    RECT rc;
    GetClientRect(Handle(), &rc);
    int w = bitmap ? size.cx : 0, h = bitmap ? size.cy : 0;
    if (w > 0 && h > 0) {
        gdi::PaletteSelection pal(dc, palette);
        gdi::MemoryDC mem(dc);
        if (mem) {
            gdi::Selection sel(mem.Get(), bitmap);
            int x = std::max<int>(area.left, 0), y = std::max<int>(area.top, 0);
            int r = std::min<int>(area.right, w), b = std::min<int>(area.bottom, h);
            if (r > x && b > y) BitBlt(dc, x, y, r - x, b - y, mem.Get(), x, y, SRCCOPY);
        }
    }
    // The area beyond the picture is the panel's face colour.
    HBRUSH face = GetSysColorBrush(COLOR_BTNFACE);
    RECT right{w, 0, rc.right, rc.bottom}, below{0, h, std::min<int>(w, rc.right), rc.bottom};
    if (right.right > right.left) FillRect(dc, &right, face);
    if (below.bottom > below.top && below.right > below.left) FillRect(dc, &below, face);
}

LRESULT TImageScrollBox::TImage::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    // A screen reader finds a graphic named by the picture's size.
    LRESULT named = 0;
    if (a11y::AnswerAsNamed(
            Handle(), msg, wp, lp, a11y::Kind::Picture,
            [this] { return a11y::CapturedImageName(bitmap ? size.cx : 0, bitmap ? size.cy : 0); },
            named))
        return named;
    switch (msg) {
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT: {
            gdi::PaintDC dc(Handle());
            Paint(dc.Get(), dc.Info().rcPaint);
            return 0;
        }
        case WM_PRINTCLIENT: {
            RECT rc;
            GetClientRect(Handle(), &rc);
            Paint(reinterpret_cast<HDC>(wp), rc);
            return 0;
        }
    }
    return Window::HandleMessage(msg, wp, lp);
}
