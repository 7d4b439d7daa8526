#include "app/import_progress_form.h"

#include <QProgressBar>

namespace movra {

ImportProgressForm::ImportProgressForm(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint), bar_(new QProgressBar(this))
{
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("Importing Spectramax Textfile"));
    resize(354, 59);
    bar_->setObjectName(QStringLiteral("ProgressBar1"));
    bar_->setRange(0, 100);
    bar_->setValue(0);
    bar_->setGeometry(0, 0, 345, 25);
}

} // namespace movra
