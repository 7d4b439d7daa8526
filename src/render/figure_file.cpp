#include "render/figure_file.h"
#include "render/png_file.h"

#include <QBuffer>
#include <QByteArray>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QSvgGenerator>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <stdexcept>

namespace movra {

namespace {

constexpr double kPointsPerInch = 72.0;
constexpr double kInchesPerMetre = 1.0 / 0.0254;
constexpr const char* kFigureTitle = "MOVRA figure";

std::string Lower(std::string_view text)
{
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower;
}

std::string BytesOf(const QByteArray& bytes)
{
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

std::string SvgBytes(QSize size, const FigureDrawing& draw)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    svg.setSize(size);
    svg.setViewBox(QRect(QPoint(0, 0), size));
    svg.setResolution(static_cast<int>(kScreenDpi));
    svg.setTitle(QString::fromLatin1(kFigureTitle));
    QPainter painter;
    if (!painter.begin(&svg)) throw std::runtime_error("Cannot draw the SVG figure.");
    draw(painter);
    painter.end();
    return BytesOf(bytes);
}

std::string PdfBytes(QSize size, const FigureDrawing& draw)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter pdf(&buffer);
        // One page exactly the figure's size, drawn in on-screen pixels.
        const QSizeF points = QSizeF(size) * (kPointsPerInch / kScreenDpi);
        pdf.setPageLayout(QPageLayout(QPageSize(points, QPageSize::Point, QString(), QPageSize::ExactMatch),
                                      QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
        pdf.setResolution(static_cast<int>(kScreenDpi));
        pdf.setTitle(QString::fromLatin1(kFigureTitle));
        pdf.setCreator(QStringLiteral("MOVRA"));
        QPainter painter;
        if (!painter.begin(&pdf)) throw std::runtime_error("Cannot draw the PDF figure.");
        draw(painter);
        painter.end();
    }
    return BytesOf(bytes);
}

} // namespace

std::optional<FigureFormat> FigureFormatOfFile(const std::filesystem::path& file)
{
    const std::string extension = Lower(file.extension().string());
    if (extension.size() < 2) return std::nullopt;
    return FigureFormatNamed(std::string_view(extension).substr(1));
}

std::optional<FigureFormat> FigureFormatNamed(std::string_view name)
{
    const std::string lower = Lower(name);
    if (lower == "png") return FigureFormat::Png;
    if (lower == "svg") return FigureFormat::Svg;
    if (lower == "pdf") return FigureFormat::Pdf;
    return std::nullopt;
}

std::string FigureExtension(FigureFormat format)
{
    switch (format) {
    case FigureFormat::Svg:
        return ".svg";
    case FigureFormat::Pdf:
        return ".pdf";
    case FigureFormat::Png:
        break;
    }
    return ".png";
}

QImage FigureImage(QSize size, double dpi, const FigureDrawing& draw)
{
    const double scale = dpi / kScreenDpi;
    const QSize pixels(std::max(1, static_cast<int>(std::lround(size.width() * scale))),
                       std::max(1, static_cast<int>(std::lround(size.height() * scale))));
    QImage image(pixels, QImage::Format_RGB32);
    image.fill(Qt::white);
    image.setDotsPerMeterX(static_cast<int>(std::lround(dpi * kInchesPerMetre)));
    image.setDotsPerMeterY(image.dotsPerMeterX());
    QPainter painter(&image);
    painter.scale(static_cast<double>(pixels.width()) / std::max(size.width(), 1),
                  static_cast<double>(pixels.height()) / std::max(size.height(), 1));
    draw(painter);
    painter.end();
    return image;
}

std::string FigureBytes(FigureFormat format, QSize size, double dpi, const FigureDrawing& draw)
{
    switch (format) {
    case FigureFormat::Svg:
        return SvgBytes(size, draw);
    case FigureFormat::Pdf:
        return PdfBytes(size, draw);
    case FigureFormat::Png:
        break;
    }
    return PngBytes(FigureImage(size, dpi, draw));
}

} // namespace movra
