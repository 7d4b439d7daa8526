// The pieces of the batch run that need no plate: parameter lists and the
// progress line.
#include <gtest/gtest.h>

#include "batch/parameter_texts.h"
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

} // namespace
} // namespace movra
