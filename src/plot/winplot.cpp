#include "plot/winplot.h"

#include <algorithm>
#include <cmath>

#include "plot/plot_math.h"
#include "regression/fmath.h"
#include "shared/one_based.h"

namespace movra {

using plotmath::RoundHalfEven;

namespace {

constexpr double kZeroTick = 1E-10;  // a linear tick closer to 0 than this is 0

int RoundToInt(double x) noexcept
{
    return static_cast<int>(RoundHalfEven(x));
}

// Number of tick intervals over an axis; no ticks when it is not a sane count
// (only reachable with a Step the automatic step did not compute).
int TickCount(const TAxis& axis) noexcept
{
    const double n = RoundHalfEven((axis.Max - axis.Min) / axis.Step);
    if (!std::isfinite(n) || std::abs(n) > 100000.0) {
        return -2;
    }
    return static_cast<int>(n);
}

// First tick value: Min rounded to a whole step, moved up when that is below Min.
double FirstTick(const TAxis& axis) noexcept
{
    double t = RoundHalfEven(axis.Min / axis.Step) * axis.Step;
    if (t < axis.Min) {
        t += axis.Step;
    }
    return t;
}

std::string Trimmed(const std::string& text)
{
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}

// Restores a canvas's pen and brush when a drawing call ends.
class PenAndBrushKeeper {
public:
    explicit PenAndBrushKeeper(PlotCanvas& canvas) : canvas_(canvas), pen_(canvas.GetPen()), brush_(canvas.GetBrush()) {}
    ~PenAndBrushKeeper()
    {
        canvas_.SetPen(pen_);
        canvas_.SetBrush(brush_);
    }
    PenAndBrushKeeper(const PenAndBrushKeeper&) = delete;
    PenAndBrushKeeper& operator=(const PenAndBrushKeeper&) = delete;

private:
    PlotCanvas& canvas_;
    Pen pen_;
    Brush brush_;
};

void Line(PlotCanvas& canvas, int x1, int y1, int x2, int y2)
{
    canvas.MoveTo(x1, y1);
    canvas.LineTo(x2, y2);
}

} // namespace

PlotEngine::PlotEngine()
{
    XAxis.Title = "X";
    YAxis.Title = "Y";
}

void PlotEngine::SetPlotWindow(PlotCanvas& canvas, int width, int height)
{
    canvasWidth_ = width;
    canvasHeight_ = height;
    symbolUnit_ = width / 250;
    X1_ = RoundToInt(PlotLeftPct / 100.0 * width);
    Y1_ = RoundToInt(PlotTopPct / 100.0 * height);
    X2_ = RoundToInt(PlotRightPct / 100.0 * width);
    Y2_ = RoundToInt(PlotBottomPct / 100.0 * height);
    scaleX_ = static_cast<long double>(X2_ - X1_) / (static_cast<long double>(XAxis.Max) - XAxis.Min);
    scaleY_ = static_cast<long double>(Y2_ - Y1_) / (static_cast<long double>(YAxis.Max) - YAxis.Min);
    limitX_ = kFarPixel / scaleX_;
    limitY_ = kFarPixel / scaleY_;
    if (PlotBorder) {
        canvas.Rectangle(X1_, Y1_, X2_ + 1, Y2_ + 1);
    }
}

namespace {

// scale x d rounded, or kFarPixel when d lies beyond the limit or the product
// is no number (an empty axis range, a NaN value).
int ScaledPixel(long double scale, long double limit, double d) noexcept
{
    if (!(std::abs(static_cast<long double>(d)) <= limit)) {
        return kFarPixel;
    }
    const long double pixel = RoundHalfEven(scale * d);
    if (!(std::abs(pixel) <= kFarPixel)) {
        return kFarPixel;
    }
    return static_cast<int>(pixel);
}

} // namespace

int PlotEngine::XPixel(double x) const noexcept
{
    const int offset = ScaledPixel(scaleX_, limitX_, x - XAxis.Min);
    return offset == kFarPixel ? kFarPixel : offset + X1_;
}

int PlotEngine::YPixel(double y) const noexcept
{
    const int offset = ScaledPixel(scaleY_, limitY_, YAxis.Max - y);
    return offset == kFarPixel ? kFarPixel : offset + Y1_;
}

void PlotEngine::PlotXAxis(PlotCanvas& canvas)
{
    const int hM = canvas.TextHeight("M");
    const int h = hM / 2;
    const int minor = RoundToInt(0.67 * h);
    Line(canvas, X1_, Y2_, X2_, Y2_);

    TLabelFormat labels = LabelFormat;
    labels.LabelKeepZeros = false;

    AutoStep(XAxis, 5, 10);
    const bool logarithmic = XAxis.Scale == AxisScale::Logarithmic;
    const int n = TickCount(XAxis);
    double t = FirstTick(XAxis);
    for (int i = 0; i <= n + 1; ++i) {
        if (!logarithmic && std::abs(t) < kZeroTick) {
            t = 0.0;
        }
        if (t <= XAxis.Max + kZeroTick) {
            const int x = XPixel(t);
            Line(canvas, x, Y2_, x, Y2_ + h);
            const std::string label =
                Trimmed(movra::FormatAxisNumber(logarithmic ? SafeExp10(t) : t, labels));
            canvas.TextOut(x - canvas.TextWidth(label) / 2, Y2_ + h, label);
            if (logarithmic && i < n) {
                for (int j = 2; j <= 9; ++j) {
                    const int xm = XPixel(t + std::log10(static_cast<double>(j)));
                    Line(canvas, xm, Y2_, xm, Y2_ + minor);
                }
            }
        }
        t += XAxis.Step;
    }

    if (!XAxis.Title.empty()) {
        canvas.TextOut(X1_ + (X2_ - X1_ - canvas.TextWidth(XAxis.Title)) / 2, Y2_ + 2 * hM, XAxis.Title);
    }
}

void PlotEngine::PlotYAxis(PlotCanvas& canvas)
{
    const int hM = canvas.TextHeight("M");
    const int h = canvas.TextWidth("M") / 2;
    const int minor = RoundToInt(0.67 * h);
    Line(canvas, X1_, Y1_, X1_, Y2_);

    TLabelFormat labels = LabelFormat;
    labels.LabelKeepZeros = false;

    AutoStep(YAxis, 5, 10);
    const bool logarithmic = YAxis.Scale == AxisScale::Logarithmic;
    const int n = TickCount(YAxis);
    double t = FirstTick(YAxis);
    for (int i = 0; i <= n; ++i) {
        if (!logarithmic && std::abs(t) < kZeroTick) {
            t = 0.0;
        }
        if (t <= YAxis.Max + kZeroTick) {
            const int y = YPixel(t);
            Line(canvas, X1_, y, X1_ - h, y);
            const std::string label =
                Trimmed(movra::FormatAxisNumber(logarithmic ? SafeExp10(t) : t, labels));
            canvas.TextOut(X1_ - h - canvas.TextWidth(label), y - hM / 2, label);
            if (logarithmic && i < n) {
                for (int j = 2; j <= 9; ++j) {
                    const int ym = YPixel(t + std::log10(static_cast<double>(j)));
                    Line(canvas, X1_, ym, X1_ - minor, ym);
                }
            }
        }
        t += YAxis.Step;
    }

    if (!YAxis.Title.empty()) {
        canvas.TextOut(X1_, Y1_ - 3 * (hM / 2), YAxis.Title);
    }
}

void PlotEngine::PlotGrid(PlotCanvas& canvas)
{
    const LineStyle previous = canvas.GetPen().style;
    canvas.SetPenStyle(LineStyle::Dot);
    if (GridMode == 1 || GridMode == 3) {
        const int n = TickCount(YAxis);
        const double t0 = RoundHalfEven(YAxis.Min / YAxis.Step) * YAxis.Step;
        for (int i = 0; i <= n + 1; ++i) {
            const int y = YPixel(t0 + i * YAxis.Step);
            if (Y1_ < y && y < Y2_) {
                Line(canvas, X1_, y, X2_, y);
            }
        }
    }
    if (GridMode == 2 || GridMode == 3) {
        const int n = TickCount(XAxis);
        const double t0 = std::trunc(XAxis.Min / XAxis.Step) * XAxis.Step;
        for (int i = 0; i <= n + 1; ++i) {
            const int x = XPixel(t0 + i * XAxis.Step);
            if (X1_ < x && x < X2_) {
                Line(canvas, x, Y1_, x, Y2_);
            }
        }
    }
    canvas.SetPenStyle(previous);
}

void PlotEngine::PlotSymbol(PlotCanvas& canvas, int x, int y, int size, int symbol) const
{
    const int u = size * symbolUnit_;
    const auto plus = [&] {
        Line(canvas, x, y - u, x, y + u + 1);
        Line(canvas, x - u, y, x + u + 1, y);
    };
    const auto cross = [&] {
        Line(canvas, x - u, y - u, x + u + 1, y + u + 1);
        Line(canvas, x - u, y + u, x + u + 1, y - u - 1);
    };
    switch (symbol) {
    case 0:
        canvas.SetPixel(x, y, canvas.GetBrush().color);
        break;
    case 1:
    case 2:
        canvas.Ellipse(x - u, y - u, x + u + 1, y + u + 1);
        break;
    case 3:
    case 4:
        canvas.Rectangle(x - u, y - u, x + u + 1, y + u + 1);
        break;
    case 5:
    case 6: {
        const CanvasPoint triangle[] = {{x - u, y + u}, {x + u + 1, y + u}, {x, y - u - 1}};
        canvas.Polygon(triangle);
        break;
    }
    case 7:
        plus();
        break;
    case 8:
        cross();
        break;
    case 9:
        plus();
        cross();
        break;
    default:
        break;
    }
}

void PlotEngine::ApplyCurveStyle(PlotCanvas& canvas, const TCurvParam& param)
{
    canvas.SetPen({param.PenColor, param.PenStyle, param.PenWidth});
    const bool filled = param.Symbol == 0 || param.Symbol == 1 || param.Symbol == 3 || param.Symbol == 5;
    canvas.SetBrush({param.FillColor, filled ? FillStyle::Solid : FillStyle::Clear});
}

double PlotEngine::AxisValue(const TAxis& axis, double value) const
{
    return axis.Scale == AxisScale::Logarithmic ? SafeLog10(value) : value;
}

CanvasPoint PlotEngine::ClipToPlot(CanvasPoint outside, int dx, int dy) const
{
    // 64-bit products: far points sit 30000 pixels out, and their products
    // with a pixel difference need more than 32 bits.
    std::int64_t x = outside.x;
    std::int64_t y = outside.y;
    if (x > X2_ && dx != 0) {
        y = y + (X2_ - x) * dy / dx;
        x = X2_;
    }
    if (x < X1_ && dx != 0) {
        y = y - (x - X1_) * dy / dx;
        x = X1_;
    }
    if (y > Y2_ && dy != 0) {
        x = x + (Y2_ - y) * dx / dy;
        y = Y2_;
    }
    if (y < Y1_ && dy != 0) {
        x = x - (y - Y1_) * dx / dy;
        y = Y1_;
    }
    return {static_cast<int>(x), static_cast<int>(y)};
}

void PlotEngine::DrawClippedSegment(PlotCanvas& canvas, CanvasPoint from, bool fromInside, CanvasPoint to,
                                    bool toInside) const
{
    if (!fromInside && !toInside) {
        return;
    }
    const int dx = to.x - from.x;
    const int dy = to.y - from.y;
    if (!toInside) {
        to = ClipToPlot(to, dx, dy);
    } else if (!fromInside) {
        from = ClipToPlot(from, dx, dy);
    }
    Line(canvas, from.x, from.y, to.x, to.y);
}

void PlotEngine::PlotCurve(PlotCanvas& canvas, std::span<const double> x, std::span<const double> y,
                           const TCurvParam& param, int last, int first)
{
    PenAndBrushKeeper keeper(canvas);
    ApplyCurveStyle(canvas, param);

    // Indices beyond the data and a step below 1 would read past the arrays
    // or never end.
    const int available = static_cast<int>(std::min(x.size(), y.size())) - 1;
    last = std::min(last, available);
    first = std::max(first, 0);
    const int step = std::max(param.PointStep, 1);

    CanvasPoint previous{};
    bool previousInside = false;
    for (int i = first; i <= last; i += step) {
        const double xv = AxisValue(XAxis, At(x, i));
        const double yv = AxisValue(YAxis, At(y, i));
        const CanvasPoint pixel{XPixel(xv), YPixel(yv)};
        const bool inside = Inside(pixel.x, pixel.y);
        if (inside) {
            PlotSymbol(canvas, pixel.x, pixel.y, param.SymbolSize, param.Symbol);
        }
        if (param.Connect && i > first) {
            DrawClippedSegment(canvas, previous, previousInside, pixel, inside);
        }
        previous = pixel;
        previousInside = inside;
    }
}

void PlotEngine::PlotFunc(PlotCanvas& canvas, const std::function<double(double)>& f, int npt,
                          const TLineParam& line, double xMin, double xMax)
{
    if (npt < 2 || line.Style == LineStyle::None) {
        return;
    }
    if (xMin >= xMax) {
        xMin = XAxis.Min;
        xMax = XAxis.Max;
    }
    const double h = (xMax - xMin) / npt;

    const Pen saved = canvas.GetPen();
    canvas.SetPen({line.Color, line.Style, line.Width});

    const bool logX = XAxis.Scale == AxisScale::Logarithmic;
    const auto pixelAt = [&](double xv) {
        const double yv = AxisValue(YAxis, f(logX ? SafeExp10(xv) : xv));
        return CanvasPoint{XPixel(xv), YPixel(yv)};
    };
    double xv = xMin;
    CanvasPoint previous = pixelAt(xv);
    bool previousInside = Inside(previous.x, previous.y);
    for (int k = 0; k < npt; ++k) {
        xv += h;
        const CanvasPoint current = pixelAt(xv);
        const bool inside = Inside(current.x, current.y);
        if (previousInside && inside) {
            Line(canvas, previous.x, previous.y, current.x, current.y);
        }
        previous = current;
        previousInside = inside;
    }
    canvas.SetPen(saved);
}

void PlotEngine::PlotLegend(PlotCanvas& canvas, int n, const TCurvParamVector& params, bool showLines,
                            bool showSymbols)
{
    n = std::min(n, static_cast<int>(params.size()) - 1);
    int count = 0;
    int widest = 0;
    for (int i = 1; i <= n; ++i) {
        const std::string& legend = At(params, i).Legend;
        if (!legend.empty()) {
            ++count;
            widest = std::max(widest, canvas.TextWidth(legend));
        }
    }
    const int hM = canvas.TextHeight("M");
    if (count == 0 || widest == 0 || hM <= 0) {
        return;
    }
    const int maxRows = RoundToInt(static_cast<double>(Y2_ - Y1_) / hM) - 1;
    const int rows = std::min(count, maxRows);
    const int u = RoundToInt(0.02 * canvasWidth_);
    canvas.Rectangle(X2_ + u, Y1_, X2_ + RoundToInt(0.12 * canvasWidth_) + widest, Y1_ + (rows + 1) * hM);

    PenAndBrushKeeper keeper(canvas);
    for (int i = 1; i <= std::min(n, maxRows); ++i) {
        const TCurvParam& param = At(params, i);
        ApplyCurveStyle(canvas, param);
        const int y = Y1_ + i * hM;
        if (showSymbols) {
            PlotSymbol(canvas, X2_ + 3 * u, y, param.SymbolSize, param.Symbol);
        }
        if (showLines) {
            Line(canvas, X2_ + 2 * u, y, X2_ + 4 * u, y);
        }
        canvas.SetBrushStyle(FillStyle::Clear);
        canvas.TextOut(X2_ + 5 * u, y - hM / 2, param.Legend);
    }
}

} // namespace movra
