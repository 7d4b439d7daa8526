#include "app/table_selection.h"

#include <QItemSelectionModel>
#include <QTableView>

#include <algorithm>

namespace movra {

GridSelection SelectedCells(const QTableView& view)
{
    const QItemSelectionModel* selectionModel = view.selectionModel();
    const QItemSelection ranges = selectionModel->selection();
    if (ranges.isEmpty()) {
        QModelIndex current = selectionModel->currentIndex();
        const int column = (current.isValid() ? current.column() : 0) + 1;
        const int row = (current.isValid() ? current.row() : 0) + 1;
        return {column, row, column, row};
    }
    GridSelection cells{ranges.front().left(), ranges.front().top(), ranges.front().right(),
                        ranges.front().bottom()};
    for (const QItemSelectionRange& range : ranges) {
        cells.Left = std::min(cells.Left, range.left());
        cells.Top = std::min(cells.Top, range.top());
        cells.Right = std::max(cells.Right, range.right());
        cells.Bottom = std::max(cells.Bottom, range.bottom());
    }
    return {cells.Left + 1, cells.Top + 1, cells.Right + 1, cells.Bottom + 1};
}

void SelectCells(QTableView& view, const GridSelection& cells)
{
    const QModelIndex topLeft = view.model()->index(cells.Top - 1, cells.Left - 1);
    const QModelIndex bottomRight = view.model()->index(cells.Bottom - 1, cells.Right - 1);
    view.selectionModel()->setCurrentIndex(topLeft, QItemSelectionModel::NoUpdate);
    view.selectionModel()->select(QItemSelection(topLeft, bottomRight), QItemSelectionModel::ClearAndSelect);
}

} // namespace movra
