// The pieces of the batch run that need no plate: parameter lists, the
// progress line, which wells go into which picture and tables of several files.
#include <gtest/gtest.h>

#include "batch/file_column_table.h"
#include "batch/parameter_texts.h"
#include "batch/progress_line.h"
#include "batch/sample_pictures.h"

namespace movra {
namespace {

// Names in any case; a comma not followed by "mK=" stays in the value.
TEST(ParameterTexts, ListSetsTheNamedParametersKeepsTheOthersAndRefusesOtherStarts)
{
    std::array<std::string, 9> texts{"", "a", "b", "c", "d", "e", "f", "g", "h"};
    ApplyParameterTexts("m1=4000,M3=-3,m8=#Sat,m5=0,5,m6=1,25", texts);
    EXPECT_EQ(texts, (std::array<std::string, 9>{"", "4000", "b", "-3", "d", "0,5", "1,25", "g", "#Sat"}));
    for (const char* list : {"x=1", "m9=1", "4000"}) EXPECT_THROW(ApplyParameterTexts(list, texts), ParameterListError);
}

TEST(ProgressLine, ShowsBarCountRateAndTimeLeft)
{
    EXPECT_EQ(FormatProgressLine(192, 384, 2.0), "[##########----------] 192/384 wells  96.0 wells/s  2 s left");
    EXPECT_EQ(FormatProgressLine(0, 384, 0.5), "[--------------------]   0/384 wells");
    EXPECT_EQ(FormatProgressLine(4, 4, 1.0, "sample means"),
              "[####################] 4/4 sample means  4.0 sample means/s  0 s left");
}

// Sample 1 holds A1..A5 and B1..B5 (row-major, as the run fits them),
// sample 3 H12: eight wells to a picture in the graph's column-major order,
// or one picture of each sample's mean, shown as its first well.
TEST(SamplePictures, EightWellsToAPictureInTheGraphsOrderOrOneMeanPerSample)
{
    PlateMeasurements plate;
    plate.PlateColumns = 12;
    const std::vector<int> sample1 = {0, 1, 2, 3, 4, 12, 13, 14, 15, 16};
    std::vector<BatchCurve> wells, means = {{1, sample1}, {3, {95}}};
    for (int well : sample1) wells.push_back({1, {well}});
    wells.push_back({3, {95}});
    const auto pictures = SamplePictures(plate, wells, false);
    ASSERT_EQ(pictures.size(), 3u);
    EXPECT_EQ(std::tie(pictures[0].Name, pictures[0].Wells),
              std::tuple("Sample1", std::vector<int>{0, 12, 1, 13, 2, 14, 3, 15}));
    EXPECT_EQ(std::tie(pictures[1].Name, pictures[1].Wells), std::tuple("Sample1-2", std::vector<int>{4, 16}));
    EXPECT_EQ(std::tie(pictures[2].Name, pictures[2].Wells), std::tuple("Sample3", std::vector<int>{95}));
    const auto averaged = SamplePictures(plate, means, true);
    ASSERT_EQ(averaged.size(), 2u);
    EXPECT_EQ(std::tie(averaged[0].Name, averaged[0].Wells), std::tuple("Sample1", sample1));

    // Well w reads 10 w + t: the mean of sample 1 is 80 + t, shown as A1.
    struct WellValues final : CombinedValues {
        void CompileCombination() override {}
        double CalcYpos(int well, int read) override { return 10.0 * well + read; }
    } values;
    const ShownCurves mean = PictureCurves(averaged[0], values, 3, true);
    EXPECT_EQ(std::tuple(mean.ShownWells[1], mean.ShownWells[2]), std::tuple(0, -1));
    EXPECT_NEAR(mean.ReducedData[1][3], 82.0, 1e-12);
    const ShownCurves shown = PictureCurves(pictures[1], values, 3, false);
    EXPECT_EQ(std::tuple(shown.Count(), shown.ShownWells[2], shown.ReducedData[2][1]), std::tuple(2, 16, 160.0));
}

// Equal captions stack rows unchanged (trailing empty cells too); other
// captions go under their own name, repeated names by their order, new ones
// on the right, and no row is padded.
TEST(FileColumnTable, StacksRowsUnderTheCaptionsOfTheirOwnNames)
{
    FileColumnTable table;
    EXPECT_EQ(table.Text(), "");
    table.Add("a.txt", "\tm1\tm1\t\nA1\t1\t2\t\n");
    table.Add("b=c.txt", "\tm1\tm1\t\nB1\t3\t4\t\nB2\t\t\t\n");
    table.Add("empty.txt", "");
    table.Add("d.txt", "\tm2\tm1\nD1\t5\t6\nD2\t7\t8\t9\n");
    table.Add("e.txt", "\tm1\n");
    EXPECT_EQ(table.Text(),
              "File\t\tm1\tm1\t\tm2\n"
              "a.txt\tA1\t1\t2\t\n"
              "b=c.txt\tB1\t3\t4\t\n"
              "b=c.txt\tB2\t\t\t\n"
              "d.txt\tD1\t6\t\t\t5\n"
              "d.txt\tD2\t8\t\t9\t7\n");
}

} // namespace
} // namespace movra
