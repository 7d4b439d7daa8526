// Evaluation: the arithmetic of each op code and built-in function, and the
// faults a run raises (as exceptions, never as a NaN result).
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "parser/parser.h"

namespace movra {
namespace {

class ParserEvaluation : public ::testing::Test {
protected:
    double Eval(const std::string& text)
    {
        parser.setExpression(text);
        return parser.Value();
    }
    FaultKind FaultOf(const std::string& text)
    {
        parser.setExpression(text);
        FaultKind fault = FaultKind::None;
        parser.Evaluate(fault);
        return fault;
    }
    TParser parser;
};

TEST_F(ParserEvaluation, IntegerDivisionAndRemainderTruncateTowardZero)
{
    EXPECT_EQ(Eval("-7MOD3"), -1.0);  // sign of the dividend
    EXPECT_EQ(Eval("7MOD-3"), 1.0);
    EXPECT_EQ(Eval("7DIV-2"), -3.0);
    EXPECT_EQ(Eval("7.9DIV2"), 3.0);
    EXPECT_EQ(Eval("-7.9DIV2"), -3.0);
    EXPECT_EQ(Eval("-9223372036854775808DIV-1"), 9223372036854775808.0);
    EXPECT_EQ(Eval("-9223372036854775808MOD-1"), 0.0);
}

TEST_F(ParserEvaluation, ZeroToTheZeroIsOneThroughBothPowerCodes)
{
    parser.X() = 0; parser.Y() = 0;
    EXPECT_EQ(Eval("X^Y"), 1.0);
    EXPECT_EQ(parser.OpCodes(), (std::vector<int>{10}));
    EXPECT_EQ(Eval("X^0"), 1.0);
    EXPECT_EQ(parser.OpCodes(), (std::vector<int>{9}));
}

TEST_F(ParserEvaluation, PowersFollowTheirOpCodes)
{
    parser.X() = 3;
    EXPECT_EQ(Eval("X^-2"), 1.0 / 9.0);
    EXPECT_EQ(Eval("X^5"), 243.0);
    EXPECT_EQ(Eval("X^4294967298"), 9.0);  // low 32 bits of the exponent: 2
    parser.Y() = 3;
    EXPECT_EQ(Eval("X^Y"), 27.0);  // whole exponent: repeated squaring
    parser.Y() = 0.5;
    EXPECT_EQ(Eval("X^Y"), std::pow(3.0, 0.5));
    parser.X() = 1; parser.Y() = HUGE_VAL;
    EXPECT_THROW(Eval("X^Y"), EInvalidOp);  // exp(inf * ln(1))
    parser.X() = 3; parser.Y() = 0.5;
    parser.X() = 0; parser.Y() = 2.5;
    EXPECT_EQ(Eval("X^Y"), 0.0);
    parser.X() = -2; parser.Y() = 3;
    EXPECT_EQ(Eval("X^Y"), -8.0);
    EXPECT_EQ(Eval("X^3"), -8.0);
    EXPECT_EQ(Eval("X^4"), 16.0);
}

TEST_F(ParserEvaluation, StepFunctionsAtZero)
{
    EXPECT_EQ(Eval("HEAV(0)"), 1.0);
    EXPECT_EQ(Eval("HEAV(-0.1)"), 0.0);
    EXPECT_EQ(Eval("SIGN(0)"), 0.0);
    EXPECT_EQ(Eval("SIGN(-3)"), -1.0);
    EXPECT_EQ(Eval("SIGN(2)"), 1.0);
    EXPECT_EQ(Eval("ZERO(0)"), 0.0);
    EXPECT_EQ(Eval("ZERO(-2)"), 1.0);
    EXPECT_EQ(Eval("ABS(-2.5)"), 2.5);
}

TEST_F(ParserEvaluation, MaxAndMinOnTies)
{
    parser.A() = 0.0; parser.B() = -0.0;
    EXPECT_FALSE(std::signbit(Eval("MAX(A,B)")));  // x when x >= y
    EXPECT_TRUE(std::signbit(Eval("MIN(A,B)")));   // y when x >= y
    EXPECT_EQ(Eval("MAX(1,2)"), 2.0);
    EXPECT_EQ(Eval("MIN(1,2)"), 1.0);
}

TEST_F(ParserEvaluation, TrigonometryAndHyperbolicFunctions)
{
    parser.X() = 0.7;
    EXPECT_EQ(Eval("SIN(X)"), std::sin(0.7));
    EXPECT_EQ(Eval("COS(X)"), std::cos(0.7));
    EXPECT_EQ(Eval("TAN(X)"), std::tan(0.7));
    EXPECT_EQ(Eval("ARCTAN(X)"), std::atan(0.7));
    EXPECT_NEAR(Eval("SINH(X)"), (std::exp(0.7) - std::exp(-0.7)) * 0.5, 1e-15);
    EXPECT_NEAR(Eval("COSH(X)"), (std::exp(0.7) + std::exp(-0.7)) * 0.5, 1e-15);
    parser.X() = 0x1p63;
    EXPECT_EQ(Eval("SIN(X)"), 0.0);
    EXPECT_EQ(Eval("COS(X)"), 0.0);
    EXPECT_EQ(Eval("SQRT(2.25)"), 1.5);
    EXPECT_EQ(Eval("LN(1)"), 0.0);
}

TEST_F(ParserEvaluation, PhaseWrapsIntoMinusPiToPi)
{
    EXPECT_EQ(Eval("PH(0)"), 0.0);
    const double u = 1.0 / 0.6366197723675814;
    EXPECT_NEAR(Eval("PH(1)"), (u - std::nearbyint(u)) * 2 * std::numbers::pi, 1e-14);
    for (const double x : {-50.0, -3.3, 0.2, 7.0, 123.4}) {
        parser.X() = x;
        const double phase = Eval("PH(X)");
        EXPECT_LE(std::fabs(phase), std::numbers::pi) << x;
    }
}

TEST_F(ParserEvaluation, RandomScalesTheTruncatedArgument)
{
    EXPECT_EQ(Eval("RND(0.9)"), 0.0);
    for (int i = 0; i < 20; ++i) {
        const double r = Eval("RND(10.7)");
        EXPECT_GE(r, 0.0);
        EXPECT_LT(r, 10.0);
    }
}

// What a parser draws depends on its own seed and draws only: not on other
// parsers evaluating in between (another curve, another thread's work).
TEST_F(ParserEvaluation, RandomDrawsFromThisParsersOwnSeededGenerator)
{
    TParser other;
    other.setExpression("RND(1000000)");
    parser.setExpression("RND(1000000)");
    std::vector<double> alone, interleaved, many(4), again(4);
    for (int i = 0; i < 3; ++i) alone.push_back(other.Value());
    TParser fresh;
    fresh.setExpression("RND(1000000)");
    for (int i = 0; i < 3; ++i) {
        parser.Value();
        interleaved.push_back(fresh.Value());
    }
    EXPECT_EQ(interleaved, alone);

    const std::vector<double> xs(4, 0.0);
    std::vector<FaultKind> faults(4);
    parser.SeedRandom(7);
    parser.EvaluateMany(&parser.X(), xs, many, faults);
    parser.SeedRandom(7);
    for (double& value : again) value = parser.Value();
    EXPECT_EQ(many, again);
    EXPECT_NE(many[0], many[1]);
}

TEST_F(ParserEvaluation, FaultsAreRaisedAsTheirOwnExceptions)
{
    parser.X() = 0;
    EXPECT_THROW(Eval("1/X"), EZeroDivide);
    EXPECT_THROW(Eval("LN(0)"), EZeroDivide);
    EXPECT_THROW(Eval("X^-1"), EZeroDivide);
    EXPECT_THROW(Eval("X^-0.5"), EZeroDivide);
    EXPECT_THROW(Eval("X/X"), EInvalidOp);
    EXPECT_THROW(Eval("SQRT(-1)"), EInvalidOp);
    EXPECT_THROW(Eval("LN(-1)"), EInvalidOp);
    EXPECT_THROW(Eval("(-8)^(1/3)"), EInvalidOp);
    EXPECT_THROW(Eval("EXP(1000)"), EOverflow);
    EXPECT_THROW(Eval("1E200*1E200"), EOverflow);
    EXPECT_THROW(Eval("1E200^2"), EOverflow);
    EXPECT_THROW(Eval("COSH(800)"), EOverflow);
    EXPECT_THROW(Eval("SINH(-800)"), EOverflow);
    parser.X() = HUGE_VAL;
    EXPECT_THROW(Eval("TAN(X)"), EInvalidOp);
    EXPECT_THROW(Eval("X-X"), EInvalidOp);
    EXPECT_THROW(Eval("PH(X)"), EInvalidOp);
    parser.X() = 0;
    EXPECT_THROW(Eval("7DIV0.5"), EDivByZero);
    EXPECT_THROW(Eval("7MOD0"), EDivByZero);
    EXPECT_THROW(Eval("1E30DIV2"), EInvalidOp);
    EXPECT_THROW(Eval("2MOD1E19"), EInvalidOp);
    EXPECT_THROW(Eval("2^1E30"), EInvalidOp);
}

TEST_F(ParserEvaluation, FaultClassesShareTheirBases)
{
    EXPECT_THROW(Eval("1/0"), EMathError);
    EXPECT_THROW(Eval("1DIV0"), EIntError);
    try {
        Eval("SQRT(-1)");
        FAIL() << "no fault";
    } catch (const EEvaluationFault& fault) {
        EXPECT_EQ(fault.kind(), FaultKind::InvalidOperation);
        EXPECT_STREQ(fault.what(), "Invalid floating point operation");
    }
}

TEST_F(ParserEvaluation, UnderflowAndPrecisionLossAreSilent)
{
    EXPECT_EQ(Eval("EXP(-1000)"), 0.0);
    EXPECT_EQ(Eval("1E-200*1E-200"), 0.0);
    EXPECT_EQ(Eval("1/3"), 1.0 / 3.0);
    EXPECT_EQ(Eval("10^-400"), 0.0);  // the product stays in range in extended precision
}

TEST_F(ParserEvaluation, FirstFaultInExecutionOrderWins)
{
    EXPECT_EQ(FaultOf("LN(0)+SQRT(-1)"), FaultKind::ZeroDivide);
    EXPECT_EQ(FaultOf("SQRT(-1)+LN(0)"), FaultKind::InvalidOperation);
    EXPECT_EQ(FaultOf("EXP(1000)*(1DIV0)"), FaultKind::Overflow);
    // The deeper operation runs first, whatever its place in the text.
    EXPECT_EQ(FaultOf("1/0+SQRT(-1)*1"), FaultKind::InvalidOperation);
}

TEST_F(ParserEvaluation, NonThrowingEvaluationReportsTheFault)
{
    parser.setExpression("1/X");
    parser.X() = 0;
    FaultKind fault = FaultKind::None;
    EXPECT_TRUE(std::isnan(parser.Evaluate(fault)));
    EXPECT_EQ(fault, FaultKind::ZeroDivide);
    parser.X() = 4;
    EXPECT_EQ(parser.Evaluate(fault), 0.25);
    EXPECT_EQ(fault, FaultKind::None);
}

TEST_F(ParserEvaluation, RunAfterAFaultStartsClean)
{
    parser.setExpression("1/X");
    parser.X() = 0;
    EXPECT_THROW(parser.Value(), EZeroDivide);
    parser.X() = 2;
    EXPECT_EQ(parser.Value(), 0.5);
    EXPECT_EQ(std::fetestexcept(FE_DIVBYZERO), 0);
}

TEST_F(ParserEvaluation, FlagsRaisedBeforeTheRunAreNotBlamedOnIt)
{
    parser.setExpression("X+1");
    std::feraiseexcept(FE_OVERFLOW | FE_INVALID);
    EXPECT_EQ(parser.Value(), 1.0);
}

} // namespace
} // namespace movra
