// The objective and the normal equations allocate nothing once a fit's data
// are stored: every heap allocation of this program is counted.

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <cstdlib>
#include <new>
#include <span>

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

double Sigmoid(double x, const TVector& m)
{
    return m[1] + (m[2] + m[3] * x) / (1 + std::exp((m[4] - x) / m[5]));
}

void AllocateOneVector()
{
    std::vector<double> v(10, 1.0);
    EXPECT_EQ(v.size(), 10u);
}

class NoAllocation : public ::testing::Test {
protected:
    NoAllocation()
    {
        AllocVector(x, 50);
        AllocVector(y, 50);
        for (int i = 1; i <= 50; ++i) {
            x[i] = i;
            y[i] = Sigmoid(i, b) + std::sin(i);
        }
        AllocVector(g, 5);
        AllocMatrix(h, 5, 5);
    }
    long AllocationsDuring(const std::function<void()>& work)
    {
        const long before = allocations.load();
        work();
        return allocations.load() - before;
    }
    TVector b = OneBased({4000, -3000, 2, 20, 3});
    TVector x, y, g;
    TMatrix h;
    RegressionFit fit;
};

TEST_F(NoAllocation, CounterSeesAllocations)
{
    EXPECT_EQ(AllocationsDuring([] { AllocateOneVector(); }), 1);
}

TEST_F(NoAllocation, PerPointObjectiveAndNormalEquations)
{
    fit.StoreFitData(Sigmoid, ModelDerivatives, x, y, 50, 1, 5, Filled(5, -1e20), Filled(5, 1e20));
    const long count = AllocationsDuring([&] {
        for (int k = 0; k < 20; ++k) {
            b[4] += 0.01;
            fit.SumOfSquares(b);
            fit.NormalMatrices(b, 1, 5, g, h);
        }
    });
    EXPECT_EQ(count, 0);
}

TEST_F(NoAllocation, WholeCurveObjectiveAndNormalEquations)
{
    const CurveModelFunction curve = [](std::span<const double> xs, const TVector& m, std::span<double> out) {
        for (std::size_t i = 0; i < xs.size(); ++i) out[i] = Sigmoid(xs[i], m);
    };
    fit.StoreFitData(curve, CurveModelDerivatives, x, y, 50, 1, 5, Filled(5, -1e20), Filled(5, 1e20));
    const long count = AllocationsDuring([&] {
        for (int k = 0; k < 20; ++k) {
            b[4] += 0.01;
            fit.SumOfSquares(b);
            fit.NormalMatrices(b, 1, 5, g, h);
        }
    });
    EXPECT_EQ(count, 0);
}

} // namespace
} // namespace movra
