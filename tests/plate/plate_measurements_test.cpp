#include "plate/plate_measurements.h"
#include "plate/read_range.h"

#include <gtest/gtest.h>

namespace movra {
namespace {

TEST(PlateIndices, WellsAreRowMajorFromA1AndWavelengthsFollowEachOther)
{
    EXPECT_EQ(WellIndex(1, 12, 12), 11);
    EXPECT_EQ(WellIndex(2, 1, 12), 12);
    EXPECT_EQ(WellIndex(16, 24, 24), 383);
    EXPECT_EQ(PlateDataColumn(1, 0, 96), 2);
    EXPECT_EQ(PlateDataColumn(2, WellIndex(2, 1, 12), 96), 110);  // B1 at wavelength 2
    EXPECT_EQ(WellName(0, 12), "A1");
    EXPECT_EQ(WellName(13, 12), "B2");
    EXPECT_EQ(WellName(383, 24), "P24");
}

TEST(ReadRange, ZoomPercentagesSelectTheReadsInView)
{
    EXPECT_EQ(ReadsInView(61, 1, 100), (ReadRange{1, 61}));
    EXPECT_EQ(ReadsInView(20, 50, 50), (ReadRange{10, 10}));
    EXPECT_EQ(ReadsInView(500, 10, 90), (ReadRange{46, 450}));
}

} // namespace
} // namespace movra
