#pragma once
// The Reports page: the group "Report builder" (GroupBox2) with its four
// buttons above the report grid StringGrid2 (the shared report table; its
// fixed row and column shown as grey cells, so the corner cell can hold
// text) and its popup menu PopupMenu3 ("Copy All"). The buttons run the
// core's report builders on the shared state; the grid shows the outcome
// even after an error, its columns as wide as their texts and resizable.

#include <QWidget>

#include <functional>

#include "app/user_dialogs.h"
#include "reduction/wavelength_combination.h"
#include "reports/string_table.h"

class QGroupBox;
class QMenu;
class QPushButton;
class QTableView;

namespace movra {

struct AppState;
class GridModel;

// The combination the reports use: the graph page's combination box and
// wavelength controls of the moment.
using CombinationSource = std::function<ParserCombinedValues()>;

class ReportsPage final : public QWidget {
    Q_OBJECT
public:
    ReportsPage(AppState& state, UserDialogs& dialogs, CombinationSource combination, QWidget* parent = nullptr);

    QTableView& StringGrid2() { return *grid_; }
    QMenu& PopupMenu3() { return *popup_; }
    QPushButton& ShowResBut() { return *showResults_; }
    QPushButton& RepAverageBut() { return *average_; }
    QPushButton& ShowStatBut() { return *statistics_; }
    QPushButton& RawDataBut() { return *reducedData_; }
    QPushButton& bt_ClearReport() { return *clearReport_; }

    // The report builders, one per button.
    void ShowResButClick();
    // "Statistics": goodness of fit and 95 % intervals of every fitted well.
    void ShowStatButClick();
    void RepAverageButClick();
    void RawDataButClick();
    void bt_ClearReportClick();

    // Shows the report table again after it changed.
    void refresh();

    // Copy All: the whole report to the clipboard.
    void CopyReport();
    // File > Save Report As...: the whole report into a file the user names,
    // CSV when its name ends in ".csv", else TSV (UTF-8, LF), written whole
    // or not at all.
    void SaveReportAs1Click();
    static FileDialogRequest SaveReportDialog();
    // The report emptied back to its start size (after an import).
    void ResetReport();

private:
    // Runs a builder; an escaping error is shown, then the grid as it is.
    void runReport(void (ReportsPage::*builder)());

    AppState& state_;
    UserDialogs& dialogs_;
    CombinationSource combination_;
    StringTable& report_;
    QGroupBox* builder_;
    QPushButton* showResults_;
    QPushButton* average_;
    QPushButton* statistics_;
    QPushButton* reducedData_;
    QPushButton* clearReport_;
    QTableView* grid_;
    GridModel* model_;
    QMenu* popup_;
};

} // namespace movra
