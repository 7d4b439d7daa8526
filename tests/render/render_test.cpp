// The render library: the QPainter canvas covers the pixels the plot
// geometry assumes, and figures are written as PNG, SVG and PDF files, each
// in its own format at the size asked for, the vector formats keeping lines
// and text rather than a picture. The painting application is made as
// movra-batch makes it (offscreen, no display).
#include "render/figure_file.h"
#include "render/graph_figure.h"
#include "render/painting_application.h"
#include "render/qpainter_canvas.h"
#include "plot/five_read_plate.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>

namespace movra {
namespace {

constexpr Colour kRed = 0x0000FF;  // 0x00BBGGRR
constexpr Colour kBlue = 0xFF0000;
const QRgb R = qRgb(255, 0, 0), B = qRgb(0, 0, 255), W = qRgb(255, 255, 255), K = qRgb(0, 0, 0);

// A white 60 x 60 picture drawn on by one canvas.
QImage Paint(const std::function<void(PlotCanvas&)>& draw)
{
    QImage image(60, 60, QImage::Format_RGB32);
    QPainterCanvas canvas(image);
    canvas.Clear(kWhite);
    canvas.SetPen({kRed, LineStyle::Solid, 1});
    canvas.SetBrush({kBlue, FillStyle::Solid});
    draw(canvas);
    return image;
}

int Count(const QImage& image, QRgb colour, QRect rect = QRect(0, 0, 60, 60))
{
    int n = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x) n += image.pixel(x, y) == colour ? 1 : 0;
    return n;
}

// Figures cover x1..x2-1 and y1..y2-1 with the outline on their edges, as
// the plot geometry assumes; lines leave out their end pixel.
TEST(QPainterCanvas, FiguresAndLinesCoverTheirPixelsExactly)
{
    struct Case {
        const char* what;
        std::function<void(PlotCanvas&)> draw;
        std::vector<std::tuple<int, int, QRgb>> pixels;
    };
    const Case cases[] = {
        {"line", [](PlotCanvas& c) { c.MoveTo(5, 10); c.LineTo(15, 10); },
         {{5, 10, R}, {14, 10, R}, {15, 10, W}, {10, 9, W}, {10, 11, W}}},
        {"dotted line: three on, three off",
         [](PlotCanvas& c) { c.SetPenStyle(LineStyle::Dot); c.MoveTo(0, 5); c.LineTo(60, 5); },
         {{0, 5, R}, {2, 5, R}, {3, 5, W}, {5, 5, W}, {6, 5, R}, {9, 5, W}}},
        {"rectangle", [](PlotCanvas& c) { c.Rectangle(10, 20, 20, 26); },
         {{10, 20, R}, {19, 25, R}, {19, 20, R}, {20, 22, W}, {15, 26, W}, {9, 22, W}, {15, 22, B}}},
        {"clear brush", [](PlotCanvas& c) { c.SetBrushStyle(FillStyle::Clear); c.Rectangle(10, 10, 30, 30); },
         {{10, 10, R}, {20, 20, W}, {11, 11, W}}},
        {"circle", [](PlotCanvas& c) { c.Ellipse(26, 26, 35, 35); },
         {{30, 30, B}, {30, 26, R}, {30, 34, R}, {26, 30, R}, {34, 30, R}, {30, 35, W}, {35, 30, W}, {26, 26, W}}},
        {"triangle", [](PlotCanvas& c) {
             const CanvasPoint corners[] = {{10, 40}, {31, 40}, {20, 20}};
             c.Polygon(corners);
         }, {{20, 35, B}, {20, 40, R}, {20, 19, W}, {20, 42, W}}},
        {"pixel", [](PlotCanvas& c) { c.SetPixel(7, 8, kBlue); }, {{7, 8, B}, {6, 8, W}, {8, 8, W}}},
    };
    for (const Case& c : cases) {
        const QImage image = Paint(c.draw);
        for (const auto& [x, y, colour] : c.pixels)
            EXPECT_EQ(image.pixel(x, y), colour) << c.what << " at " << x << "," << y;
    }
    EXPECT_EQ(Count(Paint([](PlotCanvas& c) { c.SetPenStyle(LineStyle::None); c.MoveTo(5, 10); c.LineTo(50, 10); }), W),
              3600);
    // Without a pen the fill covers the whole box.
    const QImage filled = Paint([](PlotCanvas& c) { c.SetPenStyle(LineStyle::None); c.Rectangle(10, 20, 14, 23); });
    EXPECT_EQ(Count(filled, B, QRect(10, 20, 4, 3)), 12);
    EXPECT_EQ(Count(filled, B), 12);
}

// Colours convert as the pixels of the figures show; a font's cell fits
// its pixel height.
TEST(QPainterCanvas, TextFillsItsMeasuredBoxWithASolidBrushAndReadsUpwardsWhenRotated)
{
    for (int pixels : {8, 13, 22, 40}) {
        const int cell = QFontMetrics(ToQFont({"Arial", pixels, false, kBlack})).height();
        EXPECT_TRUE(pixels - 2 <= cell && cell <= pixels) << pixels;
    }
    for (bool rotated : {false, true}) {
        int width = 0, height = 0, large = 0;
        const QImage image = Paint([&](PlotCanvas& c) {
            c.SetFont({"Arial", 30, false, kBlack});
            large = c.TextWidth("MW");
            c.SetFont({"Arial", 14, rotated, kBlack});
            width = c.TextWidth("MW");
            height = c.TextHeight("MW");
            c.TextOut(10, 45, "MW");
        });
        EXPECT_GT(large, 2 * width - 4);  // measures follow the font
        // Unrotated the cell lies at x 10.., y 45..; rotated at x 10.., y ..45.
        const QRect box = rotated ? QRect(10, 45 - width, height, width) : QRect(10, 45, width, height);
        // Ink and fill cover the box and nothing outside it.
        const int ink = Count(image, K, box);
        EXPECT_GT(ink, 10) << rotated;
        EXPECT_EQ(std::pair(Count(image, B, box) + ink, Count(image, B) + Count(image, K)),
                  std::pair(width * height, width * height)) << rotated;
    }
    const QImage clear = Paint([](PlotCanvas& c) {
        c.SetFont({"Arial", 14, false, kRed});
        c.SetBrushStyle(FillStyle::Clear);
        c.TextOut(10, 20, "MW");
    });
    EXPECT_EQ(Count(clear, B), 0);
    EXPECT_GT(Count(clear, R), 10);
}

// The five-read plate as absorbance, well A1 in red and fitted to x + 1,
// residuals on.
struct FittedGraph : test::FiveReadPlate {
    FittedGraph()
    {
        plate.ValueName = ValueNameOfReadType("Absorbance");
        curves.CurveColors[1] = kRed;
        Fit(0);
        options.ShowResiduals = true;
    }
    std::string Bytes(FigureFormat format, double dpi)
    {
        const GraphFigureLayout layout = LayOutGraphFigure(Data(), options, QSize(400, 300), 100);
        return FigureBytes(format, layout.Size(), dpi, [&](QPainter& painter) {
            DrawGraphFigure(painter, layout, Data(), view, options, model, engine);
        });
    }
    QImage Png(double dpi)
    {
        const std::string bytes = Bytes(FigureFormat::Png, dpi);
        EXPECT_EQ(bytes.substr(0, 4), "\x89PNG");
        return QImage::fromData(QByteArray::fromStdString(bytes));
    }
};

TEST(FigureFile, FormatsFollowTheFileNameOrTheirName)
{
    const std::pair<const char*, std::optional<FigureFormat>> files[] = {
        {"a/graph.PNG", FigureFormat::Png}, {"graph.svg", FigureFormat::Svg}, {"graph.Pdf", FigureFormat::Pdf},
        {"graph.jpg", std::nullopt},        {"pdf", std::nullopt},            {"graph.png.txt", std::nullopt}};
    for (const auto& [name, format] : files) EXPECT_EQ(FigureFormatOfFile(name), format) << name;
    EXPECT_EQ(std::tuple(FigureFormatNamed("svg"), FigureFormatNamed("eps"), FigureExtension(FigureFormat::Pdf)),
              std::tuple(FigureFormat::Svg, std::nullopt, ".pdf"));
}

// A PNG of 400 x 400 on-screen pixels (data plot 300 high under a residual
// panel 100 high) has dpi / 96 times the pixels and the curve's red; the
// residual panel only comes with a fitted first curve.
TEST(FigureFile, PngSizeFollowsTheResolution)
{
    FittedGraph graph;
    for (const auto& [dpi, side] : std::map<double, int>{{96.0, 400}, {192.0, 800}, {300.0, 1250}}) {
        const QImage image = graph.Png(dpi);
        EXPECT_EQ(image.size(), QSize(side, side)) << dpi;
        EXPECT_NEAR(image.dotsPerMeterX() * 0.0254, dpi, 0.5);
        EXPECT_GT(Count(image, R, image.rect()), 20) << dpi;
    }
    graph.fits.WellFitResults[0][0] = -1;
    EXPECT_EQ(graph.Png(96.0).size(), QSize(400, 300));
}

// SVG draws lines and writes the axis titles as text; PDF is one page of
// the figure's size in points with fonts; neither holds a picture.
TEST(FigureFile, VectorFormatsKeepLinesAndText)
{
    FittedGraph graph;
    const std::string svg = graph.Bytes(FigureFormat::Svg, 300.0);
    for (const char* part :
         {"viewBox=\"0 0 400 400\"", "<polyline", ">Time (h)</text>", ">OD</text>", ">Residuals</text>", ">A1</text>"})
        EXPECT_NE(svg.find(part), std::string::npos) << part;
    EXPECT_EQ(svg.find("<image"), std::string::npos);

    const std::string pdf = graph.Bytes(FigureFormat::Pdf, 300.0);
    EXPECT_EQ(pdf.substr(0, 5), "%PDF-");
    EXPECT_NE(pdf.find("/MediaBox [0 0 300.000000 300.000000]"), std::string::npos);  // 400 px at 96 to the inch
    EXPECT_NE(pdf.find("/Font"), std::string::npos);
    EXPECT_EQ(pdf.find("/Subtype /Image"), std::string::npos);
}

} // namespace
} // namespace movra

int main(int argc, char* argv[])
{
    movra::EnsurePaintingApplication();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
