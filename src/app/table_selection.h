#pragma once
// The selection of a table view whose headers stand for a grid's fixed row
// and column, as one rectangle of grid cells (model index + 1). With nothing
// selected the current cell is the selection, as in a string grid.

#include "plate/plate_layout.h"

class QTableView;

namespace movra {

GridSelection SelectedCells(const QTableView& view);

// Selects grid cells [Left..Right, Top..Bottom] and makes the top left current.
void SelectCells(QTableView& view, const GridSelection& cells);

} // namespace movra
