#pragma once
// How one fit runs and what it reports back: the iteration cap, the
// tolerance and an iteration callback going in, the status, the objective
// and the iteration count coming out. The callback is how a display follows
// a fit and how a fit is cancelled; the regression engine itself shows
// nothing.

#include <cstdint>
#include <functional>

#include "regression/fit_status.h"

namespace movra {

// Called at the start of every iteration with its number (from 1), the
// objective at the current parameters and the damping factor. Returning
// false cancels: the fit finishes that iteration and ends with OptNonConv.
using IterationCallback = std::function<bool(std::int32_t iteration, double objective, double lambda)>;

struct FitOptions {
    std::int32_t MaxIterations = 500;  // iterations allowed, the last one included
    double Tolerance = 1e-6;           // relative parameter change (absolute below 1)
    IterationCallback OnIteration;     // none: nothing shown, never cancelled
};

struct FitSummary {
    FitStatus Status = OptNonConv;
    // The objective at the parameters returned on OptOk; on a failure the
    // last accepted line search's value.
    double Objective = 0.0;
    std::int32_t Iterations = 0;  // iterations begun
};

} // namespace movra
