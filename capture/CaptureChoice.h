#pragma once
// The capture command's choice of engine operation from the "Ca&pture" page, and the window
// caption that shows that choice with the zoom factor.
#include <string>

enum class CaptureKind { None, Desktop, ActiveWindow, Object, Selection, SizedSelection };

struct CaptureChoice {
    CaptureKind Kind = CaptureKind::None;
    int Width = 0, Height = 0;  // the frame of a sized selection
};

// modeIndex: the selected item of the mode group (0 Selection, 1 Desktop, 2 Active window,
// 3 Object); areaIndex: of the area group (0..5 the fixed sizes, 6 Custom). An index without a
// meaning (no selection) gives CaptureKind::None.
CaptureChoice ChooseCapture(int modeIndex, int areaIndex);

// The caption: the mode word with its trailing blank ("Selection " plus the area item's text),
// then " - ", then the zoom factor's text.
std::wstring CaptureCaption(int modeIndex, const std::wstring& areaText,
                            const std::wstring& zoomText);
