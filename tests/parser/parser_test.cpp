// The parser component and its compiler: variables and their slots, the
// error handler, how texts split (associativity, precedence, powers and
// their op codes, negation, calls, names, numbers), and the class and
// message of every compile error, with the state a failed compile leaves.
// Evaluation: the arithmetic of each op code and built-in function, the
// faults a run raises (as exceptions, never as a NaN result), the random
// draws of each parser; and array evaluation, which gives the same results,
// bit for bit, and the same faults as evaluating point by point, for every
// fit formula, op code and block boundary, whichever variable is varied.
// Exact derivatives of compiled formulas, with the array evaluation's values.

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <map>
#include <numbers>
#include <string>
#include <type_traits>
#include <typeindex>
#include <vector>

#include "fitting/fit_formulas.h"
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

// Each text splits into its operations (op codes where given) and gives its
// value; X and Y read as A and B.
TEST(ParserGrammar, EachTextSplitsIntoItsOperationsAndGivesItsValue)
{
    TParser parser;
    parser.SetVariable("m1", 2);
    parser.SetVariable("Rate", 4);
    const double u = 1.0 / 0.6366197723675814;
    struct Case { std::string Text; double A, B, C, Value; std::vector<int> Codes = {}; };  // no codes: not checked
    const Case cases[] = {
        {"A-B-C", 10, 3, 2, 5},  // minus and division group to the left
        {"A/B/C", 12, 3, 2, 2}, {"12DIV3DIV2", 0, 0, 0, 2}, {"17MOD7MOD2", 0, 0, 0, 1},
        {"A+B+C", 1, 1e16, -1e16, 1},  // plus to the right: A+(B+C)
        {"A*B/C", 49, 1, 49, 49.0 * (1.0 / 49.0)},  // A*(B/C)
        {"A/B*C", 1, 49, 49, (1.0 / 49.0) * 49.0},  // (A/B)*C
        {"A+B*C", 1, 2, 3, 7}, {"A-B*C", 1, 2, 3, -5}, {"B*C-A", 1, 2, 3, 5}, {"(A+B)*C", 1, 2, 3, 9},
        {"2^3", 0, 0, 0, 8, {12}},  // constant exponents have their own codes
        {"A^2", 3, 0, 0, 9, {11}}, {"A^4", 3, 0, 0, 81, {13}}, {"A^0.5", 4, 0, 0, 2, {10}},
        {"A^-1", 4, 0, 0, 0.25, {9}}, {"A^5", 2, 0, 0, 32, {9}}, {"A^1", 2, 0, 0, 2, {9}}, {"A^B", 2, 3, 0, 8, {10}},
        {"A^(1/2)", 4, 0, 0, 2, {6, 10}}, {"A^SQRT(4)", 3, 0, 0, 9, {14, 10}}, {"(A^2)^2", 3, 0, 0, 81, {11, 11}},
        {"-A^2", 3, 0, 0, -9, {11, 2}},  // negation of the whole power
        {"(-A)^2", 3, 0, 0, 9}, {"-A+B", 1, 2, 0, 1}, {"0-A-B", 1, 2, 0, -3}, {"-A*B", 3, 4, 0, -12, {2, 5}},
        {"-A-B", 1, 2, 0, -3}, {"-M1*A-B", 3, 5, 0, -11},  // (-A)-B: a leading sign is skipped by the split scans
        {"A*(-B)", 3, 2, 0, -6},  // a signed number is an operand, a negated variable is not
        {"A*-2", 3, 0, 0, -6}, {"A+-2", 3, 0, 0, 1},
        {"((A))", 7, 0, 0, 7, {0}},  // a lone variable or number: the pass-through program
        {"5", 0, 0, 0, 5, {0}}, {"PI", 0, 0, 0, std::numbers::pi}, {"-PI", 0, 0, 0, -std::numbers::pi},
        {"E*3", 0, 0, 0, 6},  // E is the built-in variable, not Euler's number
        {"EXP(1)", 0, 0, 0, std::exp(1.0)}, {"1E3", 0, 0, 0, 1000},
        {"SIN(A)*COS(A)", 1, 0, 0, std::sin(1.0) * std::cos(1.0), {14, 14, 5}}, {"MAX(A,B+1)", 2, 5, 0, 6, {3, 15}},
        {"MAX((A),(B))", 2, 5, 0, 5},
        {"min(a,b)*2", 2, 5, 0, 4},  // names and keywords in any case
        {"rate*a", 2, 0, 0, 8}, {"7mod3", 0, 0, 0, 1}, {"7Div2", 0, 0, 0, 3},
        {"1E-400", 0, 0, 0, 0}, {"0.000001E-320", 0, 0, 0, 0},  // below the double range: zero
        {"  M1*A  ", 3, 0, 0, 6},  // outer blanks are trimmed
        {Repeat("A", 21, "+"), 1, 0, 0, 21, std::vector<int>(20, 3)},  // the limits are reached, not passed
        {NestedSin(20), 0, 0, 0, 0, std::vector<int>(20, 14)}, {SumTree(6), 1, 0, 0, 64},
        {"-7MOD3", 0, 0, 0, -1}, {"7MOD-3", 0, 0, 0, 1},  // the sign of the dividend
        {"7DIV-2", 0, 0, 0, -3},  // truncation toward zero
        {"7.9DIV2", 0, 0, 0, 3}, {"-7.9DIV2", 0, 0, 0, -3},
        {"-9223372036854775808DIV-1", 0, 0, 0, 9223372036854775808.0}, {"-9223372036854775808MOD-1", 0, 0, 0, 0},
        {"X^Y", 0, 0, 0, 1},  // 0^0 through code 10 and code 9
        {"X^0", 0, 0, 0, 1}, {"X^-2", 3, 0, 0, 1.0 / 9.0}, {"X^5", 3, 0, 0, 243},
        {"X^4294967298", 3, 0, 0, 9},  // the low 32 bits of the exponent: 2
        {"X^Y", 3, 3, 0, 27}, {"X^Y", 3, 0.5, 0, std::pow(3.0, 0.5)}, {"X^Y", 0, 2.5, 0, 0}, {"X^Y", -2, 3, 0, -8},
        {"X^3", -2, 0, 0, -8}, {"X^4", -2, 0, 0, 16}, {"HEAV(X)", 0, 0, 0, 1}, {"HEAV(X)", -0.1, 0, 0, 0},
        {"SIGN(X)", 0, 0, 0, 0}, {"SIGN(X)", -3, 0, 0, -1}, {"SIGN(X)", 2, 0, 0, 1}, {"ZERO(X)", 0, 0, 0, 0},
        {"ZERO(X)", -2, 0, 0, 1}, {"ABS(X)", -2.5, 0, 0, 2.5}, {"MAX(X,Y)", 1, 2, 0, 2}, {"MIN(X,Y)", 1, 2, 0, 1},
        {"SIN(X)", 0.7, 0, 0, std::sin(0.7)}, {"COS(X)", 0.7, 0, 0, std::cos(0.7)},
        {"TAN(X)", 0.7, 0, 0, std::tan(0.7)}, {"ARCTAN(X)", 0.7, 0, 0, std::atan(0.7)},
        {"SINH(X)", 0.7, 0, 0, (std::exp(0.7) - std::exp(-0.7)) * 0.5},
        {"COSH(X)", 0.7, 0, 0, (std::exp(0.7) + std::exp(-0.7)) * 0.5}, {"SIN(X)", 0x1p63, 0, 0, 0},
        {"COS(X)", 0x1p63, 0, 0, 0}, {"SQRT(X)", 2.25, 0, 0, 1.5}, {"LN(X)", 1, 0, 0, 0}, {"PH(X)", 0, 0, 0, 0},
        {"PH(X)", 1, 0, 0, (u - std::nearbyint(u)) * 2 * std::numbers::pi},
        {"EXP(X)", -1000, 0, 0, 0},  // underflow and precision loss are silent
        {"1E-200*1E-200", 0, 0, 0, 0}, {"1/3", 0, 0, 0, 1.0 / 3.0},
        {"10^-400", 0, 0, 0, 0},  // the product stays in range in extended precision
    };
    for (const Case& c : cases) {
        parser.A() = parser.X() = c.A;
        parser.B() = parser.Y() = c.B;
        parser.C() = c.C;
        parser.E() = 2;
        parser.setExpression(c.Text);
        // EXP and LN within 4 ulp of the library's
        EXPECT_DOUBLE_EQ(parser.Value(), c.Value) << c.Text << " at " << c.A << ", " << c.B << ", " << c.C;
        if (!c.Codes.empty()) {
            EXPECT_EQ(parser.OpCodes(), c.Codes) << c.Text;
        }
    }
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
        EXPECT_EQ(std::tuple(parser.HasProgram(), parser.Value(), parser.Expression()), std::tuple(false, 0.0, c.Text))
            << c.Message;
    }
    parser.setExpression("");  // the empty text: no program, no error
    EXPECT_TRUE(!parser.HasProgram() && parser.Value() == 0.0 && parser.OpCodes().empty());
}

struct ParserEvaluation : ::testing::Test {
    ParserEvaluation()
    {
        const double values[9] = {0, 4000, -3000, 0.7, 1.3, 1.1, 0.25, 0.5, 1};
        for (int k = 1; k <= 8; ++k) parser.SetVariable("m" + std::to_string(k), values[k]);
    }
    double Eval(const std::string& text)
    {
        parser.setExpression(text);
        return parser.Value();
    }
    TParser parser;
};

TEST_F(ParserEvaluation, MaxAndMinOnTiesGiveXAndYRespectively)
{
    parser.A() = 0.0, parser.B() = -0.0;
    EXPECT_TRUE(!std::signbit(Eval("MAX(A,B)")) && std::signbit(Eval("MIN(A,B)")));
}

// RND scales the truncated argument, and what a parser draws depends on its
// own seed and draws only: not on other parsers evaluating in between
// (another curve, another thread's work).
TEST_F(ParserEvaluation, RandomDrawsFromThisParsersOwnSeededGenerator)
{
    EXPECT_EQ(Eval("RND(0.9)"), 0.0);
    for (int i = 0; i < 20; ++i) EXPECT_EQ(std::floor(Eval("RND(10.7)") / 10), 0.0);  // within [0, 10)
    TParser other, fresh;
    other.setExpression("RND(1000000)");
    fresh.setExpression("RND(1000000)");
    std::vector<double> alone, interleaved, many(4), again(4);
    for (int i = 0; i < 3; ++i) alone.push_back(other.Value());
    for (int i = 0; i < 3; ++i) {
        parser.Value();
        interleaved.push_back(fresh.Value());
    }
    EXPECT_EQ(interleaved, alone);
    std::vector<FaultKind> faults(4);
    parser.SeedRandom(7);
    parser.EvaluateMany(&parser.X(), std::vector<double>(4, 0.0), many, faults);
    parser.SeedRandom(7);
    for (double& value : again) value = parser.Value();
    EXPECT_EQ(many, again);
    EXPECT_NE(many[0], many[1]);
}

static_assert(std::is_base_of_v<EMathError, EZeroDivide> && std::is_base_of_v<EMathError, EOverflow> &&
              std::is_base_of_v<EMathError, EInvalidOp> && std::is_base_of_v<EIntError, EDivByZero>);

TEST_F(ParserEvaluation, FirstFaultOfARunIsRaisedOrReportedByItsKind)
{
    using enum FaultKind;
    const std::map<FaultKind, std::pair<std::type_index, std::string>> raised = {
        {ZeroDivide, {typeid(EZeroDivide), "Floating point division by zero"}},
        {Overflow, {typeid(EOverflow), "Floating point overflow"}},
        {InvalidOperation, {typeid(EInvalidOp), "Invalid floating point operation"}},
        {IntegerDivideByZero, {typeid(EDivByZero), "Division by zero"}}};
    struct Case { const char* Text; double X, Y; FaultKind Fault; };
    const Case cases[] = {
        {"1/X", 0, 0, ZeroDivide},         {"LN(X)", 0, 0, ZeroDivide},     {"X^-1", 0, 0, ZeroDivide},
        {"X^-0.5", 0, 0, ZeroDivide},      {"X/X", 0, 0, InvalidOperation}, {"SQRT(-1)", 0, 0, InvalidOperation},
        {"LN(-1)", 0, 0, InvalidOperation}, {"(-8)^(1/3)", 0, 0, InvalidOperation},
        {"X^Y", 1, HUGE_VAL, InvalidOperation},  // exp(inf * ln(1))
        {"TAN(X)", HUGE_VAL, 0, InvalidOperation}, {"X-X", HUGE_VAL, 0, InvalidOperation},
        {"PH(X)", HUGE_VAL, 0, InvalidOperation},  {"1E30DIV2", 0, 0, InvalidOperation},
        {"2MOD1E19", 0, 0, InvalidOperation},      {"2^1E30", 0, 0, InvalidOperation},
        {"EXP(1000)", 0, 0, Overflow},      {"1E200*1E200", 0, 0, Overflow}, {"1E200^2", 0, 0, Overflow},
        {"COSH(800)", 0, 0, Overflow},      {"SINH(-800)", 0, 0, Overflow},
        {"7DIV0.5", 0, 0, IntegerDivideByZero}, {"7MOD0", 0, 0, IntegerDivideByZero},
        // The first in execution order: the deeper operation runs first.
        {"LN(0)+SQRT(-1)", 0, 0, ZeroDivide}, {"SQRT(-1)+LN(0)", 0, 0, InvalidOperation},
        {"EXP(1000)*(1DIV0)", 0, 0, Overflow}, {"1/0+SQRT(-1)*1", 0, 0, InvalidOperation},
    };
    for (const Case& c : cases) {
        parser.X() = c.X;
        parser.Y() = c.Y;
        parser.setExpression(c.Text);
        FaultKind fault = None;
        EXPECT_TRUE(std::isnan(parser.Evaluate(fault)));
        EXPECT_EQ(fault, c.Fault) << c.Text;
        EXPECT_EQ(Raised([&] { parser.Value(); }), raised.at(c.Fault)) << c.Text;
    }
}

TEST_F(ParserEvaluation, EachRunStartsCleanAndReportsOnlyItsOwnFaults)
{
    parser.X() = 0;
    EXPECT_THROW(Eval("1/X"), EZeroDivide);
    parser.X() = 4;
    FaultKind fault = FaultKind::None;
    EXPECT_EQ(parser.Evaluate(fault), 0.25);
    EXPECT_EQ(std::tuple(fault, std::fetestexcept(FE_DIVBYZERO)), std::tuple(FaultKind::None, 0));
    std::feraiseexcept(FE_OVERFLOW | FE_INVALID);  // raised outside any run
    EXPECT_EQ(Eval("X+1"), 5.0);
}

std::vector<double> Abscissae(std::size_t count, double from, double to)
{
    std::vector<double> xs(count);
    for (std::size_t i = 0; i < count; ++i)
        xs[i] = count == 1 ? from : from + (to - from) * static_cast<double>(i) / static_cast<double>(count - 1);
    return xs;
}

// Compares EvaluateMany over X with Evaluate per point; returns the faulting count.
int ExpectBatchMatchesScalar(TParser& parser, const std::vector<double>& xs, const std::string& label)
{
    std::vector<double> out(xs.size());
    std::vector<FaultKind> faults(xs.size());
    parser.EvaluateMany(&parser.X(), xs, out, faults);
    int faulting = 0;
    for (std::size_t i = 0; i < xs.size(); ++i) {
        parser.X() = xs[i];
        FaultKind fault = FaultKind::None;
        const double scalar = parser.Evaluate(fault);
        EXPECT_EQ(faults[i], fault) << label << " at x=" << xs[i];
        if (fault == FaultKind::None)
            EXPECT_EQ(std::bit_cast<std::uint64_t>(out[i]), std::bit_cast<std::uint64_t>(scalar))
                << label << " at x=" << xs[i] << ": " << out[i] << " vs " << scalar;
        else
            EXPECT_TRUE(std::isnan(out[i])) << label << " at x=" << xs[i];
        faulting += fault != FaultKind::None;
    }
    return faulting;
}

TEST_F(ParserEvaluation, ArrayEvaluationOfFitFormulasOpCodesAndFaultsMatchesScalarEvaluationBitForBit)
{
    struct Case { std::string Text; std::vector<double> Xs; int Faulting; };  // -1: not counted
    std::vector<Case> cases = {
        {std::string(kFitFormulas[9]), {-1.0, 0.0, 1.0, 2.0}, 1},        // 1/x
        {std::string(kFitFormulas[8]), Abscissae(200, -3.0, 3.0), 100},  // negative x to a fractional power
        {"EXP(X)+1/(X-3)", {1.0, 3.0, 800.0, 2.0}, 2},
        {"7DIVX+7MODX", {2.0, 0.5, -3.0, 1E300}, 2},
        // One fractional exponent for the whole array, over the bases pow does not take alike.
        {"X^0.5+X^(1/ABS(Y))", {4.0, 0.0, -HUGE_VAL, HUGE_VAL, 4.9E-324, 2.0}, 1},
    };
    for (const std::string_view formula : kFitFormulas) cases.push_back({std::string(formula), Abscissae(301, -5, 25), -1});
    for (const char* text : {"-X", "X+Y", "Y-X", "X*X", "1/X", "XMOD3", "7DIVX", "X^-3", "X^Y", "Y^X", "X^2", "X^3",
                             "X^4", "TAN(X)+SIN(X)+COS(X)", "SINH(X)-COSH(X)", "ARCTAN(X)*SQRT(ABS(X))", "LN(X)",
                             "HEAV(X)+SIGN(X)+ZERO(X)", "PH(X)", "MAX(X,Y)-MIN(X,1)", "Y*Y+1", "MAX(1,2)"})
        cases.push_back({text, Abscissae(97, -4.0, 4.0), -1});
    parser.Y() = 2.5;
    for (const Case& c : cases) {
        parser.setExpression(c.Text);
        const int faulting = ExpectBatchMatchesScalar(parser, c.Xs, c.Text);
        EXPECT_TRUE(c.Faulting < 0 || faulting == c.Faulting) << c.Text << ": " << faulting;
    }
    // Around the block boundaries, with the last formula of the list.
    for (const std::size_t count : {1u, 127u, 128u, 129u, 257u, 1000u})
        ExpectBatchMatchesScalar(parser, Abscissae(count, 0.1, 30.0), std::to_string(count));
}

TEST_F(ParserEvaluation, ArrayEvaluationVariesAnyVariableAndRestoresIt)
{
    double* m1 = parser.FindVariable("m1");
    parser.X() = 3;
    struct Case { const char* Text; double* Slot; std::vector<double> Xs, Values; };
    const Case cases[] = {{"X", &parser.X(), {1.5, -2}, {1.5, -2}}, {"m1", &parser.X(), {1.5, -2}, {4000, 4000}},
                          {"", &parser.X(), {1.5, -2}, {0, 0}},  // the pass-through and the empty program
                          {"M1*X+M2", &parser.X(), {1, 2}, {1000, 5000}}, {"M1*X+M2", m1, {-1, 1}, {-3003, -2997}}};
    for (const Case& c : cases) {
        if (parser.Expression() != c.Text) parser.setExpression(c.Text);  // the same program for X, then for m1
        std::vector<double> out(c.Xs.size());
        std::vector<FaultKind> faults(c.Xs.size());
        parser.EvaluateMany(c.Slot, c.Xs, out, faults);
        EXPECT_EQ(out, c.Values) << c.Text;
        EXPECT_TRUE(parser.X() == 3 && *m1 == 4000) << c.Text;
    }
    std::vector<double> shortOut(1);
    std::vector<FaultKind> faults(2);
    EXPECT_THROW(parser.EvaluateMany(&parser.X(), std::vector<double>{1, 2}, shortOut, faults), std::invalid_argument);
}

// Exact derivatives of compiled formulas: every operation, function and fit
// formula of the list against a high-order central difference, the one-sided
// values at kinks, faulting points, and values bit-identical to the array
// evaluation.
class ParserDerivatives : public ::testing::Test {
protected:
    // Values, faults and the derivative rows [slot][point] of text at xs.
    struct Result {
        std::vector<double> values;
        std::vector<FaultKind> faults;
        std::vector<std::vector<double>> rows;
    };
    Result Run(const std::string& text, const std::vector<double>& xs, const std::vector<double*>& slots)
    {
        parser.setExpression(text);
        Result r{std::vector<double>(xs.size()), std::vector<FaultKind>(xs.size()),
                 std::vector<std::vector<double>>(slots.size(), std::vector<double>(xs.size()))};
        std::vector<double*> rows;
        for (auto& row : r.rows) rows.push_back(row.data());
        parser.EvaluateManyWithDerivatives(&parser.X(), xs, slots, r.values, r.faults, rows);
        return r;
    }
    // Fourth-order central difference of the formula in parameter p at x.
    double Numeric(double& p, double x)
    {
        const double saved = p;
        const double h = 1e-3 * (saved != 0.0 ? std::fabs(saved) : 1.0);
        const auto at = [&](double step) {
            p = saved + step;
            parser.X() = x;
            return parser.Value();
        };
        const double slope = (at(-2 * h) - 8 * at(-h) + 8 * at(h) - at(2 * h)) / (12 * h);
        p = saved;
        return slope;
    }
    TParser parser;
};

TEST_F(ParserDerivatives, EveryOperationFunctionAndListFormulaAgreesWithCentralDifferences)
{
    std::vector<double*> m;
    const double values[] = {0.1, 0.8, 4.0, 0.9, 0.7, 0.05, 0.02, 1.5};
    for (int k = 1; k <= 8; ++k) m.push_back(parser.SetVariable("m" + std::to_string(k), 0.0));
    std::vector<std::string> texts = {
        "A+B*X",        "A*X-B",         "A/(B+X)",        "-A*B",          "A^2*B",        "A^3+B^4",
        "A^B",          "(X+1)^A",       "A^(1/B)",        "B^-2",          "EXP(A*X)",     "LN(A+X)",
        "SQRT(A*X+B)",  "ABS(A-X)",      "SIN(A*X)",       "COS(B*X)",      "TAN(A*X/4)",   "SINH(A*X)",
        "COSH(B*X)",    "ARCTAN(A*X)",   "PH(A*X/7)",      "MAX(A*X,B)",    "MIN(A*X,B)",   "HEAV(A-X)*B",
        "SIGN(A)*B+7MOD2*A",           "(A*X)^2.5",      "EXP(-A*(X-B))/(1+ABS(B)*EXP(A))",
    };
    for (int entry : {0, 1, 2, 3, 5, 7, 8, 9, 10, 11}) texts.emplace_back(kFitFormulas[static_cast<std::size_t>(entry)]);
    const std::vector<double> xs = {0.3, 0.7, 1.4, 2.0};
    for (const std::string& text : texts) {
        const bool list = text.find('m') != std::string::npos;  // in m1..m8, else in A and B
        const std::vector<double*> slots = list ? m : std::vector<double*>{&parser.A(), &parser.B()};
        for (std::size_t k = 0; k < slots.size(); ++k) *slots[k] = list ? values[k] : k == 0 ? 1.3 : 0.8;
        const Result r = Run(text, xs, slots);
        for (std::size_t k = 0; k < slots.size(); ++k)
            for (std::size_t i = 0; i < xs.size(); ++i) {
                ASSERT_EQ(r.faults[i], FaultKind::None) << text;
                const double numeric = Numeric(*slots[k], xs[i]);
                EXPECT_NEAR(r.rows[k][i], numeric, 1e-7 * std::max(std::fabs(numeric), 1.0))
                    << text << " d/d" << (list ? "m" : "") << k + 1 << " at " << xs[i];
            }
    }
}

TEST_F(ParserDerivatives, KinksTakeTheForwardSlopeAndFaultsAreFlat)
{
    struct Case { const char* Text; double A, B, X, SlopeA, SlopeB; };
    const Case cases[] = {
        {"ABS(A)", 0, 0, 0, 1, 0},       {"ABS(A-X)", 2, 0, 2, 1, 0},       {"HEAV(A)*3", 0, 0, 0, 0, 0},
        {"SIGN(A)+ZERO(B)", 0, 0, 0, 0, 0}, {"MAX(A,B)", 1, 1, 0, 1, 0},  {"MIN(A,B)", 1, 1, 0, 0, 1},
        {"SQRT(A)", 0, 0, 0, HUGE_VAL, 0}, {"A^0.5", 0, 0, 0, HUGE_VAL, 0}, {"A^B", -2, 2, 0, -4, 0},
        {"1/(A-X)", 1, 0, 1, 0, 0},      {"LN(A)*B", -1, 3, 0, 0, 0},       {"EXP(A*1000)", 1, 0, 0, 0, 0},
    };
    for (const Case& c : cases) {
        parser.A() = c.A;
        parser.B() = c.B;
        const Result r = Run(c.Text, {c.X}, {&parser.A(), &parser.B()});
        EXPECT_TRUE(r.rows[0][0] == c.SlopeA && r.rows[1][0] == c.SlopeB) << c.Text << ": " << r.rows[0][0] << ", " << r.rows[1][0];
    }
}

TEST_F(ParserDerivatives, ValuesAreThoseOfTheArrayEvaluation)
{
    const std::vector<double> xs = Abscissae(300, -3.0, 2.98);
    parser.A() = 0.7;
    parser.B() = 1.1;
    const Result r = Run("A+(B+0.1*X)/(1+ABS(A)*EXP(-B*(X-A)))^(1/ABS(A))+LN(X)", xs, {&parser.A(), &parser.B()});
    std::vector<double> out(xs.size());
    std::vector<FaultKind> faults(xs.size());
    parser.EvaluateMany(&parser.X(), xs, out, faults);
    for (std::size_t i = 0; i < xs.size(); ++i) {
        EXPECT_EQ(r.faults[i], faults[i]) << xs[i];
        EXPECT_EQ(faults[i] == FaultKind::None ? r.values[i] : r.rows[0][i], faults[i] == FaultKind::None ? out[i] : 0.0) << xs[i];
    }
    // The same program with the parameters in the other order: the rows follow them.
    std::vector<std::vector<double>> swapped(2, std::vector<double>(xs.size()));
    const std::vector<double*> slots = {&parser.B(), &parser.A()}, rows = {swapped[0].data(), swapped[1].data()};
    parser.EvaluateManyWithDerivatives(&parser.X(), xs, slots, out, faults, rows);
    EXPECT_TRUE(swapped[0] == r.rows[1] && swapped[1] == r.rows[0]);
}

} // namespace
} // namespace movra
