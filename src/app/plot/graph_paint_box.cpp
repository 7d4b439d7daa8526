#include "app/plot/graph_paint_box.h"

#include <QPaintEvent>
#include <QPainter>
#include <QRegion>

namespace movra {

GraphPaintBox::GraphPaintBox(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void GraphPaintBox::SetImage(QImage image)
{
    image_ = std::move(image);
    if (!painting_) {
        update();
    }
}

void GraphPaintBox::paintEvent(QPaintEvent* event)
{
    if (paintHandler_) {
        painting_ = true;
        paintHandler_();
        painting_ = false;
    }
    QPainter painter(this);
    const QRect picture(QPoint(0, 0), image_.deviceIndependentSize().toSize());
    const QRegion uncovered = QRegion(event->rect()).subtracted(QRegion(picture));
    for (const QRect& rect : uncovered) {
        painter.fillRect(rect, Qt::white);
    }
    if (!image_.isNull()) {
        painter.drawImage(0, 0, image_);
    }
}

} // namespace movra
