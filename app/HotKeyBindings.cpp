#include "app/HotKeyBindings.h"

#include <vector>

namespace {
constexpr Binding Order[] = {Binding::Capture, Binding::ShowHide, Binding::FixedFollow,
                             Binding::Exit,    Binding::Copy,     Binding::ZoomIn,
                             Binding::ZoomOut, Binding::Pick};
constexpr Binding UserBindings[] = {Binding::Capture, Binding::ShowHide, Binding::FixedFollow,
                                    Binding::Exit};
// The bindings whose keys the user chooses, the pick last.
constexpr Binding ChosenBindings[] = {Binding::Capture, Binding::ShowHide, Binding::FixedFollow,
                                      Binding::Exit, Binding::Pick};

bool HasKey(std::uint32_t value) { return (value & 0xFF) != 0; }

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
    for (Binding b : Order) Field(b) = HasKey(KeyOf(b, keys)) ? list_.Register(KeyOf(b, keys)) : 0;
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
    if (!HasKey(value)) {
        Release(b);
        return;
    }
    std::uint16_t& field = Field(b);
    field = IsRegistered(b) ? list_.Replace(field, value) : list_.Register(value);
}

void HotKeyBindings::Show(const BindingKeys& keys) {
    // Every binding that moves lets its key go before any takes a new one: two bindings that
    // swapped keys in the settings file both get theirs, and a key the pick gave up is free for
    // the binding that asks for it. The pick key, released with the copy key, comes back here.
    std::vector<Binding> moving;
    for (Binding b : ChosenBindings)
        if (RegisteredValue(Field(b)) != KeyOf(b, keys)) {
            Release(b);
            moving.push_back(b);
        }
    for (Binding b : moving) Move(b, KeyOf(b, keys));
    for (Binding b : {Binding::Copy, Binding::ZoomIn, Binding::ZoomOut})
        if (!IsRegistered(b)) Field(b) = list_.Register(KeyOf(b, keys));
}

std::optional<Binding> HotKeyBindings::OldBindingAsking(const BindingKeys& keys,
                                                        std::uint32_t key) {
    if (!HasKey(key)) return std::nullopt;
    for (Binding b : UserBindings)
        if (KeyOf(b, keys) == key) return b;
    return std::nullopt;
}

BindingKeys HotKeyBindings::Settle(const BindingKeys& keys) {
    BindingKeys settled = keys;
    if (OldBindingAsking(keys, keys.Pick)) settled.Pick = 0;
    return settled;
}

std::optional<HotKeyBindings::Contest> HotKeyBindings::FirstContest(const BindingKeys& keys) const {
    for (Binding b : ChosenBindings) {
        const std::uint32_t key = KeyOf(b, keys);
        if (!HasKey(key) || RegisteredValue(Field(b)) == key) continue;
        // Held by another binding of ours, or asked for by another edit too.
        for (Binding other : Order)
            if (other != b && RegisteredValue(Field(other)) == key) return Contest{key, other};
        for (Binding other : ChosenBindings)
            if (other != b && KeyOf(other, keys) == key) return Contest{key, std::nullopt};
    }
    return std::nullopt;
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
        if (!HasKey(key) || IsRegistered(b)) continue;
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
