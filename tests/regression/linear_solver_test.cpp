// The full-pivoting Gauss-Jordan solver: solution, inverse and determinant
// over any index range, the pivot threshold, and which of equal pivots wins.

#include <gtest/gtest.h>

#include <cmath>

#include "fit_test_support.h"
#include "regression/float_constants.h"
#include "regression/linear_solver.h"

namespace movra {
namespace {

using namespace test;

// Rows and columns 1..n; row and column 0 stay 0.
TMatrix Square(std::initializer_list<std::initializer_list<double>> rows)
{
    TMatrix a(1, TVector(rows.size() + 1, 0.0));
    for (const auto& row : rows) a.push_back(OneBased(row));
    return a;
}

struct Solution {
    int Status = 0;
    TMatrix Inverse;
    TVector X;
    double Det = 0.0;
};

Solution Solve(const TMatrix& a, const TVector& b, int lb)
{
    Solution s{0, TMatrix(b.size(), TVector(b.size(), 0.0)), TVector(b.size(), 0.0)};
    s.Status = SolveAndInvert(a, b, lb, static_cast<int>(b.size()) - 1, s.Inverse, s.X, s.Det);
    return s;
}

TEST(SolveAndInvert, GivesSolutionInverseAndDeterminantAndLeavesItsInputs)
{
    struct Case { TMatrix A; TVector B; int Lb; double Det; };
    const Case cases[] = {
        {Square({{0, 1}, {1, 0}}), OneBased({3, 5}), 1, -1.0},
        {Square({{2, -1, 0.5}, {4, 3, -2}, {-1, 0.25, 5}}), OneBased({1, -2, 3}), 1, 51.0},
        {Square({{99, 7, 7}, {7, 4, 0}, {7, 0, 2}}), OneBased({1, 8, 1}), 2, 8.0},  // row and column 1 outside
        {Square({{FloatEpsilon, 0}, {0, 1}}), OneBased({1, 1}), 1, FloatEpsilon},   // the smallest pivot accepted
    };
    for (const Case& c : cases) {
        const TMatrix a = c.A;
        const TVector b = c.B;
        const Solution s = Solve(a, b, c.Lb);
        ASSERT_EQ(s.Status, MatrixOk) << "determinant " << c.Det;
        EXPECT_NEAR(s.Det, c.Det, 1e-12 * std::fabs(c.Det)) << c.Det;
        // A·X = B (column lb - 1) and A·A⁻¹ = I over lb..n.
        const std::size_t lb = c.Lb;
        for (std::size_t i = lb; i < b.size(); ++i)
            for (std::size_t j = lb - 1; j < b.size(); ++j) {
                double product = 0;
                for (std::size_t k = lb; k < b.size(); ++k) product += a[i][k] * (j < lb ? s.X[k] : s.Inverse[k][j]);
                EXPECT_NEAR(product, j < lb ? b[i] : i == j ? 1.0 : 0.0, 1e-12) << c.Det << " at " << i << ", " << j;
            }
        EXPECT_TRUE(a == c.A && b == c.B);
    }
}

TEST(SolveAndInvert, StopsAtAPivotBelowEpsilonAndTakesTheFirstOfEqualPivots)
{
    // A zero third row stops the solver after the first step, so the partial
    // right-hand side and determinant show which pivot was taken: [1][2]
    // exchanges columns only, [2][1] would have exchanged rows; on the
    // diagonal nothing is exchanged and row 2 is reduced by row 1.
    struct Case { TMatrix A; TVector X; double Det; };
    const Case cases[] = {{Square({{0, 1, 0}, {1, 0, 0}, {0, 0, 0}}), OneBased({3, 5, 7}), -1.0},
                          {Square({{1, -1, 0}, {-1, 1, 0}, {0, 0, 0}}), OneBased({3, 8, 7}), 1.0},
                          {Square({{std::nextafter(FloatEpsilon, 0.0), 0, 0}, {0, 0, 0}, {0, 0, 0}}), OneBased({3, 5, 7}), 1.0},
                          {Square({{std::nan(""), 0, 0}, {0, std::nan(""), 0}, {0, 0, 0}}), OneBased({3, 5, 7}), 1.0}};
    for (const Case& c : cases) {
        const Solution s = Solve(c.A, OneBased({3, 5, 7}), 1);
        EXPECT_EQ(std::tuple(s.Status, s.X, s.Det), std::tuple(MatrixSingular, c.X, c.Det));
    }
}

} // namespace
} // namespace movra
