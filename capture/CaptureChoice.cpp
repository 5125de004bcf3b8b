#include "capture/CaptureChoice.h"

CaptureChoice ChooseCapture(int modeIndex, int areaIndex) {
    static constexpr int sizes[] = {16, 24, 32, 48, 64, 128};
    switch (modeIndex) {
        case 0:
            if (areaIndex >= 0 && areaIndex < 6)
                return {CaptureKind::SizedSelection, sizes[areaIndex], sizes[areaIndex]};
            if (areaIndex == 6) return {CaptureKind::Selection};
            return {};
        case 1:
            return {CaptureKind::Desktop};
        case 2:
            return {CaptureKind::ActiveWindow};
        case 3:
            return {CaptureKind::Object};
        default:
            return {};
    }
}

std::wstring CaptureCaption(int modeIndex, const std::wstring& areaText,
                            const std::wstring& zoomText) {
    std::wstring mode;
    switch (modeIndex) {
        case 0:
            mode = L"Selection " + areaText;
            break;
        case 1:
            mode = L"Desktop ";
            break;
        case 2:
            mode = L"Active window ";
            break;
        case 3:
            mode = L"Object ";
            break;
    }
    return mode + L" - " + zoomText;
}
