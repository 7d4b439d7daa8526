#pragma once
// Fits every well of a plate, or the mean curve of every sample, with one set
// of settings on several threads. Each thread owns its two parsers and its
// curve fitter, the plate is only read while fitting, and every curve's
// result lands in its own slot, so the results do not depend on the number of
// threads. A curve gets exactly the numbers the desktop's "Fit shown" gives
// the same combined curve with the same settings: both fit through
// CurveFitter.

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "fitting/curve_fitter.h"
#include "fitting/fit_flags.h"
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

// The curves of a plate without a layout, as if every well holding readings
// were Sample1 (wells ascending; with averageData their one mean curve).
std::vector<BatchCurve> CurvesOfEveryWell(const PlateMeasurements& plate, bool averageData);

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
    FitQuality Quality;          // the flags of Result (fitting/fit_flags.h)
    std::exception_ptr Failure;  // set when the curve could not be computed
    bool Finished = false;       // false: cancelled before or during its fit
};

// A whole-plate fit running on worker threads from construction on. The
// workers take the curves in order; Cancel stops them between curves and,
// through the minimiser's iteration callback, inside a curve's fit, whose
// outcome then stays unfinished. The caller polls (Done, TakeFinished) or
// waits (WaitFor); the destructor cancels and waits for the workers.
class PlateFitRun {
public:
    // The run keeps the plate alive and only reads it. A combination or
    // formula the parser rejects surfaces in TakeOutcomes; only a thread
    // that cannot be started throws here (std::system_error).
    PlateFitRun(std::shared_ptr<const PlateMeasurements> plate, std::vector<BatchCurve> curves,
                CombinationSettings combination, FitSettings fit, int threads);
    ~PlateFitRun();
    PlateFitRun(const PlateFitRun&) = delete;
    PlateFitRun& operator=(const PlateFitRun&) = delete;

    int Total() const noexcept { return static_cast<int>(curves_.size()); }
    const std::vector<BatchCurve>& Curves() const noexcept { return curves_; }
    int Done() const;       // curves finished so far
    bool Finished() const;  // every worker has stopped
    // Waits until every worker has stopped or the timeout passed; true when stopped.
    bool WaitFor(std::chrono::milliseconds timeout);
    void Cancel() noexcept { cancelled_ = true; }
    bool Cancelled() const noexcept { return cancelled_; }

    // Indices of the curves finished since the last call; their outcomes may
    // then be read with Outcome while the run goes on.
    std::vector<int> TakeFinished();
    const CurveFitOutcome& Outcome(int curve) const { return outcomes_.at(static_cast<std::size_t>(curve)); }
    // After the workers stopped: rethrows a worker's setup failure (the
    // parser's error), else hands over every outcome.
    std::vector<CurveFitOutcome> TakeOutcomes();

private:
    void Work();

    std::shared_ptr<const PlateMeasurements> plate_;
    std::vector<BatchCurve> curves_;
    CombinationSettings combination_;
    FitSettings fit_;
    SaturationCheck saturation_;
    std::vector<CurveFitOutcome> outcomes_;
    std::atomic<int> next_{0};
    std::atomic<bool> cancelled_{false};
    mutable std::mutex mutex_;
    std::condition_variable stopped_;
    int done_ = 0;
    int runningWorkers_ = 0;
    std::vector<int> newlyFinished_;
    std::exception_ptr setupFailure_;
    std::vector<std::thread> workers_;
};

// Called on the calling thread about every reportInterval while the
// workers run, and once at the end, with the curves done so far.
using FitProgressReport = std::function<void(int done, int total)>;

// Fits all curves on `threads` worker threads (at least one) and waits for
// them; outcome i belongs to curves[i]. Throws the parser's error for a
// combination or formula it rejects.
std::vector<CurveFitOutcome> FitPlateCurves(const PlateMeasurements& plate, const std::vector<BatchCurve>& curves,
                                            const CombinationSettings& combination, const FitSettings& fit,
                                            int threads, const FitProgressReport& report = {});

// Files the finished outcomes as "Fit shown" does (FitResults::File).
void FileFitResults(FitResults& results, const std::vector<BatchCurve>& curves,
                    const std::vector<CurveFitOutcome>& outcomes, const FitSettings& fit);

} // namespace movra
