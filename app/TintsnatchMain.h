#pragma once
// The main window TTintsnatch4: the compact view (magnifier and readouts), the options view (a
// page control with six pages) and the capture view. Its handlers are split by subject over the
// Main*.cpp files of this folder; this header is the one list of its controls and handlers.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "app/Actions.h"
#include "app/HotKeyBindings.h"
#include "app/ColorLibrary.h"
#include "app/SamplerPace.h"
#include "win/Controls.h"
#include "win/Gdi.h"
#include "win/Window.h"

class TJvZoom;
class THotKeyManager;
class TJvTrayIcon;
class TOskScreenCapture;
class TJvFormStorage;
class TJvBalloonHint;
class TJvHotLink;

// The swatch: a 17 x 17 image filled with the sampled colour and framed in black.
class TintSwatch : public win::PaintedWindow {
public:
    void Create(HWND parent, int id, int x, int y, HFONT font);
    // Repaints only when the colour changes.
    void SetColor(COLORREF color);
    bool HasColor() const { return hasColor_; }

protected:
    void Paint(HDC dc) override;

private:
    COLORREF color_ = 0;
    bool hasColor_ = false;
};

// Timer1, the sampling timer, with a message-only window of its own as a timer component has:
// its ticks do not pass through the hooks other components keep on the main window.
class TSamplingTimer : public win::Window {
public:
    void Create(std::function<void()> onTimer);
    // Starts the timer, or restarts it at a new interval.
    void Start(UINT intervalMs);
    void Stop();

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    std::function<void()> onTimer_;
};

class TTintsnatch4 : public win::Window {
public:
    // Window sizes and the follow offset (outer sizes, frame and caption included).
    static constexpr int FollowOffsetX = 20, FollowOffsetY = 20;
    static constexpr int CompactWidth = 172, CompactHeight = 98;
    static constexpr int OptionsWidth = 300, OptionsHeight = 220;

    TTintsnatch4();
    ~TTintsnatch4() override;

    // Builds the window and its controls as designed (components included), then runs FormCreate.
    void CreateForm();

    // --- Part of the main window: views and sampling ---
    void FormCreate();
    void FormDestroy();
    void Timer1Timer();
    void Options1Click();
    void FixedFollowClick();
    void TintResetExecute();
    void FormKeyDown(unsigned key);
    bool FollowMode() const { return followMode_; }
    bool OptionsPinned() const { return options1Checked_; }

    // --- Colour texts and the clipboard page ---
    std::wstring FormatColorText(int index) const;
    Readouts CurrentReadouts() const;
    void rgClipboardClick();
    void tsClipBoardShow();
    void EditCopy1Execute(const Action* sender);

    // --- Magnifier and zoom page ---
    void ZoomSliderChange();
    void ZoomInExecute();
    void ZoomOutExecute();
    void FormMouseWheel(int delta);
    void CroshairSizeChange();
    void cbCroshairClick();

    // --- Capture page and capture view ---
    void CaptureExecute();
    void rgCaptureClick();
    void FileSaveAs1Execute();
    void FileSaveAs1Accept(const std::wstring& fileName);
    void PrintDlg1Execute();
    void CopyCapturedImage();  // EditCopy1Execute with a sender
    void UpdateCaption();
    TOskScreenCapture* ScreenCapture() { return OskScreenCapture1.get(); }

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

    // --- Tray icon and visibility ---
    void ShowHideExecute();
    void TrayIconDblClick();

    // --- Settings, start-up registration, single instance ---
    void CheckSingleInstance();
    void ReadStartupState();
    void RunWinStartUpExecute();

    ActionList& Actions() { return actions_; }

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    // Layout
    void CreateControls();
    void CreateActions();
    void CreateClipboardPage();
    void CreateZoomPage();
    void CreateCapturePage();
    void CreateCaptureView();
    void CreateKeysPage();
    void CreateMiscPage();
    void CreateAboutPage();
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
    // The client size of a page of the options view.
    static SIZE PageSize(const win::Panel& page);
    void ShowPage(int index);
    void ShowOptions();
    void HideOptions();

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
    bool FilterMessage(MSG& m);

    void SetReadouts(const Readouts& r);
    void PaceTimer(const SamplerPace::Observation& seen);
    void CenterOnScreen();

    // Fonts (Tahoma 8 for the window, Courier New for the readouts)
    gdi::Font font_;
    gdi::Font monoFont_;

    // Views
    win::Panel ColorZoomPanel, Panel1, CapturePanel;
    HWND Properties = nullptr;  // the page control
    win::Panel tsZoom, tsClipBoard, tsCapture, Keys, tsMisc, About;
    HWND ColR{}, ColG{}, ColB{}, ColHex{}, ColC{}, ColM{}, ColY{}, ColK{}, Position{};
    TintSwatch TintColor;

    // Zoom page
    HWND gbZoom{}, ZoomSlider{}, lblFactor{}, lblZoomFactor{}, Bevel1{}, Image2{}, Label3{},
        Label8{}, Label9{}, CroshairSize{}, cbCroshair{};
    std::unique_ptr<TJvZoom> JvZoom1, JvZoom2;

    // Clipboard page
    win::RadioGroup rgClipboard;
    win::Panel FormatStrip;
    HWND lblFormat{}, colFmtPreview{};

    // Capture page and capture view
    win::RadioGroup rgCapture, rgCaptureArea;
    HWND ScrollBox1{}, CapturedImage{}, ClipboardCopy{}, SaveImage{}, Button1{}, Cancel{};
    win::Panel BtnPanel;
    gdi::Bitmap capturedBitmap_;
    gdi::Palette capturedPalette_;
    bool hasCapturedPicture_ = false;
    std::unique_ptr<TOskScreenCapture> OskScreenCapture1;

    // Keys page and Misc page
    HWND gbKeys{}, lblShow{}, Label1{}, Label2{}, lblExit{};
    HWND hkShowHide{}, hkFixedFollow{}, hkCapture{}, hkExit{}, hkClipboard{};
    HWND gbMisc{}, cbStartUp{}, cbGrabIfMin{};
    std::unique_ptr<THotKeyManager> HotKeyManager1;
    std::unique_ptr<HotKeyBindings> bindings_;  // the seven identifier fields and their rules
    BindingKeys EditKeys() const;

    // About page
    HWND Image1{}, Label5{}, Label4{}, Label6{};
    std::unique_ptr<TJvHotLink> JvHotLink4, JvHotLink5;

    // Tray, settings, hints
    std::unique_ptr<TJvTrayIcon> TrayIcon;
    HMENU TrayMenu = nullptr;
    std::unique_ptr<TJvFormStorage> JvFormStorage1;
    std::unique_ptr<TJvBalloonHint> JvBalloonHint1;

    ActionList actions_;
    bool followMode_ = true;
    bool options1Checked_ = false;
    bool created_ = false;

    TSamplingTimer Timer1;
    // The sampling tick's memory: the pace, the last sample and what it set, the caption's inputs.
    SamplerPace pace_;
    int timerInterval_ = SamplerPace::ActiveInterval;
    std::optional<POINT> sampled_;
    COLORREF sampledColor_ = 0;
    Readouts shownReadouts_;
    struct CaptionInputs {
        int mode, area, zoom;
        bool operator==(const CaptionInputs&) const = default;
    };
    std::optional<CaptionInputs> captionInputs_;
};
