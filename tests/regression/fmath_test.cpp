// The guarded float functions, their special values and the per-thread
// FloatStatus.

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <thread>

#include "regression/fmath.h"

namespace movra {
namespace {

class GuardedFunctions : public ::testing::Test {
protected:
    void SetUp() override { SetFloatStatus(FloatOk, 0.0); }
};

TEST_F(GuardedFunctions, ConstantsHaveTheirBitPatterns)
{
    EXPECT_EQ(std::bit_cast<std::uint64_t>(HugeFloat), 0x7FEFFFFFFFFFFFFBull);
    EXPECT_EQ(FloatEpsilon, std::ldexp(1.0, -52));
    EXPECT_EQ(SqrtFloatEpsilon, std::ldexp(1.0, -26));
    EXPECT_EQ(SmallestInvertible, std::ldexp(1.0, -1024));
}

TEST_F(GuardedFunctions, SetFloatStatusStoresCodeAndReturnsValue)
{
    EXPECT_EQ(SetFloatStatus(FloatOverflow, 4.5), 4.5);
    EXPECT_EQ(FloatStatus(), FloatOverflow);
}

TEST_F(GuardedFunctions, PowerSpecialCases)
{
    EXPECT_EQ(SafePower(0, 0), 1.0);
    EXPECT_EQ(FloatStatus(), FloatOk);
    EXPECT_EQ(SafePower(0, 2.5), 0.0);
    EXPECT_EQ(SafePower(0, -1), HugeFloat);
    EXPECT_EQ(FloatStatus(), FloatSingular);
    EXPECT_EQ(SafePower(-8, 1.0 / 3.0), 0.0);
    EXPECT_EQ(FloatStatus(), FloatDomain);
    EXPECT_EQ(SafePower(7.25, 0), 1.0);
    EXPECT_EQ(SafePower(-7.25, 1), -7.25);
}

TEST_F(GuardedFunctions, PowerWithIntegralExponentUsesRepeatedSquaring)
{
    EXPECT_EQ(SafePower(-2, 3), -8.0);
    EXPECT_EQ(SafePower(2, -2), 0.25);
    EXPECT_EQ(SafePower(0.5, 3), 0.125);
}

TEST_F(GuardedFunctions, PowerWithFractionalExponent)
{
    EXPECT_DOUBLE_EQ(SafePower(2, 0.5), std::sqrt(2.0));
    EXPECT_EQ(SafePower(10, 400.5), HugeFloat);
    EXPECT_EQ(FloatStatus(), FloatOverflow);
    EXPECT_EQ(SafePower(10, -400.5), 0.0);
    EXPECT_EQ(FloatStatus(), FloatUnderflow);
}

TEST_F(GuardedFunctions, OrdinaryPowerLeavesStatusUnchanged)
{
    SetFloatStatus(FloatDomain, 0.0);
    EXPECT_DOUBLE_EQ(SafePower(3, 1.5), std::pow(3.0, 1.5));
    EXPECT_EQ(SafeIntPower(3, 4), 81.0);
    EXPECT_EQ(FloatStatus(), FloatDomain);
}

TEST_F(GuardedFunctions, IntPowerInvertsLargeBaseBeforeTheLoop)
{
    // 10^-400 becomes 0.1^400, which underflows to 0: no reciprocal is taken.
    EXPECT_EQ(SafeIntPower(10, -400), 0.0);
    EXPECT_EQ(FloatStatus(), FloatOk);
    // 0.1^-400: the product underflows and cannot be inverted.
    EXPECT_EQ(SafeIntPower(0.1, -400), HugeFloat);
    EXPECT_EQ(FloatStatus(), FloatOverflow);
    EXPECT_EQ(SafeIntPower(-0.1, -401), HugeFloat);  // SignOf(0) is 1
}

TEST_F(GuardedFunctions, IntPowerSpecialCases)
{
    EXPECT_EQ(SafeIntPower(0, 0), 1.0);
    EXPECT_EQ(SafeIntPower(0, -3), HugeFloat);
    EXPECT_EQ(FloatStatus(), FloatSingular);
    EXPECT_EQ(SafeIntPower(0, 3), 0.0);
    EXPECT_EQ(SafeIntPower(-5, 1), -5.0);
    EXPECT_EQ(SafeIntPower(2, 10), 1024.0);
    EXPECT_EQ(SafeIntPower(2, -10), 1.0 / 1024.0);
    EXPECT_EQ(SafeIntPower(-1, std::numeric_limits<std::int32_t>::min()), 1.0);
}

TEST_F(GuardedFunctions, Exp10Range)
{
    EXPECT_DOUBLE_EQ(SafeExp10(2), 100.0);
    EXPECT_EQ(FloatStatus(), FloatOk);
    EXPECT_EQ(SafeExp10(309), HugeFloat);
    EXPECT_EQ(FloatStatus(), FloatOverflow);
    EXPECT_EQ(SafeExp10(-308), 0.0);
    EXPECT_EQ(FloatStatus(), FloatUnderflow);
    SafeExp10(1);
    EXPECT_EQ(FloatStatus(), FloatOk);  // reset on entry
}

TEST_F(GuardedFunctions, Log10PoleAndDomain)
{
    EXPECT_DOUBLE_EQ(SafeLog10(1000), 3.0);
    EXPECT_EQ(SafeLog10(0), -HugeFloat);
    EXPECT_EQ(FloatStatus(), FloatSingular);
    EXPECT_EQ(SafeLog10(-1), -HugeFloat);
    EXPECT_EQ(FloatStatus(), FloatDomain);
}

TEST_F(GuardedFunctions, CoshRange)
{
    EXPECT_EQ(SafeCosh(0), 1.0);
    EXPECT_DOUBLE_EQ(SafeCosh(2), std::cosh(2.0));
    EXPECT_TRUE(std::isfinite(SafeCosh(HighestExpArg)));
    EXPECT_EQ(SafeCosh(710), HugeFloat);
    EXPECT_EQ(FloatStatus(), FloatOverflow);
    EXPECT_EQ(SafeCosh(-709), HugeFloat);
}

TEST_F(GuardedFunctions, SmallHelpers)
{
    EXPECT_EQ(SignOf(0), 1.0);
    EXPECT_EQ(SignOf(-3), -1.0);
    EXPECT_EQ(SignOf(2), 1.0);
    EXPECT_EQ(LargerOf(2, 3), 3.0);
    EXPECT_EQ(SmallerInt(-2, 5), -2);
    double a = 1, b = 2;
    ExchangeFloats(a, b);
    EXPECT_EQ(a, 2.0);
    EXPECT_EQ(b, 1.0);
}

TEST_F(GuardedFunctions, StatusBelongsToTheCallingThread)
{
    SafeLog10(0);
    int otherThreadStatus = 99;
    std::thread other([&] {
        otherThreadStatus = FloatStatus();
        SafeExp10(400);
    });
    other.join();
    EXPECT_EQ(otherThreadStatus, FloatOk);
    EXPECT_EQ(FloatStatus(), FloatSingular);
}

} // namespace
} // namespace movra
