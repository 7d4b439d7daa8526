#include "shared/number_format.h"

#include <gtest/gtest.h>

#include <limits>

namespace movra {
namespace {

TEST(GeneralNumberFormat, OrdinaryMagnitudesUseFixedNotation)
{
    EXPECT_EQ(FormatGeneral(100.0, '.'), "100");
    EXPECT_EQ(FormatGeneral(0.001, '.'), "0.001");
    EXPECT_EQ(FormatGeneral(0.0001, '.'), "0.0001");
    EXPECT_EQ(FormatGeneral(37.0, '.'), "37");
    EXPECT_EQ(FormatGeneral(35000.0, '.'), "35000");
    EXPECT_EQ(FormatGeneral(-2.5, '.'), "-2.5");
    EXPECT_EQ(FormatGeneral(0.0, '.'), "0");
    EXPECT_EQ(FormatGeneral(999999999999999.0, '.'), "999999999999999");
}

TEST(GeneralNumberFormat, ExtremeMagnitudesUseBareScientificNotation)
{
    EXPECT_EQ(FormatGeneral(1e20, '.'), "1E20");
    EXPECT_EQ(FormatGeneral(-1e20, '.'), "-1E20");
    EXPECT_EQ(FormatGeneral(1e-5, '.'), "1E-5");
    EXPECT_EQ(FormatGeneral(1.5e15, '.'), "1.5E15");
    EXPECT_EQ(FormatGeneral(1e15, '.'), "1E15");
    EXPECT_EQ(FormatGeneral(-1.25e-7, '.'), "-1.25E-7");
}

TEST(GeneralNumberFormat, KeepsFifteenSignificantDigits)
{
    EXPECT_EQ(FormatGeneral(0.1 + 0.2, '.'), "0.3");
    EXPECT_EQ(FormatGeneral(1.0 / 3.0, '.'), "0.333333333333333");
    EXPECT_EQ(FormatGeneral(2.0 / 3.0, '.'), "0.666666666666667");
    EXPECT_EQ(FormatGeneral(123456.789012345678, '.'), "123456.789012346");
    // Rounding to 15 digits may carry into a new exponent.
    EXPECT_EQ(FormatGeneral(999999999999999.9, '.'), "1E15");
}

TEST(GeneralNumberFormat, UsesTheGivenDecimalSeparator)
{
    EXPECT_EQ(FormatGeneral(0.25, ','), "0,25");
    EXPECT_EQ(FormatGeneral(1.5e15, ','), "1,5E15");
    ScopedDecimalSeparator comma(',');
    EXPECT_EQ(FormatGeneral(3.5), "3,5");
}

TEST(GeneralNumberFormat, NonFiniteValuesAreNamed)
{
    EXPECT_EQ(FormatGeneral(std::numeric_limits<double>::infinity(), '.'), "INF");
    EXPECT_EQ(FormatGeneral(-std::numeric_limits<double>::infinity(), '.'), "-INF");
    EXPECT_EQ(FormatGeneral(std::numeric_limits<double>::quiet_NaN(), '.'), "NAN");
}

} // namespace
} // namespace movra
