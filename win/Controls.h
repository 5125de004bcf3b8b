#pragma once
// Thin helpers over the platform's standard controls: panels that pass their children's
// notifications up to the top-level window, radio groups, sliders and labels.
#include <cstdint>
#include <string>
#include <vector>

#include "win/Window.h"

namespace win {

// A plain child container (class "TPanel"). It forwards WM_COMMAND, WM_NOTIFY and the slider
// scroll messages to its top-level window, so every control notification reaches the main window
// whatever panel or page the control sits on.
class Panel : public Window {
  public:
    void Create(HWND parent, int id, int x, int y, int w, int h, DWORD extraStyle = 0);

  protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
};

// A line of text that changes many times a second (a readout of the sampled colour): drawn by
// itself, left-aligned and clipped, on the button face like a label. Its device context is its
// own and keeps the font, so a new text is drawn at once with nothing set up again. The text is
// its own: the platform does not store it, so other programs read it with WM_GETTEXT (the way
// the platform documents for another program's control), and GetWindowText works within ours.
// Like a label it lets the mouse through to its parent. A screen reader finds it as static text
// named by its text.
class Readout : public PaintedWindow {
  public:
    // Creates it at `bounds` the first time, moves it there with the font every later time.
    void Place(HWND parent, int id, const wchar_t* text, const RECT& bounds, HFONT font);
    // The colours of its text and background; until set, the system's window text on the button
    // face. Repaints when they change.
    void SetColors(COLORREF text, COLORREF back);

  protected:
    void Paint(HDC dc) override;
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

  private:
    void SetFont(HFONT font);
    std::wstring text_;
    HFONT font_ = nullptr;
    bool ownColors_ = false;
    COLORREF textColor_ = 0, backColor_ = 0;
};

// Creates a standard child control; throws win::Error on failure. The control gets the font.
HWND CreateControl(const wchar_t* className, const wchar_t* text, DWORD style, int x, int y, int w,
                   int h, HWND parent, int id, HFONT font, DWORD exStyle = 0);
HWND CreateLabel(HWND parent, int id, const wchar_t* text, int x, int y, int w, int h, HFONT font,
                 DWORD extraStyle = 0);

// A group box whose inside is painted by its parent, though the parent clips its children.
HWND CreateGroupBox(HWND parent, int id, const wchar_t* caption, int x, int y, int w, int h,
                    HFONT font, DWORD extraStyle = 0);

// Layout that runs again whenever the window's DPI changes: the first time the control is created
// at `bounds`, every later time it is moved there and given the font, keeping its text and state.
void Place(HWND control, const RECT& bounds, HFONT font = nullptr);
void PlaceControl(HWND& control, const wchar_t* className, const wchar_t* text, DWORD style,
                  const RECT& bounds, HWND parent, int id, HFONT font, DWORD exStyle = 0);
void PlaceLabel(HWND& control, HWND parent, int id, const wchar_t* text, const RECT& bounds,
                HFONT font, DWORD extraStyle = 0);
void PlaceGroupBox(HWND& control, HWND parent, int id, const wchar_t* caption, const RECT& bounds,
                   HFONT font, DWORD extraStyle = 0);

void SetText(HWND hwnd, const std::wstring& text);
// WM_GETTEXT of a window that keeps its own text: copies it into the buffer, cut to its size.
LRESULT AnswerGetText(const std::wstring& text, WPARAM wp, LPARAM lp);
// Sets the text only when it differs, so a steady tick causes no repainting.
void SetTextIfChanged(HWND hwnd, const std::wstring& text);
std::wstring GetText(HWND hwnd);

// Widens and heightens a control placed at its design bounds to the room its text needs (each
// line of it on one line, a check box's or radio button's box beside it), keeping its top-left
// corner; it never shrinks. The font need not grow with the DPI exactly as the
// bounds do (its height is rounded on its own), so text that filled its bounds at the design DPI
// may need a few pixels more at another. Returns how many pixels wider the control became, for
// the controls right of it to move along.
int FitText(HWND control, int dpi);

// Whether the window itself is set visible (its parents may still be hidden).
bool IsShown(HWND hwnd);
// Shows or hides a window only when its own visibility differs.
void SetVisible(HWND hwnd, bool visible);

// Finds a descendant by control ID (the controls sit on nested panels).
HWND FindControl(HWND root, int id);

// Outer size of a window; SetOuterSize does nothing when it already has that size.
SIZE OuterSize(HWND hwnd);
void SetOuterSize(HWND hwnd, int w, int h);

// A radio group: a group box with one radio button per item, laid out in columns.
class RadioGroup {
  public:
    // Creates the group the first time and lays it out at `bounds` every time, its inner margins
    // and button height scaled for the DPI.
    void Place(HWND parent, int id, int firstItemId, const wchar_t* caption,
               const std::vector<std::wstring>& items, int columns, const RECT& bounds, HFONT font,
               int dpi);
    HWND Box() const { return box_; }
    int ItemIndex() const;
    // Clamps to -1..count-1 as the control's own rule; returns true when the index changed.
    bool SetItemIndex(int index);
    int Count() const { return static_cast<int>(buttons_.size()); }
    std::wstring ItemText(int index) const;
    bool Owns(int controlId) const;
    // For a click on one of its buttons: true when the selection changed.
    bool HandleClick(int controlId);
    // An arrow key on one of its buttons, as in a dialog: Down and Right move the focus and the
    // choice to the next button that can take them, Up and Left to the one before, round from the
    // last to the first and back. The choice reaches the parent as a click would. True when the
    // key was the group's.
    bool ArrowKey(HWND focus, unsigned key);
    void SetEnabled(bool enabled);
    bool Enabled() const;
    const std::vector<HWND>& Buttons() const { return buttons_; }

  private:
    void LayOut(const RECT& bounds, HFONT font, int dpi);
    void MarkTabStop();

    HWND box_ = nullptr;
    std::vector<HWND> buttons_;
    int columns_ = 1;
    int firstId_ = 0;
    int index_ = -1;
};

// Slider (msctls_trackbar32) helpers.
int TrackPosition(HWND track);
// Clamps to the slider's range; returns true when the position changed.
bool SetTrackPosition(HWND track, int pos);
int TrackMin(HWND track);
int TrackMax(HWND track);

// Hotkey edit (msctls_hotkey32) value as a 16-bit shortcut word: the key in the low byte, the
// control's Shift/Ctrl/Alt flags moved to 0x2000/0x4000/0x8000; the extended-key flag is dropped.
std::uint16_t HotKeyValue(HWND edit);
void SetHotKeyValue(HWND edit, std::uint16_t shortcut);

bool IsChecked(HWND button);
// Returns true when the state changed.
bool SetChecked(HWND button, bool checked);

}  // namespace win
