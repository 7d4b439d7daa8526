#include "regression/stat.h"

namespace movra {

double MeanOf(const TVector& x, int lb, int ub)
{
    if (lb > ub) return 0.0;
    double sum = 0.0;
    for (int i = lb; i <= ub; ++i) sum += x[i];
    return sum / (ub - lb + 1);
}

double SquaredDeviationSum(const TVector& x, int lb, int ub, double m)
{
    double sum = 0.0;
    for (int i = lb; i <= ub; ++i) {
        const long double d = static_cast<long double>(x[i]) - m;
        sum = static_cast<double>(sum + d * d);
    }
    return sum;
}

double SquaredDifferenceSum(const TVector& x, const TVector& y, int lb, int ub)
{
    double sum = 0.0;
    for (int i = lb; i <= ub; ++i) {
        const long double d = static_cast<long double>(x[i]) - y[i];
        sum = static_cast<double>(sum + d * d);
    }
    return sum;
}

} // namespace movra
