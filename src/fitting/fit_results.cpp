#include "fitting/fit_results.h"
#include "shared/one_based.h"

#include <algorithm>

namespace movra {

void FitResults::File(int well, const CurveFitResult& result, const std::string& statusText, ReadRange view,
                      const FitQuality& quality)
{
    auto& row = At(WellFitResults, well);
    if (result.Status == OptOk) {
        std::copy(result.Row.begin(), result.Row.end(), row.begin());
        At(WellFitStatus, well) = statusText;
        At(WellFitView, well) = view;
    }
    row[0] = result.Row[0];
    At(WellFitQuality, well) = quality;
}

} // namespace movra
