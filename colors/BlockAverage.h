#pragma once
// Average sampling: the colour of a small block round the cursor instead of one pixel.
#include <cstddef>
#include <cstdint>

#include "app/ColorLibrary.h"
#include "win/Geometry.h"

namespace colors {

// The block sizes offered, by their index in the "Sample:" choice: 1 pixel, 3 x 3, 5 x 5, 9 x 9.
inline constexpr int SampleSizes[] = {1, 3, 5, 9};
inline constexpr int SampleSizeCount = 4;
// The side of the block for a choice; any other index counts as one pixel.
int SampleSide(int index);

// The side x side block centred on the cursor, cut to the desk (all monitors together): at an
// edge only the pixels that exist take part. Empty when the cursor is off the desk.
geo::Rect SampleBlock(geo::Point cursor, int side, const geo::Rect& desk);

// The mean of `count` pixels given as 0x00RRGGBB words (a 32-bit top-down bitmap's layout), each
// component rounded to nearest; `stride` words from one row to the next.
RgbTriple MeanColor(const std::uint32_t* pixels, int width, int height, std::size_t stride);

}  // namespace colors
