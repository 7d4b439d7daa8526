#pragma once
// The plate map on screen: paints the core's plate map (plot/plate_map.h)
// through a QPainter surface into a picture the widget's size on every
// paint, answers tooltip requests with the hovered well's text and reports
// a click on a well. It reads the layout and the fit results it was given,
// which must outlive it.

#include <QImage>
#include <QWidget>

#include "plot/plate_map.h"

namespace movra {

class PlateMapView final : public QWidget {
    Q_OBJECT

public:
    PlateMapView(const PlateLayout& layout, const FitResults& fits, QWidget* parent = nullptr);

    void SetOptions(const PlateMapOptions& options);
    const PlateMapOptions& Options() const noexcept { return options_; }

    // The last picture and what it drew (tests read its pixels).
    const QImage& Image() const noexcept { return image_; }
    const PlateMapPicture& Picture() const noexcept { return picture_; }
    long PaintCount() const noexcept { return paints_; }
    // What the map is drawn from.
    PlateMapData MapData() const { return {layout_, fits_}; }

    QSize sizeHint() const override { return {640, 480}; }

signals:
    void WellClicked(int well);
    // The well's context menu: its fitted parameters as start values.
    void UseResultAsStart(int well);
    // After each paint, with the range the colours followed.
    void Painted();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    bool event(QEvent* event) override;

private:
    const PlateLayout& layout_;
    const FitResults& fits_;
    PlateMapOptions options_;
    QImage image_;
    PlateMapPicture picture_;
    long paints_ = 0;
};

} // namespace movra
