#include "fitting/fit_run.h"

#include <algorithm>
#include <exception>

#include "fitting/fit_formulas.h"
#include "plate/import_fields.h"
#include "regression/regression_statistics.h"
#include "shared/conversion.h"
#include "shared/number_format.h"

namespace movra {

std::array<std::string, 3> FitProgressLines(std::int32_t iteration, double objective, double lambda)
{
    return {"Iteration:" + std::to_string(iteration), "        F:" + FormatGeneral(objective),
            "   Lambda:" + FormatGeneral(lambda)};
}

double ParseStartValue(const std::string& text)
{
    const double value = ParseCellValue(text);
    return value == 0.0 ? 0.0001 : value;
}

CurvePoints CurvePointsInView(const TVector& timeVector, const TVector& curve, std::int32_t timePointCount,
                              std::int32_t viewFirstPoint, std::int32_t viewLastPoint)
{
    // Every read the graph shows is fitted: reads first..last, 1-based.
    const std::int32_t first = std::max(viewFirstPoint, 1);
    const std::int32_t last = std::min({viewLastPoint, timePointCount,
                                        static_cast<std::int32_t>(std::min(timeVector.size(), curve.size())) - 1});
    CurvePoints points;
    points.Count = std::max(last - first + 1, 0);
    AllocVector(points.X, points.Count + 1);
    AllocVector(points.Y, points.Count + 1);
    for (std::int32_t i = 1; i <= points.Count; ++i) {
        points.X[static_cast<std::size_t>(i)] = timeVector[static_cast<std::size_t>(first + i - 1)];
        points.Y[static_cast<std::size_t>(i)] = curve[static_cast<std::size_t>(first + i - 1)];
    }
    if (points.Count >= 1) {
        points.X[0] = points.X[1];
        points.Y[0] = points.Y[1];
    }
    return points;
}

CurveFitResult FitCurve(FitModel& model, RegressionFit& regression, const CurveFitRequest& request,
                        const IterationCallback& onIteration)
{
    const auto& names = model.Names();
    const auto n = static_cast<std::int32_t>(names.size());
    const std::int32_t points = std::max(request.PointCount, 0);

    // Bounds and start values in fit order: position k is parameter names[k-1].
    TVector b, bMin, bMax;
    AllocVector(b, kMaxParameters);
    AllocVector(bMin, kMaxParameters);
    AllocVector(bMax, kMaxParameters);
    for (std::int32_t k = 1; k <= n; ++k) {
        const auto name = static_cast<std::size_t>(names[static_cast<std::size_t>(k - 1)]);
        b[static_cast<std::size_t>(k)] = request.StartValues[static_cast<std::size_t>(k - 1)];
        bMin[static_cast<std::size_t>(k)] = (*request.LimitMin)[name];
        bMax[static_cast<std::size_t>(k)] = (*request.LimitMax)[name];
    }
    TMatrix v;
    AllocMatrix(v, kMaxParameters, kMaxParameters);

    CurveFitResult result;
    regression.SelectFitMethod(FitMethod::Marquardt);
    try {
        FitOptions options;
        options.MaxIterations = request.MaxIterations;
        options.Tolerance = ParseCellValue(request.ToleranceText);
        options.OnIteration = onIteration;
        result.Status = regression
                            .RunFit(
                                [&model](std::span<const double> xs, const TVector& params, std::span<double> out) {
                                    model.EvaluateCurve(xs, params, out);
                                },
                                CurveModelDerivatives, *request.X, *request.Y, points, 1, n, b, bMin, bMax, v, options)
                            .Status;
    } catch (const std::exception&) {
        result.Status = OptBigLambda;
    }

    result.Row[0] = -1.0;
    if (result.Status != OptOk) return result;

    TVector yCalc;
    AllocVector(yCalc, points);
    double chiSq = 0.0;
    for (std::int32_t i = 1; i <= points; ++i) {
        const auto p = static_cast<std::size_t>(i);
        yCalc[p] = model.FitModelFunc((*request.X)[p], b);
        const double r = (*request.Y)[p] - yCalc[p];
        chiSq += r * r;
    }
    // Statistics over the formula's own parameters and the fitted points, so
    // the residual variance is RSS / (N - n).
    FitStatistics statistics;
    ComputeFitStatistics(*request.Y, yCalc, points, 1, n, v, statistics);
    TVector s, t, probability;
    AllocVector(s, kMaxParameters);
    AllocVector(t, kMaxParameters);
    AllocVector(probability, kMaxParameters);
    ComputeParameterTests(b, v, points, 1, n, s, t, probability);

    result.Row[0] = chiSq;
    for (std::int32_t k = 1; k <= n; ++k) {
        const auto name = static_cast<std::size_t>(names[static_cast<std::size_t>(k - 1)]);
        result.Row[name] = b[static_cast<std::size_t>(k)];
        result.Row[8 + name] = s[static_cast<std::size_t>(k)];
    }
    return result;
}

void Button1Click(PlateState& state, TParser& parser2, const TVector& limitMin, const TVector& limitMax,
                  const FitRunControls& controls, FitRunHost& host)
{
    parser2.setExpression(controls.FitFormulaText);
    const auto names = FitParameterNames(controls.FitFormulaText);
    std::vector<double> startValues;
    for (int name : names) startValues.push_back(ParseStartValue(controls.StartTexts[static_cast<std::size_t>(name)]));

    FitModel model(parser2, state.ParamVars, controls.FitFormulaText, controls.FitFormulaIndex, names);
    RegressionFit regression;
    PlateMeasurements& plate = state.plate;

    for (int curve = 1; curve <= kMaxShownCurves; ++curve) {
        const int well = state.ShownWells[static_cast<std::size_t>(curve)];
        if (well < 0 || plate.ReducedData.size() <= static_cast<std::size_t>(curve)) break;

        const CurvePoints view = CurvePointsInView(plate.TimeVector, plate.ReducedData[static_cast<std::size_t>(curve)],
                                                   plate.TimePointCount, state.ViewFirstPoint, state.ViewLastPoint);

        CurveFitRequest request;
        request.X = &view.X;
        request.Y = &view.Y;
        request.PointCount = view.Count;
        request.StartValues = startValues;
        request.MaxIterations = StrToInt(controls.MaxIterationsText);
        request.ToleranceText = controls.ToleranceText;
        request.LimitMin = &limitMin;
        request.LimitMax = &limitMax;

        host.BeginCurveFit(WellName(well, plate.PlateColumns));
        const CurveFitResult result = FitCurve(model, regression, request,
                                               [&host](std::int32_t iteration, double objective, double lambda) {
                                                   return host.Iteration(iteration, objective, lambda);
                                               });
        host.EndCurveFit(result.Status);

        auto& row = state.WellFitResults[static_cast<std::size_t>(well)];
        if (result.Status == OptOk) {
            std::copy(result.Row.begin(), result.Row.end(), row.begin());
            state.WellFitStatus[static_cast<std::size_t>(well)] =
                controls.CombinationText + " - " + controls.FitFormulaText;
        }
        row[0] = result.Row[0];
        if (controls.AverageData) break;
    }
}

} // namespace movra
