#pragma once
// What a fit says about itself beyond its status: the flags failed, at
// limit, ambiguous, poor fit and saturated, each raised by one named rule
// below, for every front end alike ("Fit shown", "Fit all", movra-batch).
// Pure functions of the fit's result, its settings and the plate's readings.

#include <span>
#include <string>
#include <vector>

#include "fitting/fit_results.h"
#include "fitting/fit_settings.h"
#include "plate/plate_measurements.h"
#include "plate/read_range.h"

namespace movra {

// FailedRule: the fit ended with a status other than OPT_OK.
//
// AtLimitRule: a fitted parameter lies at one of its limits, within
// kAtLimitTolerance of the distance between its start value and that limit
// (the bounded fit stops just inside a limit it runs into).
inline constexpr double kAtLimitTolerance = 1e-6;
//
// AmbiguousRule: a parameter's standard deviation is larger than the
// parameter's magnitude, or is not a finite number.
//
// PoorFitRule: R² of the fitted points is below kPoorFitRSquared, or the
// signs of the residuals form too few runs for chance (the Wald-Wolfowitz
// runs test: z below kRunsZThreshold, about p < 0.0013 one-sided, with at
// least kRunsMinimumResiduals non-zero residuals), the mark of a model that
// misses the shape of the curve.
inline constexpr double kPoorFitRSquared = 0.9;
inline constexpr double kRunsZThreshold = -3.0;
inline constexpr int kRunsMinimumResiduals = 10;
//
// SaturatedRule: a reading of the curve's wells within the fitted reads, at
// any wavelength, is "#Sat" (35000), was "Range?", or is one of at least
// kCeilingRepeats reads of the well at one wavelength's highest reading on
// the whole plate (a curve clipped at the instrument's ceiling).
inline constexpr int kCeilingRepeats = 3;

// The rules in words, for help texts.
extern const char* const kFitFlagHelp;

// The Wald-Wolfowitz runs test on the signs of residuals (zeros skipped).
struct ResidualRuns {
    int Runs = 0;
    int Positive = 0;
    int Negative = 0;
    // (Runs - expected) / sd; -infinity for residuals of one sign only; NaN
    // below kRunsMinimumResiduals residuals.
    double Z = 0.0;
};
ResidualRuns CountResidualRuns(std::span<const double> residuals);

// Whether readings of wells are saturated by SaturatedRule; finds each
// wavelength's highest reading once per plate.
class SaturationCheck {
public:
    explicit SaturationCheck(const PlateMeasurements& plate);
    // Over the reads a fit of the view takes (1-based, clipped to the plate's).
    bool Saturated(std::span<const int> wells, ReadRange view) const;

private:
    const PlateMeasurements& plate_;
    std::vector<double> ceilings_;  // by wavelength 1..WaveLengthCount
};

// The quality of one fit by the rules above; saturated from SaturationCheck.
FitQuality AssessFit(const CurveFitResult& result, const FitSettings& settings, bool saturated);

// The raised flags as comma-separated words in rule order, such as
// "at-limit,ambiguous"; empty for none.
std::string FitFlagNames(FitFlags flags);

// One line per raised flag with what raised it, such as "ambiguous: m6, m7"
// or "poor fit: R² 0.812"; none for a clean fit.
std::vector<std::string> DescribeFitFlags(const FitQuality& quality);

// The status of a well's last fit in a word or two: "OPT_OK", "OPT_SING"...,
// "not fitted" before any fit.
std::string FitStatusText(const FitQuality& quality);

} // namespace movra
