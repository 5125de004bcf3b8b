#include "access/ListAccessible.h"

#include <oleacc.h>

#include "access/Accessible.h"
#include "win/Controls.h"

namespace a11y {

namespace {
// The interface identifiers, here rather than from the libraries that define them twice.
constexpr GUID UnknownIid = {0x00000000, 0x0000, 0x0000, {0xc0, 0, 0, 0, 0, 0, 0, 0x46}};
constexpr GUID DispatchIid = {0x00020400, 0x0000, 0x0000, {0xc0, 0, 0, 0, 0, 0, 0, 0x46}};
constexpr GUID AccessibleIid = {
    0x618736e0, 0x3c3d, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};

LONG ChildId(std::size_t index) { return static_cast<LONG>(index) + 1; }

void SetChild(VARIANT* v, LONG child) {
    v->vt = VT_I4;
    v->lVal = child;
}
}  // namespace

// The object a reader holds. Simple elements stand for the items (child IDs 1 to the count, no
// objects of their own); once the list is gone every call says so.
class ListObject final : public IAccessible {
  public:
    ListObject(HWND list, ListItems& items) : list_(list), items_(&items) {}
    void Disconnect() { items_ = nullptr; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        if (IsEqualGUID(iid, UnknownIid) || IsEqualGUID(iid, DispatchIid) ||
            IsEqualGUID(iid, AccessibleIid)) {
            *out = static_cast<IAccessible*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override {
        return static_cast<ULONG>(InterlockedIncrement(&refs_));
    }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG left = InterlockedDecrement(&refs_);
        if (left == 0) delete this;
        return static_cast<ULONG>(left);
    }

    // Readers call the interface itself; scripting through IDispatch is not offered.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        if (!count) return E_POINTER;
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override {
        if (info) *info = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                     UINT*) override {
        return E_NOTIMPL;
    }

    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
        if (!parent) return E_POINTER;
        if (!items_) return CO_E_OBJNOTCONNECTED;
        return StandardObject(list_, OBJID_WINDOW, DispatchIid, reinterpret_cast<void**>(parent));
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override {
        if (!count) return E_POINTER;
        if (!items_) return CO_E_OBJNOTCONNECTED;
        *count = static_cast<long>(items_->ItemCount());
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** out) override {
        if (!out) return E_POINTER;
        *out = nullptr;
        std::optional<std::size_t> item;
        if (const HRESULT hr = Resolve(child, item); FAILED(hr)) return hr;
        return item ? S_FALSE : E_INVALIDARG;  // an item is a simple element
    }
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
        if (!name) return E_POINTER;
        *name = nullptr;
        std::optional<std::size_t> item;
        if (const HRESULT hr = Resolve(child, item); FAILED(hr)) return hr;
        return Bstr(item ? items_->ItemName(*item) : win::GetText(list_), name);
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT, BSTR* value) override {
        return NotOffered(value);
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT, BSTR* text) override {
        return NotOffered(text);
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
        if (!role) return E_POINTER;
        VariantInit(role);
        std::optional<std::size_t> item;
        if (const HRESULT hr = Resolve(child, item); FAILED(hr)) return hr;
        SetChild(role, item ? ROLE_SYSTEM_LISTITEM : ROLE_SYSTEM_LIST);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
        if (!state) return E_POINTER;
        VariantInit(state);
        std::optional<std::size_t> item;
        if (const HRESULT hr = Resolve(child, item); FAILED(hr)) return hr;
        const bool focused = GetFocus() == list_;
        LONG s = STATE_SYSTEM_FOCUSABLE;
        if (!item) {
            if (focused) s |= STATE_SYSTEM_FOCUSED;
            if (!IsWindowVisible(list_)) s |= STATE_SYSTEM_INVISIBLE;
            if (!IsWindowEnabled(list_)) s |= STATE_SYSTEM_UNAVAILABLE;
        } else {
            s |= STATE_SYSTEM_SELECTABLE;
            if (items_->SelectedItem() == item) {
                s |= STATE_SYSTEM_SELECTED;
                if (focused) s |= STATE_SYSTEM_FOCUSED;
            }
            if (!InView(*item)) s |= STATE_SYSTEM_OFFSCREEN;
        }
        SetChild(state, s);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT, BSTR* help) override { return NotOffered(help); }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT, long* topic) override {
        if (topic) *topic = 0;
        return NotOffered(file);
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT, BSTR* keys) override {
        return NotOffered(keys);
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* out) override {
        if (!out) return E_POINTER;
        VariantInit(out);
        if (!items_) return CO_E_OBJNOTCONNECTED;
        if (GetFocus() != list_) return S_FALSE;
        const auto selected = items_->SelectedItem();
        SetChild(out, selected ? ChildId(*selected) : CHILDID_SELF);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* out) override {
        if (!out) return E_POINTER;
        VariantInit(out);
        if (!items_) return CO_E_OBJNOTCONNECTED;
        const auto selected = items_->SelectedItem();
        if (!selected) return S_FALSE;
        SetChild(out, ChildId(*selected));
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
        if (!action) return E_POINTER;
        *action = nullptr;
        std::optional<std::size_t> item;
        if (const HRESULT hr = Resolve(child, item); FAILED(hr)) return hr;
        if (!item) return DISP_E_MEMBERNOTFOUND;
        return Bstr(items_->ItemActionName(), action);
    }
    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override {
        std::optional<std::size_t> item;
        if (const HRESULT hr = Resolve(child, item); FAILED(hr)) return hr;
        // One entry is selected at a time: adding to the selection means nothing here.
        if (flags & (SELFLAG_EXTENDSELECTION | SELFLAG_ADDSELECTION | SELFLAG_REMOVESELECTION))
            return E_INVALIDARG;
        if (flags & SELFLAG_TAKEFOCUS) SetFocus(list_);
        if (item && (flags & (SELFLAG_TAKESELECTION | SELFLAG_TAKEFOCUS)))
            items_->SelectItem(*item);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height,
                                          VARIANT child) override {
        if (!left || !top || !width || !height) return E_POINTER;
        std::optional<std::size_t> item;
        if (const HRESULT hr = Resolve(child, item); FAILED(hr)) return hr;
        RECT r{};
        if (item) {
            r = items_->ItemBounds(*item);
            MapWindowPoints(list_, nullptr, reinterpret_cast<POINT*>(&r), 2);
        } else if (!GetWindowRect(list_, &r)) {
            return E_FAIL;
        }
        *left = r.left;
        *top = r.top;
        *width = r.right - r.left;
        *height = r.bottom - r.top;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override {
        if (!end) return E_POINTER;
        VariantInit(end);
        std::optional<std::size_t> item;
        if (const HRESULT hr = Resolve(start, item); FAILED(hr)) return hr;
        const std::size_t count = items_->ItemCount();
        std::optional<std::size_t> to;
        if (!item && direction == NAVDIR_FIRSTCHILD && count > 0) to = 0;
        if (!item && direction == NAVDIR_LASTCHILD && count > 0) to = count - 1;
        if (item && direction == NAVDIR_NEXT && *item + 1 < count) to = *item + 1;
        if (item && direction == NAVDIR_PREVIOUS && *item > 0) to = *item - 1;
        if (!to) return S_FALSE;
        SetChild(end, ChildId(*to));
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* out) override {
        if (!out) return E_POINTER;
        VariantInit(out);
        if (!items_) return CO_E_OBJNOTCONNECTED;
        POINT p{x, y};
        RECT window{};
        if (!GetWindowRect(list_, &window) || !PtInRect(&window, p)) return S_FALSE;
        ScreenToClient(list_, &p);
        for (std::size_t i = 0; i < items_->ItemCount(); ++i) {
            const RECT r = items_->ItemBounds(i);
            if (InView(i) && PtInRect(&r, p)) {
                SetChild(out, ChildId(i));
                return S_OK;
            }
        }
        SetChild(out, CHILDID_SELF);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
        std::optional<std::size_t> item;
        if (const HRESULT hr = Resolve(child, item); FAILED(hr)) return hr;
        if (!item) return DISP_E_MEMBERNOTFOUND;
        items_->DoItemAction(*item);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

  private:
    ~ListObject() = default;

    // The item a child ID names, none for the list itself; an error for an ID of nothing.
    HRESULT Resolve(const VARIANT& child, std::optional<std::size_t>& item) const {
        if (!items_) return CO_E_OBJNOTCONNECTED;
        if (child.vt != VT_I4) return E_INVALIDARG;
        if (child.lVal == CHILDID_SELF) return S_OK;
        if (child.lVal < 1 || static_cast<std::size_t>(child.lVal) > items_->ItemCount())
            return E_INVALIDARG;
        item = static_cast<std::size_t>(child.lVal) - 1;
        return S_OK;
    }
    bool InView(std::size_t item) const {
        RECT client{}, r = items_->ItemBounds(item), both{};
        GetClientRect(list_, &client);
        return IntersectRect(&both, &client, &r) != FALSE;
    }
    static HRESULT Bstr(const std::wstring& text, BSTR* out) {
        *out = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
        return *out ? S_OK : E_OUTOFMEMORY;
    }
    HRESULT NotOffered(BSTR* out) const {
        if (!out) return E_POINTER;
        *out = nullptr;
        return items_ ? DISP_E_MEMBERNOTFOUND : CO_E_OBJNOTCONNECTED;
    }

    LONG refs_ = 1;
    HWND list_;
    ListItems* items_;
};

ListAccessible::ListAccessible(HWND list, ListItems& items) : list_(list), items_(items) {}

ListAccessible::~ListAccessible() {
    if (!object_) return;
    object_->Disconnect();
    // The readers' references through COM are cut too, so none keeps the object waiting.
    (void)CoDisconnectObject(object_, 0);
    object_->Release();
}

bool ListAccessible::Answer(WPARAM wp, LPARAM lp, LRESULT& result) {
    // Sign-extended: the object identifiers are negative LONGs.
    if (static_cast<LONG>(lp) != OBJID_CLIENT) return false;
    if (!object_) object_ = new ListObject(list_, items_);
    return AnswerWithObject(object_, wp, result);
}

void ListAccessible::Refresh() {
    std::vector<std::wstring> names;
    for (std::size_t i = 0; i < items_.ItemCount(); ++i) names.push_back(items_.ItemName(i));
    const auto selected = items_.SelectedItem();
    // One entry renamed (pinned, say) is told as such; anything else as new items.
    std::size_t renamed = 0, at = 0;
    if (names.size() == toldNames_.size()) {
        for (std::size_t i = 0; i < names.size(); ++i)
            if (names[i] != toldNames_[i]) ++renamed, at = i;
    }
    if (names.size() != toldNames_.size() || renamed > 1)
        NotifyWinEvent(EVENT_OBJECT_REORDER, list_, OBJID_CLIENT, CHILDID_SELF);
    else if (renamed == 1)
        NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, list_, OBJID_CLIENT, ChildId(at));
    // A selection that moved, or another colour where it stays, is told again.
    const bool selectionChanged =
        selected != toldSelected_ ||
        (selected && (*selected >= toldNames_.size() || names[*selected] != toldNames_[*selected]));
    toldNames_ = std::move(names);
    toldSelected_ = selected;
    if (!selected || !selectionChanged) return;
    NotifyWinEvent(EVENT_OBJECT_SELECTION, list_, OBJID_CLIENT, ChildId(*selected));
    if (GetFocus() == list_) FocusTaken();
}

void ListAccessible::FocusTaken() {
    if (const auto selected = items_.SelectedItem())
        NotifyWinEvent(EVENT_OBJECT_FOCUS, list_, OBJID_CLIENT, ChildId(*selected));
}

}  // namespace a11y
