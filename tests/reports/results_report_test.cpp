// The report tables: fit results by sample, sample means and every assigned
// well's combined curve, and the clipboard text of the grid.

#include "reports/report_file.h"
#include "reports/results_report.h"

#include <gtest/gtest.h>

#include <limits>
#include <stdexcept>

namespace movra {
namespace {

// Combined value = well index * 10 + read, so means are easy to check.
class FakeCombination : public CombinedValues {
public:
    void CompileCombination() override
    {
        if (reject) throw std::runtime_error("Error parsing expression:\rB-");
    }
    double CalcYpos(int well, int read) override { return well * 10.0 + read; }
    bool reject = false;
};

struct ReportFixture : ::testing::Test {
    ReportFixture()
    {
        layout.Reset();
        fits.Reset();
        plate.WellCount = 96;
        plate.PlateRows = 8;
        plate.PlateColumns = 12;
        plate.ReadMode = "Kinetic";
        plate.TimePointCount = 2;
        plate.TimeVector = {0.0, 0.5, 1.25};
    }
    void Fit(int well, double chiSq)
    {
        auto& row = fits.WellFitResults[static_cast<std::size_t>(well)];
        row[0] = chiSq;
        for (int i = 1; i <= 16; ++i) row[static_cast<std::size_t>(i)] = i;
        fits.WellFitStatus[static_cast<std::size_t>(well)] = "b-a - m1*x";
    }
    PlateLayout layout;
    PlateMeasurements plate;
    SampleAssignment samples;
    FitResults fits;
    StringTable grid{5, 5};
    FakeCombination combination;
};

TEST_F(ReportFixture, ResultsListSuccessfulFitsBySampleAndWellsRowMajor)
{
    layout.SetCell(4, 2, "Sample3");  // B4 = 15
    layout.SetCell(1, 1, "Sample3");  // A1 = 0
    layout.SetCell(2, 1, "Sample1");  // A2 = 1
    layout.SetCell(3, 1, "Sample1");  // A3 = 2, never fitted
    layout.SetCell(5, 1, "Sample2");  // A5 = 4, last fit failed
    layout.SetCell(6, 1, "Sample2");  // A6 = 5, a perfect fit
    Fit(15, 0.5);
    Fit(0, 2.0);
    Fit(1, 1e-7);
    Fit(4, -1.0);
    Fit(5, 0.0);
    auto& nonFinite = fits.WellFitResults[15];  // deviations of a covariance gone wrong
    nonFinite[9] = std::numeric_limits<double>::quiet_NaN();
    nonFinite[10] = std::numeric_limits<double>::infinity();
    BuildResultsReport(layout, plate, samples, fits, grid);
    ASSERT_EQ(grid.RowCount(), 4);
    EXPECT_EQ(grid.ColCount(), 19);
    const std::vector<std::vector<std::string>> expected = {
        {"", "m1", "m2", "m3", "m4", "m5", "m6", "m7", "m8", "std(m1)", "std(m2)", "std(m3)", "std(m4)", "std(m5)",
         "std(m6)", "std(m7)", "std(m8)", "ChiSq", ""},
        {"Sample1A2", "1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12", "13", "14", "15", "16", "1E-7",
         "b-a - m1*x"},
        {"Sample3A1", "1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12", "13", "14", "15", "16", "2",
         "b-a - m1*x"},
        {"Sample3B4", "1", "2", "3", "4", "5", "6", "7", "8", "NAN", "INF", "11", "12", "13", "14", "15", "16", "0.5",
         "b-a - m1*x"}};
    for (int row = 0; row < 4; ++row)
        for (int column = 0; column < 19; ++column)
            EXPECT_EQ(grid.Cell(column, row), expected[row][column]) << column << ", " << row;
}

TEST_F(ReportFixture, AverageSkipsUnusedSampleNumbers)
{
    layout.SetCell(1, 1, "Sample1");  // well 0
    layout.SetCell(2, 1, "Sample1");  // well 1
    layout.SetCell(3, 1, "Sample3");  // well 2
    BuildAverageReport(layout, plate, samples, combination, grid);
    EXPECT_EQ(CopyReportText(grid), "Time (h)\tSample1\tSample3\r0.5\t5\t20\r1.25\t6\t21\r");
}

TEST_F(ReportFixture, ReducedDataListsEveryAssignedWell)
{
    plate.ReadMode = "Spectrum";
    layout.SetCell(3, 1, "Sample2");
    layout.SetCell(1, 2, "Sample1");
    BuildReducedDataReport(layout, plate, samples, combination, grid);
    EXPECT_EQ(CopyReportText(grid), "Wavelength(nm)\tSample1B1\tSample2A3\r0.5\t120\t20\r1.25\t121\t21\r");
}

TEST_F(ReportFixture, RejectedCombinationStopsTheBuilder)
{
    combination.reject = true;
    layout.SetCell(1, 1, "Sample1");
    EXPECT_THROW(BuildReducedDataReport(layout, plate, samples, combination, grid), std::runtime_error);
    EXPECT_EQ(grid.Cell(1, 0), "");
}

TEST(ReportCopy, ShowsOnlyTheCountedCellsAndClearingKeepsTheCounts)
{
    StringTable grid(3, 2);
    const char* texts[2][3] = {{"a", "b", "c"}, {"d", "e", "f"}};
    for (int row = 0; row < 2; ++row)
        for (int column = 0; column < 3; ++column) grid.SetCell(column, row, texts[row][column]);
    grid.SetCell(3, 0, "hidden");
    EXPECT_EQ(CopyReportText(grid), "a\tb\tc\rd\te\tf\r");
    // Files: LF line ends; CSV quotes a decimal comma, a quote or a line break.
    grid.SetCell(1, 1, "0,5");
    grid.SetCell(2, 1, "say \"x\"\n");
    EXPECT_EQ(ReportFileText(grid, ReportFormatOfFileName("r.tsv")), "a\tb\tc\nd\t0,5\tsay \"x\"\n\n");
    EXPECT_EQ(ReportFileText(grid, ReportFormatOfFileName("R.Csv")), "a,b,c\nd,\"0,5\",\"say \"\"x\"\"\n\"\n");
    ClearReport(grid);
    EXPECT_EQ(CopyReportText(grid), "\t\t\r\t\t\r");
}

} // namespace
} // namespace movra
