#include "reports/results_report.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace movra {
namespace {

// Combined value = well index * 10 + read, so means are easy to check.
class FakeCombination : public CombinedValues {
public:
    void CompileCombination() override
    {
        if (reject) throw std::runtime_error("Error parsing expression:\rB-");
        ++compiles;
    }
    double CalcYpos(int well, int read) override { return well * 10.0 + read; }
    bool reject = false;
    int compiles = 0;
};

struct ReportFixture : ::testing::Test {
    ReportFixture()
    {
        layout.New1Click();
        state.ResetWorkingState();
        auto& plate = state.plate;
        plate.WellCount = 96;
        plate.PlateRows = 8;
        plate.PlateColumns = 12;
        plate.ReadMode = "Kinetic";
        plate.TimePointCount = 2;
        plate.TimeVector = {0.0, 0.5, 1.25};
    }
    void Fit(int well, double chiSq)
    {
        auto& row = state.WellFitResults[static_cast<std::size_t>(well)];
        row[0] = chiSq;
        for (int i = 1; i <= 16; ++i) row[static_cast<std::size_t>(i)] = i;
        state.WellFitStatus[static_cast<std::size_t>(well)] = "b-a - m1*x";
    }
    PlateLayout layout;
    PlateState state;
    StringTable grid{5, 5};
    FakeCombination combination;
};

TEST_F(ReportFixture, ResultsWithoutFitsKeepOnlyTheHeaderRow)
{
    layout.SetCell(1, 1, "Sample1");
    CalcResults(layout, state, grid);
    EXPECT_EQ(grid.RowCount(), 1);
    EXPECT_EQ(grid.ColCount(), 19);
    EXPECT_EQ(grid.Cell(1, 0), "m1");
    EXPECT_EQ(grid.Cell(16, 0), "std(m8)");
    EXPECT_EQ(grid.Cell(17, 0), "ChiSq");
    EXPECT_EQ(grid.Cell(0, 0), "");
    EXPECT_EQ(grid.Cell(18, 0), "");
}

TEST_F(ReportFixture, ResultsListSamplesAscendingAndWellsRowMajor)
{
    layout.SetCell(4, 2, "Sample3");  // B4 = 15
    layout.SetCell(1, 1, "Sample3");  // A1 = 0
    layout.SetCell(2, 1, "Sample1");  // A2 = 1
    layout.SetCell(3, 1, "Sample1");  // A3 = 2, never fitted
    Fit(15, 0.5);
    Fit(0, 2.0);
    Fit(1, 1e-7);
    CalcResults(layout, state, grid);
    ASSERT_EQ(grid.RowCount(), 4);
    EXPECT_EQ(grid.Cell(0, 1), "Sample1A2");
    EXPECT_EQ(grid.Cell(0, 2), "Sample3A1");
    EXPECT_EQ(grid.Cell(0, 3), "Sample3B4");
    EXPECT_EQ(grid.Cell(1, 3), "1");
    EXPECT_EQ(grid.Cell(16, 3), "16");
    EXPECT_EQ(grid.Cell(17, 1), "1E-7");
    EXPECT_EQ(grid.Cell(17, 3), "0.5");
    EXPECT_EQ(grid.Cell(18, 3), "b-a - m1*x");
}

TEST_F(ReportFixture, FailedAndPerfectFitsAreLeftOut)
{
    layout.SetCell(1, 1, "Sample1");
    layout.SetCell(2, 1, "Sample1");
    Fit(0, -1.0);  // last fit failed, older parameters still stored
    Fit(1, 0.0);
    CalcResults(layout, state, grid);
    EXPECT_EQ(grid.RowCount(), 1);
}

TEST_F(ReportFixture, AverageSkipsUnusedSampleNumbers)
{
    layout.SetCell(1, 1, "Sample1");  // well 0
    layout.SetCell(2, 1, "Sample1");  // well 1
    layout.SetCell(3, 1, "Sample3");  // well 2
    RepAverageButClick(layout, state, combination, grid);
    EXPECT_EQ(grid.ColCount(), 3);
    EXPECT_EQ(grid.RowCount(), 3);
    EXPECT_EQ(grid.Cell(0, 0), "Time (h)");
    EXPECT_EQ(grid.Cell(0, 2), "1.25");
    EXPECT_EQ(grid.Cell(1, 0), "Sample1");
    EXPECT_EQ(grid.Cell(2, 0), "Sample3");
    EXPECT_EQ(grid.Cell(1, 1), "5");   // mean of 0 and 10 at read 0
    EXPECT_EQ(grid.Cell(1, 2), "6");   // mean of 1 and 11 at read 1
    EXPECT_EQ(grid.Cell(2, 2), "21");
}

TEST_F(ReportFixture, ReducedDataListsEveryAssignedWell)
{
    state.plate.ReadMode = "Spectrum";
    layout.SetCell(3, 1, "Sample2");
    layout.SetCell(1, 2, "Sample1");
    RawDataButClick(layout, state, combination, grid);
    EXPECT_EQ(grid.Cell(0, 0), "Wavelength(nm)");
    EXPECT_EQ(grid.Cell(1, 0), "Sample1B1");
    EXPECT_EQ(grid.Cell(2, 0), "Sample2A3");
    EXPECT_EQ(grid.Cell(1, 1), "120");
    EXPECT_EQ(grid.Cell(2, 2), "21");
    EXPECT_EQ(grid.ColCount(), 3);
}

TEST_F(ReportFixture, RejectedCombinationStopsTheBuilder)
{
    combination.reject = true;
    layout.SetCell(1, 1, "Sample1");
    EXPECT_THROW(RawDataButClick(layout, state, combination, grid), std::runtime_error);
    EXPECT_EQ(grid.Cell(1, 0), "");
}

TEST(ReportCopy, RowsAreTabSeparatedAndEndWithCarriageReturn)
{
    StringTable grid(3, 2);
    const char* texts[2][3] = {{"a", "b", "c"}, {"d", "e", "f"}};
    for (int row = 0; row < 2; ++row)
        for (int column = 0; column < 3; ++column) grid.SetCell(column, row, texts[row][column]);
    grid.SetCell(3, 0, "hidden");
    EXPECT_EQ(CopyReportText(grid), "a\tb\tc\rd\te\tf\r");
    bt_ClearReportClick(grid);
    EXPECT_EQ(CopyReportText(grid), "\t\t\r\t\t\r");
    EXPECT_EQ(grid.ColCount(), 3);
}

} // namespace
} // namespace movra
