// The two pictures of fit results, drawn on recording surfaces. The graph:
// its axis ranges and titles, the model's value, and the five-read plate
// redrawn (view, labels, legend, curves, start and fitted curves, residual
// panel). The plate map: a 384-well plate with three fitted wells, a failed
// one and one sample, its colours, marks, labels and the well under a point,
// and what hovering a well says.

#include "plot/five_read_plate.h"
#include "plot/plate_map.h"
#include "plot/recording_canvas.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace movra {
namespace {

// Worked by hand from the rules: data in half units up to a span of 10,
// units up to 100, tens beyond; residuals in tenths up to 1, halves up to 10,
// units beyond; an empty span widened by one. Ties round to the even side.
// Scaled residuals: symmetric, a tenth beyond the largest residual.
TEST(GraphRanges, AxisRangesRoundBySpanOrHugTheScaledResiduals)
{
    using Range = AxisRange (*)(double, double);
    const Range D = DataAxisRange, R = ResidualAxisRange, S = ScaledResidualAxisRange;
    // Empty: 3..3 becomes 3..4 with 5.5 -> 6 and 8.5 -> 8; 5..3 and 0.5..0.5
    // are widened too. Spans 10 and 100 of the data and 1 and 10 of the
    // residuals still belong to the finer band. Scaled residuals of a few
    // thousandths fill the panel; none to speak of keep the default.
    const std::tuple<Range, double, double, double, double> cases[] = {
        {D, 0.02, 0.38, 0, 0.5}, {D, 12, 57, 11, 58}, {D, 124, 983, 120, 980}, {D, 3, 3, 3, 4}, {D, 5, 3, 5, 6},
        {D, 0, 10, 0, 10}, {D, 0, 100, -1, 101}, {D, 145, 1005, 140, 1010}, {R, -0.23, 0.41, -0.3, 0.5},
        {R, -2.2, 3.1, -2.5, 3.5}, {R, -12.3, 20.6, -13, 22}, {R, 0.5, 0.5, 0.4, 1.6}, {R, 0.25, 1.25, 0.2, 1.3},
        {R, 0.25, 10.25, 0, 10.5}, {S, -0.003, 0.002, -0.0033, 0.0033}, {S, 0.001, 0.004, -0.0044, 0.0044},
        {S, -20, 5, -22, 22}, {S, 0, 0, 0, 1}, {S, -1E-12, 1E-12, -0.1, 0.1}};
    for (const auto& [range, low, high, min, max] : cases) {
        const AxisRange r = range(low, high);
        EXPECT_NEAR(r.Min, min, 1e-12) << (range == D ? "data " : range == R ? "residual " : "scaled ") << low;
        EXPECT_NEAR(r.Max, max, 1e-12) << (range == D ? "data " : range == R ? "residual " : "scaled ") << high;
    }
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

// Whether any text drawn on the surface reads text.
bool HasText(const RecordingCanvas& canvas, const std::string& text)
{
    return std::ranges::count(canvas.Texts(), text) > 0;
}

// The five-read plate with start values 0.5 and 1 (the line 0.5 x + 1)
// drawn on recording surfaces.
class GraphViewTest : public ::testing::Test, protected test::FiveReadPlate {
protected:
    GraphViewTest()
    {
        options.StartValues[1] = 0.5;
        options.StartValues[2] = 1;
    }
    GraphRefreshResult Refresh()
    {
        graph.Forget();
        residuals.Forget();
        return RefreshGraph(Data(), view, options, model, engine, graph, &residuals);
    }
    static std::size_t Count(const RecordingCanvas& canvas, CanvasOp op, auto match)
    {
        return static_cast<std::size_t>(std::ranges::count_if(canvas.CallsOf(op), match));
    }
    static std::size_t Lines(const RecordingCanvas& canvas, Pen pen)
    {
        return Count(canvas, CanvasOp::Line, [&](const CanvasCall& call) { return call.pen == pen; });
    }

    RecordingCanvas graph{1200, 800};
    RecordingCanvas residuals{1200, 150};
};

// y: what the reads are, from the read type (others count as fluorescence);
// x: time or wavelength, or a table's own caption.
TEST(GraphAxisTitles, FollowTheReadModeAndType)
{
    const std::tuple<const char*, std::string, std::string, std::string, std::string> cases[] = {
        {"Kinetic", "Absorbance", "", "Time (h)", "OD"}, {"Spectrum", "Luminescence", "", "Wavelength (nm)", "RLU"},
        {"Spectrum", "Time Resolved", "", "Wavelength (nm)", "RFU"}, {"Kinetic", "", "Time (min)", "Time (min)", "RFU"}};
    for (const auto& [mode, readType, xName, x, y] : cases) {
        PlateMeasurements plate;
        plate.ReadMode = mode;
        if (!readType.empty()) plate.ValueName = ValueNameOfReadType(readType);
        plate.XName = xName;
        EXPECT_EQ(GraphAxisTitles(plate), (AxisTitles{x, y})) << readType;
    }
}

TEST_F(GraphViewTest, RedrawSetsViewAndAxesAndWritesTheLabels)
{
    // The view's reads, the data's y range, then the axes.
    const auto ranges = [this] {
        return std::tuple(view.View.ViewFirstPoint, view.View.ViewLastPoint, view.GraphYMin, view.GraphYMax,
                          engine.XAxis.Min, engine.XAxis.Max, engine.YAxis.Min, engine.YAxis.Max);
    };
    Refresh();
    EXPECT_EQ(ranges(), std::tuple(1, 5, 1.0, 5.0, 0.0, 4.0, 1.0, 5.0));
    EXPECT_EQ(std::tuple(engine.XAxis.Title, engine.YAxis.Title), std::tuple("Time (h)", ""));
    EXPECT_EQ(std::tuple(graph.Calls().at(0).op, graph.Calls().at(0).colour), std::tuple(CanvasOp::Clear, kWhite));
    const auto texts = graph.CallsOf(CanvasOp::Text);
    EXPECT_EQ(texts.front().font, (FontSpec{"Arial", 22, false, kBlack}));
    // "RFU" reads upwards beside the plot, centred on its height.
    EXPECT_EQ(std::tuple(texts.back().text, texts.back().font.rotated90, texts.back().points[0]),
              std::tuple("RFU", true, CanvasPoint{1, (800 * 88 / 100 + 3 * 11) / 2}));

    plate.ReadMode = "Spectrum";  // the titles follow the plate
    options.ZoomStart = 50;
    options.ZoomFinish = 60;  // read 3 only: an x axis of one unit
    Refresh();
    EXPECT_TRUE(HasText(graph, "Wavelength (nm)"));
    EXPECT_EQ(ranges(), std::tuple(3, 3, 2.9, 2.9 + 1, 2.0, 3.0, 2.5, 4.0));  // one read: widened by one
}

TEST_F(GraphViewTest, LegendNarrowsThePlotAndShowsTheWellNameMarkedWhenItsFitFailed)
{
    Refresh();
    EXPECT_EQ(std::pair(engine.X2(), HasText(graph, "A1")), std::pair(1020, true));
    fits.WellFitQuality[0].Status = OptNonConv;  // the last fit of A1 failed
    Refresh();
    EXPECT_TRUE(HasText(graph, "A1 failed"));
    fits.WellFitQuality[0].Status = OptOk;
    options.ShowLegend = false;
    Refresh();
    EXPECT_EQ(engine.X2(), 1188);
    // The legend is still drawn, right of the plot and so off the surface.
    for (const auto& call : graph.CallsOf(CanvasOp::Text))
        EXPECT_TRUE(call.text != "A1" || call.points[0].x >= 1200) << call.points[0].x;
}

TEST_F(GraphViewTest, ShownCurvesAreDrawnInTheirSymbolsAndColoursUnlessAveraged)
{
    curves.ShownWells[2] = 13;
    Refresh();
    // Five reads and a legend row each: filled red circles, open blue ones.
    const auto circles = [this](Colour c, FillStyle f) {
        return Count(graph, CanvasOp::Ellipse, [&](auto& e) { return e.pen.color == c && e.brush == Brush{c, f}; });
    };
    EXPECT_EQ(std::tuple(circles(0x0000FF, FillStyle::Solid), circles(0xFF0000, FillStyle::Clear)), std::tuple(6u, 6u));
    EXPECT_EQ(graph.CallsOf(CanvasOp::Ellipse)[0].points[0], (CanvasPoint{engine.XPixel(0) - 4, engine.YPixel(1) - 4}));
    EXPECT_EQ(std::pair(HasText(graph, "B2"), view.GraphYMax), std::pair(true, 6.0));

    options.AverageData = true;
    EXPECT_EQ(Refresh().ShownCurves, 1);
    EXPECT_EQ(std::pair(HasText(graph, "B2"), view.GraphYMax), std::pair(false, 5.0));
}

// A fitted curve is dashed beyond the reads it was fitted over.
TEST_F(GraphViewTest, StartValueCurveIsDottedBlackAndFittedCurvesSolidInTheirColourOrDashed)
{
    Refresh();
    // 0.5 x + 1 stays inside the 1..5 range: all 100 segments, and the grid.
    // A solid line in the curve's colour is the legend's alone.
    EXPECT_EQ(std::tuple(Lines(graph, {kBlack, LineStyle::Dot, 1}), Lines(graph, {0x0000FF, LineStyle::Solid, 1}),
                         parameters[1]),
              std::tuple(100u + 14u, 1u, 0.5));
    Fit(0);
    Refresh();
    // The parser keeps the last fitted values.
    EXPECT_EQ(std::tuple(Lines(graph, {0x0000FF, LineStyle::Solid, 1}), view.ParamBuffer[2], parameters[1]),
              std::tuple(100u + 1u, 1.0, 1.0));

    fits.WellFitView[0] = {2, 3};  // x 1..2 of the 0..4 in view
    Refresh();
    EXPECT_EQ(std::pair(Lines(graph, {0x0000FF, LineStyle::Solid, 1}), Lines(graph, {0x0000FF, LineStyle::Dash, 1})),
              (std::pair<std::size_t, std::size_t>(100 + 1, 200)));
    options.ZoomStart = 30;
    options.ZoomFinish = 60;  // the fitted reads alone
    Refresh();
    EXPECT_EQ(Lines(graph, {0x0000FF, LineStyle::Dash, 1}), 0u);
}

TEST_F(GraphViewTest, ResidualPanelShowsModelMinusDataOnlyWhenTheFirstShownWellIsFitted)
{
    Fit(0);
    options.ShowResiduals = true;
    EXPECT_TRUE(Refresh().ResidualsDrawn);
    // Residuals 0, -0.2, 0.1, -0.1, 0 (each a hair beyond in binary): tenths
    // with half a tenth of margin.
    // The panel's plot reaches 98 percent down.
    EXPECT_EQ(std::tuple(engine.YAxis.Min, engine.YAxis.Max, engine.Y2()), std::tuple(-0.3, 0.2, 147));
    // A title but no x axis on this panel.
    EXPECT_EQ(std::pair(HasText(residuals, "Residuals"), HasText(residuals, "Time (h)")), std::pair(true, false));
    EXPECT_EQ(Lines(residuals, {0x0000FF, LineStyle::Solid, 1}), 4u);
    EXPECT_NEAR(view.PlotYBuffer[2], -0.2, 1e-12);

    // A failed model at read 1 gives a residual of 1E20 - 1: counted as 0.
    const auto evaluate = model.Evaluate;
    model.Evaluate = [evaluate](double x) { return x == 0 ? throw std::runtime_error("fault") : evaluate(x); };
    Refresh();
    EXPECT_DOUBLE_EQ(engine.YAxis.Max, 0.2);

    // With another well fitted but not the first shown, the panel keeps its picture.
    curves.ShownWells[2] = 13;
    Fit(13);
    fits.WellFitResults[0][0] = -1.0;
    const GraphRefreshResult result = Refresh();
    EXPECT_TRUE(result.Drawn && !result.ResidualsDrawn && residuals.Calls().empty());
}

TEST_F(GraphViewTest, WithoutShownWellsAxesGridAndStartCurveAreStillDrawn)
{
    curves.ShownWells[1] = -1;
    EXPECT_EQ(Refresh().ShownCurves, 0);
    // Range from the single value ReducedData[1][1] = 1, widened to 1..2.
    EXPECT_EQ(std::tuple(view.GraphYMin, view.GraphYMax, engine.YAxis.Min, engine.YAxis.Max),
              std::tuple(1.0, 2.0, 1.0, 2.0));
    EXPECT_GT(Lines(graph, {kBlack, LineStyle::Dot, 1}), 14u);
    EXPECT_TRUE(graph.CallsOf(CanvasOp::Ellipse).empty());
}

struct PlateMapTest : ::testing::Test {
    PlateMapTest()
    {
        layout.Reset();
        layout.SetGeometryForWellCount(384);
        layout.SetCell(1, 1, "Sample1");  // A1 and A2
        layout.SetCell(2, 1, "Sample1");
        fits.Reset();
        const double m1[] = {1.0, 3.0, 2.0};
        for (int well = 0; well < 3; ++well) {
            fits.WellFitResults[well][0] = 0.5;
            fits.WellFitResults[well][1] = m1[well];
            fits.WellFitResults[well][9] = 0.1;
            fits.WellFitQuality[well] = {OptOk, 0, 0.99, 0.0, ParameterBit(1)};
        }
        fits.WellFitQuality[383] = {OptSing, kFlagFailed};
    }
    std::vector<Colour> DiscColours() const
    {
        std::vector<Colour> colours;
        for (const CanvasCall& call : canvas.CallsOf(CanvasOp::Ellipse)) colours.push_back(call.brush.color);
        return colours;
    }
    PlateLayout layout;
    FitResults fits;
    RecordingCanvas canvas{1000, 700};
};

TEST_F(PlateMapTest, WellsTakeTheScaleEndsForTheLowestAndHighestValueAndGreyWithoutAndNameThemselvesOnHover)
{
    const PlateMapPicture picture = DrawPlateMap(canvas, {layout, fits}, {});
    ASSERT_EQ(picture.Range, (ScaleRange{1.0, 3.0}));
    EXPECT_EQ(picture.WellsWithValue, 3);
    const std::vector<Colour> discs = DiscColours();
    ASSERT_EQ(discs.size(), 384u);
    EXPECT_EQ(std::vector<Colour>(discs.begin(), discs.begin() + 3),
              (std::vector<Colour>{ScaleColour(0.0), ScaleColour(1.0), ScaleColour(0.5)}));
    EXPECT_EQ(std::count(discs.begin(), discs.end(), kNoResultColour), 381);
    EXPECT_EQ(std::tuple(ScaleColour(0.0), ScaleColour(1.0)), std::tuple(Colour{0x540144}, Colour{0x25E7FD}));
    // Only the failed well carries the mark; A1 and A2 share one outline.
    EXPECT_EQ(canvas.CallsOf(CanvasOp::Polygon).size(), 1u);
    for (const char* label : {"A", "P", "1", "24", "1", "3", "m1"}) EXPECT_TRUE(HasText(canvas, label)) << label;
    const PlateMapGeometry& g = picture.Geometry;
    EXPECT_EQ(g.WellAt(g.Left + 23 * g.Pitch + 1, g.Top + 15 * g.Pitch + 1), 383);
    EXPECT_EQ(g.WellAt(g.Left - 1, g.Top), -1);

    // A parameter the formula does not use has no value.
    EXPECT_FALSE(MapValue(fits, 0, {MapQuantityKind::Parameter, 2}).has_value());
    EXPECT_DOUBLE_EQ(*MapValue(fits, 1, {MapQuantityKind::RelativeStdDev, 1}), 0.1 / 3.0);

    // Hovering a well names its sample, status, flags and parameters.
    EXPECT_EQ(PlateMapWellText({layout, fits}, 1),
              "A2  Sample1\nStatus: OPT_OK\nR\u00b2 0.99\nChiSq 0.5\nm1 = 3 \u00b1 0.1");
    EXPECT_EQ(PlateMapWellText({layout, fits}, 383), "P24  no sample\nStatus: OPT_SING\nfailed: OPT_SING");
}

} // namespace
} // namespace movra
