// The pieces of the batch run that need no plate: parameter lists, the
// progress line and tables of several files.
#include <gtest/gtest.h>

#include "batch/file_column_table.h"
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
