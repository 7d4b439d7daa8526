// The regression interface: the bounded objective with its ceiling, the
// forward-difference derivatives, the normal equations at B, and RunFit per
// point and per curve.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <optional>
#include <span>
#include <stdexcept>
#include <thread>

#include "fit_test_support.h"
#include "regression/regress.h"

namespace movra {
namespace {

using test::Filled;
using test::OneBased;
using test::Sigmoid;

const TVector X3 = OneBased({1, 2, 3}), Y3 = OneBased({2, 4, 7});

ModelFunction Proportional(int* calls = nullptr)
{
    return [calls](double x, const TVector& b) {
        if (calls != nullptr) ++*calls;
        return b[1] * x;
    };
}

TEST(Objective, BoundsAndTheCeilingDecideWhetherAndHowLongTheModelRuns)
{
    // Bounds, B, the sum of squares and how often the model runs: a bound
    // itself is inside, crossed bounds leave nothing inside, and the sum
    // stops at the first residual that passes the ceiling.
    struct Case { double Min, Max, B, Sum; int Calls; };
    const Case cases[] = {{-10, 10, 2, 1, 3}, {0, 1, 1.5, 1e30, 0}, {0, 1, -0.5, 1e30, 0},
                          {2, 3, 2, 1, 3},    {1, 2, 2, 1, 3},       {3, 2, 2.5, 1e30, 0},
                          {3, 2, 3, 1e30, 0}, {-1e30, 1e30, 2e15, 1e30, 1}};
    for (const Case& c : cases) {
        int calls = 0;
        RegressionFit fit;
        fit.StoreFitData(Proportional(&calls), ModelDerivatives, X3, Y3, 3, 1, 1, OneBased({c.Min}), OneBased({c.Max}));
        EXPECT_EQ(fit.SumOfSquares(OneBased({c.B})), c.Sum) << c.Min << ".." << c.Max << " at " << c.B;
        EXPECT_EQ(calls, c.Calls) << c.Min << ".." << c.Max << " at " << c.B;
    }
    RegressionFit fit;
    fit.StoreFitData([](double, const TVector&) { return std::nan(""); }, ModelDerivatives, X3, Y3, 3, 1, 1,
                     OneBased({-1}), OneBased({1}));
    EXPECT_EQ(fit.SumOfSquares(OneBased({0})), 1e30);  // a NaN counts as above the ceiling
    // Parameter 2 lies outside [0, 0], but only parameter 1 is fitted.
    fit.StoreFitData(Proportional(), ModelDerivatives, X3, Y3, 3, 1, 1, OneBased({0, 0}), OneBased({5, 0}));
    EXPECT_FALSE(fit.OutOfBounds(OneBased({1, 7})));
}

TEST(ModelDerivatives, DivideByTheStepAsRepresentedAndRestoreTheParameter)
{
    EXPECT_EQ(PerturbedParameter(0.0), AbsoluteDerivativeStep);
    EXPECT_EQ(PerturbedParameter(5e-324), 5e-324 + AbsoluteDerivativeStep);
    EXPECT_EQ(PerturbedParameter(-2.0), -2.0 + 2.0 * 1.4901161193847656e-8);
    TVector d = Filled(1, 0.0);
    for (double start : {2.0, 0.1, 0.0, -3.0, 5e-324}) {
        TVector b = OneBased({start});
        ModelDerivatives(Proportional(), 1.0, start, b, 1, 1, d);  // exactly 1 over the represented step
        EXPECT_TRUE(d[1] == 1.0 && b[1] == start) << start << ": " << d[1];
    }
    TVector b = OneBased({2});
    ModelDerivatives(Proportional(), 3.0, 6.0, b, 1, 1, d);
    EXPECT_NEAR(d[1], 3.0, 1e-7);
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
    TMatrix h;
    AllocMatrix(h, 2, 2);
    fit.NormalMatrices(b, 1, 2, g, h);
    const std::pair<double, double> entries[] = {{g[1], -1}, {g[2], -4}, {h[1][1], 4}, {h[1][2], 10}, {h[2][2], 30}};
    for (const auto& [value, expected] : entries) EXPECT_NEAR(value, expected, 1e-5);  // -Jᵀr and JᵀJ
    EXPECT_TRUE(h[2][1] == h[1][2] && b == OneBased({1, 2}));
}

// RunFit of one parameter through (1, 2), (2, 4), (3, 7), or their first n.
std::int32_t FitThree(const ModelFunction& model, TVector& b, double low, double high, std::int32_t n = 3)
{
    TMatrix v;
    AllocMatrix(v, 1, 1);
    return RunFit(model, ModelDerivatives, X3, Y3, n, 1, 1, b, OneBased({low}), OneBased({high}), v,
                  test::Options(50, 1e-6))
        .Status;
}

TEST(RunFit, WithoutPointsIsSingularAndNeverCallsTheModel)
{
    TVector b = OneBased({1.5});
    int calls = 0;
    EXPECT_EQ(FitThree(Proportional(&calls), b, -1e20, 1e20, 0), OptSing);
    EXPECT_TRUE(b[1] == 1.5 && calls == 0);
}

TEST(RunFit, ResultStaysInsideTheBoundsAndModelExceptionsPropagate)
{
    double largest = 0;
    const ModelFunction model = [&largest](double x, const TVector& p) {
        largest = std::max(largest, p[1]);
        return p[1] * x;
    };
    TVector b = OneBased({1});
    EXPECT_EQ(FitThree(model, b, 0, 2), OptOk);  // the unbounded optimum 31/14 lies above 2
    EXPECT_TRUE(b[1] <= 2.0 && b[1] > 2.0 - 1e-5) << b[1];
    EXPECT_LE(largest, 2.0 + 2.0 * 1.5e-8);  // at most a derivative step beyond
    const ModelFunction throwing = [](double, const TVector&) -> double { throw std::overflow_error("overflow"); };
    EXPECT_THROW(FitThree(throwing, b, -1e20, 1e20), std::overflow_error);
}

// The sigmoid fitted to 60 points with deterministic noise, per point or per curve.
struct SigmoidFit {
    explicit SigmoidFit(bool wholeCurve)
    {
        TVector x = Filled(60, 0.0), y = Filled(60, 0.0);
        for (int i = 1; i <= 60; ++i)
            x[i] = i, y[i] = Sigmoid(i, OneBased({4000, -3000, 5, 20, 4})) + 15.0 * std::sin(1.7 * i);
        AllocMatrix(v, 5, 5);
        const CurveModelFunction curve = [](std::span<const double> xs, const TVector& m, std::span<double> out) {
            for (std::size_t i = 0; i < xs.size(); ++i) out[i] = Sigmoid(xs[i], m);
        };
        const TVector low = Filled(5, -1e20), high = Filled(5, 1e20);
        const FitOptions options = test::Options(500, 1e-10);
        status = wholeCurve ? fit.RunFit(curve, CurveModelDerivatives, x, y, 60, 1, 5, b, low, high, v, options).Status
                            : fit.RunFit(Sigmoid, ModelDerivatives, x, y, 60, 1, 5, b, low, high, v, options).Status;
    }
    TVector b = OneBased({3900, -2900, 4, 18, 3});
    TMatrix v;
    RegressionFit fit;
    std::int32_t status = 0;
};

// Identical results of both forms also show that fits on separate threads
// share no state.
TEST(RunFit, CurveModelOnAnotherThreadGivesResultsIdenticalToThePointModel)
{
    std::optional<SigmoidFit> curve;
    std::thread other([&] { curve.emplace(true); });
    const SigmoidFit point(false);
    other.join();
    EXPECT_EQ(point.status, OptOk);
    EXPECT_NEAR(point.b[4], 20.0, 0.5);
    EXPECT_TRUE(curve->status == point.status && curve->b == point.b && curve->v == point.v);
    EXPECT_EQ(curve->fit.FittedValues(), point.fit.FittedValues());
    EXPECT_EQ(curve->fit.ObjectiveCalls(), point.fit.ObjectiveCalls());
}

} // namespace
} // namespace movra
