#include "win/Gdi.h"

#include <cwchar>

namespace gdi {
namespace {
int live = 0;  // UI thread only
}
int LiveCount() { return live; }

Font MakeFont(const wchar_t* face, int height, bool underline) {
    LOGFONTW lf{};
    lf.lfHeight = height;
    lf.lfWeight = FW_NORMAL;
    lf.lfUnderline = underline ? TRUE : FALSE;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfQuality = DEFAULT_QUALITY;
    wcsncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
    return Font(CreateFontIndirectW(&lf));
}
void CountAcquired() { ++live; }
void CountReleased() { --live; }
}  // namespace gdi
