#include "win/Gdi.h"

#include <cwchar>

#include "win/ErrorReport.h"

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

PrintJob::PrintJob(HDC printer, const std::wstring& title) : dc_(printer) {
    DOCINFOW doc{};
    doc.cbSize = sizeof doc;
    doc.lpszDocName = title.c_str();
    if (StartDocW(dc_, &doc) <= 0) throw win::Error(L"Cannot start printing");
}

PrintJob::~PrintJob() {
    if (dc_) AbortDoc(dc_);
}

void PrintJob::Finish() {
    HDC dc = std::exchange(dc_, nullptr);
    if (EndDoc(dc) <= 0) throw win::Error(L"Cannot finish printing");
}
}  // namespace gdi
