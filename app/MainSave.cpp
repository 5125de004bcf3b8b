// The Save page and the capture view's one-key "Save": the picture goes into the chosen folder
// under a name made from the template, without a dialog and never over an existing file.
#include <algorithm>

#include "app/Components.h"
#include "app/ControlIds.h"
#include "app/TintsnatchMain.h"
#include "capture/Countdown.h"
#include "capture/OneKeySave.h"
#include "capture/PngFile.h"
#include "capture/SaveName.h"
#include "capture/SavePlace.h"
#include "settings/StartupWin32.h"
#include "win/Application.h"
#include "win/Com.h"
#include "win/ErrorReport.h"
#include "win/Hints.h"

// After the platform header: the shell's folder dialog needs its types.
// clang-format off
#include <shlobj.h>
// clang-format on

namespace {
// The type last chosen in the save dialog; "All files" writes BMP, as a name without ".png" does
// there.
const wchar_t* SaveExtension(DWORD typeIndex) { return typeIndex == 2 ? L".png" : L".bmp"; }

savename::Fields FieldsNow(const std::wstring& mode, SIZE size) {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    return {now.wYear,   now.wMonth, now.wDay, now.wHour, now.wMinute,
            now.wSecond, mode,       size.cx,  size.cy};
}
}  // namespace

void TTintsnatch4::CreateSavePage() {
    HWND page = tsSave.Handle();
    HFONT font = font_.Get();
    const bool made = save_.edSaveFolder != nullptr;
    const SIZE room = PageRoom(tsSave);
    const int x = 8, browseWidth = 66;
    // Each label just above its edit; created in tab order.
    win::PlaceLabel(save_.lblSaveFolder, page, id::lblSaveFolder, L"Save folder:",
                    Box(x, 8, 120, 14), font);
    win::PlaceControl(
        save_.edSaveFolder, L"EDIT", L"", WS_VISIBLE | WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL,
        Box(x, 24, room.cx - 2 * x - browseWidth - 6, 21), page, id::edSaveFolder, font);
    win::PlaceControl(
        save_.BrowseFolder, L"BUTTON", L"&Browse...", WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON,
        Box(room.cx - x - browseWidth, 22, browseWidth, 25), page, id::BrowseFolder, font);
    win::PlaceLabel(save_.lblFileName, page, id::lblFileName, L"File name:", Box(x, 54, 120, 14),
                    font);
    win::PlaceControl(save_.edFileName, L"EDIT", savename::DefaultTemplate,
                      WS_VISIBLE | WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL,
                      Box(x, 70, room.cx - 2 * x, 21), page, id::edFileName, font);
    // A name Save would give now: the type it writes is seen, not only told in a hint.
    win::PlaceLabel(save_.lblSaveExample, page, id::lblSaveExample, L"",
                    Box(x, 96, room.cx - 2 * x, 14), font, SS_LEFTNOWORDWRAP | SS_PATHELLIPSIS);
    win::FitText(save_.lblSaveFolder, Dpi());
    win::FitText(save_.lblFileName, Dpi());
    if (made) return;
    // Paths far beyond MAX_PATH are accepted.
    SendMessageW(save_.edSaveFolder, EM_SETLIMITTEXT, 32767, 0);
    win::SetHint(save_.edSaveFolder,
                 L"Folder that Save writes captures into (your Pictures folder when empty; a "
                 L"relative one lies in the program's folder)");
    win::SetHint(save_.BrowseFolder, L"Choose the folder that Save writes captures into");
    win::SetHint(save_.edFileName,
                 L"Name of a saved capture: {date} {time} {counter} {mode} "
                 L"{size}; the type is the one last chosen in Save As");
}

void TTintsnatch4::CreateCaptureOptionsRow(int top) {
    HWND page = tsCapture.Handle();
    HFONT font = font_.Get();
    const bool made = save_.edDelay != nullptr;
    const int x = 8;
    win::PlaceLabel(save_.lblDelay, page, id::lblDelay, L"Delay:", Box(x, top + 5, 34, 14), font);
    const int labelGrew = win::FitText(save_.lblDelay, Dpi());
    RECT edit = Box(x + 36, top + 2, 32, 20);
    OffsetRect(&edit, labelGrew, 0);
    // It scrolls: the arrows take part of its width, and an edit that does not scroll refuses a
    // second digit that does not fit, "10" among them.
    win::PlaceControl(save_.edDelay, L"EDIT", L"0",
                      WS_VISIBLE | WS_TABSTOP | WS_BORDER | ES_NUMBER | ES_RIGHT | ES_AUTOHSCROLL,
                      edit, page, id::edDelay, font);
    // The arrows attach themselves to the edit's right side, and move with it at every layout.
    win::PlaceControl(
        save_.udDelay, UPDOWN_CLASSW, L"",
        WS_VISIBLE | UDS_ALIGNRIGHT | UDS_SETBUDDYINT | UDS_ARROWKEYS | UDS_NOTHOUSANDS,
        Box(0, 0, 0, 0), page, id::udDelay, font);
    SendMessageW(save_.udDelay, UDM_SETBUDDY, reinterpret_cast<WPARAM>(save_.edDelay), 0);
    RECT box = Box(x + 96, top + 4, 92, 17);
    OffsetRect(&box, labelGrew, 0);
    win::PlaceControl(save_.cbIncludeCursor, L"BUTTON", L"Include cursor",
                      WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX, box, page, id::cbIncludeCursor,
                      font);
    const int boxGrew = win::FitText(save_.cbIncludeCursor, Dpi());
    RECT last = Box(x + 196, top + 4, 76, 17);
    OffsetRect(&last, labelGrew + boxGrew, 0);
    win::PlaceControl(save_.cbLastRegion, L"BUTTON", L"Last region",
                      WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX, last, page, id::cbLastRegion,
                      font);
    win::FitText(save_.cbLastRegion, Dpi());
    if (made) return;
    SendMessageW(save_.udDelay, UDM_SETRANGE32, 0, countdown::MaxSeconds);
    SendMessageW(save_.udDelay, UDM_SETPOS32, 0, 0);
    win::SetHint(save_.edDelay, L"Seconds to count down before the screen is captured");
    win::SetHint(save_.cbIncludeCursor,
                 L"Show the mouse pointer in desktop, window and "
                 L"rectangle captures");
    win::SetHint(save_.cbLastRegion,
                 L"Offer the last rectangle again (Enter takes it, the arrow "
                 L"keys move it) and show the size of a rectangle drawn");
}

int TTintsnatch4::DelaySeconds() const {
    // What the edit holds counts: a number past the range is its nearest end; anything else (a
    // pasted word, nothing) is no delay.
    const std::wstring typed = win::GetText(save_.edDelay);
    if (typed.empty() || typed.find_first_not_of(L"0123456789") != std::wstring::npos) return 0;
    const std::wstring digits = typed.substr(std::min(typed.find_first_not_of(L'0'), typed.size()));
    if (digits.size() > 2) return countdown::MaxSeconds;
    return std::min(digits.empty() ? 0 : std::stoi(digits), countdown::MaxSeconds);
}

void TTintsnatch4::edDelayChange(bool leaving) {
    // The edit shows the seconds the capture will wait: "99" becomes "10" at once. An empty edit
    // is being typed into; it shows 0 once the focus leaves it.
    const std::wstring typed = win::GetText(save_.edDelay);
    if (typed.empty() && !leaving) return;
    const std::wstring used = std::to_wstring(DelaySeconds());
    if (typed == used) return;
    SendMessageW(save_.udDelay, UDM_SETPOS32, 0, DelaySeconds());
    win::SetText(save_.edDelay, used);
    SendMessageW(save_.edDelay, EM_SETSEL, used.size(), static_cast<LPARAM>(used.size()));
}

void TTintsnatch4::tsSaveShow() {
    // The size of the last capture, or before any the primary screen's.
    SIZE size{GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    if (hasCapturedPicture_) size = BitmapSize(HandleOf(capturedBitmap_));
    const savename::Fields fields =
        FieldsNow(savename::ModeWord(capture_.rgCapture.ItemIndex()), size);
    win::SetText(save_.lblSaveExample,
                 L"Example: " + savename::Candidate(win::GetText(save_.edFileName), fields,
                                                    SaveExtension(saveTypeIndex_), 1));
}

void TTintsnatch4::BrowseFolderClick() {
    // The folder dialog is made of COM objects and needs COM on the thread, in a single-threaded
    // apartment; OLE besides for dragging inside it.
    win::OleScope ole;
    if (!ole.Ready()) throw win::Error(L"Cannot open the folder dialog");
    BROWSEINFOW info{};
    info.hwndOwner = Handle();
    info.lpszTitle = L"Save folder:";
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
    PIDLIST_ABSOLUTE chosen = SHBrowseForFolderW(&info);
    if (!chosen) return;
    std::wstring path(32768, L'\0');
    const bool named = SHGetPathFromIDListEx(chosen, path.data(), static_cast<DWORD>(path.size()),
                                             GPFIDL_DEFAULT) != FALSE;
    CoTaskMemFree(chosen);
    if (!named) throw win::Error(L"The chosen folder is not a folder of the file system");
    path.resize(wcslen(path.c_str()));
    win::SetText(save_.edSaveFolder, path);
}

void TTintsnatch4::SaveNowExecute() {
    // Nothing captured since start: there is no picture, and no file is made.
    if (!hasCapturedPicture_) return;
    SaveIntoChosenFolder(HandleOf(capturedBitmap_), capturedPalette_.Get(), capturedMode_);
    TintResetExecute();
}

void TTintsnatch4::SaveIntoChosenFolder(HBITMAP bitmap, HPALETTE palette,
                                        const std::wstring& mode) {
    // A relative folder lies in the program's folder, as the settings file does: the working
    // folder is wherever the program was started from, System32 for a start at log-on.
    const std::wstring exe = settings::ExecutablePath();
    const std::wstring folder = saveplace::ResolveFolder(
        win::GetText(save_.edSaveFolder), exe.substr(0, exe.find_last_of(L"\\/") + 1));
    SaveIntoFolder(folder, win::GetText(save_.edFileName), FieldsNow(mode, BitmapSize(bitmap)),
                   SaveExtension(saveTypeIndex_),
                   [&](const std::wstring& path) { WritePicture(path, bitmap, palette); });
}

void TTintsnatch4::PinExecute() {
    if (!capturedBitmap_ || !capturedOrigin_) return;
    if (!pins_) {
        pins_ = std::make_unique<TPinBoard>(
            TPinBoard::Actions{[this](const SharedBitmap& bitmap, HPALETTE palette) {
                                   OskScreenCapture1->ImageClipboard().Copy(bitmap, palette);
                               },
                               [this](HBITMAP bitmap, HPALETTE palette, const std::wstring& mode) {
                                   SaveIntoChosenFolder(bitmap, palette, mode);
                               }});
    }
    pins_->Open(win::Application().Handle(), capturedBitmap_, capturedPalette_.Get(),
                *capturedOrigin_, capturedMode_);
    TintResetExecute();
}

bool TTintsnatch4::SaveCommand(int controlId, int code) {
    if (controlId == id::edDelay && (code == EN_CHANGE || code == EN_KILLFOCUS)) {
        edDelayChange(code == EN_KILLFOCUS);
        return true;
    }
    if (controlId == id::edFileName && code == EN_CHANGE) {
        tsSaveShow();
        return true;
    }
    if (code != BN_CLICKED) return false;
    switch (controlId) {
        case id::SaveNow:
            SaveNowExecute();
            return true;
        case id::BrowseFolder:
            BrowseFolderClick();
            return true;
        case id::PinCapture:
            PinExecute();
            return true;
        default:
            return false;
    }
}
