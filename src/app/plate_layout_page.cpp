#include "app/plate_layout_page.h"

#include <QAction>
#include <QFrame>
#include <QHeaderView>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

#include "app/table_selection.h"

namespace movra {

namespace {

constexpr int kColumnWidth = 56;
constexpr int kControlBarHeight = 41;
constexpr int kMemoHeight = 121;

} // namespace

PlateLayoutModel::PlateLayoutModel(QObject* parent) : QAbstractTableModel(parent) {}

void PlateLayoutModel::setGridSize(int columns, int rows)
{
    beginResetModel();
    columns_ = std::clamp(columns, 1, kMaxGridColumns);
    rows_ = std::clamp(rows, 1, kMaxGridRows);
    endResetModel();
}

std::string PlateLayoutModel::cellText(int column, int row) const
{
    if (column < 0 || row < 0 || column >= kMaxGridColumns || row >= kMaxGridRows)
        return {};
    return cells_[static_cast<std::size_t>(column)][static_cast<std::size_t>(row)];
}

void PlateLayoutModel::setCellText(int column, int row, const std::string& text)
{
    if (column < 0 || row < 0 || column >= kMaxGridColumns || row >= kMaxGridRows)
        return;
    cells_[static_cast<std::size_t>(column)][static_cast<std::size_t>(row)] = text;
    if (row == 0 && column > 0 && column < columns_)
        emit headerDataChanged(Qt::Horizontal, column - 1, column - 1);
    else if (column == 0 && row > 0 && row < rows_)
        emit headerDataChanged(Qt::Vertical, row - 1, row - 1);
    else if (row > 0 && column > 0 && row < rows_ && column < columns_)
        emit dataChanged(index(row - 1, column - 1), index(row - 1, column - 1));
}

int PlateLayoutModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : rows_ - 1;
}

int PlateLayoutModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : columns_ - 1;
}

QVariant PlateLayoutModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || role != Qt::DisplayRole)
        return {};
    return QString::fromStdString(cellText(index.column() + 1, index.row() + 1));
}

QVariant PlateLayoutModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Horizontal)
        return QString::fromStdString(cellText(section + 1, 0));
    return QString::fromStdString(cellText(0, section + 1));
}

PlateLayoutPage::PlateLayoutPage(QWidget* parent)
    : QWidget(parent),
      controlBar_(new QFrame),
      grid_(new QTableView),
      model_(new PlateLayoutModel(this)),
      memo1_(new QPlainTextEdit),
      popup_(new QMenu(this))
{
    setObjectName(QStringLiteral("PlateLayout"));

    controlBar_->setObjectName(QStringLiteral("ControlBar1"));
    controlBar_->setFixedHeight(kControlBarHeight);
    controlBar_->setFrameShape(QFrame::StyledPanel);

    grid_->setObjectName(QStringLiteral("PlateLayoutGrid"));
    grid_->setModel(model_);
    grid_->setSelectionMode(QAbstractItemView::ContiguousSelection);
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->horizontalHeader()->setDefaultSectionSize(kColumnWidth);
    grid_->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid_->horizontalHeader()->setHighlightSections(false);
    grid_->verticalHeader()->setHighlightSections(false);

    popup_->setObjectName(QStringLiteral("PopupMenu1"));
    QAction* sample1 = popup_->addAction(QStringLiteral("Sample1"));
    sample1->setObjectName(QStringLiteral("Sample11"));
    sample1->setData(1);  // the item's tag: its sample number
    QAction* clear = popup_->addAction(QStringLiteral("Clear"));
    clear->setObjectName(QStringLiteral("Clear1"));
    grid_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(grid_, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { popup_->popup(grid_->viewport()->mapToGlobal(at)); });

    memo1_->setObjectName(QStringLiteral("Memo1"));
    memo1_->setLineWrapMode(QPlainTextEdit::NoWrap);
    memo1_->setFixedHeight(kMemoHeight);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(controlBar_);
    layout->addWidget(grid_, 1);
    layout->addWidget(memo1_);
}

GridRect PlateLayoutPage::selection() const
{
    return GridSelection(*grid_);
}

void PlateLayoutPage::ResetLayout()
{
    memo1_->clear();
    for (int c = 1; c < PlateLayoutModel::kMaxGridColumns; ++c)
        for (int r = 1; r < PlateLayoutModel::kMaxGridRows; ++r)
            model_->setCellText(c, r, {});
    for (int c = 1; c < PlateLayoutModel::kMaxGridColumns; ++c)
        model_->setCellText(c, 0, std::to_string(c));
    for (int r = 1; r < PlateLayoutModel::kMaxGridRows; ++r)
        model_->setCellText(0, r, std::string(1, static_cast<char>('A' + r - 1)));
}

} // namespace movra
