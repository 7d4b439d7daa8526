// The numeric building blocks of the regression. The full-pivoting
// Gauss-Jordan solver: solution, inverse and determinant over any index
// range, the pivot threshold, and which of equal pivots wins. The guarded
// float functions and the special functions: the value of each
// special case outside the domain and the FloatStatus it leaves, which
// belongs to the calling thread; the incomplete beta function and the
// distributions built on it against closed forms that share nothing with the
// implementation, with x on both sides of the mean a/(a+b) and b·x on both
// sides of 1 so that every evaluation path is taken; and the logarithm of the
// gamma function. The statistics after a fit: quality measures with the
// degrees of freedom of their F test, the covariance scaled from the inverse
// normal matrix, and the parameter tests with degenerate and non-finite
// variances.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <functional>
#include <limits>
#include <numbers>
#include <thread>
#include <vector>

#include "fit_test_support.h"
#include "regression/float_constants.h"
#include "regression/fmath.h"
#include "regression/fspec.h"
#include "regression/linear_solver.h"
#include "regression/regression_statistics.h"
#include "regression/stat.h"

namespace movra {
namespace {

using namespace test;
using std::numbers::pi;

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

TEST(SolveAndInvert, GivesSolutionInverseAndDeterminantOverTheIndexRange)
{
    struct Case { TMatrix A; TVector B; int Lb; double Det; };
    const Case cases[] = {
        {Square({{0, 1}, {1, 0}}), OneBased({3, 5}), 1, -1.0},
        {Square({{2, -1, 0.5}, {4, 3, -2}, {-1, 0.25, 5}}), OneBased({1, -2, 3}), 1, 51.0},
        {Square({{99, 7, 7}, {7, 4, 0}, {7, 0, 2}}), OneBased({1, 8, 1}), 2, 8.0},  // row and column 1 outside
        {Square({{FloatEpsilon, 0}, {0, 1}}), OneBased({1, 1}), 1, FloatEpsilon},   // the smallest pivot accepted
    };
    for (const auto& [a, b, first, det] : cases) {
        const Solution s = Solve(a, b, first);
        ASSERT_EQ(s.Status, MatrixOk) << "determinant " << det;
        EXPECT_NEAR(s.Det, det, 1e-12 * std::fabs(det)) << det;
        // A·X = B (column lb - 1) and A·A⁻¹ = I over lb..n.
        const std::size_t lb = first;
        for (std::size_t i = lb; i < b.size(); ++i)
            for (std::size_t j = lb - 1; j < b.size(); ++j) {
                double product = 0;
                for (std::size_t k = lb; k < b.size(); ++k) product += a[i][k] * (j < lb ? s.X[k] : s.Inverse[k][j]);
                EXPECT_NEAR(product, j < lb ? b[i] : i == j ? 1.0 : 0.0, 1e-12) << det << " at " << i << ", " << j;
            }
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

constexpr int Unchanged = 99;  // the status set before each call
struct GuardedCase { const char* Call; std::function<double()> Run; double Expected; int Status; };
#define GUARDED(call, expected, status) GuardedCase{#call, [] { return call; }, expected, status}

TEST(GuardedFunctions, SpecialCasesGiveTheirValueAndStatus)
{
    const GuardedCase cases[] = {
        GUARDED(SafePower(0, 0), 1.0, Unchanged), GUARDED(SafePower(0, 2.5), 0.0, Unchanged),
        GUARDED(SafePower(0, -1), HugeFloat, FloatSingular), GUARDED(SafePower(-8, 1.0 / 3.0), 0.0, FloatDomain),
        GUARDED(SafePower(-7.25, 1), -7.25, Unchanged), GUARDED(SafePower(-2, 3), -8.0, Unchanged),
        GUARDED(SafePower(2, -2), 0.25, Unchanged), GUARDED(SafePower(2, 0.5), std::sqrt(2.0), Unchanged),
        GUARDED(SafePower(10, 400.5), HugeFloat, FloatOverflow), GUARDED(SafePower(10, -400.5), 0.0, FloatUnderflow),
        // A base above 1 is inverted before the loop: 0.1^400 underflows to 0, no reciprocal.
        GUARDED(SafeIntPower(10, -400), 0.0, Unchanged),
        // 0.1^400 underflows below 2^-1024 and cannot be inverted; SignOf(-0) is 1.
        GUARDED(SafeIntPower(0.1, -400), HugeFloat, FloatOverflow),
        GUARDED(SafeIntPower(-0.1, -401), HugeFloat, FloatOverflow),
        GUARDED(SafeIntPower(0, -3), HugeFloat, FloatSingular), GUARDED(SafeIntPower(2, -10), 1.0 / 1024, Unchanged),
        GUARDED(SafeIntPower(3, 4), 81.0, Unchanged), GUARDED(SafeIntPower(-1, INT32_MIN), 1.0, Unchanged),
        GUARDED(SafeExp10(2), 100.0, FloatOk), GUARDED(SafeExp10(309), HugeFloat, FloatOverflow),
        GUARDED(SafeExp10(-308), 0.0, FloatUnderflow), GUARDED(SafeLog10(1000), 3.0, FloatOk),
        GUARDED(SafeLog10(0), -HugeFloat, FloatSingular), GUARDED(SafeLog10(-1), -HugeFloat, FloatDomain),
        GUARDED(SafeCosh(2), std::cosh(2.0), FloatOk), GUARDED(SafeCosh(HighestExpArg), std::cosh(HighestExpArg), FloatOk),
        GUARDED(SafeCosh(710), HugeFloat, FloatOverflow), GUARDED(SafeCosh(-709), HugeFloat, FloatOverflow),
        GUARDED(IncompleteBetaRatio(2, 3, 1.5), 1.0, FloatDomain), GUARDED(IncompleteBetaRatio(2, 3, -0.1), 0.0, FloatDomain),
        GUARDED(IncompleteBetaRatio(0, 3, 0.5), 0.0, FloatDomain), GUARDED(IncompleteBetaRatio(2, -1, 0.5), 0.0, FloatDomain),
        GUARDED(IncompleteBetaRatio(2, 3, 0), 0.0, FloatOk), GUARDED(IncompleteBetaRatio(2, 3, 1), 1.0, FloatOk),
        GUARDED(FisherUpperP(3, 5, 0), 0.0, FloatDomain), GUARDED(FisherUpperP(3, 5, -1), 0.0, FloatDomain),
        GUARDED(FisherUpperP(0, 5, 2), 0.0, FloatDomain), GUARDED(FisherUpperP(3, 0, 2), 0.0, FloatDomain),
        GUARDED(StudentTwoTailedP(0, 2.5), 0.0, FloatDomain), GUARDED(LogGammaFunction(-3), HugeFloat, FloatSingular),
    };
    for (const GuardedCase& c : cases) {
        SetFloatStatus(Unchanged, 0.0);
        EXPECT_DOUBLE_EQ(c.Run(), c.Expected) << c.Call;
        EXPECT_EQ(FloatStatus(), c.Status) << c.Call;
    }
}

TEST(GuardedFunctions, StatusBelongsToTheCallingThread)
{
    SafeLog10(0);
    int otherThreadStatus = Unchanged;
    std::thread([&] {
        otherThreadStatus = FloatStatus();
        SafeExp10(400);
    }).join();
    EXPECT_EQ(std::tuple(otherThreadStatus, FloatStatus()), std::tuple(FloatOk, FloatSingular));
}

// I_x(a, b) for whole a and b: at least a successes in a + b - 1 trials.
double BinomialTail(int a, int b, double x)
{
    const int n = a + b - 1;
    double sum = 0.0, coefficient = 1.0;  // C(n, j)
    for (int j = 0; j <= n; coefficient = coefficient * (n - j) / (j + 1), ++j)
        if (j >= a) sum += coefficient * std::pow(x, j) * std::pow(1 - x, n - j);
    return sum;
}

TEST(IncompleteBetaRatio, MatchesClosedFormsOnEveryPathAndItsReflection)
{
    struct Case { double A, B, X, Expected; };
    std::vector<Case> cases = {
        {3, 1, 0.3, std::pow(0.3, 3)},             // b·x <= 1, x below the mean: power series
        {2, 1, 0.9, 0.81},                         // b·x <= 1, x above the mean: power series
        {2, 1, 0.97, 0.97 * 0.97},                 // x > 0.95: complemented power series
        {1, 4, 0.6, 1 - std::pow(0.4, 4)},         // b·x > 1 above the mean: complemented power series
        {3, 2, 0.8, BinomialTail(3, 2, 0.8)},
        {5, 3, 0.4, BinomialTail(5, 3, 0.4)},      // below the mean: continued fraction in x
        {2, 10, 0.15, BinomialTail(2, 10, 0.15)},  // below the mean: continued fraction in x/(1-x)
        {5, 3, 0.7, BinomialTail(5, 3, 0.7)},      // above the mean: complemented fraction in x
        {10, 2, 0.86, BinomialTail(10, 2, 0.86)},  // above the mean: complemented fraction in x/(1-x)
        {100, 100, 0.5, 0.5},                      // a + b beyond the gamma limit: logarithms
        {200, 1, 0.999, std::pow(0.999, 200)},
        {1, 200, 0.01, 1 - std::pow(0.99, 200)},
        {200, 150, 0.6, 0.86019066048015275435},   // 30-digit references
        {0.5, 3, 0.2, 0.73343029661993102042},
    };
    for (double x : {0.02, 0.3, 0.5, 0.93, 0.99}) cases.push_back({0.5, 0.5, x, 2 / pi * std::asin(std::sqrt(x))});
    for (const Case& c : cases) {
        const double tolerance = c.A + c.B > 171 ? 1e-12 : 1e-14;  // the logarithms keep about 13 digits
        EXPECT_NEAR(IncompleteBetaRatio(c.A, c.B, c.X), c.Expected, tolerance * c.Expected)
            << "I_" << c.X << "(" << c.A << ", " << c.B << ")";
        EXPECT_NEAR(IncompleteBetaRatio(c.B, c.A, 1 - c.X), 1 - c.Expected, tolerance * (1 - c.Expected))
            << "I_" << 1 - c.X << "(" << c.B << ", " << c.A << ")";
        EXPECT_EQ(FloatStatus(), FloatOk);
    }
}

TEST(Distributions, StudentAndFisherTailsMatchClosedForms)
{
    const auto near = [](double value, double expected, const char* what, double at) {
        EXPECT_NEAR(value, expected, 1e-14 + 1e-12 * expected) << what << " at " << at;
    };
    for (double t : {0.0, 0.05, 0.3, 1.0, 1.7, 4.0, 25.0, -2.5}) {
        const double s = std::fabs(t), r3 = std::sqrt(3.0);
        near(StudentTwoTailedP(1, t), 1 - 2 / pi * std::atan(s), "t(1)", t);
        near(StudentTwoTailedP(2, t), 1 - s / std::sqrt(s * s + 2), "t(2)", t);
        near(StudentTwoTailedP(3, t), 1 - 2 / pi * (std::atan(s / r3) + r3 * s / (s * s + 3)), "t(3)", t);
        near(StudentTwoTailedP(4, t), 1 - s * (s * s + 6) / std::pow(s * s + 4, 1.5), "t(4)", t);
    }
    for (double f : {0.01, 0.2, 1.0, 3.7, 40.0}) {
        near(FisherUpperP(2, 7, f), std::pow(7 / (7 + 2 * f), 3.5), "F(2, 7)", f);
        near(FisherUpperP(5, 2, f), 1 - std::pow(5 * f / (2 + 5 * f), 2.5), "F(5, 2)", f);
        near(FisherUpperP(1, 1, f), 2 / pi * std::atan(1 / std::sqrt(f)), "F(1, 1)", f);
    }
    // Many degrees of freedom take the logarithmic path (30-digit references).
    EXPECT_NEAR(StudentTwoTailedP(400, 1.96), 0.050689670300027570821, 1e-14);
    EXPECT_NEAR(FisherUpperP(4, 300, 2.5), 0.042682614481060784111, 1e-14);
}

TEST(LogGammaFunction, AgreesWithTheLibraryOnBothSidesOfTheOverflowLimit)
{
    for (double x : {0.1, 1.0, 2.0, 4.5, 171.5, 171.7, 250.0, 1e4, -2.5})
        EXPECT_NEAR(LogGammaFunction(x), std::lgamma(x), 1e-13 * std::fabs(std::lgamma(x)) + 1e-15) << x;
    EXPECT_NEAR(GammaFunction(4.5), 11.631728396567448929, 1e-13);
}

TEST(FitStatistics, QualityMeasuresAndTheFTestOfEachCase)
{
    // P(F(1, 2) > f) = 1 - √(f/(2+f)).
    const double line = 26.45 / 0.15;
    struct Case { const char* Name; TVector Y, YFit; int LastPar; double Variance, R2, Adjusted, F, FProbability; };
    const Case cases[] = {
        {"line through four points", OneBased({3, 5, 7, 10}), OneBased({2.8, 5.1, 7.4, 9.7}), 2, 0.15, 26.45 / 26.75,
         1 - (1 - 26.45 / 26.75) * 3 / 2, line, 1 - std::sqrt(line / (2 + line))},
        {"as many parameters as points", OneBased({1, 2, 3, 4, 5, 6, 7, 9}), OneBased({1, 2, 3, 4, 5, 6, 7, 8}), 8, 0,
         1, 0, 0, 1},
        {"perfect fit", OneBased({1, 4, 2, 8, 5}), OneBased({1, 4, 2, 8, 5}), 2, 0, 1, 1, HugeFloat, 0},
        {"nothing explained", OneBased({1, 3, 1, 3}), Filled(4, 2.0), 2, 2.0, 0, -0.5, 0, 0},
        {"constant observations", Filled(5, 4.0), OneBased({3.9, 4.1, 4, 3.8, 4.2}), 2, 0.1 / 3, 0, 1 - 4.0 / 3, 0, 1},
        {"one parameter", OneBased({1, 2, 4}), OneBased({1.5, 2, 3.5}), 1, 0.25, 13.0 / 28, 13.0 / 28, 0, 1},
    };
    for (const Case& c : cases) {
        TMatrix v = Zeros(c.LastPar, c.LastPar);
        for (int i = 1; i <= c.LastPar; ++i) v[i][i] = 3.0;
        if (c.LastPar > 1) v[1][2] = 0.5, v[2][1] = 123;  // [2][1] gets the mirrored upper triangle
        FitStatistics s;
        ComputeFitStatistics(c.Y, c.YFit, static_cast<int>(c.Y.size()) - 1, 1, c.LastPar, v, s);
        const std::pair<double, double> values[] = {{s.ResidualVariance, c.Variance}, {s.RSquared, c.R2},
                                                    {s.AdjustedRSquared, c.Adjusted}, {s.FProbability, c.FProbability},
                                                    {v[1][1], 3 * c.Variance}};
        for (const auto& [value, expected] : values) EXPECT_NEAR(value, expected, 1e-14) << c.Name << ": " << expected;
        EXPECT_NEAR(s.FRatio, c.F, 1e-12 * c.F) << c.Name;
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
        TMatrix v = Zeros(3, 3);
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
