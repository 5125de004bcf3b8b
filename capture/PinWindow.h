#pragma once
// Captures pinned on top of everything (class "TPinForm"): topmost windows showing a captured
// image where it was taken, in a thin frame that tells them from the screen beneath (in the
// highlight colour while the pin is active). Each is a window of the user's own, listed by the
// task switcher (Alt+Tab) and the taskbar under its name ("Pinned capture 1, 200 x 150 pixels,
// 100%"), so the keyboard and a screen reader reach it as any other; once there, Tab and
// Shift+Tab go on to the next and the previous pin. Dragged with the mouse or moved by the arrow
// keys (Shift: 10 pixels), zoomed with the wheel or the keypad keys (25 to 800 percent, and never
// beyond its monitor's work area), closed by Esc or a double-click; the right-click menu (or the
// menu key) copies, saves, closes one or all. The board owns every pin; none outlives it.
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "capture/Picture.h"
#include "win/Window.h"

class TPinForm;

class TPinBoard : public win::Window {
  public:
    // What the menu's Copy and Save do with a pin's picture (the main window's clipboard writer
    // and one-key save); the mode word is the capture's, for the file name.
    struct Actions {
        std::function<void(const SharedBitmap&, HPALETTE)> Copy;
        std::function<void(HBITMAP, HPALETTE, const std::wstring& mode)> Save;
    };

    explicit TPinBoard(Actions actions);
    ~TPinBoard() override;

    // Opens a pin of the picture with its top-left pixel at `at` (screen pixels), owned by owner
    // (the application window: a capture takes pins off the screen with the rest).
    void Open(HWND owner, SharedBitmap bitmap, HPALETTE palette, POINT at, std::wstring mode);
    void CloseAll();
    std::size_t Count() const;
    // The pin of that window, or null.
    TPinForm* Find(HWND window) const;

    // For the pins: a pin asks to be closed; it goes once its own message has been handled.
    void RequestClose(TPinForm* pin);
    void RequestCloseAll();
    // Activates the pin opened after `from` (before it, going back), round the end.
    void ActivateNext(const TPinForm* from, bool back);
    const Actions& PinActions() const { return actions_; }

  protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

  private:
    void Prune();
    Actions actions_;
    std::vector<std::unique_ptr<TPinForm>> pins_;
    int opened_ = 0;  // pins opened, which numbers them in their names
};

class TPinForm : public win::PaintedWindow {
  public:
    TPinForm(TPinBoard& board, HWND owner, SharedBitmap bitmap, HPALETTE palette, POINT at,
             std::wstring mode, int number);
    ~TPinForm() override;
    // One zoom step in or out, keeping the top-left corner where it is.
    void Zoom(bool in);
    int ZoomPercent() const { return zoom_; }
    bool Closing() const { return closing_; }
    void Close();

  protected:
    void Paint(HDC dc) override;
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

  private:
    void ShowMenu(POINT screen);
    // Sizes the window for the zoom with its top-left corner at `at`, moved onto its monitor's
    // work area where it would run off it, and names it.
    void Place(POINT at);
    // The zoom nearest to `percent` at which the pin fits its monitor's work area.
    int Fitting(int percent) const;
    RECT WorkArea() const;

    TPinBoard& board_;
    SharedBitmap bitmap_;
    gdi::Palette palette_;
    std::wstring mode_;
    SIZE size_{};
    int number_;
    int frame_ = 0;  // the frame's width on each side, in pixels
    int zoom_ = 100;
    bool closing_ = false;
    std::optional<POINT> grab_;  // where the drag took the window, from its top-left corner
};
