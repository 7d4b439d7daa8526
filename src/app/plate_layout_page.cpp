#include "app/plate_layout_page.h"

#include <QAction>
#include <QFrame>
#include <QHeaderView>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTableView>
#include <QVBoxLayout>

#include <memory>

#include "app/grid_model.h"
#include "app/table_selection.h"

namespace movra {

namespace {

constexpr int kColumnWidth = 56;
constexpr int kControlBarHeight = 41;
constexpr int kMemoHeight = 121;

// The shared layout seen as grid cells.
class LayoutCells final : public GridCells {
public:
    explicit LayoutCells(const PlateLayout& layout) : layout_(layout) {}
    int columnCount() const override { return layout_.ColCount(); }
    int rowCount() const override { return layout_.RowCount(); }
    std::string text(int column, int row) const override { return layout_.Cell(column, row); }

private:
    const PlateLayout& layout_;
};

} // namespace

PlateLayoutPage::PlateLayoutPage(PlateLayout& layout, QWidget* parent)
    : QWidget(parent),
      layout_(layout),
      controlBar_(new QFrame),
      grid_(new QTableView),
      model_(new GridModel(GridModel::FixedCells::AsHeaders, this)),
      memo1_(new QPlainTextEdit),
      popup_(new QMenu(this))
{
    setObjectName(QStringLiteral("PlateLayout"));

    controlBar_->setObjectName(QStringLiteral("ControlBar1"));
    controlBar_->setFixedHeight(kControlBarHeight);
    controlBar_->setFrameShape(QFrame::StyledPanel);

    model_->setCells(std::make_unique<LayoutCells>(layout_));
    grid_->setObjectName(QStringLiteral("PlateLayoutGrid"));
    grid_->setModel(model_);
    grid_->setSelectionMode(QAbstractItemView::ContiguousSelection);
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->horizontalHeader()->setDefaultSectionSize(kColumnWidth);
    grid_->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid_->horizontalHeader()->setHighlightSections(false);
    grid_->verticalHeader()->setHighlightSections(false);

    popup_->setObjectName(QStringLiteral("PopupMenu1"));
    rebuildPopupMenu();
    grid_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(grid_, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { popup_->popup(grid_->viewport()->mapToGlobal(at)); });

    memo1_->setObjectName(QStringLiteral("Memo1"));
    memo1_->setLineWrapMode(QPlainTextEdit::NoWrap);
    memo1_->setFixedHeight(kMemoHeight);

    auto* page = new QVBoxLayout(this);
    page->setContentsMargins(0, 0, 0, 0);
    page->setSpacing(0);
    page->addWidget(controlBar_);
    page->addWidget(grid_, 1);
    page->addWidget(memo1_);
}

GridSelection PlateLayoutPage::selection() const
{
    return SelectedCells(*grid_);
}

void PlateLayoutPage::refresh()
{
    model_->refresh();
}

void PlateLayoutPage::rebuildPopupMenu()
{
    popup_->clear();
    for (int tag : layout_.SampleMenuTags()) {
        QAction* item = popup_->addAction(QStringLiteral("Sample%1").arg(tag));
        item->setObjectName(QStringLiteral("Sample%1").arg(tag) + QLatin1Char('1'));
        item->setData(tag);
        connect(item, &QAction::triggered, this, [this, tag] { emit sampleChosen(tag); });
    }
    QAction* clear = popup_->addAction(QStringLiteral("Clear"));
    clear->setObjectName(QStringLiteral("Clear1"));
    connect(clear, &QAction::triggered, this, [this] { emit clearChosen(); });
}

void PlateLayoutPage::ResetLayout()
{
    layout_.Reset();
    memo1_->clear();
    refresh();
}

} // namespace movra
