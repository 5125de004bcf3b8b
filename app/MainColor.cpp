// The main window's colour texts: the Clipboard page, its preview and the colour copy.
#include "access/Names.h"
#include "app/ControlIds.h"
#include "app/TintsnatchMain.h"
#include "colors/ColorTemplate.h"
#include "colors/HistoryPage.h"
#include "win/Clipboard.h"
#include "win/DpiScale.h"
#include "win/Hints.h"

namespace {
// "Custom", after the six formats.
constexpr int CustomFormatIndex = 6;

// The application's own message: owned by the main window, empty caption, OK only. It comes to
// the front, since the global copy key may ask for it while another program is there.
void ShowMessage(HWND owner, const std::wstring& text) {
    MessageBoxW(owner, text.c_str(), L"", MB_OK | MB_SETFOREGROUND);
}
}  // namespace

void TTintsnatch4::CreateClipboardPage() {
    HWND page = tsClipBoard.Handle();
    HFONT font = font_.Get();
    const bool made = clipboard_.rgClipboard.Box() != nullptr;
    SIZE room = PageRoom(tsClipBoard);
    const int stripHeight = 20, margin = 4;
    const RECT groupBounds =
        Box(margin, 2, room.cx - 2 * margin, room.cy - stripHeight - 2 * margin - 2);
    clipboard_.rgClipboard.Place(
        page, id::rgClipboard, id::rgClipboardItem0, L"Clipboard format",
        {L"RGB space", L"RGB comma", L"#HEX", L"HEX", L"CMYK space", L"CMYK comma", L"Custom"}, 2,
        groupBounds, font, Dpi());
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
    // The template sits in the free cell under "Custom", the last item of the second column;
    // its place is taken relative to the group, which the page may not have placed on screen yet.
    const auto& items = clipboard_.rgClipboard.Buttons();
    RECT group, custom, above;
    GetWindowRect(clipboard_.rgClipboard.Box(), &group);
    GetWindowRect(items[CustomFormatIndex], &custom);
    GetWindowRect(items[CustomFormatIndex - 1], &above);
    const int rowStep = custom.top - above.top;
    const int editLeft = groupBounds.left + custom.left - group.left,
              editTop = groupBounds.top + custom.top - group.top + rowStep;
    const bool editMade = clipboard_.edCustomFormat != nullptr;
    win::PlaceControl(clipboard_.edCustomFormat, L"EDIT", colors::DefaultTemplate,
                      WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL,
                      RECT{editLeft, editTop, editLeft + custom.right - custom.left,
                           editTop + custom.bottom - custom.top + Scaled(3)},
                      page, id::edCustomFormat, font, WS_EX_CLIENTEDGE);
    if (!editMade)
        SendMessageW(clipboard_.edCustomFormat, EM_LIMITTEXT, colors::MaxTemplateLength, 0);
    if (made) return;
    win::SetHint(clipboard_.edCustomFormat,
                 L"Your own format: {red} {green} {blue} {HEX} {hex} {cyan} {magenta} {yellow} "
                 L"{black} {hue} {sat} {light} {x} {y}; {{ and }} give a brace");
    win::SetHint(clipboard_.rgClipboard.Box(),
                 L"Select format of color information to use when copying color to clipboard");
    for (HWND b : clipboard_.rgClipboard.Buttons())
        win::SetHint(b,
                     L"Select format of color information to use when copying color to clipboard");
}

std::wstring TTintsnatch4::FormatColorText(int index) const {
    if (index == CustomFormatIndex)
        return colors::ExpandTemplate(win::GetText(clipboard_.edCustomFormat),
                                      colors::ValuesOf(CurrentReadouts()));
    return ::FormatColorText(index, CurrentReadouts());
}

void TTintsnatch4::edCustomFormatChange() {
    // The preview follows the template as it is typed, while it is the chosen format.
    if (clipboard_.rgClipboard.ItemIndex() == CustomFormatIndex) rgClipboardClick();
}

void TTintsnatch4::edCustomFormatMaxText() {
    // The edit cuts a paste at its limit without a word; the user is told, once per attempt, and
    // goes on typing where they were.
    ShowMessage(Handle(), colors::TemplateLimitText());
    SetFocus(clipboard_.edCustomFormat);
}

bool TTintsnatch4::PlaceColorText(const std::wstring& text, int format) {
    if (format == CustomFormatIndex) {
        if (auto refusal = colors::CopyRefusal(win::GetText(clipboard_.edCustomFormat), text)) {
            // Each press of the copy key while a box shows would open one more.
            static bool showing = false;
            if (!showing) {
                showing = true;
                ShowMessage(Handle(), *refusal);
                showing = false;
            }
            return false;
        }
    }
    win::Clipboard clipboard(Handle());
    clipboard.Empty();
    clipboard.SetText(text);
    return true;
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
    // On the History page Ctrl+C copies the entry chosen there.
    if (historyPage_ && historyPage_->HasFocus() && historyPage_->Selected()) {
        CopyHistoryEntry(*historyPage_->Selected(), -1);
        return;
    }
    // The colour under the cursor now: the tick stops while the window is hidden, and a resting
    // tick may be a tenth of a second old.
    Timer1Timer();
    const int format = clipboard_.rgClipboard.ItemIndex();
    const std::wstring text = FormatColorText(format);
    if (!PlaceColorText(text, format)) return;
    Announce(a11y::CopiedText(text));
    if (auto rgb = colors::ColorOf(CurrentReadouts())) RememberColor(colors::RgbOf(*rgb));
}
