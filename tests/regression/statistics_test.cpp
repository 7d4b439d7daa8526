// The descriptive sums and the statistics after a fit: quality measures, the
// scaled covariance, and the parameter tests, with their degenerate cases.

#include <gtest/gtest.h>

#include <cmath>

#include "fit_test_support.h"
#include "regression/float_constants.h"
#include "regression/fspec.h"
#include "regression/regression_statistics.h"
#include "regression/stat.h"

namespace movra {
namespace {

using test::Filled;
using test::OneBased;

TEST(DescriptiveSums, OverInclusiveRanges)
{
    const TVector x = OneBased({1, 2, 3, 6});
    EXPECT_EQ(MeanOf(x, 1, 4), 3.0);
    EXPECT_EQ(MeanOf(x, 2, 3), 2.5);
    EXPECT_EQ(SquaredDeviationSum(x, 1, 4, 3.0), 4 + 1 + 0 + 9);
    EXPECT_EQ(SquaredDifferenceSum(x, OneBased({0, 2, 5, 6}), 1, 4), 1 + 0 + 4 + 0);
}

TEST(DescriptiveSums, EmptyRangeGivesZero)
{
    const TVector x = OneBased({1, 2});
    EXPECT_EQ(MeanOf(x, 2, 1), 0.0);
    EXPECT_EQ(SquaredDeviationSum(x, 2, 1, 5.0), 0.0);
    EXPECT_EQ(SquaredDifferenceSum(x, x, 3, 1), 0.0);
}

TMatrix Identity(int n, double value = 1.0)
{
    TMatrix v;
    AllocMatrix(v, 8, 8);
    for (int i = 1; i <= n; ++i) v[i][i] = value;
    return v;
}

TEST(FitStatistics, LineThroughFourPoints)
{
    // The least-squares line 0.5 + 2.3x through (1,3), (2,5), (3,7), (4,10):
    // mean 6.25, SST 26.75, SSR 26.45, SSE 0.3.
    const TVector y = OneBased({3, 5, 7, 10});
    const TVector yFit = OneBased({2.8, 5.1, 7.4, 9.7});
    TMatrix v = Identity(2);
    v[1][2] = 0.5;
    v[2][1] = 123;  // replaced by the mirrored upper triangle
    FitStatistics stats;
    ComputeFitStatistics(y, yFit, 4, 1, 2, v, stats);
    EXPECT_NEAR(stats.ResidualVariance, 0.3 / 2, 1e-14);
    EXPECT_NEAR(stats.RSquared, 26.45 / 26.75, 1e-14);
    EXPECT_NEAR(stats.AdjustedRSquared, 1 - (1 - 26.45 / 26.75) * 3 / 2, 1e-14);
    EXPECT_NEAR(stats.FRatio, 26.45 / 0.15, 1e-10);
    EXPECT_EQ(stats.FProbability, FisherUpperP(1, 2, stats.FRatio));
    EXPECT_NEAR(v[1][1], stats.ResidualVariance, 1e-15);
    EXPECT_NEAR(v[1][2], 0.5 * stats.ResidualVariance, 1e-15);
    EXPECT_EQ(v[2][1], v[1][2]);
}

TEST(FitStatistics, AsManyParametersAsPointsGivesFixedValuesAndZeroCovariance)
{
    const TVector y = OneBased({1, 2, 3, 4, 5, 6, 7, 9});
    const TVector yFit = OneBased({1, 2, 3, 4, 5, 6, 7, 8});
    TMatrix v = Identity(8, 3.0);
    FitStatistics stats;
    ComputeFitStatistics(y, yFit, 8, 1, 8, v, stats);
    EXPECT_EQ(stats.ResidualVariance, 0.0);
    EXPECT_EQ(stats.RSquared, 1.0);
    EXPECT_EQ(stats.AdjustedRSquared, 0.0);
    EXPECT_EQ(stats.FRatio, 0.0);
    EXPECT_EQ(stats.FProbability, 1.0);
    for (int i = 1; i <= 8; ++i)
        for (int j = 1; j <= 8; ++j) EXPECT_EQ(v[i][j], 0.0);

    TVector s, t, prob;
    AllocVector(s, 8);
    AllocVector(t, 8);
    AllocVector(prob, 8);
    ComputeParameterTests(Filled(8, 1.0), v, 8, 1, 8, s, t, prob);
    for (int i = 1; i <= 8; ++i) {
        EXPECT_EQ(s[i], 0.0);
        EXPECT_EQ(t[i], HugeFloat);
        EXPECT_EQ(prob[i], 0.0);
    }
}

TEST(FitStatistics, PerfectFitHasHugeRatioAndZeroProbability)
{
    const TVector y = OneBased({1, 4, 2, 8, 5});
    TMatrix v = Identity(2);
    FitStatistics stats;
    ComputeFitStatistics(y, y, 5, 1, 2, v, stats);
    EXPECT_EQ(stats.ResidualVariance, 0.0);
    EXPECT_EQ(stats.RSquared, 1.0);
    EXPECT_EQ(stats.FRatio, HugeFloat);
    EXPECT_EQ(stats.FProbability, 0.0);
}

TEST(FitStatistics, NoExplainedVariationGivesZeroRatioAndZeroProbability)
{
    const TVector y = OneBased({1, 3, 1, 3});
    const TVector yFit = Filled(4, 2.0);  // the mean: SSR = 0
    TMatrix v = Identity(2);
    FitStatistics stats;
    ComputeFitStatistics(y, yFit, 4, 1, 2, v, stats);
    EXPECT_GT(stats.ResidualVariance, 0.0);
    EXPECT_EQ(stats.FRatio, 0.0);
    EXPECT_EQ(stats.FProbability, 0.0);  // FisherUpperP of a zero ratio
}

TEST(FitStatistics, ConstantObservationsHaveZeroRSquaredAndNoFTest)
{
    const TVector y = Filled(5, 4.0);
    const TVector yFit = OneBased({3.9, 4.1, 4.0, 3.8, 4.2});
    TMatrix v = Identity(2);
    FitStatistics stats;
    ComputeFitStatistics(y, yFit, 5, 1, 2, v, stats);
    EXPECT_EQ(stats.RSquared, 0.0);
    EXPECT_NEAR(stats.AdjustedRSquared, 1.0 - 4.0 / 3.0, 1e-15);
    EXPECT_NEAR(stats.ResidualVariance, 0.1 / 3, 1e-15);
    EXPECT_EQ(stats.FRatio, 0.0);
    EXPECT_EQ(stats.FProbability, 1.0);
    EXPECT_NEAR(v[1][1], 0.1 / 3, 1e-15);
}

TEST(FitStatistics, SingleParameterHasNoFTest)
{
    const TVector y = OneBased({1, 2, 4});
    const TVector yFit = OneBased({1.5, 2, 3.5});
    TMatrix v = Identity(1);
    FitStatistics stats;
    ComputeFitStatistics(y, yFit, 3, 1, 1, v, stats);
    EXPECT_NEAR(stats.ResidualVariance, 0.25, 1e-15);
    EXPECT_GT(stats.RSquared, 0.0);
    EXPECT_EQ(stats.FRatio, 0.0);
    EXPECT_EQ(stats.FProbability, 1.0);
}

TEST(FitStatistics, TenPointsAndEightParametersUseSevenAndTwoDegrees)
{
    const TVector y = OneBased({1, 3, 2, 5, 4, 6, 8, 7, 9, 12});
    const TVector yFit = OneBased({1.2, 2.7, 2.3, 4.6, 4.4, 6.1, 7.6, 7.3, 9.4, 11.4});
    TMatrix v = Identity(8, 0.5);
    FitStatistics stats;
    ComputeFitStatistics(y, yFit, 10, 1, 8, v, stats);
    EXPECT_EQ(stats.FProbability, FisherUpperP(7, 2, stats.FRatio));

    TVector b = OneBased({1, -2, 3, 0.5, 4, 5, 6, 7});
    TVector s, t, prob;
    AllocVector(s, 8);
    AllocVector(t, 8);
    AllocVector(prob, 8);
    ComputeParameterTests(b, v, 10, 1, 8, s, t, prob);
    for (int i = 1; i <= 8; ++i) {
        EXPECT_DOUBLE_EQ(s[i], std::sqrt(0.5 * stats.ResidualVariance));
        EXPECT_DOUBLE_EQ(t[i], b[i] / s[i]);
        EXPECT_NEAR(prob[i], 1 - std::fabs(t[i]) / std::sqrt(t[i] * t[i] + 2), 1e-14);
    }
}

TEST(ParameterTests, ZeroOrNegativeVarianceGivesZeroDeviation)
{
    TMatrix v = Identity(3, 4.0);
    v[2][2] = 0.0;
    v[3][3] = -1.0;
    TVector s, t, prob;
    AllocVector(s, 3);
    AllocVector(t, 3);
    AllocVector(prob, 3);
    ComputeParameterTests(OneBased({6, 6, 6}), v, 12, 1, 3, s, t, prob);
    EXPECT_EQ(s[1], 2.0);
    EXPECT_EQ(t[1], 3.0);
    EXPECT_EQ(prob[1], StudentTwoTailedP(9, 3.0));
    for (int i = 2; i <= 3; ++i) {
        EXPECT_EQ(s[i], 0.0);
        EXPECT_EQ(t[i], HugeFloat);
        EXPECT_EQ(prob[i], 0.0);
    }
}

} // namespace
} // namespace movra
