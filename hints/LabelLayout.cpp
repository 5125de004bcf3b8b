#include "hints/LabelLayout.h"

#include <cstdint>

namespace hints {

Rect AutoSizeBounds(const Rect& current, Size text, Alignment alignment) {
    int left = current.left;
    if (alignment == Alignment::Right)
        left = current.right - text.cx;
    else if (alignment == Alignment::Center)
        left = current.left + (current.Width() - text.cx) / 2;
    return {left, current.top, left + text.cx, current.top + text.cy};
}

Size FitProportionally(Size image, Size box) {
    if (image.cx <= 0 || image.cy <= 0 || box.cx <= 0 || box.cy <= 0) return {0, 0};
    // Compare box.cx / image.cx with box.cy / image.cy without rounding; 64-bit products.
    std::int64_t byWidth = std::int64_t{box.cx} * image.cy;
    std::int64_t byHeight = std::int64_t{box.cy} * image.cx;
    if (byWidth <= byHeight) {
        // The width limits: full box width, height in proportion (rounded to nearest).
        int h = static_cast<int>((std::int64_t{image.cy} * box.cx * 2 + image.cx) /
                                 (std::int64_t{2} * image.cx));
        return {box.cx, h > 0 ? h : 1};
    }
    int w = static_cast<int>((std::int64_t{image.cx} * box.cy * 2 + image.cy) /
                             (std::int64_t{2} * image.cy));
    return {w > 0 ? w : 1, box.cy};
}

}  // namespace hints
