// Compile errors: which class each faulty text raises, with which message,
// and that a failed compile leaves no program but keeps the new text; the
// nesting and complexity limits compile just below their bound.
#include <gtest/gtest.h>

#include <string>
#include <typeinfo>

#include "parser/parser.h"

namespace movra {
namespace {

std::string Repeat(const std::string& piece, int count, const std::string& separator)
{
    std::string text;
    for (int i = 0; i < count; ++i) text += (i == 0 ? "" : separator) + piece;
    return text;
}

std::string NestedSin(int depth)
{
    std::string text = "X";
    for (int i = 0; i < depth; ++i) text = "SIN(" + text + ")";
    return text;
}

// A full binary tree of sums, `depth` operators deep.
std::string SumTree(int depth)
{
    if (depth == 0) return "X";
    const std::string half = SumTree(depth - 1);
    return "(" + half + ")+(" + half + ")";
}

TEST(ParserCompileErrors, EachFaultyTextRaisesItsClassWithItsMessage)
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
        try {
            parser.setExpression(c.Text);
            ADD_FAILURE() << c.Text.substr(0, 40) << " compiled";
        } catch (const EMathParserError& error) {
            EXPECT_EQ(typeid(error), c.Class) << c.Message;
            EXPECT_EQ(error.what(), c.Message);
        }
        EXPECT_FALSE(parser.HasProgram()) << c.Message;
        EXPECT_EQ(parser.Value(), 0.0) << c.Message;
        EXPECT_EQ(parser.Expression(), c.Text) << c.Message;
    }
}

TEST(ParserCompileErrors, LimitsAreReachedNotPassedAndOuterBlanksTrimmed)
{
    TParser parser;
    for (const std::string& text : {Repeat("X", 21, "+"), NestedSin(20), SumTree(6)}) {
        parser.setExpression(text);
        EXPECT_TRUE(parser.HasProgram()) << text;
    }
    parser.setExpression(Repeat("X", 21, "+"));
    EXPECT_EQ(parser.OpCodes().size(), 20u);
    parser.SetVariable("m1", 2);
    parser.X() = 3;
    parser.setExpression("  M1*X  ");
    EXPECT_EQ(parser.Value(), 6.0);
}

} // namespace
} // namespace movra
