#pragma once
// TJvZoom: a child window that shows the screen round the mouse cursor enlarged, with an optional
// crosshair on the cursor. It redraws from its own timer, and only when the cursor has moved.
//
// Properties written before Create() are the design values ("loading"): the timer follows Active
// only once the window exists. A view that cannot be seen does not tick. The last image is kept
// in a memory bitmap, so a repaint from the platform (the view uncovered, the page shown again)
// shows it even while the cursor stands still.
#include <functional>
#include <optional>

#include "win/Gdi.h"
#include "win/Window.h"
#include "zoom/ZoomGeometry.h"

class TJvZoom : public win::Window {
  public:
    static constexpr int DefaultWidth = 100, DefaultHeight = 100;
    static constexpr UINT_PTR RedrawTimer = 1;

    // Obtains the screen device context, held until destruction; throws win::Error without one.
    TJvZoom();
    ~TJvZoom() override;

    // Creates the window; from here on the timer runs exactly while Active is set.
    void Create(HWND parent, int controlId, int x, int y, int width = DefaultWidth,
                int height = DefaultHeight);

    bool Active() const { return active_; }
    // Turning it off keeps the current image as the cached image when CacheOnDeactivate is set;
    // otherwise the view falls back to its background colour.
    void SetActive(bool active);
    // Per cent of the control's size taken from the screen: 100 is 1:1, 50 about doubled. Below 1
    // nothing is drawn. Like the crosshair properties it shows at the next drawing.
    int ZoomLevel() const { return zoomLevel_; }
    void SetZoomLevel(int level) { zoomLevel_ = level; }
    // Timer interval in milliseconds; below 1 the timer does not run.
    int Delay() const { return delay_; }
    void SetDelay(int ms);
    bool Crosshair() const { return crosshair_; }
    void SetCrosshair(bool on) { crosshair_ = on; }
    COLORREF CrosshairColor() const { return crosshairColor_; }
    void SetCrosshairColor(COLORREF color) { crosshairColor_ = color; }
    // In pixels at 96 DPI: the crosshair is drawn scaled for the DPI of the view's monitor.
    int CrosshairSize() const { return crosshairSize_; }
    void SetCrosshairSize(int size) { crosshairSize_ = size; }
    // The side of the block the owner samples round the cursor; above 1 the view outlines it in
    // the crosshair colour. Like the crosshair it shows at the next drawing.
    int SampleSide() const { return sampleSide_; }
    void SetSampleSide(int side) { sampleSide_ = side; }
    // A one-pixel frame round the view in this colour (High Contrast sets one, so the view stands
    // out from any face), or none. Shows at once.
    void SetFrame(std::optional<COLORREF> color);
    bool CacheOnDeactivate() const { return cacheOnDeactivate_; }
    void SetCacheOnDeactivate(bool cache);
    bool HasCachedImage() const { return static_cast<bool>(cache_); }

    // Called after every drawing with the magnifier as sender.
    std::function<void(TJvZoom& sender)> OnContentsChanged;

    // Draws now, even when the cursor has not moved (nothing happens while inactive).
    void Refresh();
    // Given the copy of the screen area a drawing read (1:1), the cursor's place in it and the
    // size of the copy.
    using SourceReader = std::function<void(HDC copy, POINT cursor, SIZE size)>;
    // The owner's tick found the cursor at `cursor`: draws now if it moved since the last
    // drawing, as the timer would, and hands `read` the area that drawing read, so the owner
    // takes the cursor's pixel from the same read instead of reading the screen again. A drawing
    // the timer made there since the owner's last call is handed as well. False, with `read` not
    // called, when nothing new was read there (the cursor still, the view hidden or inactive, the
    // screen unreadable).
    bool DrawFor(POINT cursor, const SourceReader& read);

    // The owner's sampler found the cursor at rest: the timer stops, since a still cursor draws
    // nothing. Leaving the rest restarts it and draws at once if the cursor has moved meanwhile.
    void SetResting(bool resting);
    bool Resting() const { return resting_; }

    // Takes the screen's device context afresh (the session was unlocked or reconnected, the
    // display changed) and draws the cursor's place at the next draw.
    void RenewScreen();

    // The magnifier behind a window handle, or nullptr when it is not one.
    static TJvZoom* FromHandle(HWND hwnd);

  protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    // Every read of the screen: stretches its area `from` over `to` of dc. False when the screen
    // cannot be read (the session locked, switched or disconnected), which a test can play.
    virtual bool ReadScreen(HDC dc, const RECT& to, const RECT& from);

  private:
    void UpdateTimer();
    // The drawing: into the memory image when the cursor (read here unless given) moved; true
    // when it drew.
    bool Draw(std::optional<POINT> at = std::nullopt);
    // Reads the screen area src 1:1 into source_ and stretches it over the whole dc of the given
    // size; false when the screen could not be read.
    bool Magnify(HDC dc, SIZE size, const zoom::Rect& src, POINT cursor);
    // Shows a new drawing when the view can be seen, and tells the owner.
    void ShowDrawn();
    struct Gather;
    static BOOL CALLBACK CopyMonitorPart(HMONITOR, HDC, LPRECT monitor, LPARAM data);
    // Shows the current state in dc: the memory image while active, else the cached image or
    // the background. The one painting path for WM_PAINT, WM_PRINTCLIENT and the timer.
    void Show(HDC dc);
    void ShowImage(HDC dc);  // Show without the frame
    void OnTimer();
    // Draws if the cursor moved (or after Refresh), and shows it when the view can be seen.
    void Redraw();
    void OnSize();
    bool EnsureImage();
    void KeepCache();
    SIZE ClientSize();

    bool active_ = true;
    int zoomLevel_ = 100;
    int delay_ = 100;
    bool crosshair_ = false;
    COLORREF crosshairColor_ = 0;
    int crosshairSize_ = 20;
    int sampleSide_ = 1;
    bool cacheOnDeactivate_ = true;

    // The timer runs while active, not resting and not parked. Parked: the view was found hidden
    // (its page, its panel or the window), so no one could see a redraw; the paint that comes
    // when it shows again restarts the timer.
    bool resting_ = false;
    bool parked_ = false;
    bool timerRunning_ = false;
    int timerDelay_ = 0;

    zoom::Point last_ = zoom::NoPosition;
    // The monitor layout as last asked of the platform, which is slow to answer under some
    // systems: the desk of all monitors, and the monitor that held the last source. Asked again
    // after LayoutLifetime ms, so a changed layout shows within that time, and at once when the
    // view is resized or its DPI changes. With it the DPI of the view's monitor, which sizes the
    // crosshair.
    static constexpr DWORD LayoutLifetime = 500;
    DWORD layoutAskedAt_ = 0;
    bool layoutKnown_ = false;
    zoom::Rect desk_;
    RECT sourceMonitor_{};
    int dpi_ = 0;
    // The client size as the last WM_SIZE left it, so a tick need not ask for it.
    SIZE clientSize_{0, 0};
    bool clientSizeKnown_ = false;
    gdi::WindowDC screen_{nullptr};

    // A memory image selected into its own DC while kept, made again when its size changes.
    // Declared in this order so the selection is undone before the bitmap and the DC go.
    struct Canvas {
        std::optional<gdi::MemoryDC> dc;
        gdi::Bitmap bitmap;
        std::optional<gdi::Selection> selection;
        SIZE size{0, 0};
        HDC Get() const { return dc->Get(); }
        // True when it holds an image of this size, made like `like`'s; `made` tells whether it
        // was made just now.
        bool Ensure(HDC like, SIZE wanted, bool& made);
    };
    // The last image, and the screen area of the last drawing as read, before it was enlarged.
    Canvas image_, source_;
    // source_ holds a read at the cursor position last_ that the owner has not taken yet, with
    // the cursor's place in it.
    bool sourceUntaken_ = false;
    POINT cursorInSource_{0, 0};

    gdi::Bitmap cache_;
    SIZE cacheSize_{0, 0};

    gdi::Pen pen_;
    COLORREF penColor_ = 0;

    std::optional<COLORREF> frame_;
    gdi::Brush frameBrush_;
};
