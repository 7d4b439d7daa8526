#include "fitting/fit_run.h"

#include <algorithm>

#include "fitting/fit_flags.h"
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
    const SaturationCheck saturation(plate);
    const int shown = curves.Count();
    for (int curve = 1; curve <= shown; ++curve) {
        const int well = At(curves.ShownWells, curve);
        if (curves.ReducedData.size() <= static_cast<std::size_t>(curve)) break;

        host.BeginCurveFit(WellName(well, plate.PlateColumns));
        const CurveFitResult result = fitter.Fit(plate.TimeVector, At(curves.ReducedData, curve),
                                                 plate.TimePointCount, onIteration);
        host.EndCurveFit(result.Status);
        // The mean curve is made of every shown well.
        const std::span<const std::int32_t> wells(curves.ShownWells.data() + curve,
                                                  static_cast<std::size_t>(averageData ? shown : 1));
        const FitSettings& settings = fitter.Settings();
        results.File(well, result, settings.StatusText, settings.View,
                     AssessFit(result, settings, saturation.Saturated(wells, settings.View)));
        if (averageData) break;
    }
}

std::vector<std::string> ShownWellsStatus(const PlateMeasurements& plate, const ShownCurves& curves,
                                          const FitResults& results, bool averageData)
{
    std::vector<std::string> lines;
    const int shown = averageData ? std::min(curves.Count(), 1) : curves.Count();
    for (int curve = 1; curve <= shown; ++curve) {
        const int well = At(curves.ShownWells, curve);
        const FitQuality& quality = At(results.WellFitQuality, well);
        std::string line = WellName(well, plate.PlateColumns) + ": " + FitStatusText(quality);
        if (quality.Flags != 0) line += " (" + FitFlagNames(quality.Flags) + ")";
        lines.push_back(std::move(line));
    }
    return lines;
}

} // namespace movra
