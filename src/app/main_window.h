#pragma once
// TForm1, the main window: the page control PageControl1 with the pages
// PlateLayout, DataReview, GraphView and Reports (and the hidden, disabled
// TabSheet2), then PlateMap, the menu bar, the status bar that shows a
// "Fit all" run, and the commands that tie pages and secondary windows
// together. Creating it restores the saved position and the fit controls of
// the last session and runs the New reset; destroying it saves the position.
// Plate, table and layout files dropped on it are opened.

#include <QMainWindow>
#include <QStringList>

#include <filesystem>
#include <memory>

#include "app/app_state.h"
#include "app/main_menu.h"
#include "app/user_dialogs.h"

class QTabWidget;

namespace movra {

class AboutForm;
class DataReviewPage;
class FitAllBar;
class FitAllCommand;
class FigureCommands;
class FitLimitsDialog;
class GraphCommands;
class FitProgressForm;
class GraphPage;
class ImportProgressForm;
struct ImportedPlate;
class PlateLayoutCommands;
class PlateLayoutPage;
class PlateMapPage;
class ReportsPage;
// The windows created after the main window, which its commands use.
struct SecondaryWindows {
    FitLimitsDialog& fitLimits;
    AboutForm& about;
    ImportProgressForm& importProgress;
    FitProgressForm& fitProgress;
};

class MainWindow final : public QMainWindow {
    Q_OBJECT
public:
    static constexpr const char* kCaption = "MOVRA version 0.92 (build 060418)";

    // Page indices of PageControl1.
    enum Page { PlateLayoutIndex = 0, DataReviewIndex = 1, GraphViewIndex = 2, ReportsIndex = 3, PlateMapIndex = 5 };

    // FormCreate: caption, saved position, parameter buffer, the New reset,
    // the fit parameters m1..m8 in Parser2 and the start formula compiled.
    explicit MainWindow(UserDialogs& dialogs, QWidget* parent = nullptr);
    // FormDestroy: saves the position.
    ~MainWindow() override;

    void attachWindows(const SecondaryWindows& windows);

    AppState& state() { return state_; }
    UserDialogs& dialogs() { return dialogs_; }
    MainMenu& menu() { return menu_; }
    QTabWidget& PageControl1() { return *pages_; }
    PlateLayoutPage& plateLayoutPage() { return *plateLayout_; }
    DataReviewPage& dataReviewPage() { return *dataReview_; }
    GraphPage& graphPage() { return *graph_; }
    ReportsPage& reportsPage() { return *reports_; }
    PlateMapPage& plateMapPage() { return *plateMap_; }
    FitAllCommand& fitAll() { return *fitAll_; }
    FitAllBar& fitAllBar() { return *fitAllBar_; }
    GraphCommands& graphCommands() { return *graphCommands_; }
    PlateLayoutCommands& layoutCommands() { return *layoutCommands_; }

    // Menu commands.
    void New1Click();
    void Import1Click();
    // Imports `file` as File > Import does after its dialog (command line).
    void ImportFile(const std::filesystem::path& file);
    // File > Import Table...: a plain table (first column x, one curve per
    // further column) read into the same plate state as a SpectraMax file.
    void ImportTable1Click();
    void ImportTableFile(const std::filesystem::path& file);
    void Exit1Click();
    // Edit > Copy: the picture on the graph page and the plate map, the
    // selected text on the data review and reports pages.
    void Copy2Click();
    // File > Export Graph...: the plate map's picture when its page is
    // current, else the graph page's.
    void ExportGraph1Click();
    void About1Click();
    void SetLimitsClick();
    void SavePlateLayout1Click();
    void OpenPlateLayout1Click();
    // A click on the plate map: the well's curve on the graph page.
    void ShowWellOnGraph(int well);
    // A fitted well's parameters as start values (well -1: the first shown
    // well with a fit); the status bar says which well, or that none had one.
    void UseResultAsStart(int well);

    // Opens a plate, table or layout file as its command would after the
    // dialog (drops, File > Open Recent): a name ending in ".PLO" is a
    // layout, a file beginning "##BLOCKS=" a plate, anything else a table.
    void OpenDataFile(const std::filesystem::path& file);
    // File > Open Recent's entries, most recent first.
    QStringList RecentFileEntries() const;

    // What the next session starts with: the position, the fit controls and
    // the limits (while the limits dialog exists).
    void SaveSession();

    // The open dialogs of File > Import and File > Import Table...
    static FileDialogRequest ImportDialog();
    static FileDialogRequest ImportTableDialog();

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    // A file opened: remembered in File > Open Recent.
    void Opened(const std::filesystem::path& file);
    void rebuildRecentMenu();
    void RestoreFitControls();
    // Swaps an imported plate in and shows it everywhere.
    void AcceptImport(ImportedPlate&& imported, const std::filesystem::path& file);
    void buildPages();
    void connectCommands();
    void connectFitAll();
    // Runs a command; an escaping error is shown and ends it.
    void run(void (MainWindow::*command)());

    UserDialogs& dialogs_;
    AppState state_;
    MainMenu menu_;
    QTabWidget* pages_;
    PlateLayoutPage* plateLayout_;
    DataReviewPage* dataReview_;
    GraphPage* graph_;
    ReportsPage* reports_;
    PlateMapPage* plateMap_;
    FitAllBar* fitAllBar_;
    std::unique_ptr<GraphCommands> graphCommands_;
    std::unique_ptr<PlateLayoutCommands> layoutCommands_;
    std::unique_ptr<FigureCommands> figures_;
    std::unique_ptr<SecondaryWindows> windows_;
    std::unique_ptr<FitAllCommand> fitAll_;  // first to go: its run ends before the state it files into
};

} // namespace movra
