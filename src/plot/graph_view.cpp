#include "plot/graph_view.h"

#include <algorithm>
#include <cmath>

#include "plot/plot_math.h"
#include "shared/one_based.h"

namespace movra {

using plotmath::RoundHalfEven;

namespace {

constexpr double kModelFault = 1E20;
constexpr double kResidualCeiling = 35000.0;  // larger residuals (saturated reads, failed model) count as 0
constexpr int kCurveSegments = 100;
// Residuals this close to 0 scale no axis: the engine draws ticks within
// 1E-10 of 0 as 0.
constexpr double kNegligibleResidual = 1E-9;

// Element i of v, or 0 where v has none (the zero-filled storage a read
// outside the imported ones would see).
double ValueAt(const TVector& v, int i) noexcept
{
    return i >= 0 && static_cast<std::size_t>(i) < v.size() ? At(v, i) : 0.0;
}


void ResetSurface(PlotCanvas& canvas)
{
    canvas.Clear(kWhite);
    canvas.SetPen({});
    canvas.SetBrush({});
    canvas.SetFont(GraphFont(canvas.Height(), false));
}

// A vertical label reading upwards at x = 1 with its far end at bottom.
void WriteRotatedLabel(PlotCanvas& canvas, int textSpan, const std::string& text)
{
    if (text.empty()) return;
    canvas.SetFont(GraphFont(canvas.Height(), true));
    canvas.TextOut(1, (textSpan + canvas.TextWidth(text)) / 2, text);
}

// Residual read t of curve c with saturated and failed values taken as 0.
double CountedResidual(const TMatrix& residuals, int c, int t)
{
    const double r = ValueAt(At(residuals, c), t);
    return r > kResidualCeiling ? 0.0 : r;
}

// The x range a fit was made over; the whole axis when its reads are not known.
AxisRange FittedXRange(const PlateMeasurements& plate, const ReadRange& fitted)
{
    if (fitted.ViewLastPoint <= 0) return {-HUGE_VAL, HUGE_VAL};
    return {ValueAt(plate.TimeVector, fitted.ViewFirstPoint), ValueAt(plate.TimeVector, fitted.ViewLastPoint)};
}

// A fitted curve is solid over the x range it was fitted to and dashed
// where the view shows it beyond, over reads the fit never saw.
void DrawFittedCurve(PlotEngine& engine, PlotCanvas& graph, const std::function<double(double)>& curve,
                     Colour colour, const AxisRange& fitted)
{
    const double left = engine.XAxis.Min;
    const double right = engine.XAxis.Max;
    const double solidLeft = std::clamp(fitted.Min, left, right);
    const double solidRight = std::clamp(fitted.Max, left, right);
    if (solidLeft > left)
        engine.PlotFunc(graph, curve, kCurveSegments, {1, LineStyle::Dash, colour}, left, solidLeft);
    if (solidRight > solidLeft)
        engine.PlotFunc(graph, curve, kCurveSegments, {1, LineStyle::Solid, colour}, solidLeft, solidRight);
    if (solidRight < right)
        engine.PlotFunc(graph, curve, kCurveSegments, {1, LineStyle::Dash, colour}, solidRight, right);
}

struct CurveSet {
    int count = 0;
    TCurvParamVector params;
    TMatrix residuals;  // [curve 0..count][read 0..TimePointCount]
};

void DrawResidualPanel(const PlateMeasurements& plate, GraphViewState& view, bool scaled, PlotEngine& engine,
                       PlotCanvas& canvas, CurveSet& curves)
{
    const int first = std::max(view.View.ViewFirstPoint, 0);
    const int last = std::min(view.View.ViewLastPoint, plate.TimePointCount);

    ResetSurface(canvas);
    double rMax = CountedResidual(curves.residuals, 1, view.View.ViewFirstPoint);
    double rMin = rMax;
    for (int c = 1; c <= curves.count; ++c) {
        for (int t = first; t <= last; ++t) {
            const double r = CountedResidual(curves.residuals, c, t);
            rMax = std::max(rMax, r);
            rMin = std::min(rMin, r);
        }
    }
    const AxisRange range = scaled ? ScaledResidualAxisRange(rMin, rMax) : ResidualAxisRange(rMin, rMax);
    engine.YAxis.Min = range.Min;
    engine.YAxis.Max = range.Max;
    engine.YAxis.Title.clear();
    engine.PlotBottomPct = 98;

    engine.SetPlotWindow(canvas, canvas.Width(), canvas.Height());
    engine.PlotYAxis(canvas);
    engine.PlotGrid(canvas);
    WriteRotatedLabel(canvas, canvas.Height(), "Residuals");

    for (int c = 1; c <= curves.count; ++c) {
        TCurvParam& param = At(curves.params, c);
        param.Connect = true;
        const TVector& row = At(curves.residuals, c);
        std::copy_n(row.begin(), plate.TimePointCount + 1, view.PlotYBuffer.begin());
        engine.PlotCurve(canvas, plate.TimeVector, view.PlotYBuffer, param, plate.TimePointCount, 1);
    }
}

} // namespace

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

AxisRange ScaledResidualAxisRange(double rMin, double rMax)
{
    const double largest = std::max(std::abs(rMin), std::abs(rMax));
    if (!(largest > kNegligibleResidual) || !std::isfinite(largest)) {
        return ResidualAxisRange(rMin, rMax);
    }
    return {-1.1 * largest, 1.1 * largest};
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

bool ResidualPanelDrawn(const GraphData& data, const GraphViewOptions& options)
{
    const PlateMeasurements& plate = data.Plate;
    return plate.LastXValue != 0.0 && !plate.PlateData.empty() && options.ShowResiduals &&
           data.Curves.Count() >= 1 && data.Fits.Fitted(data.Curves.ShownWells[1]);
}

AxisTitles GraphAxisTitles(const PlateMeasurements& plate)
{
    AxisTitles titles{plate.ReadMode == "Kinetic" ? "Time (h)" : "Wavelength (nm)", plate.ValueName};
    if (!plate.XName.empty()) titles.X = plate.XName;
    return titles;
}

GraphRefreshResult RefreshGraph(const GraphData& data, GraphViewState& view, const GraphViewOptions& options,
                                const GraphModel& model, PlotEngine& engine, PlotCanvas& graph,
                                PlotCanvas* residuals)
{
    const PlateMeasurements& plate = data.Plate;
    if (plate.LastXValue == 0.0 || plate.PlateData.empty()) {
        return {};
    }
    const int tpc = std::max(plate.TimePointCount, 0);
    view.View = ReadsInView(tpc, options.ZoomStart, options.ZoomFinish);
    const int first = view.View.ViewFirstPoint;
    const int last = view.View.ViewLastPoint;

    CurveSet curves;
    curves.count = options.AverageData ? std::min(data.Curves.Count(), 1) : data.Curves.Count();
    const TMatrix& reducedData = data.Curves.ReducedData;
    const auto reduced = [&](int c, int t) {
        return static_cast<std::size_t>(c) < reducedData.size() ? ValueAt(At(reducedData, c), t)
                                                                : 0.0;
    };
    if (plate.LastXValue > 0.0) {
        view.GraphYMax = view.GraphYMin = reduced(1, first);
        for (int c = 1; c <= curves.count; ++c) {
            for (int t = first; t <= last; ++t) {
                view.GraphYMax = std::max(view.GraphYMax, reduced(c, t));
                view.GraphYMin = std::min(view.GraphYMin, reduced(c, t));
            }
        }
    }
    // Working storage for every redraw, whatever the sign of the last x:
    // the curve loop below needs it.
    AllocMatrix(curves.residuals, curves.count, tpc);
    DefaultCurveParams(curves.params, curves.count);
    if (view.PlotYBuffer.size() < static_cast<std::size_t>(tpc) + 1) {
        view.PlotYBuffer.resize(static_cast<std::size_t>(tpc) + 1, 0.0);
    }
    if (view.ParamBuffer.size() < kMaxParameters + 1) {
        AllocVector(view.ParamBuffer, kMaxParameters);
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
    const AxisTitles titles = GraphAxisTitles(plate);
    engine.XAxis.Title = titles.X;

    if (view.GraphYMax <= view.GraphYMin) {
        view.GraphYMax = view.GraphYMin + 1;
    }
    const AxisRange yRange = DataAxisRange(view.GraphYMin, view.GraphYMax);
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
        const int well = At(data.Curves.ShownWells, c);
        const Colour colour = At(data.Curves.CurveColors, c);
        TCurvParam& param = At(curves.params, c);
        param.Symbol = c;
        param.SymbolSize = 1;
        param.FillColor = colour;
        param.PenColor = colour;
        param.PenWidth = 1;
        param.PenStyle = LineStyle::Solid;
        // A well whose last fit failed says so in the legend.
        std::string legend = plate.PlateColumns > 0 ? WellName(well, plate.PlateColumns) : "";
        if (well >= 0 && well <= kMaxWells && At(data.Fits.WellFitQuality, well).Failed()) legend += " failed";
        param.Legend = legend.substr(0, kMaxLegendLength);
        param.PointStep = 1;
        param.Connect = false;

        for (int t = 1; t <= tpc; ++t) {
            At(view.PlotYBuffer, t) = reduced(c, t);
        }
        engine.PlotCurve(graph, plate.TimeVector, view.PlotYBuffer, param, tpc, 1);

        if (data.Fits.Fitted(well)) {
            const TVector& fit = At(data.Fits.WellFitResults, well);
            ModelParameters fitted{};
            for (int k = 1; k <= kMaxParameters; ++k) {
                At(fitted, k) = ValueAt(fit, k);
                At(view.ParamBuffer, k) = At(fitted, k);
            }
            if (model.SetParameters) {
                model.SetParameters(fitted);
            }
            DrawFittedCurve(engine, graph, modelCurve, colour, FittedXRange(plate, At(data.Fits.WellFitView, well)));
            TVector& residual = At(curves.residuals, c);
            for (int t = 1; t <= tpc; ++t) {
                At(residual, t) =
                    modelCurve(ValueAt(plate.TimeVector, t)) - At(view.PlotYBuffer, t);
            }
        }
    }

    engine.PlotLegend(graph, curves.count, curves.params, true, true);
    WriteRotatedLabel(graph, graph.Height() * (engine.PlotBottomPct - engine.PlotTopPct) / 100, titles.Y);

    GraphRefreshResult result;
    result.Drawn = true;
    result.ShownCurves = curves.count;
    if (residuals != nullptr && ResidualPanelDrawn(data, options)) {
        DrawResidualPanel(plate, view, options.ScaleResiduals, engine, *residuals, curves);
        result.ResidualsDrawn = true;
    }
    return result;
}

} // namespace movra
