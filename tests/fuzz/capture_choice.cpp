// The capture command's choice and caption for any mode and area index and any texts: an index
// without a meaning captures nothing, a sized selection is one of the six squares, and the caption
// is the mode word, the area for a selection, " - " and the zoom text.
#include <cstdint>
#include <string>

#include "capture/CaptureChoice.h"
#include "tests/fuzz/FuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Input in(data, size);
    const int mode = in.Int(), area = in.Int();
    const std::wstring areaText = in.Text('\n'), zoomText = in.Text();

    const CaptureChoice c = ChooseCapture(mode, area);
    static const CaptureKind kinds[] = {CaptureKind::Selection, CaptureKind::Desktop,
                                        CaptureKind::ActiveWindow, CaptureKind::Object};
    if (mode < 0 || mode > 3 || (mode == 0 && (area < 0 || area > 6))) {
        FUZZ_CHECK(c.Kind == CaptureKind::None);
    } else if (mode == 0 && area < 6) {
        FUZZ_CHECK(c.Kind == CaptureKind::SizedSelection && c.Width == c.Height);
        static const int sides[] = {16, 24, 32, 48, 64, 128};
        FUZZ_CHECK(c.Width == sides[area]);
    } else {
        FUZZ_CHECK(c.Kind == kinds[mode]);
    }
    if (c.Kind != CaptureKind::SizedSelection) FUZZ_CHECK(c.Width == 0 && c.Height == 0);

    static const wchar_t* const words[] = {L"Selection ", L"Desktop ", L"Active window ",
                                           L"Object "};
    std::wstring head;
    if (mode >= 0 && mode <= 3) head = words[mode] + (mode == 0 ? areaText : L"");
    FUZZ_CHECK(CaptureCaption(mode, areaText, zoomText) == head + L" - " + zoomText);
    return 0;
}
