#pragma once
// The PlateLayout page: an empty tool strip ControlBar1, the plate layout grid
// PlateLayoutGrid (popup menu PopupMenu1: "Sample1", "Clear") and the layout
// text box Memo1. The grid keeps the texts of the largest plate (25 x 17 cells
// with the fixed row and column) and shows the current plate's part of them.

#include <QAbstractTableModel>
#include <QWidget>

#include <array>
#include <string>

#include "app/grid_text_export.h"

class QFrame;
class QMenu;
class QPlainTextEdit;
class QTableView;

namespace movra {

class PlateLayoutModel final : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int kMaxGridColumns = 25;  // 24 plate columns + header
    static constexpr int kMaxGridRows = 17;     // 16 plate rows + header

    explicit PlateLayoutModel(QObject* parent = nullptr);

    int gridColumnCount() const { return columns_; }
    int gridRowCount() const { return rows_; }
    // Grid counts including the fixed row and column (13 x 9 or 25 x 17).
    void setGridSize(int columns, int rows);

    std::string cellText(int column, int row) const;
    void setCellText(int column, int row, const std::string& text);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    std::array<std::array<std::string, kMaxGridRows>, kMaxGridColumns> cells_{};
    int columns_ = 13;
    int rows_ = 9;
};

class PlateLayoutPage final : public QWidget {
    Q_OBJECT
public:
    explicit PlateLayoutPage(QWidget* parent = nullptr);

    QTableView& PlateLayoutGrid() { return *grid_; }
    PlateLayoutModel& layoutModel() { return *model_; }
    QPlainTextEdit& Memo1() { return *memo1_; }
    QMenu& PopupMenu1() { return *popup_; }

    // Selection rectangle in grid cells, the current cell when none.
    GridRect selection() const;

    // The layout part of the New reset: empties the well cells of the largest
    // plate and writes the header texts "1".."24" and "A".."P".
    void ResetLayout();

private:
    QFrame* controlBar_;
    QTableView* grid_;
    PlateLayoutModel* model_;
    QPlainTextEdit* memo1_;
    QMenu* popup_;
};

} // namespace movra
