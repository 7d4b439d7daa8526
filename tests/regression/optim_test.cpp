// The Marquardt minimiser: its status rules, the Lambda schedule, the
// progress lines and Cancel, and the golden-section line search.

#include <gtest/gtest.h>

#include <cmath>

#include "fit_test_support.h"
#include "regression/optim.h"
#include "regression/regress.h"

namespace movra {
namespace {

using test::Filled;
using test::OneBased;
using test::IterationLog;

const ModelFunction Proportional = [](double x, const TVector& b) { return b[1] * x; };

// y = m1·x on (1, 2), (2, 4), (3, 7) from m1 = 1.
std::int32_t FitProportional(std::int32_t maxIter, TVector& b, IterationLog* log = nullptr)
{
    const TVector x = OneBased({1, 2, 3});
    const TVector y = OneBased({2, 4, 7});
    TMatrix v;
    AllocMatrix(v, 1, 1);
    IterationLog silent;
    return RunFit(Proportional, ModelDerivatives, x, y, 3, 1, 1, b, OneBased({-1e20}), OneBased({1e20}), v,
                  (log != nullptr ? *log : silent).Options(maxIter))
        .Status;
}

// --- Convergence test -----------------------------------------------------------

TEST(ParametersConverged, RelativeAboveOneAbsoluteBelow)
{
    EXPECT_TRUE(ParametersConverged(OneBased({1000}), OneBased({1000.0009}), 1, 1, 1e-6));
    EXPECT_FALSE(ParametersConverged(OneBased({1000}), OneBased({1000.0011}), 1, 1, 1e-6));
    EXPECT_TRUE(ParametersConverged(OneBased({0.001}), OneBased({0.0019}), 1, 1, 1e-3));
    EXPECT_FALSE(ParametersConverged(OneBased({0.001}), OneBased({0.0021}), 1, 1, 1e-3));
}

TEST(ParametersConverged, ChangeEqualToToleranceFails)
{
    EXPECT_FALSE(ParametersConverged(OneBased({0.5}), OneBased({0.75}), 1, 1, 0.25));
    EXPECT_TRUE(ParametersConverged(OneBased({0.5}), OneBased({0.5}), 1, 1, 0.25));
}

TEST(ParametersConverged, EveryParameterMustPass)
{
    EXPECT_FALSE(ParametersConverged(OneBased({1, 1}), OneBased({1, 2}), 1, 2, 1e-6));
    EXPECT_TRUE(ParametersConverged(OneBased({1, 1}), OneBased({1, 2}), 1, 1, 1e-6));
}

// --- Line search ----------------------------------------------------------------

TEST(BracketMinimum, OrdersThePointsAroundALowerMiddle)
{
    const ScalarFunction f = [](double r) { return (r - 5) * (r - 5); };
    double a = 1, b = 0, c = 0, fa = 0, fb = 0, fc = 0;
    BracketMinimum(f, a, b, c, fa, fb, fc);
    EXPECT_LT(a, c);
    EXPECT_LE(fb, fa);
    EXPECT_LE(fb, fc);
    EXPECT_LT(a, 5.0);
    EXPECT_GT(c, 5.0);
}

TEST(BracketMinimum, ExpandsBackwardsWhenTheSecondPointIsHigher)
{
    const ScalarFunction f = [](double r) { return (r + 3) * (r + 3); };
    double a = 0, b = 1, c = 0, fa = 0, fb = 0, fc = 0;
    BracketMinimum(f, a, b, c, fa, fb, fc);
    EXPECT_LT(a, -3.0);
    EXPECT_GT(c, -3.0);
    EXPECT_EQ(fb, f(b));
}

TEST(GoldenSectionSearch, FindsMinimumWithinRelativeTolerance)
{
    int calls = 0;
    const ScalarFunction f = [&calls](double r) {
        ++calls;
        return (r - 2) * (r - 2) + 1;
    };
    double rMin = 0, fMin = 0;
    EXPECT_EQ(GoldenSectionSearch(f, 0, 1, 100, 0.01, rMin, fMin), OptOk);
    EXPECT_NEAR(rMin, 2.0, 0.04);
    EXPECT_EQ(fMin, f(rMin));
    EXPECT_LT(calls, 30);
}

TEST(GoldenSectionSearch, MinimumAtZeroRunsOutOfIterations)
{
    // The interval shrinks with |x1| + |x2|, so the relative test is never met.
    const ScalarFunction f = [](double r) { return r * r; };
    double rMin = 1, fMin = 1;
    EXPECT_EQ(GoldenSectionSearch(f, 0, 1, 100, 0.01, rMin, fMin), OptNonConv);
    EXPECT_LT(std::fabs(rMin), 1e-15);
}

TEST(GoldenSectionSearch, ToleranceHasAFloor)
{
    int calls = 0;
    const ScalarFunction f = [&calls](double r) {
        ++calls;
        return (r - 2) * (r - 2);
    };
    double rMin = 0, fMin = 0;
    EXPECT_EQ(GoldenSectionSearch(f, 0, 1, 1000, 0.0, rMin, fMin), OptOk);
    EXPECT_LT(calls, 100);  // stops at √FloatEpsilon, not at 0
}

TEST(LineMinimum, MovesAlongDirectionToMinimum)
{
    const ObjectiveFunction func = [](const TVector& b) { return (b[1] - 3) * (b[1] - 3) + (b[2] - 6) * (b[2] - 6); };
    TVector b = OneBased({1, 2});
    const TVector dir = OneBased({1, 2});
    double f1 = 0;
    LineSearchWork work;
    EXPECT_EQ(LineMinimum(func, b, dir, f1, 0.01, 100, 1, 2, work), OptOk);
    EXPECT_NEAR(b[1], 3.0, 0.05);
    EXPECT_NEAR(b[2], 6.0, 0.1);
    EXPECT_EQ(f1, func(b));
}

TEST(LineMinimum, LeavesParametersWhenOutOfIterations)
{
    const ObjectiveFunction func = [](const TVector& b) { return b[1] * b[1]; };
    TVector b = OneBased({0});
    double f1 = 1;
    LineSearchWork work;
    EXPECT_EQ(LineMinimum(func, b, OneBased({1}), f1, 0.01, 100, 1, 1, work), OptNonConv);
    EXPECT_EQ(b[1], 0.0);
    EXPECT_LT(f1, 1e-30);
}

// --- Status rules ---------------------------------------------------------------

TEST(MarquardtStatus, ProportionalFitConvergesToLeastSquaresValue)
{
    TVector b = OneBased({1});
    EXPECT_EQ(FitProportional(100, b), OptOk);
    EXPECT_NEAR(b[1], 31.0 / 14.0, 1e-6);
}

TEST(MarquardtStatus, MaxIterOneAlwaysGivesNonConvergence)
{
    TVector b = OneBased({1});
    EXPECT_EQ(FitProportional(1, b), OptNonConv);
}

TEST(MarquardtStatus, ConvergingInTheLastPermittedIterationGivesNonConvergence)
{
    TVector b = OneBased({1});
    IterationLog progress;
    ASSERT_EQ(FitProportional(100, b, &progress), OptOk);
    const int iterations = progress.Iterations();  // the last one took the final step

    TVector b2 = OneBased({1});
    EXPECT_EQ(FitProportional(iterations, b2), OptNonConv);
    TVector b3 = OneBased({1});
    EXPECT_EQ(FitProportional(iterations + 1, b3), OptOk);
    EXPECT_EQ(b3, b);
}

TEST(MarquardtStatus, PerfectFitNeverSucceeds)
{
    // Exact data at the exact start value: the objective is 0, the step
    // direction is 0 and the line search can only shrink towards R = 0.
    const TVector x = OneBased({1, 2, 3});
    const TVector y = OneBased({2, 4, 6});
    TVector b = OneBased({2});
    TMatrix v;
    AllocMatrix(v, 1, 1);
    IterationLog progress;
    const auto status =
        RunFit(Proportional, ModelDerivatives, x, y, 3, 1, 1, b, OneBased({-1e20}), OneBased({1e20}), v, progress.Options())
            .Status;
    EXPECT_EQ(status, OptNonConv);
    EXPECT_EQ(progress.Iterations(), 1);
    EXPECT_EQ(b[1], 2.0);
}

// An objective that reports 0 at the start and 1 + (b - 5)² afterwards: every
// line search converges to a worse value than F = 0, so no step is accepted.
struct NeverAccepted {
    int calls = 0;
    int searches = 0;
    ObjectiveFunction Objective()
    {
        return [this](const TVector& b) {
            if (calls++ == 0) return 0.0;
            if (b[1] == 1.0) ++searches;  // R = 0 opens every line search
            return 1.0 + (b[1] - 5) * (b[1] - 5);
        };
    }
    NormalEquationsFunction Normal()
    {
        return [](TVector&, std::int32_t, std::int32_t, TVector& g, TMatrix& h) {
            g[1] = -1.0;
            h[1][1] = 1.0;
        };
    }
};

TEST(MarquardtLambda, SixRejectedStepsEndWithBigLambda)
{
    NeverAccepted problem;
    TVector b = OneBased({1});
    TMatrix v;
    AllocMatrix(v, 1, 1);
    IterationLog progress;
    EXPECT_EQ(MarquardtMinimise(problem.Objective(), problem.Normal(), b, 1, 1, progress.Options(), v).Status,
              OptBigLambda);
    // Lambda 0.01 -> 0.1, 1, 10, 100, 1000, 10000: six searches, one iteration.
    EXPECT_EQ(problem.searches, 6);
    EXPECT_EQ(progress.Iterations(), 1);
}

TEST(MarquardtLambda, AcceptedIterationEndsWithATenthOfItsLambda)
{
    TVector b = OneBased({1});
    IterationLog progress;
    ASSERT_EQ(FitProportional(100, b, &progress), OptOk);
    ASSERT_GE(progress.Iterations(), 2);
    EXPECT_EQ(progress.history[0].Lambda, 0.01);
    EXPECT_EQ(progress.history[1].Lambda, 0.01 * 0.1);
}

TEST(MarquardtLambda, SingularDampedSystemGivesSingularStatus)
{
    const ObjectiveFunction func = [](const TVector& b) { return b[1] * b[1] + 1; };
    const NormalEquationsFunction normal = [](TVector&, std::int32_t, std::int32_t, TVector& g, TMatrix& h) {
        g[1] = 1.0;
        h[1][1] = 0.0;
    };
    TVector b = OneBased({0.5});
    TMatrix v;
    AllocMatrix(v, 1, 1);
    EXPECT_EQ(MarquardtMinimise(func, normal, b, 1, 1, FitOptions{}, v).Status, OptSing);
    EXPECT_EQ(b[1], 0.5);
}

TEST(MarquardtLambda, LineSearchThatCutsTheStepShortKeepsLambda)
{
    // The normal equations claim a step ten times too long: the line search
    // finds the minimum of (b - 1)² at about a tenth of it.
    const ObjectiveFunction func = [](const TVector& b) { return (b[1] - 1) * (b[1] - 1); };
    const NormalEquationsFunction normal = [](TVector&, std::int32_t, std::int32_t, TVector& g, TMatrix& h) {
        g[1] = -10.0;
        h[1][1] = 1.0;
    };
    TVector b = OneBased({0});
    TMatrix v;
    AllocMatrix(v, 1, 1);
    IterationLog progress;
    MarquardtMinimise(func, normal, b, 1, 1, progress.Options(3), v);
    ASSERT_GE(progress.Iterations(), 2);
    EXPECT_DOUBLE_EQ(progress.history[1].Lambda, 0.01);
}

// A system is singular for its shape, not for the size of its numbers: the
// normal matrix of 1e-10·(m1·x + m2) has entries far below FloatEpsilon.
TEST(MarquardtStatus, SingularityIsJudgedAgainstTheScaleOfTheMatrix)
{
    struct Case {
        ModelFunction Model;
        double Scale;
        std::int32_t Status;
    };
    const ModelFunction tiny = [](double x, const TVector& b) { return 1e-10 * (b[1] * x + b[2]); };
    const ModelFunction sumOnly = [](double x, const TVector& b) { return (b[1] + b[2]) * x; };
    for (const Case& c : {Case{tiny, 1e-10, OptOk}, Case{sumOnly, 1.0, OptSing}}) {
        const TVector x = OneBased({1, 2, 3, 4});
        TVector y = OneBased({3, 5, 8, 9});
        for (int i = 1; i <= 4; ++i) y[i] *= c.Scale;
        TVector b = OneBased({1, 0.5});
        TMatrix v;
        AllocMatrix(v, 2, 2);
        FitOptions options;
        options.Tolerance = 1e-9;
        EXPECT_EQ(RunFit(c.Model, ModelDerivatives, x, y, 4, 1, 2, b, Filled(2, -1e20), Filled(2, 1e20), v, options).Status,
                  c.Status);
        if (c.Status == OptOk) {
            EXPECT_NEAR(b[1], 2.1, 1e-6);  // the least-squares line of the points
        }
    }
}

// --- Progress display and Cancel -----------------------------------------------------

TEST(MarquardtProgress, ReportsEachIterationsNumberObjectiveAndLambda)
{
    TVector b = OneBased({1});
    IterationLog progress;
    ASSERT_EQ(FitProportional(100, b, &progress), OptOk);
    ASSERT_GE(progress.Iterations(), 3);
    for (int i = 0; i < progress.Iterations(); ++i) EXPECT_EQ(progress.history[static_cast<std::size_t>(i)].Iteration, i + 1);
    EXPECT_EQ(progress.history[0].Objective, 21.0);  // (2-1)² + (4-2)² + (7-3)² at m1 = 1
    EXPECT_LT(progress.history[2].Objective, progress.history[0].Objective);
}

TEST(MarquardtProgress, CancelEndsTheCurrentIterationWithNonConvergence)
{
    TVector b = OneBased({1});
    IterationLog progress(2);
    EXPECT_EQ(FitProportional(100, b, &progress), OptNonConv);
    EXPECT_EQ(progress.Iterations(), 2);
}

TEST(MarquardtProgress, CancelInTheConvergingIterationStillGivesNonConvergence)
{
    TVector b = OneBased({1});
    IterationLog reference;
    ASSERT_EQ(FitProportional(100, b, &reference), OptOk);
    TVector b2 = OneBased({1});
    IterationLog progress(reference.Iterations());
    EXPECT_EQ(FitProportional(100, b2, &progress), OptNonConv);
    EXPECT_EQ(progress.Iterations(), reference.Iterations());
}

} // namespace
} // namespace movra
