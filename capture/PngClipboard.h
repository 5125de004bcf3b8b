#pragma once
// Puts a captured image on the clipboard: the bitmap (CF_BITMAP, and CF_PALETTE when it carries
// one), its 24-bit device-independent form (CF_DIB) and the registered format "PNG" that
// browsers, chat and office programs paste. The last two are rendered only when a program asks
// for them, so a capture never waits for the encoder and holds no copy of the pixels for them;
// the hidden window here is the clipboard owner the platform asks.
#include "capture/Picture.h"
#include "win/Gdi.h"
#include "win/Window.h"

class TPngClipboard : public win::Window {
  public:
    TPngClipboard();
    // Renders the PNG first if the clipboard still waits for it, so it outlives the program.
    ~TPngClipboard() override;

    // Replaces the clipboard's contents with the image: a copy of it as the bitmap, and the
    // offers of the 24-bit form and the PNG, made from the shared pixels when asked. An empty image
    // puts nothing and leaves the clipboard as it is. Throws win::Error.
    void Copy(const SharedBitmap& bitmap, HPALETTE palette);

  protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

  private:
    void Render(UINT format);

    UINT format_;
    // The image the offers are made from, kept while the clipboard holds them.
    SharedBitmap bitmap_;
    gdi::Palette palette_;
};
