#include "render/qpainter_canvas.h"

#include <QList>
#include <QPolygonF>
#include <QString>
#include <QTransform>
#include <QVarLengthArray>

#include <algorithm>

namespace movra {

namespace {

// The canvas that set the painter's state last (per thread, as painters are).
thread_local const QPainterCanvas* activeCanvas = nullptr;

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

QSize LogicalSize(const QImage& image)
{
    return image.deviceIndependentSize().toSize();
}

} // namespace

QColor ToQColor(Colour colour) noexcept
{
    return QColor(static_cast<int>(colour & 0xFFu), static_cast<int>((colour >> 8) & 0xFFu),
                  static_cast<int>((colour >> 16) & 0xFFu));
}

QFont ToQFont(const FontSpec& font, bool antialiased)
{
    QFont qfont(QString::fromStdString(font.face));
    qfont.setStyleHint(QFont::SansSerif, antialiased ? QFont::PreferAntialias : QFont::NoAntialias);
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

QImage CanvasImage(QSize size, qreal devicePixelRatio)
{
    const qreal ratio = devicePixelRatio > 0 ? devicePixelRatio : 1.0;
    const QSize logical = size.expandedTo(QSize(1, 1));
    QImage image((QSizeF(logical) * ratio).toSize(), QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    return image;
}

QPainterCanvas::QPainterCanvas(QImage& image)
    : PlotCanvas(LogicalSize(image).width(), LogicalSize(image).height()),
      ownPainter_(std::in_place), painter_(*ownPainter_), smooth_(false), centred_(image.devicePixelRatio() != 1.0),
      qfont_(ToQFont(GetFont())), metrics_(qfont_)
{
    painter_.begin(&image);
    activeCanvas = nullptr;  // the state is set by the first drawing
}

QPainterCanvas::QPainterCanvas(QPainter& painter, QRect area)
    : PlotCanvas(area.width(), area.height()), painter_(painter), smooth_(true), centred_(true),
      transform_(QTransform::fromTranslate(area.x(), area.y()) * painter.transform()),
      qfont_(ToQFont(GetFont(), true)), metrics_(qfont_)
{
    activeCanvas = nullptr;  // the state is set by the first drawing
}

QPainterCanvas::~QPainterCanvas()
{
    if (activeCanvas == this) activeCanvas = nullptr;
    if (ownPainter_) ownPainter_->end();
}

QPainter& QPainterCanvas::Use()
{
    if (activeCanvas == this) return painter_;
    activeCanvas = this;
    painter_.setTransform(transform_);
    painter_.setRenderHint(QPainter::Antialiasing, smooth_);
    painter_.setRenderHint(QPainter::TextAntialiasing, smooth_);
    if (smooth_) painter_.setClipRect(QRect(0, 0, Width(), Height()));
    painter_.setFont(qfont_);
    ApplyPen();
    ApplyBrush();
    return painter_;
}

void QPainterCanvas::Clear(Colour colour)
{
    Use().fillRect(QRect(0, 0, Width(), Height()), ToQColor(colour));
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
        // A flat cap leaves out a line's end pixel, as LineTo does; centred
        // solid lines get round ends so joined segments leave no notches.
        qpen_.setCapStyle(centred_ && pen.style == LineStyle::Solid ? Qt::RoundCap : Qt::FlatCap);
        qpen_.setJoinStyle(centred_ ? Qt::RoundJoin : Qt::MiterJoin);
        // One-pixel pens on a one-to-one screen stay cosmetic so dots and
        // dashes keep their pixel rhythm; other pens grow with the scale.
        qpen_.setCosmetic(!centred_ && pen.width <= 1);
    }
    if (activeCanvas == this) ApplyPen();
}

void QPainterCanvas::ApplyPen()
{
    painter_.setPen(qpen_);
}

void QPainterCanvas::BrushChanged()
{
    if (activeCanvas == this) ApplyBrush();
}

void QPainterCanvas::ApplyBrush()
{
    const Brush& brush = GetBrush();
    painter_.setBrush(brush.style == FillStyle::Solid ? QBrush(ToQColor(brush.color)) : QBrush(Qt::NoBrush));
}

void QPainterCanvas::FontChanged()
{
    qfont_ = ToQFont(GetFont(), smooth_);
    metrics_ = QFontMetrics(qfont_);
    if (activeCanvas == this) painter_.setFont(qfont_);
}

QPointF QPainterCanvas::StrokePoint(int x, int y) const noexcept
{
    const qreal centre = centred_ ? 0.5 : 0.0;
    return {x + centre, y + centre};
}

void QPainterCanvas::DrawLine(CanvasPoint from, CanvasPoint to)
{
    if (!PenVisible()) return;
    if (centred_) Use().drawLine(StrokePoint(from.x, from.y), StrokePoint(to.x, to.y));
    else Use().drawLine(from.x, from.y, to.x, to.y);
}

QRect QPainterCanvas::FigureBox(int x1, int y1, int x2, int y2) noexcept
{
    return QRect(QPoint(std::min(x1, x2), std::min(y1, y2)), QSize(std::abs(x2 - x1), std::abs(y2 - y1)));
}

QRectF QPainterCanvas::OutlinedShape(const QRect& box) const noexcept
{
    if (!PenVisible()) return QRectF(box);
    // QPainter strokes a one-pixel outline to the right of and below the
    // rectangle it is given; a smooth one straddles it.
    return centred_ ? QRectF(box).adjusted(0.5, 0.5, -0.5, -0.5) : QRectF(box.adjusted(0, 0, -1, -1));
}

template <class Draw>
void QPainterCanvas::DrawFigure(int x1, int y1, int x2, int y2, Draw draw)
{
    const QRect box = FigureBox(x1, y1, x2, y2);
    if (box.isEmpty() || (!PenVisible() && !BrushVisible())) return;
    if (centred_) draw(Use(), OutlinedShape(box));
    else draw(Use(), OutlinedShape(box).toRect());
}

void QPainterCanvas::Rectangle(int x1, int y1, int x2, int y2)
{
    DrawFigure(x1, y1, x2, y2, [](QPainter& painter, const auto& shape) { painter.drawRect(shape); });
}

void QPainterCanvas::Ellipse(int x1, int y1, int x2, int y2)
{
    DrawFigure(x1, y1, x2, y2, [](QPainter& painter, const auto& shape) { painter.drawEllipse(shape); });
}

void QPainterCanvas::Polygon(std::span<const CanvasPoint> points)
{
    if (points.empty()) {
        return;
    }
    if (centred_) {
        QPolygonF corners;
        for (const CanvasPoint& point : points) corners.append(StrokePoint(point.x, point.y));
        Use().drawPolygon(corners);
        return;
    }
    QVarLengthArray<QPoint, 8> corners;
    for (const CanvasPoint& point : points) {
        corners.append(QPoint(point.x, point.y));
    }
    Use().drawPolygon(corners.data(), static_cast<int>(corners.size()));
}

void QPainterCanvas::SetPixel(int x, int y, Colour colour)
{
    Use().fillRect(QRect(x, y, 1, 1), ToQColor(colour));
}

void QPainterCanvas::TextOut(int x, int y, std::string_view text)
{
    QPainter& painter = Use();
    const QString qtext = ToQString(text);
    const int width = metrics_.horizontalAdvance(qtext);
    const int height = metrics_.height();
    const bool rotated = GetFont().rotated90;
    if (BrushVisible()) {
        const QRect box = rotated ? QRect(x, y - width, height, width) : QRect(x, y, width, height);
        painter.fillRect(box, ToQColor(GetBrush().color));
    }
    painter.save();
    // An exact quarter turn: the cell's top edge runs up along x from (x, y),
    // so rotated text reads upwards.
    painter.setTransform(rotated ? QTransform(0, -1, 1, 0, x, y) : QTransform::fromTranslate(x, y), true);
    painter.setPen(ToQColor(GetFont().color));
    painter.drawText(QPoint(0, metrics_.ascent()), qtext);
    painter.restore();
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
