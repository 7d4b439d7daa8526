#pragma once
// The regression interface: one RegressionFit object holds the data, bounds
// and model of one fit and runs the selected minimiser on the bounded sum of
// squared residuals, with the model's exact Jacobian or forward-difference
// derivatives of the model. Each
// object is independent, so separate fits may run on separate threads; one
// object runs one fit at a time.
//
// The model is given either per point or for the whole curve at once; both
// forms give identical results, the curve form saves the per-point call.

#include <cstdint>
#include <functional>
#include <span>

#include "regression/fit_options.h"
#include "regression/optim.h"
#include "shared/matrices.h"

namespace movra {

// The model at abscissa x with parameters B[firstPar..lastPar].
using ModelFunction = std::function<double(double x, const TVector& b)>;
// The model at every abscissa of xs at once, written to out (same length).
using CurveModelFunction = std::function<void(std::span<const double> xs, const TVector& b, std::span<double> out)>;

// The model of a whole curve with its exact Jacobian: out[i] as the curve
// model gives it and jacobian[j][i] = ∂out[i]/∂B[j] for j = firstPar..lastPar
// (point i counted from 0), in one pass.
using CurveJacobianFunction =
    std::function<void(std::span<const double> xs, const TVector& b, std::span<double> out, TMatrix& jacobian)>;

// Fills D[firstPar..lastPar] with ∂func/∂B[j] at (x, B), given y = func(x, B)
// (or the value cached for it). B is perturbed and restored exactly.
using DerivativeProcedure = void (*)(const ModelFunction& func, double x, double y, TVector& b,
                                     std::int32_t firstPar, std::int32_t lastPar, TVector& d);
// The same for a whole curve: row j of d (indices 0..n-1) receives the
// derivative at every point xs[i], given ys[i] = func at xs[i].
using CurveDerivativeProcedure = void (*)(const CurveModelFunction& func, std::span<const double> xs,
                                          std::span<const double> ys, TVector& b, std::int32_t firstPar,
                                          std::int32_t lastPar, TMatrix& d);

inline constexpr double ObjectiveCeiling = 1e30;
// Step of a parameter whose relative step vanishes (B[j] = 0 or so small
// that |B[j]|·√FloatEpsilon does not change it).
inline constexpr double AbsoluteDerivativeStep = 1.4901161193847656e-8;

// The step ModelDerivatives and CurveModelDerivatives take from b:
// b + |b|·√FloatEpsilon, or b + AbsoluteDerivativeStep when that equals b.
double PerturbedParameter(double b) noexcept;

// Forward differences with the relative step of PerturbedParameter, divided
// by the step as represented.
void ModelDerivatives(const ModelFunction& func, double x, double y, TVector& b, std::int32_t firstPar,
                      std::int32_t lastPar, TVector& d);
void CurveModelDerivatives(const CurveModelFunction& func, std::span<const double> xs, std::span<const double> ys,
                           TVector& b, std::int32_t firstPar, std::int32_t lastPar, TMatrix& d);

enum class FitMethod : std::uint8_t { Marquardt = 0 };

class RegressionFit {
public:
    void SelectFitMethod(FitMethod method) { method_ = method; }

    // Fits the model to the points (X[i], Y[i]), i = 1..n, over the parameters
    // firstPar..lastPar within [bMin, bMax]. B holds the start values and
    // receives the result; v (allocated by the caller to at least
    // lastPar x lastPar) receives the inverse normal matrix on OptOk.
    // Exceptions of the model propagate.
    FitSummary RunFit(ModelFunction func, DerivativeProcedure deriv, const TVector& x, const TVector& y,
                      std::int32_t n, std::int32_t firstPar, std::int32_t lastPar, TVector& b, const TVector& bMin,
                      const TVector& bMax, TMatrix& v, const FitOptions& options = {});
    FitSummary RunFit(CurveModelFunction func, CurveDerivativeProcedure deriv, const TVector& x, const TVector& y,
                      std::int32_t n, std::int32_t firstPar, std::int32_t lastPar, TVector& b, const TVector& bMin,
                      const TVector& bMax, TMatrix& v, const FitOptions& options = {});
    // With the exact Jacobian in place of forward differences: the normal
    // equations take their residuals and derivatives from one pass of
    // jacobian at B.
    FitSummary RunFit(CurveModelFunction func, CurveJacobianFunction jacobian, const TVector& x, const TVector& y,
                      std::int32_t n, std::int32_t firstPar, std::int32_t lastPar, TVector& b, const TVector& bMin,
                      const TVector& bMax, TMatrix& v, const FitOptions& options = {});

    // Stores the data, bounds and model of a fit without running it (RunFit
    // does this first); SumOfSquares and NormalMatrices then work on them.
    void StoreFitData(ModelFunction func, DerivativeProcedure deriv, const TVector& x, const TVector& y,
                      std::int32_t n, std::int32_t firstPar, std::int32_t lastPar, const TVector& bMin,
                      const TVector& bMax);
    void StoreFitData(CurveModelFunction func, CurveDerivativeProcedure deriv, const TVector& x, const TVector& y,
                      std::int32_t n, std::int32_t firstPar, std::int32_t lastPar, const TVector& bMin,
                      const TVector& bMax);
    void StoreFitData(CurveModelFunction func, CurveJacobianFunction jacobian, const TVector& x, const TVector& y,
                      std::int32_t n, std::int32_t firstPar, std::int32_t lastPar, const TVector& bMin,
                      const TVector& bMax);

    // The objective: sum of squared residuals, ObjectiveCeiling for B out of
    // bounds (model not called) and as the cap of the sum.
    double SumOfSquares(const TVector& b);
    bool OutOfBounds(const TVector& b) const;
    // G = -Jᵀr and H = JᵀJ at B: residuals and difference bases are the
    // model at B itself, taken from the cache when the last complete
    // SumOfSquares was at B and evaluated afresh otherwise.
    void NormalMatrices(TVector& b, std::int32_t firstPar, std::int32_t lastPar, TVector& g, TMatrix& h);

    const TVector& FittedValues() const { return fittedValues_; }
    // Model evaluations at single points since the last RunFit started.
    std::int64_t PointEvaluations() const { return pointEvaluations_; }
    // SumOfSquares calls since the last RunFit started.
    std::int64_t ObjectiveCalls() const { return objectiveCalls_; }

private:
    void StoreData(const TVector& x, const TVector& y, std::int32_t n, std::int32_t firstPar, std::int32_t lastPar,
                   const TVector& bMin, const TVector& bMax);
    FitSummary Minimise(TVector& b, TMatrix& v, const FitOptions& options);
    // Model values into fittedValues_ and their sum of squared residuals;
    // with stopAtCeiling the points after the sum passes ObjectiveCeiling
    // are skipped.
    double EvaluateModel(const TVector& b, bool stopAtCeiling);
    bool CacheHolds(const TVector& b) const;
    // Points FirstPoint..N of a stored vector (empty when N < FirstPoint).
    std::span<const double> Points(const TVector& v) const
    {
        if (lastPoint_ < FirstPoint) return {};
        return {v.data() + FirstPoint, static_cast<std::size_t>(lastPoint_)};
    }

    static constexpr std::int32_t FirstPoint = 1;

    FitMethod method_ = FitMethod::Marquardt;
    std::int32_t lastPoint_ = 1;
    std::int32_t firstPar_ = 0;
    std::int32_t lastPar_ = 1;
    TVector x_, y_, fittedValues_;
    // The parameters fittedValues_ belong to, valid only when every point of
    // the last evaluation was computed.
    TVector cachedParams_;
    bool cacheComplete_ = false;
    double cachedSum_ = 0.0;  // their sum of squared residuals
    TVector bMin_, bMax_;
    ModelFunction model_;
    DerivativeProcedure derivative_ = nullptr;
    CurveModelFunction curveModel_;
    CurveDerivativeProcedure curveDerivative_ = nullptr;
    CurveJacobianFunction curveJacobian_;

    // Work storage reused across calls of one fit.
    TVector derivatives_;      // D of one point
    TVector curveValues_;      // model values of the whole curve
    TMatrix curveDerivatives_; // [j][i], i = 0..n-1

    std::int64_t pointEvaluations_ = 0;
    std::int64_t objectiveCalls_ = 0;
};

// One fit with a fresh RegressionFit (Marquardt), for callers that keep no
// regression object.
FitSummary RunFit(ModelFunction func, DerivativeProcedure deriv, const TVector& x, const TVector& y, std::int32_t n,
                  std::int32_t firstPar, std::int32_t lastPar, TVector& b, const TVector& bMin, const TVector& bMax,
                  TMatrix& v, const FitOptions& options = {});

} // namespace movra
