#include "fitting/fit_settings.h"

#include "fitting/fit_formulas.h"
#include "plate/import_fields.h"
#include "shared/conversion.h"
#include "shared/one_based.h"

namespace movra {

double ParseStartValue(const std::string& text)
{
    const double value = ParseCellValue(text);
    return value == 0.0 ? 0.0001 : value;
}

void SetFormulaParameters(FitSettings& settings, const std::array<std::string, 9>& startTexts,
                          const std::array<bool, 9>& fixedTicks)
{
    settings.Names = FitParameterNames(settings.FitFormulaText);
    settings.StartValues.clear();
    for (int name : settings.Names) {
        // A held value is taken as typed: 0 stays 0 (the 0.0001 of a start
        // value only keeps a minimisation off zero).
        const bool ticked = At(fixedTicks, name);
        double start = ticked ? ParseCellValue(At(startTexts, name)) : ParseStartValue(At(startTexts, name));
        const bool pinned = At(settings.LimitMin, name) == At(settings.LimitMax, name);
        if (pinned) start = At(settings.LimitMin, name);
        At(settings.Fixed, name) = pinned || ticked;
        settings.StartValues.push_back(start);
    }
}

FitSettings ParseFitSettings(const FitSettingTexts& texts, TParser& parser2, const TVector& limitMin,
                             const TVector& limitMax, ReadRange view, const std::string& combinationText)
{
    FitSettings settings;
    parser2.setExpression(texts.FitFormulaText);
    settings.FitFormulaText = texts.FitFormulaText;
    settings.FitFormulaIndex = texts.FitFormulaIndex;
    settings.LimitMin = limitMin;
    settings.LimitMax = limitMax;
    SetFormulaParameters(settings, texts.StartTexts, texts.FixedTicks);
    settings.MaxIterations = StrToInt(texts.MaxIterationsText);
    double tolerance = 0.0;
    if (TryParseCellValue(texts.ToleranceText, tolerance))
        settings.Tolerance = tolerance;
    else
        settings.Tolerance.reset();
    settings.View = view;
    settings.Derivatives = texts.Derivatives;
    settings.GuessStarts = texts.GuessStarts;
    settings.StatusText = combinationText + " - " + texts.FitFormulaText;
    return settings;
}

} // namespace movra
