#pragma once
// The object selection overlay (class "TCaptureObjectForm"): over the frozen screen the user
// points with a hand cursor at the window or control to capture; the release of any mouse button
// ends it with mrOk, as Enter or Space does, the arrow keys moving the cursor; Esc ends it with
// mrAbort. It returns nothing else: the engine finds the window under the cursor.
#include "capture/ScreenOverlay.h"

class TCaptureObjectForm : public TScreenOverlay {
  public:
    explicit TCaptureObjectForm(HWND owner);
    ~TCaptureObjectForm() override;

  protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    void OverlayKey(unsigned key, bool shift) override;

  private:
    void LoadHandCursor();
    HCURSOR cursor_ = nullptr;  // a shared resource cursor: not destroyed
};
