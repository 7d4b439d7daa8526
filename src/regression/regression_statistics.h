#pragma once
// Statistics after a successful fit: the quality of the fit (residual
// variance, R², adjusted R², variance ratio and its probability), the
// parameter covariance scaled from the minimiser's inverse normal matrix, and
// each parameter's standard deviation, t ratio and two-tailed probability.
// Data points are used over 1..N.

#include <cstdint>

#include "shared/matrices.h"

namespace movra {

struct FitStatistics {
    double ResidualVariance = 0.0;  // SSE / (Nobs - P)
    double RSquared = 0.0;          // SSR / SST
    double AdjustedRSquared = 0.0;  // 1 - (1 - R²)(Nobs - 1)/(Nobs - P)
    double FRatio = 0.0;            // (SSR / (P - 1)) / ResidualVariance
    double FProbability = 0.0;      // P(F(P - 1, Nobs - P) > FRatio)
};

// Y and Yfit over 1..n; P = lastPar - firstPar + 1. Scales v in place over
// firstPar..lastPar by the residual variance (upper triangle, mirrored), so
// that it becomes the parameter covariance, and writes stats.
// Without variation in Y (SST = 0) R² is 0; with a single parameter or
// without variation there is no F test (FRatio 0, FProbability 1).
void ComputeFitStatistics(const TVector& y, const TVector& yFit, std::int32_t n, std::int32_t firstPar,
                          std::int32_t lastPar, TMatrix& v, FitStatistics& stats);

// Standard deviations s, t ratios t and two-tailed probabilities prob over
// firstPar..lastPar from the covariance v, with nObs - P degrees of freedom.
// A parameter without positive variance gets s 0, t HugeFloat, prob 0; a
// non-finite variance gives s INF (for +Inf) or NaN, with t and prob NaN.
void ComputeParameterTests(const TVector& b, const TMatrix& v, std::int32_t nObs, std::int32_t firstPar,
                           std::int32_t lastPar, TVector& s, TVector& t, TVector& prob);

} // namespace movra
