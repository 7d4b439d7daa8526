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
        plate.WellCount = 96, plate.PlateRows = 8, plate.PlateColumns = 12, plate.TimePointCount = 2;
        plate.ReadMode = "Kinetic";
        plate.TimeVector = {0.0, 0.5, 1.25};
    }
    // Labels cells given as (column, row, label).
    void Assign(std::initializer_list<std::tuple<int, int, const char*>> cells)
    {
        for (const auto& [column, row, label] : cells) layout.SetCell(column, row, label);
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
    // Wells B4 (15) and A1 (0) are Sample3; A2 (1) and A3 (2, never fitted)
    // Sample1; A5 (4, its last fit failed) and A6 (5, a perfect fit) Sample2.
    Assign({{4, 2, "Sample3"}, {1, 1, "Sample3"}, {2, 1, "Sample1"}, {3, 1, "Sample1"}, {5, 1, "Sample2"},
            {6, 1, "Sample2"}});
    for (const auto& [well, chiSq] : {std::pair{15, 0.5}, {0, 2.0}, {1, 1e-7}, {4, -1.0}, {5, 0.0}}) {
        auto& row = fits.WellFitResults[static_cast<std::size_t>(well)];
        row[0] = chiSq;
        for (int i = 1; i <= 16; ++i) row[static_cast<std::size_t>(i)] = i;
        fits.WellFitStatus[static_cast<std::size_t>(well)] = "b-a - m1*x";
    }
    auto& nonFinite = fits.WellFitResults[15];  // deviations of a covariance gone wrong
    nonFinite[9] = std::numeric_limits<double>::quiet_NaN();
    nonFinite[10] = std::numeric_limits<double>::infinity();
    BuildResultsReport(layout, plate, samples, fits, grid);
    const std::string fitted = "\t1\t2\t3\t4\t5\t6\t7\t8\t9\t10\t11\t12\t13\t14\t15\t16\t";
    EXPECT_EQ(CopyReportText(grid),
              "\tm1\tm2\tm3\tm4\tm5\tm6\tm7\tm8\tstd(m1)\tstd(m2)\tstd(m3)\tstd(m4)\tstd(m5)\tstd(m6)\tstd(m7)\tstd(m8)"
              "\tChiSq\t\rSample1A2" + fitted + "1E-7\tb-a - m1*x\rSample3A1" + fitted + "2\tb-a - m1*x\r"
              "Sample3B4\t1\t2\t3\t4\t5\t6\t7\t8\tNAN\tINF\t11\t12\t13\t14\t15\t16\t0.5\tb-a - m1*x\r");
}

TEST_F(ReportFixture, AverageAndReducedDataListSamplesInOrderAndSkipUnusedNumbers)
{
    Assign({{1, 1, "Sample3"}, {2, 1, "Sample1"}, {1, 2, "Sample1"}});  // wells 0, 1 and 12
    BuildAverageReport(layout, plate, samples, combination, grid);
    EXPECT_EQ(CopyReportText(grid), "Time (h)\tSample1\tSample3\r0.5\t65\t0\r1.25\t66\t1\r");
    plate.ReadMode = "Spectrum";
    BuildReducedDataReport(layout, plate, samples, combination, grid);
    EXPECT_EQ(CopyReportText(grid),
              "Wavelength(nm)\tSample1A2\tSample1B1\tSample3A1\r0.5\t10\t120\t0\r1.25\t11\t121\t1\r");
    ClearReport(grid);
    const std::string cleared = CopyReportText(grid);
    combination.reject = true;  // a rejected combination stops the builder before it writes
    EXPECT_THROW(BuildReducedDataReport(layout, plate, samples, combination, grid), std::runtime_error);
    EXPECT_EQ(CopyReportText(grid), cleared);
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
    grid.SetCell(2, 1, "say \"x\"");
    grid.SetCell(0, 1, "d\n");
    EXPECT_EQ(ReportFileText(grid, ReportFormatOfFileName("r.tsv")), "a\tb\tc\nd\n\t0,5\tsay \"x\"\n");
    EXPECT_EQ(ReportFileText(grid, ReportFormatOfFileName("R.Csv")), "a,b,c\n\"d\n\",\"0,5\",\"say \"\"x\"\"\"\n");
    ClearReport(grid);
    EXPECT_EQ(CopyReportText(grid), "\t\t\r\t\t\r");
}

} // namespace
} // namespace movra
