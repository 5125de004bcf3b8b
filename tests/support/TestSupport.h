#pragma once
// What the Win32 component tests and the end-to-end tests both need: waiting for a state while
// this thread's messages run, a window of known colours to sample, the clipboard, and input as a
// user gives it.
#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "win/Platform.h"

namespace testsupport {

// Runs this thread's messages until done() holds; on timeout the result says what was awaited,
// so ASSERT_TRUE(WaitFor(...)) reports it. Returns as soon as the state is reached, so timeouts
// are generous: a loaded machine is slow, never wrong.
testing::AssertionResult WaitFor(const std::function<bool()>& done, DWORD timeoutMs,
                                 std::string_view what);

// Runs this thread's messages for ms and fails as soon as holds() stops holding: the proof that
// something does NOT happen (no repaint, no move) needs a time, and this is the only wait that
// is a time.
testing::AssertionResult HoldsFor(const std::function<bool()>& holds, DWORD ms,
                                  std::string_view what);

// Runs this thread's messages for ms. Only for a pause the platform itself needs and that no
// state shows (say how in a comment at the call).
void Settle(DWORD ms);

// Runs the messages already queued for this thread, without waiting.
void DispatchPending();

// A window of this process painting known colour blocks: the known pixels for a sampler or a
// capture. Empty bounds cover the whole primary screen; an owner (the application window, say)
// makes the window go and come with it. The constructor returns once the blocks are on screen.
class PatternWindow {
  public:
    struct Block {
        RECT rect;  // in the window's client coordinates
        COLORREF color;
    };
    explicit PatternWindow(std::vector<Block> blocks, COLORREF background = RGB(40, 40, 40),
                           RECT bounds = {}, HWND owner = nullptr);
    PatternWindow(const PatternWindow&) = delete;
    PatternWindow& operator=(const PatternWindow&) = delete;
    ~PatternWindow();
    HWND Handle() const { return hwnd_; }
    // The colour painted at a client point.
    COLORREF ColourAt(POINT client) const;
    // Keys pressed while it had the keyboard, Shift, Ctrl and Alt not counted: what a program in
    // front receives of keys meant for another.
    int KeysDown() const { return keysDown_; }

  private:
    static LRESULT CALLBACK Proc(HWND, UINT, WPARAM, LPARAM);
    HWND hwnd_ = nullptr;
    std::vector<Block> blocks_;
    COLORREF background_;
    bool painted_ = false;
    std::atomic<int> keysDown_{0};  // counted on the window's thread, read on any
};

// Finds a top-level window of a class that belongs to a process (0: any process).
HWND FindTopWindow(const wchar_t* className, DWORD pid = 0);
HWND FindDescendant(HWND root, int id);
std::wstring WindowTextOf(HWND hwnd);
// What a message box says: the texts of its static controls, in order.
std::wstring MessageBoxText(HWND box);

// Input as a user gives it. Each returns once the input is queued; wait for what it causes.
// MoveCursor returns once the cursor is there for every program (false, and a test failure, when
// it cannot be put there).
bool MoveCursor(int x, int y);
// Moves the mouse as a device does (absolute, anywhere on the desk), with an optional button
// flag: unlike MoveCursor it is mouse input, which a program listening to the mouse hears.
void MouseTo(int x, int y, DWORD extra = 0);
void PressKeys(const std::vector<WORD>& keys);  // presses in order, releases in reverse
// Clicks at a point (twice: a double click); like MouseTo, the input carries the point.
void Click(int x, int y, bool right = false, int clicks = 1);

// Opens the clipboard, waiting while another program holds it open; false when it stays held.
bool OpenClipboardWaiting();
// The clipboard's text (CF_UNICODETEXT), or "" when it has none.
std::wstring ClipboardText();
void SetClipboardText(const std::wstring& text);

COLORREF ScreenPixel(int x, int y);

// The pixels of an area of a DC (a window's, the screen's, a memory DC's), read in one go.
struct Pixels {
    int w = 0, h = 0;
    std::vector<COLORREF> data;  // COLORREF order (red lowest), rows top-down
    COLORREF At(int x, int y) const { return data[static_cast<size_t>(y * w + x)]; }
};
Pixels ReadPixels(HDC dc, POINT origin, int w, int h);

// A control's name as a screen reader reads it, through the platform's accessibility layer.
std::wstring AccessibleName(HWND control);
// A control as a screen reader walks it: the object first, then its children (a list's items),
// each with its name, role and state (ROLE_SYSTEM_*, STATE_SYSTEM_*).
struct AccessibleElement {
    std::wstring name;
    long role = 0, state = 0;
};
std::vector<AccessibleElement> AccessibleElements(HWND control);

// System colours of a theme of the test's own (SetSysColors), put back when it goes.
struct SystemColours {
    SystemColours(std::vector<int> which, const std::vector<COLORREF>& colours);
    ~SystemColours() { SetSysColors(static_cast<int>(which.size()), which.data(), before.data()); }
    std::vector<int> which;
    std::vector<COLORREF> before;
};

}  // namespace testsupport
