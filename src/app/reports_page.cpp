#include "app/reports_page.h"

#include <QAction>
#include <QClipboard>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QMenu>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "app/grid_text_export.h"

namespace movra {

namespace {

// A string grid's default size, fixed row and column included.
constexpr int kStartColumns = 5;
constexpr int kStartRows = 5;
constexpr int kRowHeight = 24;

QPushButton* BuilderButton(const QString& name, const QString& caption)
{
    auto* button = new QPushButton(caption);
    button->setObjectName(name);
    return button;
}

} // namespace

ReportsPage::ReportsPage(QWidget* parent)
    : QWidget(parent),
      builder_(new QGroupBox(QStringLiteral("Report builder"))),
      showResults_(BuilderButton(QStringLiteral("ShowResBut"), QStringLiteral("Show Results"))),
      average_(BuilderButton(QStringLiteral("RepAverageBut"), QStringLiteral("Average"))),
      reducedData_(BuilderButton(QStringLiteral("RawDataBut"), QStringLiteral("Reduced Data"))),
      clearReport_(BuilderButton(QStringLiteral("bt_ClearReport"), QStringLiteral("Clear Report"))),
      grid_(new QTableWidget),
      popup_(new QMenu(this))
{
    setObjectName(QStringLiteral("ReportSheet"));

    builder_->setObjectName(QStringLiteral("GroupBox2"));
    auto* buttons = new QHBoxLayout(builder_);
    for (QPushButton* button : {showResults_, average_, reducedData_, clearReport_})
        buttons->addWidget(button);
    buttons->addStretch(1);

    grid_->setObjectName(QStringLiteral("StringGrid2"));
    grid_->horizontalHeader()->hide();
    grid_->verticalHeader()->hide();
    grid_->verticalHeader()->setDefaultSectionSize(kRowHeight);
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->setSelectionMode(QAbstractItemView::ContiguousSelection);
    setGridSize(kStartColumns, kStartRows);

    popup_->setObjectName(QStringLiteral("PopupMenu3"));
    QAction* copyAll = popup_->addAction(QStringLiteral("Copy All"));
    copyAll->setObjectName(QStringLiteral("Copy3"));
    connect(copyAll, &QAction::triggered, this, [this] { CopyReport(); });
    grid_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(grid_, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { popup_->popup(grid_->viewport()->mapToGlobal(at)); });

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(builder_);
    layout->addWidget(grid_, 1);
}

int ReportsPage::gridColumnCount() const
{
    return grid_->columnCount();
}

int ReportsPage::gridRowCount() const
{
    return grid_->rowCount();
}

void ReportsPage::setGridSize(int columns, int rows)
{
    grid_->setColumnCount(columns);
    grid_->setRowCount(rows);
}

std::string ReportsPage::cellText(int column, int row) const
{
    const QTableWidgetItem* cell = grid_->item(row, column);
    return cell ? cell->text().toStdString() : std::string();
}

void ReportsPage::setCellText(int column, int row, const std::string& text)
{
    if (column < 0 || row < 0 || column >= grid_->columnCount() || row >= grid_->rowCount())
        return;
    auto* cell = new QTableWidgetItem(QString::fromStdString(text));
    if (row == 0 || column == 0) {
        cell->setFlags(Qt::ItemIsEnabled);
        cell->setBackground(palette().button());
    }
    grid_->setItem(row, column, cell);  // the grid owns the item
}

void ReportsPage::CopyReport()
{
    const std::string text = GridAllText([this](int c, int r) { return cellText(c, r); }, gridColumnCount(),
                                         gridRowCount(), 0);
    QGuiApplication::clipboard()->setText(QString::fromStdString(text));
}

} // namespace movra
