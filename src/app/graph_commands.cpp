#include "app/graph_commands.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QPlainTextEdit>
#include <QSlider>
#include <QSplitter>
#include <QToolTip>

#include <algorithm>
#include <exception>
#include <functional>

#include "app/app_state.h"
#include "app/command_guard.h"
#include "app/fit_limits_dialog.h"
#include "app/fit_run_windows.h"
#include "app/fitting_panel.h"
#include "app/graph_page.h"
#include "app/main_menu.h"
#include "app/plot/graph_paint_box.h"
#include "app/plot/graph_redraw.h"
#include "app/plot/zoomler_widget.h"
#include "app/text_encoding.h"
#include "app/user_dialogs.h"
#include "plot/graph_model.h"
#include "fitting/fit_run.h"
#include "fitting/start_values.h"
#include "plot/plate_map.h"
#include "shared/number_format.h"
#include "reduction/combination_choice.h"
#include "reduction/sample_wells.h"
#include "shared/one_based.h"

namespace movra {

namespace {

// Runs an action when the keyboard focus leaves the watched widget for
// another control of the window (not when a popup opens or the window
// loses activation, e.g. to an error box).
class FocusOutWatcher final : public QObject {
public:
    FocusOutWatcher(QObject& owner, QWidget& widget, std::function<void()> action)
        : QObject(&owner), action_(std::move(action))
    {
        widget.installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::FocusOut) {
            const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
            if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason)
                action_();
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> action_;
};

// Answers tooltip requests of a widget with a text made at that moment.
class TooltipSource final : public QObject {
public:
    TooltipSource(QObject& owner, QWidget& widget, std::function<QString()> text)
        : QObject(&owner), text_(std::move(text))
    {
        widget.installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::ToolTip) return QObject::eventFilter(watched, event);
        QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(), text_(), static_cast<QWidget*>(watched));
        return true;
    }

private:
    std::function<QString()> text_;
};

// The residual panel comes back 150 pixels high when the panel has room for
// it; a splitter would otherwise give a panel shown again its minimum.
void GiveResidualsTheirHeight(QSplitter& splitter)
{
    constexpr int kResidualsHeight = 150;
    const QList<int> sizes = splitter.sizes();
    if (sizes.size() != 2)
        return;
    const int total = sizes.at(0) + sizes.at(1);
    if (total >= 2 * kResidualsHeight)
        splitter.setSizes({kResidualsHeight, total - kResidualsHeight});
}

} // namespace

GraphCommands::GraphCommands(AppState& state, GraphPage& page, MainMenu& menu, UserDialogs& dialogs,
                             StatusMessage status)
    : state_(state), page_(page), menu_(menu), dialogs_(dialogs), status_(std::move(status)),
      lifetime_(std::make_unique<QObject>())
{
    connectControls();
}

GraphCommands::~GraphCommands()
{
    page_.PaintBox1().SetPaintHandler({});
}

void GraphCommands::AttachFitWindows(FitProgressForm& progress, FitLimitsDialog& limits, QMainWindow& mainWindow)
{
    fitProgress_ = &progress;
    fitLimits_ = &limits;
    mainWindow_ = &mainWindow;
}

void GraphCommands::run(void (GraphCommands::*handler)())
{
    RunCommand(dialogs_, [this, handler] { (this->*handler)(); });
}

void GraphCommands::connectControls()
{
    // Every connection and watcher lives as long as these commands, not as
    // long as the widgets: a widget's last events while the window is torn
    // down (a focus-out, a repaint) must not reach commands already gone.
    QObject* context = lifetime_.get();
    // User choices only: the program's own changes of the chooser call the handler itself.
    QObject::connect(&page_.SelectSample(), &QComboBox::activated, context,
                     [this] { run(&GraphCommands::SelectSampleChange); });
    QObject::connect(&page_.WaveLengthCombination(), &QComboBox::activated, context,
                     [this] { run(&GraphCommands::SelectSampleChange); });
    new FocusOutWatcher(*context, page_.WaveLengthCombination(), [this] { run(&GraphCommands::SelectSampleChange); });
    QObject::connect(page_.WaveLengthCombination().lineEdit(), &QLineEdit::returnPressed, context,
                     [this] { run(&GraphCommands::SelectSampleChange); });
    QObject::connect(&page_.fitting().CheckBox4(), &QCheckBox::clicked, context,
                     [this] { run(&GraphCommands::SelectSampleChange); });

    QObject::connect(&page_.TrackBar1(), &QSlider::valueChanged, context,
                     [this] { run(&GraphCommands::TrackBar1Change); });
    for (QComboBox* chooser : {&page_.ComboBox1(), &page_.ComboBox2()})
        QObject::connect(chooser, &QComboBox::currentIndexChanged, context,
                         [this] { run(&GraphCommands::TrackBar1Change); });

    page_.PaintBox1().SetPaintHandler([this] {
        // A paint cannot open an error box; the next command's redraw reports the fault.
        try {
            RefreshGraph();
        } catch (const std::exception&) {
        }
    });
    TZoomler& zoomler = page_.Zoomler1();
    for (auto signal : {&TZoomler::Scrolling, &TZoomler::Zooming, &TZoomler::Changed})
        QObject::connect(&zoomler, signal, context, [this] { run(&GraphCommands::RefreshGraph); });
    for (QAction* item : {menu_.Legend1, menu_.ScaleResiduals1})
        QObject::connect(item, &QAction::toggled, context, [this] { run(&GraphCommands::RefreshGraph); });
    QObject::connect(menu_.Residuals1, &QAction::toggled, context, [this](bool checked) {
        page_.Residuals1Click(checked);
        if (checked)
            GiveResidualsTheirHeight(page_.SplitterResiduals());
        run(&GraphCommands::RefreshGraph);
    });
    QObject::connect(&page_.SplitterResiduals(), &QSplitter::splitterMoved, context,
                     [this] { SplitterResidualsMoved(); });

    FittingPanel& fitting = page_.fitting();
    new TooltipSource(*context, fitting.MarqStatus(), [this] { return MarqStatusTip(); });
    new FocusOutWatcher(*context, fitting.FitFormulaCB(), [this] { run(&GraphCommands::FitFormulaExit); });
    for (int k = 1; k <= kMaxParameters; ++k)
        new FocusOutWatcher(*context, fitting.FitM(k), [this] { run(&GraphCommands::Fit_m1Exit); });
    QObject::connect(&fitting.GuessBut(), &QPushButton::clicked, context, [this] { run(&GraphCommands::GuessClick); });
    // A typed start value is the user's own again.
    for (int k = 1; k <= kMaxParameters; ++k)
        QObject::connect(&fitting.FitM(k), &QLineEdit::textEdited, context,
                         [this] { page_.fitting().GuessBut().setChecked(false); });
}

void GraphCommands::CheckPLSamples()
{
    const std::vector<std::string> labels = state_.layout.CheckPLSamples();
    QComboBox& chooser = page_.SelectSample();
    const QSignalBlocker quiet(chooser);
    chooser.clear();
    for (const std::string& label : labels)
        chooser.addItem(DataText(label));
    chooser.setCurrentIndex(-1);
}

void GraphCommands::SelectSampleChange()
{
    const std::string sample = DataBytes(page_.SelectSample().currentText());
    const ShownWellsOutcome outcome = CollectShownWells(state_.layout, sample, state_.plate, state_.curves);
    if (outcome == ShownWellsOutcome::NothingChosen)
        return;
    if (outcome == ShownWellsOutcome::TooManyWells)
        dialogs_.ShowError(kTooManyCurvesMessage);
    ParserCombinedValues values = Combination();
    values.CompileCombination();
    if (const std::string warning = ShowCombinationWarning(); warning != lastWarning_) {
        lastWarning_ = warning;
        if (!warning.empty() && status_) status_(warning);
    }
    CalculateReducedData(state_.plate, state_.curves, values, page_.fitting().CheckBox4().isChecked());
    ForgetFitsOfOtherData();
    RefreshGraph();
}

std::string GraphCommands::ShowImportedPlate(const std::string& summary)
{
    summary_ = summary;
    QComboBox& box = page_.WaveLengthCombination();
    const std::string text = DataBytes(box.currentText());
    const int wavelengths = state_.plate.WaveLengthCount;
    const CombinationChoice choice = ChooseCombination(text, text != automaticCombination_, wavelengths);
    std::string notice;
    if (text == automaticCombination_ && choice.Text != text) {
        automaticCombination_ = choice.Text;
        box.setEditText(DataText(choice.Text));
        notice = "The combination is now \"" + choice.Text + "\": the plate has " + std::to_string(wavelengths) +
                 (wavelengths == 1 ? " wavelength." : " wavelengths.");
    }
    const std::string warning = ShowCombinationWarning();
    lastWarning_ = warning;
    if (!warning.empty()) notice += (notice.empty() ? "" : "  ") + warning;
    return notice;
}

std::string GraphCommands::ShowCombinationWarning()
{
    const std::string text = DataBytes(page_.WaveLengthCombination().currentText());
    const std::string warning = ChooseCombination(text, true, state_.plate.WaveLengthCount).Warning;
    QPlainTextEdit& memo = page_.Memo3();
    memo.setPlainText(DataText(warning.empty() ? summary_ : summary_ + "  " + warning));
    memo.setToolTip(memo.toPlainText());
    return warning;
}

void GraphCommands::ForgetFitsOfOtherData()
{
    const ReductionBasis basis{state_.Parser1.Expression(), page_.ComboBox1().currentIndex(),
                               page_.ComboBox2().currentIndex(), state_.WaveFactorA, state_.WaveFactorB,
                               page_.fitting().CheckBox4().isChecked()};
    if (basis_ && *basis_ != basis)
        state_.fits.Reset();
    basis_ = basis;
}

void GraphCommands::TrackBar1Change()
{
    const TrackBarWeights weights = TrackBarFactors(page_.TrackBar1().value());
    state_.WaveFactorA = weights.WaveFactorA;
    state_.WaveFactorB = weights.WaveFactorB;
    // Each label names the wavelength its factor weights: "A 100 %", "B 37 %".
    const QString first = page_.ComboBox1().currentText() + QLatin1Char(' ') + DataText(weights.Label4) + " %";
    const QString second = page_.ComboBox2().currentText() + QLatin1Char(' ') + DataText(weights.Label5) + " %";
    page_.Label4().setText(first);
    page_.Label5().setText(second);
    page_.TrackBar1().setToolTip(first + QStringLiteral(" / ") + second);
    // The combination compiled last stays in Parser1; nothing is recompiled here.
    ParserCombinedValues values(state_.Parser1, state_.plate, state_.Parser1.Expression(), Weighting());
    CalculateReducedData(state_.plate, state_.curves, values, page_.fitting().CheckBox4().isChecked());
    ForgetFitsOfOtherData();
    RefreshGraph();
}

void GraphCommands::RefreshGraph()
{
    const GraphViewOptions options = ViewOptions();
    const GraphModel model = ParserGraphModel(state_.Parser2, state_.ParamVars);
    RedrawGraph({state_.plate, state_.curves, state_.fits}, state_.view, options, model, engine_, page_.PaintBox1(),
                &page_.PaintBox2());
}

void GraphCommands::FitFormulaExit()
{
    state_.Parser2.setExpression(DataBytes(page_.fitting().FitFormulaCB().currentText()));
    RefreshGraph();
}

FitSettings GraphCommands::FitSettingsOfControls(ReadRange view)
{
    return ParseFitSettings(FitControls(), state_.Parser2, fitLimits_->LimitMin, fitLimits_->LimitMax, view,
                            DataBytes(page_.WaveLengthCombination().currentText()));
}

ReadRange GraphCommands::ZoomView() const
{
    return ReadsInView(state_.plate.TimePointCount, page_.Zoomler1().Start(), page_.Zoomler1().Finish());
}

CombinationSettings GraphCommands::PlateCombination() const
{
    return {DataBytes(page_.WaveLengthCombination().currentText()), Weighting()};
}

void GraphCommands::ShowWell(int well)
{
    const PlateLayout& layout = state_.layout;
    const int columns = state_.plate.PlateColumns;
    if (well < 0 || columns <= 0 || well >= state_.plate.WellCount) return;
    QComboBox& chooser = page_.SelectSample();
    {
        const QSignalBlocker quiet(chooser);
        chooser.setCurrentIndex(chooser.findText(DataText(layout.Cell(well % columns + 1, well / columns + 1))));
    }
    CollectShownWellsAround(layout, well, state_.plate, state_.curves);
    ParserCombinedValues values = Combination();
    values.CompileCombination();
    CalculateReducedData(state_.plate, state_.curves, values, page_.fitting().CheckBox4().isChecked());
    RefreshGraph();
}

void GraphCommands::Button1Click()
{
    if (fitProgress_ == nullptr) return;
    {
        const FitSettings settings = FitSettingsOfControls(state_.view.View);
        CurveFitter fitter(state_.Parser2, state_.ParamVars, settings);
        FitRunWindows host(*fitProgress_, *mainWindow_, page_.fitting().MarqStatus());
        FitShownCurves(state_.plate, state_.curves, fitter, page_.fitting().CheckBox4().isChecked(), state_.fits,
                       host);
    }  // the busy cursor ends with the run
    RefreshGraph();
}

void GraphCommands::SplitterResidualsMoved()
{
    // Dragging the residual panel down to its smallest height means "no
    // residuals": the menu's check mark goes off, which hides the panel.
    GraphPaintBox& residuals = page_.PaintBox2();
    if (residuals.isVisible() && residuals.height() <= residuals.minimumHeight())
        menu_.Residuals1->setChecked(false);
}

namespace {

QString StartValueText(double value)
{
    return DataText(FormatGeneral(RoundSignificant(value, 6)));
}

} // namespace

void GraphCommands::GuessClick()
{
    if (!page_.fitting().GuessBut().isChecked()) return;  // back to the values in the boxes
    if (!CanFit() || state_.curves.Count() == 0) return;
    const FitSettings settings = FitSettingsOfControls(ZoomView());
    const StartValueSet guess =
        GuessForShownCurves(state_.plate, state_.curves, state_.Parser2, state_.ParamVars, settings);
    for (const int name : settings.Names)
        if (!At(settings.Fixed, name)) page_.fitting().FitM(name).setText(StartValueText(At(guess, name)));
    RefreshGraph();
}

bool GraphCommands::UseResultAsStart(int well)
{
    if (!state_.fits.Fitted(well)) return false;
    const TVector& row = At(state_.fits.WellFitResults, well);
    FittingPanel& fitting = page_.fitting();
    for (int k = 1; k <= kMaxParameters; ++k)
        if (!fitting.FixM(k).isChecked()) fitting.FitM(k).setText(StartValueText(At(row, k)));
    fitting.GuessBut().setChecked(false);
    RefreshGraph();
    return true;
}

int GraphCommands::UseShownResultAsStart()
{
    for (int curve = 1; curve <= state_.curves.Count(); ++curve) {
        const int well = At(state_.curves.ShownWells, curve);
        if (UseResultAsStart(well)) return well;
    }
    return -1;
}

QString GraphCommands::MarqStatusTip() const
{
    const std::vector<std::string> lines =
        ShownWellsStatus(state_.plate, state_.curves, state_.fits, page_.fitting().CheckBox4().isChecked());
    QStringList texts;
    for (const std::string& line : lines) texts.append(DataText(line));
    return texts.isEmpty() ? QStringLiteral("No curves on show") : texts.join(QLatin1Char('\n'));
}

GraphViewOptions GraphCommands::ViewOptions() const
{
    GraphViewOptions options;
    options.ShowLegend = menu_.Legend1->isChecked();
    options.ShowResiduals = menu_.Residuals1->isChecked();
    options.ScaleResiduals = menu_.ScaleResiduals1->isChecked();
    options.AverageData = page_.fitting().CheckBox4().isChecked();
    options.ZoomStart = page_.Zoomler1().Start();
    options.ZoomFinish = page_.Zoomler1().Finish();
    for (int k = 1; k <= kMaxParameters; ++k)
        At(options.StartValues, k) = ParseStartValue(DataBytes(page_.fitting().FitM(k).text()));
    return options;
}

GraphFigureLayout GraphCommands::FigureLayout() const
{
    // A page never laid out has no size of its own yet: the usual one.
    const GraphPaintBox& data = page_.PaintBox1();
    const QSize dataSize = data.width() < 200 || data.height() < 150 ? QSize(800, 500) : data.size();
    const int residualHeight = std::max(page_.PaintBox2().height(), page_.PaintBox2().minimumHeight());
    return LayOutGraphFigure({state_.plate, state_.curves, state_.fits}, ViewOptions(), dataSize, residualHeight);
}

bool GraphCommands::HasGraph() const
{
    return state_.plate.LastXValue != 0.0 && !state_.plate.PlateData.empty();
}

void GraphCommands::DrawFigure(QPainter& painter, const GraphFigureLayout& layout)
{
    GraphViewState view = state_.view;
    PlotEngine engine = engine_;
    DrawGraphFigure(painter, layout, {state_.plate, state_.curves, state_.fits}, view, ViewOptions(),
                    ParserGraphModel(state_.Parser2, state_.ParamVars), engine);
}

FitSettingTexts GraphCommands::FitControls() const
{
    FittingPanel& fitting = page_.fitting();
    FitSettingTexts controls;
    const QComboBox& formula = fitting.FitFormulaCB();
    controls.FitFormulaText = DataBytes(formula.currentText());
    // An edited text keeps the index of the entry it started from; it is
    // that entry only while the texts agree.
    const int index = formula.currentIndex();
    controls.FitFormulaIndex = index >= 0 && formula.currentText() == formula.itemText(index) ? index : -1;
    for (int k = 1; k <= kMaxParameters; ++k) {
        At(controls.StartTexts, k) = DataBytes(fitting.FitM(k).text());
        At(controls.FixedTicks, k) = fitting.FixM(k).isChecked();
    }
    controls.GuessStarts = fitting.GuessBut().isChecked();
    controls.ToleranceText = DataBytes(fitting.LE_Tol().text());
    controls.MaxIterationsText = DataBytes(fitting.leMAX_IT().text());
    controls.Derivatives = fitting.NumericDerivatives().isChecked() ? DerivativeMode::ForwardDifferences
                                                                      : DerivativeMode::Exact;
    return controls;
}

WavelengthWeighting GraphCommands::Weighting() const
{
    return {page_.ComboBox1().currentIndex(), page_.ComboBox2().currentIndex(), state_.WaveFactorA,
            state_.WaveFactorB};
}

ParserCombinedValues GraphCommands::Combination()
{
    return ParserCombinedValues(state_.Parser1, state_.plate, DataBytes(page_.WaveLengthCombination().currentText()),
                                Weighting());
}

} // namespace movra
