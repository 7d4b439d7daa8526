#include "app/plot/graph_redraw.h"

#include <gtest/gtest.h>

#include <cmath>

namespace movra {
namespace {

constexpr int kReads = 20;
const QRgb kRedPixel = qRgb(255, 0, 0);
const QRgb kGreenPixel = qRgb(0, 128, 0);

// A kinetic 96-well plate of 20 reads at 0..19 h with A1 (red, fitted to
// m1 * x + m2) and A2 (green, not fitted) on show, drawn into a 600 x 400
// data box and a 600 x 150 residual box.
class GraphRedrawTest : public ::testing::Test {
protected:
    GraphRedrawTest()
    {
        state.ResetWorkingState();
        PlateMeasurements& plate = state.plate;
        plate.PlateData.assign(2 + 96, TVector(kReads, 0.0));
        plate.TimePointCount = kReads;
        plate.ReadMode = "Kinetic";
        plate.PlateRows = 8;
        plate.PlateColumns = 12;
        plate.WellCount = 96;
        plate.LastXValue = kReads - 1;
        AllocVector(plate.TimeVector, kReads);
        AllocVector(plate.PlotYBuffer, kReads);
        AllocMatrix(plate.ReducedData, kMaxShownCurves, kReads);
        for (int t = 1; t <= kReads; ++t) {
            const double x = t - 1;
            plate.TimeVector[t] = x;
            plate.ReducedData[1][t] = 2 * x + 1 + (t % 2 == 0 ? 0.3 : -0.3);
            plate.ReducedData[2][t] = 30 - x;
        }
        state.ShownWells[1] = 0;
        state.ShownWells[2] = 1;
        state.ShownWells[3] = -1;
        state.CurveColors[1] = 0x0000FF;
        state.CurveColors[2] = 0x008000;
        state.WellFitResults[0][0] = 0.5;
        state.WellFitResults[0][1] = 2;
        state.WellFitResults[0][2] = 1;
        options.StartValues[1] = 1;
        options.StartValues[2] = 5;
        model.SetParameters = [this](const ModelParameters& m) { parameterSlots = m; };
        model.Evaluate = [this](double x) { return parameterSlots[1] * x + parameterSlots[2]; };
        graphBox.resize(600, 400);
        residualBox.resize(600, 150);
    }

    GraphRefreshResult Redraw() { return RedrawGraph(state, options, model, engine, graphBox, &residualBox); }

    // Whether a pixel of the colour lies within radius pixels of (x, y).
    static bool ColourNear(const QImage& image, int x, int y, QRgb colour, int radius = 2)
    {
        for (int dy = -radius; dy <= radius; ++dy) {
            for (int dx = -radius; dx <= radius; ++dx) {
                if (image.valid(x + dx, y + dy) && image.pixel(x + dx, y + dy) == colour) {
                    return true;
                }
            }
        }
        return false;
    }

    static int Count(const QImage& image, QRgb colour)
    {
        int n = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                n += image.pixel(x, y) == colour ? 1 : 0;
            }
        }
        return n;
    }

    static QImage Marker()
    {
        QImage marker(10, 10, QImage::Format_RGB32);
        marker.fill(Qt::magenta);
        return marker;
    }

    PlateState state;
    GraphViewOptions options;
    GraphModel model;
    ModelParameters parameterSlots{};
    PlotEngine engine;
    GraphPaintBox graphBox;
    GraphPaintBox residualBox;
};

TEST_F(GraphRedrawTest, DataSymbolsAppearInTheirCurvesColours)
{
    const GraphRefreshResult result = Redraw();
    ASSERT_TRUE(result.Drawn);
    EXPECT_EQ(result.ShownCurves, 2);
    const QImage& picture = graphBox.Image();
    ASSERT_EQ(picture.size(), QSize(600, 400));
    for (int t = 1; t <= kReads; ++t) {
        const double x = state.plate.TimeVector[t];
        EXPECT_TRUE(ColourNear(picture, engine.XPixel(x), engine.YPixel(state.plate.ReducedData[1][t]), kRedPixel))
            << "red read " << t;
        EXPECT_TRUE(ColourNear(picture, engine.XPixel(x), engine.YPixel(state.plate.ReducedData[2][t]), kGreenPixel))
            << "green read " << t;
    }
}

TEST_F(GraphRedrawTest, FittedCurveIsDrawnBetweenTheReads)
{
    Redraw();
    const QImage& picture = graphBox.Image();
    for (double x : {4.5, 9.5, 14.5}) {
        EXPECT_TRUE(ColourNear(picture, engine.XPixel(x), engine.YPixel(2 * x + 1), kRedPixel, 1)) << x;
    }
    // The unfitted green well has symbols only: nothing green between reads.
    EXPECT_FALSE(ColourNear(picture, engine.XPixel(9.5), engine.YPixel(30 - 9.5), kGreenPixel, 1));
}

TEST_F(GraphRedrawTest, StartValueCurveIsDottedBlack)
{
    Redraw();
    const QImage& picture = graphBox.Image();
    int black = 0;
    for (double x = 2.05; x < 17; x += 0.1) {
        black += ColourNear(picture, engine.XPixel(x), engine.YPixel(x + 5), qRgb(0, 0, 0), 0) ? 1 : 0;
    }
    EXPECT_GT(black, 20);
    EXPECT_LT(black, 140);  // gaps of the dots
}

TEST_F(GraphRedrawTest, ResidualPanelIsDrawnWhenResidualsAreOn)
{
    options.ShowResiduals = true;
    const GraphRefreshResult result = Redraw();
    ASSERT_TRUE(result.ResidualsDrawn);
    const QImage& residuals = residualBox.Image();
    ASSERT_EQ(residuals.size(), QSize(600, 150));
    // The engine now holds the residual panel's axes: model minus data is
    // -0.3 on even reads and +0.3 on odd ones.
    EXPECT_TRUE(ColourNear(residuals, engine.XPixel(state.plate.TimeVector[3]), engine.YPixel(0.3), kRedPixel));
    EXPECT_TRUE(ColourNear(residuals, engine.XPixel(state.plate.TimeVector[4]), engine.YPixel(-0.3), kRedPixel));
    // The unfitted well keeps residuals of 0.
    EXPECT_TRUE(ColourNear(residuals, engine.XPixel(state.plate.TimeVector[10]), engine.YPixel(0), kGreenPixel));
}

TEST_F(GraphRedrawTest, ResidualBoxKeepsItsPictureWhenResidualsAreOff)
{
    residualBox.SetImage(Marker());
    Redraw();
    EXPECT_EQ(residualBox.Image(), Marker());
    EXPECT_GT(Count(graphBox.Image(), kRedPixel), 0);
}

TEST_F(GraphRedrawTest, ResidualBoxKeepsItsPictureWhenTheFirstWellIsNotFitted)
{
    options.ShowResiduals = true;
    state.WellFitResults[0][0] = -1;
    residualBox.SetImage(Marker());
    const GraphRefreshResult result = Redraw();
    EXPECT_TRUE(result.Drawn);
    EXPECT_FALSE(result.ResidualsDrawn);
    EXPECT_EQ(residualBox.Image(), Marker());
}

TEST_F(GraphRedrawTest, BoxesKeepTheirPicturesWithoutData)
{
    state.plate.LastXValue = 0;
    options.ShowResiduals = true;
    graphBox.SetImage(Marker());
    residualBox.SetImage(Marker());
    EXPECT_FALSE(Redraw().Drawn);
    EXPECT_EQ(graphBox.Image(), Marker());
    EXPECT_EQ(residualBox.Image(), Marker());
}

TEST_F(GraphRedrawTest, PaintHandlerRedrawsBeforeThePictureIsShown)
{
    int redraws = 0;
    graphBox.SetPaintHandler([&] {
        ++redraws;
        Redraw();
    });
    const QImage shown = graphBox.grab().toImage();
    EXPECT_EQ(redraws, 1);
    ASSERT_EQ(shown.size(), QSize(600, 400));
    EXPECT_GT(Count(shown, kRedPixel), 0);
    EXPECT_EQ(shown.pixel(300, 200), graphBox.Image().pixel(300, 200));
}

TEST(GraphPaintBox, ShowsWhiteWhereThePictureDoesNotReach)
{
    GraphPaintBox box;
    box.resize(40, 30);
    QImage small(10, 10, QImage::Format_RGB32);
    small.fill(Qt::red);
    box.SetImage(small);
    const QImage shown = box.grab().toImage();
    EXPECT_EQ(shown.pixel(5, 5), qRgb(255, 0, 0));
    EXPECT_EQ(shown.pixel(30, 20), qRgb(255, 255, 255));
}

} // namespace
} // namespace movra
