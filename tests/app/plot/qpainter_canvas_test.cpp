#include "app/plot/qpainter_canvas.h"

#include <gtest/gtest.h>

namespace movra {
namespace {

constexpr Colour kRed = 0x0000FF;   // 0x00BBGGRR
constexpr Colour kBlue = 0xFF0000;
const QRgb kRedPixel = qRgb(255, 0, 0);
const QRgb kBluePixel = qRgb(0, 0, 255);
const QRgb kWhitePixel = qRgb(255, 255, 255);
const QRgb kBlackPixel = qRgb(0, 0, 0);

// A white 60 x 60 picture drawn on by one canvas per test.
class QPainterCanvasTest : public ::testing::Test {
protected:
    template <typename Draw>
    void Paint(Draw draw)
    {
        QPainterCanvas canvas(image);
        canvas.Clear(kWhite);
        draw(canvas);
    }

    QRgb At(int x, int y) const { return image.pixel(x, y); }

    int CountInRect(const QRect& rect, QRgb colour) const
    {
        int n = 0;
        for (int y = rect.top(); y <= rect.bottom(); ++y) {
            for (int x = rect.left(); x <= rect.right(); ++x) {
                n += At(x, y) == colour ? 1 : 0;
            }
        }
        return n;
    }

    QImage image{60, 60, QImage::Format_RGB32};
};

TEST(ColourConversion, BlueGreenRedBytesBecomeRgb)
{
    EXPECT_EQ(ToQColor(0x0000FF), QColor(255, 0, 0));
    EXPECT_EQ(ToQColor(0x008000), QColor(0, 128, 0));
    EXPECT_EQ(ToQColor(0xFF0000), QColor(0, 0, 255));
    EXPECT_EQ(ToQColor(0x696969), QColor(105, 105, 105));
}

TEST(FontConversion, CellFitsThePixelHeight)
{
    for (int height : {8, 13, 22, 40}) {
        const QFont font = ToQFont({"Arial", height, false, kBlack});
        EXPECT_LE(QFontMetrics(font).height(), height);
        EXPECT_GE(QFontMetrics(font).height(), height - 2) << height;
    }
}

TEST_F(QPainterCanvasTest, ClearFillsEverything)
{
    Paint([](PlotCanvas& c) { c.Clear(kBlue); });
    EXPECT_EQ(CountInRect(image.rect(), kBluePixel), 60 * 60);
}

TEST_F(QPainterCanvasTest, LineLeavesOutItsEndPixel)
{
    Paint([](PlotCanvas& c) {
        c.SetPen({kRed, LineStyle::Solid, 1});
        c.MoveTo(5, 10);
        c.LineTo(15, 10);
    });
    EXPECT_EQ(At(5, 10), kRedPixel);
    EXPECT_EQ(At(14, 10), kRedPixel);
    EXPECT_EQ(At(15, 10), kWhitePixel);
    EXPECT_EQ(At(10, 9), kWhitePixel);
    EXPECT_EQ(At(10, 11), kWhitePixel);
}

TEST_F(QPainterCanvasTest, DottedLineRunsThreeOnThreeOff)
{
    Paint([](PlotCanvas& c) {
        c.SetPen({kBlack, LineStyle::Dot, 1});
        c.MoveTo(0, 5);
        c.LineTo(60, 5);
    });
    for (int x = 0; x < 12; ++x) {
        EXPECT_EQ(At(x, 5), (x % 6) < 3 ? kBlackPixel : kWhitePixel) << x;
    }
}

TEST_F(QPainterCanvasTest, PenStyleNoneDrawsNoLine)
{
    Paint([](PlotCanvas& c) {
        c.SetPen({kRed, LineStyle::None, 1});
        c.MoveTo(5, 10);
        c.LineTo(50, 10);
    });
    EXPECT_EQ(CountInRect(image.rect(), kWhitePixel), 60 * 60);
}

TEST_F(QPainterCanvasTest, RectangleCoversBoxWithoutRightAndBottomEdges)
{
    Paint([](PlotCanvas& c) {
        c.SetPen({kRed, LineStyle::Solid, 1});
        c.SetBrush({kBlue, FillStyle::Solid});
        c.Rectangle(10, 20, 20, 26);
    });
    EXPECT_EQ(At(10, 20), kRedPixel);
    EXPECT_EQ(At(19, 25), kRedPixel);
    EXPECT_EQ(At(19, 20), kRedPixel);
    EXPECT_EQ(At(20, 22), kWhitePixel);
    EXPECT_EQ(At(15, 26), kWhitePixel);
    EXPECT_EQ(At(9, 22), kWhitePixel);
    EXPECT_EQ(CountInRect(QRect(11, 21, 8, 4), kBluePixel), 8 * 4);
}

TEST_F(QPainterCanvasTest, RectangleWithoutPenIsFilledOverTheWholeBox)
{
    Paint([](PlotCanvas& c) {
        c.SetPen({kRed, LineStyle::None, 1});
        c.SetBrush({kBlue, FillStyle::Solid});
        c.Rectangle(10, 20, 14, 23);
    });
    EXPECT_EQ(CountInRect(QRect(10, 20, 4, 3), kBluePixel), 12);
    EXPECT_EQ(CountInRect(image.rect(), kBluePixel), 12);
}

TEST_F(QPainterCanvasTest, ClearBrushLeavesTheInsideAlone)
{
    Paint([](PlotCanvas& c) {
        c.SetPen({kRed, LineStyle::Solid, 1});
        c.SetBrush({kBlue, FillStyle::Clear});
        c.Rectangle(10, 10, 30, 30);
    });
    EXPECT_EQ(At(10, 10), kRedPixel);
    EXPECT_EQ(CountInRect(QRect(11, 11, 18, 18), kWhitePixel), 18 * 18);
}

TEST_F(QPainterCanvasTest, CircleSymbolIsCentredInItsBox)
{
    // A filled circle of half-size 4 around (30, 30): box (26, 26)-(35, 35).
    Paint([](PlotCanvas& c) {
        c.SetPen({kRed, LineStyle::Solid, 1});
        c.SetBrush({kBlue, FillStyle::Solid});
        c.Ellipse(26, 26, 35, 35);
    });
    EXPECT_EQ(At(30, 30), kBluePixel);
    EXPECT_EQ(At(30, 26), kRedPixel);
    EXPECT_EQ(At(30, 34), kRedPixel);
    EXPECT_EQ(At(26, 30), kRedPixel);
    EXPECT_EQ(At(34, 30), kRedPixel);
    EXPECT_EQ(At(30, 35), kWhitePixel);
    EXPECT_EQ(At(35, 30), kWhitePixel);
    EXPECT_EQ(At(26, 26), kWhitePixel);  // corners lie outside the circle
}

TEST_F(QPainterCanvasTest, PolygonIsOutlinedAndFilled)
{
    Paint([](PlotCanvas& c) {
        c.SetPen({kRed, LineStyle::Solid, 1});
        c.SetBrush({kBlue, FillStyle::Solid});
        const CanvasPoint corners[] = {{10, 40}, {31, 40}, {20, 20}};
        c.Polygon(corners);
    });
    EXPECT_EQ(At(20, 35), kBluePixel);
    EXPECT_EQ(At(20, 40), kRedPixel);
    EXPECT_EQ(At(20, 19), kWhitePixel);
    EXPECT_EQ(At(20, 42), kWhitePixel);
}

TEST_F(QPainterCanvasTest, SetPixelColoursOnePixel)
{
    Paint([](PlotCanvas& c) { c.SetPixel(7, 8, kRed); });
    EXPECT_EQ(At(7, 8), kRedPixel);
    EXPECT_EQ(CountInRect(image.rect(), kRedPixel), 1);
}

TEST_F(QPainterCanvasTest, TextWithSolidBrushSitsInABoxOfItsMeasuredSize)
{
    int width = 0;
    int height = 0;
    Paint([&](PlotCanvas& c) {
        c.SetFont({"Arial", 14, false, kBlack});
        c.SetBrush({kBlue, FillStyle::Solid});
        width = c.TextWidth("MW");
        height = c.TextHeight("MW");
        c.TextOut(10, 20, "MW");
    });
    ASSERT_GT(width, 10);
    ASSERT_GT(height, 10);
    const QRect box(10, 20, width, height);
    const int blue = CountInRect(box, kBluePixel);
    const int black = CountInRect(box, kBlackPixel);
    EXPECT_GT(black, 10);
    EXPECT_EQ(blue + black, width * height);
    EXPECT_EQ(CountInRect(image.rect(), kBluePixel), blue);
    EXPECT_EQ(CountInRect(image.rect(), kBlackPixel), black);
}

TEST_F(QPainterCanvasTest, TextWithClearBrushHasNoBackground)
{
    Paint([](PlotCanvas& c) {
        c.SetFont({"Arial", 14, false, kRed});
        c.SetBrush({kBlue, FillStyle::Clear});
        c.TextOut(10, 20, "MW");
    });
    EXPECT_EQ(CountInRect(image.rect(), kBluePixel), 0);
    EXPECT_GT(CountInRect(image.rect(), kRedPixel), 10);
}

TEST_F(QPainterCanvasTest, RotatedTextReadsUpwardsFromItsPoint)
{
    int width = 0;
    int height = 0;
    Paint([&](PlotCanvas& c) {
        c.SetFont({"Arial", 14, true, kBlack});
        c.SetBrush({kBlue, FillStyle::Solid});
        width = c.TextWidth("RFU");
        height = c.TextHeight("RFU");
        c.TextOut(5, 50, "RFU");
    });
    // The cell lies at x 5 .. 5 + height and y 50 - width .. 50.
    const QRect box(5, 50 - width, height, width);
    const int ink = CountInRect(box, kBlackPixel);
    EXPECT_GT(ink, 10);
    EXPECT_EQ(CountInRect(box, kBluePixel) + ink, width * height);
    EXPECT_EQ(CountInRect(image.rect(), kBlackPixel), ink);
    EXPECT_GT(width, height);  // three letters run along y, not x
}

TEST_F(QPainterCanvasTest, FontMeasuresFollowTheFontChange)
{
    int small = 0;
    int large = 0;
    Paint([&](PlotCanvas& c) {
        c.SetFont({"Arial", 10, false, kBlack});
        small = c.TextWidth("Residuals");
        c.SetFont({"Arial", 30, false, kBlack});
        large = c.TextWidth("Residuals");
    });
    EXPECT_GT(large, 2 * small);
}

} // namespace
} // namespace movra
