// The main window's colour texts: the Clipboard page, its preview and the colour copy.
#include "app/ControlIds.h"
#include "app/TintsnatchMain.h"
#include "win/Clipboard.h"
#include "win/DpiScale.h"
#include "win/Hints.h"

void TTintsnatch4::CreateClipboardPage() {
    HWND page = tsClipBoard.Handle();
    HFONT font = font_.Get();
    const bool made = clipboard_.rgClipboard.Box() != nullptr;
    SIZE room = PageRoom(tsClipBoard);
    const int stripHeight = 20, margin = 4;
    clipboard_.rgClipboard.Place(
        page, id::rgClipboard, id::rgClipboardItem0, L"Clipboard format",
        {L"RGB space", L"RGB comma", L"#HEX", L"HEX", L"CMYK space", L"CMYK comma"}, 2,
        Box(margin, 2, room.cx - 2 * margin, room.cy - stripHeight - 2 * margin - 2), font, Dpi());
    RECT strip = Box(margin, room.cy - stripHeight - margin, room.cx - 2 * margin, stripHeight);
    if (made)
        win::Place(clipboard_.FormatStrip.Handle(), strip);
    else
        clipboard_.FormatStrip.Create(page, id::FormatStrip, strip.left, strip.top,
                                      strip.right - strip.left, strip.bottom - strip.top,
                                      WS_VISIBLE | WS_BORDER);
    // The strip's inside, less its border, holds the caption and the preview.
    RECT inside;
    GetClientRect(clipboard_.FormatStrip.Handle(), &inside);
    const int previewWidth = dpi::Unscale(inside.right, Dpi()) - 50 - 2;
    win::PlaceLabel(clipboard_.lblFormat, clipboard_.FormatStrip.Handle(), id::lblFormat,
                    L"Format: ", Box(4, 2, 44, 14), font);
    // The caption keeps its text whole; the preview gives up the room it grows by.
    RECT preview = Box(50, 2, previewWidth, 14);
    preview.left += win::FitText(clipboard_.lblFormat, Dpi());
    win::PlaceLabel(clipboard_.colFmtPreview, clipboard_.FormatStrip.Handle(), id::colFmtPreview,
                    L"------", preview, font, SS_LEFTNOWORDWRAP);
    if (made) return;
    win::SetHint(clipboard_.rgClipboard.Box(),
                 L"Select format of color information to use when copying color to clipboard");
    for (HWND b : clipboard_.rgClipboard.Buttons())
        win::SetHint(b,
                     L"Select format of color information to use when copying color to clipboard");
}

std::wstring TTintsnatch4::FormatColorText(int index) const {
    return ::FormatColorText(index, CurrentReadouts());
}

void TTintsnatch4::rgClipboardClick() {
    win::SetText(clipboard_.colFmtPreview, FormatColorText(clipboard_.rgClipboard.ItemIndex()));
}

void TTintsnatch4::tsClipBoardShow() {
    win::SetText(clipboard_.colFmtPreview, FormatColorText(clipboard_.rgClipboard.ItemIndex()));
}

void TTintsnatch4::EditCopy1Execute(const Action* sender) {
    if (sender) {
        CopyCapturedImage();
        return;
    }
    if (win::IsShown(CapturePanel.Handle())) return;
    // The colour under the cursor now: the tick stops while the window is hidden, and a resting
    // tick may be a tenth of a second old.
    Timer1Timer();
    std::wstring text = FormatColorText(clipboard_.rgClipboard.ItemIndex());
    win::Clipboard clipboard(Handle());
    clipboard.Empty();
    clipboard.SetText(text);
}
