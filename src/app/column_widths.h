#pragma once
// Columns of a table view as wide as their texts, which the user can then
// resize: every number of a report or review grid readable in full. The
// texts of a long table are measured on its first and last rows only (the
// cells of one column are written alike), so a 384-well plate with
// thousands of reads is sized at once.

class QTableView;

namespace movra {

// Sizes every column to its widest measured text (cells and, when shown,
// the column header) and makes the columns resizable by the user.
void SizeColumnsToContents(QTableView& view);

} // namespace movra
