// Compile errors: which class each faulty text raises, with which message,
// and that a failed compile leaves no program.
#include <gtest/gtest.h>

#include <string>
#include <type_traits>

#include "parser/parser.h"

namespace movra {
namespace {

// The message of the EMathParserError that compiling `text` raises.
template <class Error>
std::string CompileFailure(TParser& parser, const std::string& text)
{
    try {
        parser.setExpression(text);
    } catch (const Error& error) {
        EXPECT_FALSE(parser.HasProgram());
        return error.what();
    } catch (const std::exception& other) {
        ADD_FAILURE() << "unexpected exception for " << text << ": " << other.what();
        return {};
    }
    ADD_FAILURE() << text << " compiled";
    return {};
}

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

static_assert(std::is_base_of_v<EMathParserError, EExpressionHasBlanks> &&
              std::is_base_of_v<EMathParserError, EMissMatchingBracket> && std::is_base_of_v<EMathParserError, ESyntaxError> &&
              std::is_base_of_v<EMathParserError, ETooManyNestings> &&
              std::is_base_of_v<EMathParserError, EExpressionTooComplex> && std::is_base_of_v<EMathParserError, EBadName>);

TEST(ParserCompileErrors, OuterBlanksAreTrimmedInnerBlanksRefused)
{
    TParser parser;
    parser.SetVariable("m1", 2);
    parser.X() = 3;
    parser.setExpression("  M1*X  ");
    EXPECT_EQ(parser.Value(), 6.0);
    EXPECT_EQ(CompileFailure<EExpressionHasBlanks>(parser, "M1 * X"), "Expression has blanks");
}

TEST(ParserCompileErrors, SyntaxErrorsQuoteTheTermOrBothSidesOfTheLastSplit)
{
    TParser parser;
    EXPECT_EQ(CompileFailure<EMissMatchingBracket>(parser, "(X+1"), "Missing brackets in expression");
    const std::pair<const char*, const char*> cases[] = {
        {")X(", "\r)X("},    // equal bracket counts pass the first check
        {"foo", "\rFOO"},    // no split at all
        {"   ", "\r"},
        {"2E", "\r2E"},
        {"m9*x", "\rM9\rX"},  // an undefined name
        {"A*-B", "\rA\r-B"},  // a rejected right operand after its left operand
        {"X^2^2", "\rX^2\r2"},
    };
    for (const auto& [text, quoted] : cases)
        EXPECT_EQ(CompileFailure<ESyntaxError>(parser, text), std::string("Error parsing expression:") + quoted);
    // A long or binary term is cut and escaped, not echoed whole.
    EXPECT_EQ(CompileFailure<ESyntaxError>(parser, std::string(100000, 'Q')),
              "Error parsing expression:\r" + std::string(60, 'Q') + "...");
    EXPECT_EQ(CompileFailure<ESyntaxError>(parser, std::string("F\0G", 3)), "Error parsing expression:\rF\\0G");
}

TEST(ParserCompileErrors, TwentyOneSummandsCompileTwentyTwoNestTooDeep)
{
    TParser parser;
    parser.setExpression(Repeat("X", 21, "+"));
    EXPECT_TRUE(parser.HasProgram());
    EXPECT_EQ(parser.OpCodes().size(), 20u);
    EXPECT_EQ(CompileFailure<ETooManyNestings>(parser, Repeat("X", 22, "+")),
              "Expression contains too many nestings");
}

TEST(ParserCompileErrors, TwentyNestedCallsCompileTwentyOneNestTooDeep)
{
    TParser parser;
    parser.setExpression(NestedSin(20));
    EXPECT_TRUE(parser.HasProgram());
    EXPECT_EQ(CompileFailure<ETooManyNestings>(parser, NestedSin(21)), "Expression contains too many nestings");
}

TEST(ParserCompileErrors, MoreThanFiftyOperationsOnOneLevelAreTooComplex)
{
    TParser parser;
    parser.setExpression(SumTree(6));  // 32 operations on its deepest level
    EXPECT_TRUE(parser.HasProgram());
    EXPECT_EQ(CompileFailure<EExpressionTooComplex>(parser, SumTree(7)), "Expression is too complex");
}

TEST(ParserCompileErrors, AbsurdlyDeepBracketsAreRefusedNotOverflowTheStack)
{
    TParser parser;
    const std::string text = std::string(5000, '(') + "X" + std::string(5000, ')');
    EXPECT_EQ(CompileFailure<ETooManyNestings>(parser, text), "Expression contains too many nestings");
}

TEST(ParserCompileErrors, LongDifferenceChainIsRefusedQuickly)
{
    TParser parser;
    EXPECT_EQ(CompileFailure<ETooManyNestings>(parser, Repeat("X", 400, "-")),
              "Expression contains too many nestings");
}

TEST(ParserCompileErrors, FailedCompileLeavesNoProgramAndTheNewText)
{
    TParser parser;
    parser.X() = 4;
    parser.setExpression("X");
    EXPECT_EQ(parser.Value(), 4.0);
    EXPECT_THROW(parser.setExpression("X+"), ESyntaxError);
    EXPECT_FALSE(parser.HasProgram());
    EXPECT_EQ(parser.Expression(), "X+");
    EXPECT_EQ(parser.Value(), 0.0);
}

} // namespace
} // namespace movra
