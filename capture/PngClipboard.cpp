#include "capture/PngClipboard.h"

#include "capture/Picture.h"
#include "capture/PngFile.h"
#include "win/Clipboard.h"

namespace {
// At exit another program may hold the clipboard for a moment (clipboard history and clipboard
// managers open it after every change): the offer would be lost with a single try. About every
// 20 ms for up to about 2 s; the program is ending, so waiting here holds up nothing else. The
// holder may be asking us for one of these very formats meanwhile: its request is answered while
// we wait, or both would wait until the offers are lost.
bool OpenClipboardAtExit(HWND owner) {
    constexpr int Attempts = 100;
    constexpr DWORD PauseMs = 20;
    for (int attempt = 1; !OpenClipboard(owner); ++attempt) {
        if (attempt == Attempts) return false;
        win::WaitAnsweringSent(PauseMs);
    }
    return true;
}
}  // namespace

TPngClipboard::TPngClipboard() : format_(RegisterClipboardFormatW(L"PNG")) {
    RegisterClass(L"TPngClipboard");
    Create(0, L"TPngClipboard", L"", 0, 0, 0, 0, 0, HWND_MESSAGE);
}

TPngClipboard::~TPngClipboard() {
    // While this object can still answer: the base class would detach it before destroying.
    if (Handle()) DestroyWindow(Handle());
}

void TPngClipboard::Copy(const SharedBitmap& bitmap, HPALETTE palette) {
    // The clipboard takes a bitmap of its own; the PNG is made from the shared pixels.
    gdi::Bitmap onClipboard = CopyBitmap(HandleOf(bitmap));
    if (!onClipboard) return;
    gdi::Palette paletteOnClipboard = CopyPalette(palette);
    gdi::Palette keptPalette = CopyPalette(palette);
    win::Clipboard clipboard(Handle());
    clipboard.Empty();  // our previous offers end here (WM_DESTROYCLIPBOARD)
    bitmap_ = bitmap;
    palette_ = std::move(keptPalette);
    // The system would make the device-independent form of a 32-bit screen's bitmap with a zero
    // fourth byte, which programs that honour alpha paste as transparent: 24-bit pixels of our
    // own are offered beside it, first, so the system makes none from the bitmap.
    clipboard.Offer(CF_DIB);
    clipboard.SetBitmap(std::move(onClipboard));
    if (paletteOnClipboard) clipboard.SetPalette(std::move(paletteOnClipboard));
    if (format_) clipboard.Offer(format_);
}

void TPngClipboard::Render(UINT format) {
    if (!bitmap_ || (format != CF_DIB && format != format_)) return;
    // Asked by another program through the platform: a failure leaves the format without data
    // (the asker gets none) rather than a message box in the middle of its paste.
    try {
        if (format == CF_DIB)
            win::PutClipboardMemory(CF_DIB, PackedDib24(bitmap_->Get(), palette_.Get()));
        else
            win::PutClipboardBytes(format_, EncodePngFile(bitmap_->Get(), palette_.Get()));
    } catch (...) {
    }
}

LRESULT TPngClipboard::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_RENDERFORMAT:
            Render(static_cast<UINT>(wp));
            return 0;
        case WM_RENDERALLFORMATS:
            if (bitmap_ && OpenClipboardAtExit(Handle())) {
                if (GetClipboardOwner() == Handle()) {
                    Render(CF_DIB);
                    Render(format_);
                }
                CloseClipboard();
            }
            return 0;
        case WM_DESTROYCLIPBOARD:
            bitmap_.reset();
            palette_.Reset();
            return 0;
    }
    return Window::HandleMessage(msg, wp, lp);
}
