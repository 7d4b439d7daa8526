#pragma once
// Special functions behind the regression statistics: the two-tailed
// probability of Student's t and the upper tail of Fisher's variance ratio,
// both through the regularised incomplete beta function, which needs the gamma
// function and its logarithm. Domain problems return a defined value and set
// FloatStatus (regression/fmath.h); nothing throws.

#include <cstdint>

namespace movra {

// P(|T| >= |t|) for Student's t with nu degrees of freedom; 0 with
// FloatDomain when nu < 1.
double StudentTwoTailedP(std::int32_t nu, double t) noexcept;

// The t with P(|T| >= t) = alpha (two-tailed) for nu degrees of freedom,
// such as 12.706 for alpha 0.05 and nu 1: the inverse of StudentTwoTailedP,
// found by bisection to the last bit. NaN unless nu >= 1 and 0 < alpha < 1.
double StudentTwoTailedQuantile(std::int32_t nu, double alpha) noexcept;

// P(F' > f) for a variance ratio with (nu1, nu2) degrees of freedom; 0 with
// FloatDomain unless nu1 >= 1, nu2 >= 1 and f > 0.
double FisherUpperP(std::int32_t nu1, std::int32_t nu2, double f) noexcept;

// The regularised incomplete beta function I_x(a, b).
double IncompleteBetaRatio(double a, double b, double x) noexcept;

// Gamma function and the natural logarithm of its absolute value.
double GammaFunction(double x) noexcept;
double LogGammaFunction(double x) noexcept;

} // namespace movra
