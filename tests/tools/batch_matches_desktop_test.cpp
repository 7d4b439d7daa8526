// A well fitted by the batch run gets exactly the numbers of the desktop's
// fit run ("Fit shown" over the chosen sample's curves) with the same
// settings: parameters, standard deviations and ChiSq bit for bit, and the
// same texts in the results table of movra-batch.
#include <gtest/gtest.h>

#include <thread>

#include "batch/plate_fit.h"
#include "batch_fixture.h"
#include "fitting/fit_model.h"
#include "fitting/fit_run.h"
#include "plate/plate_layout_file.h"
#include "reduction/sample_wells.h"
#include "shared/number_format.h"

namespace movra {
namespace {

using test::ColumnLayout;
using test::ImportDemo;

// What a run leaves: the wells on show (the desktop) and the fit results.
struct Fitted {
    ShownCurves curves;
    FitResults fits;
};

// The desktop: choose Sample1, set the controls as the settings say, press "Fit shown".
Fitted DesktopFit(const BatchSettings& s)
{
    const PlateMeasurements plate = ImportDemo();
    Fitted fitted;
    fitted.curves.Reset();
    fitted.fits.Reset();
    TParser parser1, parser2;
    const auto slots = DefineFitParameters(parser2);
    const TrackBarWeights weights = TrackBarFactors(s.TrackBarPosition);
    EXPECT_EQ(CollectShownWells(ColumnLayout(2), "Sample1", plate, fitted.curves), ShownWellsOutcome::Collected);
    ParserCombinedValues values(parser1, plate, "b-a", {0, 1, weights.WaveFactorA, weights.WaveFactorB});
    values.CompileCombination();
    CalculateReducedData(plate, fitted.curves, values, s.AverageData);

    const TVector limitMin(9, -1e20), limitMax(9, 1e20);
    const FitSettingTexts controls{.FitFormulaText = s.FitFormulaText,
                                   .FitFormulaIndex = s.FitFormulaIndex,
                                   .StartTexts = s.StartTexts,
                                   .ToleranceText = "0.000001",
                                   .MaxIterationsText = "500",
                                   .Derivatives = s.Derivatives};
    const ReadRange view = ReadsInView(plate.TimePointCount, s.ViewStart, s.ViewFinish);
    const FitSettings settings = ParseFitSettings(controls, parser2, limitMin, limitMax, view, "b-a");
    CurveFitter fitter(parser2, slots, settings);
    FitRunHost host;
    FitShownCurves(plate, fitted.curves, fitter, s.AverageData, fitted.fits, host);
    return fitted;
}

// The batch library over the same plate and layout, on three threads.
FitResults BatchFit(const BatchSettings& s)
{
    const PlateMeasurements plate = ImportDemo();
    FitResults fits;
    fits.Reset();
    const PlateFitSettings settings = test::ConvertedSettings(s, plate.TimePointCount);
    SampleAssignment samples;
    FillSampleArray(ColumnLayout(2), plate, samples);
    const auto curves = CurvesToFit(plate, samples, s.AverageData);
    FileFitResults(fits, curves, FitPlateCurves(plate, curves, settings.Combination, settings.Fit, 3), settings.Fit);
    return fits;
}

// The results table of movra-batch, as rows of fields. Column 1 is
// Sample1 (eight wells, the same in column-major and row-major order),
// column 2 Sample2.
test::Rows BatchTable(const BatchSettings& s)
{
    const auto layoutFile = test::WriteFile(test::Scratch("two-columns.PLO"), PlateLayoutFileText(ColumnLayout(2)));
    std::string start;
    for (std::size_t k = 1; k <= 8; ++k) start += "m" + std::to_string(k) + "=" + s.StartTexts[k] + ",";
    std::vector<std::string> args{test::kDemo, "--layout", layoutFile.string(), "--formula-index",
                                  std::to_string(s.FitFormulaIndex), "--start", start.substr(0, start.size() - 1),
                                  "--track-bar", std::to_string(s.TrackBarPosition), "--view",
                                  FormatGeneral(s.ViewStart) + ":" + FormatGeneral(s.ViewFinish)};
    if (s.AverageData) args.push_back("--average");
    if (s.Derivatives == DerivativeMode::ForwardDifferences) args.insert(args.end(), {"--derivatives", "numeric"});
    const test::BatchResult run = test::Batch(args);
    EXPECT_EQ(run.status, 0) << run.err;
    return run.Fields();
}

void ExpectSameResults(const BatchSettings& s)
{
    const Fitted desktop = DesktopFit(s);
    const FitResults batch = BatchFit(s);
    int compared = 0;
    for (int curve = 1; curve <= 8 && desktop.curves.ShownWells[static_cast<std::size_t>(curve)] >= 0; ++curve) {
        const auto well = static_cast<std::size_t>(desktop.curves.ShownWells[static_cast<std::size_t>(curve)]);
        ASSERT_GT(desktop.fits.WellFitResults[well][0], 0.0) << "the desktop fit of well " << well << " failed";
        EXPECT_EQ(batch.WellFitResults[well], desktop.fits.WellFitResults[well]) << "well " << well;
        const FitQuality &mine = batch.WellFitQuality[well], &theirs = desktop.fits.WellFitQuality[well];
        EXPECT_EQ(std::tie(batch.WellFitStatus[well], mine.Flags, mine.RSquared),
                  std::tie(desktop.fits.WellFitStatus[well], theirs.Flags, theirs.RSquared));
        ++compared;
        if (s.AverageData) break;
    }
    EXPECT_EQ(compared, s.AverageData ? 1 : 8);

    const auto table = BatchTable(s);
    ASSERT_EQ(table.size(), s.AverageData ? 3u : 17u);
    const auto& expected = desktop.fits.WellFitResults[0];
    std::vector<std::string> row{"Sample1A1"};
    for (std::size_t column = 1; column <= 16; ++column) row.push_back(FormatGeneral(expected[column]));
    row.push_back(FormatGeneral(expected[0]));
    row.push_back(desktop.fits.WellFitStatus[0]);
    EXPECT_EQ(table[1], row);
}

// The default formula through the parser; a built-in formula with the track
// bar and part of the view; a sample's mean, filed under its first well.
TEST(BatchMatchesDesktop, DefaultAndBuiltInFormulasAndSampleMeansWithEitherDerivatives)
{
    BatchSettings builtIn = test::BuiltInFormula(0, "m1=0.1,m2=0.5,m3=0.01,m4=0.6,m5=0.1");
    builtIn.TrackBarPosition = 90;
    builtIn.ViewStart = 5;
    builtIn.ViewFinish = 95;
    BatchSettings average = test::BuiltInFormula(kDefaultFitFormulaIndex, test::kGoodStart);
    average.AverageData = true;
    for (BatchSettings s : {test::BuiltInFormula(kDefaultFitFormulaIndex, test::kGoodStart), builtIn, average})
        for (const DerivativeMode mode : {DerivativeMode::Exact, DerivativeMode::ForwardDifferences}) {
            SCOPED_TRACE("formula " + std::to_string(s.FitFormulaIndex) + (s.AverageData ? ", averaged" : "") +
                         (mode == DerivativeMode::Exact ? "" : ", numeric"));
            s.Derivatives = mode;
            ExpectSameResults(s);
        }
}

// Cancel stops a run between curves and inside the curve in progress: the
// finished curves carry exactly the numbers of an uncancelled run, the rest
// stay unfinished and are not filed.
TEST(PlateFitRun, CancelKeepsTheFinishedCurvesAndLeavesTheRestUnfiled)
{
    const auto plate = std::make_shared<const PlateMeasurements>(ImportDemo());
    const PlateFitSettings settings =
        test::ConvertedSettings(test::BuiltInFormula(kDefaultFitFormulaIndex, test::kGoodStart), plate->TimePointCount);
    const auto curves = CurvesOfEveryWell(*plate, false);
    ASSERT_EQ(std::tuple(curves.size(), curves.back().FiledWell(), CurvesOfEveryWell(*plate, true).at(0).Wells.size()),
              std::tuple(std::size_t{96}, 95, std::size_t{96}));
    const auto complete = FitPlateCurves(*plate, curves, settings.Combination, settings.Fit, 1);

    PlateFitRun run(plate, curves, settings.Combination, settings.Fit, 1);
    while (run.Done() < 5) std::this_thread::yield();
    run.Cancel();
    ASSERT_TRUE(run.WaitFor(std::chrono::seconds(30)));
    const int done = run.Done();
    EXPECT_EQ(static_cast<int>(run.TakeFinished().size()), done);
    const auto outcomes = run.TakeOutcomes();
    EXPECT_LT(done, 96);
    int finished = 0;
    for (std::size_t i = 0; i < outcomes.size(); ++i) {
        if (!outcomes[i].Finished) continue;
        ++finished;
        EXPECT_EQ(outcomes[i].Result.Row, complete[i].Result.Row) << i;
        EXPECT_EQ(outcomes[i].Quality.Flags, complete[i].Quality.Flags) << i;
    }
    EXPECT_EQ(finished, done);
    FitResults fits;
    fits.Reset();
    FileFitResults(fits, curves, outcomes, settings.Fit);
    EXPECT_EQ(std::count_if(fits.WellFitQuality.begin(), fits.WellFitQuality.end(),
                            [](const FitQuality& q) { return q.Tried(); }),
              done);
}

} // namespace
} // namespace movra
