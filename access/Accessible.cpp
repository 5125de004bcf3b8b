#include "access/Accessible.h"

#include <oleacc.h>

#include "win/Com.h"
#include "win/Controls.h"

namespace a11y {

namespace {
// The identifiers of oleacc.h, here so that nothing links to oleacc.dll: it is loaded when first
// asked for, and its absence costs only the names a screen reader would have had.
constexpr GUID AccessibleIid = {
    0x618736e0, 0x3c3d, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};
constexpr GUID AccPropServicesClsid = {
    0xb5f8350b, 0x0548, 0x48b1, {0xa6, 0xee, 0x88, 0xbd, 0x00, 0xb4, 0xa5, 0xe7}};
constexpr GUID AccPropServicesIid = {
    0x6e26e776, 0x04f0, 0x495d, {0x80, 0xe4, 0x33, 0x30, 0x35, 0x2e, 0x31, 0x69}};
constexpr GUID NameProperty = {
    0x608d3df8, 0x8128, 0x4aa7, {0xa4, 0x28, 0xf5, 0x5e, 0x49, 0x26, 0x72, 0x91}};
constexpr GUID RoleProperty = {
    0xcb905ff2, 0x7bd1, 0x4c05, {0xb3, 0xc8, 0xe6, 0xc2, 0x41, 0x36, 0x4d, 0x70}};

static_assert(static_cast<long>(Role::Graphic) == ROLE_SYSTEM_GRAPHIC &&
              static_cast<long>(Role::StaticText) == ROLE_SYSTEM_STATICTEXT &&
              static_cast<long>(Role::HotKeyField) == ROLE_SYSTEM_HOTKEYFIELD &&
              static_cast<long>(Role::Slider) == ROLE_SYSTEM_SLIDER &&
              static_cast<long>(Role::List) == ROLE_SYSTEM_LIST &&
              static_cast<long>(Role::ListItem) == ROLE_SYSTEM_LISTITEM &&
              static_cast<long>(Role::Text) == ROLE_SYSTEM_TEXT &&
              static_cast<long>(Role::SpinButton) == ROLE_SYSTEM_SPINBUTTON);

struct Oleacc {
    using CreateProxy = HRESULT(WINAPI*)(HWND, LPCWSTR, LONG, REFIID, void**);
    using ResultFromObject = LRESULT(WINAPI*)(REFIID, WPARAM, LPUNKNOWN);
    using CreateStdObject = HRESULT(WINAPI*)(HWND, LONG, REFIID, void**);
    CreateProxy createProxy = nullptr;
    ResultFromObject resultFromObject = nullptr;
    CreateStdObject createStdObject = nullptr;
};

Oleacc Load(bool proxies) {
    Oleacc o;
    if (HMODULE m = LoadLibraryExW(L"oleacc.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32)) {
        if (proxies)
            o.createProxy = reinterpret_cast<Oleacc::CreateProxy>(
                reinterpret_cast<void*>(GetProcAddress(m, "CreateStdAccessibleProxyW")));
        o.resultFromObject = reinterpret_cast<Oleacc::ResultFromObject>(
            reinterpret_cast<void*>(GetProcAddress(m, "LresultFromObject")));
        o.createStdObject = reinterpret_cast<Oleacc::CreateStdObject>(
            reinterpret_cast<void*>(GetProcAddress(m, "CreateStdAccessibleObject")));
    }
    return o;
}

bool OnWine() {
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

// Loaded once and kept for the process: the objects it hands out live as long as their clients.
// For the standard proxies: Wine's oleacc names CreateStdAccessibleProxyW among its exports but
// ends the process when it is called; its default object names a window from its text all the
// same, so there the library is not even loaded for them.
const Oleacc& Library() {
    static const Oleacc loaded = OnWine() ? Oleacc{} : Load(true);
    return loaded;
}

// For our own objects (a list we draw), which Wine serves as Windows does; loaded only when a
// reader first asks for one.
const Oleacc& ObjectLibrary() {
    static const Oleacc loaded = OnWine() ? Load(false) : Library();
    return loaded;
}

// COM for the accessible objects handed out, from the first one on: their clients call them
// through it for the rest of the run. Not from the start: an apartment kept from the window's
// creation changed how Wine delivers the mouse wheel to it, and a run no screen reader asks
// needs none.
bool ComForObjects() {
    static const bool ready =
        SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE));
    return ready;
}

// The annotation service for one batch of calls; null where it is not offered. The annotations
// stay with the window after it is released.
class PropServices {
  public:
    PropServices() {
        if (FAILED(CoCreateInstance(AccPropServicesClsid, nullptr, CLSCTX_INPROC_SERVER,
                                    AccPropServicesIid, reinterpret_cast<void**>(&p_))))
            p_ = nullptr;
    }
    ~PropServices() {
        if (p_) p_->Release();
    }
    PropServices(const PropServices&) = delete;
    PropServices& operator=(const PropServices&) = delete;
    IAccPropServices* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }

  private:
    IAccPropServices* p_ = nullptr;
};
}  // namespace

bool AnswerGetObject(HWND control, WPARAM wp, LPARAM lp, Kind kind, LRESULT& result) {
    // Sign-extended: the object identifiers are negative LONGs.
    if (static_cast<LONG>(lp) != OBJID_CLIENT) return false;
    const Presentation p = PresentationOf(kind);
    const Oleacc& lib = Library();
    if (!p.proxyClass || !lib.createProxy || !lib.resultFromObject || !ComForObjects())
        return false;
    IUnknown* proxy = nullptr;
    if (FAILED(lib.createProxy(control, p.proxyClass, OBJID_CLIENT, AccessibleIid,
                               reinterpret_cast<void**>(&proxy))) ||
        !proxy)
        return false;
    const LRESULT r = lib.resultFromObject(AccessibleIid, wp, proxy);
    proxy->Release();
    // A negative result is an error code: the default object answers instead.
    if (r < 0) return false;
    result = r;
    return true;
}

bool AnswerWithObject(IUnknown* object, WPARAM wp, LRESULT& result) {
    const Oleacc& lib = ObjectLibrary();
    if (!object || !lib.resultFromObject || !ComForObjects()) return false;
    const LRESULT r = lib.resultFromObject(AccessibleIid, wp, object);
    if (r < 0) return false;
    result = r;
    return true;
}

HRESULT StandardObject(HWND window, LONG objectId, REFIID iid, void** object) {
    *object = nullptr;
    const Oleacc& lib = ObjectLibrary();
    if (!lib.createStdObject) return E_NOTIMPL;
    return lib.createStdObject(window, objectId, iid, object);
}

bool AnswerAsNamed(HWND control, UINT msg, WPARAM wp, LPARAM lp, Kind kind,
                   const std::function<std::wstring()>& name, LRESULT& result) {
    switch (msg) {
        case WM_GETOBJECT:
            return AnswerGetObject(control, wp, lp, kind, result);
        case WM_GETTEXTLENGTH:
            result = static_cast<LRESULT>(name().size());
            return true;
        case WM_GETTEXT:
            result = win::AnswerGetText(name(), wp, lp);
            return true;
    }
    return false;
}

void Present(HWND control, Kind kind, const std::wstring& name) {
    if (!control) return;
    const Presentation p = PresentationOf(kind);
    if (p.fixedName && p.nameInText) SetWindowTextW(control, name.c_str());
    if (!p.annotateRole && !p.fixedName) return;
    win::ComScope com;
    PropServices services;
    if (!services) return;
    if (p.annotateRole) {
        VARIANT role{};
        role.vt = VT_I4;
        role.lVal = static_cast<LONG>(p.role);
        (void)services->SetHwndProp(control, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                                    RoleProperty, role);
    }
    if (p.fixedName)
        (void)services->SetHwndPropStr(control, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                                       NameProperty, name.c_str());
}

void RaiseNameChange(HWND control) {
    if (control) NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, control, OBJID_CLIENT, CHILDID_SELF);
}

bool SystemHighContrast() {
    HIGHCONTRASTW hc{};
    hc.cbSize = sizeof hc;
    return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof hc, &hc, 0) &&
           (hc.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

SystemColors CurrentSystemColors() {
    SystemColors s;
    s.window = GetSysColor(COLOR_WINDOW);
    s.windowText = GetSysColor(COLOR_WINDOWTEXT);
    s.btnFace = GetSysColor(COLOR_BTNFACE);
    s.btnText = GetSysColor(COLOR_BTNTEXT);
    s.infoBk = GetSysColor(COLOR_INFOBK);
    s.infoText = GetSysColor(COLOR_INFOTEXT);
    s.hotLight = GetSysColor(COLOR_HOTLIGHT);
    return s;
}

Look CurrentLook() { return LookFor(SystemHighContrast(), CurrentSystemColors()); }

}  // namespace a11y
