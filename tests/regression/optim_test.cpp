// The Marquardt minimiser: the convergence test, the golden-section line
// search, the status rules and the Lambda schedule, and the iteration
// callback with Cancel.

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <vector>

#include "fit_test_support.h"
#include "regression/optim.h"
#include "regression/regress.h"

namespace movra {
namespace {

using test::Filled;
using test::OneBased;

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

TEST(LineSearch, GoldenSectionBracketsAndFindsMinimaOnEitherSide)
{
    // Minimum beyond the start pair (0, 1), behind it, at 0 where the relative
    // width is never reached, and with a tolerance below its floor.
    struct Case { double Centre; std::int32_t MaxIter; double Tol; std::int32_t Status; int MaxCalls; };
    const Case cases[] = {
        {2, 100, 0.01, OptOk, 30}, {-3, 100, 0.01, OptOk, 30}, {0, 100, 0.01, OptNonConv, 110}, {2, 1000, 0, OptOk, 100}};
    for (const Case& c : cases) {
        int calls = 0;
        const ScalarFunction f = [&](double r) {
            ++calls;
            return (r - c.Centre) * (r - c.Centre);
        };
        double a = 0, b = 1, m = 0, fa = 0, fb = 0, fm = 0, rMin = 0, fMin = 0;
        BracketMinimum(f, a, b, m, fa, fb, fm);
        EXPECT_TRUE(a < c.Centre && c.Centre < m && fb <= fa && fb <= fm) << a << " " << b << " " << m;
        calls = 0;
        EXPECT_EQ(GoldenSectionSearch(f, 0, 1, c.MaxIter, c.Tol, rMin, fMin), c.Status) << c.Centre;
        EXPECT_LE(calls, c.MaxCalls) << c.Centre;
        EXPECT_NEAR(rMin, c.Centre, 0.05) << c.Centre;
        EXPECT_EQ(fMin, f(rMin)) << c.Centre;
    }
}

TEST(LineSearch, LineMinimumMovesAlongTheDirectionOnlyWhenItConverges)
{
    const ObjectiveFunction bowl = [](const TVector& b) { return (b[1] - 3) * (b[1] - 3) + (b[2] - 6) * (b[2] - 6); };
    TVector b = OneBased({1, 2});
    double f1 = 0;
    LineSearchWork work;
    EXPECT_EQ(LineMinimum(bowl, b, OneBased({1, 2}), f1, 0.01, 100, 1, 2, work), OptOk);
    EXPECT_TRUE(std::fabs(b[1] - 3) < 0.05 && std::fabs(b[2] - 6) < 0.1 && f1 == bowl(b)) << b[1] << ", " << b[2];
    b = OneBased({0});  // the minimum at R = 0 is never reached to the relative tolerance
    EXPECT_EQ(LineMinimum([](const TVector& p) { return p[1] * p[1]; }, b, OneBased({1}), f1, 0.01, 100, 1, 1, work),
              OptNonConv);
    EXPECT_EQ(b[1], 0.0);
}

// Options that record each iteration's number, objective and Lambda and
// cancel from iteration cancelAt on (0 = never).
using History = std::vector<std::array<double, 3>>;
FitOptions Logged(History& history, std::int32_t maxIterations, int cancelAt = 0)
{
    FitOptions options = test::Options(maxIterations, 1e-6);
    options.OnIteration = [&history, cancelAt](std::int32_t iteration, double objective, double lambda) {
        history.push_back({static_cast<double>(iteration), objective, lambda});
        return cancelAt == 0 || iteration < cancelAt;
    };
    return options;
}

// y = m1·x on (1, 2), (2, 4), (3, 7) from m1 = 1: least squares at 31/14.
std::int32_t FitProportional(TVector& b, TMatrix& v, const FitOptions& options)
{
    b = OneBased({1});
    AllocMatrix(v, 1, 1);
    return RunFit([](double x, const TVector& m) { return m[1] * x; }, ModelDerivatives, OneBased({1, 2, 3}),
                  OneBased({2, 4, 7}), 3, 1, 1, b, OneBased({-1e20}), OneBased({1e20}), v, options)
        .Status;
}

TEST(Marquardt, ReportsEachIterationShrinksLambdaAndEndsAtTheCapOrCancel)
{
    TVector reference, b;
    TMatrix v;
    History lines;
    ASSERT_EQ(FitProportional(reference, v, Logged(lines, 100)), OptOk);
    EXPECT_NEAR(reference[1], 31.0 / 14.0, 1e-7);
    EXPECT_NEAR(v[1][1], 1.0 / 14.0, 1e-7);  // the inverse of Σx²
    ASSERT_GE(lines.size(), 3u);
    for (std::size_t i = 0; i < lines.size(); ++i) EXPECT_EQ(lines[i][0], static_cast<double>(i + 1));
    EXPECT_EQ(lines[0][1], 21.0);  // (2-1)² + (4-2)² + (7-3)² at m1 = 1
    EXPECT_EQ(lines[0][2], 0.01);
    EXPECT_EQ(lines[1][2], 0.01 * 0.1);  // tenfold smaller after an accepted step
    const int n = static_cast<int>(lines.size());  // the last iteration took the final step
    struct Case { std::int32_t MaxIter; int CancelAt, Iterations; std::int32_t Status; };
    const Case cases[] = {{1, 0, 1, OptNonConv},   {n, 0, n, OptNonConv},   {n + 1, 0, n, OptOk},
                          {100, 2, 2, OptNonConv}, {100, n, n, OptNonConv}};
    for (const Case& c : cases) {
        History history;
        EXPECT_EQ(FitProportional(b, v, Logged(history, c.MaxIter, c.CancelAt)), c.Status) << c.MaxIter;
        EXPECT_EQ(static_cast<int>(history.size()), c.Iterations) << c.MaxIter << ", " << c.CancelAt;
        EXPECT_TRUE(c.Status != OptOk || b == reference);
    }
}

// The minimiser on one parameter from b with the given objective and fixed
// normal equations G = -Jᵀr = g, H = JᵀJ = h.
std::int32_t MinimiseOne(const ObjectiveFunction& func, double g, double h, TVector& b, History& history,
                         std::int32_t maxIter = 100)
{
    TMatrix v;
    AllocMatrix(v, 1, 1);
    const auto normal = [g, h](TVector&, std::int32_t, std::int32_t, TVector& d, TMatrix& m) { d[1] = g, m[1][1] = h; };
    return MarquardtMinimise(func, normal, b, 1, 1, Logged(history, maxIter), v).Status;
}

TEST(Marquardt, RejectedSingularAndPerfectProblemsEndInTheirFirstIteration)
{
    // F is 0 at the start and 1 + (b - 5)² afterwards: no search improves on
    // it, so Lambda goes 0.1, 1, 10, 100, 1000, then 10000 is above the ceiling.
    int calls = 0, searches = 0;
    const ObjectiveFunction neverBetter = [&](const TVector& p) {
        if (calls++ == 0) return 0.0;
        searches += p[1] == 1.0;  // R = 0 opens every line search
        return 1.0 + (p[1] - 5) * (p[1] - 5);
    };
    // Exact data at the exact start: F = 0 and the step is 0, so the line
    // search can only shrink towards R = 0 and runs out of iterations.
    struct Case { ObjectiveFunction F; double G, H, Start; std::int32_t Status; };
    const Case cases[] = {{neverBetter, -1, 1, 1, OptBigLambda},
                          {[](const TVector& p) { return p[1] * p[1] + 1; }, 1, 0, 0.5, OptSing},
                          {[](const TVector& p) { return (p[1] - 2) * (p[1] - 2); }, 0, 14, 2, OptNonConv}};
    for (const Case& c : cases) {
        TVector b = OneBased({c.Start});
        History history;
        EXPECT_EQ(MinimiseOne(c.F, c.G, c.H, b, history), c.Status);
        EXPECT_EQ(history.size(), 1u) << c.Status;
        EXPECT_TRUE(c.Status == OptBigLambda || b[1] == c.Start) << c.Status;
    }
    EXPECT_EQ(searches, 6);
}

TEST(Marquardt, LineSearchThatCutsTheStepShortKeepsLambda)
{
    TVector b = OneBased({0});
    History history;  // the normal equations claim a step ten times too long
    MinimiseOne([](const TVector& p) { return (p[1] - 1) * (p[1] - 1); }, -10, 1, b, history, 3);
    ASSERT_GE(history.size(), 2u);
    EXPECT_DOUBLE_EQ(history[1][2], 0.01);
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
        TMatrix v;
        AllocMatrix(v, 2, 2);
        EXPECT_EQ(RunFit(c.Model, ModelDerivatives, OneBased({1, 2, 3, 4}), y, 4, 1, 2, b, Filled(2, -1e20),
                         Filled(2, 1e20), v, test::Options(100, 1e-9))
                      .Status,
                  c.Status);
        if (c.Status == OptOk) {
            EXPECT_NEAR(b[1], 2.1, 1e-6);  // the least-squares line of the points
        }
    }
}

} // namespace
} // namespace movra
