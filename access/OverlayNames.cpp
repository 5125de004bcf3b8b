#include "access/OverlayNames.h"

#include "access/Names.h"

namespace a11y {

std::wstring CountdownName(int seconds) {
    return L"Capture in " + std::to_wstring(seconds) + (seconds == 1 ? L" second" : L" seconds");
}

std::wstring LoupeName(std::wstring_view colorText, int x, int y) {
    return L"Pick precisely: " + PickedAt(colorText, x, y);
}

std::wstring SelectionName(int width, int height) {
    std::wstring name = L"Select an area to capture";
    if (width > 0 && height > 0)
        name += L": " + std::to_wstring(width) + L" x " + std::to_wstring(height);
    return name;
}

}  // namespace a11y
