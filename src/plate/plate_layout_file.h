#pragma once
// The plate layout file (.PLO): one line per plate row, each cell's text
// followed by one TAB, CR LF line ends, no header. The geometry is not
// stored; loading follows the plate that is loaded at the time.

#include <string>
#include <string_view>
#include <vector>

#include "plate/plate_layout.h"
#include "plate/text_lines.h"

namespace movra {

// The lines of a layout file for the layout's current plate geometry.
std::vector<std::string> PlateLayoutLines(const PlateLayout& layout);

// The file's text: every line followed by CR LF.
std::string PlateLayoutFileText(const PlateLayout& layout);

// Fills the plate's cells from the lines of a layout file: line r - 1 gives
// plate row r; a missing line or a field without its TAB reads as empty;
// extra lines and fields are ignored. Every label is checked before any cell
// changes: a non-empty cell that is not "Sample" + integer throws
// ConversionError and leaves the layout as it was.
void ApplyPlateLayoutLines(const TextLines& lines, PlateLayout& layout);

} // namespace movra
