#pragma once
// The precise pick (class "TPickForm"): over the frozen copy of every monitor, a loupe beside the
// cursor shows the pixels round it enlarged, the colour in the chosen text format and the
// position. The arrow keys move the cursor by one pixel (ten with Shift), the mouse moves it
// too; Enter, Space or a left click picks the pixel under it (mrOk), Esc (mrAbort) or a right
// click cancels. The colour comes from the frozen copy, so what closed when the overlay took the
// focus (a menu, a tooltip) can still be picked; with a block to sample, it is the block's mean,
// and the loupe outlines the block.
#include <functional>
#include <optional>
#include <string>

#include "capture/ScreenOverlay.h"
#include "pick/PickGeometry.h"
#include "zoom/BlockSampler.h"

// How the loupe's magnifier looks: as the main window's magnifier is set.
struct LoupeLook {
    int ZoomLevel = 15;  // per cent of the view taken from the screen
    bool Crosshair = true;
    int CrosshairSize = 30;  // pixels at 96 DPI
    COLORREF CrosshairColor = RGB(0, 0, 0);
    int SampleSide = 1;  // the block sampled round the cursor: 1, 3, 5 or 9 pixels a side
};

class TPickForm : public TScreenOverlay {
  public:
    TPickForm(HWND owner, const LoupeLook& look);
    ~TPickForm() override;

    // The colour as text in the format the user chose, for the pixel at a screen point.
    std::function<std::wstring(COLORREF color, POINT at)> ColorText;
    // The cursor came to rest (half a second without a move, or at once after a key step), with
    // the colour there and the screen point.
    std::function<void(COLORREF color, POINT at)> OnSettle;
    // The user picked (Enter, Space, a left click), with the colour and the screen point: called
    // at once, before the overlay ends.
    std::function<void(COLORREF color, POINT at)> OnPick;

    // The cursor's pixel, in screen coordinates, and its colour (or its block's mean) in the
    // frozen copy: after mrOk, the pixel picked.
    POINT Position() const;
    COLORREF Color() const;

  protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    void OverlayKey(unsigned key, bool shift) override;
    std::wstring Name() const override;

  private:
    void FormMouseMove(int x, int y);
    void Pick();
    // The cursor is at (x, y) in window coordinates: the loupe follows it, its old and new
    // places repainted.
    void Follow(geo::Point at);
    void Settled();
    // The loupe's bounds for the cursor at `at`, sized for the DPI of the monitor it is on.
    geo::Rect LoupeFor(geo::Point at);
    void SetDpi(int dpi);
    void Paint(HDC dc, const RECT& area);
    void DrawLoupe(HDC dc, geo::Point shift);
    COLORREF ColorAt(geo::Point at) const;
    std::wstring TextOf(geo::Point at) const;
    std::wstring PositionText(geo::Point at) const;
    geo::Rect Desk() const;

    LoupeLook look_;
    int dpi_ = 0;          // the DPI the loupe is sized for: its grid and font
    POINT origin_{};       // the desk's top-left corner on the screen
    geo::Point cursor_{};  // window coordinates
    geo::Rect loupe_{};
    pick::Grid grid_;
    gdi::Font font_;
    // The frozen copy, selected into a DC of its own for the overlay's life: every paint and
    // every pixel read takes it from there.
    std::optional<gdi::MemoryDC> frozen_;
    std::optional<gdi::Selection> frozenBitmap_;
    mutable BlockSampler sampler_;  // keeps its small bitmap between reads
};
