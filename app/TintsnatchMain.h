#pragma once
// The main window TTintsnatch4: the compact view (magnifier and readouts), the options view (a
// page control with six pages) and the capture view. Its handlers are split by subject over the
// Main*.cpp files of this folder; this header is the one list of its controls and handlers.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "access/Accessible.h"
#include "access/Announcer.h"
#include "access/NameRest.h"
#include "app/Actions.h"
#include "app/ColorLibrary.h"
#include "app/ControlIds.h"
#include "app/FollowPlacement.h"
#include "app/HotKeyBindings.h"
#include "app/SamplerPace.h"
#include "capture/Picture.h"
#include "colors/ColorHistory.h"
#include "hints/HintWindow.h"
#include "win/Controls.h"
#include "win/Gdi.h"
#include "win/Handle.h"
#include "win/Window.h"
#include "zoom/BlockSampler.h"

class TJvZoom;
class THotKeyManager;
class TJvTrayIcon;
class TOskScreenCapture;
class TJvFormStorage;
namespace settings {
class ProfileFile;
}  // namespace settings
class TJvBalloonHint;
class TJvHotLink;
class TPinBoard;
class THistoryPage;

// The swatch: a 17 x 17 image filled with the sampled colour and framed in black. A screen
// reader finds it as a graphic named by its colour in the chosen format; the name is its window
// text, made when asked, so the tick sets nothing but the colour.
class TintSwatch : public win::PaintedWindow {
  public:
    // Creates the swatch at `bounds` the first time, moves it there every later time.
    void Place(HWND parent, int id, const RECT& bounds);
    // Repaints only when the colour changes.
    void SetColor(COLORREF color);
    bool HasColor() const { return hasColor_; }
    // The frame's colour (black unless High Contrast asks for another). In High Contrast the
    // swatch is framed before it has a colour too, so its place never vanishes into the face.
    void SetFrame(COLORREF color, bool always);
    // The colour's text in the chosen format, for the name.
    std::function<std::wstring()> ColorText;

  protected:
    void Paint(HDC dc) override;
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

  private:
    std::wstring Name() const;
    COLORREF color_ = 0;
    bool hasColor_ = false;
    COLORREF frame_ = 0;
    bool frameAlways_ = false;
};

// Timer1, the sampling timer, with a message-only window of its own as a timer component has:
// its ticks do not pass through the hooks other components keep on the main window. While the
// sampler rests the same window hears the mouse, so the first movement wakes it at once.
class TSamplingTimer : public win::Window {
  public:
    void Create(std::function<void()> onTimer, std::function<void()> onMouse);
    // Starts the timer, or restarts it at a new interval.
    void Start(UINT intervalMs);
    void Stop();
    // Raw mouse input, from every program (it costs nothing while the mouse is still and delays
    // no other program, unlike a mouse hook). False where the platform does not offer it: the
    // rest tick alone then notices a movement.
    bool ListenToMouse(bool listen);

  protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

  private:
    std::function<void()> onTimer_, onMouse_;
    bool listening_ = false;
};

// Carries out a close request that came while the window was busy (a capture, its own creation),
// once that has ended whichever way: posted, so that it runs from the outer message loop, after
// the handler that was busy has returned. A busy flag, when given, is cleared first.
class CloseLater {
  public:
    CloseLater(HWND window, bool& requested, bool* busy = nullptr)
        : window_(window), requested_(requested), busy_(busy) {}
    ~CloseLater() {
        if (busy_) *busy_ = false;
        if (requested_ && PostMessageW(window_, WM_CLOSE, 0, 0)) requested_ = false;
    }
    CloseLater(const CloseLater&) = delete;
    CloseLater& operator=(const CloseLater&) = delete;

  private:
    HWND window_;
    bool& requested_;
    bool* busy_;
};

class TTintsnatch4 : public win::Window {
  public:
    // Window sizes and the follow offset (outer sizes, frame and caption included), as every
    // size and position of the layout at 96 DPI: the window shows them scaled for the DPI of the
    // monitor it is on (Scaled).
    static constexpr int FollowOffsetX = 20, FollowOffsetY = 20;
    static constexpr int CompactWidth = 172, CompactHeight = 98;
    static constexpr int OptionsWidth = 300, OptionsHeight = 220;

    // The DPI the window is laid out for, and a design value at it.
    int Dpi() const { return dpi_; }
    int Scaled(int designValue) const;

    TTintsnatch4();
    ~TTintsnatch4() override;

    // Builds the window and its controls as designed (components included), then runs FormCreate.
    void CreateForm();

    // --- Part of the main window: views and sampling ---
    void FormCreate();
    void FormDestroy();
    void Timer1Timer();
    // The follow-mode move of the tick: the window beside the cursor at p; window is its rect.
    void FollowCursor(POINT p, const RECT& window);
    static std::uint32_t HoverTime();  // ms the cursor rests before a hover counts
    void Options1Click();
    void FixedFollowClick();
    void TintResetExecute();
    void FormKeyDown(unsigned key);
    bool FollowMode() const { return followMode_; }
    bool OptionsPinned() const { return options1Checked_; }
    bool Resting() const { return pace_.Resting(); }

    // --- Colour texts and the clipboard page ---
    std::wstring FormatColorText(int index) const;
    Readouts CurrentReadouts() const;
    void rgClipboardClick();
    void tsClipBoardShow();
    void EditCopy1Execute(const Action* sender);
    // The user's template, as the "Custom" format uses it.
    void edCustomFormatChange();
    void edCustomFormatMaxText();  // typing or pasting reached the most it takes
    // Puts a colour text of the format on the clipboard, replacing what it holds; a Custom text
    // that would empty it is refused with a message instead, and false returned.
    bool PlaceColorText(const std::wstring& text, int format);

    // --- Colour history and the History page ---
    const colors::ColorHistory& History() const { return history_; }
    // A copied colour joins the history, which is kept in the settings file at once.
    void RememberColor(std::uint32_t rgb);
    // Copies entry `index` in format `format` (-1: the chosen format).
    void CopyHistoryEntry(std::size_t index, int format);
    void ExportHistoryExecute();
    // Writes the list to the file: a GIMP palette for a .gpl name, else text in the chosen format.
    void ExportHistory(const std::wstring& fileName);
    THistoryPage* HistoryPage() { return historyPage_.get(); }

    // --- Magnifier and zoom page ---
    void ZoomSliderChange();
    void ZoomInExecute();
    void ZoomOutExecute();
    void FormMouseWheel(int delta);
    void CroshairSizeChange();
    void cbCroshairClick();
    // The "Sample:" choice: one pixel, or the mean of a block round the cursor.
    void cbSampleChange();
    int SampleSide() const { return sampleSide_; }

    // --- Capture page and capture view ---
    void CaptureExecute();
    void rgCaptureClick();
    // The save dialog with its overwrite prompt: the name chosen, or none when cancelled;
    // typeIndex is the file type shown first and then the one chosen.
    std::optional<std::wstring> AskSaveName(const wchar_t* filter, DWORD& typeIndex);
    void FileSaveAs1Execute();
    void FileSaveAs1Accept(const std::wstring& fileName);
    void PrintDlg1Execute();
    void CopyCapturedImage();  // EditCopy1Execute with a sender
    void UpdateCaption();
    TOskScreenCapture* ScreenCapture() { return OskScreenCapture1.get(); }
    // The capture view's "Save": into the Save page's folder under its file name, no dialog.
    void SaveNowExecute();
    void BrowseFolderClick();
    // The capture view's "Pin": the image on top of everything where it was taken.
    void PinExecute();
    TPinBoard* Pins() { return pins_.get(); }

    // --- Hotkey bindings and the Keys page ---
    void BindHotKeys();
    void UnbindHotKeys();
    void FormShow();
    void FormHide();
    void HotKeyManager1HotKeyPressed(std::uint32_t hotKey, std::uint16_t index);
    // hkCaptureChange and its three twins: the binding follows its edit at once.
    void hkCaptureChange();
    void hkShowHideChange();
    void hkFixedFollowChange();
    void hkExitChange();

    // --- The precise pick (MainPick.cpp) ---
    // "Pick precisely": the loupe over the frozen screen; a pick copies, a cancel leaves the
    // clipboard alone.
    void PickExecute();
    void hkPickChange();
    // The pick's copy, as Ctrl+C copies: the colour's text in the chosen format (the Custom
    // format's {x} {y} the picked point) on the clipboard, and the colour in the history.
    void CopyPickedColor(COLORREF color, POINT at);
    // The colour's text in the chosen format, for a colour at a screen point.
    std::wstring PickedColorText(COLORREF color, POINT at) const;

    // --- Tray icon and visibility ---
    void ShowHideExecute();
    void TrayIconDblClick();
    const TJvTrayIcon* Tray() const { return TrayIcon.get(); }

    // --- Settings, start-up registration, single instance ---
    void CheckSingleInstance();
    void ReadStartupState();
    void RunWinStartUpExecute();
    bool StartupTurnedOffByWindows();

    ActionList& Actions() { return actions_; }

    // --- Screen readers and High Contrast ---
    // Says `text` to the user's screen reader (what a copy put on the clipboard, say); nothing
    // where the system offers no way to.
    void Announce(const std::wstring& text);
    // What the pick's pointer rests on: said once it has rested half a second.
    void AnnounceAtRest(const std::wstring& text);
    // While the returned object lives, `window` (shown while this one is hidden) speaks for it.
    std::shared_ptr<void> SpeakFrom(HWND window);
    // Another announcer in the system's place (a test's); nullptr puts the system's back.
    void SetAnnouncer(std::unique_ptr<a11y::Announcer> announcer);
    // Reads the High Contrast setting and the system colours again and repaints what they change.
    void ApplyContrast();
    // The About page's colours and picture as the setting and the system's colours are now.
    void ApplyAboutLook();
    // How the setting is read; a test turns High Contrast on here.
    std::function<bool()> ReadHighContrast = [] { return a11y::SystemHighContrast(); };
    bool HighContrast() const { return highContrast_; }

    // The tick's pixel read, from the screen's device context or from the magnifier's copy of
    // the screen round the cursor; a test puts a screen that cannot be read in its place.
    std::function<COLORREF(HDC, int, int)> ReadPixel = [](HDC dc, int x, int y) {
        return GetPixel(dc, x, y);
    };

  protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

  private:
    // Layout. Each Create* function lays out its part at the window's DPI: the first run makes
    // the controls, a run after a DPI change moves them and gives them the new fonts.
    void CreateControls();
    void LayOut();
    void CreateCompactView();
    void MakeFonts();
    // Re-lays the window for a monitor of another DPI, at the place the platform suggests.
    void ChangeDpi(int dpi, const RECT* suggested);
    // Design bounds (at 96 DPI) scaled for the window's DPI.
    RECT Box(int x, int y, int w, int h) const;
    // A page's room in design units: what is laid out in it at design values fits once scaled.
    SIZE PageRoom(const win::Panel& page) const;
    // Gives the page control and its pages the size they have in the options view, whatever
    // view is shown, so the pages can be laid out for it.
    void SizeOptionsPages();
    void AlignPages(int w, int h);
    void CreateActions();
    void CreateClipboardPage();
    void CreateZoomPage();
    void CreateCapturePage();
    void CreateCaptureView();
    void LayoutCaptureView();
    // The capture view by keyboard: the focus on `button` (the first one when it is not one of
    // the view's), kept over a deactivation, moved out when the view hides; Enter presses the
    // button that has it.
    void FocusCaptureView(HWND button);
    void NoteCaptureFocus();        // at deactivation
    bool PassFocusToCaptureView();  // at WM_SETFOCUS: true when a button took it
    bool PressFocusedCaptureButton();
    void HideCaptureView();
    void CreateKeysPage();
    // A hotkey edit of the Keys page, which takes complete keys only.
    void PlaceKeyEdit(HWND& edit, int controlId, const RECT& bounds, std::uint16_t value,
                      bool visible);
    // The line under the edits that says which binding has a key two edits show (or a key the
    // pick was refused): the key's holder, none for another program; key 0 clears it.
    void ShowKeyHolder(std::uint32_t key, std::optional<Binding> holder);
    void UpdateKeyHolder();
    // The pick's edit shows none where one of the four bindings of old asks for its key.
    void SettlePickKey();
    void CreateMiscPage();
    void CreateAboutPage();
    void CreateSavePage();
    void CreateCaptureOptionsRow(int top);  // "Delay:" and "Include cursor" on the Capture page
    bool SaveCommand(int controlId, int code);
    // The one-key save of a picture into the Save page's folder under its file name.
    void SaveIntoChosenFolder(HBITMAP bitmap, HPALETTE palette, const std::wstring& mode);
    void tsSaveShow();  // the example name follows the template, the type and the mode
    void edDelayChange(bool leaving);  // the delay shows the seconds that are used
    void CreateHistoryPage();
    void LoadHistory();
    void SaveHistory();
    // Sets the history among the writes of a settings save (which commits them).
    void StageHistory(settings::ProfileFile& files);
    // False while the file cannot be read; the first time it can, after a start that could not
    // read it, this run's colours go in front of the stored ones. joined: inside a save.
    bool HistoryReady(settings::ProfileFile& files, bool joined);
    // The text of a colour of the history in a format of the Clipboard page.
    std::wstring HistoryText(int format, std::uint32_t rgb) const;
    // Components, created while the design loads (before FormCreate) and destroyed with the window.
    void CreateComponents();
    void DestroyComponents();
    void CreateTray();
    void CreateHotKeyManager();
    void CreateCaptureEngine();
    void CreateStorage();
    void CreateHints();
    void StartMagnifiers();  // last step of FormCreate
    void SyncTrayMenu();     // the tray menu's check marks follow the actions
    void AlignPanels();
    // index is a page::Index, or -1 for none (a stored page name that names no page).
    void ShowPage(int index);
    void ShowOptions();
    void HideOptions();
    // The options and capture views grow from the compact view, moved onto the work area of its
    // monitor where they would run off it; the tick's compact view shrinks back to where it was
    // and gives `window` its new bounds. Centring the window forgets where that was.
    void GrowView();
    void ShrinkView(RECT& window);

    // Message routing: each subject answers true when it handled the notification.
    void OnCommand(int controlId, int code, HWND control);
    bool ZoomCommand(int controlId, int code);
    bool CaptureCommand(int controlId, int code);
    bool KeysCommand(int controlId, int code);
    bool MiscCommand(int controlId, int code);
    bool AboutCommand(int controlId, int code);
    void OnTrackbar(HWND track);
    void OnShowWindow(bool shown);
    // The settings storage's hooks on the window's show, close request and destruction.
    void StorageShowHook();
    void StorageCloseQueryHook();
    void StorageDestroyHook();
    // Every show restores the file, so it is saved whenever the user stops looking at the
    // settings, and at the end of a session, which ends the process without a close.
    void StorageHideHook();
    void StorageOptionsClosed();
    void StorageEndSession();
    bool FilterMessage(MSG& m);
    // The options view by keyboard.
    void FocusOptions();
    void UnpinOptions();
    HWND ShownPage() const;
    // Tab, Shift+Tab, Ctrl+Tab and Ctrl+Shift+Tab while the options view shows.
    bool OptionsTabKey(const MSG& m);
    // The arrows in a radio group of the pages.
    bool RadioArrowKey(const MSG& m);

    void SetReadouts(const Readouts& r);
    void PaceTimer(const SamplerPace::Observation& seen);
    // Sets the timer, the magnifiers and the mouse listening to the pace's interval.
    void ApplyPace(int interval);
    // Mouse input while resting: the full rate, and a tick at once.
    void WakeSampler();
    // Nothing on screen can show a sample while the window is hidden: the tick stops, and a
    // showing runs one before it is painted.
    void StopSampling();
    void ResumeSampling();
    // The session locked or cut off: sampling stops; back: it goes on with the screen taken afresh.
    void SessionChange(WPARAM event, LPARAM eventSession);
    void RenewScreen();
    void CenterOnScreen();

    // Fonts (Tahoma 8 for the window, Courier New for the readouts) at the window's DPI
    int dpi_ = 96;
    gdi::Font font_;
    gdi::Font monoFont_;

    // The application's hint settings (hint window class and colour), handed to the components
    // that show hints or change them: declared before those, so it outlives them.
    hints::ApplicationHints hintSettings_;

    // Views
    win::Panel ColorZoomPanel, Panel1, CapturePanel;
    HWND Properties = nullptr;  // the page control
    win::Panel tsZoom, tsClipBoard, tsCapture, Keys, tsMisc, About;
    win::Panel tsSave;
    win::Panel tsHistory;
    // The six pages in tab order: the page, its control ID, the name settings store for it and
    // its tab caption.
    struct PageDef {
        page::Index index;
        win::Panel TTintsnatch4::*panel;
        int id;
        const wchar_t* name;
        const wchar_t* caption;
    };
    static const PageDef Pages[page::Count];

    // Each view's and page's controls, under their design names: readouts_.ColHex,
    // zoom_.ZoomSlider, keys_.hkCapture.
    struct CompactReadouts {
        win::Readout ColR, ColG, ColB, ColHex, ColC, ColM, ColY, ColK, Position;
        TintSwatch TintColor;
    } readouts_;
    struct ZoomPageControls {
        HWND gbZoom{}, ZoomSlider{}, lblFactor{}, lblZoomFactor{}, Bevel1{}, Image2{}, Label3{},
            Label8{}, Label9{}, CroshairSize{}, cbCroshair{};
        HWND lblSample{}, cbSample{};
    } zoom_;
    // The magnifiers: JvZoom1 in the compact view, JvZoom2 on the zoom page.
    std::unique_ptr<TJvZoom> JvZoom1, JvZoom2;
    struct ClipboardPageControls {
        win::RadioGroup rgClipboard;
        win::Panel FormatStrip;
        HWND lblFormat{}, colFmtPreview{};
        HWND edCustomFormat{};
    } clipboard_;
    struct CapturePageControls {
        win::RadioGroup rgCapture, rgCaptureArea;
    } capture_;
    struct CaptureViewControls {
        HWND ScrollBox1{}, CapturedImage{}, ClipboardCopy{}, SaveImage{}, Button1{}, Cancel{};
        win::Panel BtnPanel;
        HWND SaveNow{}, PinCapture{};
    } captureView_;
    HWND captureFocus_ = nullptr;          // the capture view's control that had the focus
    std::optional<POINT> capturedOrigin_;  // where the image the view shows was on the screen
    std::unique_ptr<TPinBoard> pins_;
    struct SavePageControls {
        HWND lblSaveFolder{}, edSaveFolder{}, BrowseFolder{}, lblFileName{}, edFileName{};
        HWND lblSaveExample{};
        HWND lblDelay{}, edDelay{}, udDelay{}, cbIncludeCursor{}, cbLastRegion{};
    } save_;
    int DelaySeconds() const;    // "Delay:", 0 to 10
    std::wstring capturedMode_;  // the mode word of the capture the view shows, for file names
    // The captured picture (the capture view shows it)
    SharedBitmap capturedBitmap_;
    gdi::Palette capturedPalette_;
    bool hasCapturedPicture_ = false;
    DWORD saveTypeIndex_ = 1;  // the save dialog's last file type, for the rest of the run
    std::unique_ptr<TOskScreenCapture> OskScreenCapture1;

    // Keys page and Misc page, and the hotkeys they set
    struct KeysPageControls {
        HWND gbKeys{}, lblShow{}, Label1{}, Label2{}, lblExit{};
        HWND hkShowHide{}, hkFixedFollow{}, hkCapture{}, hkExit{}, hkClipboard{};
        HWND lblPick{}, hkPick{};
        HWND lblKeyHolder{};
    } keys_;
    struct MiscPageControls {
        HWND gbMisc{}, cbStartUp{}, cbGrabIfMin{}, lblSettingsPath{}, SettingsPath{};
    } misc_;
    std::unique_ptr<THotKeyManager> HotKeyManager1;
    std::unique_ptr<HotKeyBindings> bindings_;  // the seven identifier fields and their rules
    BindingKeys EditKeys() const;

    // About page, its two link labels included
    struct AboutPageControls {
        HWND Image1{}, Label5{}, Label4{}, Label6{};
        std::unique_ptr<TJvHotLink> JvHotLink4, JvHotLink5;
    } about_;

    // Tray, settings, hints
    std::unique_ptr<TJvTrayIcon> TrayIcon;
    win::Menu TrayMenu;  // after the icon that shows it, so it goes first
    std::unique_ptr<TJvFormStorage> JvFormStorage1;
    std::unique_ptr<TJvBalloonHint> JvBalloonHint1;

    ActionList actions_;
    // The actions of actions_, set once by CreateActions: commands reach them through these.
    struct ActionHandles {
        Action *FileExit1{}, *EditCopy1{}, *Capture{}, *ShowHide{}, *FileSaveAs1{}, *TintReset{},
            *ZoomIn{}, *ZoomOut{}, *PrintDlg1{}, *RunWinStartUp{};
    } act_;
    // A close request came while a capture ran; the close follows once the capture has unwound.
    bool closeAfterCapture_ = false;
    bool followMode_ = true;
    // The cursor's monitor as FollowCursor last asked for it (the question is slow under some
    // systems, and the tick runs every 5 ms): its bounds, its work area and when it was asked.
    RECT followMonitor_{}, followWork_{};
    DWORD followAskedAt_ = 0;
    struct GrownFrom {
        POINT compactAt, grownAt;
    };
    std::optional<GrownFrom> grownFrom_;
    bool options1Checked_ = false;
    bool optionsOpened_ = false;      // the options view opened since it last closed
    bool otherInstance_ = false;      // this copy found another running and is ending
    std::wstring settingsMovedNote_;  // told at the first show: settings kept in the user's folder
    win::KernelHandle sessionName_;   // held while this copy is the session's running copy
    bool created_ = false;
    // Creation runs: a message it shows lets a close through, which waits until creation ends.
    bool creating_ = false, closeAfterCreation_ = false;

    TSamplingTimer Timer1;
    // The sampling tick's memory: the pace, the last sample and what it set, the caption's inputs.
    SamplerPace pace_;
    bool sessionAway_ = false;     // locked or disconnected: the screen cannot be read
    bool resumeOnReturn_ = false;  // sampling goes on when the session is back
    follow::HoverGate hoverGate_;  // a following window entered: held, or opened by a hover
    int timerInterval_ = SamplerPace::ActiveInterval;
    bool sampling_ = false;  // the sampling timer runs
    std::optional<POINT> sampled_;
    COLORREF sampledColor_ = 0;
    // The screen, held for the pixel reads: fetching it at every tick asks the platform for the
    // desktop's visible region each time.
    gdi::WindowDC screen_{nullptr};
    Readouts shownReadouts_;
    colors::ColorHistory history_;
    std::unique_ptr<THistoryPage> historyPage_;
    bool historyWriteReported_ = false;  // a file that cannot be written is reported once
    bool historyRead_ = true;            // the stored history is in history_
    // The tick's colour: the pixel under the cursor, or the mean of the block round it.
    int sampleSide_ = 1;
    BlockSampler blockSampler_;
    COLORREF SampleAt(POINT p);
    // Screen readers and High Contrast.
    std::unique_ptr<a11y::Announcer> announcer_;
    a11y::NameRest nameRest_;
    a11y::Look look_;
    bool highContrast_ = false;
    bool lookApplied_ = false;
    // Roles and names the platform cannot know of our controls, set once they exist.
    void PresentControls();
    // The controls whose names follow the sample, in the order NameRest keeps them.
    std::vector<HWND> SampleNamedControls() const;
    void RaiseNameChangesAtRest();

    struct CaptionInputs {
        int mode, area, zoom;
        bool operator==(const CaptionInputs&) const = default;
    };
    std::optional<CaptionInputs> captionInputs_;
};
