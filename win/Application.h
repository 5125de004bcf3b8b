#pragma once
// The application object: a top-level window of zero size that carries the application title and
// owns the taskbar button. The main window is owned by it, so minimising the application takes
// all of its windows off the screen at once; IsIconic on it tells whether the application is
// minimised. Components may hook its messages.
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "win/Handle.h"
#include "win/Window.h"

namespace win {

class TApplication : public Window {
  public:
    // A hook sees the application window's messages before the application handles them; it
    // returns true to consume the message.
    using Hook = std::function<bool(UINT msg, WPARAM wp, LPARAM lp)>;

    void Initialize();
    const std::wstring& Title() const { return title_; }
    void SetTitle(const std::wstring& title);
    const std::wstring& Name() const { return name_; }
    void SetName(const std::wstring& name) { name_ = name; }

    HWND MainWindow() const { return mainWindow_; }
    void SetMainWindow(HWND hwnd) { mainWindow_ = hwnd; }
    HICON Icon() const { return icon_; }
    // Drawn for the system's small-icon size (title bar, tray), or null.
    HICON SmallIcon() const { return smallIcon_.Get(); }

    bool IsMinimized() const;
    // Minimise: hides every visible window of the application and minimises the taskbar button.
    // The windows are taken off the screen, not hidden: a window's own hide logic does not run.
    void Minimize();
    // Restore: brings back exactly the windows Minimize took away and activates the application.
    void Restore();
    // The same, giving the foreground instead to the first of the candidates (ours, or the window
    // of another program the user was in) that shows once the windows are back; with none, as
    // Restore does.
    void RestoreTo(std::initializer_list<HWND> candidates);

    // Brings the application to the foreground, remembering the window outside it that had the
    // foreground until then.
    void BringToFront();
    // What BringToFront remembers, when the foreground is the application's already (a key
    // pressed in a window of ours): the window the user is in is that one.
    void NoteFront();
    // The window outside the application that had the foreground when the application last took
    // it (BringToFront, Minimize): the window the user was working in. Null when there was none
    // or it is gone or hidden since.
    HWND UserWindow() const;
    // The window, ours or another program's, that had the foreground when BringToFront last took
    // it; null once the application has lost the foreground since.
    HWND FrontBefore() const;
    // Whether the window is one of the application's: its own window, or a window it owns,
    // directly or through others (the main window, the overlays, dialogs).
    bool Owns(HWND window) const;

    int AddHook(Hook hook);
    void RemoveHook(int id);

    // Shows the main window and runs the message loop until the main window is destroyed.
    int Run();
    // Runs a nested loop until done() is true or the application quits (modal windows).
    void RunModalLoop(const std::function<bool()>& done);

    // Filter for the loop: keyboard handling of the main window (shortcuts, dialog navigation).
    using MessageFilter = std::function<bool(MSG&)>;
    void SetMessageFilter(MessageFilter filter) { filter_ = std::move(filter); }

    // One round of the loop: handles every waiting message without blocking.
    void ProcessMessages();

  protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

  private:
    void Dispatch(MSG& msg);
    void NoteUserWindow();
    void BringBack(bool activate);

    std::wstring title_;
    std::wstring name_;
    HWND mainWindow_ = nullptr;
    HICON icon_ = nullptr;
    win::Icon smallIcon_;
    std::vector<std::pair<int, Hook>> hooks_;
    int nextHookId_ = 1;
    std::vector<HWND> hiddenByMinimize_;
    HWND userWindow_ = nullptr;
    HWND frontBefore_ = nullptr;
    MessageFilter filter_;
    bool terminated_ = false;
};

TApplication& Application();

}  // namespace win
