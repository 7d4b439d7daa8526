#pragma once
// Floating-point constants of the regression engine: the pivot and tolerance
// floor, the value returned on overflow or at a pole, and the argument range
// in which the exponential gives a normal, finite double.

#include <bit>
#include <cstdint>

namespace movra {

inline constexpr double FloatEpsilon = 2.220446049250313e-16;  // 2^-52
// Slightly below the largest double (bit pattern 7FEFFFFFFFFFFFFB).
inline constexpr double HugeFloat = std::bit_cast<double>(std::uint64_t{0x7FEFFFFFFFFFFFFB});
inline constexpr double LowestExpArg = -708.3964185322641;
inline constexpr double HighestExpArg = 709.782712893384;
// Below this magnitude a reciprocal overflows (2^-1024).
inline constexpr double SmallestInvertible = 0x1p-1024;  // 5.56268464626801e-309
// SafePower takes the repeated-squaring path for integral exponents below it.
inline constexpr double IntegerExponentLimit = 2147483647.0;
// The largest argument of the gamma function before overflow.
inline constexpr double GammaArgumentLimit = 171.624376956302;
// Square root of FloatEpsilon (2^-26): derivative step factor and line-search
// tolerance floor.
inline constexpr double SqrtFloatEpsilon = 1.4901161193847656e-8;

} // namespace movra
