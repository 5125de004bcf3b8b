#include "capture/CaptureTheObject.h"

TCaptureObjectForm::TCaptureObjectForm(HWND owner)
    : TScreenOverlay(L"TCaptureObjectForm", L"Capture Object", nullptr, owner) {
    LoadHandCursor();
}

TCaptureObjectForm::~TCaptureObjectForm() {
    // Nothing may keep showing the hand once the overlay is gone.
    SetCursor(LoadCursorW(nullptr, IDC_ARROW));
}

void TCaptureObjectForm::LoadHandCursor() {
    cursor_ = LoadCursorW(win::Instance(), L"CURSOR_1");
    if (!cursor_) cursor_ = LoadCursorW(nullptr, IDC_HAND);
}

void TCaptureObjectForm::OverlayKey(unsigned key, bool shift) {
    // By keyboard: the arrows point, Enter or Space picks as a release does, Esc backs out.
    if (key == VK_RETURN || key == VK_SPACE)
        SetModalResult(mrOk);
    else if (key == VK_ESCAPE)
        SetModalResult(mrAbort);
    else
        StepCursor(key, shift);
}

LRESULT TCaptureObjectForm::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_ACTIVATE:
            if (LOWORD(wp) != WA_INACTIVE) {
                LoadHandCursor();
                SetCursor(cursor_);
            }
            break;
        case WM_SETCURSOR:
            if (LOWORD(lp) == HTCLIENT) {
                SetCursor(cursor_);
                return TRUE;
            }
            break;
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
        case WM_MBUTTONUP:
            SetModalResult(mrOk);
            return 0;
    }
    return TScreenOverlay::HandleMessage(msg, wp, lp);
}
