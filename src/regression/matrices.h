#pragma once
// Vectors and matrices of the regression engine and the plate data: plain
// value types indexed 0..Ub, zero-filled on allocation. The program's ranges
// start at index 1 (parameters 1..8, data points 1..N); index 0 exists but is
// not used by those ranges.

#include <cstdint>
#include <vector>

namespace movra {

using TVector = std::vector<double>;
using TIntVector = std::vector<std::int32_t>;
using TMatrix = std::vector<TVector>;  // A[row][column]

// Ub < 0 leaves the array empty; otherwise indices 0..Ub, all zero.
inline void AllocVector(TVector& v, int ub)
{
    v.assign(ub < 0 ? 0 : static_cast<std::size_t>(ub) + 1, 0.0);
}

inline void AllocIntVector(TIntVector& v, int ub)
{
    v.assign(ub < 0 ? 0 : static_cast<std::size_t>(ub) + 1, 0);
}

inline void AllocMatrix(TMatrix& a, int ub1, int ub2)
{
    if (ub1 < 0 || ub2 < 0) {
        a.clear();
        return;
    }
    a.assign(static_cast<std::size_t>(ub1) + 1, TVector(static_cast<std::size_t>(ub2) + 1, 0.0));
}

} // namespace movra
