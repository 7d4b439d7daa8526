// The parser component: variables and their slots, assigning Expression,
// the error handler, and the fit formulas evaluated against hand-written code.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "parser/parser.h"
#include "parser_fit_formulas.h"

namespace movra {
namespace {

TEST(ParserComponent, FreshOrEmptyParserYieldsZero)
{
    TParser parser;
    EXPECT_FALSE(parser.HasProgram());
    EXPECT_EQ(parser.Value(), 0.0);
    parser.setExpression("X+1");
    parser.setExpression("");
    EXPECT_FALSE(parser.HasProgram());
    EXPECT_EQ(parser.Value(), 0.0);
    EXPECT_TRUE(parser.OpCodes().empty());
}

TEST(ParserComponent, SetVariableTwiceKeepsTheSlotAndUpdatesTheValue)
{
    TParser parser;
    double* first = parser.SetVariable("m1", 1E-30);
    double* second = parser.SetVariable("M1", 2.5);
    EXPECT_EQ(first, second);
    EXPECT_EQ(*first, 2.5);
    EXPECT_EQ(parser.FindVariable("m1"), first);
    EXPECT_EQ(parser.FindVariable("m2"), nullptr);
}

TEST(ParserComponent, BuiltInNamesMapToTheBuiltInFields)
{
    TParser parser;
    EXPECT_EQ(parser.SetVariable("x", 5), &parser.X());
    EXPECT_EQ(parser.X(), 5.0);
    EXPECT_EQ(parser.SetVariable("t", 1), &parser.T());
    EXPECT_EQ(parser.SetVariable("A", 1), &parser.A());
}

TEST(ParserComponent, SlotsNeverMoveWhileVariablesAreAdded)
{
    TParser parser;
    double* m1 = parser.SetVariable("m1", 1);
    for (int i = 0; i < 1000; ++i) parser.SetVariable("v" + std::to_string(i), i);
    EXPECT_EQ(parser.SetVariable("m1", 3), m1);
    parser.setExpression("M1*V999");
    EXPECT_EQ(parser.Value(), 2997.0);
}

TEST(ParserComponent, BadNamesAreRefusedWithTheUpperCaseName)
{
    TParser parser;
    const auto message = [&](const std::string& name) -> std::string {
        try {
            parser.SetVariable(name, 1);
        } catch (const EBadName& error) {
            return error.what();
        }
        return "accepted";
    };
    EXPECT_EQ(message("2a"), "2A");
    EXPECT_EQ(message("a-b"), "A-B");
    EXPECT_EQ(message("%"), "%");
    EXPECT_EQ(message(""), "");
    EXPECT_EQ(message("_k2"), "accepted");
    EXPECT_EQ(message("z"), "accepted");
    EXPECT_EQ(parser.FindVariable("2A"), nullptr);
}

TEST(ParserComponent, VariablesMustBeDefinedBeforeTheFormulaIsCompiled)
{
    TParser parser;
    EXPECT_THROW(parser.setExpression("M1*X"), ESyntaxError);
    parser.SetVariable("m1", 2);
    parser.X() = 3;
    parser.setExpression("M1*X");
    EXPECT_EQ(parser.Value(), 6.0);
}

TEST(ParserComponent, SlotWritesTakeEffectWithoutRecompiling)
{
    TParser parser;
    double* m1 = parser.SetVariable("m1", 1);
    parser.setExpression("m1+x");
    *m1 = 10;
    parser.X() = 0.5;
    EXPECT_EQ(parser.Value(), 10.5);
}

TEST(ParserComponent, ErrorHandlerReceivesTheCompileErrorInsteadOfTheCaller)
{
    TParser parser;
    int calls = 0;
    std::string message;
    TParser* sender = nullptr;
    parser.setOnParserError([&](TParser& from, const EMathParserError& error) {
        ++calls;
        sender = &from;
        message = error.what();
    });
    EXPECT_NO_THROW(parser.setExpression("M9*X"));
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(sender, &parser);
    EXPECT_EQ(message, "Error parsing expression:\rM9\rX");
    EXPECT_EQ(parser.Expression(), "M9*X");
    EXPECT_FALSE(parser.HasProgram());
    EXPECT_EQ(parser.Value(), 0.0);
}

TEST(ParserComponent, ReassigningTheExpressionReplacesTheProgram)
{
    TParser parser;
    parser.A() = 5; parser.B() = 2;
    parser.setExpression("b-a");
    EXPECT_EQ(parser.Value(), -3.0);
    parser.setExpression("a/b");
    EXPECT_EQ(parser.Value(), 2.5);
    EXPECT_EQ(parser.Expression(), "a/b");
}

// Hand-written forms of the fit formulas, m[1..8] and x.
double HandWritten(int index, const double* m, double x)
{
    switch (index) {
    case 0: return m[1] + (m[2] + m[3] * x) / (1 + std::exp((m[4] - x) / m[5]));
    case 1: return (m[1] + m[2] * x) + (m[3] + m[4] * x) / (1 + std::exp((m[5] - x) / m[6]));
    case 2: return m[1] + m[5] * x + m[2] * std::pow(1 - std::exp(-m[3] * x), m[4]);
    case 3: return m[1] + m[5] * x + (m[2] + m[6] * x) * std::pow(1 - std::exp(-m[3] * x), m[4]);
    case 4: return m[1] - m[2] * std::exp(-m[3] * x);
    case 5: return m[1] - m[2] * std::exp(-m[3] * x) + m[4] * x;
    case 6: return m[1] - m[2] * std::exp(-m[3] * x) - m[4] * std::exp(-m[5] * x);
    case 7: return m[1] - m[2] * std::exp(-m[3] * (x - m[6])) - m[4] * std::exp(-m[5] * (x - m[6]));
    case 8: return m[1] + m[2] * std::pow(x, m[3]) / (std::pow(m[4], m[3]) + std::pow(x, m[3]));
    case 9: {
        const double e = std::exp(-m[6] * (1 / x - 1 / m[5]));
        return (m[1] + m[2] * x + (m[3] + m[4] * x) * e) / (1 + e);
    }
    case 10: return m[1] * (std::cosh(m[2] * x) - 1) + m[3];
    default:
        return m[1] + m[7] * x +
               (m[2] + m[6] * x) / std::pow(1 + std::fabs(m[5]) * std::exp(-m[3] * (x - m[4])), 1 / std::fabs(m[5]));
    }
}

TEST(ParserComponent, FitFormulasAgreeWithHandWrittenCode)
{
    TParser parser;
    const double m[9] = {0, 4000, -3000, 0.7, 1.3, 1.1, 0.25, 0.5, 1};
    for (int k = 1; k <= 8; ++k) parser.SetVariable("m" + std::to_string(k), m[k]);
    for (int index = 0; index < 12; ++index) {
        parser.setExpression(std::string(test::kFitFormulas[static_cast<std::size_t>(index)]));
        for (const double x : {0.5, 1.0, 2.75, 10.0}) {
            parser.X() = x;
            const double expected = HandWritten(index, m, x);
            if (!std::isfinite(expected)) {
                EXPECT_THROW(parser.Value(), EOverflow) << index << " at " << x;
                continue;
            }
            EXPECT_NEAR(parser.Value(), expected, 1e-12 * (1 + std::fabs(expected))) << index << " at " << x;
        }
    }
}

} // namespace
} // namespace movra
