#include "plot/graph_view.h"

#include <algorithm>
#include <cmath>

#include "plot/plot_math.h"

namespace movra {

using plotmath::RoundHalfEven;

namespace {

constexpr double kModelFault = 1E20;
constexpr double kResidualCeiling = 35000.0;  // larger residuals (saturated reads, failed model) count as 0
constexpr int kCurveSegments = 100;

// Element i of v, or 0 where v has none (the zero-filled storage a read
// outside the imported ones would see).
double ValueAt(const TVector& v, int i) noexcept
{
    return i >= 0 && static_cast<std::size_t>(i) < v.size() ? v[static_cast<std::size_t>(i)] : 0.0;
}

int TruncatedIndex(double value) noexcept
{
    return static_cast<int>(std::clamp(std::trunc(value), -1.0e9, 1.0e9));
}

int ShownCurveCount(const PlateState& state, bool averageData)
{
    int n = 0;
    while (n < kMaxShownCurves && state.ShownWells[static_cast<std::size_t>(n) + 1] >= 0) {
        ++n;
    }
    return averageData ? std::min(n, 1) : n;
}

bool WellFitted(const PlateState& state, int well)
{
    return well >= 0 && static_cast<std::size_t>(well) < state.WellFitResults.size() &&
           !state.WellFitResults[static_cast<std::size_t>(well)].empty() &&
           state.WellFitResults[static_cast<std::size_t>(well)][0] >= 0.0;
}

void ResetSurface(PlotCanvas& canvas)
{
    canvas.Clear(kWhite);
    canvas.SetPen({});
    canvas.SetBrush({});
    canvas.SetFont(GraphFont(canvas.Height(), false));
}

// A vertical label reading upwards at x = 1 with its far end at bottom.
void WriteRotatedLabel(PlotCanvas& canvas, int textSpan, const char* text)
{
    canvas.SetFont(GraphFont(canvas.Height(), true));
    canvas.TextOut(1, (textSpan + canvas.TextWidth(text)) / 2, text);
}

// Residual read t of curve c with saturated and failed values taken as 0.
double CountedResidual(const TMatrix& residuals, int c, int t)
{
    const double r = ValueAt(residuals[static_cast<std::size_t>(c)], t);
    return r > kResidualCeiling ? 0.0 : r;
}

struct CurveSet {
    int count = 0;
    TCurvParamVector params;
    TMatrix residuals;  // [curve 0..count][read 0..TimePointCount]
};

void DrawResidualPanel(PlateState& state, PlotEngine& engine, PlotCanvas& canvas, CurveSet& curves)
{
    PlateMeasurements& plate = state.plate;
    const int first = std::max(state.ViewFirstPoint, 0);
    const int last = std::min(state.ViewLastPoint, plate.TimePointCount);

    ResetSurface(canvas);
    double rMax = CountedResidual(curves.residuals, 1, state.ViewFirstPoint);
    double rMin = rMax;
    for (int c = 1; c <= curves.count; ++c) {
        for (int t = first; t <= last; ++t) {
            const double r = CountedResidual(curves.residuals, c, t);
            rMax = std::max(rMax, r);
            rMin = std::min(rMin, r);
        }
    }
    const AxisRange range = ResidualAxisRange(rMin, rMax);
    engine.YAxis.Min = range.Min;
    engine.YAxis.Max = range.Max;
    engine.YAxis.Title.clear();
    engine.PlotBottomPct = 98;

    engine.SetPlotWindow(canvas, canvas.Width(), canvas.Height());
    engine.PlotYAxis(canvas);
    engine.PlotGrid(canvas);
    WriteRotatedLabel(canvas, canvas.Height(), "Residuals");

    for (int c = 1; c <= curves.count; ++c) {
        TCurvParam& param = curves.params[static_cast<std::size_t>(c)];
        param.Connect = true;
        const TVector& row = curves.residuals[static_cast<std::size_t>(c)];
        std::copy_n(row.begin(), plate.TimePointCount + 1, plate.PlotYBuffer.begin());
        engine.PlotCurve(canvas, plate.TimeVector, plate.PlotYBuffer, param, plate.TimePointCount, 1);
    }
}

} // namespace

std::pair<int, int> ViewRange(int timePointCount, double zoomStart, double zoomFinish)
{
    return {TruncatedIndex(timePointCount * (zoomStart - 1) / 100) + 1,
            TruncatedIndex(timePointCount * zoomFinish / 100)};
}

AxisRange DataAxisRange(double yMin, double yMax)
{
    if (yMax <= yMin) {
        yMax = yMin + 1;
    }
    const double d = yMax - yMin;
    if (d <= 10) {
        return {RoundHalfEven(2 * yMin - 0.5) / 2, RoundHalfEven(2 * yMax + 0.5) / 2};
    }
    if (d <= 100) {
        return {RoundHalfEven(yMin - 1), RoundHalfEven(yMax + 1)};
    }
    return {10 * RoundHalfEven((yMin - 1) / 10), 10 * RoundHalfEven((yMax + 1) / 10)};
}

AxisRange ResidualAxisRange(double rMin, double rMax)
{
    if (rMax == rMin) {
        rMax = rMin + 1;
    }
    const double d = rMax - rMin;
    AxisRange range;
    if (d <= 1) {
        range = {RoundHalfEven(10 * rMin - 0.5) / 10, RoundHalfEven(10 * rMax + 0.5) / 10};
    } else if (d <= 10) {
        range = {RoundHalfEven(2 * rMin - 0.5) / 2, RoundHalfEven(2 * rMax + 0.5) / 2};
    } else {
        range = {RoundHalfEven(rMin - 1), RoundHalfEven(rMax + 1)};
    }
    if (range.Min == range.Max) {
        range.Max = range.Min + 1;
    }
    return range;
}

double PlotModelValue(const std::function<double(double)>& evaluate, double x) noexcept
{
    double value = kModelFault;
    try {
        if (evaluate) {
            value = evaluate(x);
        }
    } catch (...) {
        value = kModelFault;
    }
    if (std::isnan(value) || value > kModelFault) {
        return kModelFault;
    }
    return std::max(value, -kModelFault);
}

FontSpec GraphFont(int surfaceHeight, bool rotated90)
{
    return {"Arial", surfaceHeight / 50 + 6, rotated90, kBlack};
}

GraphRefreshResult RefreshGraph(PlateState& state, const GraphViewOptions& options, const GraphModel& model,
                                PlotEngine& engine, PlotCanvas& graph, PlotCanvas* residuals)
{
    PlateMeasurements& plate = state.plate;
    if (plate.LastXValue == 0.0 || plate.PlateData.empty()) {
        return {};
    }
    const int tpc = std::max(plate.TimePointCount, 0);
    std::tie(state.ViewFirstPoint, state.ViewLastPoint) = ViewRange(tpc, options.ZoomStart, options.ZoomFinish);
    const int first = state.ViewFirstPoint;
    const int last = state.ViewLastPoint;

    CurveSet curves;
    curves.count = ShownCurveCount(state, options.AverageData);
    const auto reduced = [&](int c, int t) {
        return static_cast<std::size_t>(c) < plate.ReducedData.size()
                   ? ValueAt(plate.ReducedData[static_cast<std::size_t>(c)], t)
                   : 0.0;
    };
    if (plate.LastXValue > 0.0) {
        state.GraphYMax = state.GraphYMin = reduced(1, first);
        for (int c = 1; c <= curves.count; ++c) {
            for (int t = first; t <= last; ++t) {
                state.GraphYMax = std::max(state.GraphYMax, reduced(c, t));
                state.GraphYMin = std::min(state.GraphYMin, reduced(c, t));
            }
        }
    }
    // Working storage for every redraw, whatever the sign of the last x:
    // the curve loop below needs it.
    AllocMatrix(curves.residuals, curves.count, tpc);
    DefaultCurveParams(curves.params, curves.count);
    if (plate.PlotYBuffer.size() < static_cast<std::size_t>(tpc) + 1) {
        plate.PlotYBuffer.resize(static_cast<std::size_t>(tpc) + 1, 0.0);
    }
    if (state.ParamBuffer.size() < kMaxParameters + 1) {
        AllocVector(state.ParamBuffer, kMaxParameters);
    }

    engine.PlotLeftPct = 10;
    engine.PlotTopPct = 2;
    engine.PlotRightPct = options.ShowLegend ? 85 : 99;
    engine.PlotBottomPct = 90;
    engine.PlotBorder = true;
    engine.GridMode = 3;

    engine.XAxis.Scale = AxisScale::Linear;
    engine.XAxis.Min = ValueAt(plate.TimeVector, first);
    engine.XAxis.Max = ValueAt(plate.TimeVector, last);
    if (engine.XAxis.Max == engine.XAxis.Min) {
        engine.XAxis.Max += 1;
    }
    engine.XAxis.Title = plate.ReadMode == "Kinetic" ? "Time (h)" : "Wavelength (nm)";

    if (state.GraphYMax <= state.GraphYMin) {
        state.GraphYMax = state.GraphYMin + 1;
    }
    const AxisRange yRange = DataAxisRange(state.GraphYMin, state.GraphYMax);
    engine.YAxis.Scale = AxisScale::Linear;
    engine.YAxis.Min = yRange.Min;
    engine.YAxis.Max = yRange.Max;
    engine.YAxis.Title.clear();

    ResetSurface(graph);
    engine.SetPlotWindow(graph, graph.Width(), graph.Height());
    engine.PlotXAxis(graph);
    engine.PlotYAxis(graph);
    engine.PlotGrid(graph);

    const std::function<double(double)> modelCurve = [&model](double x) {
        return PlotModelValue(model.Evaluate, x);
    };
    if (model.SetParameters) {
        model.SetParameters(options.StartValues);
    }
    engine.PlotFunc(graph, modelCurve, kCurveSegments, {1, LineStyle::Dot, kBlack}, engine.XAxis.Min,
                    engine.XAxis.Max);

    for (int c = 1; c <= curves.count; ++c) {
        const int well = state.ShownWells[static_cast<std::size_t>(c)];
        const Colour colour = state.CurveColors[static_cast<std::size_t>(c)];
        TCurvParam& param = curves.params[static_cast<std::size_t>(c)];
        param.Symbol = c;
        param.SymbolSize = 1;
        param.FillColor = colour;
        param.PenColor = colour;
        param.PenWidth = 1;
        param.PenStyle = LineStyle::Solid;
        param.Legend = plate.PlateColumns > 0 ? WellName(well, plate.PlateColumns).substr(0, kMaxLegendLength) : "";
        param.PointStep = 1;
        param.Connect = false;

        for (int t = 1; t <= tpc; ++t) {
            plate.PlotYBuffer[static_cast<std::size_t>(t)] = reduced(c, t);
        }
        engine.PlotCurve(graph, plate.TimeVector, plate.PlotYBuffer, param, tpc, 1);

        if (WellFitted(state, well)) {
            const TVector& fit = state.WellFitResults[static_cast<std::size_t>(well)];
            ModelParameters fitted{};
            for (int k = 1; k <= kMaxParameters; ++k) {
                fitted[static_cast<std::size_t>(k)] = ValueAt(fit, k);
                state.ParamBuffer[static_cast<std::size_t>(k)] = fitted[static_cast<std::size_t>(k)];
            }
            if (model.SetParameters) {
                model.SetParameters(fitted);
            }
            engine.PlotFunc(graph, modelCurve, kCurveSegments, {1, LineStyle::Solid, colour}, engine.XAxis.Min,
                            engine.XAxis.Max);
            TVector& residual = curves.residuals[static_cast<std::size_t>(c)];
            for (int t = 1; t <= tpc; ++t) {
                residual[static_cast<std::size_t>(t)] =
                    modelCurve(ValueAt(plate.TimeVector, t)) - plate.PlotYBuffer[static_cast<std::size_t>(t)];
            }
        }
    }

    engine.PlotLegend(graph, curves.count, curves.params, true, true);
    WriteRotatedLabel(graph, graph.Height() * (engine.PlotBottomPct - engine.PlotTopPct) / 100, "RFU");

    GraphRefreshResult result;
    result.Drawn = true;
    result.ShownCurves = curves.count;
    if (options.ShowResiduals && residuals != nullptr && curves.count >= 1 && WellFitted(state, state.ShownWells[1])) {
        DrawResidualPanel(state, engine, *residuals, curves);
        result.ResidualsDrawn = true;
    }
    return result;
}

} // namespace movra
