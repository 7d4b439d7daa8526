#pragma once
// Guarded float functions: powers, 10^x, decimal logarithm and hyperbolic
// cosine that never fault. Out of their domain, at a pole or on overflow they
// return a defined value and record the reason in FloatStatus, which belongs
// to the calling thread (so independent fits on other threads never see it).

#include <cstdint>

#include "regression/float_constants.h"

namespace movra {

// Outcomes recorded in FloatStatus.
inline constexpr int FloatOk = 0;
inline constexpr int FloatDomain = -1;         // argument outside the domain
inline constexpr int FloatSingular = -2;       // pole, e.g. logarithm of 0
inline constexpr int FloatOverflow = -3;
inline constexpr int FloatUnderflow = -4;
inline constexpr int FloatNoConvergence = -6;  // a continued fraction ran out of passes

// The outcome of the last guarded function on this thread (FloatOk at start).
int FloatStatus() noexcept;
// Stores code as the outcome and returns value: every guarded result goes
// through here.
double SetFloatStatus(int code, double value) noexcept;

// 10^x; 0 with FloatUnderflow or HugeFloat with FloatOverflow out of range.
double SafeExp10(double x) noexcept;
// Decimal logarithm; -HugeFloat with FloatDomain (x < 0) or FloatSingular (x = 0).
double SafeLog10(double x) noexcept;
// x^y with 0^0 = 1; integral exponents by repeated squaring.
double SafePower(double x, double y) noexcept;
// x^n by repeated squaring on a base of magnitude at most 1.
double SafeIntPower(double x, std::int32_t n) noexcept;
// Hyperbolic cosine; HugeFloat with FloatOverflow outside the exponent range.
double SafeCosh(double x) noexcept;

// Small helpers.
inline constexpr double SignOfZero = 1.0;  // what SignOf returns for 0

inline double LargerOf(double a, double b) noexcept { return a > b ? a : b; }
inline std::int32_t SmallerInt(std::int32_t i, std::int32_t j) noexcept { return i < j ? i : j; }
inline double SignOf(double x) noexcept { return x > 0.0 ? 1.0 : (x < 0.0 ? -1.0 : SignOfZero); }
inline void ExchangeFloats(double& a, double& b) noexcept
{
    const double t = a;
    a = b;
    b = t;
}

} // namespace movra
