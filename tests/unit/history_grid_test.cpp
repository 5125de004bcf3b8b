// The History page's grid: the cells a width and height hold, the entry under a point and the
// scroll that keeps an entry in view.
#include <gtest/gtest.h>

#include "colors/SwatchGrid.h"

using colors::SwatchGrid;

TEST(HistoryGrid, CellsFillWholeColumnsAndRowsAndScrollByRows) {
    // 103 x 96 at 96 DPI (the box less its edge and scroll bar): 4 x 4 cells of 24.
    const SwatchGrid g(103, 96, 24);
    EXPECT_EQ(g.Columns(), 4);
    EXPECT_EQ(g.VisibleRows(), 4);
    EXPECT_EQ(g.Rows(0), 0);
    EXPECT_EQ(g.Rows(16), 4);
    EXPECT_EQ(g.Rows(17), 5);
    EXPECT_EQ(g.MaxTop(16), 0);
    EXPECT_EQ(g.MaxTop(96), 20);
    EXPECT_EQ(g.CellRect(5, 0), (geo::Rect{24, 24, 48, 48}));
    EXPECT_EQ(g.CellRect(5, 1), (geo::Rect{24, 0, 48, 24}));
    // Under a point: the scrolled entry; nothing past the last entry, the last column or row.
    EXPECT_EQ(g.At({30, 5}, 1, 10), 5u);
    EXPECT_EQ(g.At({30, 30}, 1, 9), std::nullopt);
    EXPECT_EQ(g.At({100, 5}, 0, 96), std::nullopt) << "the leftover strip right of the cells";
    EXPECT_EQ(g.At({5, 96}, 0, 96), std::nullopt);
    EXPECT_EQ(g.At({-1, 5}, 0, 96), std::nullopt);
    // The view moves the least that shows the entry: up to its row, or down to end with it.
    EXPECT_EQ(g.TopShowing(2, 3), 0);
    EXPECT_EQ(g.TopShowing(17, 0), 1);
    EXPECT_EQ(g.TopShowing(17, 2), 2);
    // An area smaller than one cell still has one.
    const SwatchGrid tiny(5, 5, 24);
    EXPECT_EQ(tiny.Columns(), 1);
    EXPECT_EQ(tiny.VisibleRows(), 1);
    EXPECT_EQ(tiny.MaxTop(3), 2);
}
