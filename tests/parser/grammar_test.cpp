// The grammar: how texts split (associativity, precedence, powers and their
// op codes, negation, calls, names, numbers), shown through values and
// compiled op codes.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "parser/parser.h"
#include "shared/user_locale.h"

namespace movra {
namespace {

TEST(ParserGrammar, TextsSplitIntoTheseOperations)
{
    TParser parser;
    parser.SetVariable("m1", 2);
    parser.SetVariable("Rate", 4);
    struct Case { const char* Text; double A, B, C, Value; std::vector<int> Codes; };  // no codes: not checked
    const Case cases[] = {
        {"A-B-C", 10, 3, 2, 5, {}},  // minus and division group to the left
        {"A/B/C", 12, 3, 2, 2, {}}, {"12DIV3DIV2", 0, 0, 0, 2, {}}, {"17MOD7MOD2", 0, 0, 0, 1, {}},
        {"A+B+C", 1, 1e16, -1e16, 1, {}},             // plus to the right: A+(B+C)
        {"A*B/C", 49, 1, 49, 49.0 * (1.0 / 49.0), {}},  // A*(B/C)
        {"A/B*C", 1, 49, 49, (1.0 / 49.0) * 49.0, {}},  // (A/B)*C
        {"A+B*C", 1, 2, 3, 7, {}}, {"A-B*C", 1, 2, 3, -5, {}}, {"B*C-A", 1, 2, 3, 5, {}}, {"(A+B)*C", 1, 2, 3, 9, {}},
        {"2^3", 0, 0, 0, 8, {12}},  // constant exponents have their own codes
        {"A^2", 3, 0, 0, 9, {11}}, {"A^4", 3, 0, 0, 81, {13}}, {"A^0.5", 4, 0, 0, 2, {10}},
        {"A^-1", 4, 0, 0, 0.25, {9}}, {"A^5", 2, 0, 0, 32, {9}}, {"A^1", 2, 0, 0, 2, {9}}, {"A^B", 2, 3, 0, 8, {10}},
        {"A^(1/2)", 4, 0, 0, 2, {6, 10}}, {"A^SQRT(4)", 3, 0, 0, 9, {14, 10}}, {"(A^2)^2", 3, 0, 0, 81, {11, 11}},
        {"-A^2", 3, 0, 0, -9, {11, 2}},  // negation of the whole power
        {"(-A)^2", 3, 0, 0, 9, {}}, {"-A+B", 1, 2, 0, 1, {}}, {"0-A-B", 1, 2, 0, -3, {}},
        {"-A*B", 3, 4, 0, -12, {2, 5}},
        {"-A-B", 1, 2, 0, -3, {}},  // (-A)-B: a leading sign is skipped by the split scans
        {"-M1*A-B", 3, 5, 0, -11, {}},
        {"A*(-B)", 3, 2, 0, -6, {}},  // a signed number is an operand, a negated variable is not
        {"A*-2", 3, 0, 0, -6, {}}, {"A+-2", 3, 0, 0, 1, {}},
        {"((A))", 7, 0, 0, 7, {0}},  // a lone variable or number: the pass-through program
        {"5", 0, 0, 0, 5, {0}}, {"PI", 0, 0, 0, std::numbers::pi, {}}, {"-PI", 0, 0, 0, -std::numbers::pi, {}},
        {"E*3", 0, 0, 0, 6, {}},  // E is the built-in variable, not Euler's number
        {"EXP(1)", 0, 0, 0, std::exp(1.0), {}}, {"1E3", 0, 0, 0, 1000, {}},
        {"SIN(A)*COS(A)", 1, 0, 0, std::sin(1.0) * std::cos(1.0), {14, 14, 5}}, {"MAX(A,B+1)", 2, 5, 0, 6, {3, 15}},
        {"MAX((A),(B))", 2, 5, 0, 5, {}},
        {"min(a,b)*2", 2, 5, 0, 4, {}},  // names and keywords in any case
        {"rate*a", 2, 0, 0, 8, {}}, {"7mod3", 0, 0, 0, 1, {}}, {"7Div2", 0, 0, 0, 3, {}},
        {"1E-400", 0, 0, 0, 0, {}},  // below the double range: zero
        {"0.000001E-320", 0, 0, 0, 0, {}},
    };
    for (const Case& c : cases) {
        parser.A() = c.A;
        parser.B() = c.B;
        parser.C() = c.C;
        parser.E() = 2;
        parser.setExpression(c.Text);
        EXPECT_DOUBLE_EQ(parser.Value(), c.Value) << c.Text;  // EXP and LN within 4 ulp of the library's
        if (!c.Codes.empty()) {
            EXPECT_EQ(parser.OpCodes(), c.Codes) << c.Text;
        }
    }
    parser.setExpression("A");
    parser.A() = -2.5;
    EXPECT_EQ(parser.Value(), -2.5);  // read at evaluation time
}

TEST(ParserGrammar, TextsThatDoNotSplitAreSyntaxErrors)
{
    TParser parser;
    for (const char* text : {"A/-B", "A+-B", "MAX(A)", "SIN(A,B)", "1E400"})
        EXPECT_THROW(parser.setExpression(text), ESyntaxError) << text;
}

TEST(ParserGrammar, NumbersUseThePointUnlessLocaleFormatIsChosen)
{
    const ScopedDecimalSeparator comma(',');
    TParser parser;
    parser.setExpression("1.5*2");
    EXPECT_EQ(parser.Value(), 3.0);
    parser.setExpression("2.5E-1");
    EXPECT_EQ(parser.Value(), 0.25);
    parser.setExpression("+4");
    EXPECT_EQ(parser.Value(), 4.0);
    EXPECT_THROW(parser.setExpression("1,5*2"), ESyntaxError);
    parser.setPascalNumberformat(false);
    parser.setExpression("1,5*2");
    EXPECT_EQ(parser.Value(), 3.0);
    EXPECT_THROW(parser.setExpression("1.5*2"), ESyntaxError);
}

} // namespace
} // namespace movra
