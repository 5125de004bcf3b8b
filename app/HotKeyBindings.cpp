#include "app/HotKeyBindings.h"

namespace {
constexpr Binding Order[] = {Binding::Capture, Binding::ShowHide, Binding::FixedFollow,
                             Binding::Exit,    Binding::Copy,     Binding::ZoomIn,
                             Binding::ZoomOut, Binding::Pick};
constexpr Binding UserBindings[] = {Binding::Capture, Binding::ShowHide, Binding::FixedFollow,
                                    Binding::Exit};

std::uint32_t KeyOf(Binding b, const BindingKeys& k) {
    switch (b) {
        case Binding::Capture:
            return k.Capture;
        case Binding::ShowHide:
            return k.ShowHide;
        case Binding::FixedFollow:
            return k.FixedFollow;
        case Binding::Exit:
            return k.Exit;
        case Binding::Copy:
            return k.Copy;
        case Binding::ZoomIn:
            return HotKeyBindings::ZoomInKey;
        case Binding::ZoomOut:
            return HotKeyBindings::ZoomOutKey;
        case Binding::Pick:
            return k.Pick;
    }
    return 0;
}
}  // namespace

std::uint16_t& HotKeyBindings::Field(Binding b) {
    switch (b) {
        case Binding::Capture:
            return CaptureKeyIndex;
        case Binding::ShowHide:
            return ShowHideKeyIndex;
        case Binding::FixedFollow:
            return FixedFollowKeyIndex;
        case Binding::Exit:
            return ExitKeyIndex;
        case Binding::Copy:
            return CopyKeyIndex;
        case Binding::ZoomIn:
            return ZoomInKeyIndex;
        case Binding::Pick:
            return PickKeyIndex;
        case Binding::ZoomOut:
            break;
    }
    return ZoomOutKeyIndex;
}

std::uint16_t HotKeyBindings::Field(Binding b) const {
    return const_cast<HotKeyBindings*>(this)->Field(b);
}

std::optional<std::uint32_t> HotKeyBindings::RegisteredValue(std::uint16_t index) const {
    if (index == 0) return std::nullopt;
    for (const auto& r : list_.Registrations())
        if (r.Index == index) return r.Value;
    return std::nullopt;
}

bool HotKeyBindings::IsRegistered(Binding b) const { return RegisteredValue(Field(b)).has_value(); }

void HotKeyBindings::Bind(const BindingKeys& keys) {
    for (Binding b : Order) Field(b) = list_.Register(KeyOf(b, keys));
}

void HotKeyBindings::Release(Binding b) {
    std::uint16_t& field = Field(b);
    if (field != 0) list_.UnregisterIndex(field);
    field = 0;
}

void HotKeyBindings::Unbind() {
    for (Binding b : Order) Release(b);
}

void HotKeyBindings::Move(Binding b, std::uint32_t value) {
    std::uint16_t& field = Field(b);
    field = IsRegistered(b) ? list_.Replace(field, value) : list_.Register(value);
}

void HotKeyBindings::Show(const BindingKeys& keys) {
    for (Binding b : UserBindings)
        if (RegisteredValue(Field(b)) != KeyOf(b, keys)) Move(b, KeyOf(b, keys));
    // The pick key is the user's to choose, and comes back with the copy key.
    if (RegisteredValue(PickKeyIndex) != keys.Pick) Move(Binding::Pick, keys.Pick);
    for (Binding b : {Binding::Copy, Binding::ZoomIn, Binding::ZoomOut})
        if (!IsRegistered(b)) Field(b) = list_.Register(KeyOf(b, keys));
}

void HotKeyBindings::Hide(bool keepCopyKey) {
    if (!keepCopyKey) {
        Release(Binding::Copy);
        Release(Binding::Pick);
    }
    Release(Binding::ZoomIn);
    Release(Binding::ZoomOut);
}

bool HotKeyBindings::AllHeld(const BindingKeys& keys) const {
    for (Binding b : Order) {
        const std::uint32_t key = KeyOf(b, keys);
        if ((key & 0xFF) == 0 || IsRegistered(b)) continue;
        bool ours = false;
        for (const auto& r : list_.Registrations()) ours = ours || r.Value == key;
        if (!ours) return false;
    }
    return true;
}

std::optional<Binding> HotKeyBindings::Dispatch(std::uint16_t index) const {
    if (index == 0) return std::nullopt;
    for (Binding b : Order)
        if (Field(b) == index) return b;
    return std::nullopt;
}
