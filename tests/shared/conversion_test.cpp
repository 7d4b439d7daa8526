#include "shared/conversion.h"

#include <gtest/gtest.h>

#include <cmath>

namespace movra {
namespace {

template <class Convert>
std::string ErrorOf(Convert convert)
{
    try {
        convert();
    } catch (const ConversionError& error) {
        return error.what();
    }
    return "converted";
}

TEST(PlainConversion, IntegersConvertOrNameTheText)
{
    EXPECT_EQ(StrToInt("500"), 500);
    EXPECT_EQ(StrToInt(" -12"), -12);
    EXPECT_EQ(StrToInt("+7"), 7);
    EXPECT_EQ(ErrorOf([] { StrToInt("5x"); }), "'5x' is not a valid integer value");
    for (const char* text : {"", "2.5", "99999999999"}) EXPECT_NE(ErrorOf([text] { StrToInt(text); }), "converted");
}

TEST(PlainConversion, FloatsFollowTheDecimalSeparator)
{
    const std::tuple<const char*, char, double> cases[] = {{"1.5", '.', 1.5},      {"1,5", ',', 1.5},
                                                           {"-1E20", '.', -1e20},  {"2.5e-3", '.', 2.5e-3},
                                                           {".5", '.', 0.5},       {"1E-400", '.', 0.0},
                                                           {"1E400", '.', HUGE_VAL}};
    for (const auto& [text, separator, value] : cases) EXPECT_EQ(StrToFloat(text, separator), value) << text;
    EXPECT_EQ(ErrorOf([] { StrToFloat("1,5", '.'); }), "'1,5' is not a valid floating point value");
    for (const char* text : {"", "1E", "inf", "nan", "0x10", "1.2.3"})
        EXPECT_NE(ErrorOf([text] { StrToFloat(text, '.'); }), "converted") << text;
}

} // namespace
} // namespace movra
