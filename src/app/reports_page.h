#pragma once
// The Reports page: the group "Report builder" (GroupBox2) with its four
// buttons above the report grid StringGrid2 and its popup menu PopupMenu3
// ("Copy All"). StringGrid2 shows its fixed row and column as ordinary grey
// cells, so cell [c, r] is item (r, c) and the corner cell can hold text.

#include <QWidget>

#include <string>

class QGroupBox;
class QMenu;
class QPushButton;
class QTableWidget;

namespace movra {

class ReportsPage final : public QWidget {
    Q_OBJECT
public:
    explicit ReportsPage(QWidget* parent = nullptr);

    QTableWidget& StringGrid2() { return *grid_; }
    QMenu& PopupMenu3() { return *popup_; }
    QPushButton& ShowResBut() { return *showResults_; }
    QPushButton& RepAverageBut() { return *average_; }
    QPushButton& RawDataBut() { return *reducedData_; }
    QPushButton& bt_ClearReport() { return *clearReport_; }

    // Grid size including the fixed row and column, and cell [c, r].
    int gridColumnCount() const;
    int gridRowCount() const;
    void setGridSize(int columns, int rows);
    std::string cellText(int column, int row) const;
    void setCellText(int column, int row, const std::string& text);

    // Copy All: the whole report to the clipboard.
    void CopyReport();

private:
    QGroupBox* builder_;
    QPushButton* showResults_;
    QPushButton* average_;
    QPushButton* reducedData_;
    QPushButton* clearReport_;
    QTableWidget* grid_;
    QMenu* popup_;
};

} // namespace movra
