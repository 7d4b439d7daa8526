#include "app/main_window.h"

#include <QAction>
#include <QComboBox>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTabWidget>

#include "app/about_form.h"
#include "app/command_guard.h"
#include "app/data_review_page.h"
#include "app/fit_all_command.h"
#include "app/fit_limits_dialog.h"
#include "app/fit_progress_form.h"
#include "app/fitting_panel.h"
#include "app/form_position.h"
#include "app/graph_commands.h"
#include "app/graph_page.h"
#include "app/import_interaction_dialogs.h"
#include "app/plate_layout_commands.h"
#include "app/plate_layout_page.h"
#include "app/plate_map_page.h"
#include "app/plot/plate_map_view.h"
#include "app/reports_page.h"
#include "app/text_encoding.h"
#include "app/user_dialogs.h"
#include "app/window_placement.h"
#include "fitting/fit_model.h"
#include "plate/sm_import.h"
#include "plate/table_import.h"
#include "plate/text_decoding.h"

namespace movra {

namespace {

constexpr int kStartWidth = 760;
constexpr int kStartHeight = 595;
constexpr int kMinimumHeight = 320;

} // namespace

MainWindow::MainWindow(UserDialogs& dialogs, QWidget* parent)
    : QMainWindow(parent), dialogs_(dialogs), menu_(*menuBar()), pages_(new QTabWidget)
{
    setObjectName(QStringLiteral("Form1"));
    buildPages();
    connectCommands();
    connectFitAll();
    resize(kStartWidth, kStartHeight);
    setMinimumSize(kStartWidth, kMinimumHeight);

    setWindowTitle(QString::fromLatin1(kCaption));
    move(LoadFormPosition());
    AllocVector(state_.view.ParamBuffer, kMaxParameters);
    New1Click();
    state_.ParamVars = DefineFitParameters(state_.Parser2);
    state_.Parser2.setExpression(DataBytes(graph_->fitting().FitFormulaCB().currentText()));
}

MainWindow::~MainWindow()
{
    SaveFormPosition(pos());
}

void MainWindow::buildPages()
{
    pages_->setObjectName(QStringLiteral("PageControl1"));
    plateLayout_ = new PlateLayoutPage(state_.layout);
    dataReview_ = new DataReviewPage;
    graph_ = new GraphPage;
    reports_ = new ReportsPage(state_, dialogs_, [this] { return graphCommands_->Combination(); });
    pages_->addTab(plateLayout_, QStringLiteral("PlateLayout"));
    pages_->addTab(dataReview_, QStringLiteral("DataReview"));
    pages_->addTab(graph_, QStringLiteral("GraphView"));
    pages_->addTab(reports_, QStringLiteral("Reports"));

    // A page the program never shows; kept disabled and hidden.
    auto* tabSheet2 = new QWidget;
    tabSheet2->setObjectName(QStringLiteral("TabSheet2"));
    auto* memo2 = new QPlainTextEdit(tabSheet2);
    memo2->setObjectName(QStringLiteral("Memo2"));
    const int hidden = pages_->addTab(tabSheet2, QStringLiteral("TabSheet2"));
    pages_->setTabEnabled(hidden, false);
    pages_->setTabVisible(hidden, false);

    plateMap_ = new PlateMapPage(state_.layout, state_.fits);
    pages_->addTab(plateMap_, QStringLiteral("PlateMap"));

    pages_->setCurrentIndex(DataReviewIndex);
    setCentralWidget(pages_);

    graphCommands_ = std::make_unique<GraphCommands>(state_, *graph_, menu_, dialogs_);
    layoutCommands_ = std::make_unique<PlateLayoutCommands>(state_, *plateLayout_, *graphCommands_, dialogs_);

    fitAllBar_ = new FitAllBar;
    statusBar()->addPermanentWidget(fitAllBar_, 1);
    statusBar()->setObjectName(QStringLiteral("StatusBar1"));
    statusBar()->hide();
    fitAll_ = std::make_unique<FitAllCommand>(state_, *graphCommands_, *fitAllBar_, dialogs_);
}

void MainWindow::connectCommands()
{
    connect(menu_.Import1, &QAction::triggered, this, [this] { run(&MainWindow::Import1Click); });
    connect(menu_.ImportTable1, &QAction::triggered, this, [this] { run(&MainWindow::ImportTable1Click); });
    connect(menu_.Exit1, &QAction::triggered, this, [this] { Exit1Click(); });
    connect(menu_.Copy2, &QAction::triggered, this, [this] { run(&MainWindow::Copy2Click); });
    connect(menu_.About1, &QAction::triggered, this, [this] { About1Click(); });
    connect(&graph_->fitting().Button2(), &QPushButton::clicked, this, [this] { SetLimitsClick(); });
    connect(menu_.SavePlateLayout1, &QAction::triggered, this, [this] { run(&MainWindow::SavePlateLayout1Click); });
    connect(menu_.OpenPlateLayout1, &QAction::triggered, this, [this] { run(&MainWindow::OpenPlateLayout1Click); });
    for (QPushButton* fit : {&graph_->FitShownBut(), &graph_->fitting().Button1()})
        connect(fit, &QPushButton::clicked, this,
                [this] { RunCommand(dialogs_, [this] { graphCommands_->Button1Click(); }); });
}

void MainWindow::connectFitAll()
{
    const auto fitAll = [this] { RunCommand(dialogs_, [this] { fitAll_->FitAllClick(); }); };
    connect(menu_.FitAll1, &QAction::triggered, this, fitAll);
    connect(&graph_->FitAllBut(), &QPushButton::clicked, this, fitAll);
    connect(&plateMap_->FitAllBut(), &QPushButton::clicked, this, fitAll);
    // While a run goes on: no second run, no "Fit shown" and no import.
    connect(fitAll_.get(), &FitAllCommand::RunningChanged, this, [this](bool running) {
        statusBar()->setVisible(running);
        for (QAction* action : {menu_.FitAll1, menu_.Import1, menu_.ImportTable1}) action->setEnabled(!running);
        for (QPushButton* button : {&graph_->FitAllBut(), &plateMap_->FitAllBut(), &graph_->FitShownBut(),
                                    &graph_->fitting().Button1()})
            button->setEnabled(!running);
    });
    connect(fitAll_.get(), &FitAllCommand::Progressed, plateMap_, &PlateMapPage::Refresh);
    connect(fitAll_.get(), &FitAllCommand::Finished, plateMap_, &PlateMapPage::Refresh);
    connect(&plateMap_->MapView(), &PlateMapView::WellClicked, this,
            [this](int well) { RunCommand(dialogs_, [this, well] { ShowWellOnGraph(well); }); });
}

void MainWindow::ShowWellOnGraph(int well)
{
    pages_->setCurrentIndex(GraphViewIndex);
    graphCommands_->ShowWell(well);
}

void MainWindow::attachWindows(const SecondaryWindows& windows)
{
    windows_ = std::make_unique<SecondaryWindows>(windows);
    windows_->fitLimits.SetDialogs(dialogs_);
    graphCommands_->AttachFitWindows(windows_->fitProgress, windows_->fitLimits, *this);
}

void MainWindow::run(void (MainWindow::*command)())
{
    RunCommand(dialogs_, [this, command] { (this->*command)(); });
}

void MainWindow::New1Click()
{
    menu_.OpenPlateLayout1->setEnabled(false);
    menu_.SavePlateLayout1->setEnabled(false);
    plateLayout_->ResetLayout();
    dataReview_->Memo4().clear();
    dataReview_->ClearCells();
    state_.New();
}

FileDialogRequest MainWindow::ImportDialog()
{
    return {"Import SpectraMax Gemini XS Text file", "All Files|*.*|SpectraMax Text File|*.txt", 2, ""};
}

void MainWindow::Import1Click()
{
    if (const auto file = dialogs_.OpenFile(ImportDialog()))
        ImportFile(*file);
}

void MainWindow::ImportFile(const std::filesystem::path& file)
{
    QPlainTextEdit& memo4 = dataReview_->Memo4();
    memo4.setPlainText(QStringLiteral("blank"));
    const TextLines lines = LoadTextLines(file);
    memo4.setPlainText(DataText(lines.Text()));
    if (memo4.toPlainText().startsWith(QStringLiteral("blank")))
        return;

    // Enabled whatever the outcome of the reading.
    menu_.OpenPlateLayout1->setEnabled(true);
    menu_.SavePlateLayout1->setEnabled(true);
    if (!windows_)
        return;
    DialogImportInteraction interaction(dialogs_, windows_->importProgress, *this);
    std::optional<ImportedPlate> imported = ImportSMText(lines, interaction);
    if (!imported)
        return;  // the merge question was cancelled
    AcceptImport(std::move(*imported), file);
    if (graph_->SelectSample().count() > 0)
        graphCommands_->SelectSampleChange();
}

FileDialogRequest MainWindow::ImportTableDialog()
{
    return {"Import Table", "Tables|*.tsv *.csv *.txt", 1, ""};
}

void MainWindow::ImportTable1Click()
{
    if (const auto file = dialogs_.OpenFile(ImportTableDialog()))
        ImportTableFile(*file);
}

void MainWindow::ImportTableFile(const std::filesystem::path& file)
{
    // All or nothing: the raw text box and the plate change only when the
    // whole table was read.
    const TextLines lines = LoadTextLines(file);
    ImportedPlate imported = ImportTable(lines);
    if (!windows_)
        return;
    dataReview_->Memo4().setPlainText(DataText(lines.Text()));
    menu_.OpenPlateLayout1->setEnabled(true);
    menu_.SavePlateLayout1->setEnabled(true);
    AcceptImport(std::move(imported), file);
    if (graph_->SelectSample().count() > 0)
        graphCommands_->SelectSampleChange();
}

void MainWindow::AcceptImport(ImportedPlate&& imported, const std::filesystem::path& file)
{
    state_.plate = std::move(imported.plate);
    state_.review = std::move(imported.review);
    state_.layout.SetGeometryForWellCount(state_.plate.WellCount);
    plateLayout_->refresh();
    dataReview_->showReview(state_.review, state_.plate);
    graph_->Memo3().setPlainText(DataText(imported.summary));
    windows_->fitLimits.ResetLimits(-1e20, 1e20);
    setWindowTitle(QString::fromLatin1(kCaption) + QStringLiteral("- file loaded : ") +
                   DataText(file.filename().string()));
}

void MainWindow::Exit1Click()
{
    close();
}

void MainWindow::Copy2Click()
{
    switch (pages_->currentIndex()) {
    case ReportsIndex:
        reports_->CopyReport();
        break;
    case DataReviewIndex:
        dataReview_->CopySRaw();
        break;
    default:
        break;
    }
}

void MainWindow::About1Click()
{
    if (!windows_)
        return;
    CentreOn(windows_->about, *this);
    windows_->about.exec();
}

void MainWindow::SetLimitsClick()
{
    if (windows_)
        windows_->fitLimits.exec();
}

void MainWindow::SavePlateLayout1Click()
{
    layoutCommands_->SavePlateLayout1Click();
}

void MainWindow::OpenPlateLayout1Click()
{
    layoutCommands_->OpenPlateLayout1Click();
}

} // namespace movra
