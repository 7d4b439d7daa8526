#pragma once
// The text a grid puts on the clipboard for a spreadsheet: fields separated
// by one TAB, every row ended by a carriage return alone (no line feed), no
// quoting, no TAB after a row's last field.

#include <functional>
#include <string>

namespace movra {

// Appends the text of cell (column, row) to the output.
using CellTextAppender = std::function<void(int column, int row, std::string& out)>;

// Rows firstRow..lastRow, columns firstColumn..lastColumn, inclusive; an
// empty range of rows gives an empty text.
std::string TabSeparatedText(int firstColumn, int lastColumn, int firstRow, int lastRow,
                             const CellTextAppender& appendCell);

} // namespace movra
