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
#include "plate/import_fields.h"
#include "plot/graph_view.h"
#include "shared/conversion.h"

namespace movra {
namespace {

constexpr auto kReportInterval = std::chrono::milliseconds(100);

TVector ConvertLimits(const std::array<std::string, 9>& texts, double importDefault)
{
    TVector limits;
    AllocVector(limits, kMaxParameters);
    for (std::size_t k = 1; k <= kMaxParameters; ++k)
        limits[k] = texts[k].empty() ? importDefault : StrToFloat(texts[k]);
    return limits;
}

// What one worker thread owns: the combination and fit parsers with the
// model and regression object bound to them.
class CurveFitter {
public:
    CurveFitter(const PlateState& state, const PreparedFit& fit)
        : state_(state), fit_(fit), values_(parser1_, state, fit.CombinationText, fit.Weighting),
          slots_(DefineFitParameters(parser2_))
    {
        values_.CompileCombination();
        parser2_.setExpression(fit.FitFormulaText);
        model_.emplace(parser2_, slots_, fit.FitFormulaText, fit.FitFormulaIndex, fit.Names);
    }

    CurveFitResult Fit(const BatchCurve& curve)
    {
        // RND draws the same numbers for a curve whichever thread fits it
        // and whatever that thread fitted before.
        const auto well = static_cast<std::uint64_t>(curve.FiledWell());
        parser1_.SeedRandom(DerivedSeed(RandomSource::kDefaultSeed, 2 * well));
        parser2_.SeedRandom(DerivedSeed(RandomSource::kDefaultSeed, 2 * well + 1));
        const PlateMeasurements& plate = state_.plate;
        const TVector reduced = CombinedCurve(values_, curve.Wells, plate.TimePointCount);
        const CurvePoints view = CurvePointsInView(plate.TimeVector, reduced, plate.TimePointCount,
                                                   fit_.ViewFirstPoint, fit_.ViewLastPoint);
        CurveFitRequest request;
        request.X = &view.X;
        request.Y = &view.Y;
        request.PointCount = view.Count;
        request.StartValues = fit_.StartValues;
        request.MaxIterations = fit_.MaxIterations;
        request.ToleranceText = fit_.ToleranceText;
        request.LimitMin = &fit_.LimitMin;
        request.LimitMax = &fit_.LimitMax;
        return FitCurve(*model_, regression_, request);
    }

private:
    const PlateState& state_;
    const PreparedFit& fit_;
    TParser parser1_;
    ParserCombinedValues values_;
    TParser parser2_;
    std::array<double*, 9> slots_;
    std::optional<FitModel> model_;
    RegressionFit regression_;
};

} // namespace

std::vector<BatchCurve> CurvesToFit(const PlateState& state, bool averageData)
{
    std::vector<BatchCurve> curves;
    const int sampleCount = std::min(state.plate.WellCount, kMaxWells);
    for (int sample = 1; sample <= sampleCount; ++sample) {
        const auto& wells = state.SampleWells[static_cast<std::size_t>(sample)];
        std::vector<int> members;
        for (int slot = 1; slot <= sampleCount; ++slot) {
            const int well = wells[static_cast<std::size_t>(slot)];
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

PreparedFit PrepareFit(const BatchSettings& settings, const PlateMeasurements& plate)
{
    PreparedFit fit;
    fit.CombinationText = settings.CombinationText;
    fit.Weighting = settings.Weighting;
    {
        TParser parser1;
        parser1.setExpression(settings.CombinationText);
    }
    fit.FitFormulaText = settings.FitFormulaText;
    fit.FitFormulaIndex = settings.FitFormulaIndex;
    {
        TParser parser2;
        DefineFitParameters(parser2);
        parser2.setExpression(settings.FitFormulaText);
    }
    fit.Names = FitParameterNames(settings.FitFormulaText);
    for (int name : fit.Names)
        fit.StartValues.push_back(ParseStartValue(settings.StartTexts[static_cast<std::size_t>(name)]));
    fit.MaxIterations = StrToInt(settings.MaxIterationsText);
    (void)ParseCellValue(settings.ToleranceText);
    fit.ToleranceText = settings.ToleranceText;
    fit.LimitMin = ConvertLimits(settings.LowerTexts, -1e20);
    fit.LimitMax = ConvertLimits(settings.UpperTexts, 1e20);
    std::tie(fit.ViewFirstPoint, fit.ViewLastPoint) =
        ViewRange(plate.TimePointCount, settings.ViewStart, settings.ViewFinish);
    return fit;
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

std::vector<CurveFitOutcome> FitPlateCurves(const PlateState& state, const std::vector<BatchCurve>& curves,
                                            const PreparedFit& fit, int threads, const FitProgressReport& report)
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
            CurveFitter fitter(state, fit);
            for (int job = next++; job < total; job = next++) {
                auto& outcome = outcomes[static_cast<std::size_t>(job)];
                try {
                    outcome.Result = fitter.Fit(curves[static_cast<std::size_t>(job)]);
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

void FileFitResults(PlateState& state, const std::vector<BatchCurve>& curves,
                    const std::vector<CurveFitOutcome>& outcomes, const PreparedFit& fit)
{
    for (std::size_t i = 0; i < curves.size() && i < outcomes.size(); ++i) {
        if (outcomes[i].Failure) continue;
        const auto well = static_cast<std::size_t>(curves[i].FiledWell());
        const CurveFitResult& result = outcomes[i].Result;
        auto& row = state.WellFitResults[well];
        if (result.Status == OptOk) {
            std::copy(result.Row.begin(), result.Row.end(), row.begin());
            state.WellFitStatus[well] = fit.CombinationText + " - " + fit.FitFormulaText;
        }
        row[0] = result.Row[0];
    }
}

} // namespace movra
