#include "reduction/wavelength_combination.h"

#include <gtest/gtest.h>

namespace movra {
namespace {

// A 96-well plate with `wavelengths` readings per well and three reads; the
// reading of well w at wavelength k and read t is 100k + w + t/10.
PlateState SmallPlate(int wavelengths)
{
    PlateState state;
    state.ResetWorkingState();
    auto& plate = state.plate;
    plate.WellCount = 96;
    plate.PlateRows = 8;
    plate.PlateColumns = 12;
    plate.WaveLengthCount = wavelengths;
    plate.TimePointCount = 3;
    plate.PlateData.assign(static_cast<std::size_t>(2 + wavelengths * 96), std::vector<double>(3, 0.0));
    for (int k = 1; k <= wavelengths; ++k)
        for (int w = 0; w < 96; ++w)
            for (int t = 0; t < 3; ++t)
                plate.PlateData[static_cast<std::size_t>(PlateDataColumn(k, w, 96))][static_cast<std::size_t>(t)] =
                    100.0 * k + w + t / 10.0;
    AllocMatrix(plate.ReducedData, 8, 3);
    return state;
}

struct Combination : ::testing::Test {
    double Value(PlateState& state, const std::string& text, int well, int read, WavelengthWeighting w = {})
    {
        ParserCombinedValues values(parser, state, text, w);
        values.CompileCombination();
        return values.CalcYpos(well, read);
    }
    TParser parser;
};

TEST_F(Combination, MissingWavelengthsReadAsOne)
{
    PlateState state = SmallPlate(1);
    EXPECT_DOUBLE_EQ(Value(state, "b-a", 5, 0), 1.0 - 105.0);
    EXPECT_DOUBLE_EQ(Value(state, "a/b", 5, 2), 105.2);
    EXPECT_DOUBLE_EQ(Value(state, "c*d", 0, 0), 1.0);
}

TEST_F(Combination, TwoWavelengthsCombineAsTyped)
{
    PlateState state = SmallPlate(2);
    EXPECT_DOUBLE_EQ(Value(state, "b-a", 13, 1), 100.0);
    EXPECT_DOUBLE_EQ(Value(state, "b-0.5*a", 0, 0), 200.0 - 50.0);
}

TEST_F(Combination, TrackBarAtZeroRemovesTheFirstWavelength)
{
    PlateState state = SmallPlate(2);
    const auto weights = TrackBarFactors(0);
    EXPECT_EQ(weights.Label4, "0");
    EXPECT_EQ(weights.Label5, "100");
    state.WaveFactorA = weights.WaveFactorA;
    state.WaveFactorB = weights.WaveFactorB;
    EXPECT_DOUBLE_EQ(Value(state, "b-a", 0, 0), 200.0);
}

TEST_F(Combination, TrackBarLabelsAndFactors)
{
    EXPECT_EQ(TrackBarFactors(100).Label4, "100");
    EXPECT_EQ(TrackBarFactors(100).Label5, "100");
    EXPECT_EQ(TrackBarFactors(37).Label4, "37");
    EXPECT_EQ(TrackBarFactors(150).WaveFactorB, 0.5);
    EXPECT_EQ(TrackBarFactors(150).WaveFactorA, 1.0);
    EXPECT_EQ(TrackBarFactors(200).Label5, "0");
}

TEST_F(Combination, BothChoosersOnOneWavelengthMultiplyTwice)
{
    PlateState state = SmallPlate(1);
    const WavelengthWeighting both{0, 0};
    EXPECT_DOUBLE_EQ(Value(state, "a", 4, 0, both), 104.0);
    state.WaveFactorA = TrackBarFactors(50).WaveFactorA;
    EXPECT_DOUBLE_EQ(Value(state, "a", 4, 0, both), 52.0);
    EXPECT_DOUBLE_EQ(Value(state, "a", 4, 0, WavelengthWeighting{-1, 7}), 104.0);
}

TEST_F(Combination, DivisionByZeroGivesZeroAndOverflowAHugeValue)
{
    PlateState state = SmallPlate(2);
    state.plate.PlateData[static_cast<std::size_t>(PlateDataColumn(2, 3, 96))][0] = 0.0;
    EXPECT_EQ(Value(state, "a/b", 3, 0), 0.0);
    EXPECT_EQ(Value(state, "exp(a*10)", 3, 0), 1e100);
    EXPECT_THROW(Value(state, "ln(0-a)", 3, 0), EInvalidOp);
}

TEST_F(Combination, RejectedFormulaRaisesTheParserError)
{
    PlateState state = SmallPlate(1);
    ParserCombinedValues values(parser, state, "b-", {});
    EXPECT_THROW(values.CompileCombination(), EMathParserError);
}

TEST_F(Combination, AveragingKeepsARunningMeanInCurveOne)
{
    PlateState state = SmallPlate(1);
    state.ShownWells[1] = 0;
    state.ShownWells[2] = 1;
    state.ShownWells[3] = 5;
    state.ShownWells[4] = -1;
    state.plate.ReducedData[2][1] = -7.0;
    ParserCombinedValues values(parser, state, "a", {});
    values.CompileCombination();
    CalculateReducedData(state, values, true);
    EXPECT_DOUBLE_EQ(state.plate.ReducedData[1][1], 102.0);
    EXPECT_DOUBLE_EQ(state.plate.ReducedData[1][3], 102.2);
    EXPECT_EQ(state.plate.ReducedData[2][1], -7.0);  // untouched

    CalculateReducedData(state, values, false);
    EXPECT_DOUBLE_EQ(state.plate.ReducedData[1][1], 100.0);
    EXPECT_DOUBLE_EQ(state.plate.ReducedData[3][2], 105.1);
}

TEST_F(Combination, WellsBeyondThePlateAreSkipped)
{
    PlateState state = SmallPlate(1);
    state.ShownWells[1] = 200;  // collected on a 384-well plate before a 96-well import
    state.ShownWells[2] = -1;
    ParserCombinedValues values(parser, state, "a", {});
    values.CompileCombination();
    CalculateReducedData(state, values, false);
    EXPECT_EQ(state.plate.ReducedData[1][1], 0.0);
}

} // namespace
} // namespace movra
