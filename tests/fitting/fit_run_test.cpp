// "Fit shown" over the shown curves: the reads in view, the result row of
// each well, averaging, Cancel, failures and bad texts; and end to end on the
// bundled demo plate (import, samples, the combination of both wavelengths
// and the fit), whose fitted parameters must match the curves it was
// generated from.

#include "fitting/fit_run.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "fitting/fit_formulas.h"
#include "parser/parser_errors.h"
#include "plate/sm_import.h"
#include "plate/synthetic_plate.h"
#include "reduction/sample_wells.h"
#include "reduction/wavelength_combination.h"
#include "shared/conversion.h"
#include "shared/number_format.h"

namespace movra {
namespace {

// Records the wells, progress lines and statuses a run shows, and presses
// Cancel while a chosen curve is fitted.
struct ScriptedHost : FitRunHost {
    void BeginCurveFit(const std::string& wellName) override { wells.push_back(wellName); ++curve; }
    bool Iteration(std::int32_t iteration, double objective, double lambda) override
    {
        lines.push_back(FitProgressLines(iteration, objective, lambda));
        return curve != cancelCurve;
    }
    void EndCurveFit(std::int32_t status) override { statuses.push_back(status); }
    std::vector<std::string> wells;
    std::vector<std::array<std::string, 3>> lines;
    std::vector<std::int32_t> statuses;
    int curve = 0, cancelCurve = -1;
};

struct FitRunFixture : ::testing::Test {
    FitRunFixture()
    {
        curves.Reset();
        fits.Reset();
        plate.WellCount = 96, plate.PlateRows = 8, plate.PlateColumns = 12, plate.TimePointCount = 20;
        AllocMatrix(curves.ReducedData, 8, 20);
        for (int t = 0; t <= 20; ++t) plate.TimeVector.push_back(t);
    }
    // Shows `well` as curve `curve`: y(t) ± noise alternating, read 1 far away.
    void ShowCurve(int curve, int well, const std::function<double(double)>& y, double noise = 0.1)
    {
        curves.ShownWells[static_cast<std::size_t>(curve)] = well;
        curves.ShownWells[static_cast<std::size_t>(curve) + 1] = -1;
        auto& row = curves.ReducedData[static_cast<std::size_t>(curve)];
        for (int t = 1; t <= 20; ++t) row[static_cast<std::size_t>(t)] = y(t) + (t % 2 == 0 ? noise : -noise);
        row[1] = 1000.0;
    }
    void ShowLevels(int count)
    {
        for (int curve = 1; curve <= count; ++curve) ShowCurve(curve, curve - 1, [curve](double) { return 4.0 + curve; });
    }
    void Run(const std::string& formula, int index = -1)
    {
        controls.FitFormulaText = formula;
        controls.FitFormulaIndex = index;
        const FitSettings settings = ParseFitSettings(controls, parser2, limitMin, limitMax, view, "b-a");
        CurveFitter fitter(parser2, slots, settings);
        FitShownCurves(plate, curves, fitter, averageData, fits, host);
    }
    const TVector& Row(int well) { return fits.WellFitResults[static_cast<std::size_t>(well)]; }

    PlateMeasurements plate;
    ShownCurves curves;
    FitResults fits;
    ReadRange view{2, 20};  // read 1 holds an outlier
    bool averageData = false;
    TParser parser2;
    std::array<double*, 9> slots = DefineFitParameters(parser2);
    const TVector limitMin = TVector(9, -1e20), limitMax = TVector(9, 1e20);
    FitSettingTexts controls{"", -1, {"", "1", "1", "1", "1", "1", "1", "1", "1"}, "0.000001", "500"};
    ScriptedHost host;
};

TEST_F(FitRunFixture, FitsEveryReadInViewAndFilesTheRow)
{
    ShowCurve(1, 14, [](double) { return 5.0; });
    Run("M1+0*X");
    ASSERT_EQ(host.statuses, std::vector<std::int32_t>{OptOk});
    EXPECT_EQ(host.wells, std::vector<std::string>{"B3"});
    // Reads 2..20, the first in view included: ten at 5.1 and nine at 4.9.
    // What the fitter computes from them is checked with the fit statistics.
    EXPECT_NEAR(Row(14)[1], 5.0 + 0.1 / 19, 1e-9);
    EXPECT_EQ(fits.WellFitStatus[14], "b-a - M1+0*X");
    // The progress window's lines of the first iteration: m1 = 1 against ten
    // reads of 5.1 and nine of 4.9.
    ASSERT_FALSE(host.lines.empty());
    EXPECT_EQ(host.lines[0], (std::array<std::string, 3>{"Iteration:1", "        F:" + FormatGeneral(10 * 4.1 * 4.1 + 9 * 3.9 * 3.9),
                                                          "   Lambda:0.01"}));
}

TEST_F(FitRunFixture, ParametersAreFiledUnderTheirNamesAndTheRestStayZero)
{
    controls.StartTexts = {"", "2", "1", "0.1", "not used, never read"};
    ShowCurve(1, 0, [](double t) { return 2.0 + 0.5 * t; }, 1e-3);
    Run("m1+m3*x");  // m2 is not fitted
    ASSERT_EQ(host.statuses.back(), OptOk);
    for (std::size_t m = 1; m <= 8; ++m) {
        const double value = m == 1 ? 2.0 : m == 3 ? 0.5 : 0.0;
        EXPECT_NEAR(Row(0)[m], value, 2e-2) << " m" << m;
        EXPECT_EQ(value == 0.0, Row(0)[8 + m] == 0.0) << "std(m" << m << ")";
    }
}

// No curves, no points in view, or averaging: only what there is gets fitted.
TEST_F(FitRunFixture, NoCurvesNoPointsOrAveragingFitOnlyWhatThereIs)
{
    Run("m1+0*x");
    EXPECT_TRUE(host.wells.empty());
    ShowLevels(3);
    averageData = true;
    Run("m1+0*x");
    EXPECT_EQ(host.statuses.size(), 1u);
    EXPECT_TRUE(Row(0)[0] > 0 && Row(1)[0] == -1.0 && Row(2)[0] == -1.0);
    view.ViewLastPoint = view.ViewFirstPoint - 1;
    Run("m1+0*x");
    EXPECT_EQ(std::tuple(host.statuses, Row(0)[0]), std::tuple(std::vector<std::int32_t>{OptOk, OptSing}, -1.0));
}

TEST_F(FitRunFixture, CancelFailsOnlyTheCurveInProgressWhichKeepsItsOldParameters)
{
    ShowLevels(3);
    Run("m1+0*x");
    const double fitted = Row(1)[1];
    host.cancelCurve = 5;  // the second curve of the second run
    Run("m1+0*x");
    EXPECT_EQ(host.statuses, (std::vector<std::int32_t>{OptOk, OptOk, OptOk, OptOk, OptNonConv, OptOk}));
    EXPECT_TRUE(Row(0)[0] > 0 && Row(1)[0] == -1.0 && Row(1)[1] == fitted && Row(2)[0] > 0);
    // Each well keeps the status and flags of its last fit.
    EXPECT_EQ(std::tuple(fits.WellFitQuality[0].Status, fits.WellFitQuality[1].Status, fits.WellFitQuality[1].Flags),
              std::tuple(OptOk, OptNonConv, FitFlags{kFlagFailed}));
}

TEST_F(FitRunFixture, BadTextsEndTheRunOrTheCurve)
{
    ShowLevels(1);
    EXPECT_THROW(Run("m1+"), EMathParserError);
    controls.StartTexts[1] = "x1";
    EXPECT_THROW(Run("m1+0*x"), ConversionError);
    controls.StartTexts[1] = "1";
    controls.MaxIterationsText = "5.5";
    EXPECT_THROW(Run("m1+0*x"), ConversionError);
    EXPECT_TRUE(host.wells.empty());  // every text is converted before the first curve
    controls.MaxIterationsText = "500";
    controls.ToleranceText = "tiny";
    Run("m1+0*x");
    EXPECT_EQ(host.statuses, std::vector<std::int32_t>{OptBigLambda});
}

TEST_F(FitRunFixture, DemoPlateFitsMatchTheGeneratingCurves)
{
    SilentImportInteraction answers;
    auto imported = ImportSMText(TextLines(ReadFileBytes(std::filesystem::path(MOVRA_DATA) / "demo-kinetic-96.txt")),
                                 answers);
    ASSERT_TRUE(imported.has_value());
    plate = std::move(imported->plate);
    view = {1, plate.TimePointCount};
    controls.StartTexts = {"", "0.1", "0.5", "0.01", "0.6", "0.1", "1", "1", "1"};
    // Column 1 is Sample1 and column 4 Sample2: eight wells each.
    PlateLayout layout;
    layout.Reset();
    layout.SetGeometryForWellCount(plate.WellCount);
    for (int row = 1; row <= 8; ++row) {
        layout.SetCell(1, row, "Sample1");
        layout.SetCell(4, row, "Sample2");
    }
    for (int sample : {1, 2}) {
        const std::string label = "Sample" + std::to_string(sample);
        ASSERT_EQ(CollectShownWells(layout, label, plate, curves), ShownWellsOutcome::Collected);
        TParser parser1;
        ParserCombinedValues values(parser1, plate, "b-a", {});
        values.CompileCombination();
        CalculateReducedData(plate, curves, values, false);
        Run(std::string(kFitFormulas[0]), 0);
        const KineticCurve truth = DemoSampleCurve(sample);
        const double expected[] = {truth.m1, truth.m2, truth.m3, truth.m4, truth.m5}, within[] = {1, 2, 3, 1, 1};
        for (int curve = 1; curve <= 8; ++curve) {
            const TVector& row = Row(curves.ShownWells[static_cast<std::size_t>(curve)]);
            ASSERT_GT(row[0], 0.0) << label << " curve " << curve;
            for (std::size_t m = 1; m <= 5; ++m) EXPECT_NEAR(row[m], expected[m - 1], 0.01 * within[m - 1]) << m;
            // The noise is 0.003 on each of the two readings.
            EXPECT_LT(row[0] / (plate.TimePointCount - 5), 4 * 2 * 0.003 * 0.003);
        }
    }
}

} // namespace
} // namespace movra
