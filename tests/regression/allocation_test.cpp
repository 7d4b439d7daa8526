// The objective and the normal equations allocate nothing once a fit's data
// are stored, per point and per curve: every heap allocation of this program
// is counted.

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <new>
#include <span>
#include <vector>

#include "fit_test_support.h"
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

using test::Filled;
using test::OneBased;
using test::Sigmoid;

long AllocationsDuring(const std::function<void()>& work)
{
    const long before = allocations.load();
    work();
    return allocations.load() - before;
}

TEST(NoAllocation, ObjectiveAndNormalEquationsOfPointAndCurveModels)
{
    ASSERT_EQ(AllocationsDuring([] { EXPECT_EQ(std::vector<double>(10, 1.0).size(), 10u); }), 1);  // counting works
    TVector b = OneBased({4000, -3000, 2, 20, 3});
    TVector x = Filled(50, 0.0), y = Filled(50, 0.0), g = Filled(5, 0.0);
    for (int i = 1; i <= 50; ++i) {
        x[i] = i;
        y[i] = Sigmoid(i, b) + std::sin(i);
    }
    TMatrix h;
    AllocMatrix(h, 5, 5);
    const CurveModelFunction curve = [](std::span<const double> xs, const TVector& m, std::span<double> out) {
        for (std::size_t i = 0; i < xs.size(); ++i) out[i] = Sigmoid(xs[i], m);
    };
    for (bool wholeCurve : {false, true}) {
        RegressionFit fit;
        if (wholeCurve)
            fit.StoreFitData(curve, CurveModelDerivatives, x, y, 50, 1, 5, Filled(5, -1e20), Filled(5, 1e20));
        else
            fit.StoreFitData(Sigmoid, ModelDerivatives, x, y, 50, 1, 5, Filled(5, -1e20), Filled(5, 1e20));
        const long count = AllocationsDuring([&] {
            for (int k = 0; k < 20; ++k) {
                b[4] += 0.01;
                fit.SumOfSquares(b);
                fit.NormalMatrices(b, 1, 5, g, h);
            }
        });
        EXPECT_EQ(count, 0) << (wholeCurve ? "curve" : "per point");
    }
}

} // namespace
} // namespace movra
