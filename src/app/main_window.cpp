#include "app/main_window.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QUrl>

#include <algorithm>
#include <fstream>
#include <stdexcept>
#include <vector>

#include "app/about_form.h"
#include "app/command_guard.h"
#include "app/data_review_page.h"
#include "app/figure_commands.h"
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
#include "app/plot/graph_paint_box.h"
#include "app/plot/plate_map_view.h"
#include "app/reports_page.h"
#include "app/session_settings.h"
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

// Whether the file's text begins with a plate-format file's block line
// (the file's first bytes decoded as an import would).
bool StartsLikeSpectraMaxFile(const std::filesystem::path& file)
{
    constexpr std::streamsize kPeek = 512;
    std::ifstream in(file, std::ios::binary);
    std::string bytes(static_cast<std::size_t>(kPeek), '\0');
    in.read(bytes.data(), kPeek);
    bytes.resize(static_cast<std::size_t>(std::max<std::streamsize>(in.gcount(), 0)));
    return DecodeText(std::move(bytes)).starts_with("##BLOCKS=");
}

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
    statusBar()->setObjectName(QStringLiteral("StatusBar1"));
    setAcceptDrops(true);
    AllocVector(state_.view.ParamBuffer, kMaxParameters);
    New1Click();
    state_.ParamVars = DefineFitParameters(state_.Parser2);
    RestoreFitControls();
    rebuildRecentMenu();
}

MainWindow::~MainWindow()
{
    SaveFormPosition(pos());
}

void MainWindow::RestoreFitControls()
{
    FittingPanel& fitting = graph_->fitting();
    QComboBox& formula = fitting.FitFormulaCB();
    const QString startFormula = formula.currentText();
    if (const std::optional<FitSession> session = LoadFitSession()) {
        const int entry = formula.findText(session->formula);
        if (entry >= 0)
            formula.setCurrentIndex(entry);
        else
            formula.setEditText(session->formula);
        for (int k = 1; k <= kMaxParameters; ++k) {
            fitting.FitM(k).setText(At(session->startValues, k - 1));
            fitting.FixM(k).setChecked(At(session->fixed, k - 1));
        }
        fitting.LE_Tol().setText(session->tolerance);
        fitting.leMAX_IT().setText(session->maxIterations);
    }
    try {
        state_.Parser2.setExpression(DataBytes(formula.currentText()));
    } catch (const std::exception&) {
        // A remembered formula this version rejects: the start formula instead.
        formula.setCurrentIndex(formula.findText(startFormula));
        state_.Parser2.setExpression(DataBytes(startFormula));
    }
}

void MainWindow::SaveSession()
{
    SaveFormPosition(pos());
    FittingPanel& fitting = graph_->fitting();
    FitSession session;
    session.formula = fitting.FitFormulaCB().currentText();
    for (int k = 1; k <= kMaxParameters; ++k) {
        At(session.startValues, k - 1) = fitting.FitM(k).text();
        At(session.fixed, k - 1) = fitting.FixM(k).isChecked();
    }
    session.tolerance = fitting.LE_Tol().text();
    session.maxIterations = fitting.leMAX_IT().text();
    if (windows_) {
        for (int k = 1; k <= kMaxParameters; ++k) {
            At(session.lowerLimits, k - 1) = At(windows_->fitLimits.LimitMin, k);
            At(session.upperLimits, k - 1) = At(windows_->fitLimits.LimitMax, k);
        }
    }
    SaveFitSession(session);
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

    graphCommands_ = std::make_unique<GraphCommands>(state_, *graph_, menu_, dialogs_, [this](const std::string& text) {
        statusBar()->showMessage(DataText(text));
    });
    layoutCommands_ = std::make_unique<PlateLayoutCommands>(state_, *plateLayout_, *graphCommands_, dialogs_);
    figures_ = std::make_unique<FigureCommands>(*graphCommands_, plateMap_->MapView(), dialogs_);

    fitAllBar_ = new FitAllBar;
    statusBar()->addPermanentWidget(fitAllBar_, 1);
    fitAllBar_->hide();  // the status bar keeps its messages between runs
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
    connect(menu_.FitShown1, &QAction::triggered, this, [this] {
        pages_->setCurrentIndex(GraphViewIndex);
        RunCommand(dialogs_, [this] { graphCommands_->Button1Click(); });
    });
    connect(menu_.SaveReportAs1, &QAction::triggered, this,
            [this] { RunCommand(dialogs_, [this] { reports_->SaveReportAs1Click(); }); });
    connect(menu_.ExportGraph1, &QAction::triggered, this, [this] { run(&MainWindow::ExportGraph1Click); });
}

void MainWindow::connectFitAll()
{
    const auto fitAll = [this] { RunCommand(dialogs_, [this] { fitAll_->FitAllClick(); }); };
    connect(menu_.FitAll1, &QAction::triggered, this, fitAll);
    connect(&graph_->FitAllBut(), &QPushButton::clicked, this, fitAll);
    connect(&plateMap_->FitAllBut(), &QPushButton::clicked, this, fitAll);
    // While a run goes on: no second run, no "Fit shown" and no import.
    connect(fitAll_.get(), &FitAllCommand::RunningChanged, this, [this](bool running) {
        fitAllBar_->setVisible(running);
        for (QAction* action : {menu_.FitAll1, menu_.FitShown1, menu_.Import1, menu_.ImportTable1}) action->setEnabled(!running);
        for (QPushButton* button : {&graph_->FitAllBut(), &plateMap_->FitAllBut(), &graph_->FitShownBut(),
                                    &graph_->fitting().Button1()})
            button->setEnabled(!running);
    });
    connect(fitAll_.get(), &FitAllCommand::Progressed, plateMap_, &PlateMapPage::Refresh);
    connect(fitAll_.get(), &FitAllCommand::Finished, plateMap_, &PlateMapPage::Refresh);
    connect(&plateMap_->MapView(), &PlateMapView::UseResultAsStart, this, [this](int well) {
        RunCommand(dialogs_, [this, well] { UseResultAsStart(well); });
    });
    connect(menu_.UseResultAsStart1, &QAction::triggered, this, [this] {
        RunCommand(dialogs_, [this] { UseResultAsStart(-1); });
    });
    connect(&plateMap_->MapView(), &PlateMapView::WellClicked, this,
            [this](int well) { RunCommand(dialogs_, [this, well] { ShowWellOnGraph(well); }); });
}

void MainWindow::UseResultAsStart(int well)
{
    if (well < 0)
        well = graphCommands_->UseShownResultAsStart();
    else if (!graphCommands_->UseResultAsStart(well))
        well = -1;
    statusBar()->showMessage(well >= 0 ? QStringLiteral("Start values taken from the fit of %1.")
                                             .arg(DataText(WellName(well, state_.plate.PlateColumns)))
                                       : QStringLiteral("No fitted well to take start values from."));
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
    // The limits of the last session, or none (-1E20..1E20) at a first start;
    // imports keep them.
    const FitSession session = LoadFitSession().value_or(FitSession{});
    FitLimitsDialog& limits = windows_->fitLimits;
    for (int k = 1; k <= kMaxParameters; ++k) {
        At(limits.LimitMin, k) = At(session.lowerLimits, k - 1);
        At(limits.LimitMax, k) = At(session.upperLimits, k - 1);
    }
    limits.ShowFitLimits();
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
    return {"Import SpectraMax Gemini XS Text file", "SpectraMax text|*.txt *.text|All files|*", 1, "", {}};
}

void MainWindow::Import1Click()
{
    if (const auto file = AskOpenFile(dialogs_, ImportDialog()))
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
    return {"Import Table", "Tables|*.tsv *.csv *.txt|All files|*", 1, "", {}};
}

void MainWindow::ImportTable1Click()
{
    if (const auto file = AskOpenFile(dialogs_, ImportTableDialog()))
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
    // Fits and reports of the previous plate describe data no longer loaded.
    state_.fits.Reset();
    reports_->ResetReport();
    plateLayout_->refresh();
    dataReview_->showReview(state_.review, state_.plate);
    std::string notice = MissingReadsWarning(imported);
    if (notice.empty())
        notice = "Imported " + std::to_string(state_.plate.TimePointCount) + " reads.";
    if (const std::string combination = graphCommands_->ShowImportedPlate(imported.summary); !combination.empty())
        notice += "  " + combination;
    statusBar()->showMessage(DataText(notice));
    graph_->PaintBox1().update();
    graph_->PaintBox2().update();
    setWindowTitle(QString::fromLatin1(kCaption) + QStringLiteral("- file loaded : ") +
                   DataText(file.filename().string()));
    Opened(file);
}

void MainWindow::Opened(const std::filesystem::path& file)
{
    AddRecentFile(file);
    rebuildRecentMenu();
}

QStringList MainWindow::RecentFileEntries() const
{
    return RecentFiles();
}

void MainWindow::rebuildRecentMenu()
{
    QMenu& recent = *menu_.OpenRecent1;
    recent.clear();
    const QStringList files = RecentFiles();
    if (files.isEmpty()) {
        recent.addAction(QStringLiteral("(none)"))->setEnabled(false);
        return;
    }
    int number = 0;
    for (const QString& path : files) {
        QAction* item = recent.addAction(QStringLiteral("&%1 %2").arg(++number % 10).arg(path));
        connect(item, &QAction::triggered, this,
                [this, path] { RunCommand(dialogs_, [this, path] { OpenDataFile(path.toStdString()); }); });
    }
}

void MainWindow::OpenDataFile(const std::filesystem::path& file)
{
    const std::string name = file.filename().string();
    const bool layout = QString::fromStdString(name).endsWith(QStringLiteral(".PLO"), Qt::CaseInsensitive);
    if (layout) {
        if (!menu_.OpenPlateLayout1->isEnabled())
            throw std::runtime_error("Import a plate before opening the plate layout \"" + name + "\".");
        layoutCommands_->OpenPlateLayoutFile(file);
        Opened(file);
    } else if (StartsLikeSpectraMaxFile(file)) {
        ImportFile(file);
    } else {
        ImportTableFile(file);
    }
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event)
{
    // Nothing is taken while a fit runs (it disables the menu bar).
    const QList<QUrl> urls = event->mimeData()->urls();
    if (menuBar()->isEnabled() &&
        std::any_of(urls.begin(), urls.end(), [](const QUrl& url) { return url.isLocalFile(); }))
        event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event)
{
    // Plates and tables before layouts: a plate and its layout dropped
    // together open in the order that works.
    std::vector<std::filesystem::path> plates, layouts;
    for (const QUrl& url : event->mimeData()->urls()) {
        if (!url.isLocalFile())
            continue;
        const QString path = url.toLocalFile();
        (path.endsWith(QStringLiteral(".PLO"), Qt::CaseInsensitive) ? layouts : plates).push_back(path.toStdString());
    }
    if ((plates.empty() && layouts.empty()) || !menuBar()->isEnabled())
        return;
    event->acceptProposedAction();
    plates.insert(plates.end(), layouts.begin(), layouts.end());
    // Opened after the drop has ended, so that no question or error box
    // holds up the application the files were dragged from.
    QMetaObject::invokeMethod(
        this,
        [this, files = std::move(plates)] {
            if (!menuBar()->isEnabled())
                return;
            for (const auto& file : files)
                RunCommand(dialogs_, [this, &file] { OpenDataFile(file); });
        },
        Qt::QueuedConnection);
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
    case GraphViewIndex:
    case PlateMapIndex:
        figures_->CopyPicture(pages_->currentIndex() == PlateMapIndex);
        break;
    default:
        break;
    }
}

void MainWindow::ExportGraph1Click()
{
    figures_->ExportGraph1Click(pages_->currentIndex() == PlateMapIndex);
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
    if (const auto file = layoutCommands_->OpenPlateLayout1Click())
        Opened(*file);
}

} // namespace movra
