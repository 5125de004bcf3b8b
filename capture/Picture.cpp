#include "capture/Picture.h"

#include <cstring>
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

namespace {
// The header of a bitmap's pixels as 24-bit rows; returns the bytes of one row, padded to four.
std::size_t Rgb24Header(BITMAPINFOHEADER& h, SIZE size, bool topRowFirst) {
    h.biSize = sizeof(BITMAPINFOHEADER);
    h.biWidth = size.cx;
    h.biHeight = topRowFirst ? -size.cy : size.cy;
    h.biPlanes = 1;
    h.biBitCount = 24;
    h.biCompression = BI_RGB;
    return (static_cast<std::size_t>(size.cx) * 3 + 3) & ~static_cast<std::size_t>(3);
}

void ReadRgb24(HBITMAP bitmap, HPALETTE palette, BITMAPINFO& info, void* bits,
               const std::wstring& noResources, const std::wstring& unreadable) {
    const LONG rows =
        info.bmiHeader.biHeight < 0 ? -info.bmiHeader.biHeight : info.bmiHeader.biHeight;
    gdi::WindowDC screen(nullptr);
    gdi::MemoryDC dc(screen.Get());
    if (!dc) throw win::Error(noResources);
    gdi::PaletteSelection pal(dc.Get(), palette);
    if (GetDIBits(dc.Get(), bitmap, 0, static_cast<UINT>(rows), bits, &info, DIB_RGB_COLORS) !=
        rows)
        throw win::Error(unreadable);
}
}  // namespace

Rgb24Rows ReadRgb24Rows(HBITMAP bitmap, HPALETTE palette, bool topRowFirst,
                        const std::wstring& noResources, const std::wstring& unreadable) {
    const SIZE size = BitmapSize(bitmap);
    Rgb24Rows rows;
    rows.Stride = Rgb24Header(rows.Info.bmiHeader, size, topRowFirst);
    rows.Bits.resize(rows.Stride * static_cast<std::size_t>(size.cy));
    ReadRgb24(bitmap, palette, rows.Info, rows.Bits.data(), noResources, unreadable);
    return rows;
}

win::GlobalMemory PackedDib24(HBITMAP bitmap, HPALETTE palette) {
    const SIZE size = BitmapSize(bitmap);
    BITMAPINFO info{};
    const std::size_t bytes =
        Rgb24Header(info.bmiHeader, size, false) * static_cast<std::size_t>(size.cy);
    win::GlobalMemory dib(GlobalAlloc(GMEM_MOVEABLE, sizeof(BITMAPINFOHEADER) + bytes));
    auto* p = dib ? static_cast<std::uint8_t*>(GlobalLock(dib.Get())) : nullptr;
    if (!p) throw win::Error(L"Out of memory");
    struct Unlock {
        HGLOBAL mem;
        ~Unlock() { GlobalUnlock(mem); }
    } unlock{dib.Get()};
    ReadRgb24(bitmap, palette, info, p + sizeof(BITMAPINFOHEADER),
              L"Cannot create the bitmap: out of system resources", L"Cannot read the bitmap");
    info.bmiHeader.biSizeImage = static_cast<DWORD>(bytes);
    std::memcpy(p, &info.bmiHeader, sizeof(BITMAPINFOHEADER));
    return dib;
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

void TPicture::DrawOn(const std::function<void(HDC)>& draw) {
    if (Empty()) return;
    if (bitmap_.use_count() > 1)
        bitmap_ = std::make_shared<const gdi::Bitmap>(CopyBitmap(Bitmap()));
    gdi::WindowDC screen(nullptr);
    gdi::MemoryDC dc(screen.Get());
    if (!dc) NoBitmap();
    gdi::Selection sel(dc.Get(), Bitmap());
    draw(dc.Get());
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
