#pragma once
// Small helpers shared by the regression tests: vectors from lists and an
// iteration callback that records what the minimiser reports and can cancel.

#include <initializer_list>
#include <cstdint>
#include <vector>

#include "regression/fit_options.h"
#include "shared/matrices.h"

namespace movra::test {

// A TVector whose elements 1..n are the given values (element 0 is 0).
inline TVector OneBased(std::initializer_list<double> values)
{
    TVector v;
    AllocVector(v, static_cast<int>(values.size()));
    int i = 1;
    for (double value : values) v[i++] = value;
    return v;
}

inline TVector Filled(int ub, double value)
{
    TVector v;
    AllocVector(v, ub);
    for (double& e : v) e = value;
    return v;
}

inline FitOptions Options(std::int32_t maxIterations, double tolerance)
{
    FitOptions options;
    options.MaxIterations = maxIterations;
    options.Tolerance = tolerance;
    return options;
}

// Records what the minimiser reports at each iteration and cancels from a
// chosen iteration on (0 = never).
class IterationLog {
public:
    explicit IterationLog(int cancelIteration = 0) : cancelIteration_(cancelIteration) {}

    FitOptions Options(std::int32_t maxIterations = 100, double tolerance = 1e-6)
    {
        FitOptions options;
        options.MaxIterations = maxIterations;
        options.Tolerance = tolerance;
        options.OnIteration = [this](std::int32_t iteration, double objective, double lambda) {
            history.push_back({iteration, objective, lambda});
            return cancelIteration_ == 0 || iteration < cancelIteration_;
        };
        return options;
    }
    int Iterations() const { return static_cast<int>(history.size()); }

    struct Entry {
        std::int32_t Iteration;
        double Objective;
        double Lambda;
    };
    std::vector<Entry> history;

private:
    int cancelIteration_;
};

} // namespace movra::test
