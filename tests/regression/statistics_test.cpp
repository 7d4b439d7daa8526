// The statistics after a fit: quality measures with the degrees of freedom
// of their F test, the covariance scaled from the inverse normal matrix, and
// the parameter tests with degenerate and non-finite variances.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "fit_test_support.h"
#include "regression/float_constants.h"
#include "regression/regression_statistics.h"
#include "regression/stat.h"

namespace movra {
namespace {

using namespace test;

TEST(FitStatistics, QualityMeasuresAndTheFTestOfEachCase)
{
    // P(F(1, 2) > f) = 1 - √(f/(2+f)) and P(F(7, 2) > f) = 1 - (7f/(2+7f))^3.5.
    const double line = 26.45 / 0.15, ten = 96.22 / 7 / 0.66;
    struct Case { const char* Name; TVector Y, YFit; int LastPar; double Variance, R2, Adjusted, F, FProbability; };
    const Case cases[] = {
        {"line through four points", OneBased({3, 5, 7, 10}), OneBased({2.8, 5.1, 7.4, 9.7}), 2, 0.15, 26.45 / 26.75,
         1 - (1 - 26.45 / 26.75) * 3 / 2, line, 1 - std::sqrt(line / (2 + line))},
        {"ten points, eight parameters", OneBased({1, 3, 2, 5, 4, 6, 8, 7, 9, 12}),
         OneBased({1.2, 2.7, 2.3, 4.6, 4.4, 6.1, 7.6, 7.3, 9.4, 11.4}), 8, 0.66, 96.22 / 104.1,
         1 - (1 - 96.22 / 104.1) * 9 / 2, ten, 1 - std::pow(7 * ten / (2 + 7 * ten), 3.5)},
        {"as many parameters as points", OneBased({1, 2, 3, 4, 5, 6, 7, 9}), OneBased({1, 2, 3, 4, 5, 6, 7, 8}), 8, 0,
         1, 0, 0, 1},
        {"perfect fit", OneBased({1, 4, 2, 8, 5}), OneBased({1, 4, 2, 8, 5}), 2, 0, 1, 1, HugeFloat, 0},
        {"nothing explained", OneBased({1, 3, 1, 3}), Filled(4, 2.0), 2, 2.0, 0, -0.5, 0, 0},
        {"constant observations", Filled(5, 4.0), OneBased({3.9, 4.1, 4, 3.8, 4.2}), 2, 0.1 / 3, 0, 1 - 4.0 / 3, 0, 1},
        {"one parameter", OneBased({1, 2, 4}), OneBased({1.5, 2, 3.5}), 1, 0.25, 13.0 / 28, 13.0 / 28, 0, 1},
    };
    for (const Case& c : cases) {
        TMatrix v;
        AllocMatrix(v, c.LastPar, c.LastPar);
        for (int i = 1; i <= c.LastPar; ++i) v[i][i] = 3.0;
        if (c.LastPar > 1) v[1][2] = 0.5, v[2][1] = 123;  // [2][1] gets the mirrored upper triangle
        FitStatistics s;
        ComputeFitStatistics(c.Y, c.YFit, static_cast<int>(c.Y.size()) - 1, 1, c.LastPar, v, s);
        EXPECT_NEAR(s.ResidualVariance, c.Variance, 1e-14) << c.Name;
        EXPECT_NEAR(s.RSquared, c.R2, 1e-14) << c.Name;
        EXPECT_NEAR(s.AdjustedRSquared, c.Adjusted, 1e-14) << c.Name;
        EXPECT_NEAR(s.FRatio, c.F, 1e-12 * c.F) << c.Name;
        EXPECT_NEAR(s.FProbability, c.FProbability, 1e-14) << c.Name;
        EXPECT_NEAR(v[1][1], 3 * c.Variance, 1e-14) << c.Name;
        if (c.LastPar > 1) {
            EXPECT_TRUE(v[2][1] == v[1][2] && std::fabs(v[1][2] - 0.5 * c.Variance) < 1e-14) << c.Name;
        }
    }
    EXPECT_EQ(MeanOf(OneBased({1, 2}), 2, 1), 0.0);  // an empty range has mean 0
}

TEST(ParameterTests, DeviationRatioAndProbabilityOfEachKindOfVariance)
{
    // Five points and three parameters leave two degrees of freedom:
    // P(|T| > t) = 1 - t/√(t² + 2).
    const double nan = std::numeric_limits<double>::quiet_NaN(), inf = std::numeric_limits<double>::infinity();
    struct Case { double Variance, S, T, Prob; };
    const Case cases[] = {{4, 2, 3, 1 - 3 / std::sqrt(11.0)}, {0, 0, HugeFloat, 0}, {-1, 0, HugeFloat, 0},
                          {nan, nan, nan, nan}, {inf, inf, nan, nan}, {-inf, nan, nan, nan}};
    const auto same = [](double a, double b) { return a == b || (std::isnan(a) && std::isnan(b)) || std::fabs(a - b) < 1e-15; };
    for (const Case& c : cases) {
        TMatrix v;
        AllocMatrix(v, 3, 3);
        v[1][1] = v[3][3] = 1.0;
        v[2][2] = c.Variance;
        TVector s = Filled(3, 0), t = Filled(3, 0), prob = Filled(3, 0);
        ComputeParameterTests(OneBased({1, 6, 1}), v, 5, 1, 3, s, t, prob);
        EXPECT_TRUE(same(s[2], c.S) && same(t[2], c.T) && same(prob[2], c.Prob))
            << c.Variance << " gives " << s[2] << ", " << t[2] << ", " << prob[2];
    }
}

} // namespace
} // namespace movra
