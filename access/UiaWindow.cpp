#include "access/UiaWindow.h"

#include <oleauto.h>
#include <uiautomationcore.h>

#include <atomic>
#include <utility>

namespace a11y {

namespace {
// Numbers of UIAutomationClient.h and UIAutomationCoreApi.h, named here since the MinGW headers
// lack some of them.
constexpr LONG RootObjectId = -25;                 // UiaRootObjectId
constexpr PROPERTYID ControlTypeProperty = 30003;  // UIA_ControlTypePropertyId
constexpr LONG WindowControlType = 50032;          // UIA_WindowControlTypeId
constexpr PATTERNID WindowPatternId = 10009;       // UIA_WindowPatternId
constexpr HRESULT ElementNotAvailable = static_cast<HRESULT>(0x80040201);  // UIA_E_...
constexpr HRESULT InvalidOperation = static_cast<HRESULT>(0x80131509);     // UIA_E_...
enum VisualState { Normal = 0, Maximized = 1, Minimized = 2 };
enum InteractionState { Closing = 1, ReadyForUserInteraction = 2 };
// NotificationKind and NotificationProcessing. A copy is an action completed, and a newer one
// makes one not yet read out worthless; a colour the pointer rests on is news that gives way to
// the next without pressing in.
constexpr int KindActionCompleted = 2, KindOther = 4;
constexpr int ProcessingImportantMostRecent = 1, ProcessingMostRecent = 3;
// Not localised: tell listeners which kind of announcement this is.
constexpr wchar_t CopiedActivity[] = L"Tintsnatch4.Copied";
constexpr wchar_t RestingActivity[] = L"Tintsnatch4.Resting";
constexpr UINT_PTR RestTimer = 0x55494121;  // clear of the timers of the windows it serves

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

class SystemCalls : public UiaPlatform {
  public:
    explicit SystemCalls(const wchar_t* library) : library_(library ? library : L"") {}

    bool CanServe() override { return Load() && host_ && return_; }
    HRESULT HostProvider(HWND window, IRawElementProviderSimple** host) override {
        return CanServe() ? host_(window, host) : E_NOTIMPL;
    }
    LRESULT ReturnProvider(HWND window, WPARAM wp, LPARAM lp,
                           IRawElementProviderSimple* provider) override {
        return CanServe() ? return_(window, wp, lp, provider) : 0;
    }
    bool RaiseNotification(IRawElementProviderSimple* provider, const std::wstring& text,
                           Tell tell) override {
        if (!Load() || !raise_) return false;
        const bool copied = tell == Tell::Copied;
        Bstr display(text), activity(copied ? CopiedActivity : RestingActivity);
        // Whether anyone listens is not ours to know: the result says nothing the user could act
        // on.
        (void)raise_(provider, copied ? KindActionCompleted : KindOther,
                     copied ? ProcessingImportantMostRecent : ProcessingMostRecent, display.Get(),
                     activity.Get());
        return true;
    }
    void Disconnect(IRawElementProviderSimple* provider) override {
        // Refused only for a provider the platform never took: nothing left to release.
        if (Load() && disconnect_) (void)disconnect_(provider);
    }

  private:
    using HostFn = HRESULT(WINAPI*)(HWND, IRawElementProviderSimple**);
    using ReturnFn = LRESULT(WINAPI*)(HWND, WPARAM, LPARAM, IRawElementProviderSimple*);
    using RaiseFn = HRESULT(WINAPI*)(IRawElementProviderSimple*, int, int, BSTR, BSTR);
    using DisconnectFn = HRESULT(WINAPI*)(IRawElementProviderSimple*);

    template <typename Fn>
    Fn Find(const char* name) {
        return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module_, name)));
    }
    bool Load() {
        if (!tried_) {
            tried_ = true;
            // From the system folder only: a DLL of that name beside the program is not loaded.
            // It stays loaded for the process's life, as the providers it took may outlive us.
            module_ = LoadLibraryExW(library_.c_str(), nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
            if (module_) {
                host_ = Find<HostFn>("UiaHostProviderFromHwnd");
                return_ = Find<ReturnFn>("UiaReturnRawElementProvider");
                raise_ = Find<RaiseFn>("UiaRaiseNotificationEvent");
                disconnect_ = Find<DisconnectFn>("UiaDisconnectProvider");
            }
        }
        return module_ != nullptr;
    }

    std::wstring library_;
    bool tried_ = false;
    HMODULE module_ = nullptr;
    HostFn host_ = nullptr;
    ReturnFn return_ = nullptr;
    RaiseFn raise_ = nullptr;
    DisconnectFn disconnect_ = nullptr;
};
}  // namespace

// The Window control pattern's interface (IWindowProvider of UIAutomationCore.h), which the
// MinGW headers lack; the methods in the order of its table.
struct WindowPatternProvider : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE SetVisualState(int state) = 0;
    virtual HRESULT STDMETHODCALLTYPE Close() = 0;
    virtual HRESULT STDMETHODCALLTYPE WaitForInputIdle(int milliseconds, BOOL* result) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_CanMaximize(BOOL* result) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_CanMinimize(BOOL* result) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_IsModal(BOOL* result) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_WindowVisualState(int* result) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_WindowInteractionState(int* result) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_IsTopmost(BOOL* result) = 0;
};
constexpr GUID WindowPatternIid = {
    0x987df77b, 0xdb06, 0x4d77, {0x8f, 0x8a, 0x86, 0xa9, 0xc3, 0xbb, 0x90, 0xb9}};

// The provider of one window. UI Automation may hold it after the window went: from then on
// every call answers that the element is gone.
class WindowProvider final : public IRawElementProviderSimple, public WindowPatternProvider {
  public:
    WindowProvider(HWND window, std::shared_ptr<UiaPlatform> platform)
        : window_(window), platform_(std::move(platform)) {}
    void Gone() { window_ = nullptr; }

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IRawElementProviderSimple))
            *out = static_cast<IRawElementProviderSimple*>(this);
        else if (IsEqualIID(iid, WindowPatternIid))
            *out = static_cast<WindowPatternProvider*>(this);
        else
            *out = nullptr;
        if (!*out) return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --refs_;
        if (left == 0) delete this;
        return left;
    }

    // IRawElementProviderSimple
    HRESULT STDMETHODCALLTYPE get_ProviderOptions(ProviderOptions* options) override {
        if (!options) return E_POINTER;
        *options = ProviderOptions_ServerSideProvider;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetPatternProvider(PATTERNID pattern, IUnknown** out) override {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (!window_) return ElementNotAvailable;
        if (pattern == WindowPatternId) {
            *out = static_cast<WindowPatternProvider*>(this);
            AddRef();
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetPropertyValue(PROPERTYID property, VARIANT* value) override {
        if (!value) return E_POINTER;
        VariantInit(value);  // VT_EMPTY: the host provider answers from the window itself
        if (!window_) return ElementNotAvailable;
        if (property == ControlTypeProperty) {
            value->vt = VT_I4;
            value->lVal = WindowControlType;
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE
    get_HostRawElementProvider(IRawElementProviderSimple** host) override {
        if (!host) return E_POINTER;
        *host = nullptr;
        if (!window_) return ElementNotAvailable;
        return platform_->HostProvider(window_, host);
    }

    // WindowPatternProvider: our windows have no minimise or maximise box.
    HRESULT STDMETHODCALLTYPE SetVisualState(int state) override {
        if (!window_) return ElementNotAvailable;
        const LONG style = GetWindowLongW(window_, GWL_STYLE);
        if (state == Normal && !IsIconic(window_) && !IsZoomed(window_)) return S_OK;
        WPARAM command = 0;
        if (state == Normal) command = SC_RESTORE;
        if (state == Minimized && (style & WS_MINIMIZEBOX)) command = SC_MINIMIZE;
        if (state == Maximized && (style & WS_MAXIMIZEBOX)) command = SC_MAXIMIZE;
        if (command == 0) return InvalidOperation;
        // Posted: the caller waits on us, and the command may end in a modal loop.
        return PostMessageW(window_, WM_SYSCOMMAND, command, 0) ? S_OK : InvalidOperation;
    }
    HRESULT STDMETHODCALLTYPE Close() override {
        if (!window_) return ElementNotAvailable;
        return PostMessageW(window_, WM_SYSCOMMAND, SC_CLOSE, 0) ? S_OK : InvalidOperation;
    }
    HRESULT STDMETHODCALLTYPE WaitForInputIdle(int milliseconds, BOOL* result) override {
        if (!result) return E_POINTER;
        if (milliseconds < 0) return E_INVALIDARG;
        // Asked on the window's own thread, which is idle while it answers.
        *result = window_ != nullptr;
        return window_ ? S_OK : ElementNotAvailable;
    }
    HRESULT STDMETHODCALLTYPE get_CanMaximize(BOOL* result) override {
        return Style(WS_MAXIMIZEBOX, GWL_STYLE, result);
    }
    HRESULT STDMETHODCALLTYPE get_CanMinimize(BOOL* result) override {
        return Style(WS_MINIMIZEBOX, GWL_STYLE, result);
    }
    HRESULT STDMETHODCALLTYPE get_IsModal(BOOL* result) override {
        if (!result) return E_POINTER;
        *result = FALSE;
        return window_ ? S_OK : ElementNotAvailable;
    }
    HRESULT STDMETHODCALLTYPE get_WindowVisualState(int* result) override {
        if (!result) return E_POINTER;
        *result = !window_            ? Normal
                  : IsIconic(window_) ? Minimized
                  : IsZoomed(window_) ? Maximized
                                      : Normal;
        return window_ ? S_OK : ElementNotAvailable;
    }
    HRESULT STDMETHODCALLTYPE get_WindowInteractionState(int* result) override {
        if (!result) return E_POINTER;
        *result = window_ ? ReadyForUserInteraction : Closing;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_IsTopmost(BOOL* result) override {
        return Style(WS_EX_TOPMOST, GWL_EXSTYLE, result);
    }

  private:
    HRESULT Style(LONG bit, int which, BOOL* result) const {
        if (!result) return E_POINTER;
        *result = window_ && (GetWindowLongW(window_, which) & bit) ? TRUE : FALSE;
        return window_ ? S_OK : ElementNotAvailable;
    }

    // Cleared on the window's thread as it goes; the platform may ask from another.
    std::atomic<HWND> window_;
    std::shared_ptr<UiaPlatform> platform_;
    std::atomic<ULONG> refs_{1};
};

std::shared_ptr<UiaPlatform> SystemUia(const wchar_t* library) {
    return std::make_shared<SystemCalls>(library);
}

UiaWindow::UiaWindow(HWND window, std::shared_ptr<UiaPlatform> platform)
    : window_(window),
      platform_(std::move(platform)),
      provider_(new WindowProvider(window, platform_)) {
    // Without the subclass the window answers as any window does and says nothing.
    if (!window_ || !SetWindowSubclass(window_, Proc, reinterpret_cast<UINT_PTR>(this),
                                       reinterpret_cast<DWORD_PTR>(this)))
        Detach(true);
}

UiaWindow::~UiaWindow() {
    if (window_) {
        RemoveWindowSubclass(window_, Proc, reinterpret_cast<UINT_PTR>(this));
        (void)KillTimer(window_, RestTimer);  // fails only when none was waiting
    }
    Detach(true);
    provider_->Release();
}

void UiaWindow::Detach(bool final) {
    window_ = nullptr;
    waiting_.clear();
    provider_->Gone();
    if (disconnected_ || !handed_) return;
    // UiaDisconnectProvider makes calls out of the process, which a thread may not make while
    // another thread waits for it to answer a message (a close sent by another program ends
    // here): then it waits for this object's end, which comes outside any message.
    const DWORD sent = InSendMessageEx(nullptr) & (ISMEX_SEND | ISMEX_REPLIED);
    if (!final && sent == ISMEX_SEND) return;
    disconnected_ = true;
    platform_->Disconnect(provider_);
}

bool UiaWindow::Say(const std::wstring& text, Tell tell) {
    if (!window_ || text.empty()) return false;
    handed_ = true;
    return platform_->RaiseNotification(provider_, text, tell);
}

void UiaWindow::SayAtRest(const std::wstring& text, UINT restMs) {
    if (!window_) return;
    waiting_ = text;
    // Started again by each text, it fires once the texts rest; without a timer, said now.
    if (!SetTimer(window_, RestTimer, restMs, nullptr)) {
        waiting_.clear();
        (void)Say(text, Tell::AtRest);
    }
}

LRESULT CALLBACK UiaWindow::Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id,
                                 DWORD_PTR data) {
    auto* self = reinterpret_cast<UiaWindow*>(data);
    switch (msg) {
        case WM_GETOBJECT:
            // Only the platform's own question: the object ids of Active Accessibility go on to
            // the window, whose controls answer them.
            if (static_cast<LONG>(lp) == RootObjectId && self->window_ &&
                self->platform_->CanServe()) {
                self->handed_ = true;
                return self->platform_->ReturnProvider(hwnd, wp, lp, self->provider_);
            }
            break;
        case WM_TIMER:
            if (wp == RestTimer) {
                (void)KillTimer(hwnd, RestTimer);
                (void)self->Say(std::exchange(self->waiting_, {}), Tell::AtRest);
                return 0;
            }
            break;
        case WM_DESTROY:
            (void)KillTimer(hwnd, RestTimer);
            self->Detach(false);
            break;
        case WM_NCDESTROY:
            RemoveWindowSubclass(hwnd, Proc, id);
            break;
    }
    return DefSubclassProc(hwnd, msg, wp, lp);
}

}  // namespace a11y
