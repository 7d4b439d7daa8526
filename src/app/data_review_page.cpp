#include "app/data_review_page.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QHeaderView>
#include <QMenu>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QTableView>
#include <QVBoxLayout>

#include <string>
#include <vector>

#include "app/column_widths.h"
#include "app/grid_model.h"
#include "app/table_selection.h"
#include "app/text_encoding.h"
#include "shared/tab_text.h"
#include "shared/one_based.h"

namespace movra {

namespace {

constexpr int kRowHeight = 24;
constexpr int kColumnWidth = 64;
constexpr int kMemoHeight = 79;

void ToClipboard(const std::string& text)
{
    QGuiApplication::clipboard()->setText(DataText(text));
}

// A grid that keeps only the texts of its fixed row and column.
class FixedCellsOnly final : public GridCells {
public:
    explicit FixedCellsOnly(const GridModel& model)
    {
        for (int c = 0; c < model.gridColumnCount(); ++c)
            headerRow_.push_back(model.gridText(c, 0));
        for (int r = 0; r < model.gridRowCount(); ++r)
            headerColumn_.push_back(model.gridText(0, r));
    }
    int columnCount() const override { return static_cast<int>(headerRow_.size()); }
    int rowCount() const override { return static_cast<int>(headerColumn_.size()); }
    std::string text(int column, int row) const override
    {
        if (row == 0)
            return At(headerRow_, column);
        if (column == 0)
            return At(headerColumn_, row);
        return {};
    }

private:
    std::vector<std::string> headerRow_;
    std::vector<std::string> headerColumn_;
};

// An import's review table: file texts from the table, readings formatted
// from the plate when a cell is shown or copied.
class ReviewTableCells final : public GridCells {
public:
    ReviewTableCells(const ReviewTable& review, const PlateMeasurements& plate) : review_(review), plate_(plate) {}
    int columnCount() const override { return review_.ColumnCount(); }
    int rowCount() const override { return review_.RowCount(); }
    std::string text(int column, int row) const override { return review_.Cell(plate_, column, row); }

private:
    const ReviewTable& review_;
    const PlateMeasurements& plate_;
};

} // namespace

DataReviewPage::DataReviewPage(QWidget* parent)
    : QWidget(parent),
      grid_(new QTableView),
      model_(new GridModel(GridModel::FixedCells::AsHeaders, this)),
      memo4_(new QPlainTextEdit),
      popup_(new QMenu(this))
{
    setObjectName(QStringLiteral("DataReview"));

    model_->setCells(std::make_unique<EmptyGridCells>(kStartColumns, kStartRows));
    grid_->setObjectName(QStringLiteral("StringGrid1"));
    grid_->setModel(model_);
    grid_->setSelectionMode(QAbstractItemView::ContiguousSelection);
    grid_->setSelectionBehavior(QAbstractItemView::SelectItems);
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->setWordWrap(false);
    // Rows keep one height; columns take their texts' widths after an
    // import and can be resized.
    for (QHeaderView* header : {grid_->horizontalHeader(), grid_->verticalHeader()}) {
        header->setSectionResizeMode(QHeaderView::Fixed);
        header->setHighlightSections(false);
    }
    grid_->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    grid_->verticalHeader()->setDefaultSectionSize(kRowHeight);
    grid_->verticalHeader()->setFixedWidth(kColumnWidth);
    grid_->horizontalHeader()->setDefaultSectionSize(kColumnWidth);
    grid_->horizontalHeader()->setFixedHeight(kRowHeight);

    popup_->setObjectName(QStringLiteral("PopupMenu2"));
    QAction* copy = popup_->addAction(QStringLiteral("Copy"));
    copy->setObjectName(QStringLiteral("Copy1"));
    QAction* copyAll = popup_->addAction(QStringLiteral("Copy All"));
    copyAll->setObjectName(QStringLiteral("CopytoExcel1"));
    connect(copy, &QAction::triggered, this, [this] { CopySRaw(); });
    connect(copyAll, &QAction::triggered, this, [this] { CopytoExcel1Click(); });
    grid_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(grid_, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { popup_->popup(grid_->viewport()->mapToGlobal(at)); });

    memo4_->setObjectName(QStringLiteral("Memo4"));
    memo4_->setReadOnly(true);
    memo4_->setLineWrapMode(QPlainTextEdit::NoWrap);
    memo4_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memo4_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    auto* splitter = new QSplitter(Qt::Vertical);
    splitter->setObjectName(QStringLiteral("DataReviewSplitter"));
    splitter->addWidget(grid_);
    splitter->addWidget(memo4_);
    splitter->setStretchFactor(0, 1);
    splitter->setStretchFactor(1, 0);
    splitter->setSizes({400, kMemoHeight});

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(splitter);
}

void DataReviewPage::setReviewCells(std::unique_ptr<const GridCells> cells)
{
    model_->setCells(std::move(cells));
}

void DataReviewPage::showReview(const ReviewTable& review, const PlateMeasurements& plate)
{
    model_->setCells(std::make_unique<ReviewTableCells>(review, plate));
    SizeColumnsToContents(*grid_);
}

GridSelection DataReviewPage::selection() const
{
    return SelectedCells(*grid_);
}

void DataReviewPage::selectCells(const GridSelection& cells)
{
    SelectCells(*grid_, cells);
}

void DataReviewPage::CopySRaw()
{
    const GridSelection cells = selection();
    const GridModel& model = *model_;
    ToClipboard(TabSeparatedText(cells.Left, cells.Right, cells.Top, cells.Bottom,
                                 [&model](int c, int r, std::string& out) { out += model.gridText(c, r); }));
}

void DataReviewPage::CopytoExcel1Click()
{
    const GridModel& model = *model_;
    ToClipboard(TabSeparatedText(1, model.gridColumnCount() - 1, 0, model.gridRowCount() - 1,
                                 [&model](int c, int r, std::string& out) { out += model.gridText(c, r); }));
}

void DataReviewPage::ClearCells()
{
    model_->setCells(std::make_unique<FixedCellsOnly>(*model_));
}

} // namespace movra
