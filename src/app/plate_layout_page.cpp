#include "app/plate_layout_page.h"

#include <QAction>
#include <QComboBox>
#include <QFontMetrics>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIdentityProxyModel>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QVBoxLayout>

#include <cmath>
#include <memory>

#include "app/grid_model.h"
#include "app/table_selection.h"
#include "app/text_encoding.h"
#include "shared/conversion.h"

namespace movra {

namespace {

constexpr int kControlBarHeight = 41;
constexpr int kMemoHeight = 121;
constexpr int kLegendWidth = 150;
constexpr int kSmallestCell = 18;
constexpr int kLongestTypedNumber = 3;  // samples run up to 384
const QString kTypeHint = QStringLiteral("Type a sample number and Enter on the selection");

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

int SampleNumberOf(const QString& label)
{
    try {
        return SampleNumberOfLabel(DataBytes(label));
    } catch (const ConversionError&) {
        return 0;
    }
}

// The grid's cells on their sample's colour, the whole label as tooltip.
class SampleColours final : public QIdentityProxyModel {
public:
    using QIdentityProxyModel::QIdentityProxyModel;
    QVariant data(const QModelIndex& index, int role) const override
    {
        if (role != Qt::BackgroundRole && role != Qt::ToolTipRole)
            return QIdentityProxyModel::data(index, role);
        const QString label = QIdentityProxyModel::data(index, Qt::DisplayRole).toString();
        if (label.isEmpty())
            return {};
        if (role == Qt::ToolTipRole)
            return label;
        return PlateLayoutPage::SampleColour(SampleNumberOf(label));
    }
};

// Draws each label in the form that fits its cell.
class FittingLabelDelegate final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        const QStyle* style = option->widget ? option->widget->style() : nullptr;
        const int margin = style ? style->pixelMetric(QStyle::PM_FocusFrameHMargin, option, option->widget) + 1 : 3;
        option->text = PlateLayoutPage::FittingLabel(option->text, option->fontMetrics, option->rect.width() - 2 * margin);
        option->textElideMode = Qt::ElideNone;
        option->displayAlignment = Qt::AlignCenter;
    }
};

QPushButton* ToolButton(const QString& name, const QString& caption)
{
    auto* button = new QPushButton(caption);
    button->setObjectName(name);
    return button;
}

} // namespace

QColor PlateLayoutPage::SampleColour(int number)
{
    if (number <= 0)
        return QColor(0xDD, 0xDD, 0xDD);
    // The golden angle between neighbours spreads any run of numbers over the
    // hue circle; two lightness levels tell apart the numbers whose hues meet again.
    const double hue = std::fmod(number * 137.50776405, 360.0);
    const double value = (number / 13) % 2 == 0 ? 1.0 : 0.88;
    return QColor::fromHsvF(static_cast<float>(hue / 360.0), 0.33f, static_cast<float>(value));
}

QString PlateLayoutPage::FittingLabel(const QString& label, const QFontMetrics& metrics, int width)
{
    if (metrics.horizontalAdvance(label) <= width || !label.startsWith(QStringLiteral("Sample")))
        return label;
    const QString number = label.mid(6);
    const QString shortForm = QLatin1Char('S') + number;
    return metrics.horizontalAdvance(shortForm) <= width ? shortForm : number;
}

PlateLayoutPage::PlateLayoutPage(PlateLayout& layout, QWidget* parent)
    : QWidget(parent),
      layout_(layout),
      controlBar_(new QFrame),
      chooser_(new QComboBox),
      assign_(ToolButton(QStringLiteral("AssignBut"), QStringLiteral("Assign"))),
      clear_(ToolButton(QStringLiteral("ClearBut"), QStringLiteral("Clear"))),
      typed_(new QLabel(kTypeHint)),
      grid_(new QTableView),
      model_(new GridModel(GridModel::FixedCells::AsHeaders, this)),
      colours_(new SampleColours(this)),
      legend_(new QListWidget),
      memo1_(new QPlainTextEdit),
      popup_(new QMenu(this))
{
    setObjectName(QStringLiteral("PlateLayout"));

    controlBar_->setObjectName(QStringLiteral("ControlBar1"));
    controlBar_->setFixedHeight(kControlBarHeight);
    controlBar_->setFrameShape(QFrame::StyledPanel);
    chooser_->setObjectName(QStringLiteral("SampleChooser"));
    chooser_->setMinimumContentsLength(9);
    typed_->setObjectName(QStringLiteral("TypedSample"));
    auto* tools = new QHBoxLayout(controlBar_);
    tools->setContentsMargins(4, 2, 4, 2);
    tools->addWidget(chooser_);
    tools->addWidget(assign_);
    tools->addWidget(clear_);
    tools->addSpacing(12);
    tools->addWidget(typed_, 1);
    connect(assign_, &QPushButton::clicked, this, [this] {
        if (chooser_->currentIndex() >= 0)
            emit sampleChosen(chooser_->currentData().toInt());
    });
    connect(clear_, &QPushButton::clicked, this, [this] { emit clearChosen(); });

    model_->setCells(std::make_unique<LayoutCells>(layout_));
    colours_->setSourceModel(model_);
    grid_->setObjectName(QStringLiteral("PlateLayoutGrid"));
    grid_->setModel(colours_);
    grid_->setItemDelegate(new FittingLabelDelegate(grid_));
    grid_->setSelectionMode(QAbstractItemView::ContiguousSelection);
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->setWordWrap(false);
    for (QHeaderView* header : {grid_->horizontalHeader(), grid_->verticalHeader()}) {
        header->setMinimumSectionSize(kSmallestCell);
        header->setSectionResizeMode(QHeaderView::Stretch);
        header->setHighlightSections(false);
    }
    grid_->installEventFilter(this);

    popup_->setObjectName(QStringLiteral("PopupMenu1"));
    rebuildPopupMenu();
    grid_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(grid_, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { popup_->popup(grid_->viewport()->mapToGlobal(at)); });

    legend_->setObjectName(QStringLiteral("SampleLegend"));
    legend_->setFixedWidth(kLegendWidth);
    legend_->setSelectionMode(QAbstractItemView::NoSelection);
    legend_->setFocusPolicy(Qt::NoFocus);

    memo1_->setObjectName(QStringLiteral("Memo1"));
    memo1_->setLineWrapMode(QPlainTextEdit::NoWrap);
    memo1_->setFixedHeight(kMemoHeight);

    auto* middle = new QHBoxLayout;
    middle->setSpacing(0);
    middle->addWidget(grid_, 1);
    middle->addWidget(legend_);

    auto* page = new QVBoxLayout(this);
    page->setContentsMargins(0, 0, 0, 0);
    page->setSpacing(0);
    page->addWidget(controlBar_);
    page->addLayout(middle, 1);
    page->addWidget(memo1_);
    rebuildLegend();
}

GridSelection PlateLayoutPage::selection() const
{
    return SelectedCells(*grid_);
}

void PlateLayoutPage::refresh()
{
    model_->refresh();
    rebuildLegend();
}

void PlateLayoutPage::rebuildLegend()
{
    legend_->clear();
    for (const SampleUse& use : layout_.SamplesInUse()) {
        auto* item = new QListWidgetItem(DataText(use.Label) + QStringLiteral(" (%1 well%2)")
                                                                   .arg(use.Wells)
                                                                   .arg(use.Wells == 1 ? "" : "s"));
        item->setBackground(SampleColour(use.Number));
        item->setForeground(Qt::black);
        legend_->addItem(item);
    }
}

void PlateLayoutPage::rebuildPopupMenu()
{
    const std::vector<int>& tags = layout_.SampleMenuTags();
    // The chooser stays on its sample, unless it was on the top item: then
    // it moves on to the new top, ready for the next sample.
    const bool onTop = chooser_->currentIndex() <= 0;
    const QVariant chosen = chooser_->currentData();
    chooser_->clear();
    popup_->clear();
    for (int tag : tags) {
        const QString label = QStringLiteral("Sample%1").arg(tag);
        QAction* item = popup_->addAction(label);
        item->setObjectName(label + QLatin1Char('1'));
        item->setData(tag);
        connect(item, &QAction::triggered, this, [this, tag] { emit sampleChosen(tag); });
        chooser_->addItem(label, tag);
    }
    QAction* clear = popup_->addAction(QStringLiteral("Clear"));
    clear->setObjectName(QStringLiteral("Clear1"));
    connect(clear, &QAction::triggered, this, [this] { emit clearChosen(); });
    const int kept = onTop ? 0 : chooser_->findData(chosen);
    chooser_->setCurrentIndex(kept >= 0 ? kept : 0);
}

void PlateLayoutPage::ResetLayout()
{
    layout_.Reset();
    memo1_->clear();
    refresh();
}

void PlateLayoutPage::showTypedNumber()
{
    typed_->setText(typedNumber_.isEmpty() ? kTypeHint
                                           : QStringLiteral("Sample%1: Enter assigns it to the selection").arg(typedNumber_));
}

bool PlateLayoutPage::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != grid_ || event->type() != QEvent::KeyPress)
        return QWidget::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    const QString text = key->text();
    if (text.size() == 1 && text.front().isDigit()) {
        if (typedNumber_.size() < kLongestTypedNumber && !(typedNumber_.isEmpty() && text == QStringLiteral("0")))
            typedNumber_ += text;
        showTypedNumber();
        return true;
    }
    switch (key->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (typedNumber_.isEmpty())
            return false;
        {
            const int number = typedNumber_.toInt();
            typedNumber_.clear();
            showTypedNumber();
            emit sampleTyped(number);
        }
        return true;
    case Qt::Key_Escape:
        typedNumber_.clear();
        showTypedNumber();
        return true;
    case Qt::Key_Backspace:
        if (!typedNumber_.isEmpty()) {
            typedNumber_.chop(1);
            showTypedNumber();
            return true;
        }
        emit clearChosen();
        return true;
    case Qt::Key_Delete:
        emit clearChosen();
        return true;
    default:
        return false;
    }
}

} // namespace movra
