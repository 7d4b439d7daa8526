#include "app/table_selection.h"

#include <QItemSelectionModel>
#include <QTableView>

#include <algorithm>

namespace movra {

GridRect GridSelection(const QTableView& view)
{
    const QItemSelectionModel* selectionModel = view.selectionModel();
    const QItemSelection ranges = selectionModel->selection();
    if (ranges.isEmpty()) {
        QModelIndex current = selectionModel->currentIndex();
        if (!current.isValid())
            current = view.model()->index(0, 0);
        const int column = std::max(current.column(), 0) + 1;
        const int row = std::max(current.row(), 0) + 1;
        return {column, row, column, row};
    }
    GridRect rect{ranges.front().left(), ranges.front().top(), ranges.front().right(), ranges.front().bottom()};
    for (const QItemSelectionRange& range : ranges) {
        rect.left = std::min(rect.left, range.left());
        rect.top = std::min(rect.top, range.top());
        rect.right = std::max(rect.right, range.right());
        rect.bottom = std::max(rect.bottom, range.bottom());
    }
    return {rect.left + 1, rect.top + 1, rect.right + 1, rect.bottom + 1};
}

void SelectGridCells(QTableView& view, GridRect cells)
{
    const QModelIndex topLeft = view.model()->index(cells.top - 1, cells.left - 1);
    const QModelIndex bottomRight = view.model()->index(cells.bottom - 1, cells.right - 1);
    view.selectionModel()->setCurrentIndex(topLeft, QItemSelectionModel::NoUpdate);
    view.selectionModel()->select(QItemSelection(topLeft, bottomRight), QItemSelectionModel::ClearAndSelect);
}

} // namespace movra
