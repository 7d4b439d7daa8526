// The guarded float functions and the special functions outside their domain:
// the value of each special case and the FloatStatus it leaves, which belongs
// to the calling thread.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <functional>
#include <thread>

#include "regression/fmath.h"
#include "regression/fspec.h"

namespace movra {
namespace {

constexpr int Unchanged = 99;  // the status set before each call
struct GuardedCase { const char* Call; std::function<double()> Run; double Expected; int Status; };
#define GUARDED(call, expected, status) GuardedCase{#call, [] { return call; }, expected, status}

TEST(GuardedFunctions, SpecialCasesGiveTheirValueAndStatus)
{
    const GuardedCase cases[] = {
        GUARDED(SafePower(0, 0), 1.0, Unchanged), GUARDED(SafePower(0, 2.5), 0.0, Unchanged),
        GUARDED(SafePower(0, -1), HugeFloat, FloatSingular), GUARDED(SafePower(-8, 1.0 / 3.0), 0.0, FloatDomain),
        GUARDED(SafePower(-7.25, 1), -7.25, Unchanged), GUARDED(SafePower(-2, 3), -8.0, Unchanged),
        GUARDED(SafePower(2, -2), 0.25, Unchanged), GUARDED(SafePower(2, 0.5), std::sqrt(2.0), Unchanged),
        GUARDED(SafePower(10, 400.5), HugeFloat, FloatOverflow), GUARDED(SafePower(10, -400.5), 0.0, FloatUnderflow),
        // A base above 1 is inverted before the loop: 0.1^400 underflows to 0, no reciprocal.
        GUARDED(SafeIntPower(10, -400), 0.0, Unchanged),
        // 0.1^400 underflows below 2^-1024 and cannot be inverted; SignOf(-0) is 1.
        GUARDED(SafeIntPower(0.1, -400), HugeFloat, FloatOverflow),
        GUARDED(SafeIntPower(-0.1, -401), HugeFloat, FloatOverflow),
        GUARDED(SafeIntPower(0, -3), HugeFloat, FloatSingular), GUARDED(SafeIntPower(2, -10), 1.0 / 1024, Unchanged),
        GUARDED(SafeIntPower(3, 4), 81.0, Unchanged), GUARDED(SafeIntPower(-1, INT32_MIN), 1.0, Unchanged),
        GUARDED(SafeExp10(2), 100.0, FloatOk), GUARDED(SafeExp10(309), HugeFloat, FloatOverflow),
        GUARDED(SafeExp10(-308), 0.0, FloatUnderflow), GUARDED(SafeLog10(1000), 3.0, FloatOk),
        GUARDED(SafeLog10(0), -HugeFloat, FloatSingular), GUARDED(SafeLog10(-1), -HugeFloat, FloatDomain),
        GUARDED(SafeCosh(2), std::cosh(2.0), FloatOk), GUARDED(SafeCosh(HighestExpArg), std::cosh(HighestExpArg), FloatOk),
        GUARDED(SafeCosh(710), HugeFloat, FloatOverflow), GUARDED(SafeCosh(-709), HugeFloat, FloatOverflow),
        GUARDED(IncompleteBetaRatio(2, 3, 1.5), 1.0, FloatDomain),
        GUARDED(IncompleteBetaRatio(2, 3, -0.1), 0.0, FloatDomain),
        GUARDED(IncompleteBetaRatio(0, 3, 0.5), 0.0, FloatDomain),
        GUARDED(IncompleteBetaRatio(2, -1, 0.5), 0.0, FloatDomain),
        GUARDED(IncompleteBetaRatio(2, 3, 0), 0.0, FloatOk), GUARDED(IncompleteBetaRatio(2, 3, 1), 1.0, FloatOk),
        GUARDED(FisherUpperP(3, 5, 0), 0.0, FloatDomain), GUARDED(FisherUpperP(3, 5, -1), 0.0, FloatDomain),
        GUARDED(FisherUpperP(0, 5, 2), 0.0, FloatDomain), GUARDED(FisherUpperP(3, 0, 2), 0.0, FloatDomain),
        GUARDED(StudentTwoTailedP(0, 2.5), 0.0, FloatDomain), GUARDED(LogGammaFunction(-3), HugeFloat, FloatSingular),
    };
    for (const GuardedCase& c : cases) {
        SetFloatStatus(Unchanged, 0.0);
        EXPECT_DOUBLE_EQ(c.Run(), c.Expected) << c.Call;
        EXPECT_EQ(FloatStatus(), c.Status) << c.Call;
    }
}

TEST(GuardedFunctions, StatusBelongsToTheCallingThread)
{
    SafeLog10(0);
    int otherThreadStatus = Unchanged;
    std::thread([&] {
        otherThreadStatus = FloatStatus();
        SafeExp10(400);
    }).join();
    EXPECT_EQ(otherThreadStatus, FloatOk);
    EXPECT_EQ(FloatStatus(), FloatSingular);
}

} // namespace
} // namespace movra
