// The objective and the normal equations allocate nothing once a fit's data
// are stored, per point and per curve: every heap allocation of this program
// is counted.

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <new>
#include <vector>

#include "fit_test_support.h"
#include "fitting/fit_formulas.h"
#include "fitting/fit_model.h"
#include "regression/regress.h"

namespace {
std::atomic<long> allocations{0};
}

// The replacements pair malloc with free; GCC cannot see that across them.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

void* operator new(std::size_t size)
{
    ++allocations;
    if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace movra {
namespace {

using namespace test;

// Allocations during twenty steps, each after moving parameter 4.
long AllocationsOverSteps(TVector& b, const std::function<void()>& step)
{
    const long before = allocations.load();
    for (int k = 0; k < 20; ++k) {
        b[4] += 0.01;
        step();
    }
    return allocations.load() - before;
}

TEST(NoAllocation, ObjectiveAndNormalEquationsOfPointAndCurveModels)
{
    TVector b = OneBased({4000, -3000, 2, 20, 3});
    ASSERT_EQ(AllocationsOverSteps(b, [] { EXPECT_EQ(std::vector<double>(10, 1.0).size(), 10u); }), 20);  // counting works
    TVector x = Filled(50, 0.0), y = Filled(50, 0.0), g = Filled(5, 0.0);
    for (int i = 1; i <= 50; ++i) {
        x[i] = i;
        y[i] = Sigmoid(i, b) + std::sin(i);
    }
    TMatrix h = Zeros(5, 5);
    for (bool wholeCurve : {false, true}) {
        RegressionFit fit;
        if (wholeCurve)
            fit.StoreFitData(SigmoidCurve, CurveModelDerivatives, x, y, 50, 1, 5, Filled(5, -1e20), Filled(5, 1e20));
        else
            fit.StoreFitData(Sigmoid, ModelDerivatives, x, y, 50, 1, 5, Filled(5, -1e20), Filled(5, 1e20));
        const long count = AllocationsOverSteps(b, [&] {
            fit.SumOfSquares(b);
            fit.NormalMatrices(b, 1, 5, g, h);
        });
        EXPECT_EQ(count, 0) << (wholeCurve ? "curve" : "per point");
    }
}

TEST(NoAllocation, ModelWithItsExactJacobianThroughTheParserAndCompiledCode)
{
    std::vector<double> xs(60), out(60);
    for (std::size_t i = 0; i < xs.size(); ++i) xs[i] = 0.05 * static_cast<double>(i);
    for (int entry : {0, 11}) {
        TParser parser2;
        const auto slots = DefineFitParameters(parser2);
        const std::string text(kFitFormulas[static_cast<std::size_t>(entry)]);
        parser2.setExpression(text);
        FitModel model(parser2, slots, text, entry, FitParameterNames(text));
        TVector b = OneBased({0.1, 0.8, 4, 0.9, 0.7, 0.05, 0.02});
        TMatrix jacobian = Zeros(7, 59);
        model.EvaluateCurve(xs, b, out);  // the evaluators are built once
        model.EvaluateCurveAndJacobian(xs, b, out, jacobian);
        const long count = AllocationsOverSteps(b, [&] {
            model.EvaluateCurve(xs, b, out);
            model.EvaluateCurveAndJacobian(xs, b, out, jacobian);
        });
        EXPECT_EQ(count, 0) << "entry " << entry;
    }
}

} // namespace
} // namespace movra
