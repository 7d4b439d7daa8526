// A covariance that overflowed or became undefined shows as INF or NaN in
// the standard deviations, never as 0 or another plausible number.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "shared/matrices.h"
#include "regression/regression_statistics.h"

namespace movra {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

struct Tests {
    TVector s, t, prob;
};

Tests TestsOfDiagonal(std::initializer_list<double> diagonal)
{
    const auto n = static_cast<std::int32_t>(diagonal.size());
    TMatrix v;
    AllocMatrix(v, n, n);
    TVector b;
    AllocVector(b, n);
    std::int32_t i = 1;
    for (double d : diagonal) {
        v[static_cast<std::size_t>(i)][static_cast<std::size_t>(i)] = d;
        b[static_cast<std::size_t>(i)] = 2.0;
        ++i;
    }
    Tests tests;
    AllocVector(tests.s, n);
    AllocVector(tests.t, n);
    AllocVector(tests.prob, n);
    ComputeParameterTests(b, v, 20, 1, n, tests.s, tests.t, tests.prob);
    return tests;
}

TEST(NonFiniteCovariance, NaNVarianceGivesNaNDeviationNotZero)
{
    const Tests tests = TestsOfDiagonal({4.0, kNaN});
    EXPECT_EQ(tests.s[1], 2.0);
    EXPECT_TRUE(std::isnan(tests.s[2]));
    EXPECT_TRUE(std::isnan(tests.t[2]));
    EXPECT_TRUE(std::isnan(tests.prob[2]));
}

TEST(NonFiniteCovariance, InfiniteVarianceGivesInfiniteDeviation)
{
    const Tests tests = TestsOfDiagonal({kInf, -kInf});
    EXPECT_EQ(tests.s[1], kInf);
    EXPECT_TRUE(std::isnan(tests.t[1]));
    EXPECT_TRUE(std::isnan(tests.s[2]));
}

TEST(NonFiniteCovariance, FiniteNonPositiveVarianceKeepsZeroDeviation)
{
    const Tests tests = TestsOfDiagonal({0.0, -1.0});
    EXPECT_EQ(tests.s[1], 0.0);
    EXPECT_EQ(tests.s[2], 0.0);
    EXPECT_EQ(tests.prob[2], 0.0);
}

} // namespace
} // namespace movra
