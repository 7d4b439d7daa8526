#pragma once
// The Reports page: the group "Report builder" (GroupBox2) with its four
// buttons above the report grid StringGrid2 (the shared report table; its
// fixed row and column shown as grey cells, so the corner cell can hold
// text) and its popup menu PopupMenu3 ("Copy All").

#include <QWidget>

#include "reports/string_table.h"

class QGroupBox;
class QMenu;
class QPushButton;
class QTableView;

namespace movra {

class GridModel;

class ReportsPage final : public QWidget {
    Q_OBJECT
public:
    explicit ReportsPage(StringTable& report, QWidget* parent = nullptr);

    QTableView& StringGrid2() { return *grid_; }
    QMenu& PopupMenu3() { return *popup_; }
    QPushButton& ShowResBut() { return *showResults_; }
    QPushButton& RepAverageBut() { return *average_; }
    QPushButton& RawDataBut() { return *reducedData_; }
    QPushButton& bt_ClearReport() { return *clearReport_; }

    // Shows the report table again after it changed.
    void refresh();

    // Copy All: the whole report to the clipboard.
    void CopyReport();

private:
    StringTable& report_;
    QGroupBox* builder_;
    QPushButton* showResults_;
    QPushButton* average_;
    QPushButton* reducedData_;
    QPushButton* clearReport_;
    QTableView* grid_;
    GridModel* model_;
    QMenu* popup_;
};

} // namespace movra
