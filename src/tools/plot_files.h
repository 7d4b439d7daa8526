#pragma once
// movra-batch's --plots: one picture file per sample of a fitted plate, as
// the desktop's graph page shows the sample after "Fit shown" (data, the
// start-value curve, the fitted curves, the legend and the residual panel),
// at most eight wells to a picture (batch/sample_pictures.h names them).
// Drawn without a display; each file is written atomically.

#include <array>
#include <filesystem>
#include <string>
#include <vector>

#include "batch/plate_fit.h"
#include "fitting/fit_results.h"

namespace movra {

struct SamplePlotSettings {
    std::filesystem::path Folder;  // created when missing
    std::string Format = "png";    // "png", "svg" or "pdf"
    bool AverageData = false;
    CombinationSettings Combination;
    std::string FitFormulaText;
    std::array<std::string, 9> StartTexts{};  // m1..m8 at 1..8, drawn as the dotted start-value curve
    double ViewStart = 1.0;
    double ViewFinish = 100.0;
    int Threads = 1;  // pictures drawn at once
};

// Writes the pictures of the run's curves with their filed fits and returns
// the files, samples ascending. Throws OutputError for a file or folder
// that cannot be written, the parser's error for a rejected formula.
std::vector<std::filesystem::path> WriteSamplePlots(const SamplePlotSettings& settings,
                                                    const PlateMeasurements& plate, const FitResults& fits,
                                                    const std::vector<BatchCurve>& curves);

} // namespace movra
