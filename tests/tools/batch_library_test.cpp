// The pieces of the batch run that need no plate: parameter lists, the
// progress line, the choice and order of the curves to fit.
#include <gtest/gtest.h>

#include "batch/parameter_texts.h"
#include "batch/plate_fit.h"
#include "batch/progress_line.h"

namespace movra {
namespace {

TEST(ParameterTexts, ListSetsNamedParametersAndKeepsTheOthers)
{
    std::array<std::string, 9> texts{"", "a", "b", "c", "d", "e", "f", "g", "h"};
    ApplyParameterTexts("m1=4000,M3=-3,m8=#Sat", texts);
    EXPECT_EQ(texts[1], "4000");
    EXPECT_EQ(texts[2], "b");
    EXPECT_EQ(texts[3], "-3");
    EXPECT_EQ(texts[8], "#Sat");
}

TEST(ParameterTexts, DecimalCommaStaysInTheValue)
{
    std::array<std::string, 9> texts{};
    ApplyParameterTexts("m1=0,5,m2=1,25", texts);
    EXPECT_EQ(texts[1], "0,5");
    EXPECT_EQ(texts[2], "1,25");
}

TEST(ParameterTexts, ListNotStartingWithAParameterIsRefused)
{
    std::array<std::string, 9> texts{};
    EXPECT_THROW(ApplyParameterTexts("x=1", texts), ParameterListError);
    EXPECT_THROW(ApplyParameterTexts("m9=1", texts), ParameterListError);
    EXPECT_THROW(ApplyParameterTexts("4000", texts), ParameterListError);
}

TEST(ProgressLine, ShowsBarCountRateAndTimeLeft)
{
    EXPECT_EQ(FormatProgressLine(192, 384, 2.0), "[##########----------] 192/384 wells  96.0 wells/s  2 s left");
    EXPECT_EQ(FormatProgressLine(0, 384, 0.5), "[--------------------]   0/384 wells");
    EXPECT_EQ(FormatProgressLine(4, 4, 1.0, "sample means"),
              "[####################] 4/4 sample means  4.0 sample means/s  0 s left");
}

struct CurvesFixture : ::testing::Test {
    CurvesFixture()
    {
        plate.WellCount = 96;
        for (auto& wells : samples.SampleWells) wells.fill(-1);
        // Sample 2 before sample 1 in the table must not matter; sample 3 is empty.
        samples.SampleWells[2][1] = 3;
        samples.SampleWells[1][1] = 0;
        samples.SampleWells[1][2] = 12;
        samples.SampleWells[1][3] = 13;
    }
    PlateMeasurements plate;
    SampleAssignment samples;
};

TEST_F(CurvesFixture, OneCurvePerWellBySampleThenRowMajor)
{
    const auto curves = CurvesToFit(plate, samples, false);
    ASSERT_EQ(curves.size(), 4u);
    EXPECT_EQ(curves[0].FiledWell(), 0);
    EXPECT_EQ(curves[1].FiledWell(), 12);
    EXPECT_EQ(curves[2].FiledWell(), 13);
    EXPECT_EQ(curves[3].FiledWell(), 3);
    EXPECT_EQ(curves[3].Sample, 2);
}

TEST_F(CurvesFixture, AveragingGivesOneCurvePerSampleFiledUnderItsFirstWell)
{
    const auto curves = CurvesToFit(plate, samples, true);
    ASSERT_EQ(curves.size(), 2u);
    EXPECT_EQ(curves[0].Wells, (std::vector<int>{0, 12, 13}));
    EXPECT_EQ(curves[0].FiledWell(), 0);
    EXPECT_EQ(curves[1].Wells, (std::vector<int>{3}));
}

// Combined values given by a table: well w at read t is 10 w + t.
class TableValues : public CombinedValues {
public:
    void CompileCombination() override {}
    double CalcYpos(int well, int read) override { return 10.0 * well + read; }
};

TEST(CombinedCurve, MeanOfTheWellsAtEveryRead)
{
    TableValues values;
    const TVector curve = CombinedCurve(values, {1, 2, 6}, 3);
    ASSERT_EQ(curve.size(), 4u);
    EXPECT_DOUBLE_EQ(curve[1], 30.0);
    EXPECT_DOUBLE_EQ(curve[3], 32.0);
    EXPECT_EQ(CombinedCurve(values, {4}, 3)[2], 41.0);
}

} // namespace
} // namespace movra
