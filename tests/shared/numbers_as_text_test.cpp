// Numbers as text: the general format of reports and labels, and the
// conversions of typed and imported texts with the message naming the text.

#include "shared/conversion.h"
#include "shared/number_format.h"

#include <gtest/gtest.h>

#include "shared/test_helpers.h"

#include <cmath>
#include <limits>
#include <tuple>

namespace movra {
namespace {

TEST(GeneralNumberFormat, FifteenDigitsFixedForOrdinaryMagnitudesScientificOtherwise)
{
    const double inf = std::numeric_limits<double>::infinity();
    const std::pair<double, const char*> cases[] = {
        {100.0, "100"}, {0.001, "0.001"}, {0.0001, "0.0001"}, {35000.0, "35000"}, {-2.5, "-2.5"}, {0.0, "0"},
        {999999999999999.0, "999999999999999"}, {1e15, "1E15"}, {1.5e15, "1.5E15"}, {1e20, "1E20"},
        {-1e20, "-1E20"}, {1e-5, "1E-5"}, {-1.25e-7, "-1.25E-7"}, {0.1 + 0.2, "0.3"}, {2.0 / 3.0, "0.666666666666667"},
        {123456.789012345678, "123456.789012346"}, {999999999999999.9, "1E15"},  // rounding carries into the exponent
        {inf, "INF"}, {-inf, "-INF"}, {std::numeric_limits<double>::quiet_NaN(), "NAN"}};
    for (const auto& [value, text] : cases) EXPECT_EQ(FormatGeneral(value, '.'), text);
    EXPECT_EQ(FormatGeneral(0.25, ','), "0,25");
    EXPECT_EQ(FormatGeneral(1.5e15, ','), "1,5E15");
    const ScopedDecimalSeparator comma(',');
    EXPECT_EQ(FormatGeneral(3.5), "3,5");
}

TEST(Conversion, TextsConvertOrAreRefusedWithAMessageNamingThem)
{
    const std::pair<const char*, std::int32_t> integers[] = {{"500", 500}, {" -12", -12}, {"+7", 7}};
    for (const auto& [text, value] : integers) EXPECT_EQ(StrToInt(text), value) << text;
    const std::tuple<const char*, char, double> floats[] = {{"1.5", '.', 1.5},     {"1,5", ',', 1.5},
                                                            {"-1E20", '.', -1e20}, {"2.5e-3", '.', 2.5e-3},
                                                            {".5", '.', 0.5},      {"1E-400", '.', 0.0},
                                                            {"1E400", '.', HUGE_VAL}};
    for (const auto& [text, separator, value] : floats) EXPECT_EQ(StrToFloat(text, separator), value) << text;
    for (const char* text : {"5x", "", "2.5", "99999999999"})
        EXPECT_EQ(test::MessageOf<ConversionError>([&] { StrToInt(text); }),
                  "'" + std::string(text) + "' is not a valid integer value");
    EXPECT_EQ(test::MessageOf<ConversionError>([] { StrToFloat("1,5", '.'); }),
              "'1,5' is not a valid floating point value");
    double value = 0;
    for (const char* text : {"", "1E", "inf", "nan", "0x10", "1.2.3", "--1"})
        EXPECT_FALSE(TryStrToFloat(text, '.', value)) << text;
}

} // namespace
} // namespace movra
