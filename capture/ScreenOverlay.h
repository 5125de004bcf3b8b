#pragma once
// The common part of the two selection overlays and the pick: a borderless, topmost window over
// all monitors showing a frozen copy of them, taken at creation, and a modal loop that runs until
// the overlay sets its result. While it shows, its keys reach it whatever has the foreground
// (capture/OverlayKeys.h); its name is told to screen readers once it rests.
#include <optional>
#include <string>

#include "access/NameRest.h"
#include "capture/OverlayKeysWin32.h"
#include "capture/Picture.h"
#include "win/Window.h"

class TScreenOverlay : public win::Window {
  public:
    // mrAbort: the user backed out (Esc); mrCancel: closed in any other way.
    static constexpr int mrNone = 0, mrOk = 1, mrCancel = 2, mrAbort = 3;

    ~TScreenOverlay() override;

    // Shows the overlay and runs the application's loop until a result is set; the overlay is
    // hidden again, and its keys released, before this returns. Closing it any other way gives
    // mrCancel.
    int ShowModal();
    const TPicture& ScreenImage() const { return screenImage_; }

  protected:
    // Takes the frozen copy (palette rule included) and creates the hidden window over all
    // monitors, owned by owner. Throws win::Error.
    TScreenOverlay(const wchar_t* className, const wchar_t* caption, HCURSOR classCursor,
                   HWND owner);
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    void SetModalResult(int result) { modalResult_ = result; }
    // A key for the overlay, from a key-down or from its hotkey: acts once either way.
    virtual void OverlayKey(unsigned key, bool shift) = 0;
    // What a screen reader reads as the overlay's name now; empty to keep the caption. It becomes
    // the window's text, and is told, once it has stayed the same for a while.
    virtual std::wstring Name() const { return {}; }
    // The name may have changed.
    void NameChanging();
    // An arrow key moves the pointer one pixel, ten with Shift, kept on the overlay: its new
    // place in window coordinates, or none for any other key.
    std::optional<POINT> StepCursor(unsigned key, bool shift);
    // The DPI of one monitor, for what is drawn on the monitor it shows on while the overlay
    // spans monitors of several DPIs. The call exists from Windows 8.1 on and is looked up when
    // first needed; without it (or without an answer) the DPI of the fallback window serves.
    static int MonitorDpi(HMONITOR monitor, HWND fallback);

  private:
    void FormPaint(HDC dc, const RECT& area);

    void NameRests();

    TPicture screenImage_;
    int modalResult_ = mrNone;
    const overlaykeys::HeldKeys* keys_ = nullptr;  // while ShowModal runs
    a11y::NameRest nameRest_;
};
