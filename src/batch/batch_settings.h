#pragma once
// The settings of one unattended run over a whole plate: the texts and
// choices a user would put into the desktop program's controls before
// "Fit shown", with the desktop's defaults, and their conversion into the
// values every curve is fitted with, checked once before any file is read.

#include <array>
#include <stdexcept>
#include <string>

#include "batch/plate_fit.h"
#include "fitting/fit_formulas.h"
#include "fitting/fit_settings.h"
#include "reduction/wavelength_combination.h"

namespace movra {

struct BatchSettings {
    std::string CombinationText = "b-a";   // WaveLengthCombination
    int TrackBarPosition = 100;             // TrackBar1, 0..200
    WavelengthWeighting Weighting{0, 1};    // ComboBox1, ComboBox2 (A..D as 0..3)

    std::string FitFormulaText = std::string(kFitFormulas[kDefaultFitFormulaIndex]);
    int FitFormulaIndex = kDefaultFitFormulaIndex;  // -1 for a typed formula
    std::array<std::string, 9> StartTexts = DefaultStartTexts();  // m1..m8 at 1..8
    std::array<bool, 9> FixedTicks{};  // held at their start values (--fix)
    bool GuessStarts = false;          // --start auto: start values from each curve
    // Limit texts of m1..m8 at 1..8; an empty text keeps the limit an import
    // sets (-1E20 below, 1E20 above).
    std::array<std::string, 9> LowerTexts{};
    std::array<std::string, 9> UpperTexts{};
    std::string ToleranceText = std::string(kDefaultTolerance);
    std::string MaxIterationsText = std::string(kDefaultMaxIterations);
    DerivativeMode Derivatives = DerivativeMode::Exact;

    double ViewStart = 1.0;    // zoom bar Start, percent of the reads
    double ViewFinish = 100.0; // zoom bar Finish
    bool AverageData = false;  // one mean curve per sample

    static std::array<std::string, 9> DefaultStartTexts()
    {
        std::array<std::string, 9> texts;
        for (std::size_t k = 0; k < texts.size(); ++k) texts[k] = std::string(kDefaultStartTexts[k]);
        return texts;
    }
};

// An option value that cannot mean anything; the message names the option.
class SettingError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The converted settings; the fit's view is set once the plate's reads are
// known (ReadsInView of ViewStart and ViewFinish).
struct PlateFitSettings {
    CombinationSettings Combination;
    FitSettings Fit;
};

// Checks and converts every text by the desktop's rules (start values by
// ParseStartValue, limits in the user's locale with empty meaning -1E20 and
// 1E20). SettingError, naming the option, for a value that cannot mean
// anything: an empty or rejected formula, a start value or limit that is no
// finite number, a lower limit above its upper one, a tolerance that is not
// positive, an iteration cap outside 1..1000000.
PlateFitSettings ConvertBatchSettings(const BatchSettings& settings);

} // namespace movra
