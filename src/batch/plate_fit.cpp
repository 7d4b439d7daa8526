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

    CurveFitResult Fit(const BatchCurve& curve)
    {
        // RND draws the same numbers for a curve whichever thread fits it
        // and whatever that thread fitted before.
        const auto well = static_cast<std::uint64_t>(curve.FiledWell());
        parser1_.SeedRandom(DerivedSeed(RandomSource::kDefaultSeed, 2 * well));
        parser2_.SeedRandom(DerivedSeed(RandomSource::kDefaultSeed, 2 * well + 1));
        const TVector reduced = CombinedCurve(values_, curve.Wells, plate_.TimePointCount);
        return fitter_->Fit(plate_.TimeVector, reduced, plate_.TimePointCount);
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

std::vector<CurveFitOutcome> FitPlateCurves(const PlateMeasurements& plate, const std::vector<BatchCurve>& curves,
                                            const CombinationSettings& combination, const FitSettings& fit,
                                            int threads, const FitProgressReport& report)
{
    const int total = static_cast<int>(curves.size());
    std::vector<CurveFitOutcome> outcomes(curves.size());
    const int workerCount = std::clamp(threads, 1, std::max(total, 1));

    std::atomic<int> next{0};
    std::mutex mutex;
    std::condition_variable changed;
    int done = 0;
    int finishedWorkers = 0;
    std::exception_ptr setupFailure;

    auto work = [&] {
        std::exception_ptr failure;
        try {
            WorkerFitter fitter(plate, combination, fit);
            for (int job = next++; job < total; job = next++) {
                auto& outcome = At(outcomes, job);
                try {
                    outcome.Result = fitter.Fit(At(curves, job));
                } catch (...) {
                    outcome.Failure = std::current_exception();
                }
                std::lock_guard lock(mutex);
                ++done;
            }
        } catch (...) {
            failure = std::current_exception();
        }
        std::lock_guard lock(mutex);
        if (failure && !setupFailure) setupFailure = failure;
        ++finishedWorkers;
        changed.notify_all();
    };

    std::vector<std::thread> workers;
    workers.reserve(static_cast<std::size_t>(workerCount));
    for (int i = 0; i < workerCount; ++i) workers.emplace_back(work);
    {
        std::unique_lock lock(mutex);
        while (!changed.wait_for(lock, kReportInterval, [&] { return finishedWorkers == workerCount; })) {
            const int doneSoFar = done;
            lock.unlock();
            if (report) report(doneSoFar, total);
            lock.lock();
        }
    }
    for (auto& worker : workers) worker.join();
    if (setupFailure) std::rethrow_exception(setupFailure);
    if (report) report(total, total);
    return outcomes;
}

void FileFitResults(FitResults& results, const std::vector<BatchCurve>& curves,
                    const std::vector<CurveFitOutcome>& outcomes, const FitSettings& fit)
{
    for (std::size_t i = 0; i < curves.size() && i < outcomes.size(); ++i)
        if (!outcomes[i].Failure) results.File(curves[i].FiledWell(), outcomes[i].Result, fit.StatusText, fit.View);
}

} // namespace movra
