#pragma once
// The Marquardt minimiser: a damped Gauss-Newton method whose damped step only
// fixes a direction, searched by golden section. The damping shrinks tenfold
// after an accepted iteration and grows tenfold after a rejected step; once
// the parameters stop changing one undamped step is taken and the inverse of
// the undamped normal matrix is returned for the covariance. Also the line
// search pieces (bracketing, golden section) and the convergence test.

#include <cstdint>
#include <functional>

#include "regression/fit_options.h"
#include "shared/matrices.h"

namespace movra {

// The objective (sum of squares) at parameters B.
using ObjectiveFunction = std::function<double(const TVector& b)>;
// Fills G = -Jᵀr and H = JᵀJ over firstPar..lastPar at B; may perturb B
// temporarily but restores it exactly.
using NormalEquationsFunction =
    std::function<void(TVector& b, std::int32_t firstPar, std::int32_t lastPar, TVector& g, TMatrix& h)>;
// Whether parameters B lie inside the bounds of the problem.
using FeasibilityFunction = std::function<bool(const TVector& b)>;
// A function of one variable, minimised by the line search.
using ScalarFunction = std::function<double(double r)>;

inline constexpr double InitialLambda = 0.01;
inline constexpr double LambdaCeiling = 1000.0;      // above it: OptBigLambda
inline constexpr double AcceptanceFactor = 1e-10;    // F1 - F < 1e-10·F accepts
inline constexpr double LineSearchTolerance = 0.01;
// An accepted line search that went less than this fraction of the damped
// step leaves the damping unchanged instead of shrinking it.
inline constexpr double ShortStepFraction = 0.25;
inline constexpr std::int32_t LineSearchMaxIter = 100;
inline constexpr double GoldenFraction = 0.38196601125010515;   // 2 minus the golden ratio
inline constexpr double GoldenRatio = 1.618033988749895;        // bracket expansion

// Minimises func from B over firstPar..lastPar within options' cap and
// tolerance. The normal equations are solved scaled to a unit diagonal, so
// OptSing means singular relative to the matrix's own scale (or a
// covariance with a variance that is not positive). The damping shrinks
// tenfold after an accepted iteration unless its line search cut the damped
// step below ShortStepFraction. Once the parameters stop changing one
// undamped step is taken; it is kept only when it does not raise the
// objective (and, with feasible given, stays inside the bounds). On OptOk B
// is the point reported, the summary's objective is the one there and v
// (allocated by the caller to at least lastPar x lastPar) the inverse of the
// undamped JᵀJ at B.
FitSummary MarquardtMinimise(const ObjectiveFunction& func, const NormalEquationsFunction& normal, TVector& b,
                             std::int32_t firstPar, std::int32_t lastPar, const FitOptions& options, TMatrix& v,
                             const FeasibilityFunction& feasible = {});

// True when every parameter changed by less than max(|bOld[j]|·tol, tol).
bool ParametersConverged(const TVector& bOld, const TVector& b, std::int32_t firstPar, std::int32_t lastPar,
                         double tol);

// Work vectors of the line search, kept by the caller so that repeated
// searches of one fit reuse their storage.
struct LineSearchWork {
    TVector Start;      // B0
    TVector Direction;  // Dir
    TVector Trial;      // W = R·Dir + B0
    double Step = 0.0;  // Rmin of the last search
};

// Minimises func(B + R·dir) over R by golden section from 0 and 1. On OptOk
// B := Rmin·dir + B; in both cases f1 is the best objective found. Returns
// OptOk or OptNonConv (out of iterations).
std::int32_t LineMinimum(const ObjectiveFunction& func, TVector& b, const TVector& dir, double& f1, double step,
                         std::int32_t maxIter, std::int32_t firstPar, std::int32_t lastPar, LineSearchWork& work);

// Brackets a minimum of f starting from the pair (a, b): on return a < c and
// f(b) <= f(a), f(c).
void BracketMinimum(const ScalarFunction& f, double& a, double& b, double& c, double& fa, double& fb, double& fc);

// Golden-section search from the pair (a, b) to relative tolerance tol
// (at least √FloatEpsilon); returns OptOk, or OptNonConv after maxIter + 1
// steps without reaching the tolerance.
std::int32_t GoldenSectionSearch(const ScalarFunction& f, double a, double b, std::int32_t maxIter, double tol,
                                 double& rMin, double& fMin);

} // namespace movra
