#include "capture/PngFile.h"

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
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = bm.bmWidth;
    info.bmiHeader.biHeight = -bm.bmHeight;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    size_t stride = (static_cast<size_t>(bm.bmWidth) * 3 + 3) & ~static_cast<size_t>(3);
    std::vector<std::uint8_t> pixels(stride * static_cast<size_t>(bm.bmHeight));
    {
        gdi::WindowDC screen(nullptr);
        gdi::MemoryDC dc(screen.Get());
        if (!dc) throw win::Error(L"Cannot create the bitmap: out of system resources");
        gdi::PaletteSelection pal(dc.Get(), palette);
        if (GetDIBits(dc.Get(), bitmap, 0, static_cast<UINT>(bm.bmHeight), pixels.data(), &info,
                      DIB_RGB_COLORS) != bm.bmHeight)
            throw win::Error(L"Cannot read the bitmap");
    }
    return png::EncodeBgr(bm.bmWidth, bm.bmHeight, static_cast<int>(stride), pixels.data());
}
