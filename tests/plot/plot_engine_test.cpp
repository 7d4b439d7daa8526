#include "plot/recording_canvas.h"
#include "plot/winplot.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

namespace movra {
namespace {

using Points = std::vector<CanvasPoint>;

// A curve record with a green fill and a red pen.
TCurvParam Curve(int symbol, bool connect = false)
{
    TCurvParam p;
    p.Symbol = symbol;
    p.SymbolSize = 1;
    p.FillColor = 0x00FF00;
    p.PenColor = 0x0000FF;
    p.Connect = connect;
    return p;
}

// A 1000 x 500 surface with the engine's default window (15..75 percent)
// and both axes 0..100: the plot spans x 150..750 and y 75..375, 6 pixels
// per x unit and 3 per y unit, symbol unit 4. Font height 13: "M" is 13
// high and 6 wide. Place() leaves the surface empty.
class PlotEngineTest : public ::testing::Test {
protected:
    PlotEngineTest() { engine.XAxis.Max = engine.YAxis.Max = 100; }
    void Place()
    {
        engine.SetPlotWindow(canvas, canvas.Width(), canvas.Height());
        canvas.Forget();
    }
    // The points of every call of one kind, in order.
    std::vector<Points> Figures(CanvasOp op) const
    {
        std::vector<Points> figures;
        for (const CanvasCall& call : canvas.CallsOf(op)) figures.push_back(call.points);
        return figures;
    }

    RecordingCanvas canvas{1000, 500};
    PlotEngine engine;
};

TEST_F(PlotEngineTest, SetPlotWindowPlacesTheRectangleAndMapsWorldToPixels)
{
    engine.SetPlotWindow(canvas, canvas.Width(), canvas.Height());
    EXPECT_EQ((std::vector{engine.X1(), engine.Y1(), engine.X2(), engine.Y2(), engine.SymbolUnit()}),
              (std::vector{150, 75, 750, 375, 4}));
    EXPECT_EQ(canvas.CallsOf(CanvasOp::Rectangle).at(0).points, (Points{{150, 75}, {751, 376}}));
    // Farther than 30000 pixels on either side, or no number: pixel 30000.
    EXPECT_EQ((std::vector{engine.XPixel(0), engine.XPixel(12.5), engine.YPixel(100), engine.YPixel(0),
                           engine.XPixel(1e6), engine.XPixel(-1e6), engine.YPixel(1e20), engine.YPixel(std::nan(""))}),
              (std::vector{150, 225, 75, 375, kFarPixel, kFarPixel, kFarPixel, kFarPixel}));

    engine.PlotBorder = false;
    engine.XAxis.Max = engine.XAxis.Min;
    canvas.Forget();
    engine.SetPlotWindow(canvas, canvas.Width(), canvas.Height());
    EXPECT_TRUE(canvas.Calls().empty());
    EXPECT_EQ(engine.XPixel(0), kFarPixel);  // an empty axis range does not fault
}

TEST(AutoStep, GivesPowersOfTenTimesPowersOfTwoAndNeedsARange)
{
    const double inf = std::numeric_limits<double>::infinity();
    const double cases[][3] = {{0, 100, 12.5}, {0, 1, 0.125}, {124, 983, 100}, {0, 0.5, 0.1},
                               {5, 5, 0.2},    {5, 4, 0.2},   {0, inf, 0.2}};  // 0.2: the step left alone
    for (const auto& [min, max, step] : cases) {
        TAxis axis;
        axis.Min = min;
        axis.Max = max;
        AutoStep(axis);
        EXPECT_DOUBLE_EQ(axis.Step, step) << min << ".." << max;
    }
}

TEST(FormatAxisNumber, PadsToTheWidthAndTrimsZerosWhenAsked)
{
    const std::tuple<double, bool, bool, const char*> cases[] = {  // value, keep zeros, exponent, text
        {2.5, true, false, "    2.5000"}, {-12.5, true, false, "  -12.5000"}, {2.5, false, false, "       2.5"},
        {3, false, false, "         3"},  {100, false, false, "       100"},  {1500, true, true, "1.5000E+03 "}};
    for (const auto& [value, keepZeros, exponent, text] : cases)
        EXPECT_EQ(FormatAxisNumber(value, {10, 4, exponent, keepZeros}), text) << value;
}

TEST_F(PlotEngineTest, AxesAreTickedAndLabelledAtTheAutomaticStep)
{
    Place();
    engine.PlotXAxis(canvas);
    EXPECT_EQ(canvas.Texts(),
              (std::vector<std::string>{"0", "12.5", "25", "37.5", "50", "62.5", "75", "87.5", "100", "X"}));
    auto texts = Figures(CanvasOp::Text);  // a label centred under its tick, the title
    EXPECT_EQ(std::pair(texts[1], texts[9]),
              std::pair(Points{{225 - 12, 375 + 6}}, Points{{150 + (600 - 6) / 2, 375 + 26}}));
    const auto lines = Figures(CanvasOp::Line);
    ASSERT_EQ(lines.size(), 10u);  // the axis line and nine ticks
    EXPECT_EQ(std::pair(lines[0], lines[2]), std::pair(Points{{150, 375}, {750, 375}}, Points{{225, 375}, {225, 381}}));

    canvas.Forget();
    engine.PlotYAxis(canvas);
    texts = Figures(CanvasOp::Text);
    ASSERT_EQ(texts.size(), 10u);
    // "25", 12 wide, right-aligned against a tick of 3 at y 300; the title.
    EXPECT_EQ(std::tuple(canvas.Texts()[2], texts[2], texts[9]),
              std::tuple("25", Points{{150 - 3 - 12, 300 - 6}}, Points{{150, 75 - 18}}));

    // Stepping by 0.1 from -0.3 leaves about -2.8E-17 for the zero tick.
    engine.XAxis.Min = -0.3;
    engine.XAxis.Max = 0.6;
    Place();
    engine.PlotXAxis(canvas);
    EXPECT_EQ(std::ranges::count(canvas.Texts(), "0"), 1);
}

TEST_F(PlotEngineTest, LogarithmicAxesLabelPowersOfTenAndPlaceValuesByTheirLogarithm)
{
    engine.XAxis.Scale = engine.YAxis.Scale = AxisScale::Logarithmic;
    engine.XAxis.Max = engine.YAxis.Max = 2;  // 1 .. 100
    Place();
    engine.PlotXAxis(canvas);
    ASSERT_EQ(canvas.Texts().size(), 10u);  // ticks every quarter decade, and the title
    EXPECT_EQ(canvas.Texts()[2], "3.1623");
    // Axis line, nine ticks, and minor ticks 2..9 after each tick but the last.
    EXPECT_EQ(canvas.CallsOf(CanvasOp::Line).size(), 1u + 9u + 8u * 8u);

    Place();
    const std::vector<double> x = {0, 1, 2}, y = {0, 10, 0};  // the logarithm of 0 lies far off the plot
    engine.PlotCurve(canvas, x, y, Curve(4), 2, 1);
    EXPECT_EQ(Figures(CanvasOp::Rectangle), (std::vector<Points>{{{150 - 4, 225 - 4}, {155, 230}}}));
}

TEST(DefaultCurveParams, ElevenCurvesCycleSymbolsAndPalette)
{
    TCurvParamVector params;
    DefaultCurveParams(params, 11);
    ASSERT_EQ(params.size(), 12u);
    const std::tuple<int, int, Colour> curves[] = {
        {0, 0, 0}, {1, 1, 0x0000FF}, {9, 9, 0x800080}, {10, 1, 0x808000}, {11, 2, 0x0000FF}};
    for (const auto& [i, symbol, colour] : curves) {
        const TCurvParam& p = params[static_cast<std::size_t>(i)];
        EXPECT_EQ(std::tuple(p.Symbol, p.FillColor, p.PenColor, p.PenWidth, p.PointStep, p.Connect),
                  std::tuple(symbol, colour, colour, 1, 1, false)) << i;
    }
    EXPECT_EQ(params[11].Legend, "Y11");
    DefaultCurveParams(params, -1);
    EXPECT_TRUE(params.empty());
}

TEST_F(PlotEngineTest, EachSymbolIsDrawnInItsShapeWithTheCurvesPenAndBrush)
{
    // One point at (50, 50), pixel (450, 225); half-size 4.
    const Points box = {{446, 221}, {455, 230}}, triangle = {{446, 229}, {455, 229}, {450, 220}};
    const std::tuple<int, CanvasOp, std::size_t, Points> cases[] = {
        {0, CanvasOp::Pixel, 1, {{450, 225}}}, {1, CanvasOp::Ellipse, 1, box}, {2, CanvasOp::Ellipse, 1, box},
        {3, CanvasOp::Rectangle, 1, box},      {4, CanvasOp::Rectangle, 1, box}, {5, CanvasOp::Polygon, 1, triangle},
        {6, CanvasOp::Polygon, 1, triangle},   {7, CanvasOp::Line, 2, {{450, 221}, {450, 230}}},
        {8, CanvasOp::Line, 2, box},           {9, CanvasOp::Line, 4, {{450, 221}, {450, 230}}},
        {10, CanvasOp::Line, 0, {}},           {-1, CanvasOp::Line, 0, {}}};
    const std::vector<double> v = {0, 50};
    for (const auto& [symbol, op, count, first] : cases) {
        Place();
        engine.PlotCurve(canvas, v, v, Curve(symbol), 1, 1);
        EXPECT_EQ(std::pair(canvas.GetPen(), canvas.GetBrush()), std::pair(Pen{}, Brush{})) << symbol;  // restored
        const auto calls = canvas.CallsOf(op);
        ASSERT_EQ(calls.size(), count) << symbol;
        for (const auto& call : canvas.Calls())  // nothing else drawn
            EXPECT_TRUE(call.op == op || call.op == CanvasOp::PenChange || call.op == CanvasOp::BrushChange) << symbol;
        if (count == 0) continue;
        const bool filled = symbol == 0 || symbol == 1 || symbol == 3 || symbol == 5;
        EXPECT_EQ(std::tuple(calls[0].points, calls[0].pen.color, calls[0].brush),
                  std::tuple(first, 0x0000FFu, Brush{0x00FF00, filled ? FillStyle::Solid : FillStyle::Clear}))
            << symbol;
        EXPECT_TRUE(symbol != 0 || calls[0].colour == 0x00FF00u);  // a pixel in the fill colour
    }
}

// Points on the border are inside, segments are cut at it.
TEST_F(PlotEngineTest, PointsOnTheBorderAreInsideSegmentsAreCutAtItAndPointStepSkipsPoints)
{
    Place();
    const std::vector<double> x = {0, 0, 100, 100.5}, y = {0, 100, 0, 50};
    engine.PlotCurve(canvas, x, y, Curve(3), 3, 1);  // the point just right of the plot is left out
    EXPECT_EQ(Figures(CanvasOp::Rectangle), (std::vector<Points>{{{146, 71}, {155, 80}}, {{746, 371}, {755, 380}}}));

    Place();
    TCurvParam p = Curve(3);
    p.PointStep = 2;
    const std::vector<double> v = {0, 10, 20, 30, 40, 50};
    engine.PlotCurve(canvas, v, v, p, 99, 1);  // indices past the data are ignored
    EXPECT_EQ(canvas.CallsOf(CanvasOp::Rectangle).size(), 3u);  // 1, 3, 5

    // Connected segments from (x0, y0) to (x1, y1), (50, 50) being pixel (450, 225); no symbols.
    const std::tuple<double, double, double, double, Points> cases[] = {
        {50, 50, 160, 100, {{450, 225}, {750, 156}}},  // 75 + (750 - 1110) * -150 / 660, truncated
        {160, 100, 50, 50, {{750, 156}, {450, 225}}},  {50, 50, -10, 80, {{450, 225}, {150, 150}}},
        {50, 50, 60, 200, {{450, 225}, {470, 75}}},    {50, 50, 60, -100, {{450, 225}, {470, 375}}},
        {-10, 50, 160, 50, {}}};
    for (const auto& [x0, y0, x1, y1, line] : cases) {
        Place();
        const std::vector<double> xs = {0, x0, x1}, ys = {0, y0, y1};
        engine.PlotCurve(canvas, xs, ys, Curve(-1, true), 2, 1);
        const auto lines = canvas.CallsOf(CanvasOp::Line);
        EXPECT_EQ(lines.empty() ? Points{} : lines[0].points, line) << x1 << "," << y1;
        EXPECT_LE(lines.size(), 1u);
    }
}

TEST_F(PlotEngineTest, PlotFuncDrawsSegmentsWithBothEndsInside)
{
    Place();
    // y = x from -25 to 100 in 5 steps: the first segment starts outside.
    engine.PlotFunc(canvas, [](double x) { return x; }, 5, {2, LineStyle::Dash, 0x123456}, -25, 100);
    EXPECT_EQ(Figures(CanvasOp::Line),
              (std::vector<Points>{{{150, 375}, {300, 300}}, {{300, 300}, {450, 225}}, {{450, 225}, {600, 150}},
                                   {{600, 150}, {750, 75}}}));
    EXPECT_EQ(canvas.CallsOf(CanvasOp::Line)[0].pen, (Pen{0x123456, LineStyle::Dash, 2}));
    EXPECT_EQ(canvas.GetPen(), Pen{});

    // Fewer than two segments or no line: nothing; an empty range: the x axis.
    Place();
    engine.PlotFunc(canvas, [](double) { return 50.0; }, 1, {}, 0, 100);
    engine.PlotFunc(canvas, [](double) { return 50.0; }, 10, {1, LineStyle::None, 0}, 0, 100);
    EXPECT_TRUE(canvas.Calls().empty());
    engine.PlotFunc(canvas, [](double) { return 50.0; }, 4, {}, 7, 7);
    const auto lines = Figures(CanvasOp::Line);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(std::pair(lines[0][0].x, lines[3][1].x), std::pair(150, 750));
}

TEST_F(PlotEngineTest, LegendFrameFitsTheRowsAndEachRowCarriesSymbolLineAndText)
{
    Place();
    TCurvParamVector params;
    DefaultCurveParams(params, 3);
    params[2].Legend = "Long";
    engine.PlotLegend(canvas, 3, params, true, true);
    // u = 20, widest text 24, three rows of 13: the frame, then curve 3's square.
    const auto rectangles = canvas.CallsOf(CanvasOp::Rectangle);
    ASSERT_EQ(rectangles.size(), 2u);
    EXPECT_EQ(std::pair(rectangles[0].points, rectangles[0].pen),
              std::pair(Points{{770, 75}, {750 + 120 + 24, 75 + 4 * 13}}, Pen{}));
    const auto texts = canvas.CallsOf(CanvasOp::Text);
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(std::tuple(texts[1].text, texts[1].points[0], texts[1].brush.style),
              std::tuple("Long", CanvasPoint{850, 75 + 26 - 6}, FillStyle::Clear));
    EXPECT_EQ(canvas.CallsOf(CanvasOp::Ellipse).at(0).points[0], (CanvasPoint{810 - 4, 88 - 4}));
    const auto lines = canvas.CallsOf(CanvasOp::Line);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(std::tuple(lines[0].points, lines[1].pen.color, canvas.GetBrush()),
              std::tuple(Points{{790, 88}, {830, 88}}, CurvePalette[1], Brush{}));

    Place();
    for (auto& p : params) p.Legend.clear();
    engine.PlotLegend(canvas, 3, params, true, true);
    EXPECT_TRUE(canvas.Calls().empty());
}

} // namespace
} // namespace movra
