#pragma once
// String grids as Qt table models. A GridCells source gives the grid's counts
// and cell texts (cell [c, r], 0-based, row 0 and column 0 the fixed ones);
// GridModel reads them on demand, so a grid of any size costs nothing per
// cell here. With FixedAsHeaders the fixed row and column become the view's
// headers and cell [c, r] is model index (r - 1, c - 1); with FixedAsCells
// every cell, the fixed ones included, is an ordinary model cell.

#include <QAbstractTableModel>

#include <memory>
#include <string>

namespace movra {

class GridCells {
public:
    virtual ~GridCells() = default;
    virtual int columnCount() const = 0;
    virtual int rowCount() const = 0;
    virtual std::string text(int column, int row) const = 0;
};

// A grid of the given size whose every cell is empty.
class EmptyGridCells final : public GridCells {
public:
    EmptyGridCells(int columns, int rows) : columns_(columns), rows_(rows) {}
    int columnCount() const override { return columns_; }
    int rowCount() const override { return rows_; }
    std::string text(int, int) const override { return {}; }

private:
    int columns_;
    int rows_;
};

class GridModel final : public QAbstractTableModel {
    Q_OBJECT
public:
    enum class FixedCells { AsHeaders, AsCells };

    explicit GridModel(FixedCells fixed, QObject* parent = nullptr);

    // Replaces the source (a new grid); refresh() after the source changed.
    void setCells(std::unique_ptr<const GridCells> cells);
    void refresh();
    const GridCells& cells() const { return *cells_; }

    // Grid counts and cell text, fixed row and column included; empty text
    // outside the counts.
    int gridColumnCount() const { return cells_->columnCount(); }
    int gridRowCount() const { return cells_->rowCount(); }
    std::string gridText(int column, int row) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    int offset() const { return fixed_ == FixedCells::AsHeaders ? 1 : 0; }
    bool isFixed(const QModelIndex& index) const;

    FixedCells fixed_;
    std::unique_ptr<const GridCells> cells_;
};

} // namespace movra
