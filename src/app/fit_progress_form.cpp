#include "app/fit_progress_form.h"

#include <QFont>
#include <QPlainTextEdit>
#include <QPushButton>

namespace movra {

FitProgressForm::FitProgressForm(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      memo_(new QPlainTextEdit(this)),
      cancel_(new QPushButton(QStringLiteral("Cancel"), this))
{
    setObjectName(QStringLiteral("Form3"));
    setFixedSize(226, 91);

    memo_->setObjectName(QStringLiteral("Memo1"));
    memo_->setGeometry(8, 4, 209, 57);
    memo_->setReadOnly(true);
    memo_->setEnabled(false);
    memo_->setFocusPolicy(Qt::NoFocus);
    memo_->setLineWrapMode(QPlainTextEdit::NoWrap);
    QFont fixed(QStringLiteral("Courier New"));
    fixed.setStyleHint(QFont::TypeWriter);
    memo_->setFont(fixed);
    memo_->setPlainText(QStringLiteral("Iter\nF\nLambda"));

    cancel_->setObjectName(QStringLiteral("Button1"));
    cancel_->setGeometry(75, 64, 75, 25);
    connect(cancel_, &QPushButton::clicked, this, [this] { Button1Click(); });
}

void FitProgressForm::showEvent(QShowEvent* event)
{
    fitCancelled_ = false;
    QDialog::showEvent(event);
}

} // namespace movra
