#pragma once
// Goodness of fit and confidence intervals of one fitted well, from what a
// fit files (its results row and its quality): N points, n free parameters,
// residual sum RSS.
//   R² = 1 - RSS / TSS (as the fit reports it)
//   adjusted R² = 1 - (1 - R²)(N - 1)/(N - n)
//   residual standard deviation = sqrt(RSS / (N - n))
//   AICc = N ln(RSS / N) + 2K + 2K(K + 1)/(N - K - 1), K = n + 1 (the
//          parameters and the residual variance)
//   95 % interval of a free parameter = value -/+ t(0.975, N - n) · sd, the
//          asymptotic interval from the standard deviation; a fixed
//          parameter's interval is its value.
// A quantity that needs more points than there are is NaN.

#include <array>
#include <limits>

#include "fitting/fit_results.h"
#include "shared/matrices.h"

namespace movra {

inline constexpr double kConfidenceLevel = 0.95;

struct WellStatistics {
    static constexpr double kNone = std::numeric_limits<double>::quiet_NaN();
    std::int32_t Points = 0;
    std::int32_t FreeParameters = 0;
    double RSquared = kNone;
    double AdjustedRSquared = kNone;
    double ResidualSD = kNone;
    double AICc = kNone;
    // By parameter number 1..8; NaN for parameters the formula does not use.
    std::array<double, 9> Lower{kNone, kNone, kNone, kNone, kNone, kNone, kNone, kNone, kNone};
    std::array<double, 9> Upper = Lower;
};

// row is the well's [ChiSq, m1..m8, std(m1)..std(m8)].
WellStatistics ComputeWellStatistics(const TVector& row, const FitQuality& quality);

} // namespace movra
