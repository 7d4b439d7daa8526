#pragma once
// The dense linear solver of the Marquardt minimiser: Gauss-Jordan
// elimination with full pivoting that solves A·X = B and also returns the
// inverse and the determinant of A. A pivot smaller than FloatEpsilon in
// magnitude stops it with MatrixSingular. Inputs are never modified.

#include <cstdint>

#include "shared/matrices.h"

namespace movra {

inline constexpr int MatrixOk = 0;
inline constexpr int MatrixSingular = -1;

// Solves A·X = B over the square index range lb..ub. AInv (allocated by the
// caller to at least ub x ub) receives the inverse of A, X the solution and
// det the determinant. On MatrixSingular AInv, X and det hold partial results.
int SolveAndInvert(const TMatrix& a, const TVector& b, int lb, int ub, TMatrix& aInv, TVector& x, double& det);

} // namespace movra
