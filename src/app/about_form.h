#pragma once
// TAboutForm, the modal About window: the animation box PaintBox1, the About
// text RichEdit1, "Web-page" (OpenWeb) and "Det fed'" (CloseBut, also the
// Escape key). A 10 ms timer draws the animation while the window is shown;
// its state survives closing, so the next showing continues where it stopped.

#include <QDialog>
#include <QImage>
#include <QUrl>

#include "app/about_animation.h"

class QPlainTextEdit;
class QPushButton;
class QTimer;

namespace movra {

class AboutForm final : public QDialog {
    Q_OBJECT
public:
    explicit AboutForm(QWidget* parent = nullptr);

    static QUrl WebPage();

    QTimer& Timer1() { return *timer_; }
    QPlainTextEdit& RichEdit1() { return *text_; }
    QPushButton& OpenWeb() { return *openWeb_; }
    QPushButton& CloseBut() { return *closeBut_; }
    QWidget& PaintBox1() { return *paintBox_; }
    const AboutAnimation& animation() const { return animation_; }
    const QImage& frame() const { return workBitmap_; }

    // One timer tick: draws the next frame into the paint box.
    void RotatePic();
    void OpenWebClick();
    void CloseButClick();

protected:
    void showEvent(QShowEvent* event) override;  // FormShow: the timer runs
    void hideEvent(QHideEvent* event) override;  // FormClose: the timer stops

private:
    AboutAnimation animation_;
    QImage workBitmap_;  // the paint box's size, the picture's palette
    QWidget* paintBox_;
    QPlainTextEdit* text_;
    QPushButton* openWeb_;
    QPushButton* closeBut_;
    QTimer* timer_;
};

} // namespace movra
