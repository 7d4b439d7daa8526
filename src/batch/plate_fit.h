#pragma once
// Fits every well of a plate, or the mean curve of every sample, with one set
// of settings on several threads. Each thread owns its two parsers and its
// regression object, the plate is only read while fitting, and every curve's
// result lands in its own slot, so the results do not depend on the number of
// threads. A curve gets exactly the numbers the desktop's fit run gives the
// same combined curve with the same settings (same points, model and engine).

#include <exception>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "batch/batch_settings.h"
#include "fitting/fit_run.h"
#include "plate/plate_state.h"
#include "reduction/wavelength_combination.h"

namespace movra {

// One curve of the run: the wells combined into it (a single well, or all
// wells of a sample for their mean) and the well its result is filed under.
struct BatchCurve {
    int Sample = 0;
    std::vector<int> Wells;  // SampleWells order
    int FiledWell() const { return Wells.front(); }
};

// The curves of the assigned wells from state.SampleWells (run
// FillSampleArray first): samples ascending, wells row-major inside a
// sample; with averageData one curve per sample, filed under its first well.
std::vector<BatchCurve> CurvesToFit(const PlateState& state, bool averageData);

// The settings converted once, in the order the desktop converts its
// controls when a sample is chosen and "Fit shown" is pressed.
struct PreparedFit {
    std::string CombinationText;
    WavelengthWeighting Weighting;
    std::string FitFormulaText;
    int FitFormulaIndex = -1;
    std::vector<int> Names;           // parameter numbers of the formula, fit order
    std::vector<double> StartValues;  // one per name
    std::int32_t MaxIterations = 500;
    std::string ToleranceText;
    TVector LimitMin;  // by parameter number 1..8
    TVector LimitMax;
    std::int32_t ViewFirstPoint = 1;
    std::int32_t ViewLastPoint = 0;
};

// Throws the parser's error for a combination or formula it rejects and
// ConversionError for a start value, iteration cap, tolerance or limit text
// that is not a number. The tolerance is refused here rather than failing
// every fit one by one.
PreparedFit PrepareFit(const BatchSettings& settings, const PlateMeasurements& plate);

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
// belongs to curves[i]. state.WaveFactorA/B must hold the track bar's factors.
std::vector<CurveFitOutcome> FitPlateCurves(const PlateState& state, const std::vector<BatchCurve>& curves,
                                            const PreparedFit& fit, int threads,
                                            const FitProgressReport& report = {});

// Files the outcomes as the fit run does: on success the whole row and the
// status text (combination + " - " + formula), the ChiSq column always.
void FileFitResults(PlateState& state, const std::vector<BatchCurve>& curves,
                    const std::vector<CurveFitOutcome>& outcomes, const PreparedFit& fit);

} // namespace movra
