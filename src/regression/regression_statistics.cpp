#include "regression/regression_statistics.h"

#include <cmath>
#include <limits>

#include "regression/float_constants.h"
#include "regression/fspec.h"
#include "regression/stat.h"

namespace movra {

namespace {
constexpr std::int32_t FirstPoint = 1;
}

void ComputeFitStatistics(const TVector& y, const TVector& yFit, std::int32_t n, std::int32_t firstPar,
                          std::int32_t lastPar, TMatrix& v, FitStatistics& stats)
{
    const std::int32_t nObs = n - FirstPoint + 1;
    const std::int32_t p = lastPar - firstPar + 1;

    if (p < nObs) {
        const double mean = MeanOf(y, FirstPoint, n);
        const double sst = SquaredDeviationSum(y, FirstPoint, n, mean);
        const double ssr = SquaredDeviationSum(yFit, FirstPoint, n, mean);
        const double sse = SquaredDifferenceSum(y, yFit, FirstPoint, n);
        const double residualDof = nObs - p;

        stats.RSquared = sst > 0.0 ? ssr / sst : 0.0;
        stats.AdjustedRSquared = 1.0 - (1.0 - stats.RSquared) * (nObs - 1) / residualDof;
        stats.ResidualVariance = sse / residualDof;
        if (p == 1 || sst == 0.0) {
            // No explained variation to test.
            stats.FRatio = 0.0;
            stats.FProbability = 1.0;
        } else if (stats.ResidualVariance > 0.0) {
            stats.FRatio = (ssr / (p - 1)) / stats.ResidualVariance;
            stats.FProbability = FisherUpperP(p - 1, nObs - p, stats.FRatio);
        } else {
            stats.FRatio = HugeFloat;
            stats.FProbability = 0.0;
        }
    } else {
        stats.ResidualVariance = 0.0;
        stats.RSquared = 1.0;
        stats.AdjustedRSquared = 0.0;
        stats.FRatio = 0.0;
        stats.FProbability = 1.0;
    }

    for (std::int32_t i = firstPar; i <= lastPar; ++i)
        for (std::int32_t j = i; j <= lastPar; ++j) {
            v[i][j] *= stats.ResidualVariance;
            v[j][i] = v[i][j];
        }
}

void ComputeParameterTests(const TVector& b, const TMatrix& v, std::int32_t nObs, std::int32_t firstPar,
                           std::int32_t lastPar, TVector& s, TVector& t, TVector& prob)
{
    const std::int32_t dof = nObs - FirstPoint + firstPar - lastPar;
    for (std::int32_t i = firstPar; i <= lastPar; ++i) {
        const double variance = v[i][i];
        if (!std::isfinite(variance)) {
            // A covariance that overflowed or lost its meaning must show as
            // such, never as a plausible deviation: +Inf gives INF, NaN and
            // -Inf give NaN, and there is no test.
            s[i] = variance > 0.0 ? variance : std::numeric_limits<double>::quiet_NaN();
            t[i] = std::numeric_limits<double>::quiet_NaN();
            prob[i] = std::numeric_limits<double>::quiet_NaN();
        } else if (variance > 0.0) {
            s[i] = std::sqrt(variance);
            t[i] = b[i] / s[i];
            prob[i] = StudentTwoTailedP(dof, t[i]);
        } else {
            s[i] = 0.0;
            t[i] = HugeFloat;
            prob[i] = 0.0;
        }
    }
}

} // namespace movra
