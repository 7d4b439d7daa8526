// Taking table lines apart: separator detection, quotes and blanks.
#include "plate/table_fields.h"

#include <gtest/gtest.h>

namespace movra {
namespace {

std::vector<std::string> Split(std::string_view line, char separator)
{
    std::vector<std::string> fields;
    EXPECT_FALSE(SplitTableLine(line, separator, fields).has_value()) << line;
    return fields;
}

using Fields = std::vector<std::string>;

TEST(TableSeparator, TabWinsOverSemicolonAndSemicolonOverComma)
{
    EXPECT_EQ(DetectTableSeparator("x\ta;b,c"), '\t');
    EXPECT_EQ(DetectTableSeparator("x;a,b"), ';');
    EXPECT_EQ(DetectTableSeparator("x,a,b"), ',');
}

TEST(TableSeparator, SeparatorsInsideQuotesDoNotCount)
{
    EXPECT_EQ(DetectTableSeparator("\"Time; s\",A,B"), ',');
    EXPECT_EQ(DetectTableSeparator("\"a\tb\";c"), ';');
}

TEST(TableSplit, TrimsBlanksAndKeepsEmptyFields)
{
    EXPECT_EQ(Split(" 1.5 ; ;2", ';'), (Fields{"1.5", "", "2"}));
    EXPECT_EQ(Split("a;b;", ';'), (Fields{"a", "b", ""}));
    EXPECT_EQ(Split("", ';'), (Fields{""}));
    EXPECT_EQ(Split("only", ','), (Fields{"only"}));
}

TEST(TableSplit, QuotedFieldsLoseQuotesAndKeepSeparatorsAndDoubledQuotes)
{
    EXPECT_EQ(Split(R"("Time, h","say ""hi""", "B" )", ','), (Fields{"Time, h", R"(say "hi")", "B"}));
    EXPECT_EQ(Split(R"("";x)", ';'), (Fields{"", "x"}));
}

TEST(TableSplit, ReportsTheFieldWhoseQuoteIsNeverClosed)
{
    std::vector<std::string> fields;
    const auto bad = SplitTableLine(R"(a,b,"c,d)", ',', fields);
    ASSERT_TRUE(bad.has_value());
    EXPECT_EQ(*bad, 2u);
}

TEST(TableSplit, AllFieldsEmptyOnlyForBlankRows)
{
    EXPECT_TRUE(AllFieldsEmpty(Split(";;;", ';')));
    EXPECT_TRUE(AllFieldsEmpty(Split("  ", ';')));
    EXPECT_FALSE(AllFieldsEmpty(Split(";0;", ';')));
}

} // namespace
} // namespace movra
