#pragma once
// The "Fitting " tab of the graph page (TabSheet1): start values Fit_m1 ..
// Fit_m8 with their "fixed" ticks Fix_m1 .. Fix_m8, the fit formula box FitFormulaCB with its twelve list formulas
// (shown whole in its drop-down and tooltips), the status box MarqStatus
// (wide enough for every status), "Guess", "Set Limits", tolerance, iteration cap,
// "Average Data" and "Fit Shown".

#include <QWidget>

#include <array>

#include "shared/one_based.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace movra {

class FittingPanel final : public QWidget {
    Q_OBJECT
public:
    explicit FittingPanel(QWidget* parent = nullptr);

    // Start value box of parameter m<k>, k = 1..8.
    QLineEdit& FitM(int k) { return *At(startValues_, k - 1); }
    // The "fixed" tick beside it.
    QCheckBox& FixM(int k) { return *At(fixed_, k - 1); }
    QPushButton& GuessBut() { return *guess_; }
    QComboBox& FitFormulaCB() { return *formula_; }
    QLineEdit& MarqStatus() { return *status_; }
    QPushButton& Button2() { return *setLimits_; }
    QLineEdit& LE_Tol() { return *tolerance_; }
    QLineEdit& leMAX_IT() { return *maxIterations_; }
    QCheckBox& CheckBox4() { return *averageData_; }
    QCheckBox& NumericDerivatives() { return *numericDerivatives_; }
    QPushButton& Button1() { return *fitShown_; }

private:
    std::array<QLineEdit*, 8> startValues_{};
    std::array<QCheckBox*, 8> fixed_{};
    QComboBox* formula_;
    QLineEdit* status_;
    QPushButton* setLimits_;
    QPushButton* guess_;
    QLineEdit* tolerance_;
    QLineEdit* maxIterations_;
    QCheckBox* averageData_;
    QCheckBox* numericDerivatives_;
    QPushButton* fitShown_;
};

} // namespace movra
