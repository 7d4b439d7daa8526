#include "app/grid_model.h"

#include <QApplication>
#include <QBrush>
#include <QPalette>

#include <algorithm>

#include "app/text_encoding.h"

namespace movra {

GridModel::GridModel(FixedCells fixed, QObject* parent)
    : QAbstractTableModel(parent), fixed_(fixed), cells_(std::make_unique<EmptyGridCells>(0, 0))
{
}

void GridModel::setCells(std::unique_ptr<const GridCells> cells)
{
    beginResetModel();
    cells_ = std::move(cells);
    endResetModel();
}

void GridModel::refresh()
{
    beginResetModel();
    endResetModel();
}

std::string GridModel::gridText(int column, int row) const
{
    if (column < 0 || row < 0 || column >= gridColumnCount() || row >= gridRowCount())
        return {};
    return cells_->text(column, row);
}

int GridModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : std::max(0, gridRowCount() - offset());
}

int GridModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : std::max(0, gridColumnCount() - offset());
}

bool GridModel::isFixed(const QModelIndex& index) const
{
    return fixed_ == FixedCells::AsCells && (index.row() == 0 || index.column() == 0);
}

QVariant GridModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    if (role == Qt::DisplayRole)
        return DataText(gridText(index.column() + offset(), index.row() + offset()));
    if (role == Qt::BackgroundRole && isFixed(index))
        return QApplication::palette().button();
    return {};
}

QVariant GridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole || fixed_ != FixedCells::AsHeaders)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (orientation == Qt::Horizontal)
        return DataText(gridText(section + 1, 0));
    return DataText(gridText(0, section + 1));
}

Qt::ItemFlags GridModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    if (isFixed(index))
        return Qt::ItemIsEnabled;  // fixed cells cannot be selected
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

} // namespace movra
