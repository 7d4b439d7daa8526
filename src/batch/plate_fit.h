#pragma once
// Fits every well of a plate, or the mean curve of every sample, with one set
// of settings on several threads. Each thread owns its two parsers and its
// curve fitter, the plate is only read while fitting, and every curve's
// result lands in its own slot, so the results do not depend on the number of
// threads. A curve gets exactly the numbers the desktop's "Fit shown" gives
// the same combined curve with the same settings: both fit through
// CurveFitter.

#include <exception>
#include <functional>
#include <string>
#include <vector>

#include "fitting/curve_fitter.h"
#include "fitting/fit_results.h"
#include "fitting/fit_settings.h"
#include "plate/plate_measurements.h"
#include "plate/sample_assignment.h"
#include "reduction/combined_values.h"
#include "reduction/wavelength_combination.h"

namespace movra {

// One curve of the run: the wells combined into it (a single well, or all
// wells of a sample for their mean) and the well its result is filed under.
struct BatchCurve {
    int Sample = 0;
    std::vector<int> Wells;  // SampleWells order
    int FiledWell() const { return Wells.front(); }
};

// The curves of the assigned wells (run FillSampleArray first): samples
// ascending, wells row-major inside a sample; with averageData one curve per
// sample, filed under its first well.
std::vector<BatchCurve> CurvesToFit(const PlateMeasurements& plate, const SampleAssignment& samples,
                                    bool averageData);

// The wavelength combination every curve is made with.
struct CombinationSettings {
    std::string CombinationText = "b-a";
    WavelengthWeighting Weighting;  // choosers and track-bar factors
};

// The combined curve of wells (curve[t + 1] = read t): the single well's
// values, or the running mean over the wells as the desktop averages shown
// curves. Throws what the combination's evaluation throws.
TVector CombinedCurve(CombinedValues& values, const std::vector<int>& wells, int timePointCount);

struct CurveFitOutcome {
    CurveFitResult Result;
    std::exception_ptr Failure;  // set when the curve could not be computed
};

// Called on the calling thread about every reportInterval while the
// workers run, and once at the end, with the curves done so far.
using FitProgressReport = std::function<void(int done, int total)>;

// Fits all curves on `threads` worker threads (at least one); outcome i
// belongs to curves[i]. Throws the parser's error for a combination or
// formula it rejects.
std::vector<CurveFitOutcome> FitPlateCurves(const PlateMeasurements& plate, const std::vector<BatchCurve>& curves,
                                            const CombinationSettings& combination, const FitSettings& fit,
                                            int threads, const FitProgressReport& report = {});

// Files the outcomes as "Fit shown" does (FitResults::File).
void FileFitResults(FitResults& results, const std::vector<BatchCurve>& curves,
                    const std::vector<CurveFitOutcome>& outcomes, const FitSettings& fit);

} // namespace movra
