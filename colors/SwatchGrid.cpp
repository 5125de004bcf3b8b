#include "colors/SwatchGrid.h"

#include <algorithm>

namespace colors {

SwatchGrid::SwatchGrid(int width, int height, int cell)
    : cell_(std::max(1, cell)),
      columns_(std::max(1, width / cell_)),
      visibleRows_(std::max(1, height / cell_)) {}

int SwatchGrid::Rows(std::size_t count) const {
    const auto columns = static_cast<std::size_t>(columns_);
    return static_cast<int>((count + columns - 1) / columns);
}

int SwatchGrid::MaxTop(std::size_t count) const { return std::max(0, Rows(count) - visibleRows_); }

geo::Rect SwatchGrid::CellRect(std::size_t index, int top) const {
    const int col = static_cast<int>(index % static_cast<std::size_t>(columns_));
    const int row = static_cast<int>(index / static_cast<std::size_t>(columns_)) - top;
    return {col * cell_, row * cell_, (col + 1) * cell_, (row + 1) * cell_};
}

std::optional<std::size_t> SwatchGrid::At(geo::Point p, int top, std::size_t count) const {
    if (p.x < 0 || p.y < 0) return std::nullopt;
    const int col = p.x / cell_, row = p.y / cell_;
    if (col >= columns_ || row >= visibleRows_) return std::nullopt;
    const auto index = static_cast<std::size_t>(row + top) * static_cast<std::size_t>(columns_) +
                       static_cast<std::size_t>(col);
    if (index >= count) return std::nullopt;
    return index;
}

int SwatchGrid::TopShowing(std::size_t index, int top) const {
    const int row = static_cast<int>(index / static_cast<std::size_t>(columns_));
    if (row < top) return row;
    if (row >= top + visibleRows_) return row - visibleRows_ + 1;
    return top;
}

}  // namespace colors
