#pragma once
// The History page's swatches as a grid: square cells, newest first, row by row, as many columns
// as the width holds, scrolled by whole rows when the entries take more rows than the height
// shows. Client pixels; `top` is the first row shown.
#include <cstddef>
#include <optional>

#include "win/Geometry.h"

namespace colors {

class SwatchGrid {
  public:
    // Cells of `cell` pixels each way in a client area of width x height: at least one column and
    // one row, however small the area.
    SwatchGrid(int width, int height, int cell);
    int Cell() const { return cell_; }
    int Columns() const { return columns_; }
    int VisibleRows() const { return visibleRows_; }
    // The rows `count` entries fill, and the last first row the scroll can reach.
    int Rows(std::size_t count) const;
    int MaxTop(std::size_t count) const;
    // Where entry `index` is drawn; above or below the client area when scrolled out of view.
    geo::Rect CellRect(std::size_t index, int top) const;
    // The entry under a client point, if any.
    std::optional<std::size_t> At(geo::Point p, int top, std::size_t count) const;
    // The first row to show so that entry `index` is whole in view, moving the least from `top`.
    int TopShowing(std::size_t index, int top) const;

  private:
    int cell_, columns_, visibleRows_;
};

}  // namespace colors
