#pragma once
// The clipboard, opened for the life of the object and always closed again.
#include <cstdint>
#include <string>
#include <vector>

#include "win/Gdi.h"
#include "win/Platform.h"

namespace win {

// Waits up to ms while answering the messages other threads send to this one (posted ones wait):
// the holder of the clipboard may be waiting for one of our windows to render an offered format.
void WaitAnsweringSent(DWORD ms);

class Clipboard {
  public:
    // Throws win::Error("Cannot open clipboard") when another program holds it for longer than
    // about a second.
    explicit Clipboard(HWND owner);
    ~Clipboard();
    Clipboard(const Clipboard&) = delete;
    Clipboard& operator=(const Clipboard&) = delete;

    void Empty();
    // Places text as CF_TEXT (ANSI, with its NUL) and as CF_UNICODETEXT.
    void SetText(const std::wstring& text);
    // Hands movable memory holding a format's data to the clipboard.
    void SetData(UINT format, GlobalMemory data);
    // Hands a bitmap (and palette) to the clipboard, which owns it once it has taken it; when it
    // refuses, the owner given here deletes it.
    void SetBitmap(gdi::Bitmap bitmap);
    void SetPalette(gdi::Palette palette);
    // Offers a format without its data: the owner window renders it when a program asks for it
    // (WM_RENDERFORMAT), or when it is destroyed while still owning the clipboard
    // (WM_RENDERALLFORMATS).
    void Offer(UINT format);
};

// Places bytes for a format on the clipboard that is already open: the owner's answer to
// WM_RENDERFORMAT, or inside its own session.
void PutClipboardBytes(UINT format, const std::vector<std::uint8_t>& bytes);
void PutClipboardMemory(UINT format, GlobalMemory data);

}  // namespace win
