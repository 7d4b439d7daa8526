#include "fitting/fit_run.h"

#include "shared/number_format.h"
#include "shared/one_based.h"

namespace movra {

std::array<std::string, 3> FitProgressLines(std::int32_t iteration, double objective, double lambda)
{
    return {"Iteration:" + std::to_string(iteration), "        F:" + FormatGeneral(objective),
            "   Lambda:" + FormatGeneral(lambda)};
}

void FitShownCurves(const PlateMeasurements& plate, const ShownCurves& curves, CurveFitter& fitter,
                    bool averageData, FitResults& results, FitRunHost& host)
{
    const IterationCallback onIteration = [&host](std::int32_t iteration, double objective, double lambda) {
        return host.Iteration(iteration, objective, lambda);
    };
    for (int curve = 1; curve <= kMaxShownCurves; ++curve) {
        const int well = At(curves.ShownWells, curve);
        if (well < 0 || curves.ReducedData.size() <= static_cast<std::size_t>(curve)) break;

        host.BeginCurveFit(WellName(well, plate.PlateColumns));
        const CurveFitResult result = fitter.Fit(plate.TimeVector, At(curves.ReducedData, curve),
                                                 plate.TimePointCount, onIteration);
        host.EndCurveFit(result.Status);
        results.File(well, result, fitter.Settings().StatusText, fitter.Settings().View);
        if (averageData) break;
    }
}

} // namespace movra
