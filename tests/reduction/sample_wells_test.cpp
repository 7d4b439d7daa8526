// Which wells a sample shows as curves (column-major, at most eight) and the
// table of every sample's wells (row-major).

#include "reduction/sample_wells.h"

#include <gtest/gtest.h>

#include "shared/conversion.h"

namespace movra {
namespace {

struct Plate96 : ::testing::Test {
    Plate96()
    {
        layout.Reset();
        curves.Reset();
        plate.WellCount = 96;
        plate.PlateRows = 8;
        plate.PlateColumns = 12;
    }
    std::vector<int> Shown() const
    {
        std::vector<int> wells;
        for (std::size_t curve = 1; curves.ShownWells[curve] >= 0; ++curve) wells.push_back(curves.ShownWells[curve]);
        return wells;
    }
    PlateLayout layout;
    PlateMeasurements plate;
    ShownCurves curves;
    SampleAssignment samples;
};

TEST_F(Plate96, ShownWellsAreTheFirstEightInColumnMajorOrder)
{
    layout.SetCell(2, 1, "Sample1");  // A2 = well 1
    layout.SetCell(1, 2, "Sample1");  // B1 = well 12
    layout.SetCell(1, 1, "Sample1");  // A1 = well 0
    layout.SetCell(1, 3, "Sample12");
    EXPECT_EQ(CollectShownWells(layout, "Sample1", plate, curves), ShownWellsOutcome::Collected);
    EXPECT_EQ(Shown(), (std::vector<int>{0, 12, 1}));
    for (int row = 1; row <= 8; ++row) layout.SetCell(1, row, "Sample1");
    layout.SetCell(3, 1, "Sample1");
    EXPECT_EQ(CollectShownWells(layout, "Sample1", plate, curves), ShownWellsOutcome::TooManyWells);
    EXPECT_EQ(Shown(), (std::vector<int>{0, 12, 24, 36, 48, 60, 72, 84}));
}

TEST_F(Plate96, AClickedWellIsShownWithTheBlockOfEightOfItsSampleThatHoldsIt)
{
    for (int column = 1; column <= 2; ++column)
        for (int row = 1; row <= 8; ++row) layout.SetCell(column, row, "Sample1");
    layout.SetCell(3, 1, "Sample1");  // A3: the seventeenth well of Sample1
    CollectShownWellsAround(layout, 13, plate, curves);  // B2
    EXPECT_EQ(Shown(), (std::vector<int>{1, 13, 25, 37, 49, 61, 73, 85}));
    CollectShownWellsAround(layout, 2, plate, curves);
    EXPECT_EQ(Shown(), std::vector<int>{2});
    CollectShownWellsAround(layout, 95, plate, curves);  // H12 has no sample: alone
    EXPECT_EQ(Shown(), std::vector<int>{95});
}

TEST_F(Plate96, ShortTextsChangeNothingAndUnknownSamplesShowNone)
{
    curves.ShownWells[1] = 5;
    EXPECT_EQ(CollectShownWells(layout, "Samp", plate, curves), ShownWellsOutcome::NothingChosen);
    EXPECT_EQ(curves.ShownWells[1], 5);
    EXPECT_EQ(CollectShownWells(layout, "Sampl", plate, curves), ShownWellsOutcome::Collected);
    EXPECT_EQ(curves.ShownWells[1], -1);
}

TEST_F(Plate96, SampleTableListsWellsRowMajorAndSkipsNumbersOffThePlate)
{
    layout.SetCell(1, 2, "Sample3");  // B1 = 12
    layout.SetCell(4, 1, "Sample3");  // A4 = 3
    layout.SetCell(5, 5, "Sample96");
    layout.SetCell(1, 1, "Sample0");
    layout.SetCell(2, 1, "Sample97");
    FillSampleArray(layout, plate, samples);
    EXPECT_EQ(samples.SampleWellCount, 3);
    EXPECT_EQ(samples.SampleWells[3][1], 3);
    EXPECT_EQ(samples.SampleWells[3][2], 12);
    EXPECT_EQ(samples.SampleWells[3][3], -1);
    EXPECT_EQ(samples.SampleWells[96][1], 52);
    EXPECT_EQ(samples.SampleWells[2][1], -1);
    layout.SetCell(1, 1, "Sample1x");
    EXPECT_THROW(FillSampleArray(layout, plate, samples), ConversionError);
}

TEST(SampleTable, NothingHappensBeforeAnImport)
{
    PlateLayout layout;
    layout.Reset();
    layout.SetCell(1, 1, "Sample1");
    const PlateMeasurements plate;
    SampleAssignment samples;
    ShownCurves curves;
    curves.Reset();
    FillSampleArray(layout, plate, samples);
    EXPECT_EQ(samples.SampleWellCount, 0);
    EXPECT_EQ(CollectShownWells(layout, "Sample1", plate, curves), ShownWellsOutcome::Collected);
    EXPECT_EQ(curves.ShownWells[1], -1);
}

} // namespace
} // namespace movra
