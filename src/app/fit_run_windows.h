#pragma once
// The windows around "Fit shown": the progress window TForm3 shows each
// curve's iterations and takes its Cancel, the main window waits disabled
// under the busy cursor while a curve is fitted, and MarqStatus shows the
// status of the last fit. The busy cursor stays until the object is gone.

#include <string>

#include "fitting/fit_run.h"

class QLineEdit;
class QMainWindow;

namespace movra {

class FitProgressForm;

class FitRunWindows final : public FitRunHost {
public:
    FitRunWindows(FitProgressForm& progress, QMainWindow& mainWindow, QLineEdit& marqStatus);
    ~FitRunWindows() override;
    FitRunWindows(const FitRunWindows&) = delete;
    FitRunWindows& operator=(const FitRunWindows&) = delete;

    void BeginCurveFit(const std::string& wellName) override;
    bool Iteration(std::int32_t iteration, double objective, double lambda) override;
    void EndCurveFit(std::int32_t status) override;

private:
    void SetMainWindowEnabled(bool enabled);
    void SetLine(int line, const std::string& text);

    FitProgressForm& progress_;
    QMainWindow& mainWindow_;
    QLineEdit& marqStatus_;
    bool busyCursor_ = false;
};

} // namespace movra
