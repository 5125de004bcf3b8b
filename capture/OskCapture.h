#pragma once
// The screen capture engine: copies the desktop, the active window, a picked window or a chosen
// rectangle of the screen into a new image. Around each capture it can minimise the whole
// application, so its own windows are not in the picture, and put the image on the clipboard.
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "capture/CursorImageWin32.h"
#include "capture/Picture.h"
#include "capture/PngClipboard.h"

class TScreenOverlay;
class TCountdownForm;

class TOskScreenCapture {
  public:
    using TNotifyEvent = std::function<void(TOskScreenCapture* sender)>;

    TOskScreenCapture() = default;
    TOskScreenCapture(const TOskScreenCapture&) = delete;
    TOskScreenCapture& operator=(const TOskScreenCapture&) = delete;

    // Properties; they take effect at the next capture.
    bool Auto = true;  // put every captured image on the clipboard too
    // The most the engine waits, in milliseconds, for the screen to stop showing the program's
    // windows before it reads it (it reads as soon as they are gone); 0 reads at once.
    int Delay = 500;
    bool Minimize = true;    // minimise the application around the capture
    TNotifyEvent OnCapture;  // after each successful capture, with this engine as sender
    // The desktop, active-window and selection captures show the pointer as it was when the
    // operation began, in its shape, at its place.
    bool IncludeCursor = false;
    // Seconds (0 to 10) counted down beside the pointer, after the application has left the
    // screen and before the screen is read, for a menu or tooltip to be opened meanwhile.
    int StartDelay = 0;
    // The free selection offers the last rectangle taken (screen pixels) again and shows the size
    // of the rectangle drawn. LastRegion follows every free selection taken, offered or not.
    bool OfferLastRegion = false;
    std::optional<RECT> LastRegion;

    // Always the constant text; writing is accepted and ignored.
    std::wstring Version() const { return L"TOskScreenCapture v1.0"; }
    void SetVersion(const std::wstring&) {}

    // Each returns a new image that the caller owns, or nullptr when the overlay was dismissed.
    // A failure (win::Error) passes on after the device context is released and the application
    // restored.
    std::unique_ptr<TPicture> CaptureDesktop();
    std::unique_ptr<TPicture> CaptureActiveWindow();
    std::unique_ptr<TPicture> CaptureObject();
    std::unique_ptr<TPicture> CaptureSelection();
    std::unique_ptr<TPicture> CaptureSizedSelection(int width, int height);

    // Puts the working image on the clipboard (CF_DIB, CF_BITMAP, and CF_PALETTE when it has one;
    // "PNG" rendered on demand). An empty image has nothing to put, and the clipboard keeps its
    // contents.
    void CopyToClipboard();
    // The clipboard writer of every captured image, this engine's and the capture view's.
    TPngClipboard& ImageClipboard();

    // Runs work() with the screen cleared for it as for a capture, taking no image: the
    // application minimised round it when Minimize is set (and it is not minimised already), and
    // restored after whatever way work() ends, the foreground going back to the window the user
    // was in. Capturing() holds meanwhile, so Cancel() and every guard of a running capture
    // apply.
    void RunAside(const std::function<void()>& work);
    // Shows an overlay made inside RunAside until it ends, and returns its result; Cancel()
    // dismisses it meanwhile.
    int ShowOverlay(TScreenOverlay& overlay);

    // Reads the pointer now, for the next operation to show when IncludeCursor is set; without
    // this, the operation reads it as it begins.
    void NotePointer();

    // True while an operation runs (its overlay's modal loop still dispatches messages).
    bool Capturing() const { return capturing_; }
    // Where the last image's top-left pixel was on the screen (none when it was dismissed).
    std::optional<POINT> LastOrigin() const { return origin_; }

    // True while the countdown of StartDelay runs.
    bool CountingDown() const { return countdown_ != nullptr; }
    // Whether the user backed out of the last operation (Esc in its countdown or overlay, the
    // capture key during the countdown): it took nothing and left the clipboard alone, and the
    // foreground went back to the window the user was in.
    bool Cancelled() const { return cancelled_; }
    // Ends the countdown or the overlay that is open, if any, as dismissed: the operation then
    // unwinds as for a dismissal, restoring the application and returning no image.
    void Cancel();

  private:
    // The common steps round one operation; take() fills the working image and returns false
    // when the user dismissed the overlay.
    std::unique_ptr<TPicture> Run(const std::function<bool()>& take);
    void Settle(const std::vector<RECT>& vacated) const;
    void TakeDesktop();
    // Fills the working image with what the screen shows over the area.
    void TakeScreenArea(const RECT& area);
    bool TakeObject();
    bool TakeSelection(bool fixedSize, int width, int height);
    // Shows the overlay until it ends; true when the user chose (mrOk). Notes a backing out.
    bool Shown(TScreenOverlay& overlay);

    TPicture image_;  // the working image
    // Where the working image's top-left pixel was on the screen.
    std::optional<POINT> origin_;
    bool showsPointer_ = false;           // the operation is one that shows the pointer
    std::optional<TCursorShot> pointer_;  // noted for the next operation
    std::unique_ptr<TPngClipboard> clipboard_;
    bool capturing_ = false;
    TScreenOverlay* overlay_ = nullptr;    // the overlay of the running operation while it shows
    TCountdownForm* countdown_ = nullptr;  // the countdown while it runs
    bool cancelled_ = false;
};
