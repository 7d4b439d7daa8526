// Vector and matrix allocation, the range routines and the full-pivoting
// Gauss-Jordan solver.

#include <gtest/gtest.h>

#include <cmath>

#include "regression/float_constants.h"
#include "regression/linear_solver.h"
#include "shared/matrices.h"

namespace movra {
namespace {

TMatrix Square(std::initializer_list<std::initializer_list<double>> rows)
{
    // Rows and columns 1..n; row and column 0 stay 0.
    const int n = static_cast<int>(rows.size());
    TMatrix a;
    AllocMatrix(a, n, n);
    int i = 1;
    for (const auto& row : rows) {
        int j = 1;
        for (double value : row) a[i][j++] = value;
        ++i;
    }
    return a;
}

TVector Vector(std::initializer_list<double> values)
{
    TVector v;
    AllocVector(v, static_cast<int>(values.size()));
    int i = 1;
    for (double value : values) v[i++] = value;
    return v;
}

// --- Allocation and ranges ---------------------------------------------------

TEST(Allocation, NegativeUpperBoundGivesEmptyArrays)
{
    TVector v = {1, 2};
    AllocVector(v, -1);
    EXPECT_TRUE(v.empty());
    TIntVector iv = {3};
    AllocIntVector(iv, -1);
    EXPECT_TRUE(iv.empty());
    TMatrix a;
    AllocMatrix(a, 2, -1);
    EXPECT_TRUE(a.empty());
}

TEST(Allocation, UpperBoundZeroGivesOneZeroElement)
{
    TVector v = {5, 6, 7};
    AllocVector(v, 0);
    EXPECT_EQ(v, TVector{0.0});
}

TEST(Allocation, MatrixIsZeroFilledWithBothBoundsInclusive)
{
    TMatrix a;
    AllocMatrix(a, 2, 3);
    ASSERT_EQ(a.size(), 3u);
    for (const TVector& row : a) EXPECT_EQ(row, TVector(4, 0.0));
}

TEST(RangeRoutines, ExchangeRowsAndColumnsOverTheirRangeOnly)
{
    TMatrix a = Square({{1, 2, 3}, {4, 5, 6}, {7, 8, 9}});
    ExchangeRows(1, 3, a, 2, 3);
    EXPECT_EQ(a, Square({{1, 8, 9}, {4, 5, 6}, {7, 2, 3}}));
    ExchangeColumns(1, 2, a, 1, 2);
    EXPECT_EQ(a, Square({{8, 1, 9}, {5, 4, 6}, {7, 2, 3}}));
}

TEST(RangeRoutines, CopiesAndRowTransfers)
{
    TVector dest = Vector({0, 0, 0});
    CopyVectorRange(dest, Vector({1, 2, 3}), 2, 3);
    EXPECT_EQ(dest, Vector({0, 2, 3}));

    TMatrix m = Square({{0, 0}, {0, 0}});
    CopyMatrixRange(m, Square({{1, 2}, {3, 4}}), 1, 2, 2, 2);
    EXPECT_EQ(m, Square({{0, 2}, {0, 4}}));

    MatrixRowFromVector(m, Vector({7, 8}), 1, 2, 1);
    EXPECT_EQ(m[1], (TVector{0, 7, 8}));
    TVector row = Vector({0, 0});
    VectorFromMatrixRow(row, m, 2, 2, 2);
    EXPECT_EQ(row, Vector({0, 4}));
}

TEST(RangeRoutines, EmptyRangeDoesNothing)
{
    TVector dest = Vector({1, 2});
    CopyVectorRange(dest, Vector({5, 6}), 2, 1);
    EXPECT_EQ(dest, Vector({1, 2}));
    TMatrix a = Square({{1, 2}, {3, 4}});
    ExchangeRows(1, 2, a, 3, 2);
    EXPECT_EQ(a, Square({{1, 2}, {3, 4}}));
}

// --- SolveAndInvert -------------------------------------------------------------

TEST(SolveAndInvert, SwapMatrixIsItsOwnInverseWithDeterminantMinusOne)
{
    const TMatrix a = Square({{0, 1}, {1, 0}});
    TMatrix inverse;
    AllocMatrix(inverse, 2, 2);
    TVector x;
    AllocVector(x, 2);
    double det = 0;
    EXPECT_EQ(SolveAndInvert(a, Vector({3, 5}), 1, 2, inverse, x, det), MatrixOk);
    EXPECT_EQ(det, -1.0);
    EXPECT_EQ(inverse, a);
    EXPECT_EQ(x, Vector({5, 3}));
}

TEST(SolveAndInvert, GeneralSystemGivesInverseSolutionAndDeterminant)
{
    const TMatrix a = Square({{2, -1, 0.5}, {4, 3, -2}, {-1, 0.25, 5}});
    const TVector b = Vector({1, -2, 3});
    TMatrix inverse;
    AllocMatrix(inverse, 3, 3);
    TVector x;
    AllocVector(x, 3);
    double det = 0;
    ASSERT_EQ(SolveAndInvert(a, b, 1, 3, inverse, x, det), MatrixOk);
    // Cofactor expansion along the first row.
    const double expectedDet = 2 * (3 * 5 - (-2) * 0.25) - (-1) * (4 * 5 - (-2) * (-1)) + 0.5 * (4 * 0.25 - 3 * (-1));
    EXPECT_NEAR(det, expectedDet, 1e-12);
    for (int i = 1; i <= 3; ++i) {
        double ax = 0;
        for (int k = 1; k <= 3; ++k) ax += a[i][k] * x[k];
        EXPECT_NEAR(ax, b[i], 1e-12);
        for (int j = 1; j <= 3; ++j) {
            double product = 0;
            for (int k = 1; k <= 3; ++k) product += a[i][k] * inverse[k][j];
            EXPECT_NEAR(product, i == j ? 1.0 : 0.0, 1e-12);
        }
    }
    EXPECT_EQ(a, Square({{2, -1, 0.5}, {4, 3, -2}, {-1, 0.25, 5}}));  // inputs untouched
    EXPECT_EQ(b, Vector({1, -2, 3}));
}

TEST(SolveAndInvert, WorksOnAnyIndexRange)
{
    TMatrix a;
    AllocMatrix(a, 3, 3);
    a[2][2] = 4;
    a[3][3] = 2;
    a[0][0] = 99;  // outside the range
    TVector b;
    AllocVector(b, 3);
    b[2] = 8;
    b[3] = 1;
    TMatrix inverse;
    AllocMatrix(inverse, 3, 3);
    TVector x;
    AllocVector(x, 3);
    double det = 0;
    ASSERT_EQ(SolveAndInvert(a, b, 2, 3, inverse, x, det), MatrixOk);
    EXPECT_EQ(det, 8.0);
    EXPECT_EQ(x[2], 2.0);
    EXPECT_EQ(x[3], 0.5);
    EXPECT_EQ(inverse[2][2], 0.25);
    EXPECT_EQ(inverse[0][0], 0.0);
}

TEST(SolveAndInvert, PivotOfExactlyEpsilonIsAccepted)
{
    const TMatrix a = Square({{FloatEpsilon, 0}, {0, 1}});
    TMatrix inverse;
    AllocMatrix(inverse, 2, 2);
    TVector x;
    AllocVector(x, 2);
    double det = 0;
    EXPECT_EQ(SolveAndInvert(a, Vector({1, 1}), 1, 2, inverse, x, det), MatrixOk);
    EXPECT_EQ(det, FloatEpsilon);
}

TEST(SolveAndInvert, PivotJustBelowEpsilonIsSingular)
{
    const TMatrix a = Square({{std::nextafter(FloatEpsilon, 0.0), 0}, {0, 1}});
    TMatrix inverse;
    AllocMatrix(inverse, 2, 2);
    TVector x;
    AllocVector(x, 2);
    double det = 0;
    EXPECT_EQ(SolveAndInvert(a, Vector({1, 1}), 1, 2, inverse, x, det), MatrixSingular);
}

TEST(SolveAndInvert, NotANumberIsSingular)
{
    const TMatrix a = Square({{std::nan(""), 0}, {0, std::nan("")}});
    TMatrix inverse;
    AllocMatrix(inverse, 2, 2);
    TVector x;
    AllocVector(x, 2);
    double det = 0;
    EXPECT_EQ(SolveAndInvert(a, Vector({1, 1}), 1, 2, inverse, x, det), MatrixSingular);
}

TEST(SolveAndInvert, FirstOfEqualPivotsInRowMajorOrderWins)
{
    // Candidates [1][2] and [2][1] both have magnitude 1. Taking [1][2]
    // exchanges columns and leaves the right-hand side in place; taking
    // [2][1] would have exchanged its first two entries. The zero third row
    // stops the solver with that partial state.
    const TMatrix a = Square({{0, 1, 0}, {1, 0, 0}, {0, 0, 0}});
    TMatrix inverse;
    AllocMatrix(inverse, 3, 3);
    TVector x;
    AllocVector(x, 3);
    double det = 0;
    EXPECT_EQ(SolveAndInvert(a, Vector({3, 5, 7}), 1, 3, inverse, x, det), MatrixSingular);
    EXPECT_EQ(x, Vector({3, 5, 7}));
    EXPECT_EQ(det, -1.0);
}

TEST(SolveAndInvert, DiagonalCandidateKeepsItsPlaceOnEqualMagnitude)
{
    // |A[1][1]| equals every other magnitude: no exchange, so the partial
    // state after the first step has row 2 reduced by row 1.
    const TMatrix a = Square({{1, -1, 0}, {-1, 1, 0}, {0, 0, 0}});
    TMatrix inverse;
    AllocMatrix(inverse, 3, 3);
    TVector x;
    AllocVector(x, 3);
    double det = 0;
    EXPECT_EQ(SolveAndInvert(a, Vector({2, 5, 7}), 1, 3, inverse, x, det), MatrixSingular);
    EXPECT_EQ(x, Vector({2, 7, 7}));
    EXPECT_EQ(det, 1.0);
}

} // namespace
} // namespace movra
