#include "app/plot/zoomler_widget.h"

#include <QMouseEvent>
#include <QPainter>

#include "render/qpainter_canvas.h"

namespace movra {

namespace {

QPoint EventPoint(const QMouseEvent* event)
{
    return event->position().toPoint();
}

} // namespace

TZoomler::TZoomler(QWidget* parent) : QWidget(parent), repeatTimer_(this)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    // Moves without a button set the cursor over the thumb's ends and middle.
    setMouseTracking(true);
    repeatTimer_.setObjectName("RepeatTimer");
    connect(&repeatTimer_, &QTimer::timeout, this, &TZoomler::RepeatTimerTimeout);
    model_.OnScrolling = [this] { emit Scrolling(); };
    model_.OnZooming = [this] { emit Zooming(); };
    model_.OnChanged = [this] { emit Changed(); };
    resize(sizeHint());
    FollowSize();
}

void TZoomler::SetMin(double value)
{
    FollowSize();
    model_.SetMin(value);
    update();
}

void TZoomler::SetMax(double value)
{
    FollowSize();
    model_.SetMax(value);
    update();
}

void TZoomler::SetStart(double value)
{
    FollowSize();
    model_.SetStart(value);
    update();
}

void TZoomler::SetFinish(double value)
{
    FollowSize();
    model_.SetFinish(value);
    update();
}

void TZoomler::SetOrientation(TOrientation orientation)
{
    model_.SetOrientation(orientation);
    FollowSize();
    model_.UpdateThumb();
    update();
}

void TZoomler::FollowSize()
{
    // A hidden widget gets its resize event only when shown; every handler
    // checks so the thumb always matches the size on screen.
    if (model_.Width() != width() || model_.Height() != height()) {
        model_.SetSize(width(), height());
        model_.UpdateThumb();
    }
}

void TZoomler::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    FollowSize();
}

void TZoomler::Apply(const ZoomBarReaction& reaction)
{
    switch (reaction.timer) {
    case RepeatTimerCommand::Keep:
        break;
    case RepeatTimerCommand::Start:
        repeatTimer_.start(reaction.timerIntervalMs);
        break;
    case RepeatTimerCommand::ChangeInterval:
        repeatTimer_.setInterval(reaction.timerIntervalMs);
        break;
    case RepeatTimerCommand::Stop:
        repeatTimer_.stop();
        break;
    }
    if (reaction.repaint) {
        update();
    }
}

void TZoomler::ApplyCursor(ZoomCursor cursor)
{
    switch (cursor) {
    case ZoomCursor::Default:
        unsetCursor();
        break;
    case ZoomCursor::SizeHorizontal:
        setCursor(Qt::SizeHorCursor);
        break;
    case ZoomCursor::SizeVertical:
        setCursor(Qt::SizeVerCursor);
        break;
    case ZoomCursor::PointingHand:
        setCursor(Qt::PointingHandCursor);
        break;
    }
}

void TZoomler::mousePressEvent(QMouseEvent* event)
{
    FollowSize();
    const QPoint p = EventPoint(event);
    Apply(model_.MousePress(p.x(), p.y()));
    event->accept();
}

void TZoomler::mouseMoveEvent(QMouseEvent* event)
{
    FollowSize();
    const QPoint p = EventPoint(event);
    const ZoomBarReaction reaction = model_.MouseMove(p.x(), p.y());
    ApplyCursor(reaction.cursor);
    Apply(reaction);
    event->accept();
}

void TZoomler::mouseReleaseEvent(QMouseEvent* event)
{
    Apply(model_.MouseRelease());
    event->accept();
}

void TZoomler::mouseDoubleClickEvent(QMouseEvent* event)
{
    // Qt delivers a double click instead of the second press; the bar
    // handles it as a reset followed by that press.
    FollowSize();
    Apply(model_.DoubleClick());
    const QPoint p = EventPoint(event);
    Apply(model_.MousePress(p.x(), p.y()));
    event->accept();
}

void TZoomler::RepeatTimerTimeout()
{
    FollowSize();
    Apply(model_.RepeatTimerTick());
}

void TZoomler::paintEvent(QPaintEvent*)
{
    FollowSize();
    if (size().isEmpty()) {
        return;
    }
    QImage picture = CanvasImage(size(), devicePixelRatioF());
    {
        QPainterCanvas canvas(picture);
        model_.Paint(canvas);
    }
    QPainter(this).drawImage(0, 0, picture);
}

} // namespace movra
