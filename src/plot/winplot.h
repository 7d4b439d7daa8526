#pragma once
// The immediate-mode plot engine: a plot rectangle placed by percentages of
// a canvas, two axes with automatic ticks and labels, a dotted grid, curves
// of point symbols with optionally joined and clipped lines, sampled function
// curves and a legend. One PlotEngine holds the axes and settings of one
// plot at a time and persists them between drawing calls; every call draws
// on the canvas given to it. SetPlotWindow must come before any other call.

#include <functional>
#include <span>

#include "plot/plot_canvas.h"
#include "plot/plotvar.h"

namespace movra {

// World coordinates farther than this many pixels from the plot origin map
// here, which is outside any plot rectangle.
inline constexpr int kFarPixel = 30000;

class PlotEngine {
public:
    PlotEngine();

    // Axes and settings; callers set them before SetPlotWindow.
    TAxis XAxis;
    TAxis YAxis;
    int PlotLeftPct = 15;
    int PlotTopPct = 15;
    int PlotRightPct = 75;
    int PlotBottomPct = 75;
    bool PlotBorder = true;
    int GridMode = 3;  // 0 none, 1 horizontal lines, 2 vertical lines, 3 both
    TLabelFormat LabelFormat;

    // Places the plot rectangle on a canvas of the given size, derives the
    // scales from the current axes and draws the border when PlotBorder.
    void SetPlotWindow(PlotCanvas& canvas, int width, int height);

    int XPixel(double x) const noexcept;
    int YPixel(double y) const noexcept;
    bool Inside(int px, int py) const noexcept { return X1_ <= px && px <= X2_ && Y1_ <= py && py <= Y2_; }

    void PlotXAxis(PlotCanvas& canvas);
    void PlotYAxis(PlotCanvas& canvas);
    // Dotted lines at the current axis steps, strictly inside the rectangle.
    void PlotGrid(PlotCanvas& canvas);

    // Symbol 0..9 centred on (x, y), half-size size x SymbolUnit, with the
    // canvas's pen and brush as they are.
    void PlotSymbol(PlotCanvas& canvas, int x, int y, int size, int symbol) const;

    // Points first, first + PointStep, ... up to last of (X[i], Y[i]).
    void PlotCurve(PlotCanvas& canvas, std::span<const double> x, std::span<const double> y,
                   const TCurvParam& param, int last, int first);

    // f sampled at npt + 1 regular x from xMin to xMax (the x axis when
    // xMin >= xMax); only segments with both ends inside are drawn.
    void PlotFunc(PlotCanvas& canvas, const std::function<double(double)>& f, int npt,
                  const TLineParam& line, double xMin, double xMax);

    // Legend frame right of the plot and one row per curve 1..n.
    void PlotLegend(PlotCanvas& canvas, int n, const TCurvParamVector& params,
                    bool showLines, bool showSymbols);

    std::string FormatAxisNumber(double value) const { return movra::FormatAxisNumber(value, LabelFormat); }

    // Derived state of the last SetPlotWindow.
    int CanvasWidth() const noexcept { return canvasWidth_; }
    int CanvasHeight() const noexcept { return canvasHeight_; }
    int X1() const noexcept { return X1_; }
    int Y1() const noexcept { return Y1_; }
    int X2() const noexcept { return X2_; }
    int Y2() const noexcept { return Y2_; }
    int SymbolUnit() const noexcept { return symbolUnit_; }
    long double ScaleX() const noexcept { return scaleX_; }
    long double ScaleY() const noexcept { return scaleY_; }

private:
    // Pen and brush of a curve record: brush solid for the filled symbols.
    static void ApplyCurveStyle(PlotCanvas& canvas, const TCurvParam& param);
    void DrawClippedSegment(PlotCanvas& canvas, CanvasPoint from, bool fromInside, CanvasPoint to,
                            bool toInside) const;
    CanvasPoint ClipToPlot(CanvasPoint outside, int dx, int dy) const;
    double AxisValue(const TAxis& axis, double value) const;

    int canvasWidth_ = 0;
    int canvasHeight_ = 0;
    int X1_ = 0;
    int Y1_ = 0;
    int X2_ = 0;
    int Y2_ = 0;
    long double scaleX_ = 1.0L;
    long double scaleY_ = 1.0L;
    long double limitX_ = 0.0L;
    long double limitY_ = 0.0L;
    int symbolUnit_ = 0;
};

} // namespace movra
