#pragma once
// The behaviour of the graph page: the sample chooser and the wavelength
// controls rebuild the shown curves, every change of the view redraws the
// graph, the chooser follows the plate layout, and "Fit shown" fits the
// curves on show. The widgets only carry texts; the work is the core's
// (sample wells, combination, graph drawing, the fit pipeline). Handlers
// meant for the user's events show their errors in one error box.

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "batch/plate_fit.h"
#include "fitting/fit_settings.h"
#include "plot/graph_view.h"
#include "plot/winplot.h"
#include "render/graph_figure.h"
#include "reduction/wavelength_combination.h"

class QMainWindow;
class QObject;
class QString;

namespace movra {

struct AppState;
class FitLimitsDialog;
class FitProgressForm;
class GraphPage;
struct MainMenu;
class UserDialogs;

// Where a notice for the user goes (the main window's status bar).
using StatusMessage = std::function<void(const std::string&)>;

class GraphCommands {
public:
    // Connects the page's controls, View > Legend and View > Residuals.
    GraphCommands(AppState& state, GraphPage& page, MainMenu& menu, UserDialogs& dialogs,
                  StatusMessage status = {});
    // Disconnects from the page, which may outlive the commands.
    ~GraphCommands();
    GraphCommands(const GraphCommands&) = delete;
    GraphCommands& operator=(const GraphCommands&) = delete;

    // The windows a fit run uses, created after the main window.
    void AttachFitWindows(FitProgressForm& progress, FitLimitsDialog& limits, QMainWindow& mainWindow);
    // Whether they are attached (fits need the limits dialog).
    bool CanFit() const noexcept { return fitLimits_ != nullptr; }

    // Rebuilds the chooser's entries from the layout, sorted by sample number,
    // with none selected. On a label that is no sample number the chooser
    // stays as it was and the ConversionError propagates.
    void CheckPLSamples();

    // Collects the chosen sample's wells (the nine-well message at most once),
    // compiles the combination (a rejected text stops here, the wells already
    // taken), recomputes the curves and redraws. Throws the parser's error.
    // A combination naming a wavelength the plate lacks is warned about;
    // fits made on differently combined data are cleared.
    void SelectSampleChange();
    // After an import: the summary line, and the combination box following
    // the plate while the user has not typed into it (ChooseCombination).
    // Returns what the user must be told (a changed combination, the
    // combination's warning, which the summary line shows too), or "".
    std::string ShowImportedPlate(const std::string& summary);
    // The track bar's factors and labels, the curves again with the
    // combination compiled last, and a redraw.
    void TrackBar1Change();
    // Draws the graph (and the residuals when on) from the controls of the moment.
    void RefreshGraph();
    // The fit parser takes the formula box's text, then a redraw.
    void FitFormulaExit();
    void Fit_m1Exit() { RefreshGraph(); }
    // Residuals off when the residual panel is dragged down to its minimum.
    void SplitterResidualsMoved();
    // "Fit shown" / "Fit Shown": fits every shown curve, then redraws.
    void Button1Click();
    // "Guess" pressed in: the start value boxes of the formula's free
    // parameters from the curves on show over the zoom bar's reads, then a
    // redraw, which shows the start curve; while it stays in, every fit
    // ("Fit shown", "Fit all") starts from values guessed from its own curve,
    // as movra-batch --start auto does. A typed start value releases it.
    void GuessClick();
    // Copies the fitted parameters of well into the start value boxes (a
    // fixed parameter keeps its value); false when the well has no fit.
    bool UseResultAsStart(int well);
    // The same for the first well on show with a fit; returns that well, or
    // -1 when none has one.
    int UseShownResultAsStart();
    // A click on the plate map: the well's sample chosen (no nine-well
    // message) with the well among the curves on show, and a redraw.
    void ShowWell(int well);

    // The settings of the fitting controls as every fit takes them (the
    // formula compiled into Parser2) over the reads `view`. Throws the
    // parser's or the conversion's error.
    FitSettings FitSettingsOfControls(ReadRange view);
    // The reads the zoom bar selects now.
    ReadRange ZoomView() const;
    // The combination box's text with the wavelength weighting.
    CombinationSettings PlateCombination() const;

    GraphViewOptions ViewOptions() const;
    // The graph as a figure (export, copy): the plots at their on-screen
    // sizes, drawn afresh with copies of the view state and the engine, so
    // the picture on screen stays as it is.
    GraphFigureLayout FigureLayout() const;
    // Whether there is a graph to draw (a plate is imported).
    bool HasGraph() const;
    void DrawFigure(QPainter& painter, const GraphFigureLayout& layout);
    // MarqStatus's tooltip: the status of each shown well's last fit.
    QString MarqStatusTip() const;
    FitSettingTexts FitControls() const;
    WavelengthWeighting Weighting() const;
    // The combination for the reports: the combination box's text through Parser1.
    ParserCombinedValues Combination();

    GraphPage& page() { return page_; }
    PlotEngine& engine() { return engine_; }

private:
    // What the curves on show are computed from; a fit made under another
    // basis no longer belongs to the data drawn.
    struct ReductionBasis {
        std::string combination;
        int comboBox1 = 0;
        int comboBox2 = 0;
        double factorA = 1.0;
        double factorB = 1.0;
        bool averageData = false;
        friend bool operator==(const ReductionBasis&, const ReductionBasis&) = default;
    };
    // Clears every well's fit when the basis changed since the last curves.
    void ForgetFitsOfOtherData();
    // The summary line with the warning of the box's combination; returns the warning.
    std::string ShowCombinationWarning();

    void connectControls();
    // Runs a handler for a user event: errors go to the error box.
    void run(void (GraphCommands::*handler)());

    AppState& state_;
    GraphPage& page_;
    MainMenu& menu_;
    UserDialogs& dialogs_;
    StatusMessage status_;
    PlotEngine engine_;
    std::string summary_;  // the import's summary line
    // The combination text the program chose last; the box holds the user's
    // own text once it differs from it.
    std::string automaticCombination_ = "b-a";
    std::optional<ReductionBasis> basis_;
    std::string lastWarning_;  // the combination warning told last
    FitProgressForm* fitProgress_ = nullptr;
    FitLimitsDialog* fitLimits_ = nullptr;
    QMainWindow* mainWindow_ = nullptr;
    // The context of every connection and watcher: gone first, with them.
    std::unique_ptr<QObject> lifetime_;
};

} // namespace movra
