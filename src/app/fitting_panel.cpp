#include "app/fitting_panel.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

#include <algorithm>

#include "fitting/fit_formulas.h"
#include "shared/one_based.h"

namespace movra {

namespace {

struct StartValue {
    const char* name;
    const char* label;
    const char* text;
};

const StartValue kStartValues[] = {
    {"Fit_m1", "m1", "4000"}, {"Fit_m2", "m2", "-3000"}, {"Fit_m3", "m3", "1"},     {"Fit_m4", "m4", "10"},
    {"Fit_m5", "m5", "1"},    {"Fit_m6", "m6", "0.001"}, {"fit_m7", "m7", "0.001"}, {"Fit_m8", "m8", "1"},
};

// A labelled edit box: the label above the box, named after it; with a
// tick, the tick beside the label.
QLineEdit* AddLabelledEdit(QGridLayout& grid, int row, int column, const QString& name, const QString& label,
                           const QString& text, QCheckBox* tick = nullptr)
{
    auto* caption = new QLabel(label);
    caption->setObjectName(name + QStringLiteral("Label"));
    auto* edit = new QLineEdit(text);
    edit->setObjectName(name);
    caption->setBuddy(edit);
    if (tick != nullptr) {
        auto* line = new QHBoxLayout;
        line->addWidget(caption);
        line->addStretch();
        line->addWidget(tick);
        grid.addLayout(line, row, column);
    } else {
        grid.addWidget(caption, row, column);
    }
    grid.addWidget(edit, row + 1, column);
    return edit;
}

} // namespace

FittingPanel::FittingPanel(QWidget* parent)
    : QWidget(parent),
      formula_(new QComboBox),
      setLimits_(new QPushButton(QStringLiteral("Set Limits"))),
      guess_(new QPushButton(QStringLiteral("Guess"))),
      averageData_(new QCheckBox(QStringLiteral("Average Data"))),
      numericDerivatives_(new QCheckBox(QStringLiteral("Numeric derivatives"))),
      fitShown_(new QPushButton(QStringLiteral("Fit Shown")))
{
    setObjectName(QStringLiteral("TabSheet1"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);

    auto* values = new QGridLayout;
    for (int k = 0; k < 8; ++k) {
        const StartValue& start = kStartValues[k];
        auto* fixed = new QCheckBox(QStringLiteral("fixed"));
        fixed->setObjectName(QStringLiteral("Fix_m%1").arg(k + 1));
        fixed->setToolTip(QStringLiteral("Hold m%1 at this value: it is not fitted, has standard deviation 0 and "
                                         "does not count in the degrees of freedom")
                              .arg(k + 1));
        At(fixed_, k) = fixed;
        At(startValues_, k) =
            AddLabelledEdit(*values, (k / 2) * 2, k % 2, QString::fromLatin1(start.name),
                            QString::fromLatin1(start.label), QString::fromLatin1(start.text), fixed);
    }
    layout->addLayout(values);

    auto* formulaLabel = new QLabel(QStringLiteral("Fit formular"));
    formulaLabel->setObjectName(QStringLiteral("Label1"));
    formula_->setObjectName(QStringLiteral("FitFormulaCB"));
    formula_->setEditable(true);
    formula_->setInsertPolicy(QComboBox::NoInsert);
    // Long formulas must not widen the side panel.
    formula_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    formula_->setMinimumContentsLength(12);
    for (std::string_view formula : kFitFormulas) {
        const QString text = QString::fromLatin1(formula.data(), static_cast<qsizetype>(formula.size()));
        formula_->addItem(text);
        formula_->setItemData(formula_->count() - 1, text, Qt::ToolTipRole);
    }
    formula_->setCurrentIndex(kDefaultFitFormulaIndex);
    // The drop-down shows every formula whole, however narrow the box; the
    // box's tooltip shows the formula in it. A typed formula is not completed
    // from the list.
    formula_->setCompleter(nullptr);
    formula_->view()->setTextElideMode(Qt::ElideNone);
    int widest = 0;
    for (int i = 0; i < formula_->count(); ++i)
        widest = std::max(widest, formula_->view()->fontMetrics().horizontalAdvance(formula_->itemText(i)));
    formula_->view()->setMinimumWidth(widest + 2 * formula_->view()->fontMetrics().averageCharWidth() +
                                      formula_->view()->verticalScrollBar()->sizeHint().width());
    formula_->setToolTip(formula_->currentText());
    connect(formula_, &QComboBox::currentTextChanged, formula_, [this](const QString& text) {
        formula_->setToolTip(text);
    });
    formulaLabel->setBuddy(formula_);
    layout->addWidget(formulaLabel);
    layout->addWidget(formula_);

    auto* settings = new QGridLayout;
    status_ = AddLabelledEdit(*settings, 0, 0, QStringLiteral("MarqStatus"), QStringLiteral("MarqStatus"), {});
    // The status box spans both columns, so the longest status, "OPT_NON_CONV",
    // always fits whole.
    settings->addWidget(status_, 1, 0, 1, 2);
    status_->setMinimumWidth(status_->fontMetrics().horizontalAdvance(QStringLiteral("OPT_NON_CONV")) +
                             4 * status_->fontMetrics().averageCharWidth());
    guess_->setObjectName(QStringLiteral("GuessBut"));
    guess_->setCheckable(true);
    guess_->setToolTip(QStringLiteral("Start values from the data: a rule per list formula, a search from the "
                                      "data's scales for a typed one. While pressed, every fit starts from values "
                                      "guessed from its own curve; the boxes show the guess for the curves on show"));
    settings->addWidget(guess_, 2, 0);
    setLimits_->setObjectName(QStringLiteral("Button2"));
    settings->addWidget(setLimits_, 2, 1);
    tolerance_ = AddLabelledEdit(*settings, 3, 0, QStringLiteral("LE_Tol"), QStringLiteral("Tolerence"),
                                 QStringLiteral("0.000001"));
    maxIterations_ = AddLabelledEdit(*settings, 3, 1, QStringLiteral("leMAX_IT"), QStringLiteral("Max iterations"),
                                     QStringLiteral("500"));
    layout->addLayout(settings);

    averageData_->setObjectName(QStringLiteral("CheckBox4"));
    layout->addWidget(averageData_);
    // Off: exact derivatives of the formula; on: the forward differences of
    // the regression engine, to compare with.
    numericDerivatives_->setObjectName(QStringLiteral("NumericDerivatives"));
    numericDerivatives_->setToolTip(QStringLiteral("Fit with forward-difference derivatives instead of the exact "
                                                   "derivatives of the formula"));
    layout->addWidget(numericDerivatives_);
    fitShown_->setObjectName(QStringLiteral("Button1"));
    layout->addWidget(fitShown_);
    layout->addStretch(1);
}

} // namespace movra
