#include "capture/Picture.h"

#include <vector>

#include "win/ErrorReport.h"

namespace {
[[noreturn]] void NoBitmap() {
    throw win::Error(L"Cannot create the bitmap: out of system resources");
}
}  // namespace

SIZE BitmapSize(HBITMAP bitmap) {
    BITMAP bm{};
    if (!bitmap || GetObjectW(bitmap, sizeof bm, &bm) != sizeof bm) return {0, 0};
    return {bm.bmWidth, bm.bmHeight};
}

gdi::Bitmap CopyBitmap(HBITMAP bitmap) {
    SIZE size = BitmapSize(bitmap);
    if (size.cx <= 0 || size.cy <= 0) return {};
    gdi::WindowDC screen(nullptr);
    if (!screen) NoBitmap();
    gdi::Bitmap copy(CreateCompatibleBitmap(screen.Get(), size.cx, size.cy));
    gdi::MemoryDC from(screen.Get()), to(screen.Get());
    if (!copy || !from || !to) NoBitmap();
    gdi::Selection selFrom(from.Get(), bitmap), selTo(to.Get(), copy.Get());
    if (!BitBlt(to.Get(), 0, 0, size.cx, size.cy, from.Get(), 0, 0, SRCCOPY))
        throw win::Error(L"Cannot copy the bitmap");
    return copy;
}

Rgb24Rows ReadRgb24Rows(HBITMAP bitmap, HPALETTE palette, bool topRowFirst,
                        const std::wstring& noResources, const std::wstring& unreadable) {
    const SIZE size = BitmapSize(bitmap);
    Rgb24Rows rows;
    BITMAPINFOHEADER& h = rows.Info.bmiHeader;
    h.biSize = sizeof(BITMAPINFOHEADER);
    h.biWidth = size.cx;
    h.biHeight = topRowFirst ? -size.cy : size.cy;
    h.biPlanes = 1;
    h.biBitCount = 24;
    h.biCompression = BI_RGB;
    rows.Stride = (static_cast<std::size_t>(size.cx) * 3 + 3) & ~static_cast<std::size_t>(3);
    rows.Bits.resize(rows.Stride * static_cast<std::size_t>(size.cy));
    gdi::WindowDC screen(nullptr);
    gdi::MemoryDC dc(screen.Get());
    if (!dc) throw win::Error(noResources);
    gdi::PaletteSelection pal(dc.Get(), palette);
    if (GetDIBits(dc.Get(), bitmap, 0, static_cast<UINT>(size.cy), rows.Bits.data(), &rows.Info,
                  DIB_RGB_COLORS) != size.cy)
        throw win::Error(unreadable);
    return rows;
}

gdi::Palette CopyPalette(HPALETTE palette) {
    if (!palette) return {};
    struct {
        WORD version;
        WORD count;
        PALETTEENTRY entries[256];
    } record{};
    UINT n = GetPaletteEntries(palette, 0, 256, record.entries);
    if (n == 0) return {};
    record.version = 0x300;
    record.count = static_cast<WORD>(n);
    gdi::Palette copy(CreatePalette(reinterpret_cast<LOGPALETTE*>(&record)));
    if (!copy) NoBitmap();
    return copy;
}

void TPicture::SetSize(int w, int h) {
    if (w < 0) w = 0;
    if (h < 0) h = 0;
    bitmap_.reset();
    width_ = height_ = 0;
    if (w == 0 || h == 0) return;
    gdi::WindowDC screen(nullptr);
    if (!screen) NoBitmap();
    gdi::Bitmap bitmap(CreateCompatibleBitmap(screen.Get(), w, h));
    if (!bitmap) NoBitmap();
    bitmap_ = std::make_shared<const gdi::Bitmap>(std::move(bitmap));
    width_ = w;
    height_ = h;
}

void TPicture::CopyFrom(HDC src, int x, int y) {
    if (Empty()) return;  // a zero-sized rectangle moves no pixels
    // Every pixel is written below, so pixels shared with a copy are left to it, not copied.
    if (bitmap_.use_count() > 1) SetSize(width_, height_);
    gdi::MemoryDC dc(src);
    if (!dc) NoBitmap();
    gdi::Selection sel(dc.Get(), Bitmap());
    if (!BitBlt(dc.Get(), 0, 0, width_, height_, src, x, y, SRCCOPY))
        throw win::Error(L"Cannot copy the screen");
}

std::unique_ptr<TPicture> TPicture::Copy() const {
    auto copy = std::make_unique<TPicture>();
    copy->bitmap_ = bitmap_;
    copy->palette_ = ::CopyPalette(palette_.Get());
    if (copy->bitmap_) {
        copy->width_ = width_;
        copy->height_ = height_;
    }
    return copy;
}

SharedBitmap TPicture::TakeBitmap() {
    width_ = height_ = 0;
    return std::move(bitmap_);
}

void ApplyPaletteRule(HDC source, TPicture& target) {
    if (!(GetDeviceCaps(source, RASTERCAPS) & RC_PALETTE)) return;
    // A logical-palette record with room for 256 entries: 4-byte header, 256 four-byte entries.
    struct {
        WORD version;
        WORD count;
        PALETTEENTRY entries[256];
    } record{};
    static_assert(sizeof record == 1028);
    record.version = 0x300;
    record.count = static_cast<WORD>(GetSystemPaletteEntries(source, 0, 256, record.entries));
    if (record.count == 0) return;
    gdi::Palette palette(CreatePalette(reinterpret_cast<LOGPALETTE*>(&record)));
    if (!palette) NoBitmap();
    target.SetPalette(std::move(palette));
}
