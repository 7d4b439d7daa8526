#include "app/plot/plate_map_view.h"

#include <QHelpEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

#include "render/qpainter_canvas.h"

namespace movra {

PlateMapView::PlateMapView(const PlateLayout& layout, const FitResults& fits, QWidget* parent)
    : QWidget(parent), layout_(layout), fits_(fits)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(240, 180);
}

void PlateMapView::SetOptions(const PlateMapOptions& options)
{
    options_ = options;
    update();
}

void PlateMapView::paintEvent(QPaintEvent*)
{
    image_ = CanvasImage(size(), devicePixelRatioF());
    {
        QPainterCanvas canvas(image_);
        picture_ = DrawPlateMap(canvas, MapData(), options_);
    }
    QPainter(this).drawImage(0, 0, image_);
    ++paints_;
    emit Painted();
}

void PlateMapView::mousePressEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    const int well = picture_.Geometry.WellAt(at.x(), at.y());
    if (event->button() == Qt::LeftButton && well >= 0) emit WellClicked(well);
    if (event->button() == Qt::RightButton && well >= 0) {
        QMenu menu(this);
        const QAction* useAsStart = menu.addAction(QStringLiteral("Use result as start"));
        if (menu.exec(event->globalPosition().toPoint()) == useAsStart) emit UseResultAsStart(well);
    }
}

bool PlateMapView::event(QEvent* event)
{
    if (event->type() != QEvent::ToolTip) return QWidget::event(event);
    const auto* help = static_cast<QHelpEvent*>(event);
    const int well = picture_.Geometry.WellAt(help->pos().x(), help->pos().y());
    if (well < 0) {
        QToolTip::hideText();
        event->ignore();
    } else {
        const std::string text = PlateMapWellText(MapData(), well);
        QToolTip::showText(help->globalPos(), QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())),
                           this);
    }
    return true;
}

} // namespace movra
