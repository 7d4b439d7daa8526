#pragma once
// The DataReview page: the review grid StringGrid1 (a table view over the
// review model, popup menu PopupMenu2 with "Copy" and "Copy All") above the
// read-only raw file box Memo4. Holds the grid's copy commands.

#include <QWidget>

#include <string>

#include "app/grid_text_export.h"

class QMenu;
class QPlainTextEdit;
class QTableView;

namespace movra {

class ReviewTableModel;

class DataReviewPage final : public QWidget {
    Q_OBJECT
public:
    // The grid's size before any import.
    static constexpr int kStartColumns = 194;
    static constexpr int kStartRows = 200;

    explicit DataReviewPage(QWidget* parent = nullptr);

    QTableView& StringGrid1() { return *grid_; }
    ReviewTableModel& reviewModel() { return *model_; }
    QPlainTextEdit& Memo4() { return *memo4_; }
    QMenu& PopupMenu2() { return *popup_; }

    // The selection rectangle in grid cells (fixed row and column counted),
    // the focused cell alone when nothing is selected.
    GridRect selection() const;
    // Selects grid cells [left..right, top..bottom] (no fixed cells).
    void selectCells(GridRect cells);

    // Copy: the selected cells to the clipboard.
    void CopySRaw();
    // Copy All: the whole grid except column 0 to the clipboard.
    void CopytoExcel1Click();

    // Empties every cell outside the fixed row and column (the New reset).
    void ClearCells();

private:
    QTableView* grid_;
    ReviewTableModel* model_;
    QPlainTextEdit* memo4_;
    QMenu* popup_;
};

} // namespace movra
