#pragma once
// A window of ours as UI Automation sees it, so that it can speak. The platform raises a
// notification only from a provider that the program made itself and serves from the window's
// WM_GETOBJECT: the host provider that UiaHostProviderFromHwnd hands out may not raise events.
// The provider adds the window's control type and its Window pattern (a pop-up window that
// raises notifications must offer it) to what the platform knows of any window.
#include <memory>
#include <string>

#include "win/Platform.h"

struct IRawElementProviderSimple;

namespace a11y {

class WindowProvider;

// How a notification is to be taken: what a copy did is said whole; what the pointer rests on
// gives way to a newer one.
enum class Tell { Copied, AtRest };

// The calls of uiautomationcore.dll a window's provider makes, replaceable so that a test sees
// them.
class UiaPlatform {
  public:
    virtual ~UiaPlatform() = default;
    // Whether a provider can be served at all (UiaHostProviderFromHwnd and
    // UiaReturnRawElementProvider are there).
    virtual bool CanServe() = 0;
    virtual HRESULT HostProvider(HWND window, IRawElementProviderSimple** host) = 0;
    virtual LRESULT ReturnProvider(HWND window, WPARAM wp, LPARAM lp,
                                   IRawElementProviderSimple* provider) = 0;
    // UiaRaiseNotificationEvent; false where the system has none (before Windows 10 1709).
    virtual bool RaiseNotification(IRawElementProviderSimple* provider, const std::wstring& text,
                                   Tell tell) = 0;
    // UiaDisconnectProvider, where the system has it.
    virtual void Disconnect(IRawElementProviderSimple* provider) = 0;
};

// The system's calls, looked up in `library` at their first use, from the system folder only;
// where the library or a call is missing, what needs it does nothing.
std::shared_ptr<UiaPlatform> SystemUia(const wchar_t* library = L"uiautomationcore.dll");

class UiaWindow {
  public:
    // Serves the provider from `window`'s WM_GETOBJECT (through a subclass) until the window is
    // destroyed or this object goes, and then disconnects it.
    UiaWindow(HWND window, std::shared_ptr<UiaPlatform> platform);
    ~UiaWindow();
    UiaWindow(const UiaWindow&) = delete;
    UiaWindow& operator=(const UiaWindow&) = delete;

    // Null once the window is destroyed.
    HWND Handle() const { return window_; }
    // Raises the notification from the window's provider; false when nothing was raised.
    bool Say(const std::wstring& text, Tell tell);
    // Says `text` once `restMs` passed without another text: a text not said yet gives way to a
    // newer one, and one still waiting when the window goes is not said at all.
    void SayAtRest(const std::wstring& text, UINT restMs);

  private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id,
                                 DWORD_PTR data);
    // The window goes: nothing more is served, and the provider is disconnected where the
    // platform allows it now (not while another thread waits on a message we handle).
    void Detach(bool final);

    HWND window_;
    std::shared_ptr<UiaPlatform> platform_;
    WindowProvider* provider_;
    std::wstring waiting_;
    // Whether the platform was handed the provider: only then is there anything to disconnect.
    bool handed_ = false;
    bool disconnected_ = false;
};

}  // namespace a11y
