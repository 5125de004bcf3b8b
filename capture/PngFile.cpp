#include "capture/PngFile.h"

#include "capture/BmpFile.h"
#include "capture/Picture.h"
#include "capture/PngEncoder.h"
#include "win/ErrorReport.h"
#include "win/Gdi.h"

bool IsPngFileName(const std::wstring& name) {
    static constexpr wchar_t Ext[] = L".png";
    if (name.size() < 4) return false;
    for (size_t i = 0; i < 4; ++i) {
        wchar_t c = name[name.size() - 4 + i];
        if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
        if (c != Ext[i]) return false;
    }
    return true;
}

std::vector<std::uint8_t> EncodePngFile(HBITMAP bitmap, HPALETTE palette) {
    BITMAP bm{};
    if (!bitmap) return {};
    if (GetObjectW(bitmap, sizeof bm, &bm) != sizeof bm) throw win::Error(L"Invalid bitmap");
    if (bm.bmWidth <= 0 || bm.bmHeight <= 0) return {};

    // 24 bits hold every screen colour; the top row first, as the encoder takes it.
    const Rgb24Rows rows =
        ReadRgb24Rows(bitmap, palette, true, L"Cannot create the bitmap: out of system resources",
                      L"Cannot read the bitmap");
    return png::EncodeBgr(bm.bmWidth, bm.bmHeight, static_cast<int>(rows.Stride), rows.Bits.data());
}

void WritePicture(const std::wstring& fileName, HBITMAP bitmap, HPALETTE palette) {
    if (IsPngFileName(fileName))
        WriteFileReplacing(fileName, EncodePngFile(bitmap, palette));
    else
        SaveBitmapFile(fileName, bitmap, palette);
}
