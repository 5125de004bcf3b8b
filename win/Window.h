#pragma once
// Base class of every window we make: a static procedure stores `this` at WM_NCCREATE and
// forwards to HandleMessage; no exception leaves the procedure (it goes to the error report).
#include "win/Platform.h"

namespace win {

// Lifetime: the window goes with the object. By the time ~Window runs, the derived object is
// already gone, so ~Window detaches the object before it destroys a window still alive: no
// message of that destruction (WM_DESTROY, WM_NCDESTROY, OnDestroyed) reaches a derived handler.
// A derived window that must see its own destruction destroys the window in its own destructor,
// or earlier, while it is whole.
class Window {
  public:
    Window() = default;
    virtual ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    HWND Handle() const { return hwnd_; }

    // Registers a window class whose procedure is ours; safe to call more than once.
    static void RegisterClass(const wchar_t* name, UINT style = 0, HCURSOR cursor = nullptr,
                              HBRUSH background = nullptr, HICON icon = nullptr);

  protected:
    // Creates the window; throws win::Error when the platform refuses.
    HWND Create(DWORD exStyle, const wchar_t* className, const wchar_t* title, DWORD style, int x,
                int y, int w, int h, HWND parent, HMENU menuOrId = nullptr);
    virtual LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);
    // Called at WM_NCDESTROY after the handle is gone.
    virtual void OnDestroyed() {}

  private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    HWND hwnd_ = nullptr;
};

// A window that draws itself whole in Paint: one Paint serves WM_PAINT and WM_PRINTCLIENT, so a
// repaint and a print into a memory DC cannot drift apart, and the background is never erased
// on its own (no flicker).
class PaintedWindow : public Window {
  protected:
    virtual void Paint(HDC dc) = 0;
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
};

HINSTANCE Instance();

}  // namespace win
