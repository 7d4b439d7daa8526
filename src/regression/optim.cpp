#include "regression/optim.h"

#include <cmath>
#include <utility>

#include "regression/float_constants.h"
#include "regression/linear_solver.h"

namespace movra {

namespace {

// Work storage of the scaled solve, allocated once per fit.
struct ScaledSystem {
    TVector Scale;      // 1/√A[j][j]
    TVector Rhs;        // Scale·G
    TVector Solution;   // Scale⁻¹·Delta
    TMatrix Matrix;     // Scale·A·Scale, unit diagonal when undamped
    TMatrix Inverse;    // its inverse
};

void AllocScaledSystem(ScaledSystem& s, std::int32_t lastPar)
{
    AllocVector(s.Scale, lastPar);
    AllocVector(s.Rhs, lastPar);
    AllocVector(s.Solution, lastPar);
    AllocMatrix(s.Matrix, lastPar, lastPar);
    AllocMatrix(s.Inverse, lastPar, lastPar);
}

// Solves A·Delta = G and inverts A after scaling A to a unit diagonal, so
// the pivot test judges A against its own scale: a parameter whose
// derivatives are all small (a rate in 1/h against readings of 0.1) is not
// singular for that alone. A zero or non-finite diagonal element is.
std::int32_t SolveScaled(const TMatrix& a, const TVector& g, std::int32_t firstPar, std::int32_t lastPar,
                         TMatrix& v, TVector& delta, ScaledSystem& s)
{
    for (std::int32_t j = firstPar; j <= lastPar; ++j) {
        const double diagonal = a[j][j];
        if (!(diagonal > 0.0) || !std::isfinite(diagonal)) return OptSing;
        s.Scale[j] = 1.0 / std::sqrt(diagonal);
    }
    for (std::int32_t j = firstPar; j <= lastPar; ++j) {
        s.Rhs[j] = s.Scale[j] * g[j];
        for (std::int32_t k = firstPar; k <= lastPar; ++k) s.Matrix[j][k] = s.Scale[j] * a[j][k] * s.Scale[k];
    }
    double det = 0.0;
    if (SolveAndInvert(s.Matrix, s.Rhs, firstPar, lastPar, s.Inverse, s.Solution, det) != MatrixOk) return OptSing;
    for (std::int32_t j = firstPar; j <= lastPar; ++j) {
        delta[j] = s.Scale[j] * s.Solution[j];
        for (std::int32_t k = firstPar; k <= lastPar; ++k) v[j][k] = s.Scale[j] * s.Inverse[j][k] * s.Scale[k];
    }
    return OptOk;
}

// The inverse of a positive definite JᵀJ has a positive diagonal; where
// rounding has left a variance zero or negative the matrix is singular in
// all but name.
bool PositiveDiagonal(const TMatrix& v, std::int32_t firstPar, std::int32_t lastPar)
{
    for (std::int32_t j = firstPar; j <= lastPar; ++j)
        if (!(v[j][j] > 0.0) || !std::isfinite(v[j][j])) return false;
    return true;
}

// The final undamped step is kept only when the objective there is not
// larger than before it beyond this relative slack (rounding of the sum).
constexpr double FinalStepSlack = 1e-12;

// Decides on the final undamped step, already taken to B from a point whose
// objective is f. Kept when it stays inside the bounds, does not raise the
// objective and the normal matrix at B is regular; then f becomes the
// objective at B and v the inverse of JᵀJ at B, so the covariance belongs to
// the point reported. Otherwise v keeps the inverse at the point before and
// the caller goes back there. g, h, step and vFinal are work storage.
bool KeepFinalStep(const ObjectiveFunction& func, const NormalEquationsFunction& normal, TVector& b,
                   std::int32_t firstPar, std::int32_t lastPar, const FeasibilityFunction& feasible, double& f,
                   TMatrix& v, TVector& g, TMatrix& h, TVector& step, TMatrix& vFinal, ScaledSystem& scaled)
{
    if (feasible && !feasible(b)) return false;
    const double fNew = func(b);
    if (!(fNew - f <= FinalStepSlack * f)) return false;
    normal(b, firstPar, lastPar, g, h);
    for (std::int32_t j = firstPar; j <= lastPar; ++j) g[j] = -g[j];
    if (SolveScaled(h, g, firstPar, lastPar, vFinal, step, scaled) != OptOk) return false;
    if (!PositiveDiagonal(vFinal, firstPar, lastPar)) return false;
    CopyMatrixRange(v, vFinal, firstPar, firstPar, lastPar, lastPar);
    f = fNew;
    return true;
}

} // namespace

bool ParametersConverged(const TVector& bOld, const TVector& b, std::int32_t firstPar, std::int32_t lastPar,
                         double tol)
{
    for (std::int32_t j = firstPar; j <= lastPar; ++j) {
        const double allowed = std::fabs(bOld[j]) * tol > tol ? std::fabs(bOld[j]) * tol : tol;
        if (!(std::fabs(b[j] - bOld[j]) < allowed)) return false;
    }
    return true;
}

void BracketMinimum(const ScalarFunction& f, double& a, double& b, double& c, double& fa, double& fb, double& fc)
{
    if (a > b) std::swap(a, b);
    fa = f(a);
    fb = f(b);
    if (fb > fa) {
        std::swap(a, b);
        std::swap(fa, fb);
    }
    c = b + GoldenRatio * (b - a);
    fc = f(c);
    while (fc < fb) {
        a = b;
        b = c;
        fa = fb;
        fb = fc;
        c = b + GoldenRatio * (b - a);
        fc = f(c);
    }
    if (a > c) {
        std::swap(a, c);
        std::swap(fa, fc);
    }
}

std::int32_t GoldenSectionSearch(const ScalarFunction& f, double a, double b, std::int32_t maxIter, double tol,
                                 double& rMin, double& fMin)
{
    const double g = GoldenFraction;
    if (tol < SqrtFloatEpsilon) tol = SqrtFloatEpsilon;

    double c = 0.0, fa = 0.0, fb = 0.0, fc = 0.0;
    BracketMinimum(f, a, b, c, fa, fb, fc);
    double x0 = a;
    double x3 = c;
    double x1 = 0.0, x2 = 0.0, f1 = 0.0, f2 = 0.0;
    if (b - a >= c - b) {
        x2 = b;
        f2 = fb;
        x1 = b - g * (b - a);
        f1 = f(x1);
    } else {
        x1 = b;
        f1 = fb;
        x2 = b + g * (c - b);
        f2 = f(x2);
    }

    std::int32_t iter = 0;
    while (iter <= maxIter && std::fabs(x3 - x0) > tol * (std::fabs(x1) + std::fabs(x2))) {
        if (f2 < f1) {
            x0 = x1;
            x1 = x2;
            f1 = f2;
            x2 = x1 + g * (x3 - x1);
            f2 = f(x2);
        } else {
            x3 = x2;
            x2 = x1;
            f2 = f1;
            x1 = x2 - g * (x2 - x0);
            f1 = f(x1);
        }
        ++iter;
    }

    if (f1 < f2) {
        rMin = x1;
        fMin = f1;
    } else {
        rMin = x2;
        fMin = f2;
    }
    return iter > maxIter ? OptNonConv : OptOk;
}

std::int32_t LineMinimum(const ObjectiveFunction& func, TVector& b, const TVector& dir, double& f1, double step,
                         std::int32_t maxIter, std::int32_t firstPar, std::int32_t lastPar, LineSearchWork& work)
{
    AllocVector(work.Start, lastPar);
    AllocVector(work.Direction, lastPar);
    AllocVector(work.Trial, lastPar);
    CopyVectorRange(work.Start, b, firstPar, lastPar);
    CopyVectorRange(work.Direction, dir, firstPar, lastPar);

    const ScalarFunction lineFunction = [&](double r) {
        for (std::int32_t j = firstPar; j <= lastPar; ++j) work.Trial[j] = r * work.Direction[j] + work.Start[j];
        return func(work.Trial);
    };

    double rMin = 0.0;
    double fMin = 0.0;
    const std::int32_t status = GoldenSectionSearch(lineFunction, 0.0, 1.0, maxIter, step, rMin, fMin);
    f1 = fMin;
    work.Step = rMin;
    if (status == OptOk)
        for (std::int32_t j = firstPar; j <= lastPar; ++j) b[j] = rMin * dir[j] + b[j];
    return status;
}

FitSummary MarquardtMinimise(const ObjectiveFunction& func, const NormalEquationsFunction& normal, TVector& b,
                             std::int32_t firstPar, std::int32_t lastPar, const FitOptions& options, TMatrix& v,
                             const FeasibilityFunction& feasible)
{
    double lambda = InitialLambda;
    TVector bOld, g, delta;
    TMatrix h, a, vFinal;
    AllocMatrix(vFinal, lastPar, lastPar);
    AllocVector(bOld, lastPar);
    AllocVector(g, lastPar);
    AllocVector(delta, lastPar);
    AllocMatrix(h, lastPar, lastPar);
    AllocMatrix(a, lastPar, lastPar);
    ScaledSystem scaled;
    AllocScaledSystem(scaled, lastPar);
    LineSearchWork lineWork;

    double f = func(b);
    double f1 = f;  // the line-search result; stays f until a search runs
    std::int32_t iter = 1;
    bool converged = false;
    bool done = false;
    std::int32_t status = OptOk;

    do {
        // Cancel is asked here and acted on after this iteration's step.
        const bool goOn = !options.OnIteration || options.OnIteration(iter, f, lambda);

        CopyVectorRange(bOld, b, firstPar, lastPar);
        normal(b, firstPar, lastPar, g, h);
        CopyMatrixRange(a, h, firstPar, firstPar, lastPar, lastPar);
        for (std::int32_t j = firstPar; j <= lastPar; ++j) g[j] = -g[j];

        if (converged) {
            // Final undamped Gauss-Newton step, no line search; V is the
            // inverse of JᵀJ at B_old.
            status = SolveScaled(a, g, firstPar, lastPar, v, delta, scaled);
            if (status == OptOk && !PositiveDiagonal(v, firstPar, lastPar)) status = OptSing;
            if (status == OptOk) {
                for (std::int32_t j = firstPar; j <= lastPar; ++j) b[j] = bOld[j] + delta[j];
                if (!KeepFinalStep(func, normal, b, firstPar, lastPar, feasible, f, v, g, h, delta, vFinal, scaled))
                    CopyVectorRange(b, bOld, firstPar, lastPar);
            }
            done = true;
        } else {
            bool accepted = false;
            do {
                for (std::int32_t j = firstPar; j <= lastPar; ++j) a[j][j] = (1.0 + lambda) * h[j][j];
                status = SolveScaled(a, g, firstPar, lastPar, v, delta, scaled);
                if (status != OptOk) break;  // singular: B keeps its value
                CopyVectorRange(b, bOld, firstPar, lastPar);
                status = LineMinimum(func, b, delta, f1, LineSearchTolerance, LineSearchMaxIter, firstPar, lastPar,
                                     lineWork);
                accepted = f1 - f < AcceptanceFactor * f;
                if (!accepted) lambda *= 10.0;
                if (lambda > LambdaCeiling) status = OptBigLambda;
            } while (!accepted && status == OptOk);
            converged = ParametersConverged(bOld, b, firstPar, lastPar, options.Tolerance);
            // A line search that had to cut the damped step short says the
            // linearisation does not reach that far: the damping stays
            // instead of shrinking, which keeps the next step from
            // overreaching again (a trust region would shrink here).
            if (status == OptOk && !(std::fabs(lineWork.Step) >= ShortStepFraction)) lambda *= 10.0;
            lambda *= 0.1;
            f = f1;
        }

        ++iter;
        if (!goOn || iter > options.MaxIterations) status = OptNonConv;
    } while (!done && status == OptOk);

    return {static_cast<FitStatus>(status), f, iter - 1};
}

} // namespace movra
