// The main window's side of screen capture: the Capture page, the capture command and view.
#include <algorithm>
#include <utility>
#include <vector>

#include "app/Components.h"
#include "app/ControlIds.h"
#include "app/TintsnatchMain.h"
#include "capture/BmpFile.h"
#include "capture/CaptureChoice.h"
#include "capture/ImageView.h"
#include "capture/PrintPlacement.h"
#include "win/Application.h"
#include "win/Clipboard.h"
#include "win/ErrorReport.h"
#include "win/Hints.h"

// After the platform header: the dialog headers need its types.
// clang-format off
#include <cderr.h>
#include <commdlg.h>
// clang-format on

namespace {
constexpr int BtnPanelWidth = 89;

// The scroll box fills the view left of the button column.
void LayoutCaptureView(HWND panel, HWND scrollBox, HWND btnPanel) {
    RECT rc;
    GetClientRect(panel, &rc);
    int split = std::max<int>(0, rc.right - BtnPanelWidth);
    MoveWindow(scrollBox, 0, 0, split, rc.bottom, TRUE);
    MoveWindow(btnPanel, split, 0, BtnPanelWidth, rc.bottom, TRUE);
}

// Frees the print dialog's device settings whatever happens.
class PrintDialogMemory {
  public:
    explicit PrintDialogMemory(PRINTDLGW& pd) : pd_(pd) {}
    ~PrintDialogMemory() {
        if (pd_.hDevMode) GlobalFree(pd_.hDevMode);
        if (pd_.hDevNames) GlobalFree(pd_.hDevNames);
    }
    PrintDialogMemory(const PrintDialogMemory&) = delete;
    PrintDialogMemory& operator=(const PrintDialogMemory&) = delete;

  private:
    PRINTDLGW& pd_;
};

// Ends the print job: finished when Finish() was reached, aborted otherwise.
class PrintJob {
  public:
    PrintJob(HDC dc, const std::wstring& title) : dc_(dc) {
        DOCINFOW doc{};
        doc.cbSize = sizeof doc;
        doc.lpszDocName = title.c_str();
        if (StartDocW(dc_, &doc) <= 0) throw win::Error(L"Cannot start printing");
    }
    ~PrintJob() {
        if (dc_) AbortDoc(dc_);
    }
    PrintJob(const PrintJob&) = delete;
    PrintJob& operator=(const PrintJob&) = delete;
    void Finish() {
        HDC dc = std::exchange(dc_, nullptr);
        if (EndDoc(dc) <= 0) throw win::Error(L"Cannot finish printing");
    }

  private:
    HDC dc_;
};

// One page: the image centred and scaled to fit the printable area, keeping its aspect ratio.
void PrintPicture(HDC printer, HBITMAP bitmap, HPALETTE palette) {
    SIZE size = BitmapSize(bitmap);
    // A printer takes device-independent pixels; 24 bits hold any screen colour.
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = size.cx;
    info.bmiHeader.biHeight = size.cy;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    size_t stride = (static_cast<size_t>(size.cx) * 3 + 3) & ~static_cast<size_t>(3);
    std::vector<BYTE> bits(stride * static_cast<size_t>(size.cy));
    {
        gdi::WindowDC screen(nullptr);
        gdi::MemoryDC dc(screen.Get());
        if (!dc) throw win::Error(L"Cannot print: out of system resources");
        gdi::PaletteSelection pal(dc.Get(), palette);
        if (GetDIBits(dc.Get(), bitmap, 0, static_cast<UINT>(size.cy), bits.data(), &info,
                      DIB_RGB_COLORS) != size.cy)
            throw win::Error(L"Cannot read the captured image");
    }
    PrintJob job(printer, win::Application().Title());
    if (StartPage(printer) <= 0) throw win::Error(L"Cannot start a page");
    printing::Placement place = printing::PlaceOnPage(
        size.cx, size.cy, GetDeviceCaps(printer, HORZRES), GetDeviceCaps(printer, VERTRES));
    SetStretchBltMode(printer, COLORONCOLOR);
    if (StretchDIBits(printer, place.Left, place.Top, place.Width, place.Height, 0, 0, size.cx,
                      size.cy, bits.data(), &info, DIB_RGB_COLORS, SRCCOPY) == 0)
        throw win::Error(L"Cannot print the captured image");
    if (EndPage(printer) <= 0) throw win::Error(L"Cannot finish the page");
    job.Finish();
}
}  // namespace

void TTintsnatch4::CreateCapturePage() {
    HWND page = tsCapture.Handle();
    HFONT font = font_.Get();
    // The mode group along the top, the area group filling the rest of the page.
    const SIZE room = PageSize(tsCapture);
    const int margin = 4, modeTop = 2, modeHeight = 65, areaTop = modeTop + modeHeight + 2;
    rgCapture.Create(page, id::rgCapture, id::rgCaptureItem0, L"Screen capture mode",
                     {L"&Selection", L"&Desktop", L"&Active window", L"&Object"}, 2, margin,
                     modeTop, room.cx - 2 * margin, modeHeight, font);
    rgCaptureArea.Create(page, id::rgCaptureArea, id::rgCaptureAreaItem0, L"Capture area",
                         {L"16x16", L"24x24", L"32x32", L"48x48", L"64x64", L"128x128", L"Custom"},
                         4, margin, areaTop, room.cx - 2 * margin, room.cy - areaTop - 2, font);
    win::SetHint(rgCapture.Box(), L"Screen capture modes");
    for (HWND b : rgCapture.Buttons()) win::SetHint(b, L"Screen capture modes");
    win::SetHint(rgCaptureArea.Box(), L"Size of captured area");
    for (HWND b : rgCaptureArea.Buttons()) win::SetHint(b, L"Size of captured area");
    rgCaptureArea.SetItemIndex(6);
    rgCaptureArea.SetEnabled(false);
}

void TTintsnatch4::CreateCaptureView() {
    HWND panel = CapturePanel.Handle();
    HFONT font = font_.Get();
    RECT rc;
    GetClientRect(panel, &rc);
    auto& box = TImageScrollBox::Create(panel, id::ScrollBox1, id::CapturedImage, 0, 0,
                                        std::max<int>(0, rc.right - BtnPanelWidth), rc.bottom);
    ScrollBox1 = box.Handle();
    CapturedImage = box.Image();
    BtnPanel.Create(panel, id::BtnPanel, std::max<int>(0, rc.right - BtnPanelWidth), 0,
                    BtnPanelWidth, rc.bottom, WS_VISIBLE);
    auto button = [&](int controlId, const wchar_t* caption, int y, const wchar_t* hint) {
        HWND b = win::CreateControl(L"BUTTON", caption, WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 8,
                                    y, 75, 25, BtnPanel.Handle(), controlId, font);
        win::SetHint(b, hint);
        return b;
    };
    // Made in tab order: Copy, Save As, Cancel, Print.
    ClipboardCopy = button(id::ClipboardCopy, L"&Copy", 8, L"Copies selection to the Clipboard");
    SaveImage = button(id::SaveImage, L"Save &As...", 40, L"Saves captured image to a file");
    Cancel = button(id::Cancel, L"Ca&ncel", 104, L"Cancel|Cancel screen capturing");
    Button1 = button(id::Button1, L"&Print...", 72, L"Open print dialog to print captured image");
}

void TTintsnatch4::CreateCaptureEngine() {
    OskScreenCapture1 = std::make_unique<TOskScreenCapture>();
}

void TTintsnatch4::CaptureExecute() {
    // The capture hotkey still works while an overlay runs its modal loop; one capture at a time.
    if (OskScreenCapture1->Capturing()) return;
    CaptureChoice choice = ChooseCapture(rgCapture.ItemIndex(), rgCaptureArea.ItemIndex());
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
        // The picture takes over the returned image; a dismissed overlay leaves it empty.
        capturedBitmap_ = image ? image->TakeBitmap() : gdi::Bitmap();
        capturedPalette_ = image ? image->TakePalette() : gdi::Palette();
        hasCapturedPicture_ = true;
    }
    if (win::Application().IsMinimized()) ShowHideExecute();
    win::SetVisible(ColorZoomPanel.Handle(), false);
    HideOptions();
    win::SetVisible(CapturePanel.Handle(), true);
    win::SetOuterSize(Handle(), OptionsWidth, OptionsHeight);
    LayoutCaptureView(CapturePanel.Handle(), ScrollBox1, BtnPanel.Handle());
    if (TImageScrollBox* box = TImageScrollBox::FromHandle(ScrollBox1))
        box->SetPicture(capturedBitmap_.Get(), capturedPalette_.Get());
}

void TTintsnatch4::rgCaptureClick() { rgCaptureArea.SetEnabled(rgCapture.ItemIndex() == 0); }

void TTintsnatch4::FileSaveAs1Execute() {
    std::vector<wchar_t> name(32768, L'\0');
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = Handle();
    ofn.lpstrFile = name.data();
    ofn.nMaxFile = static_cast<DWORD>(name.size());
    // No title, filter or default extension of our own; no question before overwriting.
    ofn.Flags = OFN_HIDEREADONLY | OFN_ENABLESIZING | OFN_EXPLORER;
    if (GetSaveFileNameW(&ofn)) {
        FileSaveAs1Accept(name.data());
    } else if (CommDlgExtendedError() != 0) {
        throw win::Error(L"Cannot show the save dialog");
    }
}

void TTintsnatch4::FileSaveAs1Accept(const std::wstring& fileName) {
    // Nothing captured since start: there is no picture, and no file is made.
    if (hasCapturedPicture_)
        WriteFileReplacing(fileName,
                           EncodeBitmapFile(capturedBitmap_.Get(), capturedPalette_.Get()));
    TintResetExecute();
}

void TTintsnatch4::PrintDlg1Execute() {
    PRINTDLGW pd{};
    pd.lStructSize = sizeof pd;
    pd.hwndOwner = Handle();
    pd.Flags = PD_RETURNDC | PD_NOSELECTION | PD_NOPAGENUMS | PD_USEDEVMODECOPIESANDCOLLATE;
    BOOL accepted = PrintDlgW(&pd);
    PrintDialogMemory memory(pd);
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
    if (capturedBitmap_) PrintPicture(printer.Get(), capturedBitmap_.Get(), capturedPalette_.Get());
}

void TTintsnatch4::CopyCapturedImage() {
    if (capturedBitmap_) {
        gdi::Bitmap bitmap = CopyBitmap(capturedBitmap_.Get());
        gdi::Palette palette = CopyPalette(capturedPalette_.Get());
        win::Clipboard clipboard(Handle());
        clipboard.Empty();
        clipboard.SetBitmap(bitmap.Release());
        if (palette) clipboard.SetPalette(palette.Release());
    }
    TintResetExecute();
}

void TTintsnatch4::UpdateCaption() {
    // Rebuilt only when an input changed: the zoom label always shows the magnifiers' level.
    const CaptionInputs inputs{rgCapture.ItemIndex(), rgCaptureArea.ItemIndex(),
                               JvZoom1 ? JvZoom1->ZoomLevel() : 0};
    if (captionInputs_ == inputs) return;
    captionInputs_ = inputs;
    std::wstring area = rgCaptureArea.ItemText(rgCaptureArea.ItemIndex());
    std::wstring zoom = win::GetText(lblZoomFactor);
    win::SetTextIfChanged(Handle(), CaptureCaption(rgCapture.ItemIndex(), area, zoom));
}

bool TTintsnatch4::CaptureCommand(int controlId, int code) {
    if (code != BN_CLICKED) return false;
    if (rgCapture.Owns(controlId)) {
        if (rgCapture.HandleClick(controlId)) rgCaptureClick();
        return true;
    }
    if (rgCaptureArea.Owns(controlId)) {
        rgCaptureArea.HandleClick(controlId);
        return true;
    }
    const wchar_t* action = nullptr;
    switch (controlId) {
        case id::ClipboardCopy:
            action = L"EditCopy1";
            break;
        case id::SaveImage:
            action = L"FileSaveAs1";
            break;
        case id::Button1:
            action = L"PrintDlg1";
            break;
        case id::Cancel:
            action = L"TintReset";
            break;
        default:
            return false;
    }
    if (const Action* a = actions_.Find(action)) a->Execute();
    return true;
}
