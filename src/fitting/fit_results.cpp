#include "fitting/fit_results.h"

#include <algorithm>

namespace movra {

void FitResults::File(int well, const CurveFitResult& result, const std::string& statusText)
{
    auto& row = WellFitResults[static_cast<std::size_t>(well)];
    if (result.Status == OptOk) {
        std::copy(result.Row.begin(), result.Row.end(), row.begin());
        WellFitStatus[static_cast<std::size_t>(well)] = statusText;
    }
    row[0] = result.Row[0];
}

} // namespace movra
