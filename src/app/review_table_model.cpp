#include "app/review_table_model.h"

#include <algorithm>

namespace movra {

ReviewTableModel::ReviewTableModel(QObject* parent)
    : QAbstractTableModel(parent), cells_(std::make_unique<EmptyReviewCells>(0, 0))
{
}

void ReviewTableModel::setCells(std::unique_ptr<const ReviewCells> cells)
{
    beginResetModel();
    cells_ = std::move(cells);
    endResetModel();
}

std::string ReviewTableModel::gridText(int column, int row) const
{
    if (column < 0 || row < 0 || column >= gridColumnCount() || row >= gridRowCount())
        return {};
    return cells_->text(column, row);
}

int ReviewTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : std::max(0, gridRowCount() - 1);
}

int ReviewTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : std::max(0, gridColumnCount() - 1);
}

QVariant ReviewTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || role != Qt::DisplayRole)
        return {};
    return QString::fromStdString(gridText(index.column() + 1, index.row() + 1));
}

QVariant ReviewTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Horizontal)
        return QString::fromStdString(gridText(section + 1, 0));
    return QString::fromStdString(gridText(0, section + 1));
}

} // namespace movra
