// The BMP file layout written by "Save As": headers, masks, colour tables and row padding.
#include <gtest/gtest.h>

#include <cstdint>
#include <stdexcept>
#include <vector>

#include "capture/BmpLayout.h"

namespace {
std::uint32_t U32(const std::vector<std::uint8_t>& b, size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}
std::uint16_t U16(const std::vector<std::uint8_t>& b, size_t at) {
    return static_cast<std::uint16_t>(b[at] | b[at + 1] << 8);
}

// Rows filled with a running byte count, so every byte's place can be checked.
bmp::DibImage Image(int w, int h, int bits) {
    bmp::DibImage image;
    image.Width = w;
    image.Height = h;
    image.BitCount = bits;
    image.Bits.resize(static_cast<size_t>(bmp::RowStride(w, bits)) * static_cast<size_t>(h));
    for (size_t i = 0; i < image.Bits.size(); ++i) image.Bits[i] = static_cast<std::uint8_t>(i + 1);
    return image;
}
}  // namespace

TEST(CaptureBmp, RowStrideRoundsUpToFourBytes) {
    EXPECT_EQ(bmp::RowStride(1, 24), 4u);
    EXPECT_EQ(bmp::RowStride(3, 24), 12u);  // 9 bytes padded to 12
    EXPECT_EQ(bmp::RowStride(4, 24), 12u);  // exactly 12, no padding
    EXPECT_EQ(bmp::RowStride(3, 16), 8u);   // 6 bytes padded to 8
    EXPECT_EQ(bmp::RowStride(2, 16), 4u);
    EXPECT_EQ(bmp::RowStride(5, 32), 20u);
    EXPECT_EQ(bmp::RowStride(33, 1), 8u);  // 33 bits need two 32-bit words
    EXPECT_EQ(bmp::RowStride(9, 4), 8u);
    EXPECT_EQ(bmp::RowStride(0, 24), 0u);
    EXPECT_THROW(bmp::RowStride(10, 12), std::invalid_argument);
    EXPECT_THROW(bmp::RowStride(-1, 24), std::invalid_argument);
}

TEST(CaptureBmp, TwentyFourBitsHaveHeadersAndPaddedRowsOnly) {
    bmp::DibImage image = Image(3, 2, 24);
    auto file = bmp::EncodeFile(image);
    ASSERT_EQ(file.size(), 14u + 40u + 24u);
    EXPECT_EQ(file[0], 'B');
    EXPECT_EQ(file[1], 'M');
    EXPECT_EQ(U32(file, 2), file.size());  // file size
    EXPECT_EQ(U32(file, 6), 0u);           // reserved
    EXPECT_EQ(U32(file, 10), 54u);         // pixels straight after the headers
    EXPECT_EQ(U32(file, 14), 40u);         // information header size
    EXPECT_EQ(static_cast<std::int32_t>(U32(file, 18)), 3);
    EXPECT_EQ(static_cast<std::int32_t>(U32(file, 22)), 2);  // positive: bottom row first
    EXPECT_EQ(U16(file, 26), 1);                             // planes
    EXPECT_EQ(U16(file, 28), 24);
    EXPECT_EQ(U32(file, 30), 0u);   // BI_RGB
    EXPECT_EQ(U32(file, 34), 24u);  // image size: 2 rows of 12 bytes
    EXPECT_EQ(U32(file, 46), 0u);   // no colour table
    std::vector<std::uint8_t> pixels(file.begin() + 54, file.end());
    EXPECT_EQ(pixels, image.Bits);
}

TEST(CaptureBmp, SixteenBitsWriteTheirMasksUnlessStandard) {
    bmp::DibImage image = Image(3, 2, 16);
    image.RedMask = 0xF800;
    image.GreenMask = 0x07E0;
    image.BlueMask = 0x001F;
    auto file = bmp::EncodeFile(image);
    ASSERT_EQ(file.size(), 14u + 40u + 12u + 16u);
    EXPECT_EQ(U32(file, 10), 66u);  // pixels after the three masks
    EXPECT_EQ(U16(file, 28), 16);
    EXPECT_EQ(U32(file, 30), 3u);   // BI_BITFIELDS
    EXPECT_EQ(U32(file, 34), 16u);  // 2 rows of 8 bytes (6 + 2 padding)
    EXPECT_EQ(U32(file, 54), 0xF800u);
    EXPECT_EQ(U32(file, 58), 0x07E0u);
    EXPECT_EQ(U32(file, 62), 0x001Fu);
    EXPECT_EQ(std::vector<std::uint8_t>(file.begin() + 66, file.end()), image.Bits);

    // 5-5-5 is what plain RGB means at 16 bits: no masks, no bit fields.
    image.RedMask = 0x7C00;
    image.GreenMask = 0x03E0;
    image.BlueMask = 0x001F;
    file = bmp::EncodeFile(image);
    EXPECT_EQ(file.size(), 14u + 40u + 16u);
    EXPECT_EQ(U32(file, 30), 0u);
    EXPECT_EQ(U32(file, 10), 54u);
}

TEST(CaptureBmp, ThirtyTwoBitsArePlainRgbForTheUsualLayout) {
    bmp::DibImage image = Image(2, 3, 32);
    image.RedMask = 0xFF0000;
    image.GreenMask = 0xFF00;
    image.BlueMask = 0xFF;
    auto file = bmp::EncodeFile(image);
    ASSERT_EQ(file.size(), 54u + 24u);
    EXPECT_EQ(U16(file, 28), 32);
    EXPECT_EQ(U32(file, 30), 0u);
    EXPECT_EQ(U32(file, 34), 24u);
    // The fourth byte of every pixel is opaque; the other three are the image's own.
    for (size_t i = 0; i < 24; ++i)
        EXPECT_EQ(file[54 + i], i % 4 == 3 ? 0xFF : image.Bits[i]) << "byte " << i;

    image.RedMask = 0xFF;  // blue and red swapped: the masks must go into the file
    image.BlueMask = 0xFF0000;
    file = bmp::EncodeFile(image);
    EXPECT_EQ(U32(file, 30), 3u);
    EXPECT_EQ(U32(file, 54), 0xFFu);
    EXPECT_EQ(U32(file, 62), 0xFF0000u);
    EXPECT_EQ(U32(file, 10), 66u);
}

TEST(CaptureBmp, PaletteImagesCarryTheirColourTable) {
    bmp::DibImage image = Image(5, 1, 8);
    image.Colors = {0x00FF0000, 0x0000FF00, 0xFF0000FF};  // the top byte is not a colour
    auto file = bmp::EncodeFile(image);
    ASSERT_EQ(file.size(), 54u + 12u + 8u);
    EXPECT_EQ(U32(file, 10), 66u);
    EXPECT_EQ(U32(file, 46), 3u);  // colours used
    // RGBQUAD order: blue, green, red, reserved.
    EXPECT_EQ(file[54], 0x00);
    EXPECT_EQ(file[56], 0xFF);
    EXPECT_EQ(U32(file, 62), 0x000000FFu);

    image.Colors.clear();
    EXPECT_THROW(bmp::EncodeFile(image), std::invalid_argument);
    image.Colors.assign(257, 0);
    EXPECT_THROW(bmp::EncodeFile(image), std::invalid_argument);
}

TEST(CaptureBmp, EmptyImageGivesNoBytesAndBadInputIsRefused) {
    EXPECT_TRUE(bmp::EncodeFile(Image(0, 0, 32)).empty());
    EXPECT_TRUE(bmp::EncodeFile(Image(0, 5, 24)).empty());
    EXPECT_TRUE(bmp::EncodeFile(Image(5, 0, 24)).empty());

    bmp::DibImage shortRows = Image(3, 2, 24);
    shortRows.Bits.pop_back();
    EXPECT_THROW(bmp::EncodeFile(shortRows), std::invalid_argument);
    bmp::DibImage oddDepth = Image(3, 2, 24);
    oddDepth.BitCount = 15;
    EXPECT_THROW(bmp::EncodeFile(oddDepth), std::invalid_argument);
    bmp::DibImage negative = Image(3, 2, 24);
    negative.Height = -2;
    EXPECT_THROW(bmp::EncodeFile(negative), std::invalid_argument);
}
