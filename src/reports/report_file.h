#pragma once
// The report table as a file the user saves: TAB-separated (.tsv and any
// other name) or comma-separated (.csv, by the name's extension in any
// case), UTF-8, every row ended by a line feed. TSV fields go out as they
// are, like the clipboard's; a CSV field holding a comma, a quote or a line
// break is quoted with its quotes doubled (RFC 4180), so a decimal comma
// stays inside its cell.

#include <string>
#include <string_view>

#include "reports/string_table.h"

namespace movra {

enum class ReportFileFormat { Tsv, Csv };

ReportFileFormat ReportFormatOfFileName(std::string_view fileName);

// Rows 0..RowCount-1, columns 0..ColCount-1 of the grid.
std::string ReportFileText(const StringTable& grid, ReportFileFormat format);

} // namespace movra
