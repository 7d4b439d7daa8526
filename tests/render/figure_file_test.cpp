// Figures as files: the graph with its residual panel written as PNG, SVG
// and PDF, each in its own format at the size asked for, the vector formats
// keeping lines and text rather than a picture.
#include "render/figure_file.h"
#include "render/graph_figure.h"
#include "plot/five_read_plate.h"

#include <algorithm>
#include <QImage>

#include <gtest/gtest.h>

#include <map>

namespace movra {
namespace {

constexpr Colour kCurveColour = 0x0000FF;  // red, 0x00BBGGRR

// The five-read plate as absorbance, well A1 in red and fitted to x + 1,
// residuals on.
struct FittedGraph : test::FiveReadPlate {
    FittedGraph()
    {
        plate.ValueName = ValueNameOfReadType("Absorbance");
        curves.CurveColors[1] = kCurveColour;
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
        const QImage rgb = image.convertToFormat(QImage::Format_RGB32);  // rows without padding
        const auto* pixels = reinterpret_cast<const QRgb*>(rgb.constBits());
        EXPECT_GT(std::count(pixels, pixels + side * side, qRgb(255, 0, 0)), 20) << dpi;
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
