// The main window's side of screen capture: the Capture page, the capture command and view.
#include <algorithm>
#include <utility>
#include <vector>

#include "access/Names.h"
#include "app/Components.h"
#include "app/ControlIds.h"
#include "app/TintsnatchMain.h"
#include "capture/BmpFile.h"
#include "capture/CaptureChoice.h"
#include "capture/ImageView.h"
#include "capture/PngFile.h"
#include "capture/PrintPlacement.h"
#include "capture/SaveName.h"
#include "win/Application.h"
#include "win/ErrorReport.h"
#include "win/Hints.h"

// After the platform header: the dialog headers need its types.
// clang-format off
#include <cderr.h>
#include <commdlg.h>
// clang-format on

namespace {
constexpr int BtnPanelWidth = 89;

// One page: the image centred and scaled to fit the printable area, keeping its aspect ratio.
void PrintPicture(HDC printer, HBITMAP bitmap, HPALETTE palette) {
    SIZE size = BitmapSize(bitmap);
    // A printer takes device-independent pixels; 24 bits hold any screen colour.
    const Rgb24Rows rows =
        ReadRgb24Rows(bitmap, palette, false, L"Cannot print: out of system resources",
                      L"Cannot read the captured image");
    gdi::PrintJob job(printer, win::Application().Title());
    if (StartPage(printer) <= 0) throw win::Error(L"Cannot start a page");
    printing::Placement place = printing::PlaceOnPage(
        size.cx, size.cy, GetDeviceCaps(printer, HORZRES), GetDeviceCaps(printer, VERTRES));
    SetStretchBltMode(printer, COLORONCOLOR);
    if (StretchDIBits(printer, place.Left, place.Top, place.Width, place.Height, 0, 0, size.cx,
                      size.cy, rows.Bits.data(), &rows.Info, DIB_RGB_COLORS, SRCCOPY) == 0)
        throw win::Error(L"Cannot print the captured image");
    if (EndPage(printer) <= 0) throw win::Error(L"Cannot finish the page");
    job.Finish();
}
}  // namespace

// The scroll box fills the view left of the button column.
void TTintsnatch4::LayoutCaptureView() {
    RECT rc;
    GetClientRect(CapturePanel.Handle(), &rc);
    int split = std::max<int>(0, rc.right - Scaled(BtnPanelWidth));
    MoveWindow(captureView_.ScrollBox1, 0, 0, split, rc.bottom, TRUE);
    MoveWindow(captureView_.BtnPanel.Handle(), split, 0, Scaled(BtnPanelWidth), rc.bottom, TRUE);
}

void TTintsnatch4::CreateCapturePage() {
    HWND page = tsCapture.Handle();
    HFONT font = font_.Get();
    const bool made = capture_.rgCapture.Box() != nullptr;
    // The mode group along the top, the area group filling the rest of the page.
    const SIZE room = PageRoom(tsCapture);
    const int margin = 4, modeTop = 2, modeHeight = 65, areaTop = modeTop + modeHeight + 2;
    capture_.rgCapture.Place(page, id::rgCapture, id::rgCaptureItem0, L"Screen capture mode",
                             {L"&Selection", L"&Desktop", L"&Active window", L"&Object"}, 2,
                             Box(margin, modeTop, room.cx - 2 * margin, modeHeight), font, Dpi());
    // A row under the area group holds the delay and the pointer choice.
    const int rowHeight = 24;
    capture_.rgCaptureArea.Place(
        page, id::rgCaptureArea, id::rgCaptureAreaItem0, L"Capture area",
        {L"16x16", L"24x24", L"32x32", L"48x48", L"64x64", L"128x128", L"Custom"}, 4,
        Box(margin, areaTop, room.cx - 2 * margin, room.cy - areaTop - 2 - rowHeight), font, Dpi());
    CreateCaptureOptionsRow(room.cy - rowHeight);
    if (made) return;
    win::SetHint(capture_.rgCapture.Box(), L"Screen capture modes");
    for (HWND b : capture_.rgCapture.Buttons()) win::SetHint(b, L"Screen capture modes");
    win::SetHint(capture_.rgCaptureArea.Box(), L"Size of captured area");
    for (HWND b : capture_.rgCaptureArea.Buttons()) win::SetHint(b, L"Size of captured area");
    capture_.rgCaptureArea.SetItemIndex(6);
    capture_.rgCaptureArea.SetEnabled(false);
}

void TTintsnatch4::CreateCaptureView() {
    HWND panel = CapturePanel.Handle();
    HFONT font = font_.Get();
    if (!captureView_.ScrollBox1) {
        auto& box = TImageScrollBox::Create(panel, id::ScrollBox1, id::CapturedImage, 0, 0, 0, 0);
        captureView_.ScrollBox1 = box.Handle();
        captureView_.CapturedImage = box.Image();
        captureView_.BtnPanel.Create(panel, id::BtnPanel, 0, 0, 0, 0, WS_VISIBLE);
    }
    LayoutCaptureView();
    auto button = [&](HWND& b, int controlId, const wchar_t* caption, int y, const wchar_t* hint) {
        bool made = b != nullptr;
        win::PlaceControl(b, L"BUTTON", caption, WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON,
                          Box(8, y, 75, 25), captureView_.BtnPanel.Handle(), controlId, font);
        if (!made) win::SetHint(b, hint);
    };
    // Made in tab order: Copy, Save As, Cancel, Print.
    button(captureView_.ClipboardCopy, id::ClipboardCopy, L"&Copy", 8,
           L"Copies selection to the Clipboard");
    // The two hints name the keys that work from every view, which the captions cannot show.
    button(captureView_.SaveImage, id::SaveImage, L"Save &As...", 40,
           L"Saves captured image to a file (Ctrl+S)");
    button(captureView_.Cancel, id::Cancel, L"Ca&ncel", 104, L"Cancel|Cancel screen capturing");
    button(captureView_.Button1, id::Button1, L"&Print...", 72,
           L"Open print dialog to print captured image (Ctrl+P)");
    // Two short buttons side by side under the four of the design.
    auto half = [&](HWND& b, int controlId, const wchar_t* caption, int x, const wchar_t* hint) {
        bool made = b != nullptr;
        win::PlaceControl(b, L"BUTTON", caption, WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON,
                          Box(x, 136, 36, 25), captureView_.BtnPanel.Handle(), controlId, font);
        if (!made) win::SetHint(b, hint);
    };
    // Access keys of their own: S and I are free among the six.
    half(captureView_.SaveNow, id::SaveNow, L"&Save", 8,
         L"Saves captured image into the Save page's folder at once");
    half(captureView_.PinCapture, id::PinCapture, L"P&in", 47,
         L"Pins captured image on top of all windows where it was taken");
}

void TTintsnatch4::CreateCaptureEngine() {
    OskScreenCapture1 = std::make_unique<TOskScreenCapture>();
}

void TTintsnatch4::CaptureExecute() {
    // The capture hotkey still works while an overlay runs its modal loop; one capture at a time.
    // During the countdown of a delayed capture it cancels.
    if (OskScreenCapture1->Capturing()) {
        if (OskScreenCapture1->CountingDown()) OskScreenCapture1->Cancel();
        return;
    }
    OskScreenCapture1->StartDelay = DelaySeconds();
    OskScreenCapture1->IncludeCursor = win::IsChecked(save_.cbIncludeCursor);
    OskScreenCapture1->OfferLastRegion = win::IsChecked(save_.cbLastRegion);
    CaptureChoice choice =
        ChooseCapture(capture_.rgCapture.ItemIndex(), capture_.rgCaptureArea.ItemIndex());
    CloseLater closeLater(Handle(), closeAfterCapture_);
    if (choice.Kind != CaptureKind::None) {
        std::unique_ptr<TPicture> image;
        TOskScreenCapture& engine = *OskScreenCapture1;
        switch (choice.Kind) {
            case CaptureKind::Desktop:
                image = engine.CaptureDesktop();
                break;
            case CaptureKind::ActiveWindow:
                image = engine.CaptureActiveWindow();
                break;
            case CaptureKind::Object:
                image = engine.CaptureObject();
                break;
            case CaptureKind::Selection:
                image = engine.CaptureSelection();
                break;
            case CaptureKind::SizedSelection:
                image = engine.CaptureSizedSelection(choice.Width, choice.Height);
                break;
            case CaptureKind::None:
                break;
        }
        // The user asked to exit meanwhile: nothing is shown, the window closes. A capture the
        // user backed out of (Esc, or the capture key during the countdown) leaves the window and
        // the captured image as they were.
        if (closeAfterCapture_ || engine.Cancelled()) return;
        // The picture takes over the returned image; a dismissed overlay leaves it empty.
        // The engine put a picture taken on the clipboard.
        if (image && !image->Empty() && engine.Auto)
            Announce(a11y::CopiedPicture(image->Width(), image->Height()));
        capturedBitmap_ = image ? image->TakeBitmap() : SharedBitmap();
        capturedPalette_ = image ? image->TakePalette() : gdi::Palette();
        hasCapturedPicture_ = true;
        capturedMode_ = savename::ModeWord(capture_.rgCapture.ItemIndex());
        capturedOrigin_ = engine.LastOrigin();
    }
    if (win::Application().IsMinimized()) ShowHideExecute();
    win::SetVisible(ColorZoomPanel.Handle(), false);
    HideOptions();
    win::SetVisible(CapturePanel.Handle(), true);
    GrowView();
    LayoutCaptureView();
    if (TImageScrollBox* box = TImageScrollBox::FromHandle(captureView_.ScrollBox1))
        box->SetPicture(HandleOf(capturedBitmap_), capturedPalette_.Get());
    // A new capture starts at the first button; a window not in front gets it when activated.
    captureFocus_ = nullptr;
    if (GetActiveWindow() == Handle()) FocusCaptureView(captureView_.ClipboardCopy);
}

// The capture view by keyboard: its buttons hold the focus while it shows, as in a dialog, so
// Tab, the access keys, Space and Enter reach them.
void TTintsnatch4::FocusCaptureView(HWND button) {
    if (!win::IsShown(CapturePanel.Handle())) return;
    if (!button || !IsChild(CapturePanel.Handle(), button) || !IsWindowVisible(button))
        button = captureView_.ClipboardCopy;
    SetFocus(button);
    // The dialog manager's focus cues stay hidden until the keyboard is used; the view the
    // keyboard opened shows them at once.
    SendMessageW(Handle(), WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
}

void TTintsnatch4::NoteCaptureFocus() {
    // Back where it was when the window is activated again, as in a dialog.
    HWND focus = GetFocus();
    captureFocus_ = focus && IsChild(CapturePanel.Handle(), focus) ? focus : nullptr;
}

bool TTintsnatch4::PassFocusToCaptureView() {
    // Whatever gives the window the focus (an activation, the application window passing it
    // on), a button of the view takes it over.
    if (!win::IsShown(CapturePanel.Handle())) return false;
    FocusCaptureView(captureFocus_);
    return true;
}

bool TTintsnatch4::PressFocusedCaptureButton() {
    // Enter comes from the dialog manager as IDOK: it presses the button that has the focus.
    HWND focus = GetFocus();
    if (!focus || GetParent(focus) != captureView_.BtnPanel.Handle()) return false;
    return CaptureCommand(GetDlgCtrlID(focus), BN_CLICKED);
}

void TTintsnatch4::HideCaptureView() {
    // The focus leaves with the view: a hidden button would take the next Space or Enter.
    HWND focus = GetFocus();
    win::SetVisible(CapturePanel.Handle(), false);
    captureFocus_ = nullptr;
    if (focus && IsChild(CapturePanel.Handle(), focus)) SetFocus(Handle());
}

void TTintsnatch4::rgCaptureClick() {
    capture_.rgCaptureArea.SetEnabled(capture_.rgCapture.ItemIndex() == 0);
}

std::optional<std::wstring> TTintsnatch4::AskSaveName(const wchar_t* filter, DWORD& typeIndex) {
    std::vector<wchar_t> name(32768, L'\0');
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = Handle();
    ofn.lpstrFile = name.data();
    ofn.nMaxFile = static_cast<DWORD>(name.size());
    ofn.lpstrFilter = filter;
    ofn.nFilterIndex = typeIndex;
    // An empty default extension makes the dialog add the chosen type's own extension to a name
    // typed without one, and nothing for "All files".
    ofn.lpstrDefExt = L"";
    ofn.Flags = OFN_HIDEREADONLY | OFN_ENABLESIZING | OFN_EXPLORER | OFN_OVERWRITEPROMPT;
    if (GetSaveFileNameW(&ofn)) {
        typeIndex = ofn.nFilterIndex;
        return std::wstring(name.data());
    }
    if (CommDlgExtendedError() != 0) throw win::Error(L"Cannot show the save dialog");
    return std::nullopt;
}

void TTintsnatch4::FileSaveAs1Execute() {
    if (auto name = AskSaveName(
            L"Bitmap (*.bmp)\0*.bmp\0PNG (*.png)\0*.png\0All files (*.*)\0*.*\0", saveTypeIndex_))
        FileSaveAs1Accept(*name);
}

void TTintsnatch4::FileSaveAs1Accept(const std::wstring& fileName) {
    // Nothing captured since start: there is no picture, and no file is made.
    if (hasCapturedPicture_)
        WritePicture(fileName, HandleOf(capturedBitmap_), capturedPalette_.Get());
    TintResetExecute();
}

void TTintsnatch4::PrintDlg1Execute() {
    PRINTDLGW pd{};
    pd.lStructSize = sizeof pd;
    pd.hwndOwner = Handle();
    pd.Flags = PD_RETURNDC | PD_NOSELECTION | PD_NOPAGENUMS | PD_USEDEVMODECOPIESANDCOLLATE;
    BOOL accepted = PrintDlgW(&pd);
    // Whatever the answer, the dialog may have handed back device settings and a DC.
    win::GlobalMemory devMode(pd.hDevMode), devNames(pd.hDevNames);
    gdi::CreatedDC printer(pd.hDC);
    if (!accepted) {
        // Without any printer the platform has already told the user so.
        DWORD error = CommDlgExtendedError();
        if (error != 0 && error != PDERR_NODEFAULTPRN && error != PDERR_NODEVICES)
            throw win::Error(L"Cannot show the print dialog");
        return;
    }
    if (!printer) throw win::Error(L"Cannot print: the printer is not available");
    // An empty or missing picture would only waste a sheet.
    if (capturedBitmap_)
        PrintPicture(printer.Get(), capturedBitmap_->Get(), capturedPalette_.Get());
}

void TTintsnatch4::CopyCapturedImage() {
    if (capturedBitmap_) {
        OskScreenCapture1->ImageClipboard().Copy(capturedBitmap_, capturedPalette_.Get());
        const SIZE size = BitmapSize(HandleOf(capturedBitmap_));
        Announce(a11y::CopiedPicture(size.cx, size.cy));
    }
    TintResetExecute();
}

void TTintsnatch4::UpdateCaption() {
    // Rebuilt only when an input changed: the zoom label always shows the magnifiers' level.
    const CaptionInputs inputs{capture_.rgCapture.ItemIndex(), capture_.rgCaptureArea.ItemIndex(),
                               JvZoom1 ? JvZoom1->ZoomLevel() : 0};
    if (captionInputs_ == inputs) return;
    captionInputs_ = inputs;
    std::wstring area = capture_.rgCaptureArea.ItemText(capture_.rgCaptureArea.ItemIndex());
    std::wstring zoom = win::GetText(zoom_.lblZoomFactor);
    win::SetTextIfChanged(Handle(), CaptureCaption(capture_.rgCapture.ItemIndex(), area, zoom));
}

bool TTintsnatch4::CaptureCommand(int controlId, int code) {
    if (code != BN_CLICKED) return false;
    if (capture_.rgCapture.Owns(controlId)) {
        if (capture_.rgCapture.HandleClick(controlId)) rgCaptureClick();
        return true;
    }
    if (capture_.rgCaptureArea.Owns(controlId)) {
        capture_.rgCaptureArea.HandleClick(controlId);
        return true;
    }
    const Action* action = nullptr;
    switch (controlId) {
        case id::ClipboardCopy:
            action = act_.EditCopy1;
            break;
        case id::SaveImage:
            action = act_.FileSaveAs1;
            break;
        case id::Button1:
            action = act_.PrintDlg1;
            break;
        case id::Cancel:
            action = act_.TintReset;
            break;
        default:
            return SaveCommand(controlId, code);
    }
    action->Execute();
    return true;
}
