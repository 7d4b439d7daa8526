#pragma once
// The plot surface drawn with a QPainter. On a QImage of its own it is
// pixel-exact (no antialiasing, text included), so the plot engine, the
// graph view and the zoom bar draw on screen what they draw in tests. Over
// a painter the caller holds (a figure on a picture, an SVG or a PDF) it
// draws smoothly in that painter's coordinates: antialiased, pens as wide as
// the coordinates make them, text as text, within its own area, so several
// canvases can take turns on one painter.
// A font's pixelHeight is its full cell height: the font is sized so that
// its ascent plus descent fit in it.
// An image with a device pixel ratio above 1 (a high-DPI screen's picture)
// is drawn in its device-independent pixels: text and pens grow with the
// ratio and stay sharp, without antialiasing.

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>

#include <optional>

#include "plot/plot_canvas.h"

namespace movra {

QColor ToQColor(Colour colour) noexcept;

// The QFont drawn for a font: family face (a sans-serif stand-in when the
// face is not installed), largest pixel size whose cell fits pixelHeight.
QFont ToQFont(const FontSpec& font, bool antialiased = false);

// A blank picture for a canvas of size pixels (at least 1 x 1) on a screen
// of the given device pixel ratio.
QImage CanvasImage(QSize size, qreal devicePixelRatio);

class QPainterCanvas final : public PlotCanvas {
public:
    // Paints on image (not null, Format_RGB32 or another QPainter can draw
    // on), which must outlive the canvas and keep its size while it exists;
    // the painting is complete when the canvas is destroyed.
    explicit QPainterCanvas(QImage& image);
    // Paints smoothly on painter (active, outliving the canvas) over `area`
    // of its coordinates as they are at construction (construct the canvases
    // that share a painter before any of them draws), clipped to the area.
    // The painter's state is left as the last drawing set it.
    QPainterCanvas(QPainter& painter, QRect area);
    ~QPainterCanvas() override;

    void Clear(Colour colour) override;
    void Rectangle(int x1, int y1, int x2, int y2) override;
    void Ellipse(int x1, int y1, int x2, int y2) override;
    void Polygon(std::span<const CanvasPoint> points) override;
    void SetPixel(int x, int y, Colour colour) override;
    void TextOut(int x, int y, std::string_view text) override;
    int TextWidth(std::string_view text) const override;
    int TextHeight(std::string_view text) const override;

protected:
    void DrawLine(CanvasPoint from, CanvasPoint to) override;
    void PenChanged() override;
    void BrushChanged() override;
    void FontChanged() override;

private:
    // The box of a GDI-style figure: pixels x1..x2-1, y1..y2-1 in either
    // corner order; empty when a side has no pixels.
    static QRect FigureBox(int x1, int y1, int x2, int y2) noexcept;
    bool PenVisible() const noexcept { return GetPen().style != LineStyle::None; }
    bool BrushVisible() const noexcept { return GetBrush().style == FillStyle::Solid; }
    // The painter's geometry for a figure box: with an outline the pen runs
    // on the box's last row and column (its pixels' centres when smooth).
    QRectF OutlinedShape(const QRect& box) const noexcept;
    // Draws a figure box with draw(painter, shape): the shape smooth when
    // centred, else on whole pixels; nothing for an empty box or when
    // neither pen nor brush shows.
    template <class Draw>
    void DrawFigure(int x1, int y1, int x2, int y2, Draw draw);
    // Where a stroke through pixel (x, y) runs: the pixel itself, or its
    // centre when smooth.
    QPointF StrokePoint(int x, int y) const noexcept;
    // Makes the painter draw for this canvas: its area, clip, pen, brush
    // and font, restored when another canvas drew on the painter last.
    QPainter& Use();
    void ApplyPen();
    void ApplyBrush();

    std::optional<QPainter> ownPainter_;
    QPainter& painter_;
    const bool smooth_;
    // Strokes run through pixel centres (smooth, or scaled to a high-DPI
    // image), so they cover the pixels a one-to-one canvas would.
    const bool centred_;
    QTransform transform_;  // canvas pixels to the painter's device
    QPen qpen_;
    QFont qfont_;
    QFontMetrics metrics_;
};

} // namespace movra
