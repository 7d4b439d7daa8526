#include "regression/fmath.h"

#include <cmath>
#include <cstdlib>

namespace movra {

namespace {

// One status per thread: fits running in parallel keep their own.
thread_local int lastFloatStatus = FloatOk;

constexpr double Ln10 = 2.302585092994046;
constexpr double InvLn10 = 0.4342944819032518;

} // namespace

int FloatStatus() noexcept
{
    return lastFloatStatus;
}

double SetFloatStatus(int code, double value) noexcept
{
    lastFloatStatus = code;
    return value;
}

double SafeExp10(double x) noexcept
{
    SetFloatStatus(FloatOk, 0.0);
    const double l = x * Ln10;
    if (l < LowestExpArg) return SetFloatStatus(FloatUnderflow, 0.0);
    if (l > HighestExpArg) return SetFloatStatus(FloatOverflow, HugeFloat);
    return std::exp(l);
}

double SafeLog10(double x) noexcept
{
    SetFloatStatus(FloatOk, 0.0);
    if (x < 0.0) return SetFloatStatus(FloatDomain, -HugeFloat);
    if (x == 0.0) return SetFloatStatus(FloatSingular, -HugeFloat);
    return std::log(x) * InvLn10;
}

double SafeIntPower(double x, std::int32_t n) noexcept
{
    if (x == 0.0) {
        if (n == 0) return 1.0;
        if (n < 0) return SetFloatStatus(FloatSingular, HugeFloat);
        return 0.0;
    }
    if (n == 0) return 1.0;
    if (n == 1) return x;

    bool invert = n < 0;
    if (std::fabs(x) > 1.0) {
        // Work on a base of magnitude at most 1 so the loop cannot overflow.
        x = 1.0 / x;
        invert = n >= 0;
    }
    double r = 1.0;
    std::int64_t m = std::llabs(static_cast<std::int64_t>(n));
    while (m > 0) {
        if (m % 2 == 1) r *= x;
        x *= x;
        m /= 2;
    }
    if (invert) {
        if (std::fabs(r) < SmallestInvertible) return SetFloatStatus(FloatOverflow, SignOf(r) * HugeFloat);
        return 1.0 / r;
    }
    return r;
}

double SafePower(double x, double y) noexcept
{
    if (x == 0.0) {
        if (y == 0.0) return 1.0;
        if (y < 0.0) return SetFloatStatus(FloatSingular, HugeFloat);
        return 0.0;
    }
    if (y == 0.0) return 1.0;
    if (y == 1.0) return x;

    if (std::fabs(y) < IntegerExponentLimit && y == std::trunc(y))
        return SafeIntPower(x, static_cast<std::int32_t>(y));

    if (x > 0.0) {
        const double l = y * std::log(x);
        if (l < LowestExpArg) return SetFloatStatus(FloatUnderflow, 0.0);
        if (l > HighestExpArg) return SetFloatStatus(FloatOverflow, HugeFloat);
        return std::exp(l);
    }
    return SetFloatStatus(FloatDomain, 0.0);  // negative base, fractional exponent
}

double SafeCosh(double x) noexcept
{
    SetFloatStatus(FloatOk, 0.0);
    if (x < LowestExpArg || x > HighestExpArg) return SetFloatStatus(FloatOverflow, HugeFloat);
    const double e = std::exp(x);
    return (1.0 / e + e) * 0.5;
}

} // namespace movra
