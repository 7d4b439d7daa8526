#include "plot/recording_canvas.h"
#include "plot/winplot.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include <algorithm>

namespace movra {
namespace {

TCurvParam Curve(int symbol, bool connect = false);

// A 1000 x 500 surface with the engine's default window (15..75 percent)
// and both axes 0..100: the plot spans x 150..750 and y 75..375, 6 pixels
// per x unit and 3 per y unit. Font height 13: "M" is 13 high and 6 wide.
class PlotEngineTest : public ::testing::Test {
protected:
    PlotEngineTest()
    {
        engine.XAxis.Min = 0;
        engine.XAxis.Max = 100;
        engine.YAxis.Min = 0;
        engine.YAxis.Max = 100;
    }

    void Place() { engine.SetPlotWindow(canvas, canvas.Width(), canvas.Height()); }

    std::vector<CanvasCall> LinesWithStyle(LineStyle style) const
    {
        std::vector<CanvasCall> lines;
        for (const auto& call : canvas.CallsOf(CanvasOp::Line)) {
            if (call.pen.style == style) {
                lines.push_back(call);
            }
        }
        return lines;
    }

    RecordingCanvas canvas{1000, 500};
    PlotEngine engine;
};

TEST_F(PlotEngineTest, SetPlotWindowPlacesTheRectangleAndDrawsTheBorder)
{
    Place();
    EXPECT_EQ(engine.X1(), 150);
    EXPECT_EQ(engine.Y1(), 75);
    EXPECT_EQ(engine.X2(), 750);
    EXPECT_EQ(engine.Y2(), 375);
    EXPECT_EQ(engine.SymbolUnit(), 4);
    const auto rectangles = canvas.CallsOf(CanvasOp::Rectangle);
    ASSERT_EQ(rectangles.size(), 1u);
    EXPECT_EQ(rectangles[0].points[0], (CanvasPoint{150, 75}));
    EXPECT_EQ(rectangles[0].points[1], (CanvasPoint{751, 376}));
}

TEST_F(PlotEngineTest, NoBorderWithoutPlotBorder)
{
    engine.PlotBorder = false;
    Place();
    EXPECT_TRUE(canvas.CallsOf(CanvasOp::Rectangle).empty());
}

TEST_F(PlotEngineTest, PixelsMapWorldCoordinatesWithYGrowingDownwards)
{
    Place();
    EXPECT_EQ(engine.XPixel(0), 150);
    EXPECT_EQ(engine.XPixel(12.5), 225);
    EXPECT_EQ(engine.YPixel(100), 75);
    EXPECT_EQ(engine.YPixel(0), 375);
}

TEST_F(PlotEngineTest, FarCoordinatesMapToPixel30000OnBothSides)
{
    Place();
    EXPECT_EQ(engine.XPixel(1e6), kFarPixel);
    EXPECT_EQ(engine.XPixel(-1e6), kFarPixel);
    EXPECT_EQ(engine.YPixel(1e20), kFarPixel);
    EXPECT_EQ(engine.YPixel(std::nan("")), kFarPixel);
}

TEST_F(PlotEngineTest, EmptyAxisRangeMapsToTheFarPixelInsteadOfFaulting)
{
    engine.XAxis.Max = engine.XAxis.Min;
    Place();
    EXPECT_EQ(engine.XPixel(0), kFarPixel);
}

TEST(AutoStep, GivesPowersOfTenTimesPowersOfTwo)
{
    TAxis axis;
    axis.Max = 100;
    AutoStep(axis);
    EXPECT_DOUBLE_EQ(axis.Step, 12.5);
    axis.Max = 1;
    AutoStep(axis);
    EXPECT_DOUBLE_EQ(axis.Step, 0.125);
    axis.Min = 124;
    axis.Max = 983;
    AutoStep(axis);
    EXPECT_DOUBLE_EQ(axis.Step, 100);
}

TEST(AutoStep, LeavesTheStepAloneWithoutARange)
{
    TAxis axis;
    axis.Min = 5;
    axis.Max = 5;
    AutoStep(axis);
    EXPECT_DOUBLE_EQ(axis.Step, 0.2);
    axis.Max = std::numeric_limits<double>::infinity();
    AutoStep(axis);
    EXPECT_DOUBLE_EQ(axis.Step, 0.2);
}

TEST(FormatAxisNumber, KeepsFourDecimalsRightAlignedByDefault)
{
    EXPECT_EQ(FormatAxisNumber(2.5, {}), "    2.5000");
    EXPECT_EQ(FormatAxisNumber(-12.5, {}), "  -12.5000");
}

TEST(FormatAxisNumber, DropsTrailingZerosAndBarePointWhenAsked)
{
    TLabelFormat format;
    format.LabelKeepZeros = false;
    EXPECT_EQ(FormatAxisNumber(2.5, format), "       2.5");
    EXPECT_EQ(FormatAxisNumber(3, format), "         3");
    EXPECT_EQ(FormatAxisNumber(100, format), "       100");
}

TEST(FormatAxisNumber, ExponentFormFillsOneLessThanTheWidthPlusABlank)
{
    TLabelFormat format;
    format.LabelExponent = true;
    const std::string text = FormatAxisNumber(1500, format);
    EXPECT_EQ(text, "1.5000E+03 ");
}

TEST_F(PlotEngineTest, XAxisFrom0To100IsLabelledInStepsOf12_5)
{
    Place();
    engine.PlotXAxis(canvas);
    EXPECT_DOUBLE_EQ(engine.XAxis.Step, 12.5);
    const std::vector<std::string> expected = {"0", "12.5", "25", "37.5", "50", "62.5", "75", "87.5", "100", "X"};
    EXPECT_EQ(canvas.Texts(), expected);
    // Labels are centred under their ticks, below the tick length.
    const auto texts = canvas.CallsOf(CanvasOp::Text);
    EXPECT_EQ(texts[1].points[0], (CanvasPoint{225 - 12, 375 + 6}));
    // Title centred under the plot, two "M" heights below it.
    EXPECT_EQ(texts[9].points[0], (CanvasPoint{150 + (600 - 6) / 2, 375 + 26}));
}

TEST_F(PlotEngineTest, XAxisTicksRunDownFromTheAxisLine)
{
    Place();
    canvas.Forget();
    engine.PlotXAxis(canvas);
    const auto lines = canvas.CallsOf(CanvasOp::Line);
    ASSERT_EQ(lines.size(), 10u);  // the axis line and nine ticks
    EXPECT_EQ(lines[0].points[0], (CanvasPoint{150, 375}));
    EXPECT_EQ(lines[0].points[1], (CanvasPoint{750, 375}));
    EXPECT_EQ(lines[2].points[0], (CanvasPoint{225, 375}));
    EXPECT_EQ(lines[2].points[1], (CanvasPoint{225, 381}));
}

TEST_F(PlotEngineTest, TickComputedAsTinyNegativeIsLabelledZero)
{
    // Adding 0.1 three times to -0.2 leaves about -2.8E-17 for the zero tick.
    engine.XAxis.Min = -0.3;
    engine.XAxis.Max = 0.6;
    Place();
    engine.PlotXAxis(canvas);
    const auto texts = canvas.Texts();
    EXPECT_NE(std::find(texts.begin(), texts.end(), "0"), texts.end());
    EXPECT_EQ(std::find(texts.begin(), texts.end(), "-0"), texts.end());
}

TEST_F(PlotEngineTest, HalfStepLabelsLoseTrailingZerosAndWholeOnesThePoint)
{
    engine.YAxis.Min = 0;
    engine.YAxis.Max = 4;  // step 0.5
    Place();
    engine.PlotYAxis(canvas);
    const auto texts = canvas.Texts();
    EXPECT_NE(std::find(texts.begin(), texts.end(), "2.5"), texts.end());
    EXPECT_NE(std::find(texts.begin(), texts.end(), "3"), texts.end());
    EXPECT_EQ(texts.back(), "Y");
}

TEST_F(PlotEngineTest, YAxisLabelsSitRightAlignedAgainstTheirTicks)
{
    Place();
    engine.PlotYAxis(canvas);
    const auto texts = canvas.CallsOf(CanvasOp::Text);
    ASSERT_EQ(texts.size(), 10u);
    // "25" (two characters, 12 wide) at y pixel 300: tick length 3.
    EXPECT_EQ(texts[2].text, "25");
    EXPECT_EQ(texts[2].points[0], (CanvasPoint{150 - 3 - 12, 300 - 6}));
    EXPECT_EQ(texts[9].points[0], (CanvasPoint{150, 75 - 18}));
}

TEST_F(PlotEngineTest, LogarithmicAxisLabelsPowersOfTenAndAddsMinorTicks)
{
    engine.XAxis.Scale = AxisScale::Logarithmic;
    engine.XAxis.Min = 0;  // 1 .. 100
    engine.XAxis.Max = 2;
    Place();
    canvas.Forget();
    engine.PlotXAxis(canvas);
    const auto texts = canvas.Texts();
    ASSERT_EQ(texts.size(), 10u);  // ticks every quarter decade, and the title
    EXPECT_EQ(texts[0], "1");
    EXPECT_EQ(texts[2], "3.1623");
    EXPECT_EQ(texts[8], "100");
    // Axis line, nine ticks, and minor ticks 2..9 after each tick but the last.
    EXPECT_EQ(canvas.CallsOf(CanvasOp::Line).size(), 1u + 9u + 8u * 8u);
}

TEST_F(PlotEngineTest, LogarithmicAxesPlaceValuesByTheirLogarithm)
{
    engine.YAxis.Scale = AxisScale::Logarithmic;
    engine.YAxis.Min = 0;
    engine.YAxis.Max = 2;
    Place();
    canvas.Forget();
    const std::vector<double> x = {0, 50, 60};
    const std::vector<double> y = {0, 10, 0};  // log of 0 lies far off the plot
    engine.PlotCurve(canvas, x, y, Curve(4), 2, 1);
    const auto squares = canvas.CallsOf(CanvasOp::Rectangle);
    ASSERT_EQ(squares.size(), 1u);
    EXPECT_EQ(squares[0].points[0], (CanvasPoint{450 - 4, 225 - 4}));
}

TEST_F(PlotEngineTest, GridLinesLieStrictlyInsideTheBorder)
{
    Place();
    engine.PlotXAxis(canvas);
    engine.PlotYAxis(canvas);
    canvas.Forget();
    engine.PlotGrid(canvas);
    const auto dotted = LinesWithStyle(LineStyle::Dot);
    ASSERT_EQ(dotted.size(), 14u);  // 7 horizontal + 7 vertical
    for (const auto& line : dotted) {
        const CanvasPoint a = line.points[0];
        const CanvasPoint b = line.points[1];
        if (a.y == b.y) {
            EXPECT_GT(a.y, 75);
            EXPECT_LT(a.y, 375);
        } else {
            EXPECT_GT(a.x, 150);
            EXPECT_LT(a.x, 750);
        }
    }
    EXPECT_EQ(canvas.GetPen().style, LineStyle::Solid);
}

TEST_F(PlotEngineTest, GridModeOneDrawsOnlyHorizontalLines)
{
    engine.GridMode = 1;
    Place();
    engine.PlotXAxis(canvas);
    engine.PlotYAxis(canvas);
    canvas.Forget();
    engine.PlotGrid(canvas);
    for (const auto& line : LinesWithStyle(LineStyle::Dot)) {
        EXPECT_EQ(line.points[0].y, line.points[1].y);
    }
}

TEST(DefaultCurveParams, ElevenCurvesCycleSymbolsAndPalette)
{
    TCurvParamVector params;
    DefaultCurveParams(params, 11);
    ASSERT_EQ(params.size(), 12u);
    EXPECT_EQ(params[0].Symbol, 0);
    EXPECT_EQ(params[0].Legend, "");
    EXPECT_EQ(params[1].Symbol, 1);
    EXPECT_EQ(params[1].FillColor, 0x0000FFu);
    EXPECT_EQ(params[9].Symbol, 9);
    EXPECT_EQ(params[10].Symbol, 1);
    EXPECT_EQ(params[10].FillColor, 0x808000u);
    EXPECT_EQ(params[11].Symbol, 2);
    EXPECT_EQ(params[11].FillColor, 0x0000FFu);
    EXPECT_EQ(params[11].PenColor, 0x0000FFu);
    EXPECT_EQ(params[11].Legend, "Y11");
    for (const auto& p : params) {
        EXPECT_EQ(p.PenWidth, 1);
        EXPECT_EQ(p.PointStep, 1);
        EXPECT_FALSE(p.Connect);
    }
    DefaultCurveParams(params, -1);
    EXPECT_TRUE(params.empty());
}

TCurvParam Curve(int symbol, bool connect)
{
    TCurvParam p;
    p.Symbol = symbol;
    p.SymbolSize = 1;
    p.FillColor = 0x00FF00;
    p.PenColor = 0x0000FF;
    p.Connect = connect;
    return p;
}

TEST_F(PlotEngineTest, PointsOnTheBorderAreInsideAndDrawn)
{
    Place();
    canvas.Forget();
    const std::vector<double> x = {0, 0, 100, 100.5};
    const std::vector<double> y = {0, 100, 0, 50};
    engine.PlotCurve(canvas, x, y, Curve(3), 3, 1);
    const auto squares = canvas.CallsOf(CanvasOp::Rectangle);
    ASSERT_EQ(squares.size(), 2u);  // the point just right of the plot is left out
    EXPECT_EQ(squares[0].points[0], (CanvasPoint{150 - 4, 75 - 4}));
    EXPECT_EQ(squares[1].points[1], (CanvasPoint{750 + 5, 375 + 5}));
    EXPECT_EQ(squares[0].brush, (Brush{0x00FF00, FillStyle::Solid}));
    EXPECT_EQ(squares[0].pen.color, 0x0000FFu);
}

TEST_F(PlotEngineTest, PlotCurveRestoresPenAndBrush)
{
    Place();
    const std::vector<double> v = {0, 50};
    engine.PlotCurve(canvas, v, v, Curve(2), 1, 1);
    EXPECT_EQ(canvas.GetPen(), Pen{});
    EXPECT_EQ(canvas.GetBrush(), Brush{});
}

TEST_F(PlotEngineTest, OpenSymbolsUseAClearBrush)
{
    Place();
    canvas.Forget();
    const std::vector<double> v = {0, 50};
    engine.PlotCurve(canvas, v, v, Curve(6), 1, 1);
    const auto polygons = canvas.CallsOf(CanvasOp::Polygon);
    ASSERT_EQ(polygons.size(), 1u);
    EXPECT_EQ(polygons[0].brush.style, FillStyle::Clear);
    const std::vector<CanvasPoint> triangle = {{446, 229}, {455, 229}, {450, 220}};
    EXPECT_EQ(polygons[0].points, triangle);
}

TEST_F(PlotEngineTest, SymbolZeroSetsOnePixelInTheFillColour)
{
    Place();
    canvas.Forget();
    const std::vector<double> v = {0, 50};
    engine.PlotCurve(canvas, v, v, Curve(0), 1, 1);
    const auto pixels = canvas.CallsOf(CanvasOp::Pixel);
    ASSERT_EQ(pixels.size(), 1u);
    EXPECT_EQ(pixels[0].points[0], (CanvasPoint{450, 225}));
    EXPECT_EQ(pixels[0].colour, 0x00FF00u);
}

TEST_F(PlotEngineTest, StarDrawsPlusAndCrossAndUnknownSymbolsNothing)
{
    Place();
    canvas.Forget();
    engine.PlotSymbol(canvas, 100, 100, 1, 9);
    EXPECT_EQ(canvas.CallsOf(CanvasOp::Line).size(), 4u);
    canvas.Forget();
    engine.PlotSymbol(canvas, 100, 100, 1, 10);
    engine.PlotSymbol(canvas, 100, 100, 1, -1);
    EXPECT_TRUE(canvas.Calls().empty());
}

TEST_F(PlotEngineTest, ConnectedSegmentLeavingThePlotIsCutAtTheBorder)
{
    Place();
    canvas.Forget();
    // (50, 50) is pixel (450, 225); (160, 100) is (1110, 75), outside on the right.
    const std::vector<double> x = {0, 50, 160};
    const std::vector<double> y = {0, 50, 100};
    engine.PlotCurve(canvas, x, y, Curve(5, true), 2, 1);
    const auto lines = canvas.CallsOf(CanvasOp::Line);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].points[0], (CanvasPoint{450, 225}));
    // y = 75 + (750 - 1110) * -150 / 660, truncated: 75 + 81.
    EXPECT_EQ(lines[0].points[1], (CanvasPoint{750, 156}));
}

TEST_F(PlotEngineTest, ConnectedSegmentEnteringThePlotIsCutAtTheBorder)
{
    Place();
    canvas.Forget();
    const std::vector<double> x = {0, 160, 50};
    const std::vector<double> y = {0, 100, 50};
    engine.PlotCurve(canvas, x, y, Curve(7, true), 2, 1);
    const auto lines = canvas.CallsOf(CanvasOp::Line);
    ASSERT_EQ(lines.size(), 3u);  // the plus symbol, then the segment
    EXPECT_EQ(lines[2].points[0], (CanvasPoint{750, 156}));
    EXPECT_EQ(lines[2].points[1], (CanvasPoint{450, 225}));
}

TEST_F(PlotEngineTest, SegmentWithBothEndsOutsideIsLeftOut)
{
    Place();
    canvas.Forget();
    const std::vector<double> x = {0, -10, 160};
    const std::vector<double> y = {0, 50, 50};
    engine.PlotCurve(canvas, x, y, Curve(1, true), 2, 1);
    EXPECT_TRUE(canvas.CallsOf(CanvasOp::Line).empty());
    EXPECT_TRUE(canvas.CallsOf(CanvasOp::Ellipse).empty());
}

TEST_F(PlotEngineTest, PointStepSkipsPointsAndIndicesPastTheDataAreIgnored)
{
    Place();
    canvas.Forget();
    TCurvParam p = Curve(3);
    p.PointStep = 2;
    const std::vector<double> v = {0, 10, 20, 30, 40, 50};
    engine.PlotCurve(canvas, v, v, p, 99, 1);
    EXPECT_EQ(canvas.CallsOf(CanvasOp::Rectangle).size(), 3u);  // 1, 3, 5
}

TEST_F(PlotEngineTest, PlotFuncDrawsOnlySegmentsWithBothEndsInside)
{
    Place();
    canvas.Forget();
    // y = x from -25 to 100 in 5 steps: the first segment starts outside.
    engine.PlotFunc(canvas, [](double x) { return x; }, 5, {2, LineStyle::Dash, 0x123456}, -25, 100);
    const auto lines = canvas.CallsOf(CanvasOp::Line);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0].points[0], (CanvasPoint{150, 375}));
    EXPECT_EQ(lines[3].points[1], (CanvasPoint{750, 75}));
    EXPECT_EQ(lines[0].pen, (Pen{0x123456, LineStyle::Dash, 2}));
    EXPECT_EQ(canvas.GetPen(), Pen{});
}

TEST_F(PlotEngineTest, PlotFuncUsesTheAxisWhenTheRangeIsEmptyAndSkipsDegenerateRequests)
{
    Place();
    canvas.Forget();
    engine.PlotFunc(canvas, [](double) { return 50.0; }, 1, {}, 0, 100);
    engine.PlotFunc(canvas, [](double) { return 50.0; }, 10, {1, LineStyle::None, 0}, 0, 100);
    EXPECT_TRUE(canvas.Calls().empty());
    engine.PlotFunc(canvas, [](double) { return 50.0; }, 4, {}, 7, 7);
    const auto lines = canvas.CallsOf(CanvasOp::Line);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0].points[0].x, 150);
    EXPECT_EQ(lines[3].points[1].x, 750);
}

TEST_F(PlotEngineTest, LegendFrameFitsTheRowsAndTheWidestText)
{
    Place();
    canvas.Forget();
    TCurvParamVector params;
    DefaultCurveParams(params, 3);
    params[2].Legend = "Long";
    engine.PlotLegend(canvas, 3, params, true, true);
    const auto rectangles = canvas.CallsOf(CanvasOp::Rectangle);
    ASSERT_FALSE(rectangles.empty());
    // u = 20, widest text 24, three rows of 13.
    EXPECT_EQ(rectangles[0].points[0], (CanvasPoint{770, 75}));
    EXPECT_EQ(rectangles[0].points[1], (CanvasPoint{750 + 120 + 24, 75 + 4 * 13}));
    EXPECT_EQ(rectangles[0].pen, Pen{});
    const auto texts = canvas.CallsOf(CanvasOp::Text);
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[1].text, "Long");
    EXPECT_EQ(texts[1].points[0], (CanvasPoint{850, 75 + 26 - 6}));
    EXPECT_EQ(texts[1].brush.style, FillStyle::Clear);
    EXPECT_EQ(canvas.GetBrush(), Brush{});
}

TEST_F(PlotEngineTest, LegendRowsCarrySymbolAndShortLine)
{
    Place();
    canvas.Forget();
    TCurvParamVector params;
    DefaultCurveParams(params, 1);
    engine.PlotLegend(canvas, 1, params, true, true);
    const auto ellipses = canvas.CallsOf(CanvasOp::Ellipse);
    ASSERT_EQ(ellipses.size(), 1u);
    EXPECT_EQ(ellipses[0].points[0], (CanvasPoint{810 - 4, 88 - 4}));
    const auto lines = canvas.CallsOf(CanvasOp::Line);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].points[0], (CanvasPoint{790, 88}));
    EXPECT_EQ(lines[0].points[1], (CanvasPoint{830, 88}));
    EXPECT_EQ(lines[0].pen.color, CurvePalette[0]);
}

TEST_F(PlotEngineTest, LegendWithoutTextsDrawsNothing)
{
    Place();
    canvas.Forget();
    TCurvParamVector params;
    DefaultCurveParams(params, 2);
    params[1].Legend.clear();
    params[2].Legend.clear();
    engine.PlotLegend(canvas, 2, params, true, true);
    EXPECT_TRUE(canvas.Calls().empty());
}

} // namespace
} // namespace movra

namespace movra {
namespace {

TEST(RecordingCanvas, MeasuresTextByCharactersAndFontHeight)
{
    RecordingCanvas canvas(100, 100);
    canvas.SetFont({"Arial", 22, true, kBlack});
    EXPECT_EQ(canvas.TextWidth("RFU"), 33);
    EXPECT_EQ(canvas.TextHeight("RFU"), 22);
}

TEST(RecordingCanvas, RecordsLinesFromTheCurrentPosition)
{
    RecordingCanvas canvas(100, 100);
    canvas.MoveTo(1, 2);
    canvas.LineTo(3, 4);
    canvas.LineTo(5, 6);
    const auto lines = canvas.CallsOf(CanvasOp::Line);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[1].points[0], (CanvasPoint{3, 4}));
    EXPECT_EQ(lines[1].points[1], (CanvasPoint{5, 6}));
}

} // namespace
} // namespace movra
