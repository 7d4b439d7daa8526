#include "app/about_form.h"

#include <QDesktopServices>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

#include "app/about_picture.h"

namespace movra {

namespace {

constexpr int kTickMilliseconds = 10;

const char* const kAboutText =
    "MOVRA version 0.92\n"
    "\n"
    "MOVRA makes fitting kinetics data from high-throughput kinetics\n"
    "set-ups (microplate readers) a matter of minutes instead of hours.\n"
    "For now it imports only the plate-format text files of the reader software.\n"
    "\n"
    "MOVRA is built on these components:\n"
    "  Non-linear regression (Marquardt): the MOVRA developers\n"
    "  Formula parser: the MOVRA developers\n"
    "  Zoom bar control: the MOVRA developers\n"
    "\n"
    "Comments and suggestions are most welcome:\n"
    "  The MOVRA developers - movra@example.org\n";

// The paint box: shows the current frame of the animation.
class AnimationBox final : public QWidget {
public:
    AnimationBox(const QImage& frame, QWidget* parent) : QWidget(parent), frame_(frame) {}

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.drawImage(0, 0, frame_);
    }

private:
    const QImage& frame_;
};

QPushButton* PlacedButton(const QString& name, const QString& caption, QRect place, QWidget* parent)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setGeometry(place);
    return button;
}

} // namespace

QUrl AboutForm::WebPage()
{
    return QUrl(QStringLiteral("https://www.example.org/movra/"));
}

AboutForm::AboutForm(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      paintBox_(new AnimationBox(workBitmap_, this)),
      text_(new QPlainTextEdit(this)),
      openWeb_(PlacedButton(QStringLiteral("OpenWeb"), QStringLiteral("Web-page"), {8, 208, 289, 25}, this)),
      closeBut_(PlacedButton(QStringLiteral("CloseBut"), QStringLiteral("Det fed'"), {304, 208, 265, 25}, this)),
      timer_(new QTimer(this))
{
    setObjectName(QStringLiteral("AboutForm"));
    setWindowTitle(QStringLiteral("About MOVRA"));
    setFixedSize(571, 236);

    paintBox_->setObjectName(QStringLiteral("PaintBox1"));
    paintBox_->setGeometry(0, 8, 185, 193);

    text_->setObjectName(QStringLiteral("RichEdit1"));
    text_->setGeometry(192, 8, 377, 193);
    text_->setPlainText(QString::fromUtf8(kAboutText));
    text_->setReadOnly(true);
    text_->setEnabled(false);
    text_->setLineWrapMode(QPlainTextEdit::NoWrap);
    text_->setFocusPolicy(Qt::NoFocus);

    connect(openWeb_, &QPushButton::clicked, this, [this] { OpenWebClick(); });
    connect(closeBut_, &QPushButton::clicked, this, [this] { CloseButClick(); });
    // Escape rejects the dialog, which closes it just as "Det fed'" does.

    // FormCreate: the texture from the hidden picture, the work bitmap at the
    // paint box's size with the picture's palette, the steps, a stopped timer.
    const QImage image1 = MakeAboutPicture();
    animation_.LoadPicture(image1.width(), image1.height(), [&image1](int y) { return image1.constScanLine(y); });
    workBitmap_ = QImage(paintBox_->size(), QImage::Format_Indexed8);
    workBitmap_.setColorTable(image1.colorTable());
    workBitmap_.fill(0);
    animation_.Start();
    timer_->setObjectName(QStringLiteral("Timer1"));
    timer_->setInterval(kTickMilliseconds);
    connect(timer_, &QTimer::timeout, this, [this] { RotatePic(); });
}

void AboutForm::RotatePic()
{
    animation_.RotatePic({workBitmap_.bits(), workBitmap_.width(), workBitmap_.height(),
                          static_cast<std::ptrdiff_t>(workBitmap_.bytesPerLine())});
    paintBox_->update();
}

void AboutForm::OpenWebClick()
{
    QDesktopServices::openUrl(WebPage());  // the outcome is not reported
}

void AboutForm::CloseButClick()
{
    reject();
}

void AboutForm::showEvent(QShowEvent* event)
{
    timer_->start(kTickMilliseconds);
    QDialog::showEvent(event);
}

void AboutForm::hideEvent(QHideEvent* event)
{
    timer_->stop();
    QDialog::hideEvent(event);
}

} // namespace movra
