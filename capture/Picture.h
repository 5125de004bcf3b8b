#pragma once
// A captured image: a device-dependent bitmap in the display's pixel format, carrying a palette
// only on palette-based displays. Move-only. An image is drawn into only while it is made, so
// Copy and TakeBitmap share its pixels instead of copying them: a screen's worth of pixels is
// held once by the engine, the main window and the clipboard's offer together.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "win/Gdi.h"

// Pixels no one draws into any more, shared by those who show, save, print or offer them.
using SharedBitmap = std::shared_ptr<const gdi::Bitmap>;
inline HBITMAP HandleOf(const SharedBitmap& bitmap) { return bitmap ? bitmap->Get() : nullptr; }

class TPicture {
  public:
    TPicture() = default;
    TPicture(TPicture&&) noexcept = default;
    TPicture& operator=(TPicture&&) noexcept = default;

    int Width() const { return width_; }
    int Height() const { return height_; }
    bool Empty() const { return width_ == 0 || height_ == 0; }
    HBITMAP Bitmap() const { return HandleOf(bitmap_); }
    const SharedBitmap& Pixels() const { return bitmap_; }
    HPALETTE Palette() const { return palette_.Get(); }

    // A new bitmap of w x h pixels compatible with the screen (contents undefined); 0 in either
    // direction gives an empty image with no bitmap. Throws win::Error when the system cannot
    // make the bitmap.
    void SetSize(int w, int h);
    void SetPalette(gdi::Palette palette) { palette_ = std::move(palette); }
    // Copies w x h pixels (the image's size) from src at (x, y) with SRCCOPY, into pixels of the
    // image's own when they were shared; throws win::Error.
    void CopyFrom(HDC src, int x, int y);

    // Lets draw() paint over the image through a DC that holds it, in pixels of the image's own
    // when they were shared; throws win::Error.
    void DrawOn(const std::function<void(HDC)>& draw);

    // The same pixels, shared, and a copy of the palette.
    std::unique_ptr<TPicture> Copy() const;
    // Hands the pixels and the palette over, leaving an empty image.
    SharedBitmap TakeBitmap();
    gdi::Palette TakePalette() { return std::move(palette_); }

  private:
    SharedBitmap bitmap_;
    gdi::Palette palette_;
    int width_ = 0, height_ = 0;
};

// The palette rule: on a palette-based display (RC_PALETTE in the source's raster capabilities)
// the target receives a copy of the system palette; otherwise nothing happens.
void ApplyPaletteRule(HDC source, TPicture& target);

// Size of a bitmap handle in pixels ({0, 0} for none).
SIZE BitmapSize(HBITMAP bitmap);
// A bitmap's pixels as 24-bit device-independent rows, read through its palette when it carries
// one, each row padded to four bytes: what encoders and printers take. The top row comes first
// when asked, else the bottom row. Throws win::Error with the caller's own words for a DC it
// cannot get (noResources) and for a bitmap it cannot read (unreadable).
struct Rgb24Rows {
    BITMAPINFO Info{};
    std::size_t Stride = 0;
    std::vector<std::uint8_t> Bits;
};
Rgb24Rows ReadRgb24Rows(HBITMAP bitmap, HPALETTE palette, bool topRowFirst,
                        const std::wstring& noResources, const std::wstring& unreadable);
// The same pixels as a packed device-independent bitmap (the header, then the rows bottom up) in
// movable memory, as the clipboard's CF_DIB holds it. Throws win::Error.
win::GlobalMemory PackedDib24(HBITMAP bitmap, HPALETTE palette);
// An independent copy of a bitmap or palette handle.
gdi::Bitmap CopyBitmap(HBITMAP bitmap);
gdi::Palette CopyPalette(HPALETTE palette);
