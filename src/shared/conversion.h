#pragma once
// Plain text-to-number conversion, as the platform converts typed text:
// decimal integers, and decimal floats with the locale's decimal separator
// and an optional exponent. A text that is not a number raises
// ConversionError, whose message names the offending text; callers let it
// reach the user unchanged.

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

#include "shared/user_locale.h"

namespace movra {

class ConversionError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Decimal integer with optional sign and surrounding blanks; must fit 32 bits.
std::int32_t StrToInt(std::string_view text);

// Decimal float with the given decimal separator: optional blanks, sign,
// digits with at most one separator, optional exponent (E or e, sign, digits).
double StrToFloat(std::string_view text, char decimalSeparator);

inline double StrToFloat(std::string_view text)
{
    return StrToFloat(text, UserLocale::decimalSeparator());
}

// Non-throwing form for hot paths: false when the text is not a number.
bool TryStrToFloat(std::string_view text, char decimalSeparator, double& value) noexcept;

} // namespace movra
