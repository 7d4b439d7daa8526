#pragma once
// The DataReview page: the review grid StringGrid1 (a table view over a grid
// model, popup menu PopupMenu2 with "Copy" and "Copy All") above the
// read-only raw file box Memo4. Holds the grid's copy commands.

#include <QWidget>

#include <memory>

#include "plate/plate_layout.h"
#include "plate/plate_measurements.h"
#include "plate/review_table.h"

class QMenu;
class QPlainTextEdit;
class QTableView;

namespace movra {

class GridCells;
class GridModel;

class DataReviewPage final : public QWidget {
    Q_OBJECT
public:
    // The grid's size before any import.
    static constexpr int kStartColumns = 194;
    static constexpr int kStartRows = 200;

    explicit DataReviewPage(QWidget* parent = nullptr);

    QTableView& StringGrid1() { return *grid_; }
    GridModel& reviewModel() { return *model_; }
    QPlainTextEdit& Memo4() { return *memo4_; }
    QMenu& PopupMenu2() { return *popup_; }

    // Shows a new grid.
    void setReviewCells(std::unique_ptr<const GridCells> cells);
    // Shows an import's review table over the plate it was read with; both
    // must outlive the page or the next call.
    void showReview(const ReviewTable& review, const PlateMeasurements& plate);

    // The selected grid cells; the focused cell alone when nothing is selected.
    GridSelection selection() const;
    void selectCells(const GridSelection& cells);

    // Copy: the selected cells to the clipboard.
    void CopySRaw();
    // Copy All: the whole grid except column 0 to the clipboard.
    void CopytoExcel1Click();

    // Empties every cell outside the fixed row and column (the New reset).
    void ClearCells();

private:
    QTableView* grid_;
    GridModel* model_;
    QPlainTextEdit* memo4_;
    QMenu* popup_;
};

} // namespace movra
