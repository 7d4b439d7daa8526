#pragma once
// The selection of a table view whose headers stand for a grid's fixed row
// and column, as one rectangle of grid cells (model index + 1). With nothing
// selected the current cell is the selection, as in a string grid.

#include "app/grid_text_export.h"

class QTableView;

namespace movra {

GridRect GridSelection(const QTableView& view);

// Selects grid cells [left..right, top..bottom] and makes the top left current.
void SelectGridCells(QTableView& view, GridRect cells);

} // namespace movra
