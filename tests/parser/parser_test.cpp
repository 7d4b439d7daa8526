// The parser component and its compiler: variables and their slots, the
// error handler, how texts split (associativity, precedence, powers and
// their op codes, negation, calls, names, numbers), and the class and
// message of every compile error, with the state a failed compile leaves.

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>
#include <typeindex>
#include <vector>

#include "parser/parser.h"
#include "shared/user_locale.h"

namespace movra {
namespace {

// The class and message of what the action raised; void for nothing.
std::pair<std::type_index, std::string> Raised(const std::function<void()>& action)
{
    try {
        action();
    } catch (const std::exception& error) {
        return {typeid(error), error.what()};
    }
    return {typeid(void), ""};
}

std::string Repeat(const std::string& piece, int count, const std::string& separator)
{
    std::string text = piece;
    for (int i = 1; i < count; ++i) text += separator + piece;
    return text;
}

std::string NestedSin(int depth) { return depth == 0 ? "X" : "SIN(" + NestedSin(depth - 1) + ")"; }

// A full binary tree of sums, `depth` operators deep.
std::string SumTree(int depth) { return depth == 0 ? "X" : "(" + SumTree(depth - 1) + ")+(" + SumTree(depth - 1) + ")"; }

TEST(ParserComponent, SlotsKeepTheirAddressWhateverTheCaseAndHowManyVariablesFollow)
{
    TParser parser;
    EXPECT_EQ(parser.Value(), 0.0);  // a fresh parser
    double* m1 = parser.SetVariable("m1", 1E-30);
    EXPECT_EQ(parser.SetVariable("M1", 2.5), m1);
    EXPECT_TRUE(*m1 == 2.5 && parser.FindVariable("m1") == m1 && parser.FindVariable("m2") == nullptr);
    for (int i = 0; i < 1000; ++i) parser.SetVariable("v" + std::to_string(i), i);
    EXPECT_EQ(parser.SetVariable("m1", 3), m1);
    parser.setExpression("M1*V999");
    EXPECT_EQ(parser.Value(), 2997.0);
    *m1 = 10;  // a slot write takes effect without recompiling
    EXPECT_EQ(parser.Value(), 9990.0);
    EXPECT_TRUE(parser.SetVariable("x", 5) == &parser.X() && parser.X() == 5.0);
    EXPECT_TRUE(parser.SetVariable("t", 1) == &parser.T() && parser.SetVariable("A", 1) == &parser.A());
    const std::pair<const char*, const char*> names[] = {{"2a", "2A"}, {"a-b", "A-B"}, {"%", "%"}, {"", ""}};
    for (const auto& [name, message] : names)
        EXPECT_EQ(Raised([&] { parser.SetVariable(name, 1); }), std::make_pair(std::type_index(typeid(EBadName)), std::string(message)));
    EXPECT_EQ(parser.FindVariable("2A"), nullptr);
    for (const char* name : {"_k2", "z"}) EXPECT_NE(parser.SetVariable(name, 1), nullptr) << name;
}

TEST(ParserComponent, ErrorHandlerReceivesTheCompileErrorInsteadOfTheCaller)
{
    TParser parser;
    int calls = 0;
    std::string message;
    parser.setOnParserError([&](TParser& from, const EMathParserError& error) {
        calls += &from == &parser;
        message = error.what();
    });
    EXPECT_NO_THROW(parser.setExpression("M9*X"));
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(message, "Error parsing expression:\rM9\rX");
    EXPECT_TRUE(parser.Expression() == "M9*X" && !parser.HasProgram() && parser.Value() == 0.0);
}

TEST(ParserGrammar, TextsSplitIntoTheseOperations)
{
    TParser parser;
    parser.SetVariable("m1", 2);
    parser.SetVariable("Rate", 4);
    struct Case { std::string Text; double A, B, C, Value; std::vector<int> Codes; };  // no codes: not checked
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
        {"0.000001E-320", 0, 0, 0, 0, {}}, {"  M1*A  ", 3, 0, 0, 6, {}},  // outer blanks are trimmed
        {Repeat("A", 21, "+"), 1, 0, 0, 21, std::vector<int>(20, 3)},  // the limits are reached, not passed
        {NestedSin(20), 0, 0, 0, 0, std::vector<int>(20, 14)}, {SumTree(6), 1, 0, 0, 64, {}},
    };
    for (const Case& c : cases) {
        parser.A() = parser.X() = c.A;
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

TEST(ParserGrammar, NumbersUseThePointUnlessLocaleFormatIsChosen)
{
    const ScopedDecimalSeparator comma(',');
    TParser parser;
    struct Case { const char* Text; bool Pascal; double Value; };  // NaN: a syntax error
    const Case cases[] = {{"1.5*2", true, 3}, {"2.5E-1", true, 0.25}, {"+4", true, 4}, {"1,5*2", true, NAN},
                          {"1,5*2", false, 3}, {"1.5*2", false, NAN}};
    for (const Case& c : cases) {
        parser.setPascalNumberformat(c.Pascal);
        const auto [raised, message] = Raised([&] { parser.setExpression(c.Text); });
        EXPECT_EQ(raised, std::isnan(c.Value) ? typeid(ESyntaxError) : typeid(void)) << c.Text << " " << message;
        EXPECT_TRUE(std::isnan(c.Value) || parser.Value() == c.Value) << c.Text;
    }
}

TEST(ParserCompileErrors, EachFaultyTextRaisesItsClassWithItsMessageAndLeavesNoProgram)
{
    const std::string parsing = "Error parsing expression:\r", nesting = "Expression contains too many nestings";
    struct Case { std::string Text; const std::type_info& Class; std::string Message; };
    const Case cases[] = {
        {"M1 * X", typeid(EExpressionHasBlanks), "Expression has blanks"},
        {"(X+1", typeid(EMissMatchingBracket), "Missing brackets in expression"},
        {")X(", typeid(ESyntaxError), parsing + ")X("},  // equal bracket counts pass the first check
        {"foo", typeid(ESyntaxError), parsing + "FOO"},  // no split at all
        {"   ", typeid(ESyntaxError), parsing},
        {"2E", typeid(ESyntaxError), parsing + "2E"},
        {"X+", typeid(ESyntaxError), parsing + "X+"},
        {"m9*x", typeid(ESyntaxError), parsing + "M9\rX"},  // an undefined name: both sides of the last split
        {"A*-B", typeid(ESyntaxError), parsing + "A\r-B"},  // a rejected right operand after its left operand
        {"A/-B", typeid(ESyntaxError), parsing + "A\r-B"},
        {"A+-B", typeid(ESyntaxError), parsing + "A+\rB"},  // the last split tried: at the minus
        {"MAX(A)", typeid(ESyntaxError), parsing + "MAX(A)"},
        {"SIN(A,B)", typeid(ESyntaxError), parsing + "(A,B)\r "},  // the argument and the untouched right text
        {"1E400", typeid(ESyntaxError), parsing + "1E400"},
        {"X^2^2", typeid(ESyntaxError), parsing + "X^2\r2"},
        // A long or binary term is cut and escaped, not echoed whole.
        {std::string(100000, 'Q'), typeid(ESyntaxError), parsing + std::string(60, 'Q') + "..."},
        {std::string("F\0G", 3), typeid(ESyntaxError), parsing + "F\\0G"},
        // Each "+" nests one level deeper, and so does each call.
        {Repeat("X", 22, "+"), typeid(ETooManyNestings), nesting},
        {NestedSin(21), typeid(ETooManyNestings), nesting},
        {Repeat("X", 400, "-"), typeid(ETooManyNestings), nesting},  // refused before splitting it all
        {std::string(5000, '(') + "X" + std::string(5000, ')'), typeid(ETooManyNestings), nesting},  // no stack overflow
        {SumTree(7), typeid(EExpressionTooComplex), "Expression is too complex"},  // 64 operations on one level
    };
    TParser parser;
    parser.X() = 4;
    for (const Case& c : cases) {
        parser.setExpression("X");
        EXPECT_EQ(Raised([&] { parser.setExpression(c.Text); }), std::make_pair(std::type_index(c.Class), c.Message));
        EXPECT_FALSE(parser.HasProgram()) << c.Message;
        EXPECT_EQ(parser.Value(), 0.0) << c.Message;
        EXPECT_EQ(parser.Expression(), c.Text) << c.Message;
    }
    parser.setExpression("");  // the empty text: no program, no error
    EXPECT_TRUE(!parser.HasProgram() && parser.Value() == 0.0 && parser.OpCodes().empty());
}

} // namespace
} // namespace movra
