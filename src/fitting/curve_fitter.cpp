#include "fitting/curve_fitter.h"

#include <algorithm>
#include <exception>
#include <optional>

#include "fitting/start_values.h"
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

namespace {

// The formula's parameters with the free ones first: the engine minimises
// over positions 1..free and the model still sees the fixed ones after them.
std::vector<int> FreeParametersFirst(const FitSettings& settings)
{
    std::vector<int> order = settings.Names;
    std::stable_partition(order.begin(), order.end(), [&](int name) { return !At(settings.Fixed, name); });
    return order;
}

double StartValueOf(const FitSettings& settings, int name)
{
    const auto position = std::find(settings.Names.begin(), settings.Names.end(), name) - settings.Names.begin();
    return settings.StartValues.at(static_cast<std::size_t>(position));
}

} // namespace

CurveFitter::CurveFitter(TParser& parser2, const std::array<double*, 9>& slots, const FitSettings& settings)
    : parser_(parser2), slots_(slots), settings_(settings),
      fitOrder_(FreeParametersFirst(settings)),
      model_(parser2, slots, settings.FitFormulaText, settings.FitFormulaIndex, fitOrder_)
{
    for (const int name : fitOrder_) freeCount_ += At(settings.Fixed, name) ? 0 : 1;
}

std::int32_t CurveFitter::Minimise(const CurvePoints& points, std::int32_t free, TVector& b, const TVector& bMin,
                                   const TVector& bMax, TMatrix& v, const IterationCallback& onIteration)
{
    // The engine's vectors end at position free: the fixed parameters after
    // it are put back before the model sees them. Without fixed parameters
    // the engine's vectors go to the model as they are, and no copy is kept.
    const bool anyFixed = free < static_cast<std::int32_t>(fitOrder_.size());
    TVector whole = anyFixed ? b : TVector{};
    const auto withFixed = [&whole, free](const TVector& params) -> const TVector& {
        std::copy(params.begin() + 1, params.begin() + 1 + free, whole.begin() + 1);
        return whole;
    };
    try {
        FitOptions options;
        options.MaxIterations = settings_.MaxIterations;
        options.Tolerance = *settings_.Tolerance;
        options.OnIteration = onIteration;
        const CurveModelFunction curveModel = [&, this](std::span<const double> xs, const TVector& params,
                                                        std::span<double> out) {
            model_.EvaluateCurve(xs, anyFixed ? withFixed(params) : params, out);
        };
        if (settings_.Derivatives == DerivativeMode::Exact) {
            const CurveJacobianFunction jacobian = [&, this](std::span<const double> xs, const TVector& params,
                                                             std::span<double> out, TMatrix& d) {
                model_.EvaluateCurveAndJacobian(xs, anyFixed ? withFixed(params) : params, out, d);
            };
            return regression_
                .RunFit(curveModel, jacobian, points.X, points.Y, points.Count, 1, free, b, bMin, bMax, v, options)
                .Status;
        }
        return regression_
            .RunFit(curveModel, CurveModelDerivatives, points.X, points.Y, points.Count, 1, free, b, bMin, bMax, v,
                    options)
            .Status;
    } catch (const std::exception&) {
        return OptBigLambda;
    }
}

CurveFitResult CurveFitter::Fit(const TVector& timeVector, const TVector& curve, std::int32_t timePointCount,
                                const IterationCallback& onIteration)
{
    const CurvePoints points = CurvePointsInView(timeVector, curve, timePointCount, settings_.View);
    std::optional<StartValueSet> guess;  // a fixed parameter keeps the settings' value
    if (settings_.GuessStarts) guess = GuessStartValues(parser_, slots_, settings_, points.X, points.Y, points.Count);
    const auto& names = fitOrder_;
    const auto n = static_cast<std::int32_t>(names.size());
    const std::int32_t free = freeCount_;
    const std::int32_t count = points.Count;

    // Bounds and start values in fit order: position k is parameter names[k-1].
    TVector b, bMin, bMax;
    AllocVector(b, kMaxParameters);
    AllocVector(bMin, kMaxParameters);
    AllocVector(bMax, kMaxParameters);
    for (std::int32_t k = 1; k <= n; ++k) {
        const int name = At(names, k - 1);
        At(b, k) = guess && !At(settings_.Fixed, name) ? At(*guess, name) : StartValueOf(settings_, name);
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
    if (free == 0) {
        // Every parameter fixed: the curve of the start values is the fit.
        result.Status = count > 0 ? OptOk : OptSing;
    } else {
        result.Status = Minimise(points, free, b, bMin, bMax, v, onIteration);
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
    // Statistics over the free parameters and the fitted points, so the
    // residual variance is RSS / (N - n); a fixed parameter has none.
    TVector s, t, probability;
    AllocVector(s, kMaxParameters);
    AllocVector(t, kMaxParameters);
    AllocVector(probability, kMaxParameters);
    if (free > 0) {
        FitStatistics statistics;
        ComputeFitStatistics(points.Y, yCalc, count, 1, free, v, statistics);
        ComputeParameterTests(b, v, count, 1, free, s, t, probability);
    }
    result.Points = count;
    result.FreeParameters = free;

    result.Row[0] = chiSq;
    for (std::int32_t k = 1; k <= n; ++k) {
        const int name = At(names, k - 1);
        At(result.Row, name) = At(b, k);
        At(result.Row, 8 + name) = At(s, k);
    }
    return result;
}

} // namespace movra
