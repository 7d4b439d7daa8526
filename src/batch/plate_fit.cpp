#include "batch/plate_fit.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>
#include <tuple>

#include "fitting/fit_model.h"
#include "parser/random_source.h"
#include "shared/one_based.h"

namespace movra {
namespace {

constexpr auto kReportInterval = std::chrono::milliseconds(100);

// What one worker thread owns: the combination and fit parsers with the
// curve fitter bound to them.
class WorkerFitter {
public:
    WorkerFitter(const PlateMeasurements& plate, const CombinationSettings& combination, const FitSettings& fit)
        : plate_(plate), values_(parser1_, plate, combination.CombinationText, combination.Weighting),
          slots_(DefineFitParameters(parser2_))
    {
        values_.CompileCombination();
        parser2_.setExpression(fit.FitFormulaText);
        fitter_.emplace(parser2_, slots_, fit);
    }

    CurveFitResult Fit(const BatchCurve& curve, const IterationCallback& onIteration)
    {
        // RND draws the same numbers for a curve whichever thread fits it
        // and whatever that thread fitted before.
        const auto well = static_cast<std::uint64_t>(curve.FiledWell());
        parser1_.SeedRandom(DerivedSeed(RandomSource::kDefaultSeed, 2 * well));
        parser2_.SeedRandom(DerivedSeed(RandomSource::kDefaultSeed, 2 * well + 1));
        const TVector reduced = CombinedCurve(values_, curve.Wells, plate_.TimePointCount);
        return fitter_->Fit(plate_.TimeVector, reduced, plate_.TimePointCount, onIteration);
    }

private:
    const PlateMeasurements& plate_;
    TParser parser1_;
    ParserCombinedValues values_;
    TParser parser2_;
    std::array<double*, 9> slots_;
    std::optional<CurveFitter> fitter_;
};

} // namespace

std::vector<BatchCurve> CurvesToFit(const PlateMeasurements& plate, const SampleAssignment& samples,
                                    bool averageData)
{
    std::vector<BatchCurve> curves;
    const int sampleCount = std::min(plate.WellCount, kMaxWells);
    for (int sample = 1; sample <= sampleCount; ++sample) {
        const auto& wells = At(samples.SampleWells, sample);
        std::vector<int> members;
        for (int slot = 1; slot <= sampleCount; ++slot) {
            const int well = At(wells, slot);
            if (well < 0) break;
            members.push_back(well);
        }
        if (members.empty()) continue;
        if (averageData) {
            curves.push_back({sample, std::move(members)});
        } else {
            for (int well : members) curves.push_back({sample, {well}});
        }
    }
    return curves;
}

std::vector<BatchCurve> CurvesOfEveryWell(const PlateMeasurements& plate, bool averageData)
{
    std::vector<int> wells;
    const int wellCount = std::min(plate.WellCount, kMaxWells);
    for (int well = 0; well < wellCount; ++well) {
        const auto column = static_cast<std::size_t>(PlateDataColumn(1, well, plate.WellCount));
        if (column < plate.PlateData.size() && !plate.PlateData[column].empty()) wells.push_back(well);
    }
    std::vector<BatchCurve> curves;
    if (wells.empty()) return curves;
    if (averageData) {
        curves.push_back({1, std::move(wells)});
    } else {
        for (int well : wells) curves.push_back({1, {well}});
    }
    return curves;
}

TVector CombinedCurve(CombinedValues& values, const std::vector<int>& wells, int timePointCount)
{
    TVector curve;
    AllocVector(curve, timePointCount);
    for (std::size_t c = 1; c <= wells.size(); ++c) {
        const int well = wells[c - 1];
        for (int read = 0; read < timePointCount; ++read) {
            const double y = values.CalcYpos(well, read);
            double& cell = curve[static_cast<std::size_t>(read) + 1];
            cell = wells.size() == 1 ? y : (y + static_cast<double>(c - 1) * cell) / static_cast<double>(c);
        }
    }
    return curve;
}

PlateFitRun::PlateFitRun(std::shared_ptr<const PlateMeasurements> plate, std::vector<BatchCurve> curves,
                         CombinationSettings combination, FitSettings fit, int threads)
    : plate_(std::move(plate)), curves_(std::move(curves)), combination_(std::move(combination)),
      fit_(std::move(fit)), saturation_(*plate_), outcomes_(curves_.size())
{
    const int workerCount = std::clamp(threads, 1, std::max(Total(), 1));
    runningWorkers_ = workerCount;
    workers_.reserve(static_cast<std::size_t>(workerCount));
    try {
        for (int i = 0; i < workerCount; ++i) workers_.emplace_back([this] { Work(); });
    } catch (...) {
        // No thread to be had: the workers already started stop before the run goes.
        Cancel();
        for (auto& worker : workers_) worker.join();
        throw;
    }
}

PlateFitRun::~PlateFitRun()
{
    Cancel();
    for (auto& worker : workers_)
        if (worker.joinable()) worker.join();
}

void PlateFitRun::Work()
{
    std::exception_ptr failure;
    try {
        WorkerFitter fitter(*plate_, combination_, fit_);
        const int total = Total();
        for (int job = next_++; job < total && !cancelled_; job = next_++) {
            auto& outcome = At(outcomes_, job);
            const BatchCurve& curve = At(curves_, job);
            bool interrupted = false;
            const IterationCallback onIteration = [this, &interrupted](std::int32_t, double, double) {
                interrupted = cancelled_;
                return !interrupted;
            };
            try {
                outcome.Result = fitter.Fit(curve, onIteration);
                outcome.Quality =
                    AssessFit(outcome.Result, fit_, saturation_.Saturated(curve.Wells, fit_.View));
            } catch (...) {
                outcome.Failure = std::current_exception();
            }
            if (interrupted) break;
            std::lock_guard lock(mutex_);
            outcome.Finished = true;
            ++done_;
            newlyFinished_.push_back(job);
        }
    } catch (...) {
        failure = std::current_exception();
    }
    std::lock_guard lock(mutex_);
    if (failure && !setupFailure_) setupFailure_ = failure;
    --runningWorkers_;
    stopped_.notify_all();
}

int PlateFitRun::Done() const
{
    std::lock_guard lock(mutex_);
    return done_;
}

bool PlateFitRun::Finished() const
{
    std::lock_guard lock(mutex_);
    return runningWorkers_ == 0;
}

bool PlateFitRun::WaitFor(std::chrono::milliseconds timeout)
{
    std::unique_lock lock(mutex_);
    return stopped_.wait_for(lock, timeout, [this] { return runningWorkers_ == 0; });
}

std::vector<int> PlateFitRun::TakeFinished()
{
    std::lock_guard lock(mutex_);
    std::vector<int> finished;
    finished.swap(newlyFinished_);
    return finished;
}

std::vector<CurveFitOutcome> PlateFitRun::TakeOutcomes()
{
    for (auto& worker : workers_)
        if (worker.joinable()) worker.join();
    if (setupFailure_) std::rethrow_exception(setupFailure_);
    return std::move(outcomes_);
}

std::vector<CurveFitOutcome> FitPlateCurves(const PlateMeasurements& plate, const std::vector<BatchCurve>& curves,
                                            const CombinationSettings& combination, const FitSettings& fit,
                                            int threads, const FitProgressReport& report)
{
    // The caller's plate outlives the run, which ends before this returns.
    PlateFitRun run(std::shared_ptr<const PlateMeasurements>(std::shared_ptr<void>(), &plate), curves, combination,
                    fit, threads);
    while (!run.WaitFor(kReportInterval))
        if (report) report(run.Done(), run.Total());
    std::vector<CurveFitOutcome> outcomes = run.TakeOutcomes();
    if (report) report(run.Total(), run.Total());
    return outcomes;
}

void FileFitResults(FitResults& results, const std::vector<BatchCurve>& curves,
                    const std::vector<CurveFitOutcome>& outcomes, const FitSettings& fit)
{
    for (std::size_t i = 0; i < curves.size() && i < outcomes.size(); ++i)
        if (outcomes[i].Finished && !outcomes[i].Failure)
            results.File(curves[i].FiledWell(), outcomes[i].Result, fit.StatusText, fit.View, outcomes[i].Quality);
}

} // namespace movra
