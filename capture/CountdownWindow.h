#pragma once
// The delayed capture's countdown (class "TCountdownForm"): a small topmost window beside the
// pointer that shows the seconds left and never takes the focus, so that the menu or tooltip the
// user opens in another program stays open. Esc, held as a hotkey while it runs, cancels it; its
// name says the seconds left.
#include <memory>
#include <optional>

#include "capture/Countdown.h"
#include "capture/OverlayKeysWin32.h"
#include "win/Gdi.h"
#include "win/Window.h"

class TCountdownForm : public win::PaintedWindow {
  public:
    TCountdownForm();
    ~TCountdownForm() override;

    // Shows the window and runs the application's loop for seconds (1 to 10); hides the window
    // again before it returns. False when Cancel or Esc ended it early.
    bool Run(int seconds);
    // Ends a running countdown; safe from a handler that runs inside its loop.
    void Cancel();
    // Where the window was shown, in screen pixels (empty before it was).
    RECT Bounds() const { return bounds_; }
    // Whether the system keeps the window out of every capture: nothing need wait for it to go.
    bool ExcludedFromCapture() const { return excluded_; }

  protected:
    void Paint(HDC dc) override;
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

  private:
    void Tick();

    void ShowSeconds(int seconds);

    std::unique_ptr<countdown::Countdown> count_;
    std::optional<overlaykeys::HeldKeys> keys_;  // while it runs
    gdi::Font font_;
    RECT bounds_{};
    int shown_ = 0;
    bool cancelled_ = false, done_ = false, excluded_ = false;
};
