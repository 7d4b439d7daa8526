#include "fitting/fit_formulas.h"
#include "shared/one_based.h"

#include <cctype>

namespace movra {

std::vector<int> FitParameterNames(std::string_view formulaText)
{
    std::vector<int> names;
    for (int k = 1; k <= 8; ++k) {
        const char digit = static_cast<char>('0' + k);
        for (std::size_t i = 0; i + 1 < formulaText.size(); ++i) {
            if ((formulaText[i] == 'm' || formulaText[i] == 'M') && formulaText[i + 1] == digit) {
                names.push_back(k);
                break;
            }
        }
    }
    return names;
}

int BuiltInFormulaIndex(int itemIndex, std::string_view formulaText)
{
    if (itemIndex < 0 || itemIndex >= kBuiltInFitFormulas) return -1;
    return formulaText == At(kFitFormulas, itemIndex) ? itemIndex : -1;
}

} // namespace movra
