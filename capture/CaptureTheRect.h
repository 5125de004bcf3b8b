#pragma once
// The rectangle selection overlay (class "TCaptureRectForm"): over the frozen screen the user
// drags a rectangle (free mode) or moves a frame of fixed size; an animated frame of red and
// white dashes outlines it. Releasing the left button takes the rectangle's pixels into
// SelectionImage and ends the overlay with mrOk. By keyboard: the arrow keys move the cursor (ten
// pixels with Shift), Enter or Space presses there and a second press releases, the arrows in
// between drawing the rectangle as a drag does; a fixed frame is taken at the first press. Esc
// ends it with mrAbort, taking nothing.
#include <optional>
#include <string>

#include "capture/FrameDash.h"
#include "capture/ScreenOverlay.h"
#include "win/Gdi.h"
#include "win/Geometry.h"

class TCaptureRectForm : public TScreenOverlay {
  public:
    explicit TCaptureRectForm(HWND owner);
    ~TCaptureRectForm() override;

    // Set by the engine before showing.
    bool FixedSize = false;
    int FixedWidth = 0, FixedHeight = 0;
    // A rectangle (window coordinates) offered at the start of a free selection: Enter takes it,
    // the arrow keys move it (with Shift ten pixels at a time), a drag replaces it.
    std::optional<frame::Rect> Proposal;
    // Shows the width and height beside the rectangle while it is drawn.
    bool ShowSize = false;

    // Empty until a release over a non-empty area, then the selected pixels.
    TPicture& SelectionImage() { return selectionImage_; }
    const frame::Rect& Selection() const { return rect_; }
    // The area SelectionImage was taken from, in screen pixels, once it was taken.
    const std::optional<frame::Rect>& TakenArea() const { return taken_; }

  protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    void OverlayKey(unsigned key, bool shift) override;
    std::wstring Name() const override;

  private:
    void FormMouseDown(int x, int y);
    void FormMouseMove(bool leftHeld, int x, int y);
    void FormMouseUp(bool left, int x, int y);
    void Timer1Timer();
    void EraseFrame();
    void DrawFrame();
    void TakeSelection(const frame::Rect& area);
    void FormShow();
    // Enter or Space at the cursor: a press, or the release of the rectangle a press started.
    void KeyPress();
    // The offered rectangle's keys while it shows untouched; false for a key it does not take.
    bool ProposalKey(unsigned key, bool shift);
    // The rectangle has changed: the frame and the size beside it are drawn anew.
    void Redraw(const frame::Rect& next);
    void EraseSize();
    void DrawSize();
    geo::Rect Bounds() const;

    TPicture selectionImage_;
    frame::Rect rect_;
    std::optional<frame::Rect> taken_;
    RECT sizeLabel_{};    // where the size shows, empty while it does not
    gdi::Font sizeFont_;  // for the DPI below
    int sizeFontDpi_ = 0;
    bool pressed_ = false;  // a button went down: the rectangle is the user's own now
    bool keyDrag_ = false;  // Enter or Space started a rectangle that the next one ends
    frame::Dashes dashes_;
};
