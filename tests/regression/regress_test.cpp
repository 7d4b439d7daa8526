// The regression interface and the Marquardt minimiser: the bounded
// objective with its ceiling, the forward-difference derivatives, the normal
// equations at B, the convergence test, the golden-section line search, the
// status rules, the Lambda schedule and the iteration callback with Cancel.

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <stdexcept>
#include <thread>
#include <vector>

#include "fit_test_support.h"
#include "regression/regress.h"

namespace movra {
namespace {

using namespace test;

const TVector X3 = OneBased({1, 2, 3}), Y3 = OneBased({2, 4, 7});  // least squares of m1·x at 31/14

ModelFunction Proportional(int* calls = nullptr)
{
    return [calls](double x, const TVector& b) {
        if (calls != nullptr) ++*calls;
        return b[1] * x;
    };
}

// Options that record each iteration's number, objective and Lambda and
// cancel from iteration cancelAt on (0 = never).
using History = std::vector<std::array<double, 3>>;
FitOptions Logged(History& history, std::int32_t maxIterations, int cancelAt = 0)
{
    return {maxIterations, 1e-6, [&history, cancelAt](std::int32_t iteration, double objective, double lambda) {
                history.push_back({static_cast<double>(iteration), objective, lambda});
                return cancelAt == 0 || iteration < cancelAt;
            }};
}

// RunFit of m1·x from m1 = 1 through the first n of (1, 2), (2, 4), (3, 7).
std::int32_t FitProportional(const ModelFunction& model, TVector& b, TMatrix& v, const FitOptions& options,
                             double low = -1e20, double high = 1e20, std::int32_t n = 3)
{
    b = OneBased({1});
    v = Zeros(1, 1);
    return RunFit(model, ModelDerivatives, X3, Y3, n, 1, 1, b, OneBased({low}), OneBased({high}), v, options).Status;
}

TEST(Objective, BoundsAndTheCeilingDecideWhetherAndHowLongTheModelRuns)
{
    // Bounds, B, the sum of squares and how often the model runs: a bound
    // itself is inside, crossed bounds leave nothing inside, and the sum
    // stops at the first residual that passes the ceiling.
    struct Case { double Min, Max, B, Sum; int Calls; };
    const Case cases[] = {{-10, 10, 2, 1, 3}, {0, 1, 1.5, 1e30, 0}, {0, 1, -0.5, 1e30, 0},
                          {2, 3, 2, 1, 3},    {1, 2, 2, 1, 3},       {3, 2, 2.5, 1e30, 0},
                          {3, 2, 3, 1e30, 0}, {-1e30, 1e30, 2e15, 1e30, 1},
                          {-1, 1, std::nan(""), 1e30, 1}};  // a NaN counts as above the ceiling
    for (const Case& c : cases) {
        int calls = 0;
        RegressionFit fit;
        fit.StoreFitData(Proportional(&calls), ModelDerivatives, X3, Y3, 3, 1, 1, OneBased({c.Min}), OneBased({c.Max}));
        EXPECT_EQ(fit.SumOfSquares(OneBased({c.B})), c.Sum) << c.Min << ".." << c.Max << " at " << c.B;
        EXPECT_EQ(calls, c.Calls) << c.Min << ".." << c.Max << " at " << c.B;
    }
    // Parameter 2 lies outside [0, 0], but only parameter 1 is fitted.
    RegressionFit fit;
    fit.StoreFitData(Proportional(), ModelDerivatives, X3, Y3, 3, 1, 1, OneBased({0, 0}), OneBased({5, 0}));
    EXPECT_FALSE(fit.OutOfBounds(OneBased({1, 7})));
}

TEST(ModelDerivatives, DivideByTheStepAsRepresentedAndRestoreTheParameter)
{
    EXPECT_EQ(std::tuple(PerturbedParameter(0.0), PerturbedParameter(5e-324), PerturbedParameter(-2.0)),
              std::tuple(AbsoluteDerivativeStep, 5e-324 + AbsoluteDerivativeStep, -2.0 + 2.0 * 1.4901161193847656e-8));
    TVector d = Filled(1, 0.0);
    for (double start : {2.0, 0.1, 0.0, -3.0, 5e-324}) {
        TVector b = OneBased({start});
        ModelDerivatives(Proportional(), 1.0, start, b, 1, 1, d);  // exactly 1 over the represented step
        EXPECT_TRUE(d[1] == 1.0 && b[1] == start) << start << ": " << d[1];
    }
    TVector b = OneBased({2});
    const ModelFunction throwing = [](double, const TVector&) -> double { throw std::runtime_error("fault"); };
    EXPECT_THROW(ModelDerivatives(throwing, 1.0, 0.0, b, 1, 1, d), std::runtime_error);
    EXPECT_EQ(b[1], 2.0);
}

TEST(NormalMatrices, AreBuiltAtBWhateverPointTheObjectiveTriedLast)
{
    // m1 + m2·x through (1, 3), (2, 5), (3, 7), (4, 10) at B = (1, 2): residuals 0, 0, 0, 1.
    RegressionFit fit;
    fit.StoreFitData([](double x, const TVector& b) { return b[1] + b[2] * x; }, ModelDerivatives,
                     OneBased({1, 2, 3, 4}), OneBased({3, 5, 7, 10}), 4, 1, 2, Filled(2, -1e20), Filled(2, 1e20));
    fit.SumOfSquares(OneBased({0.5, 1}));  // a line-search trial elsewhere
    TVector b = OneBased({1, 2}), g = Filled(2, 0.0);
    TMatrix h = Zeros(2, 2);
    fit.NormalMatrices(b, 1, 2, g, h);
    const std::pair<double, double> entries[] = {{g[1], -1}, {g[2], -4}, {h[1][1], 4}, {h[1][2], 10}, {h[2][2], 30}};
    for (const auto& [value, expected] : entries) EXPECT_NEAR(value, expected, 1e-5);  // -Jᵀr and JᵀJ
    EXPECT_TRUE(h[2][1] == h[1][2] && b == OneBased({1, 2}));
}

TEST(RunFit, StaysInsideTheBoundsFitsNothingWithoutPointsAndPassesModelExceptionsOn)
{
    double largest = 0;
    int calls = 0;
    const ModelFunction model = [&](double x, const TVector& p) {
        ++calls;
        largest = std::max(largest, p[1]);
        return p[1] * x;
    };
    TVector b;
    TMatrix v;
    EXPECT_EQ(FitProportional(model, b, v, FitOptions{50, 1e-6, {}}, -1e20, 1e20, 0), OptSing);
    EXPECT_TRUE(b[1] == 1 && calls == 0);
    EXPECT_EQ(FitProportional(model, b, v, FitOptions{50, 1e-6, {}}, 0, 2), OptOk);  // 31/14 lies above 2
    EXPECT_TRUE(b[1] <= 2.0 && b[1] > 2.0 - 1e-5) << b[1];
    EXPECT_LE(largest, 2.0 + 2.0 * 1.5e-8);  // at most a derivative step beyond
    const ModelFunction throwing = [](double, const TVector&) -> double { throw std::overflow_error("overflow"); };
    EXPECT_THROW(FitProportional(throwing, b, v, FitOptions{50, 1e-6, {}}), std::overflow_error);
}

// The sigmoid fitted to 60 points with deterministic noise, per point or per
// curve: status, parameters, covariance, fitted values and objective calls.
auto FitSigmoid(bool wholeCurve)
{
    TVector x = Filled(60, 0.0), y = Filled(60, 0.0), b = OneBased({3900, -2900, 4, 18, 3});
    for (int i = 1; i <= 60; ++i)
        x[i] = i, y[i] = Sigmoid(i, OneBased({4000, -3000, 5, 20, 4})) + 15.0 * std::sin(1.7 * i);
    TMatrix v = Zeros(5, 5);
    const TVector low = Filled(5, -1e20), high = Filled(5, 1e20);
    const FitOptions options{500, 1e-10, {}};
    RegressionFit fit;
    const std::int32_t status =
        wholeCurve ? fit.RunFit(SigmoidCurve, CurveModelDerivatives, x, y, 60, 1, 5, b, low, high, v, options).Status
                   : fit.RunFit(Sigmoid, ModelDerivatives, x, y, 60, 1, 5, b, low, high, v, options).Status;
    return std::tuple(status, b, v, fit.FittedValues(), fit.ObjectiveCalls());
}

// Identical results of both forms also show that fits on separate threads
// share no state.
TEST(RunFit, CurveModelOnAnotherThreadGivesResultsIdenticalToThePointModel)
{
    decltype(FitSigmoid(true)) curve;
    std::thread other([&] { curve = FitSigmoid(true); });
    const auto point = FitSigmoid(false);
    other.join();
    EXPECT_EQ(std::get<0>(point), OptOk);
    EXPECT_NEAR(std::get<1>(point)[4], 20.0, 0.5);
    EXPECT_EQ(curve, point);
}

TEST(ParametersConverged, EveryChangeMustStayBelowTheLargerOfRelativeAndAbsoluteTolerance)
{
    struct Case { double Old1, Old2, New1, New2, Tol; int LastPar; bool Converged; };
    const Case cases[] = {
        {1000, 0, 1000.0009, 0, 1e-6, 1, true},  {1000, 0, 1000.0011, 0, 1e-6, 1, false},  // |B| > 1: relative
        {-1000, 0, -999.9991, 0, 1e-6, 1, true}, {-1000, 0, -1000.0011, 0, 1e-6, 1, false},
        {0.001, 0, 0.0019, 0, 1e-3, 1, true},    {0.001, 0, 0.0021, 0, 1e-3, 1, false},    // |B| < 1: absolute
        {0.5, 0, 0.75, 0, 0.25, 1, false},       {2, 0, 2.5, 0, 0.25, 1, false},           // equal to the allowance
        {0.5, 0, 0.5, 0, 0.25, 1, true},         {1, 1, 1, 2, 1e-6, 2, false},             // every parameter counts
        {1, 1, 2, 1, 1e-6, 2, false},            {1, 1, 1, 2, 1e-6, 1, true},              // only the fitted ones
    };
    for (const Case& c : cases)
        EXPECT_EQ(ParametersConverged(OneBased({c.Old1, c.Old2}), OneBased({c.New1, c.New2}), 1, c.LastPar, c.Tol),
                  c.Converged)
            << c.Old1 << " -> " << c.New1 << ", " << c.Old2 << " -> " << c.New2 << " with tolerance " << c.Tol;
}

TEST(LineSearch, GoldenSectionBracketsAndFindsMinimaOnEitherSideAndMovesOnlyWhenItConverges)
{
    // Minimum beyond the start pair (0, 1), behind it, at 0 where the relative
    // width is never reached, and with a tolerance below its floor.
    struct Case { double Centre; std::int32_t MaxIter; double Tol; std::int32_t Status; int MaxCalls; };
    const Case cases[] = {
        {2, 100, 0.01, OptOk, 30}, {-3, 100, 0.01, OptOk, 30}, {0, 100, 0.01, OptNonConv, 110}, {2, 1000, 0, OptOk, 100}};
    for (const Case& c : cases) {
        int calls = 0;
        const ScalarFunction f = [&](double r) { return ++calls, (r - c.Centre) * (r - c.Centre); };
        double a = 0, b = 1, m = 0, fa = 0, fb = 0, fm = 0, rMin = 0, fMin = 0;
        BracketMinimum(f, a, b, m, fa, fb, fm);
        EXPECT_TRUE(a < c.Centre && c.Centre < m && fb <= fa && fb <= fm) << a << " " << b << " " << m;
        const int bracketCalls = calls;
        calls = 0;
        EXPECT_EQ(GoldenSectionSearch(f, 0, 1, c.MaxIter, c.Tol, rMin, fMin), c.Status) << c.Centre;
        EXPECT_LE(calls, c.MaxCalls) << c.Centre;
        // The cap is the number of iterations allowed: one call each after
        // the bracket and the first inner point.
        const int iterations = calls - bracketCalls - 1;
        double r = 0, fr = 0;
        EXPECT_TRUE(c.Status != OptOk || (GoldenSectionSearch(f, 0, 1, iterations, c.Tol, r, fr) == OptOk &&
                                          GoldenSectionSearch(f, 0, 1, iterations - 1, c.Tol, r, fr) == OptNonConv))
            << c.Centre << " in " << iterations;
        EXPECT_NEAR(rMin, c.Centre, 0.05) << c.Centre;
        EXPECT_EQ(fMin, f(rMin)) << c.Centre;
        // The same along the direction (1, 2) from (0, 2).
        TVector b2 = OneBased({0, 2});
        double f1 = 0;
        LineSearchWork work;
        const ObjectiveFunction valley = [&](const TVector& p) { return f(p[1]); };
        EXPECT_EQ(LineMinimum(valley, b2, OneBased({1, 2}), f1, c.Tol, c.MaxIter, 1, 2, work), c.Status);
        if (c.Status == OptOk) {
            EXPECT_TRUE(std::fabs(b2[1] - c.Centre) < 0.05 && b2[2] == 2 + 2 * b2[1] && f1 == f(b2[1])) << b2[1];
        } else {
            EXPECT_EQ(b2, OneBased({0, 2}));
        }
    }
}

TEST(Marquardt, ReportsEachIterationShrinksLambdaAndEndsAtTheCapOrCancel)
{
    TVector reference, b;
    TMatrix v;
    History lines;
    ASSERT_EQ(FitProportional(Proportional(), reference, v, Logged(lines, 100)), OptOk);
    EXPECT_NEAR(reference[1], 31.0 / 14.0, 1e-7);
    EXPECT_NEAR(v[1][1], 1.0 / 14.0, 1e-7);  // the inverse of Σx²
    ASSERT_GE(lines.size(), 3u);
    for (std::size_t i = 0; i < lines.size(); ++i) EXPECT_EQ(lines[i][0], static_cast<double>(i + 1));
    // F = (2-1)² + (4-2)² + (7-3)² at m1 = 1; Lambda tenfold smaller after an accepted step.
    EXPECT_EQ(std::tuple(lines[0][1], lines[0][2], lines[1][2]), std::tuple(21.0, 0.01, 0.01 * 0.1));
    const int n = static_cast<int>(lines.size());  // the last iteration took the final step
    struct Case { std::int32_t MaxIter; int CancelAt, Iterations; std::int32_t Status; };
    const Case cases[] = {{1, 0, 1, OptNonConv},   {n, 0, n, OptNonConv},   {n + 1, 0, n, OptOk},
                          {100, 2, 2, OptNonConv}, {100, n, n, OptNonConv}};
    for (const Case& c : cases) {
        History history;
        EXPECT_EQ(FitProportional(Proportional(), b, v, Logged(history, c.MaxIter, c.CancelAt)), c.Status)
            << c.MaxIter;
        EXPECT_EQ(static_cast<int>(history.size()), c.Iterations) << c.MaxIter << ", " << c.CancelAt;
        EXPECT_TRUE(c.Status != OptOk || b == reference);
    }
}

TEST(Marquardt, RejectedSingularPerfectAndShortStepProblemsOfOneParameter)
{
    // F is 1e10 at the start and 1e10 + 1 + (b - 5)² afterwards: every search
    // ends exactly 1e-10·F above F, which is not accepted (a perfect fit is
    // the case F = 0), so Lambda goes 0.1, 1, 10, 100, 1000, then 10000 is
    // above the ceiling.
    int calls = 0, searches = 0;
    const ObjectiveFunction neverBetter = [&](const TVector& p) {
        if (calls++ == 0) return 1e10;
        searches += p[1] == 1.0;  // R = 0 opens every line search
        return 1e10 + 1.0 + (p[1] - 5) * (p[1] - 5);
    };
    // The minimiser with fixed normal equations G = -Jᵀr and H = JᵀJ: exact
    // data at the exact start have F = 0 and a step of 0, so the line search
    // can only shrink towards R = 0 and runs out of iterations; normal
    // equations that claim a step ten times too long are cut short by the
    // line search, and Lambda stays at 0.01.
    struct Case { ObjectiveFunction F; double G, H, Start; std::int32_t Status, MaxIter, Iterations; };
    const Case cases[] = {{neverBetter, -1, 1, 1, OptBigLambda, 100, 1},
                          {[](const TVector& p) { return p[1] * p[1] + 1; }, 1, 0, 0.5, OptSing, 100, 1},
                          {[](const TVector& p) { return (p[1] - 2) * (p[1] - 2); }, 0, 14, 2, OptNonConv, 100, 1},
                          {[](const TVector& p) { return (p[1] - 1) * (p[1] - 1); }, -10, 1, 0, OptNonConv, 2, 2}};
    for (const Case& c : cases) {
        TVector b = OneBased({c.Start});
        History history;
        TMatrix v = Zeros(1, 1);
        const auto normal = [&c](TVector&, std::int32_t, std::int32_t, TVector& d, TMatrix& m) { d[1] = c.G, m[1][1] = c.H; };
        EXPECT_EQ(MarquardtMinimise(c.F, normal, b, 1, 1, Logged(history, c.MaxIter), v).Status, c.Status);
        ASSERT_EQ(history.size(), static_cast<std::size_t>(c.Iterations)) << c.Status;
        EXPECT_TRUE(c.Status == OptBigLambda || c.Iterations > 1 || b[1] == c.Start) << c.Status;
        EXPECT_TRUE(c.Iterations == 1 || std::fabs(history[1][2] - 0.01) < 1e-15) << history.back()[2];
    }
    EXPECT_EQ(searches, 6);
}

// Singular for its shape, not for the size of its numbers: the normal matrix
// of 1e-10·(m1·x + m2) has entries far below FloatEpsilon.
TEST(Marquardt, SingularityIsJudgedAgainstTheScaleOfTheMatrix)
{
    struct Case { ModelFunction Model; double Scale; std::int32_t Status; };
    const Case cases[] = {{[](double x, const TVector& b) { return 1e-10 * (b[1] * x + b[2]); }, 1e-10, OptOk},
                          {[](double x, const TVector& b) { return (b[1] + b[2]) * x; }, 1.0, OptSing}};
    for (const Case& c : cases) {
        TVector b = OneBased({1, 0.5}), y = OneBased({3 * c.Scale, 5 * c.Scale, 8 * c.Scale, 9 * c.Scale});
        TMatrix v = Zeros(2, 2);
        EXPECT_EQ(RunFit(c.Model, ModelDerivatives, OneBased({1, 2, 3, 4}), y, 4, 1, 2, b, Filled(2, -1e20),
                         Filled(2, 1e20), v, FitOptions{100, 1e-9, {}})
                      .Status,
                  c.Status);
        EXPECT_TRUE(c.Status != OptOk || std::fabs(b[1] - 2.1) < 1e-6) << b[1];  // the least-squares line
    }
}

} // namespace
} // namespace movra
