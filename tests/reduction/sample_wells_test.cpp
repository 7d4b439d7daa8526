#include "reduction/sample_wells.h"
#include "shared/conversion.h"

#include <gtest/gtest.h>

namespace movra {
namespace {

struct Plate96 : ::testing::Test {
    Plate96()
    {
        layout.New1Click();
        state.ResetWorkingState();
        state.plate.WellCount = 96;
        state.plate.PlateRows = 8;
        state.plate.PlateColumns = 12;
    }
    PlateLayout layout;
    PlateState state;
};

TEST_F(Plate96, ShownWellsAreCollectedColumnMajor)
{
    layout.SetCell(2, 1, "Sample1");  // A2 = well 1
    layout.SetCell(1, 2, "Sample1");  // B1 = well 12
    layout.SetCell(1, 1, "Sample1");  // A1 = well 0
    EXPECT_EQ(CollectShownWells(layout, "Sample1", state), ShownWellsOutcome::Collected);
    EXPECT_EQ(state.ShownWells[1], 0);
    EXPECT_EQ(state.ShownWells[2], 12);
    EXPECT_EQ(state.ShownWells[3], 1);
    EXPECT_EQ(state.ShownWells[4], -1);
}

TEST_F(Plate96, NinthWellIsReportedOnceAndTheFirstEightShown)
{
    for (int row = 1; row <= 8; ++row) layout.SetCell(1, row, "Sample1");
    layout.SetCell(2, 1, "Sample1");
    layout.SetCell(3, 1, "Sample1");
    EXPECT_EQ(CollectShownWells(layout, "Sample1", state), ShownWellsOutcome::TooManyWells);
    for (int curve = 1; curve <= 8; ++curve) EXPECT_EQ(state.ShownWells[curve], (curve - 1) * 12);
    EXPECT_EQ(state.ShownWells[9], -1);
}

TEST_F(Plate96, ShortOrUnknownSampleTexts)
{
    state.ShownWells[1] = 5;
    EXPECT_EQ(CollectShownWells(layout, "Samp", state), ShownWellsOutcome::NothingChosen);
    EXPECT_EQ(state.ShownWells[1], 5);
    EXPECT_EQ(CollectShownWells(layout, "Sample4", state), ShownWellsOutcome::Collected);
    EXPECT_EQ(state.ShownWells[1], -1);
}

TEST_F(Plate96, SampleTableListsWellsRowMajor)
{
    layout.SetCell(1, 2, "Sample3");  // B1 = 12
    layout.SetCell(4, 1, "Sample3");  // A4 = 3
    layout.SetCell(5, 5, "Sample1");  // E5 = 52
    FillSampleArray(layout, state);
    EXPECT_EQ(state.SampleWellCount, 3);
    EXPECT_EQ(state.SampleWells[3][1], 3);
    EXPECT_EQ(state.SampleWells[3][2], 12);
    EXPECT_EQ(state.SampleWells[3][3], -1);
    EXPECT_EQ(state.SampleWells[1][1], 52);
    EXPECT_EQ(state.SampleWells[2][1], -1);
}

TEST_F(Plate96, SampleNumbersOutsideThePlateAreSkipped)
{
    layout.SetCell(1, 1, "Sample0");
    layout.SetCell(2, 1, "Sample97");
    layout.SetCell(3, 1, "Sample96");
    FillSampleArray(layout, state);
    EXPECT_EQ(state.SampleWellCount, 1);
    EXPECT_EQ(state.SampleWells[96][1], 2);
}

TEST_F(Plate96, BadLabelRaisesConversionError)
{
    layout.SetCell(1, 1, "Sample1x");
    EXPECT_THROW(FillSampleArray(layout, state), ConversionError);
}

TEST(SampleTable, NothingHappensBeforeAnImport)
{
    PlateLayout layout;
    layout.New1Click();
    layout.SetCell(1, 1, "Sample1");
    PlateState state;
    FillSampleArray(layout, state);
    EXPECT_EQ(state.SampleWellCount, 0);
    EXPECT_EQ(CollectShownWells(layout, "Sample1", state), ShownWellsOutcome::Collected);
    EXPECT_EQ(state.ShownWells[1], -1);
}

} // namespace
} // namespace movra
