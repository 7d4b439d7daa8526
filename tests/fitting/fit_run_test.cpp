#include "fitting/fit_run.h"

#include <gtest/gtest.h>

#include <cmath>

#include "parser/parser_errors.h"
#include "shared/conversion.h"
#include "shared/number_format.h"

namespace movra {
namespace {

// Records what the windows around a fit would show, and can press Cancel
// while a chosen curve is fitted.
class ScriptedHost : public FitRunHost {
public:
    void BeginCurveFit(const std::string& wellName) override
    {
        wells.push_back(wellName);
        ++curve;
    }
    bool Iteration(std::int32_t iteration, double objective, double lambda) override
    {
        lines.push_back(FitProgressLines(iteration, objective, lambda));
        return curve != cancelCurve;
    }
    void EndCurveFit(std::int32_t status) override { statuses.push_back(status); }

    std::vector<std::string> wells;
    std::vector<std::array<std::string, 3>> lines;
    std::vector<std::int32_t> statuses;
    int curve = 0;
    int cancelCurve = -1;
};

struct FitRunFixture : ::testing::Test {
    FitRunFixture()
    {
        state.ResetWorkingState();
        state.ParamVars = DefineFitParameters(parser2);
        auto& plate = state.plate;
        plate.WellCount = 96;
        plate.PlateRows = 8;
        plate.PlateColumns = 12;
        plate.TimePointCount = 20;
        AllocVector(plate.TimeVector, 20);
        AllocMatrix(plate.ReducedData, 8, 20);
        for (int t = 1; t <= 20; ++t) plate.TimeVector[static_cast<std::size_t>(t)] = t;
        state.ViewFirstPoint = 1;
        state.ViewLastPoint = 20;
        AllocVector(limitMin, 8);
        AllocVector(limitMax, 8);
        for (int k = 1; k <= 8; ++k) {
            limitMin[static_cast<std::size_t>(k)] = -1e20;
            limitMax[static_cast<std::size_t>(k)] = 1e20;
        }
        controls.ToleranceText = "0.000001";
        controls.MaxIterationsText = "500";
        controls.CombinationText = "b-a";
        for (int k = 1; k <= 8; ++k) controls.StartTexts[static_cast<std::size_t>(k)] = "1";
    }
    // Curve c gets y = level + 0.1 (-1)^t, and read 1 an outlier far away.
    void ShowCurve(int curve, int well, double level)
    {
        state.ShownWells[static_cast<std::size_t>(curve)] = well;
        state.ShownWells[static_cast<std::size_t>(curve) + 1] = -1;
        auto& row = state.plate.ReducedData[static_cast<std::size_t>(curve)];
        for (int t = 1; t <= 20; ++t) row[static_cast<std::size_t>(t)] = level + (t % 2 == 0 ? 0.1 : -0.1);
        row[1] = 1000.0;
    }
    void Run(const std::string& formula, int index = -1)
    {
        controls.FitFormulaText = formula;
        controls.FitFormulaIndex = index;
        Button1Click(state, parser2, limitMin, limitMax, controls, host);
    }
    const TVector& Row(int well) { return state.WellFitResults[static_cast<std::size_t>(well)]; }

    PlateState state;
    TParser parser2;
    TVector limitMin, limitMax;
    FitRunControls controls;
    ScriptedHost host;
};

TEST_F(FitRunFixture, FitsEveryReadInView)
{
    ShowCurve(1, 14, 5.0);
    state.ViewFirstPoint = 2;
    Run("m1+0*x");
    ASSERT_EQ(host.statuses, std::vector<std::int32_t>{OptOk});
    EXPECT_EQ(host.wells, std::vector<std::string>{"B3"});
    // Reads 2..20, the first in view included: ten at 5.1 and nine at 4.9;
    // read 1 (the outlier) is out of view.
    EXPECT_NEAR(Row(14)[1], 5.0 + 0.1 / 19, 1e-9);
    const double rss = 19 * 0.01 - 0.01 / 19;
    EXPECT_NEAR(Row(14)[0], rss, 1e-9);
    // One parameter, 19 points: std = sqrt(RSS / 18 / 19).
    EXPECT_NEAR(Row(14)[9], std::sqrt(rss / 18 / 19), 1e-9);
    EXPECT_EQ(Row(14)[2], 0.0);
    EXPECT_EQ(Row(14)[10], 0.0);
    EXPECT_EQ(state.WellFitStatus[14], "b-a - m1+0*x");
    // The progress window's lines of the first iteration: m1 = 1 against ten
    // reads of 5.1 and nine of 4.9.
    ASSERT_FALSE(host.lines.empty());
    EXPECT_EQ(host.lines[0][0], "Iteration:1");
    EXPECT_EQ(host.lines[0][1], "        F:" + FormatGeneral(10 * 4.1 * 4.1 + 9 * 3.9 * 3.9));
    EXPECT_EQ(host.lines[0][2], "   Lambda:0.01");
}

TEST_F(FitRunFixture, ThreeParameterFormulaLeavesTheOthersAtZero)
{
    ShowCurve(1, 0, 5.0);
    auto& row = state.plate.ReducedData[1];
    for (int t = 1; t <= 20; ++t) row[static_cast<std::size_t>(t)] = 3.0 - 2.0 * std::exp(-0.3 * t) + (t % 2 ? 1e-3 : -1e-3);
    controls.StartTexts[1] = "2";
    controls.StartTexts[2] = "1";
    controls.StartTexts[3] = "0.1";
    controls.StartTexts[4] = "not used, never read";
    Run("m1-m2*exp(-m3*x)");
    ASSERT_EQ(host.statuses, std::vector<std::int32_t>{OptOk});
    EXPECT_NEAR(Row(0)[1], 3.0, 1e-2);
    EXPECT_NEAR(Row(0)[2], 2.0, 5e-2);
    EXPECT_NEAR(Row(0)[3], 0.3, 1e-2);
    for (int k = 4; k <= 8; ++k) {
        EXPECT_EQ(Row(0)[static_cast<std::size_t>(k)], 0.0);
        EXPECT_EQ(Row(0)[static_cast<std::size_t>(8 + k)], 0.0);
    }
    EXPECT_GT(Row(0)[11], 0.0);
}

TEST_F(FitRunFixture, GapsInTheParametersFitEachAsItself)
{
    ShowCurve(1, 0, 5.0);
    auto& row = state.plate.ReducedData[1];
    for (int t = 1; t <= 20; ++t) row[static_cast<std::size_t>(t)] = 2.0 + 0.5 * t + (t % 2 ? 1e-3 : -1e-3);
    Run("m1+m3*x");
    ASSERT_EQ(host.statuses, std::vector<std::int32_t>{OptOk});
    EXPECT_NEAR(Row(0)[3], 0.5, 1e-3);
    EXPECT_NEAR(Row(0)[1], 2.0, 1e-2);
    EXPECT_EQ(Row(0)[2], 0.0);
    EXPECT_EQ(Row(0)[10], 0.0);
    EXPECT_GT(Row(0)[11], 0.0);
}

TEST_F(FitRunFixture, UpperCaseParameterNamesAreFitted)
{
    ShowCurve(1, 0, 5.0);
    state.ViewFirstPoint = 2;
    Run("M1+0*X");
    EXPECT_NEAR(Row(0)[1], 5.0 + 0.1 / 19, 1e-9);
}

TEST_F(FitRunFixture, NoShownCurvesFitsNothing)
{
    Run("m1+0*x");
    EXPECT_TRUE(host.wells.empty());
}

TEST_F(FitRunFixture, EmptyViewHasNoPointsAndFails)
{
    ShowCurve(1, 3, 5.0);
    state.ViewLastPoint = state.ViewFirstPoint - 1;
    Run("m1+0*x");
    EXPECT_EQ(host.statuses, std::vector<std::int32_t>{OptSing});
    EXPECT_EQ(Row(3)[0], -1.0);
}

TEST_F(FitRunFixture, AveragingFitsOnlyTheFirstCurve)
{
    ShowCurve(1, 0, 5.0);
    ShowCurve(2, 1, 6.0);
    ShowCurve(3, 2, 7.0);
    controls.AverageData = true;
    Run("m1+0*x");
    EXPECT_EQ(host.statuses.size(), 1u);
    EXPECT_GT(Row(0)[0], 0.0);
    EXPECT_EQ(Row(1)[0], -1.0);
    EXPECT_EQ(Row(2)[0], -1.0);
}

TEST_F(FitRunFixture, CancelStopsOnlyTheCurveInProgress)
{
    ShowCurve(1, 0, 5.0);
    ShowCurve(2, 1, 6.0);
    ShowCurve(3, 2, 7.0);
    host.cancelCurve = 2;
    Run("m1+0*x");
    EXPECT_EQ(host.statuses, (std::vector<std::int32_t>{OptOk, OptNonConv, OptOk}));
    EXPECT_EQ(Row(1)[0], -1.0);
    EXPECT_GT(Row(2)[0], 0.0);
}

TEST_F(FitRunFixture, FailedRefitKeepsOldParametersButMarksTheWell)
{
    ShowCurve(1, 0, 5.0);
    Run("m1+0*x");
    const double fitted = Row(0)[1];
    controls.MaxIterationsText = "1";
    Run("m1+0*x");
    EXPECT_EQ(host.statuses.back(), OptNonConv);
    EXPECT_EQ(Row(0)[0], -1.0);
    EXPECT_EQ(Row(0)[1], fitted);
}

TEST_F(FitRunFixture, BadTextsEndTheRunOrTheCurve)
{
    ShowCurve(1, 0, 5.0);
    EXPECT_THROW(Run("m1+"), EMathParserError);
    controls.StartTexts[1] = "x1";
    EXPECT_THROW(Run("m1+0*x"), ConversionError);
    controls.StartTexts[1] = "1";
    controls.MaxIterationsText = "5.5";
    EXPECT_THROW(Run("m1+0*x"), ConversionError);
    EXPECT_TRUE(host.wells.empty());
    controls.MaxIterationsText = "500";
    controls.ToleranceText = "tiny";
    Run("m1+0*x");
    EXPECT_EQ(host.statuses, std::vector<std::int32_t>{OptBigLambda});
}

TEST_F(FitRunFixture, CompiledAndParsedListEntryFitTheSame)
{
    ShowCurve(1, 0, 5.0);
    auto& row = state.plate.ReducedData[1];
    for (int t = 1; t <= 20; ++t) row[static_cast<std::size_t>(t)] = 3.0 - 2.0 * std::exp(-0.3 * t) + (t % 2 ? 1e-3 : -1e-3);
    controls.StartTexts[1] = "2";
    controls.StartTexts[2] = "1";
    controls.StartTexts[3] = "0.1";
    Run("m1-m2*exp(-m3*x)", 4);
    const TVector compiled = Row(0);
    Run("m1-m2*exp(-m3*x)", -1);
    EXPECT_EQ(Row(0), compiled);
}

} // namespace
} // namespace movra
