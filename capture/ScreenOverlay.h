#pragma once
// The common part of the two selection overlays: a borderless, topmost window over all monitors
// showing a frozen copy of them, taken at creation, and a modal loop that runs until the
// overlay sets its result.
#include <optional>

#include "capture/Picture.h"
#include "win/Window.h"

class TScreenOverlay : public win::Window {
  public:
    static constexpr int mrNone = 0, mrOk = 1, mrCancel = 2;

    ~TScreenOverlay() override;

    // Shows the overlay and runs the application's loop until a result is set; the overlay is
    // hidden again before this returns. Closing it any other way gives mrCancel.
    int ShowModal();
    const TPicture& ScreenImage() const { return screenImage_; }

  protected:
    // Takes the frozen copy (palette rule included) and creates the hidden window over all
    // monitors, owned by owner. Throws win::Error.
    TScreenOverlay(const wchar_t* className, const wchar_t* caption, HCURSOR classCursor,
                   HWND owner);
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    void SetModalResult(int result) { modalResult_ = result; }
    // An arrow key moves the pointer one pixel, ten with Shift, kept on the overlay: its new
    // place in window coordinates, or none for any other key.
    std::optional<POINT> StepCursor(unsigned key, bool shift);

  private:
    void FormPaint(HDC dc, const RECT& area);

    TPicture screenImage_;
    int modalResult_ = mrNone;
};
