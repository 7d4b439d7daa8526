#pragma once
// The plate layout file (.PLO): one line per plate row, each cell's text
// followed by one TAB, CR LF line ends, no header. The geometry is not
// stored; loading follows the plate that is loaded at the time.

#include <cstdint>
#include <stdexcept>
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

// A layout file is a few kilobytes; anything larger is not one.
inline constexpr std::uintmax_t kMaxLayoutFileBytes = std::uintmax_t{1} << 20;

// A layout file that cannot be applied; the message says why.
class LayoutFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Fills the plate's cells from the lines of a layout file: line r - 1 gives
// plate row r; a missing line or a field without its TAB reads as empty;
// extra lines and fields are ignored. The file is checked before any cell
// changes, and a refused file leaves the layout as it was:
//   "Line 2, cell 3: 'Sample999' is not a sample label Sample1 to Sample384!"
//   "The layout assigns no well of this 96-well plate!"
// (a label must be "Sample" and a number 1..384 written without sign or
// leading zeros; an empty, foreign or binary file assigns nothing).
void ApplyPlateLayoutLines(const TextLines& lines, PlateLayout& layout);

} // namespace movra
