#pragma once
// The screen capture engine: copies the desktop, the active window, a picked window or a chosen
// rectangle of the screen into a new image. Around each capture it can minimise the whole
// application, so its own windows are not in the picture, and put the image on the clipboard.
#include <functional>
#include <memory>
#include <string>

#include "capture/Picture.h"
#include "capture/PngClipboard.h"

class TScreenOverlay;

class TOskScreenCapture {
  public:
    using TNotifyEvent = std::function<void(TOskScreenCapture* sender)>;

    TOskScreenCapture() = default;
    TOskScreenCapture(const TOskScreenCapture&) = delete;
    TOskScreenCapture& operator=(const TOskScreenCapture&) = delete;

    // Properties; they take effect at the next capture.
    bool Auto = true;        // put every captured image on the clipboard too
    int Delay = 500;         // milliseconds to wait before the screen is read
    bool Minimize = true;    // minimise the application around the capture
    TNotifyEvent OnCapture;  // after each successful capture, with this engine as sender

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

    // True while an operation runs (its overlay's modal loop still dispatches messages).
    bool Capturing() const { return capturing_; }
    // Ends the overlay that is open, if any, as dismissed: the operation then unwinds as for a
    // dismissal, restoring the application and returning no image.
    void Cancel();

  private:
    // The common steps round one operation; take() fills the working image and returns false
    // when the user dismissed the overlay.
    std::unique_ptr<TPicture> Run(const std::function<bool()>& take);
    void Pause() const;
    void TakeDesktop();
    // Fills the working image with what the screen shows over the area.
    void TakeScreenArea(const RECT& area);
    bool TakeObject();
    bool TakeSelection(bool fixedSize, int width, int height);

    TPicture image_;  // the working image
    std::unique_ptr<TPngClipboard> clipboard_;
    bool capturing_ = false;
    TScreenOverlay* overlay_ = nullptr;  // the overlay of the running operation while it shows
};
