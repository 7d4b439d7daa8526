// The regression interface: the bounded objective with its ceiling, the
// forward-difference derivatives, the normal equations from cached fitted
// values, and RunFit on small fits, per point and per curve.

#include <gtest/gtest.h>

#include <cmath>
#include <span>
#include <stdexcept>
#include <thread>

#include "fit_test_support.h"
#include "regression/regress.h"

namespace movra {
namespace {

using test::Filled;
using test::OneBased;

ModelFunction Proportional(int* calls = nullptr)
{
    return [calls](double x, const TVector& b) {
        if (calls != nullptr) ++*calls;
        return b[1] * x;
    };
}

// Entry 0 of the fit formula list: m1+(m2+m3*x)/(1+exp((m4-x)/m5)).
double Sigmoid(double x, const TVector& m)
{
    return m[1] + (m[2] + m[3] * x) / (1 + std::exp((m[4] - x) / m[5]));
}

struct NoisySigmoid {
    TVector x, y;
    int n = 60;
    NoisySigmoid()
    {
        AllocVector(x, n);
        AllocVector(y, n);
        const TVector truth = OneBased({4000, -3000, 5, 20, 4});
        for (int i = 1; i <= n; ++i) {
            x[i] = i;
            y[i] = Sigmoid(x[i], truth) + 15.0 * std::sin(1.7 * i);  // deterministic "noise"
        }
    }
};

// --- SumOfSquares and OutOfBounds -------------------------------------------

class Objective : public ::testing::Test {
protected:
    void Store(const TVector& bMin, const TVector& bMax)
    {
        fit.StoreFitData(Proportional(&calls), ModelDerivatives, x, y, 3, 1, 1, bMin, bMax);
    }
    TVector x = OneBased({1, 2, 3});
    TVector y = OneBased({2, 4, 7});
    int calls = 0;
    RegressionFit fit;
};

TEST_F(Objective, SumsSquaredResidualsAndCachesFittedValues)
{
    Store(OneBased({-10}), OneBased({10}));
    EXPECT_DOUBLE_EQ(fit.SumOfSquares(OneBased({2})), 0 + 0 + 1);
    EXPECT_EQ(calls, 3);
    EXPECT_EQ(fit.FittedValues(), OneBased({2, 4, 6}));
}

TEST_F(Objective, ParameterOutsideBoundsGivesCeilingWithoutCallingModel)
{
    Store(OneBased({0}), OneBased({1}));
    EXPECT_EQ(fit.SumOfSquares(OneBased({1.5})), 1e30);
    EXPECT_EQ(fit.SumOfSquares(OneBased({-0.5})), 1e30);
    EXPECT_EQ(calls, 0);
    EXPECT_EQ(fit.FittedValues(), OneBased({0, 0, 0}));
}

TEST_F(Objective, ParameterEqualToBoundIsInside)
{
    Store(OneBased({2}), OneBased({3}));
    EXPECT_FALSE(fit.OutOfBounds(OneBased({2})));
    EXPECT_FALSE(fit.OutOfBounds(OneBased({3})));
    EXPECT_DOUBLE_EQ(fit.SumOfSquares(OneBased({2})), 1.0);
}

TEST_F(Objective, CrossedBoundsMakeEveryPointOutOfBounds)
{
    Store(OneBased({3}), OneBased({2}));
    for (double b : {1.0, 2.0, 2.5, 3.0, 4.0}) EXPECT_EQ(fit.SumOfSquares(OneBased({b})), 1e30);
    EXPECT_EQ(calls, 0);
}

TEST_F(Objective, SumAboveCeilingIsCappedAndStopsEarly)
{
    Store(OneBased({-1e30}), OneBased({1e30}));
    fit.SumOfSquares(OneBased({1}));  // caches 1, 2, 3
    calls = 0;
    // The first residual alone is about 4e30: the sum stops after one point.
    EXPECT_EQ(fit.SumOfSquares(OneBased({2e15})), 1e30);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(fit.FittedValues()[1], 2e15);
    EXPECT_EQ(fit.FittedValues()[2], 2.0);  // left from the previous call
    EXPECT_EQ(fit.FittedValues()[3], 3.0);
}

TEST_F(Objective, NotANumberCountsAsAboveCeiling)
{
    fit.StoreFitData([](double, const TVector&) { return std::nan(""); }, ModelDerivatives, x, y, 3, 1, 1,
                     OneBased({-1}), OneBased({1}));
    EXPECT_EQ(fit.SumOfSquares(OneBased({0})), 1e30);
}

TEST_F(Objective, BoundsAreTestedOverTheFittedRangeOnly)
{
    // Parameter 2 is outside [0, 0] but only parameter 1 is fitted.
    fit.StoreFitData(Proportional(&calls), ModelDerivatives, x, y, 3, 1, 1, OneBased({0, 0}), OneBased({5, 0}));
    EXPECT_FALSE(fit.OutOfBounds(OneBased({1, 7})));
}

// --- Derivatives and normal equations -----------------------------------------

TEST(ModelDerivatives, ForwardDifferenceOfLinearModelRestoresParameter)
{
    TVector b = OneBased({2});
    TVector d;
    AllocVector(d, 1);
    ModelDerivatives(Proportional(), 3.0, 6.0, b, 1, 1, d);
    EXPECT_NEAR(d[1], 3.0, 1e-7);
    EXPECT_EQ(b[1], 2.0);
}

TEST(ModelDerivatives, DividesByTheStepAsRepresented)
{
    const double b0 = 0.1;
    TVector b = OneBased({b0});
    TVector d;
    AllocVector(d, 1);
    ModelDerivatives(Proportional(), 1.0, b0, b, 1, 1, d);
    const double step = (b0 + b0 * 1.4901161193847656e-8) - b0;
    EXPECT_EQ(d[1], ((b0 + step) - b0) / step);
}

TEST(ModelDerivatives, ZeroParameterTakesAbsoluteStep)
{
    EXPECT_EQ(PerturbedParameter(0.0), AbsoluteDerivativeStep);
    EXPECT_EQ(PerturbedParameter(5e-324), 5e-324 + AbsoluteDerivativeStep);
    EXPECT_EQ(PerturbedParameter(-2.0), -2.0 + 2.0 * 1.4901161193847656e-8);
    TVector b = OneBased({0.0});
    TVector d;
    AllocVector(d, 1);
    ModelDerivatives(Proportional(), 3.0, 0.0, b, 1, 1, d);
    EXPECT_NEAR(d[1], 3.0, 1e-7);
    EXPECT_TRUE(std::isfinite(d[1]));
    EXPECT_EQ(b[1], 0.0);
}

TEST(ModelDerivatives, ParameterIsRestoredWhenModelThrows)
{
    TVector b = OneBased({2});
    TVector d;
    AllocVector(d, 1);
    const ModelFunction throwing = [](double, const TVector&) -> double { throw std::runtime_error("fault"); };
    EXPECT_THROW(ModelDerivatives(throwing, 1.0, 0.0, b, 1, 1, d), std::runtime_error);
    EXPECT_EQ(b[1], 2.0);
}

TEST(NormalMatrices, AreBuiltAtBWhateverPointTheLastObjectiveCallTried)
{
    RegressionFit fit;
    const TVector x = OneBased({1, 2, 3});
    const TVector y = OneBased({2, 4, 7});
    fit.StoreFitData(Proportional(), ModelDerivatives, x, y, 3, 1, 1, OneBased({-10}), OneBased({10}));
    fit.SumOfSquares(OneBased({1}));  // a line-search trial elsewhere
    TVector b = OneBased({2});
    TVector g;
    TMatrix h;
    AllocVector(g, 1);
    AllocMatrix(h, 1, 1);
    fit.NormalMatrices(b, 1, 1, g, h);
    // m1·x at m1 = 2: J = x, r = y - 2x = (0, 0, 1), so G = -Jᵀr = -3, H = 14.
    EXPECT_NEAR(g[1], -3.0, 1e-6);
    EXPECT_NEAR(h[1][1], 14.0, 1e-6);
    EXPECT_EQ(b[1], 2.0);
}

TEST(NormalMatrices, MirrorUpperTriangle)
{
    RegressionFit fit;
    const TVector x = OneBased({1, 2, 3, 4});
    const TVector y = OneBased({3, 5, 7, 10});
    const ModelFunction line = [](double xv, const TVector& b) { return b[1] + b[2] * xv; };
    fit.StoreFitData(line, ModelDerivatives, x, y, 4, 1, 2, Filled(2, -1e20), Filled(2, 1e20));
    TVector b = OneBased({1, 2});
    fit.SumOfSquares(b);
    TVector g;
    TMatrix h;
    AllocVector(g, 2);
    AllocMatrix(h, 2, 2);
    fit.NormalMatrices(b, 1, 2, g, h);
    EXPECT_EQ(h[1][2], h[2][1]);
    EXPECT_NEAR(h[1][1], 4.0, 1e-6);
    EXPECT_NEAR(h[1][2], 10.0, 1e-6);
    EXPECT_NEAR(h[2][2], 30.0, 1e-5);
    EXPECT_NEAR(g[1], -1.0, 1e-6);  // -Σ r, residuals 0, 0, 0, 1
    EXPECT_NEAR(g[2], -4.0, 1e-6);
}

// --- RunFit ------------------------------------------------------------------

TEST(RunFit, ProportionalModelReachesLeastSquaresSlope)
{
    const TVector x = OneBased({1, 2, 3});
    const TVector y = OneBased({2, 4, 7});
    TVector b = OneBased({1});
    TMatrix v;
    AllocMatrix(v, 1, 1);
    const auto status = RunFit(Proportional(), ModelDerivatives, x, y, 3, 1, 1, b, OneBased({-1e20}),
                               OneBased({1e20}), v, test::Options(100, 1e-6)).Status;
    EXPECT_EQ(status, OptOk);
    EXPECT_NEAR(b[1], 31.0 / 14.0, 1e-7);
    // The inverse of Σx², up to the derivative base values: they are the fitted
    // values of the last line-search trial, not of the result.
    EXPECT_NEAR(v[1][1], 1.0 / 14.0, 1e-2 / 14.0);
}

TEST(RunFit, NoDataPointsIsSingularAndLeavesParameters)
{
    TVector x, y;
    AllocVector(x, 0);
    AllocVector(y, 0);
    TVector b = OneBased({1.5});
    TMatrix v;
    AllocMatrix(v, 1, 1);
    int calls = 0;
    EXPECT_EQ(RunFit(Proportional(&calls), ModelDerivatives, x, y, 0, 1, 1, b, OneBased({-1e20}),
                     OneBased({1e20}), v, test::Options(2, 1e-6)).Status,
              OptSing);
    EXPECT_EQ(b[1], 1.5);
    EXPECT_EQ(calls, 0);
    EXPECT_EQ(RunFit(Proportional(&calls), ModelDerivatives, x, y, 0, 1, 1, b, OneBased({-1e20}),
                     OneBased({1e20}), v, test::Options(1, 1e-6)).Status,
              OptNonConv);
}

TEST(RunFit, ResultStaysInsideBoundsWhenFinalStepWouldLeaveThem)
{
    const TVector x = OneBased({1, 2, 3});
    const TVector y = OneBased({2, 4, 7});
    TVector b = OneBased({1});
    TMatrix v;
    AllocMatrix(v, 1, 1);
    RegressionFit fit;
    std::vector<double> tried;
    const ModelFunction model = [&tried](double xv, const TVector& p) {
        tried.push_back(p[1]);
        return p[1] * xv;
    };
    // The unbounded optimum 31/14 lies above the upper bound 2.
    EXPECT_EQ(fit.RunFit(model, ModelDerivatives, x, y, 3, 1, 1, b, OneBased({0}), OneBased({2}), v, test::Options(50, 1e-6)).Status,
              OptOk);
    EXPECT_LE(b[1], 2.0);
    EXPECT_NEAR(b[1], 2.0, 1e-5);
    for (double p : tried) EXPECT_LE(p, 2.0 + 2.0 * 1.5e-8);  // at most a derivative step beyond
}

TEST(RunFit, ModelExceptionPropagates)
{
    const TVector x = OneBased({1, 2, 3});
    const TVector y = OneBased({2, 4, 7});
    TVector b = OneBased({1});
    TMatrix v;
    AllocMatrix(v, 1, 1);
    const ModelFunction throwing = [](double, const TVector&) -> double { throw std::overflow_error("overflow"); };
    EXPECT_THROW(RunFit(throwing, ModelDerivatives, x, y, 3, 1, 1, b, OneBased({-1e20}), OneBased({1e20}),
                        v, test::Options(10, 1e-6)).Status,
                 std::overflow_error);
}

TEST(RunFit, CurveModelGivesIdenticalResultsToPointModel)
{
    const NoisySigmoid data;
    const TVector start = OneBased({3900, -2900, 4, 18, 3});
    const ModelFunction pointModel = Sigmoid;
    const CurveModelFunction curveModel = [](std::span<const double> xs, const TVector& m, std::span<double> out) {
        for (std::size_t i = 0; i < xs.size(); ++i) out[i] = Sigmoid(xs[i], m);
    };
    TVector b1 = start, b2 = start;
    TMatrix v1, v2;
    AllocMatrix(v1, 5, 5);
    AllocMatrix(v2, 5, 5);
    RegressionFit fit1, fit2;
    const auto s1 = fit1.RunFit(pointModel, ModelDerivatives, data.x, data.y, data.n, 1, 5, b1, 
                                Filled(5, -1e20), Filled(5, 1e20), v1, test::Options(500, 1e-10)).Status;
    const auto s2 = fit2.RunFit(curveModel, CurveModelDerivatives, data.x, data.y, data.n, 1, 5, b2, 
                                Filled(5, -1e20), Filled(5, 1e20), v2, test::Options(500, 1e-10)).Status;
    EXPECT_EQ(s1, OptOk);
    EXPECT_EQ(s1, s2);
    EXPECT_EQ(b1, b2);
    EXPECT_EQ(v1, v2);
    EXPECT_EQ(fit1.FittedValues(), fit2.FittedValues());
    EXPECT_EQ(fit1.ObjectiveCalls(), fit2.ObjectiveCalls());
    EXPECT_NEAR(b1[4], 20.0, 0.5);
}

TEST(RunFit, IndependentFitsOnTwoThreadsMatchSequentialFit)
{
    const NoisySigmoid data;
    const TVector start = OneBased({3900, -2900, 4, 18, 3});
    auto fitOnce = [&](TVector& b) {
        TMatrix v;
        AllocMatrix(v, 5, 5);
        b = start;
        RegressionFit fit;
        return fit.RunFit(Sigmoid, ModelDerivatives, data.x, data.y, data.n, 1, 5, b, Filled(5, -1e20),
                          Filled(5, 1e20), v, test::Options(500, 1e-10)).Status;
    };
    TVector sequential, parallel1, parallel2;
    fitOnce(sequential);
    std::thread other([&] { fitOnce(parallel1); });
    fitOnce(parallel2);
    other.join();
    EXPECT_EQ(parallel1, sequential);
    EXPECT_EQ(parallel2, sequential);
}

} // namespace
} // namespace movra
