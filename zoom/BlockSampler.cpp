#include "zoom/BlockSampler.h"

#include <cstdint>

#include "colors/BlockAverage.h"

bool BlockSampler::Ensure(HDC like) {
    if (dc_) return true;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = MaxSide;
    info.bmiHeader.biHeight = -MaxSide;  // top-down, so rows run as MeanColor reads them
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    gdi::MemoryDC dc(like);
    if (!dc) return false;
    void* bits = nullptr;
    gdi::Bitmap bitmap(CreateDIBSection(dc.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap || !bits) return false;
    dc_.emplace(std::move(dc));
    bitmap_ = std::move(bitmap);
    selection_.emplace(dc_->Get(), bitmap_.Get());
    bits_ = bits;
    return true;
}

std::optional<RgbTriple> BlockSampler::Mean(HDC from, const geo::Rect& area) {
    if (area.Empty() || area.Width() > MaxSide || area.Height() > MaxSide || !Ensure(from))
        return std::nullopt;
    if (!BitBlt(dc_->Get(), 0, 0, area.Width(), area.Height(), from, area.left, area.top, SRCCOPY))
        return std::nullopt;
    // The copy may still be queued in the batch; the bits are read directly.
    GdiFlush();
    return colors::MeanColor(static_cast<const std::uint32_t*>(bits_), area.Width(), area.Height(),
                             MaxSide);
}
