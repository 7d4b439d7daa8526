#include "app/reports_page.h"

#include <QAction>
#include <QClipboard>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QMenu>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include <memory>
#include <utility>

#include "app/app_state.h"
#include "app/atomic_file_save.h"
#include "app/column_widths.h"
#include "app/command_guard.h"
#include "app/grid_model.h"
#include "app/session_settings.h"
#include "app/text_encoding.h"
#include "reports/report_file.h"
#include "reports/results_report.h"

namespace movra {

namespace {

constexpr int kRowHeight = 24;

QPushButton* BuilderButton(const QString& name, const QString& caption)
{
    auto* button = new QPushButton(caption);
    button->setObjectName(name);
    return button;
}

// The shared report table seen as grid cells.
class ReportCells final : public GridCells {
public:
    explicit ReportCells(const StringTable& table) : table_(table) {}
    int columnCount() const override { return table_.ColCount(); }
    int rowCount() const override { return table_.RowCount(); }
    std::string text(int column, int row) const override { return table_.Cell(column, row); }

private:
    const StringTable& table_;
};

} // namespace

ReportsPage::ReportsPage(AppState& state, UserDialogs& dialogs, CombinationSource combination, QWidget* parent)
    : QWidget(parent),
      state_(state),
      dialogs_(dialogs),
      combination_(std::move(combination)),
      report_(state.report),
      builder_(new QGroupBox(QStringLiteral("Report builder"))),
      showResults_(BuilderButton(QStringLiteral("ShowResBut"), QStringLiteral("Show Results"))),
      average_(BuilderButton(QStringLiteral("RepAverageBut"), QStringLiteral("Average"))),
      statistics_(BuilderButton(QStringLiteral("ShowStatBut"), QStringLiteral("Statistics"))),
      reducedData_(BuilderButton(QStringLiteral("RawDataBut"), QStringLiteral("Reduced Data"))),
      clearReport_(BuilderButton(QStringLiteral("bt_ClearReport"), QStringLiteral("Clear Report"))),
      grid_(new QTableView),
      model_(new GridModel(GridModel::FixedCells::AsCells, this)),
      popup_(new QMenu(this))
{
    setObjectName(QStringLiteral("ReportSheet"));

    builder_->setObjectName(QStringLiteral("GroupBox2"));
    auto* buttons = new QHBoxLayout(builder_);
    for (QPushButton* button : {showResults_, statistics_, average_, reducedData_, clearReport_})
        buttons->addWidget(button);
    buttons->addStretch(1);

    model_->setCells(std::make_unique<ReportCells>(report_));
    grid_->setObjectName(QStringLiteral("StringGrid2"));
    grid_->setModel(model_);
    grid_->horizontalHeader()->hide();
    grid_->verticalHeader()->hide();
    grid_->verticalHeader()->setDefaultSectionSize(kRowHeight);
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->setSelectionMode(QAbstractItemView::ContiguousSelection);

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

    connect(showResults_, &QPushButton::clicked, this, [this] { runReport(&ReportsPage::ShowResButClick); });
    connect(statistics_, &QPushButton::clicked, this, [this] { runReport(&ReportsPage::ShowStatButClick); });
    connect(average_, &QPushButton::clicked, this, [this] { runReport(&ReportsPage::RepAverageButClick); });
    connect(reducedData_, &QPushButton::clicked, this, [this] { runReport(&ReportsPage::RawDataButClick); });
    connect(clearReport_, &QPushButton::clicked, this, [this] { runReport(&ReportsPage::bt_ClearReportClick); });
}

void ReportsPage::runReport(void (ReportsPage::*builder)())
{
    RunCommand(dialogs_, [this, builder] { (this->*builder)(); });
    refresh();
}

void ReportsPage::ShowResButClick()
{
    BuildResultsReport(state_.layout, state_.plate, state_.samples, state_.fits, report_);
}

void ReportsPage::ShowStatButClick()
{
    BuildStatisticsReport(state_.layout, state_.plate, state_.samples, state_.fits, report_);
}

void ReportsPage::RepAverageButClick()
{
    ParserCombinedValues values = combination_();
    BuildAverageReport(state_.layout, state_.plate, state_.samples, values, report_);
}

void ReportsPage::RawDataButClick()
{
    ParserCombinedValues values = combination_();
    BuildReducedDataReport(state_.layout, state_.plate, state_.samples, values, report_);
}

void ReportsPage::bt_ClearReportClick()
{
    ClearReport(report_);
}

void ReportsPage::refresh()
{
    model_->refresh();
    SizeColumnsToContents(*grid_);
}

void ReportsPage::ResetReport()
{
    report_ = StringTable(5, 5);
    refresh();
}

FileDialogRequest ReportsPage::SaveReportDialog()
{
    return {"Save Report As", "Tab-separated text|*.tsv|Comma-separated text|*.csv|All files|*", 1, "*.tsv", {}};
}

void ReportsPage::SaveReportAs1Click()
{
    const auto file = AskSaveFile(dialogs_, SaveReportDialog());
    if (!file)
        return;
    SaveFileAtomically(*file, ReportFileText(report_, ReportFormatOfFileName(file->filename().string())));
}

void ReportsPage::CopyReport()
{
    QGuiApplication::clipboard()->setText(DataText(CopyReportText(report_)));
}

} // namespace movra
