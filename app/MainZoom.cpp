// The main window's magnifiers and the Zoom page.
#include <memory>
#include <string>

#include "app/Components.h"
#include "app/ControlIds.h"
#include "app/TintsnatchMain.h"
#include "colors/BlockAverage.h"
#include "win/ErrorReport.h"
#include "win/Handle.h"
#include "win/Hints.h"

namespace {
constexpr int ViewSize = 74;  // both magnifiers
constexpr int ZoomMin = 1, ZoomMax = 100, ZoomStart = 15;
constexpr int CrosshairMin = 5, CrosshairMax = 100, CrosshairStart = 30;

// A magnifier with the main window's design values; it stays inactive until StartMagnifiers.
// One that exists already is only moved to its bounds.
void PlaceMagnifier(std::unique_ptr<TJvZoom>& zoom, HWND parent, int controlId, const RECT& r) {
    if (zoom) {
        win::Place(zoom->Handle(), r);
        return;
    }
    zoom = std::make_unique<TJvZoom>();
    zoom->SetActive(false);
    zoom->SetDelay(5);
    zoom->SetCrosshair(true);
    zoom->SetCrosshairSize(CrosshairStart);
    zoom->Create(parent, controlId, r.left, r.top, r.right - r.left, r.bottom - r.top);
}

void PlaceSlider(HWND& track, HWND parent, int controlId, const RECT& r, int min, int max,
                 int pos) {
    if (track) {
        win::Place(track, r);
        return;
    }
    win::PlaceControl(track, TRACKBAR_CLASSW, L"", WS_VISIBLE | WS_TABSTOP | TBS_HORZ | TBS_NOTICKS,
                      r, parent, controlId, nullptr);
    SendMessageW(track, TBM_SETRANGEMIN, FALSE, min);
    SendMessageW(track, TBM_SETRANGEMAX, FALSE, max);
    SendMessageW(track, TBM_SETPAGESIZE, 0, 1);
    SendMessageW(track, TBM_SETPOS, TRUE, pos);
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
    win::OwnedWindow picture(win::CreateControl(L"STATIC", L"", WS_VISIBLE | SS_BITMAP, x, y, 0, 0,
                                                parent, controlId, nullptr));
    if (!SetWindowSubclass(picture.Get(), OwnBitmapProc, 1,
                           reinterpret_cast<DWORD_PTR>(bitmap.get())))
        throw win::Error(L"Cannot create the picture control");
    HBITMAP shown = bitmap.release()->Get();
    SendMessageW(picture.Get(), STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(shown));
    // From here the parent destroys it with itself.
    return picture.Release();
}

std::wstring Decimal(int n) { return std::to_wstring(n); }
}  // namespace

void TTintsnatch4::CreateZoomPage() {
    HWND page = tsZoom.Handle();
    HFONT font = font_.Get();
    const bool made = zoom_.gbZoom != nullptr;

    PlaceMagnifier(JvZoom1, ColorZoomPanel.Handle(), id::JvZoom1, Box(1, 1, ViewSize, ViewSize));

    PlaceSlider(zoom_.ZoomSlider, page, id::ZoomSlider, Box(10, 18, 126, 26), ZoomMin, ZoomMax,
                ZoomStart);
    // Each caption keeps its text whole; the number beside it moves along when it grows.
    auto after = [](RECT r, int grown) {
        OffsetRect(&r, grown, 0);
        return r;
    };
    win::PlaceLabel(zoom_.lblFactor, page, id::lblFactor, L"Factor:", Box(14, 48, 36, 13), font);
    const int factorGrew = win::FitText(zoom_.lblFactor, Dpi());
    win::PlaceLabel(zoom_.lblZoomFactor, page, id::lblZoomFactor, L"",
                    after(Box(52, 48, 40, 13), factorGrew), font);
    win::FitText(zoom_.lblZoomFactor, Dpi());

    // "Sample:" fills the room left of the magnifier between the factor and the crosshair size;
    // made here, so Tab reaches it between the two sliders.
    win::PlaceLabel(zoom_.lblSample, page, id::lblSample, L"Sample:", Box(14, 70, 36, 13), font);
    const int sampleGrew = win::FitText(zoom_.lblSample, Dpi());
    const bool sampleMade = zoom_.cbSample != nullptr;
    // The height includes the drop-down list; the box itself is as high as its font makes it.
    win::PlaceControl(zoom_.cbSample, WC_COMBOBOXW, L"",
                      WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST,
                      after(Box(54, 66, 76, 90), sampleGrew), page, id::cbSample, font);
    if (!sampleMade) {
        for (const wchar_t* item : {L"1 pixel", L"3 x 3", L"5 x 5", L"9 x 9"})
            SendMessageW(zoom_.cbSample, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
        SendMessageW(zoom_.cbSample, CB_SETCURSEL, 0, 0);
    }

    PlaceMagnifier(JvZoom2, page, id::JvZoom2, Box(144, 16, ViewSize, ViewSize));
    // The frame lies under the magnifier and never paints over it.
    win::PlaceControl(zoom_.Bevel1, L"STATIC", L"", WS_VISIBLE | WS_CLIPSIBLINGS | SS_SUNKEN,
                      Box(143, 15, ViewSize + 2, ViewSize + 2), page, id::Bevel1, nullptr);

    // The reference picture shows real pixels at 1:1, so it keeps its size at every DPI; it stays
    // centred where it was designed, over its caption.
    const int pictureX = Scaled(235 + 16) - 16, pictureY = Scaled(26 + 16) - 16;
    if (zoom_.Image2)
        SetWindowPos(zoom_.Image2, nullptr, pictureX, pictureY, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    else
        zoom_.Image2 = CreatePicture(page, id::Image2, L"REFERENCE", pictureX, pictureY);
    win::PlaceLabel(zoom_.Label3, page, id::Label3, L"1:1", Box(243, 62, 24, 13), font);
    win::FitText(zoom_.Label3, Dpi());

    win::PlaceLabel(zoom_.Label8, page, id::Label8, L"Croshair Size:", Box(14, 98, 72, 13), font);
    const int sizeGrew = win::FitText(zoom_.Label8, Dpi());
    win::PlaceLabel(zoom_.Label9, page, id::Label9, L"", after(Box(88, 98, 40, 13), sizeGrew),
                    font);
    win::FitText(zoom_.Label9, Dpi());
    PlaceSlider(zoom_.CroshairSize, page, id::CroshairSize, Box(10, 114, 126, 26), CrosshairMin,
                CrosshairMax, CrosshairStart);
    win::PlaceControl(zoom_.cbCroshair, L"BUTTON", L"Croshair (on/off)",
                      WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX, Box(143, 118, 128, 17), page,
                      id::cbCroshair, font);

    // The group fills the page. It goes under every other control of the page and is clipped by
    // them, so it never paints over the magnifier.
    const int gx = 4, gy = 2;
    const SIZE room = PageRoom(tsZoom);
    win::PlaceGroupBox(zoom_.gbZoom, page, id::gbZoom, L"Zoom",
                       Box(gx, gy, room.cx - 2 * gx, room.cy - gy - 2), font, WS_CLIPSIBLINGS);
    if (made) return;
    win::SetHint(zoom_.ZoomSlider, L"Change to increase or decrease zoom level");
    win::SetHint(zoom_.cbSample, L"Sample one pixel or the average of a block round the cursor");
    SetWindowPos(zoom_.Bevel1, JvZoom2->Handle(), 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    win::SetChecked(zoom_.cbCroshair, true);
    SetWindowPos(zoom_.gbZoom, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TTintsnatch4::StartMagnifiers() {
    const int level = win::TrackPosition(zoom_.ZoomSlider);
    JvZoom1->SetZoomLevel(level);
    JvZoom2->SetZoomLevel(level);
    JvZoom1->SetActive(true);
    JvZoom2->SetActive(true);
}

void TTintsnatch4::ZoomSliderChange() {
    const int level = win::TrackPosition(zoom_.ZoomSlider);
    JvZoom1->SetZoomLevel(level);
    JvZoom2->SetZoomLevel(level);
    win::SetHint(zoom_.ZoomSlider, Decimal(level));
    win::SetText(zoom_.lblZoomFactor, Decimal(level));
}

void TTintsnatch4::ZoomInExecute() {
    const int level = win::TrackPosition(zoom_.ZoomSlider);
    if (level >= win::TrackMax(zoom_.ZoomSlider)) return;
    win::SetTrackPosition(zoom_.ZoomSlider, level + 1);
    ZoomSliderChange();
}

void TTintsnatch4::ZoomOutExecute() {
    const int level = win::TrackPosition(zoom_.ZoomSlider);
    if (level <= win::TrackMin(zoom_.ZoomSlider)) return;
    win::SetTrackPosition(zoom_.ZoomSlider, level - 1);
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
    const int size = win::TrackPosition(zoom_.CroshairSize);
    if (size < CrosshairMin) return;
    JvZoom1->SetCrosshairSize(size);
    JvZoom2->SetCrosshairSize(size);
    win::SetHint(zoom_.CroshairSize, Decimal(size));
    win::SetText(zoom_.Label9, Decimal(size));
}

void TTintsnatch4::cbCroshairClick() {
    const bool on = win::IsChecked(zoom_.cbCroshair);
    JvZoom1->SetCrosshair(on);
    JvZoom2->SetCrosshair(on);
    EnableWindow(zoom_.CroshairSize, on);
}

void TTintsnatch4::cbSampleChange() {
    const auto index = static_cast<int>(SendMessageW(zoom_.cbSample, CB_GETCURSEL, 0, 0));
    sampleSide_ = colors::SampleSide(index);
    JvZoom1->SetSampleSide(sampleSide_);
    JvZoom2->SetSampleSide(sampleSide_);
    // The outline shows at once, and the next tick samples the block even if nothing moved.
    JvZoom1->Refresh();
    JvZoom2->Refresh();
    sampled_.reset();
}

bool TTintsnatch4::ZoomCommand(int controlId, int code) {
    if (controlId == id::cbSample) {
        if (code == CBN_SELCHANGE) cbSampleChange();
        return true;
    }
    if (controlId != id::cbCroshair) return false;
    if (code == BN_CLICKED) cbCroshairClick();
    return true;
}

// A slider reports every step of a drag and the end of it; only a new position is a change. The
// magnifiers hold the last position the change handlers applied.
void TTintsnatch4::OnTrackbar(HWND track) {
    if (track == zoom_.ZoomSlider) {
        if (win::TrackPosition(zoom_.ZoomSlider) != JvZoom1->ZoomLevel()) ZoomSliderChange();
    } else if (track == zoom_.CroshairSize) {
        if (win::TrackPosition(zoom_.CroshairSize) != JvZoom1->CrosshairSize())
            CroshairSizeChange();
    }
}
