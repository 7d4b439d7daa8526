#include "fitting/fit_statistics.h"

#include <cmath>

#include "regression/fspec.h"
#include "shared/one_based.h"

namespace movra {

WellStatistics ComputeWellStatistics(const TVector& row, const FitQuality& quality)
{
    WellStatistics s;
    s.Points = quality.Points;
    s.FreeParameters = quality.FreeParameters;
    const double n = quality.FreeParameters;
    const double points = quality.Points;
    const double rss = row.at(0);
    const double df = points - n;
    s.RSquared = quality.RSquared;
    if (df > 0) {
        s.AdjustedRSquared = 1.0 - (1.0 - quality.RSquared) * (points - 1.0) / df;
        s.ResidualSD = std::sqrt(rss / df);
    }
    const double k = n + 1.0;
    if (points - k - 1.0 > 0 && rss > 0)
        s.AICc = points * std::log(rss / points) + 2.0 * k + 2.0 * k * (k + 1.0) / (points - k - 1.0);

    const double t = df > 0 ? StudentTwoTailedQuantile(static_cast<std::int32_t>(df), 1.0 - kConfidenceLevel)
                            : WellStatistics::kNone;
    for (int m = 1; m <= kMaxParameters; ++m) {
        if ((quality.Used & ParameterBit(m)) == 0) continue;
        const double value = At(row, m);
        const double half = (quality.Fixed & ParameterBit(m)) != 0 ? 0.0 : t * At(row, kMaxParameters + m);
        At(s.Lower, m) = value - half;
        At(s.Upper, m) = value + half;
    }
    return s;
}

} // namespace movra
