#include "access/UiaAnnouncer.h"

#include <oleauto.h>
#include <unknwn.h>

#include <utility>

namespace a11y {

namespace {
// NotificationKind and NotificationProcessing of uiautomationcore.h, which the MinGW headers
// lack. A copy is an action completed; a newer copy makes an announcement not yet read out
// worthless, so only the most recent is kept, though it may interrupt.
constexpr int NotificationKindActionCompleted = 2;
constexpr int NotificationProcessingImportantMostRecent = 1;
// Not localised: tells listeners which kind of announcement this is.
constexpr wchar_t ActivityId[] = L"Tintsnatch4.Copied";

// A BSTR owned for one call.
class Bstr {
  public:
    explicit Bstr(const std::wstring& s)
        : b_(SysAllocStringLen(s.c_str(), static_cast<UINT>(s.size()))) {}
    ~Bstr() { SysFreeString(b_); }
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;
    BSTR Get() const { return b_; }

  private:
    BSTR b_;
};
}  // namespace

UiaAnnouncer::UiaAnnouncer(std::function<HWND()> source, const wchar_t* library)
    : source_(std::move(source)), library_(library ? library : L"") {}

UiaAnnouncer::~UiaAnnouncer() {
    if (module_) FreeLibrary(module_);
}

bool UiaAnnouncer::Available() {
    if (!tried_) {
        tried_ = true;
        // From the system folder only: a DLL of that name beside the program is not loaded.
        module_ = LoadLibraryExW(library_.c_str(), nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
        if (module_) {
            hostProvider_ = reinterpret_cast<HostProvider>(
                reinterpret_cast<void*>(GetProcAddress(module_, "UiaHostProviderFromHwnd")));
            raise_ = reinterpret_cast<RaiseNotification>(
                reinterpret_cast<void*>(GetProcAddress(module_, "UiaRaiseNotificationEvent")));
            if (!hostProvider_ || !raise_) {
                FreeLibrary(module_);
                module_ = nullptr;
                hostProvider_ = nullptr;
                raise_ = nullptr;
            }
        }
    }
    return module_ != nullptr;
}

void UiaAnnouncer::Announce(const std::wstring& text) {
    if (text.empty() || !Available()) return;
    HWND from = source_ ? source_() : nullptr;
    if (!from) return;
    void* provider = nullptr;
    if (FAILED(hostProvider_(from, &provider)) || !provider) return;
    Bstr display(text), activity(ActivityId);
    // Whether anyone listens is not ours to know: the result says nothing the user could act on.
    (void)raise_(provider, NotificationKindActionCompleted,
                 NotificationProcessingImportantMostRecent, display.Get(), activity.Get());
    static_cast<IUnknown*>(provider)->Release();
}

}  // namespace a11y
