#pragma once
// Helpers shared by the regression tests: one-based vectors, zero matrices and
// the sigmoid of the first list formula, per point and per curve.

#include <cmath>
#include <initializer_list>
#include <span>

#include "shared/matrices.h"

namespace movra::test {

// Elements 1..n are the given values, element 0 is 0.
inline TVector OneBased(std::initializer_list<double> values)
{
    TVector v(1, 0.0);
    v.insert(v.end(), values);
    return v;
}

inline TVector Filled(int ub, double value) { return TVector(static_cast<std::size_t>(ub) + 1, value); }

// Rows 0..ub1 of elements 0..ub2, all zero.
inline TMatrix Zeros(int ub1, int ub2) { return TMatrix(static_cast<std::size_t>(ub1) + 1, Filled(ub2, 0.0)); }

// m1+(m2+m3*x)/(1+exp((m4-x)/m5)), entry 0 of the fit formula list.
inline double Sigmoid(double x, const TVector& m) { return m[1] + (m[2] + m[3] * x) / (1 + std::exp((m[4] - x) / m[5])); }

// The sigmoid at every x of a curve, as a curve model.
inline void SigmoidCurve(std::span<const double> xs, const TVector& m, std::span<double> out)
{
    for (std::size_t i = 0; i < xs.size(); ++i) out[i] = Sigmoid(xs[i], m);
}

} // namespace movra::test
