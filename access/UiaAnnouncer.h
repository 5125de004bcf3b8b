#pragma once
// The announcement through UI Automation's notification event (Windows 10 1709 and later). The
// library is loaded at the first announcement, not at start, and where it or its notification
// call is missing nothing is said and nothing fails.
#include <functional>
#include <string>

#include "access/Announcer.h"
#include "win/Platform.h"

namespace a11y {

class UiaAnnouncer : public Announcer {
  public:
    // `source` gives the window the notification comes from; `library` is the DLL to load (a
    // test names one that is missing, or one without the calls).
    explicit UiaAnnouncer(std::function<HWND()> source,
                          const wchar_t* library = L"uiautomationcore.dll");
    ~UiaAnnouncer() override;
    UiaAnnouncer(const UiaAnnouncer&) = delete;
    UiaAnnouncer& operator=(const UiaAnnouncer&) = delete;

    void Announce(const std::wstring& text) override;
    // Loads the library when not tried yet; false when it or one of its two calls is missing.
    bool Available();

  private:
    using HostProvider = HRESULT(WINAPI*)(HWND, void**);
    using RaiseNotification = HRESULT(WINAPI*)(void*, int, int, wchar_t*, wchar_t*);
    std::function<HWND()> source_;
    std::wstring library_;
    bool tried_ = false;
    HMODULE module_ = nullptr;
    HostProvider hostProvider_ = nullptr;
    RaiseNotification raise_ = nullptr;
};

}  // namespace a11y
