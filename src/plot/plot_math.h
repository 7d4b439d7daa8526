#pragma once
// Rounding with ties to even, the rule every pixel and axis computation of
// the plot subsystem uses. Logarithmic axes use the guarded SafeLog10 and
// SafeExp10 of regression/fmath.h.

#include <cmath>
#include <cstdint>

namespace movra::plotmath {

// Nearest integer, halves to even (the default floating-point rounding mode).
// rint rather than nearbyint: the same result without saving and restoring
// the floating-point environment, which costs more than the rest of a redraw.
inline double RoundHalfEven(double x) noexcept
{
    return std::rint(x);
}

inline long double RoundHalfEven(long double x) noexcept
{
    return std::rint(x);
}

} // namespace movra::plotmath
