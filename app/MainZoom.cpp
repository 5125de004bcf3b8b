// The main window's magnifiers and the Zoom page.
#include <memory>
#include <string>

#include "app/Components.h"
#include "app/ControlIds.h"
#include "app/TintsnatchMain.h"
#include "win/ErrorReport.h"
#include "win/Hints.h"

namespace {
constexpr int ViewSize = 74;  // both magnifiers
constexpr int ZoomMin = 1, ZoomMax = 100, ZoomStart = 15;
constexpr int CrosshairMin = 5, CrosshairMax = 100, CrosshairStart = 30;

// A magnifier with the main window's design values; it stays inactive until StartMagnifiers.
std::unique_ptr<TJvZoom> CreateMagnifier(HWND parent, int controlId, int x, int y) {
    auto zoom = std::make_unique<TJvZoom>();
    zoom->SetActive(false);
    zoom->SetDelay(5);
    zoom->SetCrosshair(true);
    zoom->SetCrosshairSize(CrosshairStart);
    zoom->Create(parent, controlId, x, y, ViewSize, ViewSize);
    return zoom;
}

HWND CreateSlider(HWND parent, int controlId, int x, int y, int w, int h, int min, int max,
                  int pos) {
    HWND track =
        win::CreateControl(TRACKBAR_CLASSW, L"", WS_VISIBLE | WS_TABSTOP | TBS_HORZ | TBS_NOTICKS,
                           x, y, w, h, parent, controlId, nullptr);
    SendMessageW(track, TBM_SETRANGEMIN, FALSE, min);
    SendMessageW(track, TBM_SETRANGEMAX, FALSE, max);
    SendMessageW(track, TBM_SETPAGESIZE, 0, 1);
    SendMessageW(track, TBM_SETPOS, TRUE, pos);
    return track;
}

// The picture control does not free the bitmap it shows; this subclass owns it instead and frees
// it with the control.
LRESULT CALLBACK OwnBitmapProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id,
                               DWORD_PTR bitmap) {
    LRESULT r = DefSubclassProc(hwnd, msg, wp, lp);
    if (msg == WM_NCDESTROY) {
        RemoveWindowSubclass(hwnd, OwnBitmapProc, id);
        delete reinterpret_cast<gdi::Bitmap*>(bitmap);
    }
    return r;
}

HWND CreatePicture(HWND parent, int controlId, const wchar_t* resource, int x, int y) {
    auto bitmap = std::make_unique<gdi::Bitmap>(static_cast<HBITMAP>(
        LoadImageW(win::Instance(), resource, IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR)));
    if (!*bitmap) throw win::Error(L"Cannot load the picture " + std::wstring(resource));
    HWND picture = win::CreateControl(L"STATIC", L"", WS_VISIBLE | SS_BITMAP, x, y, 0, 0, parent,
                                      controlId, nullptr);
    if (!SetWindowSubclass(picture, OwnBitmapProc, 1, reinterpret_cast<DWORD_PTR>(bitmap.get()))) {
        DestroyWindow(picture);
        throw win::Error(L"Cannot create the picture control");
    }
    HBITMAP shown = bitmap.release()->Get();
    SendMessageW(picture, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(shown));
    return picture;
}

std::wstring Decimal(int n) { return std::to_wstring(n); }
}  // namespace

void TTintsnatch4::CreateZoomPage() {
    HWND page = tsZoom.Handle();
    HFONT font = font_.Get();

    JvZoom1 = CreateMagnifier(ColorZoomPanel.Handle(), id::JvZoom1, 1, 1);

    ZoomSlider = CreateSlider(page, id::ZoomSlider, 10, 18, 126, 26, ZoomMin, ZoomMax, ZoomStart);
    win::SetHint(ZoomSlider, L"Change to increase or decrease zoom level");
    lblFactor = win::CreateLabel(page, id::lblFactor, L"Factor:", 14, 48, 36, 13, font);
    lblZoomFactor = win::CreateLabel(page, id::lblZoomFactor, L"", 52, 48, 40, 13, font);

    JvZoom2 = CreateMagnifier(page, id::JvZoom2, 144, 16);
    // The frame lies under the magnifier and never paints over it.
    Bevel1 = win::CreateControl(L"STATIC", L"", WS_VISIBLE | WS_CLIPSIBLINGS | SS_SUNKEN, 143, 15,
                                ViewSize + 2, ViewSize + 2, page, id::Bevel1, nullptr);
    SetWindowPos(Bevel1, JvZoom2->Handle(), 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);

    Image2 = CreatePicture(page, id::Image2, L"REFERENCE", 235, 26);
    Label3 = win::CreateLabel(page, id::Label3, L"1:1", 243, 62, 24, 13, font);

    Label8 = win::CreateLabel(page, id::Label8, L"Croshair Size:", 14, 98, 72, 13, font);
    Label9 = win::CreateLabel(page, id::Label9, L"", 88, 98, 40, 13, font);
    CroshairSize = CreateSlider(page, id::CroshairSize, 10, 114, 126, 26, CrosshairMin,
                                CrosshairMax, CrosshairStart);
    cbCroshair = win::CreateControl(L"BUTTON", L"Croshair (on/off)",
                                    WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX, 143, 118, 128, 17,
                                    page, id::cbCroshair, font);
    win::SetChecked(cbCroshair, true);

    // The group fills the page. It goes under every other control of the page and is clipped by
    // them, so it never paints over the magnifier.
    const int gx = 4, gy = 2;
    const SIZE room = PageSize(tsZoom);
    gbZoom = win::CreateGroupBox(page, id::gbZoom, L"Zoom", gx, gy, room.cx - 2 * gx,
                                 room.cy - gy - 2, font, WS_CLIPSIBLINGS);
    SetWindowPos(gbZoom, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TTintsnatch4::StartMagnifiers() {
    const int level = win::TrackPosition(ZoomSlider);
    JvZoom1->SetZoomLevel(level);
    JvZoom2->SetZoomLevel(level);
    JvZoom1->SetActive(true);
    JvZoom2->SetActive(true);
}

void TTintsnatch4::ZoomSliderChange() {
    const int level = win::TrackPosition(ZoomSlider);
    JvZoom1->SetZoomLevel(level);
    JvZoom2->SetZoomLevel(level);
    win::SetHint(ZoomSlider, Decimal(level));
    win::SetText(lblZoomFactor, Decimal(level));
}

void TTintsnatch4::ZoomInExecute() {
    const int level = win::TrackPosition(ZoomSlider);
    if (level >= win::TrackMax(ZoomSlider)) return;
    win::SetTrackPosition(ZoomSlider, level + 1);
    ZoomSliderChange();
}

void TTintsnatch4::ZoomOutExecute() {
    const int level = win::TrackPosition(ZoomSlider);
    if (level <= win::TrackMin(ZoomSlider)) return;
    win::SetTrackPosition(ZoomSlider, level - 1);
    ZoomSliderChange();
}

// One step per wheel message, whatever distance it carries.
void TTintsnatch4::FormMouseWheel(int delta) {
    if (delta > 0)
        ZoomInExecute();
    else if (delta < 0)
        ZoomOutExecute();
}

void TTintsnatch4::CroshairSizeChange() {
    const int size = win::TrackPosition(CroshairSize);
    if (size < CrosshairMin) return;
    JvZoom1->SetCrosshairSize(size);
    JvZoom2->SetCrosshairSize(size);
    win::SetHint(CroshairSize, Decimal(size));
    win::SetText(Label9, Decimal(size));
}

void TTintsnatch4::cbCroshairClick() {
    const bool on = win::IsChecked(cbCroshair);
    JvZoom1->SetCrosshair(on);
    JvZoom2->SetCrosshair(on);
    EnableWindow(CroshairSize, on);
}

bool TTintsnatch4::ZoomCommand(int controlId, int code) {
    if (controlId != id::cbCroshair) return false;
    if (code == BN_CLICKED) cbCroshairClick();
    return true;
}

// A slider reports every step of a drag and the end of it; only a new position is a change. The
// magnifiers hold the last position the change handlers applied.
void TTintsnatch4::OnTrackbar(HWND track) {
    if (track == ZoomSlider) {
        if (win::TrackPosition(ZoomSlider) != JvZoom1->ZoomLevel()) ZoomSliderChange();
    } else if (track == CroshairSize) {
        if (win::TrackPosition(CroshairSize) != JvZoom1->CrosshairSize()) CroshairSizeChange();
    }
}
