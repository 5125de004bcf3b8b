#pragma once
// The Windows bitmap (BMP) file layout: file header, information header, colour masks or colour
// table, then the pixel rows. Platform-free so the exact bytes can be checked on any host.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace bmp {

// Pixels as the platform hands them out of a bitmap: the bottom row first, every row padded to a
// multiple of four bytes.
struct DibImage {
    int Width = 0;
    int Height = 0;
    int BitCount = 0;  // 1, 4, 8, 16, 24 or 32
    // Colour table for up to 8 bits per pixel, each entry 0x00RRGGBB (the RGBQUAD byte order).
    std::vector<std::uint32_t> Colors;
    // Channel masks for 16 and 32 bits; all zero means the standard layout of that depth.
    std::uint32_t RedMask = 0, GreenMask = 0, BlueMask = 0;
    std::vector<std::uint8_t> Bits;
};

inline constexpr int FileHeaderSize = 14;
inline constexpr int InfoHeaderSize = 40;

// Bytes in one padded row; throws std::invalid_argument when the row would not fit in 32 bits.
std::uint32_t RowStride(int width, int bitCount);

// True when a 16- or 32-bit image needs its masks written (BI_BITFIELDS); the standard layouts
// (5-5-5 for 16 bits, 8-8-8 for 32 bits) are written as plain RGB without masks.
bool NeedsMasks(const DibImage& image);

// The complete file. The bits of a 32-bit pixel outside its colour masks (the fourth byte, in
// the usual layout) are written as ones: captures are opaque. An image with no pixels (width or
// height 0) gives no bytes at all. Throws std::invalid_argument when the description is
// inconsistent (bit depth, sizes, table, rows).
std::vector<std::uint8_t> EncodeFile(const DibImage& image);

// The parts of that file: everything before the pixel rows (the image's Bits are not looked at,
// so the rows can be read straight into the file after it), and the marking of the unused bits
// of 32-bit pixels done in place on rows already there. Same checks and exceptions as EncodeFile.
std::vector<std::uint8_t> EncodeHeaders(const DibImage& image);
void SetUnusedBits(const DibImage& image, std::uint8_t* rows, std::size_t size);

}  // namespace bmp
