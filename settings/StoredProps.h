#pragma once
// The stored-properties list: control values kept in the settings file, in a fixed order that is
// the order of restoring and of saving. Each entry reaches its control through the control's own
// accessors, so restoring follows the control's rules (clamping, change handlers only on a real
// change).
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace settings {

enum class PropKind { Integer, Boolean, String, Component };

// Integer, Boolean, String; a component reference holds the referenced component's name, empty
// when nothing is referenced.
using PropValue = std::variant<std::int32_t, bool, std::wstring>;

struct StoredProp {
    std::wstring Name;  // "Component.Property"
    PropKind Kind = PropKind::String;
    // The current value; no value when the control does not exist (the entry is then skipped).
    std::function<std::optional<PropValue>()> Get;
    std::function<void(const PropValue&)> Set;
    // For a component reference: the components it may name (owned by the main window).
    std::vector<std::wstring> Components;
};

// An entry of the list with its name split; the key in the file is Component_Property.
struct ResolvedProp {
    std::wstring Component;
    std::wstring Property;
    std::wstring Key;
    StoredProp Prop;
};

// Splits each entry at its first "."; entries without one or with an empty part are dropped.
std::vector<ResolvedProp> ResolveStoredProps(std::vector<StoredProp> props);

// The value's text as the file holds it ("" for a component reference to nothing).
std::wstring WriteValue(PropKind kind, const PropValue& value);

// What a component-reference text asks for.
enum class RefAction { Nothing, Clear, Set };
struct ReferenceChange {
    RefAction Action = RefAction::Nothing;
    std::wstring Name;  // the component's name as it is spelt in the list of components
};
// "(null)" clears; "Form.Name" names a component of the window called Form (only ours, the one
// named formName, is open); a plain name names a component of the main window; a name that
// matches no component clears. Empty text changes nothing. Names ignore letter case.
ReferenceChange ResolveReference(std::wstring_view raw, std::wstring_view formName,
                                 const std::vector<std::wstring>& components);

}  // namespace settings
