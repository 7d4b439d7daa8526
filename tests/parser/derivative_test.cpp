// Exact derivatives of compiled formulas: every operation, function and fit
// formula of the list against a high-order central difference, the one-sided
// values at kinks, faulting points, and values bit-identical to the array
// evaluation.

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "fitting/fit_formulas.h"
#include "parser/parser.h"

namespace movra {
namespace {

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
    std::vector<double> xs(300);
    for (std::size_t i = 0; i < xs.size(); ++i) xs[i] = -3.0 + 0.02 * static_cast<double>(i);
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
