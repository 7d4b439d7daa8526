// Array evaluation: the same results, bit for bit, and the same faults as
// evaluating point by point, for every fit formula, op code and block
// boundary, whichever variable is varied.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "fitting/fit_formulas.h"
#include "parser/parser.h"

namespace movra {
namespace {

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

struct BatchEvaluation : ::testing::Test {
    BatchEvaluation()
    {
        const double values[9] = {0, 4000, -3000, 0.7, 1.3, 1.1, 0.25, 0.5, 1};
        for (int k = 1; k <= 8; ++k) parser.SetVariable("m" + std::to_string(k), values[k]);
    }
    TParser parser;
};

TEST_F(BatchEvaluation, FitFormulasOpCodesAndFaultsMatchScalarEvaluationBitForBit)
{
    struct Case { std::string Text; std::vector<double> Xs; int Faulting; };  // -1: not counted
    std::vector<Case> cases = {
        {std::string(kFitFormulas[9]), {-1.0, 0.0, 1.0, 2.0}, 1},        // 1/x
        {std::string(kFitFormulas[8]), Abscissae(200, -3.0, 3.0), 100},  // negative x to a fractional power
        {"EXP(X)+1/(X-3)", {1.0, 3.0, 800.0, 2.0}, 2},
        {"7DIVX+7MODX", {2.0, 0.5, -3.0, 1E300}, 2},
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

TEST_F(BatchEvaluation, AnyVariableCanBeTheVariedOneAndIsRestored)
{
    parser.setExpression("M1*X+M2");
    parser.X() = 3;
    double* m1 = parser.FindVariable("m1");
    std::vector<double> out(2);
    std::vector<FaultKind> faults(2);
    parser.EvaluateMany(&parser.X(), std::vector<double>{1.0, 2.0}, out, faults);  // a batch for X first
    parser.EvaluateMany(m1, std::vector<double>{-1.0, 1.0}, out, faults);
    EXPECT_EQ(*m1, 4000.0);
    EXPECT_EQ(out, (std::vector<double>{-3.0 - 3000, 3.0 - 3000}));
}

TEST_F(BatchEvaluation, PassThroughAndEmptyPrograms)
{
    const std::vector<double> xs = {1.5, -2.0, 7.0};
    std::vector<double> out(3);
    std::vector<FaultKind> faults(3);
    parser.X() = 42;
    const std::pair<const char*, std::vector<double>> cases[] = {{"X", xs}, {"m1", {4000, 4000, 4000}}, {"", {0, 0, 0}}};
    for (const auto& [text, expected] : cases) {
        parser.setExpression(text);
        parser.EvaluateMany(&parser.X(), xs, out, faults);
        EXPECT_EQ(out, expected) << text;
        EXPECT_EQ(parser.X(), 42.0);
    }
    std::vector<double> shortOut(2);
    EXPECT_THROW(parser.EvaluateMany(&parser.X(), xs, shortOut, faults), std::invalid_argument);
}

} // namespace
} // namespace movra
