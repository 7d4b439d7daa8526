// The grammar: how texts split (associativity, precedence, powers and their
// op codes, negation, calls), shown through values and compiled op codes.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "parser/parser.h"
#include "shared/user_locale.h"

namespace movra {
namespace {

class ParserGrammar : public ::testing::Test {
protected:
    double Eval(const std::string& text)
    {
        parser.setExpression(text);
        return parser.Value();
    }
    std::vector<int> Codes(const std::string& text)
    {
        parser.setExpression(text);
        return parser.OpCodes();
    }
    TParser parser;
};

TEST_F(ParserGrammar, MinusAndDivisionGroupToTheLeft)
{
    parser.A() = 10; parser.B() = 3; parser.C() = 2;
    EXPECT_EQ(Eval("A-B-C"), 5.0);
    parser.A() = 12; parser.B() = 3; parser.C() = 2;
    EXPECT_EQ(Eval("A/B/C"), 2.0);
    EXPECT_EQ(Eval("12DIV3DIV2"), 2.0);
    EXPECT_EQ(Eval("17MOD7MOD2"), 1.0);
}

TEST_F(ParserGrammar, PlusGroupsToTheRight)
{
    parser.A() = 1; parser.B() = 1e16; parser.C() = -1e16;
    EXPECT_EQ(Eval("A+B+C"), 1.0);  // A+(B+C); (A+B)+C would be 0
}

TEST_F(ParserGrammar, ProductTakesAQuotientOnEitherSide)
{
    parser.A() = 49; parser.B() = 1; parser.C() = 49;
    EXPECT_EQ(Eval("A*B/C"), 49.0 * (1.0 / 49.0));  // A*(B/C)
    EXPECT_NE(Eval("A*B/C"), 1.0);
    parser.A() = 1; parser.B() = 49; parser.C() = 49;
    EXPECT_EQ(Eval("A/B*C"), (1.0 / 49.0) * 49.0);  // (A/B)*C
}

TEST_F(ParserGrammar, ProductBindsTighterThanSumAndDifference)
{
    parser.A() = 1; parser.B() = 2; parser.C() = 3;
    EXPECT_EQ(Eval("A+B*C"), 7.0);
    EXPECT_EQ(Eval("A-B*C"), -5.0);
    EXPECT_EQ(Eval("B*C-A"), 5.0);
    EXPECT_EQ(Eval("(A+B)*C"), 9.0);
}

TEST_F(ParserGrammar, ConstantExponentsGetTheirOwnOpCodes)
{
    EXPECT_EQ(Codes("2^3"), (std::vector<int>{12}));
    EXPECT_EQ(parser.Value(), 8.0);
    EXPECT_EQ(Codes("X^2"), (std::vector<int>{11}));
    EXPECT_EQ(Codes("X^4"), (std::vector<int>{13}));
    EXPECT_EQ(Codes("X^0.5"), (std::vector<int>{10}));
    EXPECT_EQ(Codes("X^-1"), (std::vector<int>{9}));
    EXPECT_EQ(Codes("X^5"), (std::vector<int>{9}));
    EXPECT_EQ(Codes("X^1"), (std::vector<int>{9}));
    EXPECT_EQ(Codes("X^Y"), (std::vector<int>{10}));
    EXPECT_EQ(Codes("X^(1/2)"), (std::vector<int>{6, 10}));
    EXPECT_EQ(Codes("X^SQRT(2)"), (std::vector<int>{14, 10}));
}

TEST_F(ParserGrammar, PowersChainOnlyWithBrackets)
{
    EXPECT_THROW(parser.setExpression("X^2^2"), ESyntaxError);
    parser.X() = 3;
    EXPECT_EQ(Codes("(X^2)^2"), (std::vector<int>{11, 11}));
    EXPECT_EQ(parser.Value(), 81.0);
}

TEST_F(ParserGrammar, NegationAppliesToTheWholePower)
{
    parser.X() = 3;
    EXPECT_EQ(Eval("-X^2"), -9.0);
    EXPECT_EQ(Codes("-X^2"), (std::vector<int>{11, 2}));
    EXPECT_EQ(Eval("(-X)^2"), 9.0);
}

TEST_F(ParserGrammar, LeadingNegationCombinesWithBinaryOperators)
{
    parser.A() = 1; parser.B() = 2; parser.X() = 3; parser.Y() = 4;
    EXPECT_EQ(Eval("-A+B"), 1.0);
    EXPECT_EQ(Eval("0-A-B"), -3.0);
    EXPECT_EQ(Codes("-X*Y"), (std::vector<int>{2, 5}));
    EXPECT_EQ(parser.Value(), -12.0);
    EXPECT_EQ(Eval("-A-B"), -3.0);  // (-A)-B: a leading sign is skipped by the split scans
    parser.SetVariable("m1", 2);
    parser.SetVariable("m2", 5);
    EXPECT_EQ(Eval("-M1*X-M2"), -11.0);
}

TEST_F(ParserGrammar, SignedNumberIsAnOperandButNegatedVariableIsNot)
{
    parser.A() = 3; parser.B() = 2;
    EXPECT_THROW(parser.setExpression("A*-B"), ESyntaxError);
    EXPECT_THROW(parser.setExpression("A/-B"), ESyntaxError);
    EXPECT_THROW(parser.setExpression("A+-B"), ESyntaxError);
    EXPECT_EQ(Eval("A*(-B)"), -6.0);
    EXPECT_EQ(Eval("A*-2"), -6.0);
    EXPECT_EQ(Eval("A+-2"), 1.0);
}

TEST_F(ParserGrammar, LoneVariableOrNumberCompilesToThePassThroughProgram)
{
    parser.X() = 7;
    EXPECT_EQ(Codes("((X))"), (std::vector<int>{0}));
    EXPECT_EQ(parser.Value(), 7.0);
    parser.X() = -2.5;
    EXPECT_EQ(parser.Value(), -2.5);  // read at evaluation time
    EXPECT_EQ(Codes("5"), (std::vector<int>{0}));
    EXPECT_EQ(parser.Value(), 5.0);
    EXPECT_EQ(Eval("PI"), std::numbers::pi);
    EXPECT_EQ(Eval("-PI"), -std::numbers::pi);
}

TEST_F(ParserGrammar, EIsTheBuiltInVariableNotEulersNumber)
{
    EXPECT_EQ(Eval("E"), 0.0);
    parser.E() = 2;
    EXPECT_EQ(Eval("E*3"), 6.0);
    EXPECT_EQ(Eval("EXP(1)"), std::exp(1.0));
    EXPECT_EQ(Eval("1E3"), 1000.0);
}

TEST_F(ParserGrammar, CallsSplitAtOperatorsOutsideTheirBrackets)
{
    parser.A() = 2; parser.B() = 5;
    EXPECT_EQ(Codes("SIN(X)*COS(X)"), (std::vector<int>{14, 14, 5}));
    EXPECT_EQ(Codes("MAX(A,B+1)"), (std::vector<int>{3, 15}));
    EXPECT_EQ(parser.Value(), 6.0);
    EXPECT_EQ(Eval("MAX((A),(B))"), 5.0);
    EXPECT_EQ(Eval("min(a,b)*2"), 4.0);
    EXPECT_THROW(parser.setExpression("MAX(A)"), ESyntaxError);
    EXPECT_THROW(parser.setExpression("SIN(A,B)"), ESyntaxError);
}

TEST_F(ParserGrammar, NamesAndKeywordsAreCaseInsensitive)
{
    parser.SetVariable("Rate", 4);
    parser.X() = 2;
    EXPECT_EQ(Eval("rate*x"), 8.0);
    EXPECT_EQ(Eval("RATE*X"), 8.0);
    EXPECT_EQ(Eval("7mod3"), 1.0);
    EXPECT_EQ(Eval("7Div2"), 3.0);
}

TEST_F(ParserGrammar, PascalNumbersUseThePointWhateverTheLocale)
{
    const ScopedDecimalSeparator comma(',');
    EXPECT_EQ(Eval("1.5*2"), 3.0);
    EXPECT_EQ(Eval("2.5E-1"), 0.25);
    EXPECT_EQ(Eval("+4"), 4.0);
    EXPECT_THROW(parser.setExpression("1,5*2"), ESyntaxError);
}

TEST_F(ParserGrammar, LocaleNumbersUseTheLocaleSeparator)
{
    const ScopedDecimalSeparator comma(',');
    parser.setPascalNumberformat(false);
    EXPECT_EQ(Eval("1,5*2"), 3.0);
    EXPECT_THROW(parser.setExpression("1.5*2"), ESyntaxError);
}

TEST_F(ParserGrammar, NumbersBeyondTheDoubleRange)
{
    EXPECT_THROW(parser.setExpression("1E400"), ESyntaxError);
    EXPECT_EQ(Eval("1E-400"), 0.0);
    EXPECT_EQ(Eval("0.000001E-320"), 0.0);
}

TEST_F(ParserGrammar, AllTwelveFitFormulasCompile)
{
    for (int k = 1; k <= 8; ++k) parser.SetVariable("m" + std::to_string(k), 1E-30);
    for (const char* text : {"m1+(m2+m3*x)/(1+exp((m4-x)/m5))", "m1+m5*x+m2*(1-exp(-m3*x))^m4",
                             "m1+m2*x^m3/(m4^m3+x^m3)",
                             "(m1+m2*x+(m3+m4*x)*exp(-m6*(1/x-1/m5)))/(1+exp(-m6*(1/x-1/m5)))",
                             "m1+m7*x+(m2+m6*x)/(1+abs(m5)*exp(-m3*(x-m4)))^(1/abs(m5))"}) {
        EXPECT_NO_THROW(parser.setExpression(text)) << text;
        EXPECT_TRUE(parser.HasProgram()) << text;
    }
}

} // namespace
} // namespace movra
