#include "plate/plate_measurements.h"
#include "plate/read_range.h"

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

TEST(PlateMeasurements, FreshPlateHasNoReads)
{
    const PlateMeasurements plate;
    EXPECT_EQ(plate.TimePointCount, 0);
    EXPECT_EQ(plate.WellCount, 0);
    EXPECT_EQ(plate.PlateRows, 0);
    EXPECT_EQ(plate.PlateColumns, 0);
    EXPECT_TRUE(plate.PlateData.empty());
}

TEST(ReadRange, ZoomPercentagesSelectTheReadsInView)
{
    EXPECT_EQ(ReadsInView(61, 1, 100), (ReadRange{1, 61}));
    EXPECT_EQ(ReadsInView(20, 50, 50), (ReadRange{10, 10}));
    EXPECT_EQ(ReadsInView(500, 10, 90), (ReadRange{46, 450}));
}

} // namespace
} // namespace movra
