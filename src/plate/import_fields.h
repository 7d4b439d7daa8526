#pragma once
// The text rules of the SpectraMax plate-format reader: taking a line apart
// field by field, and turning cell, clock-time and block-count texts into
// numbers. None of them allocates on success; a text that does not convert
// raises ConversionError naming that text.

#include <cstdint>
#include <string_view>

#include "shared/conversion.h"

namespace movra {

// Returns the text before the first separator and removes it and the
// separator from line. Without a separator it returns an empty text and
// leaves line unchanged.
std::string_view SplitField(char separator, std::string_view& line) noexcept;

// Takes the next item of a list whose last item need not be followed by the
// separator: like SplitField, but without a separator the whole rest is the
// item (and line becomes empty).
std::string_view SplitListItem(char separator, std::string_view& line) noexcept;

inline constexpr double kSaturatedReading = 35000.0;  // "#Sat"
inline constexpr double kLowReading = 1.0;           // "#Low"

// A cell or number text: "#Sat" 35000, "#Low" 1, "Error" and "" 0; otherwise
// a decimal number where "," and "." both count as the decimal mark.
double ParseCellValue(std::string_view text);

// Non-throwing form: false when the text is not a number.
bool TryParseCellValue(std::string_view text, double& value) noexcept;

// A reading cell as instrument software writes it: what ParseCellValue
// reads, and also a cell of blanks (empty, 0) and the markers "???",
// "NoFit", "Range?", "Masked" and "NaN" (no value, 0 like "Error").
double ParseReadingValue(std::string_view text);

// A clock time in hours: "" is 0; longer than five characters h:m:s,
// otherwise m:s ("00:10:30" and "10:30" are both 0.175 h). A part that is
// not an integer raises ConversionError naming the whole text.
double ParseClockTime(std::string_view text);

// The block count of the "##BLOCKS=" line: scanning up to but not including
// the last character, a digit stays and any other character goes together
// with the one after it; the rest is a decimal integer ("" is 0).
std::int32_t DigitsToInt(std::string_view text);

} // namespace movra
