#pragma once
// Vectors and matrices of the regression engine and the plate data: plain
// value types indexed 0..Ub, zero-filled on allocation, and the loops that
// copy or exchange an inclusive index range of them. The program's ranges
// start at index 1 (parameters 1..8, data points 1..N); index 0 exists but is
// not used by those ranges. An empty range (Lb > Ub) does nothing.

#include <cstdint>
#include <utility>
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

// Range routines: plain loops over inclusive index ranges.

// Swaps A[i][j] and A[k][j] for j = lb..ub.
inline void ExchangeRows(int i, int k, TMatrix& a, int lb, int ub)
{
    for (int j = lb; j <= ub; ++j) std::swap(a[i][j], a[k][j]);
}

// Swaps A[i][j] and A[i][k] for i = lb..ub.
inline void ExchangeColumns(int j, int k, TMatrix& a, int lb, int ub)
{
    for (int i = lb; i <= ub; ++i) std::swap(a[i][j], a[i][k]);
}

inline void CopyVectorRange(TVector& dest, const TVector& source, int lb, int ub)
{
    for (int i = lb; i <= ub; ++i) dest[i] = source[i];
}

inline void CopyMatrixRange(TMatrix& dest, const TMatrix& source, int lb1, int lb2, int ub1, int ub2)
{
    for (int i = lb1; i <= ub1; ++i)
        for (int j = lb2; j <= ub2; ++j) dest[i][j] = source[i][j];
}

// Dest[row][j] := Source[j] for j = lb..ub.
inline void MatrixRowFromVector(TMatrix& dest, const TVector& source, int lb, int ub, int row)
{
    for (int j = lb; j <= ub; ++j) dest[row][j] = source[j];
}

// Dest[j] := Source[row][j] for j = lb..ub.
inline void VectorFromMatrixRow(TVector& dest, const TMatrix& source, int lb, int ub, int row)
{
    for (int j = lb; j <= ub; ++j) dest[j] = source[row][j];
}

} // namespace movra
