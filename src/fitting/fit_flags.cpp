#include "fitting/fit_flags.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "plate/import_fields.h"
#include "regression/fit_status.h"
#include "shared/number_format.h"
#include "shared/one_based.h"

namespace movra {

const char* const kFitFlagHelp =
    "Flags of a fit, each raised by one rule:\n"
    "  failed     the fit ended with a status other than OPT_OK (named with it)\n"
    "  at-limit   a fitted parameter lies at its lower or upper limit (within a millionth of the way from its start "
    "value to that limit)\n"
    "  ambiguous  a parameter's standard deviation is larger than the parameter's magnitude, or is not a number\n"
    "  poor-fit   R\u00b2 of the fitted points is below 0.9, or the residual signs form too few runs for chance "
    "(Wald-Wolfowitz runs test, z below -3, at least 10 residuals)\n"
    "  saturated  a reading of the curve's wells in the fitted reads is \"#Sat\" (35000) or was \"Range?\", or at "
    "least 3 reads of a well sit at the highest reading of their wavelength on the plate (the instrument's "
    "ceiling)";

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

struct FlagName {
    FitFlag flag;
    const char* word;
};
constexpr FlagName kFlagNames[] = {{kFlagFailed, "failed"},
                                   {kFlagAtLimit, "at-limit"},
                                   {kFlagAmbiguous, "ambiguous"},
                                   {kFlagPoorFit, "poor-fit"},
                                   {kFlagSaturated, "saturated"}};

std::string ParameterList(ParameterMask mask)
{
    std::string text;
    for (int k = 1; k <= kMaxParameters; ++k) {
        if ((mask & ParameterBit(k)) == 0) continue;
        if (!text.empty()) text += ", ";
        text += "m" + std::to_string(k);
    }
    return text;
}

// AtLimitRule for one parameter.
bool AtLimit(double value, double start, double limit)
{
    return std::fabs(value - limit) <= kAtLimitTolerance * std::fabs(start - limit);
}

} // namespace

ResidualRuns CountResidualRuns(std::span<const double> residuals)
{
    ResidualRuns runs;
    int lastSign = 0;
    for (const double r : residuals) {
        const int sign = r > 0.0 ? 1 : r < 0.0 ? -1 : 0;
        if (sign == 0) continue;
        (sign > 0 ? runs.Positive : runs.Negative) += 1;
        if (sign != lastSign) ++runs.Runs;
        lastSign = sign;
    }
    const double n1 = runs.Positive;
    const double n2 = runs.Negative;
    const double n = n1 + n2;
    if (n < kRunsMinimumResiduals) {
        runs.Z = kNaN;
    } else if (n1 == 0 || n2 == 0) {
        runs.Z = -std::numeric_limits<double>::infinity();
    } else {
        const double expected = 2.0 * n1 * n2 / n + 1.0;
        const double variance = (expected - 1.0) * (expected - 2.0) / (n - 1.0);
        runs.Z = variance > 0.0 ? (runs.Runs - expected) / std::sqrt(variance) : kNaN;
    }
    return runs;
}

SaturationCheck::SaturationCheck(const PlateMeasurements& plate) : plate_(plate)
{
    ceilings_.assign(static_cast<std::size_t>(std::max(plate.WaveLengthCount, 0)) + 1,
                     -std::numeric_limits<double>::infinity());
    for (int k = 1; k <= plate.WaveLengthCount; ++k) {
        double& ceiling = At(ceilings_, k);
        for (int well = 0; well < plate.WellCount; ++well) {
            const auto column = static_cast<std::size_t>(PlateDataColumn(k, well, plate.WellCount));
            if (column >= plate.PlateData.size()) continue;
            for (const double reading : plate.PlateData[column]) ceiling = std::max(ceiling, reading);
        }
    }
}

bool SaturationCheck::Saturated(std::span<const int> wells, ReadRange view) const
{
    const int first = std::max(view.ViewFirstPoint, 1);
    const int last = std::min(view.ViewLastPoint, plate_.TimePointCount);
    for (const int well : wells) {
        for (const auto& cell : plate_.OutOfRangeCells)
            if (cell.Well == well && cell.Read + 1 >= first && cell.Read + 1 <= last) return true;
        for (int k = 1; k <= plate_.WaveLengthCount; ++k) {
            if (static_cast<std::size_t>(PlateDataColumn(k, well, plate_.WellCount)) >= plate_.PlateData.size())
                continue;
            const double ceiling = At(ceilings_, k);
            int atCeiling = 0;
            for (int read = first; read <= last; ++read) {
                const double reading = plate_.Reading(well, k, read - 1);
                if (reading == kSaturatedReading) return true;
                if (reading == ceiling && ceiling > 0.0 && ++atCeiling >= kCeilingRepeats) return true;
            }
        }
    }
    return false;
}

FitQuality AssessFit(const CurveFitResult& result, const FitSettings& settings, bool saturated)
{
    FitQuality quality;
    quality.Status = result.Status;
    for (const int name : settings.Names) {
        quality.Used |= ParameterBit(name);
        if (At(settings.Fixed, name)) quality.Fixed |= ParameterBit(name);
    }
    quality.Points = result.Points;
    quality.FreeParameters = result.FreeParameters;
    if (saturated) quality.Flags |= kFlagSaturated;
    if (result.Status != OptOk) {
        quality.Flags |= kFlagFailed;
        return quality;
    }
    for (std::size_t k = 0; k < settings.Names.size(); ++k) {
        const int name = settings.Names[k];
        if (At(settings.Fixed, name)) continue;  // held where the user put it
        const double value = At(result.Row, name);
        const double sd = At(result.Row, kMaxParameters + name);
        const double start = settings.StartValues[k];
        if (AtLimit(value, start, At(settings.LimitMin, name)) || AtLimit(value, start, At(settings.LimitMax, name)))
            quality.AtLimit |= ParameterBit(name);
        if (!std::isfinite(sd) || sd > std::fabs(value)) quality.Ambiguous |= ParameterBit(name);
    }
    if (quality.AtLimit != 0) quality.Flags |= kFlagAtLimit;
    if (quality.Ambiguous != 0) quality.Flags |= kFlagAmbiguous;

    quality.RSquared = result.RSquared;
    quality.RunsZ = CountResidualRuns(result.Residuals).Z;
    if (quality.RSquared < kPoorFitRSquared || quality.RunsZ < kRunsZThreshold) quality.Flags |= kFlagPoorFit;
    return quality;
}

std::string FitFlagNames(FitFlags flags)
{
    std::string text;
    for (const FlagName& name : kFlagNames) {
        if ((flags & name.flag) == 0) continue;
        if (!text.empty()) text += ',';
        text += name.word;
    }
    return text;
}

std::vector<std::string> DescribeFitFlags(const FitQuality& quality)
{
    std::vector<std::string> lines;
    const FitFlags flags = quality.Flags;
    if (flags & kFlagFailed) lines.push_back("failed: " + std::string(FitStatusName(quality.Status)));
    if (flags & kFlagAtLimit) lines.push_back("at a limit: " + ParameterList(quality.AtLimit));
    if (flags & kFlagAmbiguous) lines.push_back("ambiguous: " + ParameterList(quality.Ambiguous));
    if (flags & kFlagPoorFit) {
        std::string line = "poor fit:";
        if (quality.RSquared < kPoorFitRSquared) line += " R\u00b2 " + FormatGeneral(quality.RSquared);
        if (quality.RunsZ < kRunsZThreshold) {
            if (quality.RSquared < kPoorFitRSquared) line += ',';
            line += std::isfinite(quality.RunsZ)
                        ? " residual runs z " + FormatGeneral(std::round(quality.RunsZ * 10.0) / 10.0)
                        : std::string(" residuals all of one sign");
        }
        lines.push_back(line);
    }
    if (flags & kFlagSaturated) lines.push_back("saturated readings");
    return lines;
}

std::string FitStatusText(const FitQuality& quality)
{
    if (!quality.Tried()) return "not fitted";
    const std::string_view name = FitStatusName(quality.Status);
    return name.empty() ? "status " + std::to_string(quality.Status) : std::string(name);
}

} // namespace movra
