// A well fitted by the batch run gets exactly the numbers of the desktop's
// fit run ("Fit shown" over the chosen sample's curves) with the same
// settings: parameters, standard deviations and ChiSq bit for bit, and the
// same texts in the results table of movra-batch.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "batch/plate_fit.h"
#include "batch_cli.h"
#include "fitting/fit_model.h"
#include "plate/plate_layout_file.h"
#include "plate/sm_import.h"
#include "plate/text_decoding.h"
#include "plot/graph_view.h"
#include "reduction/sample_wells.h"
#include "shared/number_format.h"

namespace movra {
namespace {

const std::filesystem::path kDemoPlate = std::filesystem::path(MOVRA_DATA) / "demo-kinetic-96.txt";

// The settings of one comparison, given to both programs.
struct Settings {
    int formulaIndex = kDefaultFitFormulaIndex;
    std::string start = "m1=0.1,m2=0.7,m3=10,m4=0.8,m5=1,m6=0.01,m7=0.01";
    std::array<std::string, 9> startTexts{"", "0.1", "0.7", "10", "0.8", "1", "0.01", "0.01", "1"};
    int trackBar = 100;
    std::string view = "1:100";
    double viewStart = 1, viewFinish = 100;
    bool average = false;
};

PlateState ImportDemo()
{
    SilentImportInteraction answers;
    auto imported = ImportSMText(LoadTextLines(kDemoPlate), answers);
    PlateState state;
    state.ResetWorkingState();
    state.plate = std::move(imported->plate);
    return state;
}

// Column 1 is Sample1 (eight wells, the same in column-major and row-major
// order), column 2 Sample2.
PlateLayout TwoColumnLayout()
{
    PlateLayout layout;
    layout.New1Click();
    layout.SetGeometryForWellCount(96);
    for (int row = 1; row <= 8; ++row) {
        layout.SetCell(1, row, "Sample1");
        layout.SetCell(2, row, "Sample2");
    }
    return layout;
}

// The desktop: choose Sample1, set the track bar and zoom bar, press "Fit shown".
PlateState DesktopFit(const Settings& s)
{
    PlateState state = ImportDemo();
    TParser parser1, parser2;
    state.ParamVars = DefineFitParameters(parser2);
    const PlateLayout layout = TwoColumnLayout();
    const TrackBarWeights weights = TrackBarFactors(s.trackBar);
    state.WaveFactorA = weights.WaveFactorA;
    state.WaveFactorB = weights.WaveFactorB;
    EXPECT_EQ(CollectShownWells(layout, "Sample1", state), ShownWellsOutcome::Collected);
    ParserCombinedValues values(parser1, state, "b-a", {0, 1});
    values.CompileCombination();
    CalculateReducedData(state, values, s.average);
    std::tie(state.ViewFirstPoint, state.ViewLastPoint) = ViewRange(state.plate.TimePointCount, s.viewStart, s.viewFinish);

    TVector limitMin, limitMax;
    AllocVector(limitMin, 8);
    AllocVector(limitMax, 8);
    for (std::size_t k = 1; k <= 8; ++k) limitMin[k] = -1e20, limitMax[k] = 1e20;
    FitRunControls controls;
    controls.FitFormulaIndex = s.formulaIndex;
    controls.FitFormulaText = std::string(kFitFormulas[static_cast<std::size_t>(s.formulaIndex)]);
    controls.StartTexts = s.startTexts;
    controls.ToleranceText = "0.000001";
    controls.MaxIterationsText = "500";
    controls.CombinationText = "b-a";
    controls.AverageData = s.average;
    FitRunHost host;
    Button1Click(state, parser2, limitMin, limitMax, controls, host);
    return state;
}

// The batch library over the same plate and layout, on three threads.
PlateState BatchFit(const Settings& s)
{
    PlateState state = ImportDemo();
    const TrackBarWeights weights = TrackBarFactors(s.trackBar);
    state.WaveFactorA = weights.WaveFactorA;
    state.WaveFactorB = weights.WaveFactorB;
    BatchSettings settings;
    settings.FitFormulaIndex = s.formulaIndex;
    settings.FitFormulaText = std::string(kFitFormulas[static_cast<std::size_t>(s.formulaIndex)]);
    settings.StartTexts = s.startTexts;
    settings.ViewStart = s.viewStart;
    settings.ViewFinish = s.viewFinish;
    settings.AverageData = s.average;
    const PreparedFit fit = PrepareFit(settings, state.plate);
    FillSampleArray(TwoColumnLayout(), state);
    const auto curves = CurvesToFit(state, s.average);
    const auto outcomes = FitPlateCurves(state, curves, fit, 3);
    FileFitResults(state, curves, outcomes, fit);
    return state;
}

// The results table of movra-batch, as rows of fields.
std::vector<std::vector<std::string>> BatchTable(const Settings& s)
{
    const auto layoutFile = std::filesystem::temp_directory_path() / "movra-batch-two-columns.PLO";
    std::ofstream(layoutFile, std::ios::binary) << PlateLayoutFileText(TwoColumnLayout());
    std::vector<std::string> args{kDemoPlate.string(), "--layout", layoutFile.string(), "--formula-index",
                                  std::to_string(s.formulaIndex), "--start", s.start, "--track-bar",
                                  std::to_string(s.trackBar), "--view", s.view};
    if (s.average) args.push_back("--average");
    std::ostringstream out, err;
    EXPECT_EQ(RunBatch(args, out, err), 0) << err.str();
    std::filesystem::remove(layoutFile);
    std::vector<std::vector<std::string>> rows;
    std::istringstream lines(out.str());
    for (std::string line; std::getline(lines, line);) {
        std::vector<std::string> fields;
        std::istringstream cells(line);
        for (std::string field; std::getline(cells, field, '\t');) fields.push_back(field);
        rows.push_back(fields);
    }
    return rows;
}

void ExpectSameResults(const Settings& s, int expectedRows)
{
    const PlateState desktop = DesktopFit(s);
    const PlateState batch = BatchFit(s);
    int compared = 0;
    for (int curve = 1; curve <= 8 && desktop.ShownWells[static_cast<std::size_t>(curve)] >= 0; ++curve) {
        const auto well = static_cast<std::size_t>(desktop.ShownWells[static_cast<std::size_t>(curve)]);
        const auto& expected = desktop.WellFitResults[well];
        ASSERT_GT(expected[0], 0.0) << "the desktop fit of well " << well << " failed";
        for (std::size_t column = 0; column < kFitResultColumns; ++column)
            EXPECT_EQ(batch.WellFitResults[well][column], expected[column]) << "well " << well << " column " << column;
        EXPECT_EQ(batch.WellFitStatus[well], desktop.WellFitStatus[well]);
        ++compared;
        if (s.average) break;
    }
    EXPECT_EQ(compared, s.average ? 1 : 8);

    const auto table = BatchTable(s);
    ASSERT_EQ(static_cast<int>(table.size()), expectedRows);
    const auto& row = table[1];
    ASSERT_EQ(row.size(), 19u);
    EXPECT_EQ(row[0], "Sample1A1");
    const auto& expected = desktop.WellFitResults[0];
    for (std::size_t column = 1; column <= 16; ++column) EXPECT_EQ(row[column], FormatGeneral(expected[column]));
    EXPECT_EQ(row[17], FormatGeneral(expected[0]));
    EXPECT_EQ(row[18], desktop.WellFitStatus[0]);
}

TEST(BatchMatchesDesktop, DefaultFormulaThroughTheParser)
{
    ExpectSameResults(Settings{}, 17);
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
}

TEST(BatchMatchesDesktop, AveragedSampleFiledUnderItsFirstWell)
{
    Settings s;
    s.average = true;
    ExpectSameResults(s, 3);
}

} // namespace
} // namespace movra
