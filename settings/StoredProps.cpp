#include "settings/StoredProps.h"

#include "settings/ValueCodec.h"

namespace settings {

std::vector<ResolvedProp> ResolveStoredProps(std::vector<StoredProp> props) {
    std::vector<ResolvedProp> out;
    for (auto& p : props) {
        std::size_t dot = p.Name.find(L'.');
        if (dot == std::wstring::npos) continue;
        std::wstring component = TrimText(std::wstring_view(p.Name).substr(0, dot));
        std::wstring property = TrimText(std::wstring_view(p.Name).substr(dot + 1));
        if (component.empty() || property.empty()) continue;
        std::wstring key = component;
        key += L'_';
        key += property;
        out.push_back({std::move(component), std::move(property), std::move(key), std::move(p)});
    }
    return out;
}

std::wstring WriteValue(PropKind kind, const PropValue& value) {
    switch (kind) {
        case PropKind::Integer:
            return IntegerText(std::get<std::int32_t>(value));
        case PropKind::Boolean:
            return BooleanText(std::get<bool>(value));
        case PropKind::String:
        case PropKind::Component:
            return std::get<std::wstring>(value);
    }
    return {};
}

ReferenceChange ResolveReference(std::wstring_view raw, std::wstring_view formName,
                                 const std::vector<std::wstring>& components) {
    std::wstring text = TrimText(raw);
    if (text.empty()) return {};
    if (SameTextNoCase(text, L"(null)")) return {RefAction::Clear, {}};
    std::wstring_view name = text;
    if (std::size_t dot = text.find(L'.'); dot != std::wstring::npos) {
        if (!SameTextNoCase(std::wstring_view(text).substr(0, dot), formName)) return {};
        name = std::wstring_view(text).substr(dot + 1);
    }
    for (const auto& c : components)
        if (SameTextNoCase(c, name)) return {RefAction::Set, c};
    return {RefAction::Clear, {}};
}

}  // namespace settings
