#include "app/fit_all_command.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

#include <exception>
#include <thread>

#include "app/app_state.h"
#include "app/fitting_panel.h"
#include "app/graph_commands.h"
#include "app/graph_page.h"
#include "app/user_dialogs.h"
#include "reduction/sample_wells.h"

namespace movra {

namespace {

std::string MessageOf(const std::exception_ptr& failure)
{
    try {
        std::rethrow_exception(failure);
    } catch (const std::exception& error) {
        return error.what();
    } catch (...) {
        return "Unknown error";
    }
}

} // namespace

FitAllBar::FitAllBar(QWidget* parent)
    : QWidget(parent), label_(new QLabel(QStringLiteral("Fit all"))), progress_(new QProgressBar),
      cancel_(new QPushButton(QStringLiteral("Cancel")))
{
    setObjectName(QStringLiteral("FitAllBar"));
    label_->setObjectName(QStringLiteral("FitAllLabel"));
    progress_->setObjectName(QStringLiteral("FitAllProgress"));
    progress_->setFormat(QStringLiteral("%v / %m wells"));
    progress_->setMinimumWidth(220);
    cancel_->setObjectName(QStringLiteral("FitAllCancel"));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(label_);
    layout->addWidget(progress_);
    layout->addWidget(cancel_);
}

FitAllCommand::FitAllCommand(AppState& state, GraphCommands& graph, FitAllBar& bar, UserDialogs& dialogs)
    : Threads(std::max(1, static_cast<int>(std::thread::hardware_concurrency()))), state_(state), graph_(graph),
      bar_(bar), dialogs_(dialogs)
{
    poll_.setInterval(kPollMilliseconds);
    connect(&poll_, &QTimer::timeout, this, [this] { Poll(); });
    connect(&bar_.FitAllCancel(), &QPushButton::clicked, this, [this] { CancelClick(); });
}

// The run's destructor cancels it and waits for its workers.
FitAllCommand::~FitAllCommand() = default;

void FitAllCommand::FitAllClick()
{
    const PlateMeasurements& plate = state_.plate;
    if (run_ || !graph_.CanFit() || plate.LastXValue == 0.0 || plate.PlateData.empty()) return;
    FitSettings settings = graph_.FitSettingsOfControls(graph_.ZoomView());
    CombinationSettings combination = graph_.PlateCombination();
    {
        // A combination the parser rejects stops here, as choosing a sample would.
        TParser probe;
        ParserCombinedValues(probe, plate, combination.CombinationText, combination.Weighting).CompileCombination();
    }
    FillSampleArray(state_.layout, plate, state_.samples);
    const bool averageData = graph_.page().fitting().CheckBox4().isChecked();
    std::vector<BatchCurve> curves = state_.samples.SampleWellCount > 0
                                         ? CurvesToFit(plate, state_.samples, averageData)
                                         : CurvesOfEveryWell(plate, averageData);
    if (curves.empty()) return;

    statusText_ = settings.StatusText;
    view_ = settings.View;
    firstFailure_.clear();
    // The run fits a copy of the plate, so an import meanwhile cannot pull it away.
    run_ = std::make_unique<PlateFitRun>(std::make_shared<const PlateMeasurements>(plate), std::move(curves),
                                         std::move(combination), std::move(settings), Threads);
    bar_.FitAllLabel().setText(QStringLiteral("Fit all"));
    bar_.FitAllProgress().setRange(0, run_->Total());
    bar_.FitAllProgress().setValue(0);
    bar_.FitAllCancel().setEnabled(true);
    poll_.start();
    emit RunningChanged(true);
}

void FitAllCommand::CancelClick()
{
    if (!run_) return;
    run_->Cancel();
    bar_.FitAllLabel().setText(QStringLiteral("Cancelling"));
    bar_.FitAllCancel().setEnabled(false);
}

void FitAllCommand::Poll()
{
    if (!run_) return;
    const bool stopped = run_->Finished();
    for (const int curve : run_->TakeFinished()) {
        const CurveFitOutcome& outcome = run_->Outcome(curve);
        if (outcome.Failure) {
            if (firstFailure_.empty()) firstFailure_ = MessageOf(outcome.Failure);
            continue;
        }
        state_.fits.File(run_->Curves().at(static_cast<std::size_t>(curve)).FiledWell(), outcome.Result, statusText_,
                         view_, outcome.Quality);
    }
    bar_.FitAllProgress().setValue(run_->Done());
    emit Progressed();
    if (stopped) End();
}

void FitAllCommand::End()
{
    poll_.stop();
    std::string failure = firstFailure_;
    try {
        run_->TakeOutcomes();
    } catch (const std::exception& error) {
        failure = error.what();
    }
    run_.reset();
    emit RunningChanged(false);
    try {
        graph_.RefreshGraph();
    } catch (const std::exception&) {
        // The next command's redraw reports a fault of the graph.
    }
    emit Finished();
    if (!failure.empty()) dialogs_.ShowError(failure);
}

} // namespace movra
