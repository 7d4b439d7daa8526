#pragma once
// The graph page's drawing, without windows: the shown curves as coloured
// symbols, the start-value model curve, the fitted curves, the legend, the
// rotated axis labels and, on request, the residual panel, drawn with one
// PlotEngine onto two surfaces the caller provides (the data plot and the
// residual plot, each the size of its paint box). Reads the plate, the shown
// curves and the fit results; writes only its own view state.

#include <array>
#include <functional>

#include "fitting/fit_results.h"
#include "plate/plate_measurements.h"
#include "plot/graph_view_state.h"
#include "plot/plot_canvas.h"
#include "plot/winplot.h"
#include "reduction/shown_curves.h"

namespace movra {

using ModelParameters = std::array<double, kMaxParameters + 1>;  // m1..m8 at 1..8

// What the page's controls say at the time of the redraw.
struct GraphViewOptions {
    bool ShowLegend = true;      // View > Legend (Legend1)
    bool ShowResiduals = false;  // View > Residuals (Residuals1)
    bool ScaleResiduals = false; // View > Scale Residuals: the residual axis fits the residuals on show
    bool AverageData = false;    // "Average Data" (CheckBox4): only curve 1 is drawn
    double ZoomStart = 1.0;      // Zoomler1.Start, percent of the reads
    double ZoomFinish = 100.0;   // Zoomler1.Finish
    ModelParameters StartValues{};  // the parameter boxes Fit_m1..Fit_m8 through ParseStartValue
};

// The fit model as the graph uses it: set the parser slots m1..m8, then
// evaluate at x with whatever the slots hold. Evaluate may throw; the graph
// treats that, like any value that is no number, as 1E20.
struct GraphModel {
    std::function<void(const ModelParameters&)> SetParameters;
    std::function<double(double)> Evaluate;
};

struct GraphRefreshResult {
    bool Drawn = false;           // false: no data imported, nothing touched
    bool ResidualsDrawn = false;  // false: the residual surface keeps its old picture
    int ShownCurves = 0;
};

struct AxisRange {
    double Min = 0.0;
    double Max = 1.0;
    friend bool operator==(const AxisRange&, const AxisRange&) = default;
};

// y axis of the data plot: half units up to a range of 10, whole units up to
// 100, tens beyond (0.02..0.38 gives 0..0.5, 12..57 gives 11..58).
AxisRange DataAxisRange(double yMin, double yMax);

// y axis of the residual panel: tenths up to a range of 1, halves up to 10,
// whole units beyond; never empty.
AxisRange ResidualAxisRange(double rMin, double rMax);

// y axis of the residual panel scaled to the residuals: symmetric around 0,
// a tenth beyond the largest residual; residuals all within 1E-9 of 0 (or
// no number) fall back to ResidualAxisRange.
AxisRange ScaledResidualAxisRange(double rMin, double rMax);

// The model value the graph draws: 1E20 for a fault or no number, results
// clamped to -1E20..1E20.
double PlotModelValue(const std::function<double(double)>& evaluate, double x) noexcept;

// Font of the graph surfaces: Arial, surface height div 50 + 6 pixels.
FontSpec GraphFont(int surfaceHeight, bool rotated90);

// What a redraw reads.
struct GraphData {
    const PlateMeasurements& Plate;
    const ShownCurves& Curves;
    const FitResults& Fits;
};

// Whether a redraw draws the residual panel: residuals on and the first
// shown curve's well fitted.
bool ResidualPanelDrawn(const GraphData& data, const GraphViewOptions& options);

// The titles of the graph's axes for a plate: x "Time (h)" for a kinetic
// read and "Wavelength (nm)" for a spectrum, y what the readings are
// (PlateMeasurements::ValueName); a table's own x caption when it has one.
struct AxisTitles {
    std::string X;
    std::string Y;
    friend bool operator==(const AxisTitles&, const AxisTitles&) = default;
};
AxisTitles GraphAxisTitles(const PlateMeasurements& plate);

// Redraws the data plot onto graph and, when the residuals are on and the
// first shown well is fitted, the residual plot onto residuals (may be null).
GraphRefreshResult RefreshGraph(const GraphData& data, GraphViewState& view, const GraphViewOptions& options,
                                const GraphModel& model, PlotEngine& engine, PlotCanvas& graph,
                                PlotCanvas* residuals);

} // namespace movra
