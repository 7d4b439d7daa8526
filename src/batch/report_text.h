#pragma once
// The report tables as text for files and pipes: the same fields as the
// desktop's "Copy All" (TAB-separated, no quoting, no trailing TAB), but each
// row ended by a line feed, as command-line tools and spreadsheets on every
// platform read them.

#include <string>

#include "plate/review_table.h"
#include "reports/string_table.h"

namespace movra {

// The report grid, rows 0..RowCount-1 and columns 0..ColCount-1.
std::string ReportTsv(const StringTable& grid);

// The data review table's "Copy All": rows 0..RowCount-1, columns
// 1..ColumnCount-1 (column 0 is never copied).
std::string ReviewTsv(const ReviewTable& review, const PlateMeasurements& plate);

} // namespace movra
