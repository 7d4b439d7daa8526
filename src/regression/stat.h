#pragma once
// Descriptive sums over an inclusive index range of a vector. The squared
// terms are formed in extended precision and added to a double sum; an empty
// range (lb > ub) gives 0.

#include "shared/matrices.h"

namespace movra {

// Mean of X[lb..ub]; 0 for an empty range.
double MeanOf(const TVector& x, int lb, int ub);
// Σ (X[i] - m)² over lb..ub.
double SquaredDeviationSum(const TVector& x, int lb, int ub, double m);
// Σ (X[i] - Y[i])² over lb..ub.
double SquaredDifferenceSum(const TVector& x, const TVector& y, int lb, int ub);

} // namespace movra
