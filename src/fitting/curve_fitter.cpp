#include "fitting/curve_fitter.h"

#include <algorithm>
#include <exception>

#include "regression/regression_statistics.h"
#include "shared/one_based.h"

namespace movra {

CurvePoints CurvePointsInView(const TVector& timeVector, const TVector& curve, std::int32_t timePointCount,
                              ReadRange view)
{
    const std::int32_t first = std::max(view.ViewFirstPoint, 1);
    const auto stored = static_cast<std::int32_t>(std::min(timeVector.size(), curve.size())) - 1;
    const std::int32_t last = std::min({view.ViewLastPoint, timePointCount, stored});
    CurvePoints points;
    points.Count = std::max(last - first + 1, 0);
    AllocVector(points.X, points.Count + 1);
    AllocVector(points.Y, points.Count + 1);
    for (std::int32_t i = 1; i <= points.Count; ++i) {
        At(points.X, i) = At(timeVector, first + i - 1);
        At(points.Y, i) = At(curve, first + i - 1);
    }
    if (points.Count >= 1) {
        points.X[0] = points.X[1];
        points.Y[0] = points.Y[1];
    }
    return points;
}

CurveFitter::CurveFitter(TParser& parser2, const std::array<double*, 9>& slots, const FitSettings& settings)
    : settings_(settings),
      model_(parser2, slots, settings.FitFormulaText, settings.FitFormulaIndex, settings.Names)
{
}

CurveFitResult CurveFitter::Fit(const TVector& timeVector, const TVector& curve, std::int32_t timePointCount,
                                const IterationCallback& onIteration)
{
    const CurvePoints points = CurvePointsInView(timeVector, curve, timePointCount, settings_.View);
    const auto& names = settings_.Names;
    const auto n = static_cast<std::int32_t>(names.size());
    const std::int32_t count = points.Count;

    // Bounds and start values in fit order: position k is parameter names[k-1].
    TVector b, bMin, bMax;
    AllocVector(b, kMaxParameters);
    AllocVector(bMin, kMaxParameters);
    AllocVector(bMax, kMaxParameters);
    for (std::int32_t k = 1; k <= n; ++k) {
        const int name = At(names, k - 1);
        At(b, k) = At(settings_.StartValues, k - 1);
        At(bMin, k) = At(settings_.LimitMin, name);
        At(bMax, k) = At(settings_.LimitMax, name);
    }
    TMatrix v;
    AllocMatrix(v, kMaxParameters, kMaxParameters);

    CurveFitResult result;
    result.Row[0] = -1.0;
    regression_.SelectFitMethod(FitMethod::Marquardt);
    if (!settings_.Tolerance) {
        result.Status = OptBigLambda;
        return result;
    }
    try {
        FitOptions options;
        options.MaxIterations = settings_.MaxIterations;
        options.Tolerance = *settings_.Tolerance;
        options.OnIteration = onIteration;
        const CurveModelFunction curveModel = [this](std::span<const double> xs, const TVector& params,
                                                     std::span<double> out) { model_.EvaluateCurve(xs, params, out); };
        if (settings_.Derivatives == DerivativeMode::Exact) {
            const CurveJacobianFunction jacobian = [this](std::span<const double> xs, const TVector& params,
                                                          std::span<double> out, TMatrix& d) {
                model_.EvaluateCurveAndJacobian(xs, params, out, d);
            };
            result.Status =
                regression_.RunFit(curveModel, jacobian, points.X, points.Y, count, 1, n, b, bMin, bMax, v, options)
                    .Status;
        } else {
            result.Status = regression_
                                .RunFit(curveModel, CurveModelDerivatives, points.X, points.Y, count, 1, n, b, bMin,
                                        bMax, v, options)
                                .Status;
        }
    } catch (const std::exception&) {
        result.Status = OptBigLambda;
    }
    if (result.Status != OptOk) return result;

    TVector yCalc;
    AllocVector(yCalc, count);
    double chiSq = 0.0;
    double ySum = 0.0;
    result.Residuals.resize(static_cast<std::size_t>(std::max(count, 0)));
    for (std::int32_t i = 1; i <= count; ++i) {
        const auto p = static_cast<std::size_t>(i);
        yCalc[p] = model_.FitModelFunc(points.X[p], b);
        const double r = points.Y[p] - yCalc[p];
        result.Residuals[p - 1] = r;
        chiSq += r * r;
        ySum += points.Y[p];
    }
    // R² against the mean of the fitted points; undefined (NaN) for a flat curve.
    double totalSquares = 0.0;
    for (std::int32_t i = 1; i <= count; ++i) {
        const double d = points.Y[static_cast<std::size_t>(i)] - ySum / count;
        totalSquares += d * d;
    }
    if (totalSquares > 0.0) result.RSquared = 1.0 - chiSq / totalSquares;
    // Statistics over the formula's own parameters and the fitted points, so
    // the residual variance is RSS / (N - n).
    FitStatistics statistics;
    ComputeFitStatistics(points.Y, yCalc, count, 1, n, v, statistics);
    TVector s, t, probability;
    AllocVector(s, kMaxParameters);
    AllocVector(t, kMaxParameters);
    AllocVector(probability, kMaxParameters);
    ComputeParameterTests(b, v, count, 1, n, s, t, probability);

    result.Row[0] = chiSq;
    for (std::int32_t k = 1; k <= n; ++k) {
        const int name = At(names, k - 1);
        At(result.Row, name) = At(b, k);
        At(result.Row, 8 + name) = At(s, k);
    }
    return result;
}

} // namespace movra
