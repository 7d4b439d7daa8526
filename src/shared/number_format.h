#pragma once
// The general number format used wherever the program shows a number in a
// grid, label, edit box or progress line: up to 15 significant digits, fixed
// notation for magnitudes from 0.0001 up to below 1E15 ("100", "0.001"),
// scientific otherwise with a bare "E", a minus only when negative and no
// leading exponent zeros ("1E20", "-1E20", "1E-5", "1.5E15").

#include <string>

#include "shared/user_locale.h"

namespace movra {

// Writes value in the general format with the given decimal separator.
std::string FormatGeneral(double value, char decimalSeparator);

// Same, with the user's locale decimal separator.
inline std::string FormatGeneral(double value)
{
    return FormatGeneral(value, UserLocale::decimalSeparator());
}

} // namespace movra
