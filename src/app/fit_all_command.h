#pragma once
// "Fit all": fits every well assigned to a sample (every well holding
// readings when the layout assigns none; with "Average Data" one mean curve
// per sample) with the settings of the fitting controls, through the
// whole-plate fit on worker threads, while the window stays responsive. A
// timer on the window's thread files each finished well as it comes (as
// "Fit shown" files it), moves the progress bar and ends the run; Cancel
// stops the workers within one iteration and keeps the wells already filed.

#include <QObject>
#include <QTimer>
#include <QWidget>

#include <memory>
#include <string>

#include "batch/plate_fit.h"

class QLabel;
class QProgressBar;
class QPushButton;

namespace movra {

struct AppState;
class GraphCommands;
class UserDialogs;

// The progress bar (wells done of all) and Cancel of a run, shown in the
// main window's status bar only while a run goes on.
class FitAllBar final : public QWidget {
    Q_OBJECT
public:
    explicit FitAllBar(QWidget* parent = nullptr);
    QProgressBar& FitAllProgress() { return *progress_; }
    QPushButton& FitAllCancel() { return *cancel_; }
    QLabel& FitAllLabel() { return *label_; }

private:
    QLabel* label_;
    QProgressBar* progress_;
    QPushButton* cancel_;
};

class FitAllCommand final : public QObject {
    Q_OBJECT
public:
    FitAllCommand(AppState& state, GraphCommands& graph, FitAllBar& bar, UserDialogs& dialogs);
    ~FitAllCommand() override;

    // Starts a run. The settings are read and checked first, so a bad text
    // throws the error "Fit shown" would show and nothing starts; without a
    // plate, without curves or while a run goes on it does nothing.
    void FitAllClick();
    // Stops the run; the wells fitted so far stay filed.
    void CancelClick();

    bool Running() const noexcept { return run_ != nullptr; }
    const PlateFitRun* Run() const noexcept { return run_.get(); }
    // Worker threads of the next run (default: all hardware threads).
    int Threads;
    // How often the window's thread files finished wells.
    static constexpr int kPollMilliseconds = 50;

signals:
    void RunningChanged(bool running);
    void Progressed();  // a poll of the run: wells may have been filed (the plate map repaints)
    void Finished();    // the run ended, completed or cancelled

private:
    void Poll();
    void End();

    AppState& state_;
    GraphCommands& graph_;
    FitAllBar& bar_;
    UserDialogs& dialogs_;
    std::unique_ptr<PlateFitRun> run_;
    std::string statusText_;  // WellFitStatus of the run's wells
    ReadRange view_;          // and the reads they are fitted over
    std::string firstFailure_;
    QTimer poll_;
};

} // namespace movra
