#pragma once
// The settings of a fit, parsed and checked once where they come in (the
// desktop's fitting controls, movra-batch's options) into numbers, so that
// every curve is fitted from the same values by the same code.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "parser/parser.h"
#include "plate/read_range.h"
#include "shared/matrices.h"

namespace movra {

// How the minimiser gets the model's derivatives: exact ones from the
// compiled formula (one pass for the model and its Jacobian), or the forward
// differences of the regression engine (step |B|·2^-26).
enum class DerivativeMode { Exact, ForwardDifferences };

// The texts of the fitting controls at the moment of the run.
struct FitSettingTexts {
    std::string FitFormulaText;
    int FitFormulaIndex = -1;              // the box's item index, -1 when typed
    std::array<std::string, 9> StartTexts; // Fit_m1 .. Fit_m8 at 1..8
    std::string ToleranceText;             // LE_Tol
    std::string MaxIterationsText;         // leMAX_IT
    std::array<bool, 9> FixedTicks{};      // the "fixed" ticks beside m1..m8 at 1..8
    bool GuessStarts = false;              // "Guess" pressed: each curve's start values from its data
    DerivativeMode Derivatives = DerivativeMode::Exact;
};

struct FitSettings {
    std::string FitFormulaText;
    int FitFormulaIndex = -1;          // as in FitSettingTexts
    std::vector<int> Names;            // parameter numbers the formula uses, fit order
    std::vector<double> StartValues;   // one per name
    // By parameter number 1..8: held at its start value, left out of the
    // minimisation and of the degrees of freedom.
    std::array<bool, 9> Fixed{};
    // Each curve starts from values guessed from its own data (fitting/
    // start_values.h) in place of StartValues; fixed parameters keep theirs.
    bool GuessStarts = false;
    TVector LimitMin;                  // by parameter number 1..8
    TVector LimitMax;
    std::int32_t MaxIterations = 500;
    // Empty when the tolerance text is no number: every fit then ends with
    // OPT_BIG_LAMBDA, as a fault inside the engine does.
    std::optional<double> Tolerance = 1e-6;
    ReadRange View;                    // the reads fitted
    DerivativeMode Derivatives = DerivativeMode::Exact;
    std::string StatusText;            // filed with each success: combination + " - " + formula
};

// Start value of a fit from a typed text: the cell-value rule ("#Sat",
// "#Low", "Error", comma or point), with 0 replaced by 0.0001.
double ParseStartValue(const std::string& text);

// The parameters of settings.FitFormulaText in fit order with their start
// values and whether each is fixed, by its tick or by limits with min = max,
// which hold it at that value (a bounded fit cannot move inside an empty
// interval). The formula text and the limits must be set.
void SetFormulaParameters(FitSettings& settings, const std::array<std::string, 9>& startTexts,
                          const std::array<bool, 9>& fixedTicks);

// The settings of the desktop's fitting controls, converted in the order of
// the fit run: the formula is compiled into parser2 (the parser's error for
// a rejected one), the start values of the parameters it uses and the
// iteration cap are converted (ConversionError), the tolerance last (a text
// that is no number leaves it empty). Limits are copied by parameter number.
FitSettings ParseFitSettings(const FitSettingTexts& texts, TParser& parser2, const TVector& limitMin,
                             const TVector& limitMax, ReadRange view, const std::string& combinationText);

} // namespace movra
