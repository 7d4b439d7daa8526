#include "shared/conversion.h"

#include <gtest/gtest.h>

#include <cmath>

namespace movra {
namespace {

TEST(PlainConversion, IntegersConvertOrNameTheText)
{
    EXPECT_EQ(StrToInt("500"), 500);
    EXPECT_EQ(StrToInt(" -12"), -12);
    EXPECT_EQ(StrToInt("+7"), 7);
    try {
        StrToInt("5x");
        FAIL() << "expected a conversion error";
    } catch (const ConversionError& error) {
        EXPECT_STREQ(error.what(), "'5x' is not a valid integer value");
    }
    EXPECT_THROW(StrToInt(""), ConversionError);
    EXPECT_THROW(StrToInt("2.5"), ConversionError);
    EXPECT_THROW(StrToInt("99999999999"), ConversionError);
}

TEST(PlainConversion, FloatsFollowTheDecimalSeparator)
{
    EXPECT_DOUBLE_EQ(StrToFloat("1.5", '.'), 1.5);
    EXPECT_DOUBLE_EQ(StrToFloat("1,5", ','), 1.5);
    EXPECT_DOUBLE_EQ(StrToFloat("-1E20", '.'), -1e20);
    EXPECT_DOUBLE_EQ(StrToFloat("2.5e-3", '.'), 2.5e-3);
    EXPECT_DOUBLE_EQ(StrToFloat(".5", '.'), 0.5);
    try {
        StrToFloat("1,5", '.');
        FAIL() << "expected a conversion error";
    } catch (const ConversionError& error) {
        EXPECT_STREQ(error.what(), "'1,5' is not a valid floating point value");
    }
    EXPECT_THROW(StrToFloat("", '.'), ConversionError);
    EXPECT_THROW(StrToFloat("1E", '.'), ConversionError);
    EXPECT_THROW(StrToFloat("inf", '.'), ConversionError);
    EXPECT_THROW(StrToFloat("nan", '.'), ConversionError);
    EXPECT_THROW(StrToFloat("0x10", '.'), ConversionError);
    EXPECT_THROW(StrToFloat("1.2.3", '.'), ConversionError);
}

TEST(PlainConversion, HugeExponentsOverflowToInfinity)
{
    EXPECT_TRUE(std::isinf(StrToFloat("1E400", '.')));
    EXPECT_EQ(StrToFloat("1E-400", '.'), 0.0);
}

} // namespace
} // namespace movra
