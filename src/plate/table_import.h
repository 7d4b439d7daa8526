#pragma once
// The plain x/y table reader: a TAB-, ";"- or ","-separated text whose first
// row holds the column captions, whose first column is x and whose further
// columns are one curve each. It fills the same ImportedPlate as the
// SpectraMax import (a kinetic plate at one wavelength, curve k in well k-1)
// or refuses the whole file with an ImportError naming what is wrong.

#include <string>

#include "plate/import_errors.h"
#include "plate/sm_import.h"
#include "plate/text_lines.h"

namespace movra {

inline constexpr const char* kTableWithoutHeader = "The table is empty: its first row must hold the column captions!";
inline constexpr const char* kTableWithoutCurves =
    "The table has no curves: its header row holds only one column (columns are separated by TAB, ';' or ',')!";
inline constexpr const char* kTableWithoutRows = "The table has no data rows!";
inline constexpr const char* kTableTooLong = "The table has too many rows!";

// Reads a table from lines. Rows and columns in messages count from 1 as a
// spreadsheet does (the header is row 1, the x column column 1):
//   "Row 5, column 3: 'abc' is not a number"
//   "Row 5, column 3: '1e999' is out of range"
//   "Row 5, column 1: the x value is empty"
//   "Row 5, column 3: the cell is empty" (also a cell missing from a short row)
//   "Row 5, column 7: '2.5' has no column caption"
//   "Row 5, column 2: a quote is not closed"
//   "Row 5 is empty" (a blank row followed by further data)
//   "The table has 385 curves; at most 384 can be read!"
// and the constants above. The review table shows the captions and x
// texts as written (quotes removed), an empty temperature column and one
// column per curve; the summary line reads "table: 3 curves". Only x and the
// curves' wells get PlateData storage (the other columns stay empty and read
// as 0), so the plate takes about the table's own size.
ImportedPlate ImportTable(const TextLines& lines);

} // namespace movra
