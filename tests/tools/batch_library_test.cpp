// The pieces of the batch run that need no plate: parameter lists, the
// progress line, the choice and order of the curves to fit.
#include <gtest/gtest.h>

#include "batch/parameter_texts.h"
#include "batch/plate_fit.h"
#include "batch/progress_line.h"

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

// Samples ascending whatever order the table holds them in, wells in table
// order inside a sample; averaging gives one curve per sample, filed under
// its first well; a sample without wells gives none.
TEST(CurvesToFit, OneCurvePerWellBySampleOrOnePerSample)
{
    PlateMeasurements plate;
    plate.WellCount = 96;
    SampleAssignment samples;
    for (auto& wells : samples.SampleWells) wells.fill(-1);
    samples.SampleWells[2][1] = 3;
    samples.SampleWells[1][1] = 0;
    samples.SampleWells[1][2] = 12;
    samples.SampleWells[1][3] = 13;
    std::vector<std::pair<int, std::vector<int>>> found;
    for (const BatchCurve& curve : CurvesToFit(plate, samples, false)) found.emplace_back(curve.Sample, curve.Wells);
    EXPECT_EQ(found, (decltype(found){{1, {0}}, {1, {12}}, {1, {13}}, {2, {3}}}));
    found.clear();
    for (const BatchCurve& curve : CurvesToFit(plate, samples, true))
        found.emplace_back(curve.FiledWell(), curve.Wells);
    EXPECT_EQ(found, (decltype(found){{0, {0, 12, 13}}, {3, {3}}}));
}

} // namespace
} // namespace movra
