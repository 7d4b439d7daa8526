#pragma once
// The data review grid's contents as a Qt table model. The grid's cell [c, r]
// (0-based, row 0 and column 0 fixed) maps to the horizontal header (row 0),
// the vertical header (column 0) and model index (r - 1, c - 1) otherwise.
// Cells are read on demand from a ReviewCells source, so a plate of any size
// costs nothing per cell here.

#include <QAbstractTableModel>

#include <memory>
#include <string>

namespace movra {

// Read access to a grid of texts, counts including the fixed row and column.
class ReviewCells {
public:
    virtual ~ReviewCells() = default;
    virtual int columnCount() const = 0;
    virtual int rowCount() const = 0;
    virtual std::string text(int column, int row) const = 0;
};

// A grid of the given size whose every cell is empty (the grid before import).
class EmptyReviewCells final : public ReviewCells {
public:
    EmptyReviewCells(int columns, int rows) : columns_(columns), rows_(rows) {}
    int columnCount() const override { return columns_; }
    int rowCount() const override { return rows_; }
    std::string text(int, int) const override { return {}; }

private:
    int columns_;
    int rows_;
};

class ReviewTableModel final : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit ReviewTableModel(QObject* parent = nullptr);

    // Replaces the whole grid (an import, or the empty grid).
    void setCells(std::unique_ptr<const ReviewCells> cells);
    const ReviewCells& cells() const { return *cells_; }

    // Grid counts and cell text, fixed row and column included.
    int gridColumnCount() const { return cells_->columnCount(); }
    int gridRowCount() const { return cells_->rowCount(); }
    std::string gridText(int column, int row) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    std::unique_ptr<const ReviewCells> cells_;
};

} // namespace movra
