#include "plate/plate_state.h"

#include <gtest/gtest.h>

namespace movra {
namespace {

TEST(PlateIndices, WellIndexIsRowMajorFromZero)
{
    EXPECT_EQ(WellIndex(1, 1, 12), 0);
    EXPECT_EQ(WellIndex(1, 12, 12), 11);
    EXPECT_EQ(WellIndex(2, 1, 12), 12);
    EXPECT_EQ(WellIndex(16, 24, 24), 383);
}

TEST(PlateIndices, SecondWavelengthOfB1OnA96WellPlateIsColumn110)
{
    EXPECT_EQ(PlateDataColumn(2, WellIndex(2, 1, 12), 96), 110);
    EXPECT_EQ(PlateDataColumn(1, 0, 96), 2);
}

TEST(PlateIndices, WellNamesAreRowLetterAndColumnNumber)
{
    EXPECT_EQ(WellName(0, 12), "A1");
    EXPECT_EQ(WellName(13, 12), "B2");
    EXPECT_EQ(WellName(383, 24), "P24");
}

TEST(PlateState, FreshStateHasNoPlate)
{
    PlateState state;
    EXPECT_EQ(state.plate.TimePointCount, 0);
    EXPECT_EQ(state.plate.WellCount, 0);
    EXPECT_EQ(state.plate.PlateRows, 0);
    EXPECT_EQ(state.plate.PlateColumns, 0);
    EXPECT_TRUE(state.plate.PlateData.empty());
}

TEST(PlateState, ResetMarksEveryWellUnfittedAndRestoresDefaults)
{
    PlateState state;
    state.plate.LastXValue = 4.0;
    state.ShownWells[1] = 7;
    state.ResetWorkingState();
    EXPECT_EQ(state.SampleCount, 1);
    EXPECT_EQ(state.plate.LastXValue, 0.0);
    EXPECT_EQ(state.GraphYMax, 2.0);
    EXPECT_EQ(state.GraphYMin, 0.5);
    EXPECT_EQ(state.ShownWells[1], -1);
    EXPECT_EQ(state.ShownWells[384], -1);
    EXPECT_EQ(state.CurveColors[1], 0x0000FFu);
    EXPECT_EQ(state.CurveColors[6], 0xF0CAA6u);
    EXPECT_EQ(state.CurveColors[8], 0x000000u);
    ASSERT_EQ(state.WellFitResults.size(), 385u);
    ASSERT_EQ(state.WellFitResults[384].size(), 17u);
    EXPECT_EQ(state.WellFitResults[384][0], -1.0);
    EXPECT_EQ(state.WellFitResults[0][1], 10000.0);
    EXPECT_EQ(state.WellFitResults[0][2], 0.0);
    EXPECT_EQ(state.WaveFactorA, 1.0);
    EXPECT_EQ(state.WaveFactorB, 1.0);
}

} // namespace
} // namespace movra
