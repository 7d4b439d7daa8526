// Figures as files: the graph with its residual panel written as PNG, SVG
// and PDF, each in its own format at the size asked for, the vector formats
// keeping lines and text rather than a picture.
#include "render/figure_file.h"
#include "render/graph_figure.h"

#include <QBuffer>
#include <QImage>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include <map>

namespace movra {
namespace {

constexpr Colour kCurveColour = 0x0000FF;  // red, 0x00BBGGRR

// An absorbance plate of five reads at 0..4 h, well A1 shown in red and
// fitted to x + 1 by the model m1 * x + m2, residuals on.
struct FittedGraph {
    FittedGraph()
    {
        curves.Reset();
        fits.Reset();
        plate.PlateData.assign(3, TVector(5, 0.0));
        plate.TimePointCount = 5;
        plate.ReadMode = "Kinetic";
        plate.ValueName = ValueNameOfReadType("Absorbance");
        plate.PlateColumns = 12;
        plate.LastXValue = 4;
        AllocVector(plate.TimeVector, 5);
        AllocMatrix(curves.ReducedData, 8, 5);
        const double data[] = {1.0, 2.2, 2.9, 4.1, 5.0};
        for (int t = 1; t <= 5; ++t) {
            plate.TimeVector[t] = t - 1;
            curves.ReducedData[1][t] = data[t - 1];
        }
        curves.ShownWells[1] = 0;
        curves.CurveColors[1] = kCurveColour;
        fits.WellFitResults[0][0] = 0.1;
        fits.WellFitResults[0][1] = fits.WellFitResults[0][2] = 1.0;
        options.ShowResiduals = true;
        model.SetParameters = [this](const ModelParameters& m) { parameters = m; };
        model.Evaluate = [this](double x) { return parameters[1] * x + parameters[2]; };
    }
    std::string Bytes(FigureFormat format, double dpi)
    {
        const GraphFigureLayout layout = LayOutGraphFigure({plate, curves, fits}, options, QSize(400, 300), 100);
        return FigureBytes(format, layout.Size(), dpi, [&](QPainter& painter) {
            DrawGraphFigure(painter, layout, {plate, curves, fits}, view, options, model, engine);
        });
    }

    PlateMeasurements plate;
    ShownCurves curves;
    FitResults fits;
    GraphViewState view;
    GraphViewOptions options;
    GraphModel model;
    ModelParameters parameters{};
    PlotEngine engine;
};

// Pixels of a clear red (smooth edges blend into the white).
int RedPixels(const QImage& image)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor colour = image.pixelColor(x, y);
            n += colour.red() > 200 && colour.green() < 100 && colour.blue() < 100 ? 1 : 0;
        }
    return n;
}

TEST(FigureFile, FormatsFollowTheFileNameOrTheirName)
{
    EXPECT_EQ(FigureFormatOfFile("a/graph.PNG"), FigureFormat::Png);
    EXPECT_EQ(FigureFormatOfFile("graph.svg"), FigureFormat::Svg);
    EXPECT_EQ(FigureFormatOfFile("graph.Pdf"), FigureFormat::Pdf);
    for (const char* name : {"graph.jpg", "graph", "pdf", "graph.png.txt"})
        EXPECT_EQ(FigureFormatOfFile(name), std::nullopt) << name;
    EXPECT_EQ(FigureFormatNamed("svg"), FigureFormat::Svg);
    EXPECT_EQ(FigureFormatNamed("eps"), std::nullopt);
    EXPECT_EQ(FigureExtension(FigureFormat::Pdf), ".pdf");
}

// A PNG of 400 x 400 on-screen pixels (data plot 300 high under a residual
// panel 100 high) has dpi / 96 times the pixels and the curve's red; the
// residual panel only comes with a fitted first curve.
TEST(FigureFile, PngSizeFollowsTheResolution)
{
    FittedGraph graph;
    for (const auto& [dpi, side] : std::map<double, int>{{96.0, 400}, {192.0, 800}, {300.0, 1250}}) {
        const std::string bytes = graph.Bytes(FigureFormat::Png, dpi);
        ASSERT_EQ(bytes.substr(0, 4), "\x89PNG");
        QImage image;
        ASSERT_TRUE(image.loadFromData(reinterpret_cast<const uchar*>(bytes.data()), static_cast<int>(bytes.size())));
        EXPECT_EQ(image.size(), QSize(side, side)) << dpi;
        EXPECT_NEAR(image.dotsPerMeterX() * 0.0254, dpi, 0.5);
        EXPECT_GT(RedPixels(image), side / 2) << dpi;
    }
    graph.fits.WellFitResults[0][0] = -1;
    QImage unfitted;
    const std::string bytes = graph.Bytes(FigureFormat::Png, 96.0);
    unfitted.loadFromData(reinterpret_cast<const uchar*>(bytes.data()), static_cast<int>(bytes.size()));
    EXPECT_EQ(unfitted.size(), QSize(400, 300));
}

// SVG parses as XML, draws lines and shapes and writes the axis titles as
// text; PDF is one page of the figure's size in points with fonts and no
// picture inside.
TEST(FigureFile, VectorFormatsKeepLinesAndText)
{
    FittedGraph graph;
    const std::string svg = graph.Bytes(FigureFormat::Svg, 300.0);
    QXmlStreamReader xml(QByteArray::fromStdString(svg));
    std::map<QString, int> elements;
    QStringList texts;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement) continue;
        ++elements[xml.name().toString()];
        if (xml.name() == QLatin1String("text")) texts << xml.readElementText(QXmlStreamReader::IncludeChildElements);
    }
    ASSERT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    EXPECT_GT(elements["path"] + elements["polyline"], 5);
    EXPECT_EQ(elements["image"], 0);
    for (const char* title : {"Time (h)", "OD", "Residuals", "A1"})
        EXPECT_TRUE(texts.contains(QString::fromLatin1(title))) << title << " in " << texts.join('|').toStdString();
    EXPECT_NE(svg.find("viewBox=\"0 0 400 400\""), std::string::npos);

    const std::string pdf = graph.Bytes(FigureFormat::Pdf, 300.0);
    EXPECT_EQ(pdf.substr(0, 5), "%PDF-");
    EXPECT_NE(pdf.find("/MediaBox [0 0 300.000000 300.000000]"), std::string::npos);  // 400 px at 96 to the inch
    EXPECT_NE(pdf.find("/Font"), std::string::npos);
    EXPECT_EQ(pdf.find("/Subtype /Image"), std::string::npos);
}

} // namespace
} // namespace movra
