#pragma once
// TZoomler: the zoom bar as a widget. ZoomBarModel keeps the values and
// decides; this widget forwards its size, mouse and repeat-timer events to
// the model, acts on the model's answers (repaint, timer, cursor), turns the
// model's notifications into the signals Scrolling, Zooming and Changed, and
// paints the model off-screen, copying the picture once per paint.

#include <QTimer>
#include <QWidget>

#include "plot/zoomler.h"

namespace movra {

class TZoomler : public QWidget {
    Q_OBJECT
    Q_PROPERTY(double Min READ Min WRITE SetMin)
    Q_PROPERTY(double Max READ Max WRITE SetMax)
    Q_PROPERTY(double Start READ Start WRITE SetStart)
    Q_PROPERTY(double Finish READ Finish WRITE SetFinish)
    Q_PROPERTY(bool DblClkEnable READ DblClkEnable WRITE SetDblClkEnable)

public:
    // 200 x 14 pixels, horizontal, range 1..100 with 30..70 selected.
    explicit TZoomler(QWidget* parent = nullptr);

    double Min() const noexcept { return model_.Min(); }
    double Max() const noexcept { return model_.Max(); }
    double Start() const noexcept { return model_.Start(); }
    double Finish() const noexcept { return model_.Finish(); }
    bool DblClkEnable() const noexcept { return model_.DblClkEnable; }
    TOrientation Orientation() const noexcept { return model_.Orientation(); }

    // Each setter applies the bar's corrections (a Start at or above Finish
    // becomes Finish - 1, ...) and repaints.
    void SetMin(double value);
    void SetMax(double value);
    void SetStart(double value);
    void SetFinish(double value);
    void SetDblClkEnable(bool enable) noexcept { model_.DblClkEnable = enable; }
    void SetOrientation(TOrientation orientation);

    // The state behind the bar (thumb pixels, drag and held buttons), as of
    // the last event or setter.
    const ZoomBarModel& Model() const noexcept { return model_; }
    const QTimer& RepeatTimer() const noexcept { return repeatTimer_; }

    QSize sizeHint() const override { return {200, 14}; }

signals:
    void Scrolling();  // the thumb dragged as a whole
    void Zooming();    // an end of the thumb dragged
    void Changed();    // a step, a track click, a reset, the end of a drag

public slots:
    // One tick of the held arrow button's auto-repeat (the timer's timeout).
    void RepeatTimerTimeout();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void FollowSize();
    void Apply(const ZoomBarReaction& reaction);
    void ApplyCursor(ZoomCursor cursor);

    ZoomBarModel model_;
    QTimer repeatTimer_;
};

} // namespace movra
