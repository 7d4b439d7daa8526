#include "plot/graph_view.h"
#include "plot/recording_canvas.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include <algorithm>
#include <stdexcept>

namespace movra {
namespace {

TEST(GraphRanges, DataRangeRoundsToHalvesUnitsOrTens)
{
    EXPECT_EQ(DataAxisRange(0.02, 0.38), (AxisRange{0, 0.5}));
    EXPECT_EQ(DataAxisRange(12, 57), (AxisRange{11, 58}));
    EXPECT_EQ(DataAxisRange(124, 983), (AxisRange{120, 980}));
}

TEST(GraphRanges, EmptyDataRangeIsWidenedByOne)
{
    // 3..4; the half-unit rule meets ties there, which go to the even side.
    EXPECT_EQ(DataAxisRange(3, 3), (AxisRange{3, 4}));
}

TEST(GraphRanges, ResidualRangeRoundsToTenthsHalvesOrUnits)
{
    EXPECT_EQ(ResidualAxisRange(-0.23, 0.41), (AxisRange{-0.3, 0.5}));
    EXPECT_EQ(ResidualAxisRange(-2.2, 3.1), (AxisRange{-2.5, 3.5}));
    EXPECT_EQ(ResidualAxisRange(-12.3, 20.6), (AxisRange{-13, 22}));
}

TEST(GraphRanges, ResidualRangeIsNeverEmpty)
{
    EXPECT_EQ(ResidualAxisRange(0, 0), (AxisRange{0, 1}));
}

TEST(GraphRanges, ViewRangeTakesPercentagesOfTheReads)
{
    EXPECT_EQ(ViewRange(10, 1, 100), std::make_pair(1, 10));
    EXPECT_EQ(ViewRange(200, 50.5, 75), std::make_pair(100, 150));
    EXPECT_EQ(ViewRange(10, 50, 55), std::make_pair(5, 5));
}

TEST(PlotModelValue, FaultsAndNoNumbersBecome1E20AndResultsAreClamped)
{
    EXPECT_EQ(PlotModelValue([](double x) { return 2 * x; }, 3), 6.0);
    EXPECT_EQ(PlotModelValue([](double) -> double { throw std::runtime_error("x"); }, 3), 1E20);
    EXPECT_EQ(PlotModelValue([](double) { return std::nan(""); }, 3), 1E20);
    EXPECT_EQ(PlotModelValue([](double) { return 1E300; }, 3), 1E20);
    EXPECT_EQ(PlotModelValue([](double) { return -1E300; }, 3), -1E20);
    EXPECT_EQ(PlotModelValue({}, 3), 1E20);
}

// A kinetic plate of five reads at 0..4 h, well A1 shown as curve 1, and the
// model m1 * x + m2.
class GraphViewTest : public ::testing::Test {
protected:
    GraphViewTest()
    {
        state.ResetWorkingState();
        PlateMeasurements& plate = state.plate;
        plate.PlateData.assign(3, TVector(5, 0.0));
        plate.TimePointCount = 5;
        plate.ReadMode = "Kinetic";
        plate.PlateRows = 8;
        plate.PlateColumns = 12;
        plate.WellCount = 96;
        plate.LastXValue = 4;
        AllocVector(plate.TimeVector, 5);
        AllocVector(plate.PlotYBuffer, 5);
        AllocMatrix(plate.ReducedData, 8, 5);
        const double data[] = {1.0, 2.2, 2.9, 4.1, 5.0};
        for (int t = 1; t <= 5; ++t) {
            plate.TimeVector[t] = t - 1;
            plate.ReducedData[1][t] = data[t - 1];
            plate.ReducedData[2][t] = data[t - 1] + 1;
        }
        state.ShownWells[1] = 0;
        options.StartValues[1] = 0.5;
        options.StartValues[2] = 1;
        model.SetParameters = [this](const ModelParameters& m) { slots = m; };
        model.Evaluate = [this](double x) { return slots[1] * x + slots[2]; };
    }

    void Fit(int well, double m1, double m2)
    {
        state.WellFitResults[well][0] = 0.1;
        state.WellFitResults[well][1] = m1;
        state.WellFitResults[well][2] = m2;
    }

    GraphRefreshResult Refresh() { return RefreshGraph(state, options, model, engine, graph, &residuals); }

    static std::vector<CanvasCall> Lines(const RecordingCanvas& canvas, Pen pen)
    {
        std::vector<CanvasCall> found;
        for (const auto& call : canvas.CallsOf(CanvasOp::Line)) {
            if (call.pen == pen) {
                found.push_back(call);
            }
        }
        return found;
    }

    static bool HasText(const RecordingCanvas& canvas, const std::string& text)
    {
        const auto texts = canvas.Texts();
        return std::find(texts.begin(), texts.end(), text) != texts.end();
    }

    PlateState state;
    GraphViewOptions options;
    GraphModel model;
    ModelParameters slots{};
    PlotEngine engine;
    RecordingCanvas graph{1200, 800};
    RecordingCanvas residuals{1200, 150};
};

TEST_F(GraphViewTest, NothingIsDrawnWithoutImportedData)
{
    state.plate.LastXValue = 0;
    const GraphRefreshResult result = Refresh();
    EXPECT_FALSE(result.Drawn);
    EXPECT_TRUE(graph.Calls().empty());
    EXPECT_TRUE(residuals.Calls().empty());
}

TEST_F(GraphViewTest, RedrawWritesViewRangeAndDataRange)
{
    Refresh();
    EXPECT_EQ(state.ViewFirstPoint, 1);
    EXPECT_EQ(state.ViewLastPoint, 5);
    EXPECT_EQ(state.GraphYMin, 1.0);
    EXPECT_EQ(state.GraphYMax, 5.0);
    EXPECT_EQ(engine.XAxis.Min, 0.0);
    EXPECT_EQ(engine.XAxis.Max, 4.0);
    EXPECT_EQ(engine.YAxis.Min, 1.0);
    EXPECT_EQ(engine.YAxis.Max, 5.0);
    EXPECT_EQ(engine.XAxis.Title, "Time (h)");
    EXPECT_TRUE(engine.YAxis.Title.empty());
}

TEST_F(GraphViewTest, SurfaceStartsWhiteWithTheGraphFont)
{
    Refresh();
    ASSERT_FALSE(graph.Calls().empty());
    EXPECT_EQ(graph.Calls()[0].op, CanvasOp::Clear);
    EXPECT_EQ(graph.Calls()[0].colour, kWhite);
    EXPECT_EQ(graph.CallsOf(CanvasOp::Text)[0].font, (FontSpec{"Arial", 22, false, kBlack}));
}

TEST_F(GraphViewTest, SingleReadInViewGivesAnXAxisOfOneUnit)
{
    options.ZoomStart = 50;
    options.ZoomFinish = 60;  // 5 reads: read 3 only
    Refresh();
    EXPECT_EQ(state.ViewFirstPoint, 3);
    EXPECT_EQ(state.ViewLastPoint, 3);
    EXPECT_EQ(engine.XAxis.Min, 2.0);
    EXPECT_EQ(engine.XAxis.Max, 3.0);
}

TEST_F(GraphViewTest, SpectrumReadsAreTitledWithTheWavelength)
{
    state.plate.ReadMode = "Spectrum";
    Refresh();
    EXPECT_TRUE(HasText(graph, "Wavelength (nm)"));
}

TEST_F(GraphViewTest, LegendNarrowsThePlotAndShowsTheWellName)
{
    Refresh();
    EXPECT_EQ(engine.X2(), 1020);
    EXPECT_TRUE(HasText(graph, "A1"));
    options.ShowLegend = false;
    graph.Forget();
    Refresh();
    EXPECT_EQ(engine.X2(), 1188);
    // The legend is still drawn, right of the plot and so off the surface.
    for (const auto& call : graph.CallsOf(CanvasOp::Text)) {
        if (call.text == "A1") {
            EXPECT_GE(call.points[0].x, 1200);
        }
    }
}

TEST_F(GraphViewTest, DataAreDrawnAsSymbolsOfTheCurveColour)
{
    Refresh();
    const auto circles = graph.CallsOf(CanvasOp::Ellipse);
    ASSERT_EQ(circles.size(), 6u);  // five reads and the legend row
    for (const auto& circle : circles) {
        EXPECT_EQ(circle.brush, (Brush{0x0000FF, FillStyle::Solid}));
    }
    EXPECT_EQ(circles[0].points[0], (CanvasPoint{engine.XPixel(0) - 4, engine.YPixel(1) - 4}));
}

TEST_F(GraphViewTest, StartValueCurveIsDottedAndBlack)
{
    Refresh();
    // 0.5 x + 1 from 1 to 3 stays inside the 1..5 range: all 100 segments.
    EXPECT_EQ(Lines(graph, {kBlack, LineStyle::Dot, 1}).size(), 100u + 14u);  // the curve and the grid
    EXPECT_EQ(slots[1], 0.5);
}

TEST_F(GraphViewTest, FittedCurveIsDrawnSolidInTheCurveColour)
{
    Fit(0, 1.0, 1.0);
    Refresh();
    EXPECT_EQ(Lines(graph, {0x0000FF, LineStyle::Solid, 1}).size(), 100u + 1u);  // curve and legend line
    EXPECT_EQ(state.ParamBuffer[1], 1.0);
    EXPECT_EQ(state.ParamBuffer[2], 1.0);
    EXPECT_EQ(slots[1], 1.0);  // the parser keeps the last fitted values
}

TEST_F(GraphViewTest, UnfittedCurveHasNoModelLine)
{
    Refresh();
    EXPECT_EQ(Lines(graph, {0x0000FF, LineStyle::Solid, 1}).size(), 1u);  // legend line only
}

TEST_F(GraphViewTest, VerticalRfuLabelIsRotatedAndCentredBesideThePlot)
{
    Refresh();
    const auto texts = graph.CallsOf(CanvasOp::Text);
    ASSERT_FALSE(texts.empty());
    const CanvasCall& rfu = texts.back();
    EXPECT_EQ(rfu.text, "RFU");
    EXPECT_TRUE(rfu.font.rotated90);
    EXPECT_EQ(rfu.points[0], (CanvasPoint{1, (800 * 88 / 100 + 3 * 11) / 2}));
}

TEST_F(GraphViewTest, ResidualPanelShowsModelMinusDataJoinedByLines)
{
    Fit(0, 1.0, 1.0);
    options.ShowResiduals = true;
    const GraphRefreshResult result = Refresh();
    EXPECT_TRUE(result.ResidualsDrawn);
    // Residuals 0, -0.2, 0.1, -0.1, 0 (each a hair beyond in binary):
    // tenths with half a tenth of margin, -0.3 to 0.2.
    EXPECT_DOUBLE_EQ(engine.YAxis.Min, -0.3);
    EXPECT_DOUBLE_EQ(engine.YAxis.Max, 0.2);
    EXPECT_EQ(engine.PlotBottomPct, 98);
    EXPECT_EQ(engine.Y2(), 147);
    EXPECT_TRUE(HasText(residuals, "Residuals"));
    EXPECT_FALSE(HasText(residuals, "Time (h)"));  // no x axis on this panel
    EXPECT_EQ(Lines(residuals, {0x0000FF, LineStyle::Solid, 1}).size(), 4u);
    EXPECT_NEAR(state.plate.PlotYBuffer[2], -0.2, 1e-12);
}

TEST_F(GraphViewTest, ResidualPanelIsLeftAloneWhenTheFirstWellIsNotFitted)
{
    options.ShowResiduals = true;
    const GraphRefreshResult result = Refresh();
    EXPECT_TRUE(result.Drawn);
    EXPECT_FALSE(result.ResidualsDrawn);
    EXPECT_TRUE(residuals.Calls().empty());
}

TEST_F(GraphViewTest, ResidualsAboveTheCeilingCountAsZeroForTheRange)
{
    Fit(0, 1.0, 1.0);
    model.Evaluate = [this](double x) -> double {
        if (x == 0) {
            throw std::runtime_error("fault");
        }
        return slots[1] * x + slots[2];
    };
    options.ShowResiduals = true;
    Refresh();
    // The first read's residual is 1E20 - 1: taken as 0, not as the top.
    EXPECT_DOUBLE_EQ(engine.YAxis.Min, -0.3);
    EXPECT_DOUBLE_EQ(engine.YAxis.Max, 0.2);
}

TEST_F(GraphViewTest, SecondShownCurveGetsItsOwnSymbolAndColour)
{
    state.ShownWells[2] = 13;
    Refresh();
    // Symbol 2, an open circle, with a clear brush.
    int blue = 0;
    for (const auto& e : graph.CallsOf(CanvasOp::Ellipse)) {
        if (e.pen.color == 0xFF0000 && e.brush.style == FillStyle::Clear) {
            ++blue;
        }
    }
    EXPECT_EQ(blue, 6);
    EXPECT_TRUE(HasText(graph, "B2"));
    EXPECT_EQ(state.GraphYMax, 6.0);
}

TEST_F(GraphViewTest, AverageDataDrawsOnlyTheFirstCurve)
{
    state.ShownWells[2] = 13;
    options.AverageData = true;
    const GraphRefreshResult result = Refresh();
    EXPECT_EQ(result.ShownCurves, 1);
    EXPECT_FALSE(HasText(graph, "B2"));
    EXPECT_EQ(state.GraphYMax, 5.0);
}

TEST_F(GraphViewTest, WithoutShownWellsAxesGridAndStartCurveAreStillDrawn)
{
    state.ShownWells[1] = -1;
    const GraphRefreshResult result = Refresh();
    EXPECT_TRUE(result.Drawn);
    EXPECT_EQ(result.ShownCurves, 0);
    // Range from the single value ReducedData[1][1] = 1, widened to 1..2.
    EXPECT_EQ(state.GraphYMin, 1.0);
    EXPECT_EQ(state.GraphYMax, 2.0);
    EXPECT_EQ(engine.YAxis.Min, 1.0);
    EXPECT_EQ(engine.YAxis.Max, 2.0);
    EXPECT_FALSE(Lines(graph, {kBlack, LineStyle::Dot, 1}).empty());
    EXPECT_TRUE(graph.CallsOf(CanvasOp::Ellipse).empty());
}

} // namespace
} // namespace movra
