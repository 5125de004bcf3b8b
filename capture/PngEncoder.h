#pragma once
// PNG through the platform's imaging component (WIC), the one PNG encoder of the program: the
// capture view's save, the clipboard's "PNG" and the demonstration's screenshot all use it.
#include <cstdint>
#include <vector>

namespace png {

// Encodes width x height pixels of three bytes each, blue, green, red, the top row first, rows
// `stride` bytes apart. The PNG has no alpha channel: a screen image is opaque. No pixels (width
// or height 0) give no bytes. Throws win::Error when the platform cannot encode.
std::vector<std::uint8_t> EncodeBgr(int width, int height, int stride, const std::uint8_t* pixels);

}  // namespace png
