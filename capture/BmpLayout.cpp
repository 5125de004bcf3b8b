#include "capture/BmpLayout.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <limits>
#include <stdexcept>

namespace bmp {
namespace {
constexpr std::uint32_t BiRgb = 0, BiBitfields = 3;

void Put16(std::vector<std::uint8_t>& out, std::uint32_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}
void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

bool ValidDepth(int bits) {
    return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

bool IsStandardMasks(const DibImage& image) {
    std::uint32_t r = image.RedMask, g = image.GreenMask, b = image.BlueMask;
    if (r == 0 && g == 0 && b == 0) return true;
    if (image.BitCount == 16) return r == 0x7C00 && g == 0x03E0 && b == 0x001F;
    return r == 0x00FF0000 && g == 0x0000FF00 && b == 0x000000FF;
}
}  // namespace

std::uint32_t RowStride(int width, int bitCount) {
    if (width < 0 || !ValidDepth(bitCount)) throw std::invalid_argument("Invalid bitmap format");
    std::uint64_t bits = static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(bitCount);
    std::uint64_t stride = (bits + 31) / 32 * 4;
    if (stride > std::numeric_limits<std::uint32_t>::max())
        throw std::invalid_argument("Bitmap too large");
    return static_cast<std::uint32_t>(stride);
}

bool NeedsMasks(const DibImage& image) {
    return (image.BitCount == 16 || image.BitCount == 32) && !IsStandardMasks(image);
}

std::vector<std::uint8_t> EncodeHeaders(const DibImage& image) {
    if (image.Width < 0 || image.Height < 0 || !ValidDepth(image.BitCount))
        throw std::invalid_argument("Invalid bitmap format");
    if (image.Width == 0 || image.Height == 0) return {};

    std::uint64_t imageSize = static_cast<std::uint64_t>(RowStride(image.Width, image.BitCount)) *
                              static_cast<std::uint64_t>(image.Height);
    std::uint32_t tableEntries = 0;
    if (image.BitCount <= 8) {
        std::size_t maxEntries = std::size_t{1} << image.BitCount;
        if (image.Colors.empty() || image.Colors.size() > maxEntries)
            throw std::invalid_argument("Invalid bitmap colour table");
        tableEntries = static_cast<std::uint32_t>(image.Colors.size());
    }
    bool masks = NeedsMasks(image);
    std::uint32_t extra = masks ? 12 : tableEntries * 4;
    std::uint64_t offBits = FileHeaderSize + InfoHeaderSize + extra;
    std::uint64_t fileSize = offBits + imageSize;
    if (fileSize > std::numeric_limits<std::uint32_t>::max())
        throw std::invalid_argument("Bitmap too large");

    std::vector<std::uint8_t> out;
    out.reserve(static_cast<std::size_t>(offBits));
    out.push_back('B');
    out.push_back('M');
    Put32(out, static_cast<std::uint32_t>(fileSize));
    Put32(out, 0);  // two reserved words
    Put32(out, static_cast<std::uint32_t>(offBits));

    Put32(out, InfoHeaderSize);
    Put32(out, static_cast<std::uint32_t>(image.Width));
    Put32(out, static_cast<std::uint32_t>(image.Height));  // positive: bottom row first
    Put16(out, 1);                                         // planes
    Put16(out, static_cast<std::uint32_t>(image.BitCount));
    Put32(out, masks ? BiBitfields : BiRgb);
    Put32(out, static_cast<std::uint32_t>(imageSize));
    Put32(out, 0);  // horizontal resolution: not known for a screen image
    Put32(out, 0);  // vertical resolution
    Put32(out, tableEntries);
    Put32(out, 0);  // all colours important

    if (masks) {
        Put32(out, image.RedMask);
        Put32(out, image.GreenMask);
        Put32(out, image.BlueMask);
    } else {
        for (std::uint32_t i = 0; i < tableEntries; ++i) Put32(out, image.Colors[i] & 0x00FFFFFF);
    }
    return out;
}

void SetUnusedBits(const DibImage& image, std::uint8_t* rows, std::size_t size) {
    if (image.BitCount != 32) return;
    // The platform leaves the bits outside the colour masks at zero; readers that take them for
    // alpha would show a fully transparent capture. A screen is opaque: set them all.
    const std::uint32_t unused =
        NeedsMasks(image) ? ~(image.RedMask | image.GreenMask | image.BlueMask) : 0xFF000000u;
    const std::uint8_t pixel[4] = {
        static_cast<std::uint8_t>(unused), static_cast<std::uint8_t>(unused >> 8),
        static_cast<std::uint8_t>(unused >> 16), static_cast<std::uint8_t>(unused >> 24)};
    // Two pixels at a time, in whole words: a capture holds millions of them.
    std::uint8_t pair[8];
    std::memcpy(pair, pixel, 4);
    std::memcpy(pair + 4, pixel, 4);
    std::uint64_t mask = 0;
    std::memcpy(&mask, pair, 8);
    std::size_t at = 0;
    for (; at + 8 <= size; at += 8) {
        std::uint64_t word = 0;
        std::memcpy(&word, rows + at, 8);
        word |= mask;
        std::memcpy(rows + at, &word, 8);
    }
    if (at + 4 <= size)
        for (int b = 0; b < 4; ++b) rows[at + b] |= pixel[b];
}

std::vector<std::uint8_t> EncodeFile(const DibImage& image) {
    std::vector<std::uint8_t> out = EncodeHeaders(image);
    if (out.empty()) return out;
    const std::uint64_t imageSize =
        static_cast<std::uint64_t>(RowStride(image.Width, image.BitCount)) *
        static_cast<std::uint64_t>(image.Height);
    if (image.Bits.size() != imageSize) throw std::invalid_argument("Bitmap rows incomplete");
    const std::size_t pixelsAt = out.size();
    out.resize(pixelsAt + image.Bits.size());
    std::copy(image.Bits.begin(), image.Bits.end(),
              out.begin() + static_cast<std::ptrdiff_t>(pixelsAt));
    SetUnusedBits(image, out.data() + pixelsAt, image.Bits.size());
    return out;
}

}  // namespace bmp
