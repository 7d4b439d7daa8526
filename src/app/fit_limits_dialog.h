#pragma once
// TFitLimits, the "Set Limits of fit" dialog: a lower (Edit1..Edit8) and an
// upper (Edit9..Edit16) limit box for each parameter m1..m8, OK and Cancel.
// It owns the limits LimitMin/LimitMax (elements 1..8, all 0 at creation)
// and writes them into its boxes with ShowFitLimits.

#include <QDialog>

#include <array>

#include "shared/matrices.h"
#include "shared/one_based.h"

class QLineEdit;
class QPushButton;

namespace movra {

class UserDialogs;

class FitLimitsDialog final : public QDialog {
    Q_OBJECT
public:
    explicit FitLimitsDialog(QWidget* parent = nullptr);

    TVector LimitMin;  // [0..8], element k the lower limit of mk
    TVector LimitMax;  // [0..8], element k the upper limit of mk

    QLineEdit& MinEdit(int k) { return *At(minEdits_, k - 1); }
    QLineEdit& MaxEdit(int k) { return *At(maxEdits_, k - 1); }
    QPushButton& Button1() { return *ok_; }
    QPushButton& Button2() { return *cancel_; }

    // Every lower limit to `lower`, every upper limit to `upper` (an import
    // resets them to -1E20 and 1E20), then ShowFitLimits.
    void ResetLimits(double lower, double upper);
    // Writes the stored limits into the sixteen boxes (general number format).
    void ShowFitLimits();

    // Where OK shows a box that is no number.
    void SetDialogs(UserDialogs& dialogs) { dialogs_ = &dialogs; }
    // OK: stores the boxes in the order M1 min, M1 max, M2 min, ... with the
    // plain locale conversion; the first box that is no number stops it with
    // ConversionError (the limits before it stored, the dialog still open).
    // Otherwise shows the stored limits and closes.
    void Button1Click();
    // Cancel: the boxes show the stored limits again, and the dialog closes.
    void Button2Click() { reject(); }
    // Escape and closing the window act as Cancel.
    void reject() override;

private:
    std::array<QLineEdit*, 8> minEdits_{};
    std::array<QLineEdit*, 8> maxEdits_{};
    QPushButton* ok_;
    QPushButton* cancel_;
    UserDialogs* dialogs_ = nullptr;
};

} // namespace movra
