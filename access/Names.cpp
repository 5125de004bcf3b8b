#include "access/Names.h"

namespace a11y {

Presentation PresentationOf(Kind kind) {
    switch (kind) {
        case Kind::Readout:
            return {Role::StaticText, L"STATIC", false, false};
        case Kind::Swatch:
        case Kind::Magnifier:
            return {Role::Graphic, L"STATIC", true, false};
        case Kind::Slider:
            return {Role::Slider, nullptr, false, true};
        case Kind::HotKeyEdit:
            return {Role::HotKeyField, nullptr, false, true};
        case Kind::Picture:
            return {Role::Graphic, L"STATIC", true, false};
        case Kind::Edit:
            return {Role::Text, nullptr, false, true, false};
        case Kind::UpDown:
            return {Role::SpinButton, nullptr, false, true};
    }
    return {Role::StaticText, L"STATIC", false, false};
}

std::wstring SwatchName(std::wstring_view colorText, bool hasColor) {
    if (!hasColor) return L"Colour, none sampled yet";
    if (colorText.empty()) return L"Colour";  // a format of the user's that gives no text
    return L"Colour " + std::wstring(colorText);
}

std::wstring MagnifierName(int viewWidth, int level) {
    // The same halving as the drawing: the source is 2 * half pixels wide.
    const long long half = level >= 1 ? static_cast<long long>(viewWidth / 2) * level / 100 : 0;
    if (half <= 0) return L"Magnifier, zoom level " + std::to_wstring(level);
    // Tenths, rounded; a whole number shows without ".0".
    const long long tenths = (static_cast<long long>(viewWidth) * 10 + half) / (2 * half);
    std::wstring times = std::to_wstring(tenths / 10);
    if (tenths % 10 != 0) times += L"." + std::to_wstring(tenths % 10);
    return L"Magnifier, zoom " + times + L"x";
}

std::wstring LabelName(std::wstring_view caption) {
    std::wstring name;
    for (size_t i = 0; i < caption.size(); ++i) {
        // "&&" shows one ampersand; a single one marks the next letter.
        if (caption[i] == L'&' && i + 1 < caption.size()) ++i;
        name += caption[i];
    }
    while (!name.empty() && (name.back() == L':' || name.back() == L' ')) name.pop_back();
    return name;
}

std::wstring CapturedImageName(int width, int height) {
    if (width <= 0 || height <= 0) return L"Captured image, empty";
    return L"Captured image, " + std::to_wstring(width) + L" x " + std::to_wstring(height) +
           L" pixels";
}

std::wstring HistoryEntryName(std::wstring_view colorText, bool pinned) {
    std::wstring name = colorText.empty() ? L"Colour" : std::wstring(colorText);
    return pinned ? name + L", pinned" : name;
}

std::wstring PinName(int number, int width, int height, int percent) {
    return L"Pinned capture " + std::to_wstring(number) + L", " + std::to_wstring(width) + L" x " +
           std::to_wstring(height) + L" pixels, " + std::to_wstring(percent) + L"%";
}

std::wstring CopiedText(std::wstring_view text) {
    if (text.empty()) return L"Copied an empty text";
    return L"Copied " + std::wstring(text);
}

std::wstring CopiedPicture(int width, int height) {
    return L"Copied a picture of " + std::to_wstring(width) + L" x " + std::to_wstring(height) +
           L" pixels";
}

std::wstring PickedAt(std::wstring_view colorText, int x, int y) {
    return std::wstring(colorText) + L", at " + std::to_wstring(x) + L", " + std::to_wstring(y);
}

}  // namespace a11y
