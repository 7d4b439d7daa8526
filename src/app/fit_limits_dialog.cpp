#include "app/fit_limits_dialog.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "app/command_guard.h"
#include "app/text_encoding.h"
#include "shared/conversion.h"
#include "shared/number_format.h"
#include "shared/one_based.h"

namespace movra {

FitLimitsDialog::FitLimitsDialog(QWidget* parent)
    : QDialog(parent), ok_(new QPushButton(QStringLiteral("OK"))), cancel_(new QPushButton(QStringLiteral("Cancel")))
{
    setObjectName(QStringLiteral("FitLimits"));
    setWindowTitle(QStringLiteral("Set Limits of fit"));
    resize(263, 296);
    move(590, 453);

    auto* grid = new QGridLayout(this);
    auto* minCaption = new QLabel(QStringLiteral("Min value"));
    minCaption->setObjectName(QStringLiteral("LabelMin"));
    auto* maxCaption = new QLabel(QStringLiteral("Max value"));
    maxCaption->setObjectName(QStringLiteral("LabelMax"));
    grid->addWidget(minCaption, 0, 1);
    grid->addWidget(maxCaption, 0, 2);
    QWidget* previous = nullptr;
    for (int k = 1; k <= 8; ++k) {
        auto* label = new QLabel(QStringLiteral("M%1").arg(k));
        label->setObjectName(QStringLiteral("LabelM%1").arg(k));
        auto* minEdit = new QLineEdit(QStringLiteral("0"));
        minEdit->setObjectName(QStringLiteral("Edit%1").arg(k));
        auto* maxEdit = new QLineEdit(QStringLiteral("0"));
        maxEdit->setObjectName(QStringLiteral("Edit%1").arg(k + 8));
        grid->addWidget(label, k, 0);
        grid->addWidget(minEdit, k, 1);
        grid->addWidget(maxEdit, k, 2);
        At(minEdits_, k - 1) = minEdit;
        At(maxEdits_, k - 1) = maxEdit;
        // Tab order: across each row, min then max, from M1 down to M8.
        if (previous)
            setTabOrder(previous, minEdit);
        setTabOrder(minEdit, maxEdit);
        previous = maxEdit;
    }
    ok_->setObjectName(QStringLiteral("Button1"));
    cancel_->setObjectName(QStringLiteral("Button2"));
    grid->addWidget(ok_, 9, 1);
    grid->addWidget(cancel_, 9, 2);
    setTabOrder(previous, ok_);
    setTabOrder(ok_, cancel_);
    minEdits_[0]->setFocus();

    connect(ok_, &QPushButton::clicked, this, [this] {
        if (dialogs_)
            RunCommand(*dialogs_, [this] { Button1Click(); });
    });
    connect(cancel_, &QPushButton::clicked, this, [this] { Button2Click(); });

    AllocVector(LimitMin, 8);
    AllocVector(LimitMax, 8);
}

void FitLimitsDialog::ResetLimits(double lower, double upper)
{
    for (int k = 1; k <= 8; ++k) {
        At(LimitMin, k) = lower;
        At(LimitMax, k) = upper;
    }
    ShowFitLimits();
}

void FitLimitsDialog::ShowFitLimits()
{
    for (int k = 1; k <= 8; ++k) {
        MinEdit(k).setText(QString::fromStdString(FormatGeneral(At(LimitMin, k))));
        MaxEdit(k).setText(QString::fromStdString(FormatGeneral(At(LimitMax, k))));
    }
}

void FitLimitsDialog::Button1Click()
{
    for (int k = 1; k <= 8; ++k) {
        At(LimitMin, k) = StrToFloat(DataBytes(MinEdit(k).text()));
        At(LimitMax, k) = StrToFloat(DataBytes(MaxEdit(k).text()));
    }
    ShowFitLimits();
    accept();
}

void FitLimitsDialog::reject()
{
    ShowFitLimits();
    QDialog::reject();
}

} // namespace movra
