#include "app/TintsnatchMain.h"

#include <algorithm>
#include <utility>

#include "access/Names.h"
#include "app/ControlIds.h"
#include "app/FollowPlacement.h"
#include "win/Application.h"
#include "win/Dpi.h"
#include "win/DpiScale.h"
#include "win/ErrorReport.h"
#include "win/Hints.h"
// After the platform header, which it needs.
#include <wtsapi32.h>

// The component headers are included where their types are complete, so the unique_ptr members
// can be destroyed here.
#include "app/Components.h"

namespace {
constexpr int ReadoutPanelWidth = 94;
constexpr int MagnifierRight = 76;  // the compact view's magnifier: 74 x 74 at (1, 1)

// The height of a line of text in the font.
int LineHeight(HFONT font) {
    gdi::WindowDC screen(nullptr);
    if (!screen) return 0;
    gdi::Selection select(screen.Get(), font);
    TEXTMETRICW tm{};
    return GetTextMetricsW(screen.Get(), &tm) ? tm.tmHeight : 0;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Swatch

void TintSwatch::Place(HWND parent, int controlId, const RECT& bounds) {
    if (Handle()) {
        win::Place(Handle(), bounds);
        return;
    }
    RegisterClass(L"TTintSwatch", 0, nullptr, nullptr);
    Window::Create(0, L"TTintSwatch", L"", WS_CHILD | WS_VISIBLE, bounds.left, bounds.top,
                   bounds.right - bounds.left, bounds.bottom - bounds.top, parent,
                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlId)));
}

void TintSwatch::SetColor(COLORREF color) {
    if (hasColor_ && color == color_) return;
    color_ = color;
    hasColor_ = true;
    InvalidateRect(Handle(), nullptr, FALSE);
}

void TintSwatch::SetFrame(COLORREF color, bool always) {
    if (color == frame_ && always == frameAlways_) return;
    frame_ = color;
    frameAlways_ = always;
    InvalidateRect(Handle(), nullptr, FALSE);
}

void TintSwatch::Paint(HDC dc) {
    RECT r;
    GetClientRect(Handle(), &r);
    if (!hasColor_) {
        FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
        if (!frameAlways_) return;
    } else {
        gdi::Brush fill(CreateSolidBrush(color_));
        FillRect(dc, &r, fill.Get());
    }
    if (frame_ == 0) {
        FrameRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        return;
    }
    gdi::Brush frame(CreateSolidBrush(frame_));
    FrameRect(dc, &r, frame.Get());
}

std::wstring TintSwatch::Name() const {
    return a11y::SwatchName(hasColor_ && ColorText ? ColorText() : std::wstring(), hasColor_);
}

LRESULT TintSwatch::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    if (LRESULT r = 0; a11y::AnswerAsNamed(
            Handle(), msg, wp, lp, a11y::Kind::Swatch, [this] { return Name(); }, r))
        return r;
    return PaintedWindow::HandleMessage(msg, wp, lp);
}

// ---------------------------------------------------------------------------------------------
// Creation

TTintsnatch4::TTintsnatch4() = default;

TTintsnatch4::~TTintsnatch4() {
    if (Handle()) DestroyWindow(Handle());
}

int TTintsnatch4::Scaled(int designValue) const { return dpi::Scale(designValue, dpi_); }

RECT TTintsnatch4::Box(int x, int y, int w, int h) const {
    dpi::Rect r = dpi::ScaleBounds(x, y, w, h, dpi_);
    return {r.left, r.top, r.right, r.bottom};
}

SIZE TTintsnatch4::PageRoom(const win::Panel& page) const {
    RECT rc{};
    GetClientRect(page.Handle(), &rc);
    dpi::Size room = dpi::Unscale(dpi::Size{rc.right, rc.bottom}, dpi_);
    return {room.cx, room.cy};
}

void TTintsnatch4::MakeFonts() {
    font_ = gdi::MakeFont(L"Tahoma", Scaled(-11));
    monoFont_ = gdi::MakeFont(L"Courier New", Scaled(-11));
}

void TTintsnatch4::CreateForm() {
    auto& app = win::Application();
    RegisterClass(L"TTintsnatch4", CS_DBLCLKS, nullptr, GetSysColorBrush(COLOR_BTNFACE),
                  app.Icon());
    Create(WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_CONTROLPARENT, L"TTintsnatch4", L"Tintsnatch 4",
           WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN, 0, 0, OptionsWidth, OptionsHeight,
           app.Handle());
    creating_ = true;
    CloseLater closeLater(Handle(), closeAfterCreation_, &creating_);
    // Built for the DPI of the monitor it starts on, at the options view's size.
    dpi_ = win::WindowDpi(Handle());
    MakeFonts();
    win::SetOuterSize(Handle(), Scaled(OptionsWidth), Scaled(OptionsHeight));
    app.SetMainWindow(Handle());
    app.SetMessageFilter([this](MSG& m) { return FilterMessage(m); });
    CreateControls();
    PresentControls();
    CreateActions();
    CreateComponents();
    created_ = true;
    ApplyContrast();
    FormCreate();
    // Centred on the screen at start, with the size creation gave it.
    CenterOnScreen();
}

constexpr TTintsnatch4::PageDef TTintsnatch4::Pages[page::Count] = {
    {page::Zoom, &TTintsnatch4::tsZoom, id::tsZoom, L"tsZoom", L"&Zoom"},
    {page::Clipboard, &TTintsnatch4::tsClipBoard, id::tsClipBoard, L"tsClipBoard", L"&Clipboard"},
    {page::Capture, &TTintsnatch4::tsCapture, id::tsCapture, L"tsCapture", L"Ca&pture"},
    {page::Keys, &TTintsnatch4::Keys, id::Keys, L"Keys", L"Keys"},
    {page::Misc, &TTintsnatch4::tsMisc, id::tsMisc, L"tsMisc", L"Misc"},
    {page::About, &TTintsnatch4::About, id::About, L"About", L"About"},
    {page::Save, &TTintsnatch4::tsSave, id::tsSave, L"tsSave", L"Sa&ve"},
    {page::History, &TTintsnatch4::tsHistory, id::tsHistory, L"tsHistory", L"History"}};

void TTintsnatch4::CreateControls() {
    ColorZoomPanel.Create(Handle(), id::ColorZoomPanel, 0, 0, 0, 0, WS_VISIBLE);
    Panel1.Create(ColorZoomPanel.Handle(), id::Panel1, 0, 0, 0, 0, WS_VISIBLE);

    // The options view: a multi-line page control with six pages. The pages are its children:
    // marked as a container, the dialog manager looks into them for the controls' access keys.
    Properties = win::CreateControl(
        WC_TABCONTROLW, L"",
        WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | TCS_MULTILINE | WS_TABSTOP, 0, 0, 0, 0,
        Handle(), id::Properties, font_.Get(), WS_EX_CONTROLPARENT);
    static_assert(
        [] {
            for (int i = 0; i < page::Count; ++i)
                if (Pages[i].index != i) return false;
            return true;
        }(),
        "the page table is in tab order");
    for (const PageDef& p : Pages) {
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<wchar_t*>(p.caption);
        TabCtrl_InsertItem(Properties, p.index, &item);
        win::Panel& panel = this->*p.panel;
        panel.Create(Properties, p.id, 0, 0, 10, 10);
        SetWindowTextW(panel.Handle(), p.caption);
    }
    CapturePanel.Create(Handle(), id::CapturePanel, 0, 0, 0, 0);
    LayOut();
}

void TTintsnatch4::CreateCompactView() {
    HFONT mono = monoFont_.Get();
    HWND p1 = Panel1.Handle();
    // The readouts' room: right of the magnifier in the compact view's client area. A frame
    // thicker than designed takes it from their left margin first, so the right column stays
    // whole.
    RECT outer, client;
    GetWindowRect(Handle(), &outer);
    GetClientRect(Handle(), &client);
    const int clientWidth = Scaled(CompactWidth) - ((outer.right - outer.left) - client.right);
    const int room =
        clientWidth - std::max(Scaled(MagnifierRight), clientWidth - Scaled(ReadoutPanelWidth));
    const int shift = std::clamp(Scaled(ReadoutPanelWidth) - room, 0, Scaled(4));
    // Rows a line of the readout font apart: its line may be a pixel taller than the designed 12
    // once scaled.
    const int line = std::max(Scaled(12), LineHeight(mono));
    auto at = [&](int x, int row, int w) {
        RECT r = Box(x, 0, w, 0);
        return RECT{r.left - shift, row * line, r.right - shift, (row + 1) * line};
    };
    readouts_.ColR.Place(p1, id::ColR, L"--", at(4, 0, 50), mono);
    readouts_.ColG.Place(p1, id::ColG, L"--", at(4, 1, 50), mono);
    readouts_.ColB.Place(p1, id::ColB, L"--", at(4, 2, 50), mono);
    readouts_.ColHex.Place(p1, id::ColHex, L"--", at(4, 3, 52), mono);
    readouts_.ColC.Place(p1, id::ColC, L"--", at(56, 0, 38), mono);
    readouts_.ColM.Place(p1, id::ColM, L"--", at(56, 1, 38), mono);
    readouts_.ColY.Place(p1, id::ColY, L"--", at(56, 2, 38), mono);
    readouts_.ColK.Place(p1, id::ColK, L"--", at(56, 3, 38), mono);
    RECT swatch = Box(4, 54, 17, 17);
    OffsetRect(&swatch, -shift, 0);
    readouts_.TintColor.Place(p1, id::TintColor, swatch);
    RECT position = Box(24, 55, 70, 12);
    position = {position.left - shift, position.top, position.right - shift, position.top + line};
    readouts_.Position.Place(p1, id::Position, L"(---,---)", position, mono);
}

void TTintsnatch4::LayOut() {
    CreateCompactView();
    SendMessageW(Properties, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), FALSE);
    // Pages get their options-view size first, so their contents can fit the room they have.
    SizeOptionsPages();
    CreateZoomPage();
    CreateClipboardPage();
    CreateCapturePage();
    CreateCaptureView();
    CreateKeysPage();
    CreateMiscPage();
    CreateAboutPage();
    CreateSavePage();
    CreateHistoryPage();
    AlignPanels();
}

void TTintsnatch4::ChangeDpi(int dpi, const RECT* suggested) {
    if (dpi <= 0 || dpi == dpi_) return;
    dpi_ = dpi;
    // The controls keep the old fonts until the layout has given them the new ones.
    gdi::Font oldFont = std::move(font_), oldMono = std::move(monoFont_);
    MakeFonts();
    // Nothing is painted while the controls move (no message is handled meanwhile): the window
    // shows the new layout whole at its next paint, and the readouts keep their texts.
    const bool wide = !win::IsShown(ColorZoomPanel.Handle());
    SIZE size{Scaled(wide ? OptionsWidth : CompactWidth),
              Scaled(wide ? OptionsHeight : CompactHeight)};
    RECT now;
    GetWindowRect(Handle(), &now);
    POINT at = suggested ? POINT{suggested->left, suggested->top} : POINT{now.left, now.top};
    SetWindowPos(Handle(), nullptr, at.x, at.y, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
    LayOut();
    RedrawWindow(Handle(), nullptr, nullptr,
                 RDW_ERASE | RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN);
}

void TTintsnatch4::CreateActions() {
    auto add = [this](const wchar_t* name, const wchar_t* caption, const wchar_t* hint,
                      std::uint16_t shortcut, std::function<void(const Action*)> handler) {
        Action a;
        a.Name = name;
        a.Caption = caption;
        a.Hint = hint;
        a.ShortCut = shortcut;
        a.OnExecute = std::move(handler);
        return &actions_.Add(std::move(a));
    };
    act_.FileExit1 =
        add(L"FileExit1", L"E&xit", L"Quits the application", 0, [this](const Action*) {
            WinHelpW(Handle(), nullptr, HELP_QUIT, 0);
            PostMessageW(Handle(), WM_CLOSE, 0, 0);
        });
    act_.EditCopy1 = add(L"EditCopy1", L"&Copy", L"Copies selection to the Clipboard", 0x4043,
                         [this](const Action* sender) { EditCopy1Execute(sender); });
    act_.Capture = add(L"Capture", L"Capture", L"Perform screen capture in selected mode", 0,
                       [this](const Action*) { CaptureExecute(); });
    act_.ShowHide = add(L"ShowHide", L"&Visible", L"Show or hides Tintsnatch window", 0,
                        [this](const Action*) { ShowHideExecute(); });
    act_.ShowHide->Checked = true;
    act_.FileSaveAs1 = add(L"FileSaveAs1", L"Save &As...", L"Saves captured image to a file",
                           0x4053, [this](const Action*) { FileSaveAs1Execute(); });
    act_.TintReset = add(L"TintReset", L"TintReset", L"Reset Tintsnatch", 0,
                         [this](const Action*) { TintResetExecute(); });
    act_.ZoomIn =
        add(L"ZoomIn", L"ZoomIn", L"Zoom In", 0, [this](const Action*) { ZoomInExecute(); });
    act_.ZoomOut =
        add(L"ZoomOut", L"ZoomOut", L"Zoom Out", 0, [this](const Action*) { ZoomOutExecute(); });
    act_.PrintDlg1 = add(L"PrintDlg1", L"&Print...", L"Open print dialog to print captured image",
                         0x4050, [this](const Action*) { PrintDlg1Execute(); });
    act_.RunWinStartUp =
        add(L"RunWinStartUp", L"RunWinStartUp", L"Automaticaly run Tintsnatch at Windows startup",
            0, [this](const Action*) { RunWinStartUpExecute(); });
}

void TTintsnatch4::AlignPanels() {
    RECT rc;
    GetClientRect(Handle(), &rc);
    int w = rc.right, h = rc.bottom;
    MoveWindow(ColorZoomPanel.Handle(), 0, 0, w, h, TRUE);
    // Aligned right, but never over the magnifier: a frame thicker than designed takes its room
    // from the readouts' panel, whose contents give up their left margin for it.
    int readoutsLeft = std::max(Scaled(MagnifierRight), w - Scaled(ReadoutPanelWidth));
    MoveWindow(Panel1.Handle(), readoutsLeft, 0, std::max(0, w - readoutsLeft), h, TRUE);
    MoveWindow(CapturePanel.Handle(), 0, 0, w, h, TRUE);
    if (captureView_.ScrollBox1) LayoutCaptureView();
    AlignPages(w, h);
}

void TTintsnatch4::AlignPages(int w, int h) {
    MoveWindow(Properties, 0, 0, w, h, TRUE);
    RECT page{0, 0, w, h};
    TabCtrl_AdjustRect(Properties, FALSE, &page);
    for (const PageDef& p : Pages)
        MoveWindow((this->*p.panel).Handle(), page.left, page.top, page.right - page.left,
                   page.bottom - page.top, TRUE);
}

void TTintsnatch4::SizeOptionsPages() {
    // The options view's client area: its outer size less the frame and caption the window has.
    RECT outer, client;
    GetWindowRect(Handle(), &outer);
    GetClientRect(Handle(), &client);
    int frameW = (outer.right - outer.left) - client.right;
    int frameH = (outer.bottom - outer.top) - client.bottom;
    AlignPages(Scaled(OptionsWidth) - frameW, Scaled(OptionsHeight) - frameH);
}

void TTintsnatch4::ShowPage(int index) {
    if (TabCtrl_GetCurSel(Properties) != index) TabCtrl_SetCurSel(Properties, index);
    for (const PageDef& p : Pages)
        if (p.index != index) win::SetVisible((this->*p.panel).Handle(), false);
    if (index >= 0 && index < page::Count) {
        HWND shown = (this->*Pages[index].panel).Handle();
        bool wasShown = win::IsShown(shown);
        win::SetVisible(shown, true);
        if (!wasShown && index == page::Clipboard) tsClipBoardShow();
        if (!wasShown && index == page::Save) tsSaveShow();
    }
}

void TTintsnatch4::ShowOptions() {
    bool wasShown = win::IsShown(Properties);
    win::SetVisible(Properties, true);
    if (!wasShown) optionsOpened_ = true;
    // The Clipboard page shows itself along with the page control: its preview is refreshed.
    if (!wasShown && TabCtrl_GetCurSel(Properties) == page::Clipboard) tsClipBoardShow();
    if (!wasShown && TabCtrl_GetCurSel(Properties) == page::Save) tsSaveShow();
}

void TTintsnatch4::HideOptions() {
    if (!win::IsShown(Properties)) return;
    // The keyboard focus leaves with the options view: a hotkey edit that kept it while hidden
    // would take the user's next keystroke as its new shortcut.
    HWND focus = GetFocus();
    if (focus && (focus == Properties || IsChild(Properties, focus))) SetFocus(Handle());
    win::SetVisible(Properties, false);
    if (optionsOpened_ && IsWindowVisible(Handle())) {
        optionsOpened_ = false;
        StorageOptionsClosed();
    }
}

void TTintsnatch4::FormCreate() {
    CheckSingleInstance();
    // Double buffering: our own drawing (swatch, magnifiers) paints whole frames at once and the
    // window clips its children, so a steady tick repaints only what changed.
    clipboard_.rgClipboard.SetItemIndex(0);
    if (capture_.rgCapture.SetItemIndex(0)) rgCaptureClick();
    win::SetText(zoom_.lblZoomFactor, std::to_wstring(win::TrackPosition(zoom_.ZoomSlider)));
    win::SetOuterSize(Handle(), Scaled(CompactWidth), Scaled(CompactHeight));
    AlignPanels();
    ShowPage(page::Zoom);
    BindHotKeys();
    ReadStartupState();
    LoadHistory();
    Timer1.Create([this] { Timer1Timer(); }, [this] { WakeSampler(); });
    Timer1.Start(static_cast<UINT>(timerInterval_));
    sampling_ = true;
    StartMagnifiers();
    // Lock, unlock, disconnect and reconnect of this session. Without them the program samples
    // on; a failure costs nothing more than that.
    (void)WTSRegisterSessionNotification(Handle(), NOTIFY_FOR_THIS_SESSION);
}

// ---------------------------------------------------------------------------------------------
// Commands

void TTintsnatch4::Options1Click() {
    followMode_ = !followMode_;
    CenterOnScreen();
    GrowView();
    options1Checked_ = !options1Checked_;
    SyncTrayMenu();
    win::SetVisible(ColorZoomPanel.Handle(), false);
    ShowOptions();
    HideCaptureView();
}

void TTintsnatch4::FixedFollowClick() { followMode_ = !followMode_; }

void TTintsnatch4::TintResetExecute() {
    CenterOnScreen();
    win::SetOuterSize(Handle(), Scaled(CompactWidth), Scaled(CompactHeight));
    win::SetVisible(ColorZoomPanel.Handle(), true);
    HideOptions();
    HideCaptureView();
}

void TTintsnatch4::FormKeyDown(unsigned key) {
    if (key != VK_ESCAPE) return;
    // A view the tray's "&Options" pinned is unpinned on the way back to the compact view.
    UnpinOptions();
    TintResetExecute();
}

void TTintsnatch4::FormDestroy() { UnbindHotKeys(); }

// ---------------------------------------------------------------------------------------------
// Messages

bool TTintsnatch4::FilterMessage(MSG& m) {
    if (!Handle() || !m.hwnd) return false;
    if (m.hwnd != Handle() && GetAncestor(m.hwnd, GA_ROOT) != Handle()) return false;
    if (m.message == WM_MOUSEWHEEL) {
        win::Guarded([&] { FormMouseWheel(GET_WHEEL_DELTA_WPARAM(m.wParam)); });
        return true;
    }
    // Before the hotkey edits see it: Tab there moves on rather than becoming the shortcut.
    if (OptionsTabKey(m) || RadioArrowKey(m)) return true;
    wchar_t cls[32] = {};
    GetClassNameW(m.hwnd, cls, 32);
    bool inHotKeyEdit = wcscmp(cls, HOTKEY_CLASSW) == 0;
    if ((m.message == WM_KEYDOWN || m.message == WM_SYSKEYDOWN) && !inHotKeyEdit) {
        std::uint16_t shortcut = static_cast<std::uint16_t>(m.wParam & 0xFF);
        if (GetKeyState(VK_SHIFT) < 0) shortcut |= 0x2000;
        if (GetKeyState(VK_CONTROL) < 0) shortcut |= 0x4000;
        if (GetKeyState(VK_MENU) < 0) shortcut |= 0x8000;
        if (const Action* a = actions_.FindShortCut(shortcut)) {
            win::Guarded([&] { a->Execute(); });
            return true;
        }
    }
    // A hotkey edit never takes Esc as a shortcut (it hands it to its parent): there it does what
    // it does anywhere else in the window.
    if (inHotKeyEdit && m.message == WM_KEYDOWN && m.wParam == VK_ESCAPE) {
        win::Guarded([&] { FormKeyDown(VK_ESCAPE); });
        return true;
    }
    if (m.hwnd == Handle() || inHotKeyEdit) return false;  // FormKeyDown sees the window's keys
    return IsDialogMessageW(Handle(), &m) != FALSE;
}

void TTintsnatch4::OnCommand(int controlId, int code, HWND control) {
    // Esc on a control of a page comes as the dialog manager's cancel: it does what Esc on the
    // window does.
    if (controlId == IDCANCEL && code == 0 && !control) {
        FormKeyDown(VK_ESCAPE);
        return;
    }
    if (controlId == IDOK && PressFocusedCaptureButton()) return;
    if (controlId == IDOK || controlId == IDCANCEL) return;  // dialog navigation, not commands
    if (code == BN_CLICKED && clipboard_.rgClipboard.HandleClick(controlId)) {
        rgClipboardClick();
        return;
    }
    if (historyPage_ && historyPage_->Command(controlId, code)) return;
    if (controlId == id::edCustomFormat) {
        if (code == EN_CHANGE) edCustomFormatChange();
        if (code == EN_MAXTEXT) edCustomFormatMaxText();
        return;
    }
    if (code != BN_CLICKED && SaveCommand(controlId, code)) return;
    if (ZoomCommand(controlId, code) || CaptureCommand(controlId, code) ||
        KeysCommand(controlId, code) || MiscCommand(controlId, code) ||
        AboutCommand(controlId, code))
        return;
}

void TTintsnatch4::OnShowWindow(bool shown) {
    if (shown) {
        StorageShowHook();
        ResumeSampling();
    } else {
        StopSampling();
        StorageHideHook();
    }
}

LRESULT TTintsnatch4::HandleMessage(UINT m, WPARAM wp, LPARAM lp) {
    switch (m) {
        case WM_COMMAND:
            OnCommand(LOWORD(wp), HIWORD(wp), reinterpret_cast<HWND>(lp));
            return 0;
        case WM_NOTIFY: {
            auto* hdr = reinterpret_cast<NMHDR*>(lp);
            if (hdr->hwndFrom == Properties && hdr->code == TCN_SELCHANGE) {
                ShowPage(TabCtrl_GetCurSel(Properties));
                return 0;
            }
            break;
        }
        case WM_HSCROLL:
        case WM_VSCROLL:
            if (lp) OnTrackbar(reinterpret_cast<HWND>(lp));
            return 0;
        case WM_KEYDOWN:
            FormKeyDown(static_cast<unsigned>(wp));
            return 0;
        case WM_SIZE:
            if (created_) AlignPanels();
            break;
        case WM_DPICHANGED:
            // The window moved to a monitor of another DPI (follow mode does that all the time).
            if (created_) {
                ChangeDpi(HIWORD(wp), reinterpret_cast<const RECT*>(lp));
                return 0;
            }
            break;
        case WM_SHOWWINDOW:
            // Only a change of the window's own visibility counts, not the owner's minimising.
            if (lp == 0 && created_) OnShowWindow(wp != FALSE);
            break;
        case WM_ACTIVATE:
            if (LOWORD(wp) == WA_INACTIVE) NoteCaptureFocus();
            if (LOWORD(wp) != WA_INACTIVE && !GetFocus()) SetFocus(Handle());
            break;
        case WM_SETFOCUS:
            if (PassFocusToCaptureView()) return 0;
            break;
        case WM_QUERYENDSESSION:
            return TRUE;
        case WM_ENDSESSION:
            if (wp) StorageEndSession();
            return 0;
        case WM_CLOSE:
            // An exit during a capture arrives through the overlay's modal loop, with the capture
            // still on the stack: destroying the window now would free the engine under it. The
            // overlay ends as dismissed instead, and the capture command closes the window once
            // the capture has unwound.
            if (OskScreenCapture1 && OskScreenCapture1->Capturing()) {
                closeAfterCapture_ = true;
                OskScreenCapture1->Cancel();
                return 0;
            }
            // A close that comes through the modal loop of a message shown during creation
            // (another copy running, say) waits the same way: creation goes on to use what
            // destruction frees.
            if (creating_) {
                closeAfterCreation_ = true;
                return 0;
            }
            StorageCloseQueryHook();
            DestroyWindow(Handle());
            return 0;
        case WM_SYSCOLORCHANGE:
            // The common controls hear of it only from their top-level window.
            EnumChildWindows(
                Handle(),
                [](HWND child, LPARAM) -> BOOL {
                    SendMessageW(child, WM_SYSCOLORCHANGE, 0, 0);
                    return TRUE;
                },
                0);
            if (created_) ApplyContrast();
            return 0;
        case WM_SETTINGCHANGE:
            // High Contrast turned on or off comes as SPI_SETHIGHCONTRAST; a theme's colours may
            // change along with other settings, so any change reads both again.
            if (created_) ApplyContrast();
            break;
        case WM_WTSSESSION_CHANGE:
            SessionChange(wp, lp);
            return 0;
        case WM_DISPLAYCHANGE:
            RenewScreen();
            if (sampling_) Timer1Timer();
            break;
        case WM_DESTROY:
            (void)WTSUnRegisterSessionNotification(Handle());
            Timer1.Stop();
            StorageDestroyHook();
            DestroyComponents();
            PostQuitMessage(0);
            return 0;
    }
    return Window::HandleMessage(m, wp, lp);
}

// ---------------------------------------------------------------------------------------------
// Components

void TTintsnatch4::CreateComponents() {
    CreateTray();
    CreateHotKeyManager();
    CreateCaptureEngine();
    CreateStorage();
    CreateHints();
}

void TTintsnatch4::DestroyComponents() {
    // The hotkey manager releases what it still holds, then the tray icon leaves the tray.
    bindings_.reset();
    HotKeyManager1.reset();
    TrayIcon.reset();
    JvBalloonHint1.reset();
    JvFormStorage1.reset();
    OskScreenCapture1.reset();
    JvZoom1.reset();
    JvZoom2.reset();
    about_.JvHotLink4.reset();
    about_.JvHotLink5.reset();
}
