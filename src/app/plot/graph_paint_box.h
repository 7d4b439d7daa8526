#pragma once
// A paint box of the graph page (PaintBox1 for the data, PaintBox2 for the
// residuals): shows the last off-screen picture given to it, copied onto the
// screen in one piece, over the page's white where the picture does not
// reach. An optional paint handler runs first on every paint, as the data
// plot's redraw does.

#include <functional>

#include <QImage>
#include <QWidget>

namespace movra {

class GraphPaintBox : public QWidget {
    Q_OBJECT

public:
    explicit GraphPaintBox(QWidget* parent = nullptr);

    // Takes the picture to show and repaints (a picture set by the paint
    // handler during a paint is shown by that same paint).
    void SetImage(QImage image);
    const QImage& Image() const noexcept { return image_; }

    // Runs at the start of every paint, before the picture is copied.
    void SetPaintHandler(std::function<void()> handler) { paintHandler_ = std::move(handler); }

    // Device pixels per pixel of the pictures drawn for this box: the
    // screen's, unless set (tests stand in for a high-DPI screen; 0 unsets).
    qreal PictureRatio() const { return pictureRatio_ > 0 ? pictureRatio_ : devicePixelRatioF(); }
    void SetPictureRatio(qreal ratio) { pictureRatio_ = ratio; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage image_;
    std::function<void()> paintHandler_;
    bool painting_ = false;
    qreal pictureRatio_ = 0;
};

} // namespace movra
