// A well fitted by the batch run gets exactly the numbers of the desktop's
// fit run ("Fit shown" over the chosen sample's curves) with the same
// settings: parameters, standard deviations and ChiSq bit for bit, and the
// same texts in the results table of movra-batch.
#include <gtest/gtest.h>

#include <fstream>
#include <thread>

#include <unistd.h>

#include "batch/batch_settings.h"
#include "batch/plate_fit.h"
#include "batch_fixture.h"
#include "fitting/fit_model.h"
#include "fitting/fit_run.h"
#include "plate/plate_layout_file.h"
#include "plate/read_range.h"
#include "reduction/sample_wells.h"
#include "shared/number_format.h"

namespace movra {
namespace {

using test::ColumnLayout;
using test::ImportDemo;

// The settings of one comparison, given to both programs.
struct Settings {
    int formulaIndex = kDefaultFitFormulaIndex;
    std::string start = "m1=0.1,m2=0.7,m3=10,m4=0.8,m5=1,m6=0.01,m7=0.01";
    std::array<std::string, 9> startTexts{"", "0.1", "0.7", "10", "0.8", "1", "0.01", "0.01", "1"};
    int trackBar = 100;
    std::string view = "1:100";
    double viewStart = 1, viewFinish = 100;
    bool average = false;
    bool numericDerivatives = false;
};

// What a run leaves: the wells on show (the desktop) and the fit results.
struct Fitted {
    ShownCurves curves;
    FitResults fits;
};

// The desktop: choose Sample1, set the track bar and zoom bar, press "Fit shown".
Fitted DesktopFit(const Settings& s)
{
    const PlateMeasurements plate = ImportDemo();
    Fitted fitted;
    fitted.curves.Reset();
    fitted.fits.Reset();
    TParser parser1, parser2;
    const auto slots = DefineFitParameters(parser2);
    const PlateLayout layout = ColumnLayout(2);
    const TrackBarWeights weights = TrackBarFactors(s.trackBar);
    EXPECT_EQ(CollectShownWells(layout, "Sample1", plate, fitted.curves), ShownWellsOutcome::Collected);
    ParserCombinedValues values(parser1, plate, "b-a", {0, 1, weights.WaveFactorA, weights.WaveFactorB});
    values.CompileCombination();
    CalculateReducedData(plate, fitted.curves, values, s.average);
    const ReadRange view = ReadsInView(plate.TimePointCount, s.viewStart, s.viewFinish);

    TVector limitMin, limitMax;
    AllocVector(limitMin, 8);
    AllocVector(limitMax, 8);
    for (std::size_t k = 1; k <= 8; ++k) limitMin[k] = -1e20, limitMax[k] = 1e20;
    FitSettingTexts controls;
    controls.FitFormulaIndex = s.formulaIndex;
    controls.FitFormulaText = std::string(kFitFormulas[static_cast<std::size_t>(s.formulaIndex)]);
    controls.StartTexts = s.startTexts;
    controls.ToleranceText = "0.000001";
    controls.MaxIterationsText = "500";
    controls.Derivatives = s.numericDerivatives ? DerivativeMode::ForwardDifferences : DerivativeMode::Exact;
    const FitSettings settings = ParseFitSettings(controls, parser2, limitMin, limitMax, view, "b-a");
    CurveFitter fitter(parser2, slots, settings);
    FitRunHost host;
    FitShownCurves(plate, fitted.curves, fitter, s.average, fitted.fits, host);
    return fitted;
}

// The batch library over the same plate and layout, on three threads.
Fitted BatchFit(const Settings& s)
{
    const PlateMeasurements plate = ImportDemo();
    Fitted fitted;
    fitted.fits.Reset();
    BatchSettings texts;
    texts.TrackBarPosition = s.trackBar;
    texts.FitFormulaIndex = s.formulaIndex;
    texts.FitFormulaText = std::string(kFitFormulas[static_cast<std::size_t>(s.formulaIndex)]);
    texts.StartTexts = s.startTexts;
    texts.Derivatives = s.numericDerivatives ? DerivativeMode::ForwardDifferences : DerivativeMode::Exact;
    PlateFitSettings settings = ConvertBatchSettings(texts);
    settings.Fit.View = ReadsInView(plate.TimePointCount, s.viewStart, s.viewFinish);
    SampleAssignment samples;
    FillSampleArray(ColumnLayout(2), plate, samples);
    const auto curves = CurvesToFit(plate, samples, s.average);
    const auto outcomes = FitPlateCurves(plate, curves, settings.Combination, settings.Fit, 3);
    FileFitResults(fitted.fits, curves, outcomes, settings.Fit);
    return fitted;
}

// The results table of movra-batch, as rows of fields. Column 1 is
// Sample1 (eight wells, the same in column-major and row-major order),
// column 2 Sample2.
test::Rows BatchTable(const Settings& s)
{
    const auto layoutFile = test::Scratch("two-columns.PLO");
    std::ofstream(layoutFile, std::ios::binary) << PlateLayoutFileText(ColumnLayout(2));
    std::vector<std::string> args{test::kDemo, "--layout", layoutFile.string(), "--formula-index",
                                  std::to_string(s.formulaIndex), "--start", s.start, "--track-bar",
                                  std::to_string(s.trackBar), "--view", s.view};
    if (s.average) args.push_back("--average");
    if (s.numericDerivatives) args.insert(args.end(), {"--derivatives", "numeric"});
    const test::BatchResult run = test::Batch(args);
    EXPECT_EQ(run.status, 0) << run.err;
    std::filesystem::remove(layoutFile);
    return run.Fields();
}

void ExpectSameResults(const Settings& s, int expectedRows)
{
    const Fitted desktop = DesktopFit(s);
    const Fitted batch = BatchFit(s);
    int compared = 0;
    for (int curve = 1; curve <= 8 && desktop.curves.ShownWells[static_cast<std::size_t>(curve)] >= 0; ++curve) {
        const auto well = static_cast<std::size_t>(desktop.curves.ShownWells[static_cast<std::size_t>(curve)]);
        const auto& expected = desktop.fits.WellFitResults[well];
        ASSERT_GT(expected[0], 0.0) << "the desktop fit of well " << well << " failed";
        for (std::size_t column = 0; column < kFitResultColumns; ++column)
            EXPECT_EQ(batch.fits.WellFitResults[well][column], expected[column])
                << "well " << well << " column " << column;
        EXPECT_EQ(batch.fits.WellFitStatus[well], desktop.fits.WellFitStatus[well]);
        const FitQuality& mine = batch.fits.WellFitQuality[well];
        const FitQuality& theirs = desktop.fits.WellFitQuality[well];
        EXPECT_EQ(std::tuple(mine.Flags, mine.RSquared), std::tuple(theirs.Flags, theirs.RSquared));
        ++compared;
        if (s.average) break;
    }
    EXPECT_EQ(compared, s.average ? 1 : 8);

    const auto table = BatchTable(s);
    ASSERT_EQ(static_cast<int>(table.size()), expectedRows);
    const auto& row = table[1];
    ASSERT_EQ(row.size(), 19u);
    EXPECT_EQ(row[0], "Sample1A1");
    const auto& expected = desktop.fits.WellFitResults[0];
    for (std::size_t column = 1; column <= 16; ++column) EXPECT_EQ(row[column], FormatGeneral(expected[column]));
    EXPECT_EQ(row[17], FormatGeneral(expected[0]));
    EXPECT_EQ(row[18], desktop.fits.WellFitStatus[0]);
}

TEST(BatchMatchesDesktop, DefaultFormulaThroughTheParserWithEitherDerivatives)
{
    ExpectSameResults(Settings{}, 17);
    Settings numeric;
    numeric.numericDerivatives = true;
    ExpectSameResults(numeric, 17);
}

TEST(BatchMatchesDesktop, BuiltInFormulaWithTrackBarAndPartialView)
{
    Settings s;
    s.formulaIndex = 0;
    s.start = "m1=0.1,m2=0.5,m3=0.01,m4=0.6,m5=0.1";
    s.startTexts = {"", "0.1", "0.5", "0.01", "0.6", "0.1", "1", "1", "1"};
    s.trackBar = 90;
    s.view = "5:95";
    s.viewStart = 5;
    s.viewFinish = 95;
    ExpectSameResults(s, 17);
    s.numericDerivatives = true;
    ExpectSameResults(s, 17);
}

TEST(BatchMatchesDesktop, AveragedSampleFiledUnderItsFirstWell)
{
    Settings s;
    s.average = true;
    ExpectSameResults(s, 3);
}

// Cancel stops a run between curves and inside the curve in progress: the
// finished curves carry exactly the numbers of an uncancelled run, the rest
// stay unfinished and are not filed.
TEST(PlateFitRun, CancelKeepsTheFinishedCurvesAndLeavesTheRestUnfiled)
{
    const auto plate = std::make_shared<const PlateMeasurements>(ImportDemo());
    BatchSettings texts;
    texts.StartTexts = Settings{}.startTexts;
    PlateFitSettings settings = ConvertBatchSettings(texts);
    settings.Fit.View = ReadsInView(plate->TimePointCount, 1, 100);
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
