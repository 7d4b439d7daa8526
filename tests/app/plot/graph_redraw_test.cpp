#include "app/plot/graph_redraw.h"
#include "plot/five_read_plate.h"

#include <gtest/gtest.h>

namespace movra {
namespace {

// The graph drawn into the paint boxes (what it draws is checked on a
// recording surface in tests/plot): the five-read plate with A1 fitted, a
// 600 x 400 data box and a 600 x 150 residual box.
class GraphRedrawTest : public ::testing::Test, protected test::FiveReadPlate {
protected:
    GraphRedrawTest()
    {
        Fit(0);
        graphBox.resize(600, 400);
        residualBox.resize(600, 150);
    }
    GraphRefreshResult Redraw() { return RedrawGraph(Data(), view, options, model, engine, graphBox, &residualBox); }

    GraphPaintBox graphBox;
    GraphPaintBox residualBox;
};

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

// The paint handler redraws before the picture is shown, over white where
// the picture does not reach. Each box gets a picture of its size when its
// panel is drawn, and keeps the one it has otherwise (residuals off, or no
// data).
TEST_F(GraphRedrawTest, PaintHandlerRedrawsAndBoxesGetPicturesOfTheirSizeOnlyWhenTheirPanelIsDrawn)
{
    int redraws = 0;
    graphBox.SetPaintHandler([&] {
        ++redraws;
        Redraw();
    });
    const QImage shown = graphBox.grab().toImage();
    EXPECT_EQ(std::tuple(redraws, shown), std::tuple(1, graphBox.Image().convertToFormat(shown.format())));

    graphBox.SetPaintHandler({});
    QImage marker(10, 10, QImage::Format_RGB32);
    marker.fill(Qt::magenta);
    graphBox.SetImage(marker);  // where the picture does not reach: white
    const QImage small = graphBox.grab().toImage();
    EXPECT_EQ(std::pair(small.pixel(5, 5), small.pixel(30, 20)), std::pair(qRgb(255, 0, 255), qRgb(255, 255, 255)));

    graphBox.SetImage(marker);
    residualBox.SetImage(marker);
    EXPECT_TRUE(Redraw().Drawn);
    EXPECT_EQ(std::pair(graphBox.Image().size(), residualBox.Image()), std::pair(QSize(600, 400), marker));
    options.ShowResiduals = true;
    EXPECT_TRUE(Redraw().ResidualsDrawn);
    EXPECT_EQ(residualBox.Image().size(), QSize(600, 150));

    plate.LastXValue = 0;  // no data
    graphBox.SetImage(marker);
    residualBox.SetImage(marker);
    EXPECT_FALSE(Redraw().Drawn);
    EXPECT_EQ(std::pair(graphBox.Image(), residualBox.Image()), std::pair(marker, marker));
}

} // namespace
} // namespace movra
