#pragma once
// The window a hint is shown in, and the application's hint settings: every hint shows in a
// window of their current hint window class, painted in their hint colour. This plain rectangle
// is the class in force until a component (the balloon hints) installs another and later puts it
// back.
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "access/Contrast.h"
#include "win/Gdi.h"
#include "win/Window.h"

namespace hints {

class ApplicationHints;

class THintWindow : public win::PaintedWindow {
  public:
    // The window paints in the settings' hint colour as it is at each paint; they outlive it.
    explicit THintWindow(const ApplicationHints& settings) : settings_(settings) {}

    // The rectangle the text needs, near the origin; the hint mechanism then moves it by the
    // hint point. maxWidth limits the text's width (it wraps at word breaks).
    virtual RECT CalcHintRect(int maxWidth, const std::wstring& text);
    // Shows the text at the rectangle (screen coordinates) without activating anything; the
    // window text becomes the hint, so tools can read it.
    virtual void ActivateHint(RECT rect, const std::wstring& text);
    void ReleaseHint();  // hides the window
    // The DPI of the monitor the hint shows on: its font and margins are scaled for it.
    void SetDpi(int dpi);
    int Dpi() const { return dpi_; }
    // The monitor the hint belongs to (its control's): the hint keeps inside its work area. Until
    // one is set, the monitor nearest the hint counts.
    void SetMonitor(HMONITOR monitor) { monitor_ = monitor; }
    bool Showing() const;
    const std::wstring& Text() const { return text_; }

  protected:
    virtual const wchar_t* ClassName() const { return L"THintWindow"; }
    virtual UINT ClassStyle() const { return 0; }
    void Paint(HDC dc) override;

    void EnsureCreated();
    // The platform's hint font (the status font of the non-client metrics) at the hint's DPI.
    HFONT HintFont();
    // The text's size when drawn with `format` within maxWidth.
    SIZE MeasureText(const std::wstring& text, int maxWidth, UINT format);
    void ShowAt(const RECT& rect, const std::wstring& text);
    // The bounds and the work area of the hint's monitor for a hint at `rect`.
    bool MonitorAreas(const RECT& rect, RECT& bounds, RECT& work) const;

    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

    const ApplicationHints& Settings() const { return settings_; }

    std::wstring text_;

  private:
    const ApplicationHints& settings_;
    gdi::Font font_;
    int dpi_ = 96;
    HMONITOR monitor_ = nullptr;
};

// Makes a hint window of a class, painting in the colour of the settings it is given.
using HintWindowClass = std::function<std::unique_ptr<THintWindow>(const ApplicationHints&)>;

// The application's hint settings: the hint window class and the hint colour. The main window
// holds the one set and hands it to the components that show hints or change them; UI thread
// only, like every window.
class ApplicationHints {
  public:
    ApplicationHints();
    ApplicationHints(const ApplicationHints&) = delete;
    ApplicationHints& operator=(const ApplicationHints&) = delete;

    // A new window of the current hint window class.
    std::unique_ptr<THintWindow> MakeHintWindow() const;
    // Installs a hint window class and returns the one that was in force.
    HintWindowClass SetHintWindowClass(HintWindowClass windowClass);
    // Counts the changes of the class, so a hint mechanism can tell that its window is outdated.
    unsigned HintWindowClassGeneration() const { return generation_; }

    // The background of hint windows: the colour chosen, or else the system's tooltip colour as
    // it is now, so that hints follow a change of the system's colours.
    COLORREF HintColor() const;
    void SetHintColor(COLORREF color) { chosen_ = color; }
    // The choice itself, none for the system's colour (what a link puts back when the mouse
    // leaves it).
    std::optional<COLORREF> HintColorChoice() const { return chosen_; }
    void ChooseHintColor(std::optional<COLORREF> color) { chosen_ = color; }
    // In High Contrast hints take the system's colours, whatever colour was chosen.
    void SetHighContrast(bool on) { highContrast_ = on; }
    // The colours a hint is painted with now.
    a11y::HintColors Colors() const;

  private:
    HintWindowClass windowClass_;
    unsigned generation_ = 0;
    std::optional<COLORREF> chosen_;
    bool highContrast_ = false;
};

}  // namespace hints
