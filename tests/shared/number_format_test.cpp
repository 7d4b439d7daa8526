#include "shared/number_format.h"

#include <gtest/gtest.h>

#include <limits>

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

} // namespace
} // namespace movra
