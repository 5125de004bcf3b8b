#include "colors/BlockAverage.h"

#include <algorithm>

namespace colors {

int SampleSide(int index) { return index >= 0 && index < SampleSizeCount ? SampleSizes[index] : 1; }

geo::Rect SampleBlock(geo::Point cursor, int side, const geo::Rect& desk) {
    const int half = std::max(side, 1) / 2;
    geo::Rect block{cursor.x - half, cursor.y - half, cursor.x + half + 1, cursor.y + half + 1};
    block.left = std::max(block.left, desk.left);
    block.top = std::max(block.top, desk.top);
    block.right = std::min(block.right, desk.right);
    block.bottom = std::min(block.bottom, desk.bottom);
    if (block.Empty()) return {};
    return block;
}

RgbTriple MeanColor(const std::uint32_t* pixels, int width, int height, std::size_t stride) {
    std::uint64_t r = 0, g = 0, b = 0;
    const std::uint64_t count = width > 0 && height > 0 ? std::uint64_t(width) * height : 0;
    if (count == 0) return {};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const std::uint32_t p = pixels[static_cast<std::size_t>(y) * stride + x];
            r += (p >> 16) & 0xFF;
            g += (p >> 8) & 0xFF;
            b += p & 0xFF;
        }
    auto mean = [count](std::uint64_t sum) {
        return static_cast<std::uint8_t>((sum + count / 2) / count);
    };
    return RgbTriple{mean(b), mean(g), mean(r)};
}

}  // namespace colors
