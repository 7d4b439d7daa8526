#include "app/plot/qpainter_canvas.h"

#include <QList>
#include <QPolygon>
#include <QTransform>
#include <QString>
#include <QVarLengthArray>

#include <algorithm>

namespace movra {

namespace {

// Dash patterns of one-pixel lines, in pixels on and off, as a GDI
// cosmetic pen draws them.
QList<qreal> DashPattern(LineStyle style)
{
    switch (style) {
    case LineStyle::Dash:
        return {18, 6};
    case LineStyle::Dot:
        return {3, 3};
    case LineStyle::DashDot:
        return {9, 6, 3, 6};
    case LineStyle::DashDotDot:
        return {9, 3, 3, 3, 3, 3};
    case LineStyle::Solid:
    case LineStyle::None:
        break;
    }
    return {};
}

QString ToQString(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

QColor ToQColor(Colour colour) noexcept
{
    return QColor(static_cast<int>(colour & 0xFFu), static_cast<int>((colour >> 8) & 0xFFu),
                  static_cast<int>((colour >> 16) & 0xFFu));
}

QFont ToQFont(const FontSpec& font)
{
    QFont qfont(QString::fromStdString(font.face));
    qfont.setStyleHint(QFont::SansSerif, QFont::NoAntialias);
    qfont.setWeight(QFont::Normal);
    const int cell = std::max(font.pixelHeight, 1);
    // Cells run about 15 % taller than the em; a couple of steps down from
    // the cell height find the largest size that fits.
    for (int size = cell; size > 1; --size) {
        qfont.setPixelSize(size);
        if (QFontMetrics(qfont).height() <= cell) {
            return qfont;
        }
    }
    qfont.setPixelSize(1);
    return qfont;
}

QPainterCanvas::QPainterCanvas(QImage& image)
    : PlotCanvas(image.width(), image.height()), image_(image), qfont_(ToQFont(GetFont())), metrics_(qfont_)
{
    painter_.begin(&image_);
    painter_.setRenderHint(QPainter::Antialiasing, false);
    painter_.setRenderHint(QPainter::TextAntialiasing, false);
    painter_.setFont(qfont_);
    PenChanged();
    BrushChanged();
}

QPainterCanvas::~QPainterCanvas()
{
    painter_.end();
}

void QPainterCanvas::Clear(Colour colour)
{
    painter_.fillRect(image_.rect(), ToQColor(colour));
}

void QPainterCanvas::PenChanged()
{
    const Pen& pen = GetPen();
    if (pen.style == LineStyle::None) {
        qpen_ = QPen(Qt::NoPen);
    } else {
        qpen_ = QPen(ToQColor(pen.color), std::max(pen.width, 1), Qt::SolidLine);
        if (pen.style != LineStyle::Solid) {
            qpen_.setDashPattern(DashPattern(pen.style));
        }
        // A flat cap leaves out a line's end pixel, as LineTo does.
        qpen_.setCapStyle(Qt::FlatCap);
        qpen_.setJoinStyle(Qt::MiterJoin);
        // One-pixel pens stay cosmetic so dots and dashes keep their pixel rhythm.
        qpen_.setCosmetic(pen.width <= 1);
    }
    painter_.setPen(qpen_);
}

void QPainterCanvas::BrushChanged()
{
    const Brush& brush = GetBrush();
    painter_.setBrush(brush.style == FillStyle::Solid ? QBrush(ToQColor(brush.color)) : QBrush(Qt::NoBrush));
}

void QPainterCanvas::FontChanged()
{
    qfont_ = ToQFont(GetFont());
    metrics_ = QFontMetrics(qfont_);
    painter_.setFont(qfont_);
}

void QPainterCanvas::DrawLine(CanvasPoint from, CanvasPoint to)
{
    if (PenVisible()) {
        painter_.drawLine(from.x, from.y, to.x, to.y);
    }
}

QRect QPainterCanvas::FigureBox(int x1, int y1, int x2, int y2) noexcept
{
    return QRect(QPoint(std::min(x1, x2), std::min(y1, y2)), QSize(std::abs(x2 - x1), std::abs(y2 - y1)));
}

QRect QPainterCanvas::OutlinedShape(const QRect& box) const noexcept
{
    // QPainter strokes a one-pixel outline to the right of and below the
    // rectangle it is given.
    return PenVisible() ? box.adjusted(0, 0, -1, -1) : box;
}

void QPainterCanvas::Rectangle(int x1, int y1, int x2, int y2)
{
    const QRect box = FigureBox(x1, y1, x2, y2);
    if (box.isEmpty() || (!PenVisible() && !BrushVisible())) {
        return;
    }
    painter_.drawRect(OutlinedShape(box));
}

void QPainterCanvas::Ellipse(int x1, int y1, int x2, int y2)
{
    const QRect box = FigureBox(x1, y1, x2, y2);
    if (box.isEmpty() || (!PenVisible() && !BrushVisible())) {
        return;
    }
    painter_.drawEllipse(OutlinedShape(box));
}

void QPainterCanvas::Polygon(std::span<const CanvasPoint> points)
{
    if (points.empty()) {
        return;
    }
    QVarLengthArray<QPoint, 8> corners;
    for (const CanvasPoint& point : points) {
        corners.append(QPoint(point.x, point.y));
    }
    painter_.drawPolygon(corners.data(), static_cast<int>(corners.size()));
}

void QPainterCanvas::SetPixel(int x, int y, Colour colour)
{
    painter_.fillRect(QRect(x, y, 1, 1), ToQColor(colour));
}

void QPainterCanvas::TextOut(int x, int y, std::string_view text)
{
    const QString qtext = ToQString(text);
    const int width = metrics_.horizontalAdvance(qtext);
    const int height = metrics_.height();
    const bool rotated = GetFont().rotated90;
    if (BrushVisible()) {
        const QRect box = rotated ? QRect(x, y - width, height, width) : QRect(x, y, width, height);
        painter_.fillRect(box, ToQColor(GetBrush().color));
    }
    painter_.save();
    // An exact quarter turn: the cell's top edge runs up along x from (x, y),
    // so rotated text reads upwards.
    painter_.setTransform(rotated ? QTransform(0, -1, 1, 0, x, y) : QTransform::fromTranslate(x, y));
    painter_.setPen(ToQColor(GetFont().color));
    painter_.drawText(QPoint(0, metrics_.ascent()), qtext);
    painter_.restore();
}

int QPainterCanvas::TextWidth(std::string_view text) const
{
    return metrics_.horizontalAdvance(ToQString(text));
}

int QPainterCanvas::TextHeight(std::string_view) const
{
    return metrics_.height();
}

} // namespace movra
