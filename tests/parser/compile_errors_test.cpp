// Compile errors: which class each faulty text raises, with which message,
// and that a failed compile leaves no program.
#include <gtest/gtest.h>

#include <string>

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

TEST(ParserCompileErrors, OuterBlanksAreTrimmedInnerBlanksRefused)
{
    TParser parser;
    parser.SetVariable("m1", 2);
    parser.X() = 3;
    parser.setExpression("  M1*X  ");
    EXPECT_EQ(parser.Value(), 6.0);
    EXPECT_EQ(CompileFailure<EExpressionHasBlanks>(parser, "M1 * X"), "Expression has blanks");
}

TEST(ParserCompileErrors, UnequalBracketCountsAreRefusedBeforeParsing)
{
    TParser parser;
    EXPECT_EQ(CompileFailure<EMissMatchingBracket>(parser, "(X+1"), "Missing brackets in expression");
    EXPECT_EQ(CompileFailure<ESyntaxError>(parser, ")X("), "Error parsing expression:\r)X(");
}

TEST(ParserCompileErrors, UndefinedNameQuotesBothSidesOfTheLastSplit)
{
    TParser parser;
    EXPECT_EQ(CompileFailure<ESyntaxError>(parser, "m9*x"), "Error parsing expression:\rM9\rX");
}

TEST(ParserCompileErrors, TermWithoutAnySplitIsQuotedWhole)
{
    TParser parser;
    EXPECT_EQ(CompileFailure<ESyntaxError>(parser, "foo"), "Error parsing expression:\rFOO");
    EXPECT_EQ(CompileFailure<ESyntaxError>(parser, "   "), "Error parsing expression:\r");
    EXPECT_EQ(CompileFailure<ESyntaxError>(parser, "2E"), "Error parsing expression:\r2E");
    // A long or binary term is cut and escaped, not echoed whole.
    EXPECT_EQ(CompileFailure<ESyntaxError>(parser, std::string(100000, 'Q')),
              "Error parsing expression:\r" + std::string(60, 'Q') + "...");
    EXPECT_EQ(CompileFailure<ESyntaxError>(parser, std::string("F\0G", 3)), "Error parsing expression:\rF\\0G");
}

TEST(ParserCompileErrors, RejectedRightOperandIsQuotedAfterItsLeftOperand)
{
    TParser parser;
    EXPECT_EQ(CompileFailure<ESyntaxError>(parser, "A*-B"), "Error parsing expression:\rA\r-B");
    EXPECT_EQ(CompileFailure<ESyntaxError>(parser, "X^2^2"), "Error parsing expression:\rX^2\r2");
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

TEST(ParserCompileErrors, EveryCompileErrorIsAMathParserError)
{
    TParser parser;
    EXPECT_THROW(parser.setExpression("A B"), EMathParserError);
    EXPECT_THROW(parser.setExpression("(A"), EMathParserError);
    EXPECT_THROW(parser.setExpression("A+"), EMathParserError);
    EXPECT_THROW(parser.SetVariable("1X", 0), EMathParserError);
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
