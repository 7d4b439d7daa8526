#include "app/plot/graph_redraw.h"

#include <gtest/gtest.h>

namespace movra {
namespace {

constexpr int kReads = 20;
const QRgb kRedPixel = qRgb(255, 0, 0);
const QRgb kGreenPixel = qRgb(0, 128, 0);

// A kinetic plate of 20 reads at 0..19 h with A1 (red, 2x + 1 -/+ 0.3,
// fitted to m1 * x + m2 = 2x + 1) and A2 (green, 30 - x, not fitted) on
// show, drawn into a 600 x 400 data box and a 600 x 150 residual box.
class GraphRedrawTest : public ::testing::Test {
protected:
    GraphRedrawTest()
    {
        curves.Reset();
        fits.Reset();
        plate.PlateData.assign(2 + 96, TVector(kReads, 0.0));
        plate.TimePointCount = kReads;
        plate.PlateColumns = 12;
        plate.LastXValue = kReads - 1;
        AllocVector(plate.TimeVector, kReads);
        AllocMatrix(curves.ReducedData, kMaxShownCurves, kReads);
        for (int t = 1; t <= kReads; ++t) {
            plate.TimeVector[t] = t - 1;
            curves.ReducedData[1][t] = 2 * (t - 1) + 1 + (t % 2 == 0 ? 0.3 : -0.3);
            curves.ReducedData[2][t] = 30 - (t - 1);
        }
        curves.ShownWells[1] = 0;
        curves.ShownWells[2] = 1;
        curves.CurveColors[1] = 0x0000FF;
        curves.CurveColors[2] = 0x008000;
        fits.WellFitResults[0][0] = 0.5;  // fitted: m1 = 2, m2 = 1
        fits.WellFitResults[0][1] = 2;
        fits.WellFitResults[0][2] = 1;
        model.SetParameters = [this](const ModelParameters& m) { parameters = m; };
        model.Evaluate = [this](double x) { return parameters[1] * x + parameters[2]; };
        graphBox.resize(600, 400);
        residualBox.resize(600, 150);
    }

    GraphRefreshResult Redraw()
    {
        return RedrawGraph({plate, curves, fits}, view, options, model, engine, graphBox, &residualBox);
    }

    // Whether a pixel of the colour lies within radius pixels of (x, y) on the engine's last plot.
    bool Near(const QImage& image, double x, double y, QRgb colour, int radius = 2) const
    {
        for (int dy = -radius; dy <= radius; ++dy)
            for (int dx = -radius; dx <= radius; ++dx) {
                const QPoint p(engine.XPixel(x) + dx, engine.YPixel(y) + dy);
                if (image.valid(p) && image.pixel(p) == colour) return true;
            }
        return false;
    }
    static QImage Filled(int size, Qt::GlobalColor colour)
    {
        QImage image(size, size, QImage::Format_RGB32);
        image.fill(colour);
        return image;
    }

    PlateMeasurements plate;
    ShownCurves curves;
    FitResults fits;
    GraphViewState view;
    GraphViewOptions options;
    GraphModel model;
    ModelParameters parameters{};
    PlotEngine engine;
    GraphPaintBox graphBox;
    GraphPaintBox residualBox;
};

TEST_F(GraphRedrawTest, DataSymbolsFittedCurveAndResidualsAppearInTheCurvesColours)
{
    ASSERT_TRUE(Redraw().Drawn);
    const QImage picture = graphBox.Image();
    ASSERT_EQ(picture.size(), QSize(600, 400));
    for (int t = 1; t <= kReads; ++t) {
        const double x = t - 1;
        EXPECT_TRUE(Near(picture, x, curves.ReducedData[1][t], kRedPixel)) << "red read " << t;
        EXPECT_TRUE(Near(picture, x, curves.ReducedData[2][t], kGreenPixel)) << "green read " << t;
    }
    // Between the reads: the fitted red line, nothing green (A2 is not fitted).
    for (double x : {4.5, 9.5, 14.5}) EXPECT_TRUE(Near(picture, x, 2 * x + 1, kRedPixel, 1)) << x;
    EXPECT_FALSE(Near(picture, 9.5, 30 - 9.5, kGreenPixel, 1));

    // The engine then holds the residual panel's axes: model minus data is
    // -0.3 on even reads and +0.3 on odd ones; the unfitted well's are 0.
    options.ShowResiduals = true;
    ASSERT_TRUE(Redraw().ResidualsDrawn);
    const QImage& residuals = residualBox.Image();
    ASSERT_EQ(residuals.size(), QSize(600, 150));
    EXPECT_TRUE(Near(residuals, 2, 0.3, kRedPixel));
    EXPECT_TRUE(Near(residuals, 3, -0.3, kRedPixel));
    EXPECT_TRUE(Near(residuals, 9, 0, kGreenPixel));
}

// On a screen of device pixel ratio 2 the picture has twice the pixels each
// way and the rotated "RFU" title (alone in the 20-pixel strip at the left)
// covers twice the device pixels each way, drawn sharp rather than scaled.
TEST_F(GraphRedrawTest, ARedrawAtDevicePixelRatio2ScalesText)
{
    const auto titleBox = [this](qreal ratio) {
        graphBox.SetPictureRatio(ratio);
        Redraw();
        const QImage& picture = graphBox.Image();
        EXPECT_EQ(picture.size(), QSize(600, 400) * ratio);
        QRect box;
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < 20 * ratio; ++x)
                if (qGray(picture.pixel(x, y)) < 100) box |= QRect(x, y, 1, 1);
        return box;
    };
    const QRect single = titleBox(1);
    const QRect twice = titleBox(2);
    ASSERT_GT(single.height(), 10);
    EXPECT_NEAR(twice.height(), 2 * single.height(), 3);
    EXPECT_NEAR(twice.width(), 2 * single.width(), 3);
    EXPECT_EQ(graphBox.Image().deviceIndependentSize(), QSizeF(600, 400));
}

TEST_F(GraphRedrawTest, BoxesKeepTheirPicturesWhenNothingIsDrawnForThem)
{
    const QImage marker = Filled(10, Qt::magenta);
    graphBox.SetImage(marker);
    residualBox.SetImage(marker);
    Redraw();  // residuals off
    EXPECT_EQ(residualBox.Image(), marker);
    EXPECT_EQ(graphBox.Image().size(), QSize(600, 400));
    plate.LastXValue = 0;  // no data
    options.ShowResiduals = true;
    graphBox.SetImage(marker);
    EXPECT_FALSE(Redraw().Drawn);
    EXPECT_EQ(graphBox.Image(), marker);
    EXPECT_EQ(residualBox.Image(), marker);
}

TEST_F(GraphRedrawTest, PaintHandlerRedrawsBeforeThePictureIsShownOverWhite)
{
    int redraws = 0;
    graphBox.SetPaintHandler([&] {
        ++redraws;
        Redraw();
    });
    const QImage shown = graphBox.grab().toImage();
    EXPECT_EQ(redraws, 1);
    EXPECT_EQ(shown, graphBox.Image().convertToFormat(shown.format()));

    graphBox.SetPaintHandler({});
    graphBox.SetImage(Filled(10, Qt::red));  // where the picture does not reach: white
    const QImage small = graphBox.grab().toImage();
    EXPECT_EQ(std::pair(small.pixel(5, 5), small.pixel(30, 20)), std::pair(kRedPixel, qRgb(255, 255, 255)));
}

} // namespace
} // namespace movra
