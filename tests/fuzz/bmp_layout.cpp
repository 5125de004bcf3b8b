// The BMP layout for any image description: refused only when it cannot be written; otherwise
// headers that read back as the image described (sizes, depth, masks, colour table, where the
// rows start and how long they are), and rows copied as they are, with only the unused bits of
// 32-bit pixels set.
#include <cstdint>
#include <stdexcept>
#include <vector>

#include "capture/BmpLayout.h"
#include "tests/fuzz/FuzzInput.h"

namespace {
using Bytes = std::vector<std::uint8_t>;

std::uint32_t Get(const Bytes& b, std::size_t at, int count = 4) {
    std::uint32_t v = 0;
    for (int i = 0; i < count; ++i) v |= std::uint32_t{b.at(at + i)} << (8 * i);
    return v;
}

bool Consistent(const bmp::DibImage& image) {
    const int bits = image.BitCount;
    if (image.Width < 0 || image.Height < 0) return false;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) return false;
    return image.Width == 0 || image.Height == 0 || bits > 8 ||
           (!image.Colors.empty() && image.Colors.size() <= (1u << bits));
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Input in(data, size);
    bmp::DibImage image;
    const bool small = in.Int() & 1;  // small enough to lay out its rows as well
    image.Width = small ? in.Int(-1, 40) : in.Int();
    image.Height = small ? in.Int(-1, 40) : in.Int();
    image.BitCount = in.Int(0, 33);
    image.RedMask = in.Int(), image.GreenMask = in.Int(), image.BlueMask = in.Int();
    image.Colors.resize(in.Int(0, 257));
    for (std::uint32_t& c : image.Colors) c = in.Int();
    const std::uint64_t rowBits = std::uint64_t{1} * image.Width * image.BitCount;

    Bytes headers;
    try {
        headers = bmp::EncodeHeaders(image);
    } catch (const std::invalid_argument&) {
        // Headers and the largest colour table take at most 1078 bytes of the 4 GiB.
        const std::uint64_t rows = (rowBits + 31) / 32 * 4 * image.Height;
        FUZZ_CHECK(!Consistent(image) || rows + 1078 > 0xFFFFFFFFu);
        return 0;
    }
    FUZZ_CHECK(Consistent(image));
    if (image.Width == 0 || image.Height == 0) return FUZZ_CHECK(headers.empty()), 0;
    const std::uint64_t stride = bmp::RowStride(image.Width, image.BitCount);
    const std::uint32_t offBits = Get(headers, 10), imageSize = Get(headers, 34);
    FUZZ_CHECK(stride % 4 == 0 && stride * 8 >= rowBits && stride * 8 < rowBits + 32);
    FUZZ_CHECK(imageSize == stride * static_cast<std::uint32_t>(image.Height));
    FUZZ_CHECK(headers[0] == 'B' && headers[1] == 'M' && offBits == headers.size() &&
               Get(headers, 2) == std::uint64_t{offBits} + imageSize);
    FUZZ_CHECK(Get(headers, 14) == 40 && static_cast<int>(Get(headers, 18)) == image.Width &&
               static_cast<int>(Get(headers, 22)) == image.Height && Get(headers, 26, 2) == 1 &&
               static_cast<int>(Get(headers, 28, 2)) == image.BitCount);
    const bool masks = bmp::NeedsMasks(image);
    FUZZ_CHECK(Get(headers, 30) == (masks ? 3u : 0u));
    if (masks) {
        FUZZ_CHECK(headers.size() == 66 && Get(headers, 54) == image.RedMask &&
                   Get(headers, 58) == image.GreenMask && Get(headers, 62) == image.BlueMask);
    } else {
        const std::size_t entries = image.BitCount <= 8 ? image.Colors.size() : 0;
        FUZZ_CHECK(Get(headers, 46) == entries && headers.size() == 54 + 4 * entries);
        for (std::size_t i = 0; i < entries; ++i)
            FUZZ_CHECK(Get(headers, 54 + 4 * i) == (image.Colors[i] & 0x00FFFFFF));
    }
    if (!small) return 0;

    image.Bits.resize(imageSize);
    for (std::size_t i = 0; i < imageSize; ++i) image.Bits[i] = data[i % size];
    const Bytes file = bmp::EncodeFile(image);
    FUZZ_CHECK(file.size() == Get(headers, 2) &&
               Bytes(file.begin(), file.begin() + offBits) == headers);
    const std::uint32_t used = image.RedMask | image.GreenMask | image.BlueMask;
    const std::uint32_t unused = image.BitCount != 32 ? 0 : used ? ~used : 0xFF000000u;
    for (std::size_t i = 0; i < imageSize; ++i)
        FUZZ_CHECK(file[offBits + i] ==
                   static_cast<std::uint8_t>(image.Bits[i] | unused >> (8 * (i % 4))));
    // Rows cut short in a pixel: only whole pixels are marked (the sanitizer watches the rest).
    Bytes part(image.Bits.begin(), image.Bits.end() - 1);
    bmp::SetUnusedBits(image, part.data(), part.size());
    return 0;
}
