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

FitSettings ParseFitSettings(const FitSettingTexts& texts, TParser& parser2, const TVector& limitMin,
                             const TVector& limitMax, ReadRange view, const std::string& combinationText)
{
    FitSettings settings;
    parser2.setExpression(texts.FitFormulaText);
    settings.FitFormulaText = texts.FitFormulaText;
    settings.FitFormulaIndex = texts.FitFormulaIndex;
    settings.Names = FitParameterNames(texts.FitFormulaText);
    for (int name : settings.Names)
        settings.StartValues.push_back(ParseStartValue(At(texts.StartTexts, name)));
    settings.MaxIterations = StrToInt(texts.MaxIterationsText);
    double tolerance = 0.0;
    if (TryParseCellValue(texts.ToleranceText, tolerance))
        settings.Tolerance = tolerance;
    else
        settings.Tolerance.reset();
    settings.LimitMin = limitMin;
    settings.LimitMax = limitMax;
    settings.View = view;
    settings.Derivatives = texts.Derivatives;
    settings.StatusText = combinationText + " - " + texts.FitFormulaText;
    return settings;
}

} // namespace movra
