#pragma once
// Clipboard text of a grid: fields separated by TAB, each row ended by a
// carriage return alone, no quoting and no trailing TAB. Cells are read
// through a callback so the same rules serve the review grid and the report.

#include <functional>
#include <string>

namespace movra {

// Text of cell [column, row] of a grid, both counted from 0 including the
// fixed header row and column.
using GridCellText = std::function<std::string(int column, int row)>;

// Inclusive rectangle of grid cells.
struct GridRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

// The cells of the rectangle, row by row.
std::string GridSelectionText(const GridCellText& cell, GridRect selection);

// Every row 0..rowCount-1, columns firstColumn..columnCount-1; the review
// grid starts at column 1, the report at column 0.
std::string GridAllText(const GridCellText& cell, int columnCount, int rowCount, int firstColumn);

} // namespace movra
