#pragma once
// TJvHotLink: a label that opens a link when clicked. It shows the hand cursor, draws its caption
// in its font (blue, underlined), switches to its hot-track font while the mouse is over it, and
// sizes itself to its caption, keeping the edge its alignment names. The window class is
// "TJvHotLink", its window text is the caption and WM_GETFONT answers the font in use.
#include <functional>
#include <optional>
#include <string>

#include "hints/HintWindow.h"
#include "hints/LabelLayout.h"
#include "win/Gdi.h"
#include "win/Window.h"

class TJvHotLink : public win::PaintedWindow {
  public:
    // Opens a link target; false when it could not.
    using Opener = std::function<bool(const std::wstring& target)>;
    // Asks the shell to open the target ("open", normal window) and shows nothing on failure.
    static bool OpenWithShell(const std::wstring& target);

    // settings: the application's hint settings, whose colour the link changes while the mouse
    // is over it (they outlive it).
    explicit TJvHotLink(hints::ApplicationHints& settings, Opener opener = OpenWithShell)
        : settings_(settings), opener_(std::move(opener)) {}

    // Creates the link at (x, y) in its parent, sized to its caption, with its fonts (8 points)
    // at the DPI of the window it is on.
    void Create(HWND parent, int id, int x, int y, const std::wstring& caption,
                const std::wstring& url, hints::Alignment alignment = hints::Alignment::Left,
                int dpi = 96);
    // Lays the link out again at (x, y) for another DPI: new fonts, sized to its caption.
    void Place(int x, int y, int dpi);

    const std::wstring& Url() const { return url_; }
    bool Hot() const { return hot_; }
    bool HotTrack() const { return hotTrack_; }
    void SetHotTrack(bool on) { hotTrack_ = on; }
    // The hint colour the application uses while the mouse is over the link.
    void SetHintColor(COLORREF color) { hintColor_ = color; }
    // The caption's colour (blue, unless the page it lies on asks for another).
    void SetLinkColor(COLORREF color);

    // What a click does: tells the parent (WM_COMMAND, STN_CLICKED), then opens the link.
    void Click();
    // Mouse entering and leaving (the window's mouse messages call them).
    void MouseEnter();
    void MouseLeave();

  protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

  private:
    HFONT CurrentFont() const;
    SIZE TextSize(HFONT font) const;
    void AdjustBounds();
    void MakeFonts(int dpi);
    void Paint(HDC dc) override;

    hints::ApplicationHints& settings_;
    Opener opener_;
    std::wstring caption_, url_;
    hints::Alignment alignment_ = hints::Alignment::Left;
    gdi::Font font_, hotTrackFont_;
    bool hotTrack_ = true;
    bool hot_ = false;
    bool pressed_ = false;
    std::optional<COLORREF> hintColor_;  // none: the system's tooltip colour
    std::optional<COLORREF> savedHintColor_;
    COLORREF linkColor_ = RGB(0, 0, 255);
    hints::Rect normalBounds_;  // in the parent's client coordinates, for the normal font
};
