#include "regression/linear_solver.h"

#include <cmath>

#include "regression/float_constants.h"

namespace movra {

int SolveAndInvert(const TMatrix& a, const TVector& b, int lb, int ub, TMatrix& aInv, TVector& x, double& det)
{
    TIntVector pivotRow;
    TIntVector pivotColumn;
    TVector pivotColumnValues;
    AllocIntVector(pivotRow, ub);
    AllocIntVector(pivotColumn, ub);
    AllocVector(pivotColumnValues, ub);

    CopyMatrixRange(aInv, a, lb, lb, ub, ub);
    CopyVectorRange(x, b, lb, ub);
    det = 1.0;

    for (int k = lb; k <= ub; ++k) {
        // Largest remaining element, rows outer, columns inner; a later
        // element wins only when strictly larger.
        double pivot = aInv[k][k];
        int row = k;
        int column = k;
        for (int i = k; i <= ub; ++i)
            for (int j = k; j <= ub; ++j)
                if (std::fabs(aInv[i][j]) > std::fabs(pivot)) {
                    pivot = aInv[i][j];
                    row = i;
                    column = j;
                }

        // Written as a negated comparison so a NaN pivot counts as singular too.
        if (!(std::fabs(pivot) >= FloatEpsilon)) return MatrixSingular;

        pivotRow[k] = row;
        pivotColumn[k] = column;
        det *= pivot;
        if (row != k) det = -det;
        if (column != k) det = -det;

        if (row != k) {
            ExchangeRows(row, k, aInv, lb, ub);
            std::swap(x[row], x[k]);
        }
        if (column != k) ExchangeColumns(column, k, aInv, lb, ub);

        for (int i = lb; i <= ub; ++i) {
            if (i != k) {
                pivotColumnValues[i] = aInv[i][k];
                aInv[i][k] = 0.0;
            } else {
                pivotColumnValues[i] = 0.0;
                aInv[k][k] = 1.0;
            }
        }

        for (int j = lb; j <= ub; ++j) aInv[k][j] /= pivot;
        x[k] /= pivot;

        for (int i = lb; i <= ub; ++i) {
            if (i == k) continue;
            const double t = pivotColumnValues[i];
            for (int j = lb; j <= ub; ++j) aInv[i][j] -= t * aInv[k][j];
            x[i] -= t * x[k];
        }
    }

    // Undo the permutations: column pivots permute the rows of the inverse
    // and the solution, row pivots permute the columns of the inverse.
    for (int i = ub; i >= lb; --i) {
        const int c = pivotColumn[i];
        if (c != i) {
            ExchangeRows(c, i, aInv, lb, ub);
            std::swap(x[c], x[i]);
        }
    }
    for (int j = ub; j >= lb; --j) {
        const int r = pivotRow[j];
        if (r != j) ExchangeColumns(r, j, aInv, lb, ub);
    }
    return MatrixOk;
}

} // namespace movra
