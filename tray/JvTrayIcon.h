#pragma once
// TJvTrayIcon: the application's icon in the notification area. It owns a hidden message window
// (class "TJvTrayIconWindow") that receives the icon's callback messages, pops up its menu on a
// right-click or keyboard selection, reports double-clicks, and hides the application from the
// taskbar when it is minimised. The record decisions live in tray/TrayLogic.
#include <functional>
#include <memory>
#include <string>

#include "tray/TrayLogic.h"
#include "win/Handle.h"
#include "win/Platform.h"
#include "win/Window.h"
// Needs <windows.h> first.
#include <shellapi.h>

namespace win {
class TApplication;
}

enum TTrayVisibility : unsigned {
    tvVisibleTaskBar = 1u << 0,
    tvVisibleTaskList = 1u << 1,
    tvAutoHide = 1u << 2,
};

class TJvTrayIcon {
  public:
    // The platform calls the component makes, replaceable so that tests can watch them.
    struct Shell {
        std::function<BOOL(DWORD message, NOTIFYICONDATAA* record)> notify;
        std::function<HWND()> findTrayWindow;
        std::function<std::uint32_t()> shellVersion;
        // At a log-on start the notification area may not take icons yet, and no
        // "TaskbarCreated" follows when it does: a refused add is tried again this often.
        UINT addRetryMs = 3000;
        static Shell Platform();
    };

    using DblClickEvent =
        std::function<void(tray::TMouseButton button, tray::TShiftState shift, int x, int y)>;

    explicit TJvTrayIcon(win::TApplication& app, Shell shell = Shell::Platform());
    ~TJvTrayIcon();
    TJvTrayIcon(const TJvTrayIcon&) = delete;
    TJvTrayIcon& operator=(const TJvTrayIcon&) = delete;

    bool Active() const { return active_; }
    void SetActive(bool active);

    const std::wstring& Hint() const { return hint_; }
    // Sends nothing to the shell: set before activation, the tip goes with the add; set later,
    // it follows at the next mouse move over the icon.
    void SetHint(const std::wstring& hint);

    // The component keeps its own copy of the icon; null empties it (activation then takes the
    // application's icon).
    void SetIcon(HICON icon);
    HICON Icon() const { return icon_.Get(); }

    HMENU PopupMenu() const { return popupMenu_; }
    void SetPopupMenu(HMENU menu) { popupMenu_ = menu; }

    unsigned Visibility() const { return visibility_; }
    void SetVisibility(unsigned visibility) { visibility_ = visibility; }

    // Brings the application back after an auto-hide: restores it if minimised and shows its
    // taskbar button again.
    void ShowApplication();
    bool ApplicationVisible() const { return applicationVisible_; }

    HWND WindowHandle() const { return window_.Handle(); }
    const NOTIFYICONDATAA& Record() const { return record_; }
    HWND TrayWindowHandle() const { return trayWindow_; }

    DblClickEvent OnDblClick;
    // Runs just before the menu opens, so its owner can bring check marks up to date.
    std::function<void()> OnPopup;
    // The menu item the user chose (its command ID).
    std::function<void(UINT id)> OnMenuCommand;

  private:
    class MessageWindow : public win::Window {
      public:
        explicit MessageWindow(TJvTrayIcon& owner) : owner_(owner) {}
        void Create();

      protected:
        LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

      private:
        TJvTrayIcon& owner_;
    };
    std::uint32_t ShellVersion() const;
    void Activate();
    // True once the shell holds the icon; until then the add is tried again on a timer.
    bool AddToShell();
    void Deactivate();
    void IconChanged();
    void CheckTrayRecreated();
    void ShellRestarted();
    void ApplyFields(const tray::RecordFields& fields);
    void Notify(DWORD message);
    void OnCallback(WPARAM wp, LPARAM lp);
    void RefreshTip();
    // Shows the menu with its top-left corner at p; false when it closed with nothing chosen.
    bool PopupAt(POINT p);
    void KeySelect(POINT p);
    void ReturnFocus();
    bool ApplicationHook(UINT msg, WPARAM wp);
    void HideApplication();

    win::TApplication& app_;
    Shell shell_;
    NOTIFYICONDATAA record_{};
    win::Icon icon_;
    MessageWindow window_{*this};
    HWND trayWindow_ = nullptr;
    // The shell broadcasts it when its tray starts afresh (after a crash or a restart of the
    // shell), with none of the earlier icons in it.
    UINT taskbarCreated_ = 0;
    std::wstring hint_;
    std::wstring lastTip_;
    HMENU popupMenu_ = nullptr;
    unsigned visibility_ = tvVisibleTaskBar | tvVisibleTaskList | tvAutoHide;
    bool active_ = false;
    bool setVersion_ = false;  // NIM_SETVERSION follows a successful add
    bool version4_ = false;    // the shell took version 4: callbacks come in its layout
    tray::KeySelectGate keySelect_{GetDoubleClickTime()};
    std::uint32_t lastEvent_ = 0;  // the notification before, mouse moves aside
    bool applicationVisible_ = true;
    int hookId_ = 0;
    bool inPopup_ = false;
    // Cleared by the destructor: a menu command may end the component while its menu handler
    // is still on the stack.
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};
