#include "batch/batch_settings.h"

#include <algorithm>
#include <cmath>

#include "fitting/fit_formulas.h"
#include "fitting/fit_model.h"
#include "parser/expression_compiler.h"
#include "plate/import_fields.h"
#include "shared/conversion.h"
#include "shared/message_text.h"
#include "shared/number_format.h"
#include "shared/user_locale.h"
#include "shared/one_based.h"

namespace movra {
namespace {

constexpr int kMostIterations = 1'000'000;

// The parser's message, with the limit behind it where the fixed text does
// not say it.
std::string FormulaMessage(const EMathParserError& error)
{
    std::string text = error.what();
    std::replace(text.begin(), text.end(), '\r', '\n');
    if (dynamic_cast<const ETooManyNestings*>(&error))
        text += " (at most " + std::to_string(kMaxNestingLevel) +
                " levels; each operator of a chain such as a+b+c nests one level deeper)";
    else if (dynamic_cast<const EExpressionTooComplex*>(&error))
        text += " (at most " + std::to_string(kMaxOperationsPerLevel) + " operations on one nesting level)";
    return text;
}

void CheckFormula(const std::string& option, const std::string& text, bool fitFormula)
{
    if (text.empty()) throw SettingError(option + ": the formula is empty");
    TParser parser;
    if (fitFormula) DefineFitParameters(parser);
    try {
        parser.setExpression(text);
    } catch (const EMathParserError& error) {
        throw SettingError(option + ": " + FormulaMessage(error));
    }
}

std::string ParameterText(int parameter, const std::string& text)
{
    return "m" + std::to_string(parameter) + "=" + MessageExcerpt(text);
}

// The value a limit box would give; the import's default when empty.
double LimitValue(const std::string& option, int parameter, const std::string& text, double importDefault)
{
    if (text.empty()) return importDefault;
    double value = 0.0;
    if (!TryStrToFloat(text, UserLocale::decimalSeparator(), value))
        throw SettingError(option + ": " + ParameterText(parameter, text) + " is not a number");
    if (!std::isfinite(value))
        throw SettingError(option + ": " + ParameterText(parameter, text) + " is not a finite number");
    return value;
}

} // namespace

PlateFitSettings ConvertBatchSettings(const BatchSettings& s)
{
    PlateFitSettings converted;
    CheckFormula("--combination", s.CombinationText, false);
    if (s.FitFormulaIndex < 0) CheckFormula("--formula", s.FitFormulaText, true);
    FitSettings& fit = converted.Fit;
    AllocVector(fit.LimitMin, kMaxParameters);
    AllocVector(fit.LimitMax, kMaxParameters);
    for (int m = 1; m <= kMaxParameters; ++m) {
        const std::string& text = At(s.StartTexts, m);
        double value = 0.0;
        if (!TryParseCellValue(text, value))
            throw SettingError("--start: " + ParameterText(m, text) + " is not a number");
        if (!std::isfinite(value))
            throw SettingError("--start: " + ParameterText(m, text) + " is not a finite number");
        const std::string& lowerText = At(s.LowerTexts, m);
        const std::string& upperText = At(s.UpperTexts, m);
        const double lower = LimitValue("--lower", m, lowerText, -1e20);
        const double upper = LimitValue("--upper", m, upperText, 1e20);
        At(fit.LimitMin, m) = lower;
        At(fit.LimitMax, m) = upper;
        if (lower > upper && !lowerText.empty())
            throw SettingError("--lower: " + ParameterText(m, lowerText) + " is above the upper limit " +
                             FormatGeneral(upper));
        if (lower > upper)
            throw SettingError("--upper: " + ParameterText(m, upperText) + " is below the lower limit " +
                             FormatGeneral(lower));
    }
    double tolerance = 0.0;
    if (!TryParseCellValue(s.ToleranceText, tolerance) || !std::isfinite(tolerance) || tolerance <= 0.0)
        throw SettingError("--tol: " + QuotedForMessage(s.ToleranceText) + " is not a positive number");
    std::int32_t iterations = 0;
    try {
        iterations = StrToInt(s.MaxIterationsText);
    } catch (const ConversionError&) {
    }
    if (iterations < 1 || iterations > kMostIterations)
        throw SettingError("--max-iter: " + QuotedForMessage(s.MaxIterationsText) + " is not a whole number from 1 to " +
                         std::to_string(kMostIterations));

    fit.FitFormulaText = s.FitFormulaText;
    fit.FitFormulaIndex = s.FitFormulaIndex;
    SetFormulaParameters(fit, s.StartTexts, s.FixedTicks);
    fit.GuessStarts = s.GuessStarts;
    fit.MaxIterations = iterations;
    fit.Tolerance = tolerance;
    fit.Derivatives = s.Derivatives;
    fit.StatusText = s.CombinationText + " - " + s.FitFormulaText;
    converted.Combination.CombinationText = s.CombinationText;
    converted.Combination.Weighting = s.Weighting;
    const TrackBarWeights weights = TrackBarFactors(s.TrackBarPosition);
    converted.Combination.Weighting.WaveFactorA = weights.WaveFactorA;
    converted.Combination.Weighting.WaveFactorB = weights.WaveFactorB;
    return converted;
}


} // namespace movra
