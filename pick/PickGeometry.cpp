#include "pick/PickGeometry.h"

#include <algorithm>

namespace pick {
namespace {
// The platform's virtual-key codes of the four arrow keys.
constexpr unsigned VkLeft = 0x25, VkUp = 0x26, VkRight = 0x27, VkDown = 0x28;

// One axis of the placement: after the cursor's pixel when it fits before the monitor's far
// edge, else before it when it fits after the near edge; nothing when it fits on neither side.
std::optional<int> Beside(int at, int length, int low, int high, int gap) {
    const int after = at + 1 + gap, before = at - gap - length;
    if (after + length <= high) return after;
    if (before >= low) return before;
    return std::nullopt;
}

// Within the monitor as far as it fits there.
int Within(int start, int length, int low, int high) {
    return std::max(low, std::min(start, high - length));
}
}  // namespace

geo::Rect PlaceLoupe(geo::Point cursor, geo::Size loupe, const geo::Rect& monitor, int gap) {
    const auto x = Beside(cursor.x, loupe.cx, monitor.left, monitor.right, gap);
    const auto y = Beside(cursor.y, loupe.cy, monitor.top, monitor.bottom, gap);
    geo::Point at;
    if (x) {
        // Clear of the cursor's column: any row on the monitor will do, beside it first.
        at = {*x, y ? *y : Within(cursor.y + 1 + gap, loupe.cy, monitor.top, monitor.bottom)};
    } else if (y) {
        at = {Within(cursor.x + 1 + gap, loupe.cx, monitor.left, monitor.right), *y};
    } else {
        at = {cursor.x + 1 + gap, cursor.y + 1 + gap};
    }
    return {at.x, at.y, at.x + loupe.cx, at.y + loupe.cy};
}

std::optional<geo::Point> ArrowStep(unsigned virtualKey, bool shift, geo::Point at,
                                    const geo::Rect& desk) {
    const int step = shift ? 10 : 1;
    switch (virtualKey) {
        case VkLeft:
            at.x -= step;
            break;
        case VkRight:
            at.x += step;
            break;
        case VkUp:
            at.y -= step;
            break;
        case VkDown:
            at.y += step;
            break;
        default:
            return std::nullopt;
    }
    if (desk.Empty()) return at;
    return geo::Point{std::clamp(at.x, desk.left, desk.right - 1),
                      std::clamp(at.y, desk.top, desk.bottom - 1)};
}

Grid GridFor(int side, int zoomLevel) {
    const int level = std::max(zoomLevel, 1);
    // Rounded to the nearest whole enlargement.
    int cellSize = std::max(1, (100 + level / 2) / level);
    cellSize = std::max(1, std::min(cellSize, side / 3));
    int cells = std::max(1, side / cellSize);
    if (cells % 2 == 0) --cells;
    return {cells, cellSize};
}

geo::Rect GridSource(geo::Point cursor, const Grid& grid) {
    const int half = grid.cells / 2;
    return {cursor.x - half, cursor.y - half, cursor.x + half + 1, cursor.y + half + 1};
}

geo::Rect CellsOf(const Grid& grid, const geo::Rect& source, const geo::Rect& pixels) {
    auto cut = [&](int at, int from) {
        return std::clamp(at - from, 0, grid.cells) * grid.cellSize;
    };
    const geo::Rect cells{cut(pixels.left, source.left), cut(pixels.top, source.top),
                          cut(pixels.right, source.left), cut(pixels.bottom, source.top)};
    if (cells.Empty()) return {};
    return cells;
}

}  // namespace pick
