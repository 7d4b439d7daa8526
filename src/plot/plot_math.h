#pragma once
// Small numeric helpers of the plot subsystem: rounding with ties to even
// (the rule every pixel and axis computation uses) and the guarded decimal
// logarithm and power used on logarithmic axes, which never fault: a
// non-positive argument gives -HugeFloat, an overflowing power HugeFloat.

#include <cmath>
#include <cstdint>

namespace movra::plotmath {

inline constexpr double kHugeFloat = 1.797693134862315e308;
inline constexpr double kLowestExpArg = -708.3964185322641;
inline constexpr double kHighestExpArg = 709.782712893384;

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

inline double SafeLog10(double x) noexcept
{
    if (x <= 0.0) {
        return -kHugeFloat;
    }
    return std::log(x) * 0.4342944819032518;
}

inline double SafeExp10(double x) noexcept
{
    const double l = x * 2.302585092994046;
    if (l < kLowestExpArg) {
        return 0.0;
    }
    if (l > kHighestExpArg) {
        return kHugeFloat;
    }
    return std::exp(l);
}

} // namespace movra::plotmath
