#pragma once
// What each op code and each built-in function computes, as inline functions
// shared by the scalar routines and the array kernels, so that both produce
// bit-identical results. Faults are never exceptions here: they raise the
// floating-point exception flags (DIV and MOD raise them explicitly for a
// divisor that truncates to 0 and for conversions out of the 64-bit range).

#include <cfenv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <type_traits>

#include "parser/vector_math.h"

namespace movra {

enum class OpCode : std::uint8_t {
    PassThrough = 0,  // variable leaf, and the pass-through record
    Number = 1,
    Negate = 2,
    Add = 3,
    Subtract = 4,
    Multiply = 5,
    Divide = 6,
    Modulo = 7,
    IntDivide = 8,
    WholePower = 9,   // "^" with a whole constant exponent other than 2, 3, 4
    Power = 10,
    Square = 11,
    Cube = 12,
    FourthPower = 13,
    Function1 = 14,
    Function2 = 15,
};

using UnaryFunction = double (*)(double);
using BinaryFunction = double (*)(double, double);

namespace parser_detail {

// Integer powers and PH work in the x87 extended format where the platform has
// it, so that intermediate products overflow only where the result would.
using ExtendedFloat =
    std::conditional_t<std::numeric_limits<long double>::digits == 64, long double, double>;

inline constexpr ExtendedFloat kExtendedPi = static_cast<ExtendedFloat>(3.141592653589793238462643383279502884L);

// Truncates toward zero into a 64-bit integer; false when out of range or NaN.
inline bool TruncToInt64(double value, std::int64_t& truncated) noexcept
{
    if (!(value >= -0x1p63 && value < 0x1p63)) return false;
    truncated = static_cast<std::int64_t>(value);
    return true;
}

inline double Negate(double x) noexcept { return -x; }
inline double Add(double x, double y) noexcept { return x + y; }
inline double Subtract(double x, double y) noexcept { return x - y; }
inline double Multiply(double x, double y) noexcept { return x * y; }
inline double Divide(double x, double y) noexcept { return x / y; }

inline double IntDivide(double x, double y) noexcept
{
    std::int64_t dividend = 0;
    std::int64_t divisor = 0;
    if (!TruncToInt64(x, dividend) || !TruncToInt64(y, divisor)) {
        std::feraiseexcept(FE_INVALID);
        return 0.0;
    }
    if (divisor == 0) {
        std::feraiseexcept(FE_DIVBYZERO);
        return 0.0;
    }
    if (divisor == -1) return -static_cast<double>(dividend);  // the one quotient that overflows 64 bits
    return static_cast<double>(dividend / divisor);
}

inline double Modulo(double x, double y) noexcept
{
    std::int64_t dividend = 0;
    std::int64_t divisor = 0;
    if (!TruncToInt64(x, dividend) || !TruncToInt64(y, divisor)) {
        std::feraiseexcept(FE_INVALID);
        return 0.0;
    }
    if (divisor == 0) {
        std::feraiseexcept(FE_DIVBYZERO);
        return 0.0;
    }
    if (divisor == -1) return 0.0;
    return static_cast<double>(dividend % divisor);  // sign of the dividend
}

// x to the whole power n by repeated squaring over the bits of |n|.
inline double IntegerPowerOf(double x, std::int32_t n) noexcept
{
    if (n == 0) return 1.0;
    std::uint32_t bits = n < 0 ? 0u - static_cast<std::uint32_t>(n) : static_cast<std::uint32_t>(n);
    ExtendedFloat base = x;
    ExtendedFloat product = 1;
    for (;;) {
        if ((bits & 1u) != 0) product *= base;
        bits >>= 1;
        if (bits == 0) break;
        base *= base;
    }
    if (n < 0) product = 1 / product;
    return static_cast<double>(product);
}

// Code 9: the exponent truncated to 64 bits, its low 32 bits as signed.
inline double WholePower(double x, double y) noexcept
{
    std::int64_t exponent = 0;
    if (!TruncToInt64(y, exponent)) {
        std::feraiseexcept(FE_INVALID);
        return 0.0;
    }
    const auto low = static_cast<std::uint32_t>(static_cast<std::uint64_t>(exponent) & 0xFFFFFFFFu);
    return IntegerPowerOf(x, static_cast<std::int32_t>(low));
}

// Code 10. The general case is exp(y * ln(x)) worked in extended precision;
// in double precision the library's pow is the closer result (it keeps the
// error of y * ln(x) out of the exponent) and raises the same faults for
// finite operands. Infinite operands keep the literal form and its faults.
// PowerNeedsLibraryPow tells the cases the vector pow takes.
inline bool PowerNeedsLibraryPow(double x, double y) noexcept
{
    if (y == 0.0) return false;
    if (x == 0.0 && std::isgreater(y, 0.0)) return false;
    if (std::islessequal(std::fabs(y), 2147483647.0) &&
        static_cast<double>(static_cast<std::int32_t>(y)) == y)  // in range, truncates
        return false;
    return std::isfinite(x) && std::isfinite(y);
}

// Power without the library pow case (PowerNeedsLibraryPow false).
inline double PowerSpecialCase(double x, double y) noexcept
{
    if (y == 0.0) return 1.0;
    if (x == 0.0 && std::isgreater(y, 0.0)) return 0.0;
    if (std::islessequal(std::fabs(y), 2147483647.0)) {
        const auto whole = static_cast<std::int32_t>(y);  // in range, truncates
        if (static_cast<double>(whole) == y) return IntegerPowerOf(x, whole);
    }
    return std::exp(y * std::log(x));
}

inline double Power(double x, double y) noexcept
{
    return PowerNeedsLibraryPow(x, y) ? vector_math::Pow(x, y) : PowerSpecialCase(x, y);
}

inline double Square(double x) noexcept { return x * x; }
inline double Cube(double x) noexcept { return x * x * x; }
inline double FourthPower(double x) noexcept
{
    const double square = x * x;
    return square * square;
}

// Built-in functions. Comparisons are the quiet ones: a NaN argument passes
// through without raising a fault of its own.
inline double FnTan(double x) noexcept { return std::tan(x); }
inline double FnSin(double x) noexcept { return std::isgreaterequal(std::fabs(x), 0x1p63) ? 0.0 : std::sin(x); }
inline double FnCos(double x) noexcept { return std::isgreaterequal(std::fabs(x), 0x1p63) ? 0.0 : std::cos(x); }
inline double FnSinh(double x) noexcept { return std::sinh(x); }
inline double FnCosh(double x) noexcept { return std::cosh(x); }
inline double FnArcTan(double x) noexcept { return std::atan(x); }
inline double FnExp(double x) noexcept { return vector_math::Exp(x); }
inline double FnLn(double x) noexcept { return vector_math::Log(x); }
inline double FnSqrt(double x) noexcept { return std::sqrt(x); }
inline double FnAbs(double x) noexcept { return std::fabs(x); }
inline double FnHeav(double x) noexcept { return std::isless(x, 0.0) ? 0.0 : 1.0; }
inline double FnSign(double x) noexcept
{
    if (std::isless(x, 0.0)) return -1.0;
    if (std::isgreater(x, 0.0)) return 1.0;
    return 0.0;
}
inline double FnZero(double x) noexcept { return x == 0.0 ? 0.0 : 1.0; }

// Phase: u = x / 0.6366197723675814, (u - round(u)) * 2 * pi, ties to even.
inline double FnPh(double x) noexcept
{
    const ExtendedFloat u = static_cast<ExtendedFloat>(x) / static_cast<ExtendedFloat>(0.6366197723675814L);
    return static_cast<double>((u - std::nearbyint(u)) * 2 * kExtendedPi);
}

double NextUniformRandom() noexcept;  // [0, 1), see builtin_functions.cpp
inline double FnRnd(double x) noexcept { return std::trunc(x) * NextUniformRandom(); }

inline double FnMax(double x, double y) noexcept { return std::isgreaterequal(x, y) ? x : y; }
inline double FnMin(double x, double y) noexcept { return std::isgreaterequal(x, y) ? y : x; }

} // namespace parser_detail
} // namespace movra
