#include "plate/import_fields.h"

#include <gtest/gtest.h>

#include "shared/user_locale.h"

namespace movra {
namespace {

TEST(SplitField, ReturnsTextBeforeSeparatorAndRemovesIt)
{
    std::string_view line = "a\tbc\t";
    EXPECT_EQ(SplitField('\t', line), "a");
    EXPECT_EQ(line, "bc\t");
    EXPECT_EQ(SplitField('\t', line), "bc");
    EXPECT_EQ(line, "");
}

TEST(SplitField, WithoutSeparatorReturnsEmptyAndLeavesLine)
{
    std::string_view line = "last";
    EXPECT_EQ(SplitField('\t', line), "");
    EXPECT_EQ(line, "last");
}

TEST(SplitListItem, LastItemNeedsNoSeparator)
{
    std::string_view list = "340 405";
    EXPECT_EQ(SplitListItem(' ', list), "340");
    EXPECT_EQ(SplitListItem(' ', list), "405");
    EXPECT_EQ(SplitListItem(' ', list), "");
}

TEST(ParseCellValue, SpecialCellsHaveFixedValues)
{
    EXPECT_EQ(ParseCellValue("#Sat"), 35000.0);
    EXPECT_EQ(ParseCellValue("#Low"), 1.0);
    EXPECT_EQ(ParseCellValue("Error"), 0.0);
    EXPECT_EQ(ParseCellValue(""), 0.0);
}

TEST(ParseCellValue, SpecialWordsAreCaseSensitiveAndWhole)
{
    EXPECT_THROW(ParseCellValue("#sat"), ConversionError);
    EXPECT_THROW(ParseCellValue("error"), ConversionError);
    EXPECT_THROW(ParseCellValue("#Sat "), ConversionError);
}

TEST(ParseCellValue, CommaAndPointAreDecimalMarksUnderEitherLocale)
{
    for (const char separator : {'.', ','}) {
        ScopedDecimalSeparator locale(separator);
        EXPECT_EQ(ParseCellValue("1,5"), 1.5);
        EXPECT_EQ(ParseCellValue("1.5"), 1.5);
        EXPECT_EQ(ParseCellValue("0,25"), 0.25);
        EXPECT_DOUBLE_EQ(ParseCellValue("-4,99999999999945E-05"), -4.99999999999945E-05);
    }
}

TEST(ParseCellValue, TextThatIsNoNumberNamesItselfInTheError)
{
    try {
        ParseCellValue("abc");
        FAIL() << "no error";
    } catch (const ConversionError& error) {
        EXPECT_STREQ(error.what(), "'abc' is not a valid floating point value");
    }
    EXPECT_THROW(ParseCellValue("1.2.3"), ConversionError);
}

TEST(ParseClockTime, ShortTextIsMinutesSecondsLongerIsHoursMinutesSeconds)
{
    EXPECT_DOUBLE_EQ(ParseClockTime("10:30"), 10.5 / 60.0);
    EXPECT_DOUBLE_EQ(ParseClockTime("00:10:30"), 10.5 / 60.0);
    EXPECT_DOUBLE_EQ(ParseClockTime("1:00:00"), 1.0);
    EXPECT_DOUBLE_EQ(ParseClockTime("59:40"), 59.0 / 60.0 + 40.0 / 3600.0);
    EXPECT_EQ(ParseClockTime(""), 0.0);
}

TEST(ParseClockTime, NonNumericPartsAreConversionErrors)
{
    EXPECT_THROW(ParseClockTime("~End"), ConversionError);
    try {
        ParseClockTime("half past");
        FAIL() << "no error";
    } catch (const ConversionError& error) {
        EXPECT_STREQ(error.what(), "'half past' is not a valid time value");
    }
    EXPECT_THROW(ParseClockTime("1:xx"), ConversionError);
}

TEST(DigitsToInt, KeepsDigitsAndDropsOtherCharactersInPairs)
{
    EXPECT_EQ(DigitsToInt("1          "), 1);
    EXPECT_EQ(DigitsToInt("12         "), 12);
    EXPECT_EQ(DigitsToInt("61"), 61);
    EXPECT_EQ(DigitsToInt("6\t\t\t\t\t\t\t\t\t\t"), 6);
    EXPECT_EQ(DigitsToInt("1a2"), 1);   // 'a' goes together with '2'
    EXPECT_EQ(DigitsToInt("x5"), 0);    // "x5" both removed: empty
    EXPECT_EQ(DigitsToInt(""), 0);
}

TEST(DigitsToInt, LastCharacterIsNeverExamined)
{
    EXPECT_THROW(DigitsToInt("1x"), ConversionError);
}

} // namespace
} // namespace movra
