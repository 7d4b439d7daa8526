// Exact derivatives of compiled formulas: every operation and function
// against a high-order central difference, the one-sided values at kinks,
// faulting points, and values bit-identical to the array evaluation.

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "fitting/fit_formulas.h"
#include "parser/parser.h"

namespace movra {
namespace {

struct Derivatives {
    std::vector<double> values, dA, dB;
    std::vector<FaultKind> faults;
};

class ParserDerivatives : public ::testing::Test {
protected:
    Derivatives Run(const std::string& text, const std::vector<double>& xs)
    {
        parser.setExpression(text);
        Derivatives d;
        d.values.resize(xs.size());
        d.dA.resize(xs.size());
        d.dB.resize(xs.size());
        d.faults.resize(xs.size());
        double* slots[] = {&parser.A(), &parser.B()};
        double* rows[] = {d.dA.data(), d.dB.data()};
        parser.EvaluateManyWithDerivatives(&parser.X(), xs, slots, d.values, d.faults, rows);
        return d;
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

TEST_F(ParserDerivatives, EveryOperationAndFunctionAgreesWithCentralDifferences)
{
    const char* texts[] = {
        "A+B*X",        "A*X-B",         "A/(B+X)",        "-A*B",          "A^2*B",        "A^3+B^4",
        "A^B",          "(X+1)^A",       "A^(1/B)",        "B^-2",          "EXP(A*X)",     "LN(A+X)",
        "SQRT(A*X+B)",  "ABS(A-X)",      "SIN(A*X)",       "COS(B*X)",      "TAN(A*X/4)",   "SINH(A*X)",
        "COSH(B*X)",    "ARCTAN(A*X)",   "PH(A*X/7)",      "MAX(A*X,B)",    "MIN(A*X,B)",   "HEAV(A-X)*B",
        "SIGN(A)*B+7MOD2*A",           "(A*X)^2.5",      "EXP(-A*(X-B))/(1+ABS(B)*EXP(A))",
    };
    const std::vector<double> xs = {0.3, 0.7, 1.9, 2.6};
    for (const char* text : texts) {
        parser.A() = 1.3;
        parser.B() = 0.8;
        const Derivatives d = Run(text, xs);
        for (std::size_t i = 0; i < xs.size(); ++i) {
            ASSERT_EQ(d.faults[i], FaultKind::None) << text;
            const double a = Numeric(parser.A(), xs[i]);
            const double b = Numeric(parser.B(), xs[i]);
            EXPECT_NEAR(d.dA[i], a, 1e-7 * std::max(std::fabs(a), 1.0)) << text << " d/dA at " << xs[i];
            EXPECT_NEAR(d.dB[i], b, 1e-7 * std::max(std::fabs(b), 1.0)) << text << " d/dB at " << xs[i];
        }
    }
}

TEST_F(ParserDerivatives, ListFormulasThroughTheParserAgreeWithCentralDifferences)
{
    double* m[9] = {};
    for (int k = 1; k <= 8; ++k) m[k] = parser.SetVariable("m" + std::to_string(k), 0.0);
    const double values[9] = {0, 0.1, 0.8, 4.0, 0.9, 0.7, 0.05, 0.02, 1.5};
    const std::vector<double> xs = {0.2, 0.8, 1.4, 2.0};
    for (int entry : {0, 1, 2, 3, 5, 7, 8, 9, 10, 11}) {
        for (int k = 1; k <= 8; ++k) *m[k] = values[k];
        parser.setExpression(std::string(kFitFormulas[static_cast<std::size_t>(entry)]));
        std::vector<double> out(xs.size()), rows(8 * xs.size());
        std::vector<FaultKind> faults(xs.size());
        std::vector<double*> slots, rowPointers;
        for (int k = 1; k <= 8; ++k) {
            slots.push_back(m[k]);
            rowPointers.push_back(rows.data() + (k - 1) * xs.size());
        }
        parser.EvaluateManyWithDerivatives(&parser.X(), xs, slots, out, faults, rowPointers);
        for (int k = 1; k <= 8; ++k)
            for (std::size_t i = 0; i < xs.size(); ++i) {
                const double numeric = Numeric(*m[k], xs[i]);
                EXPECT_NEAR(rowPointers[static_cast<std::size_t>(k - 1)][i], numeric,
                            1e-7 * std::max(std::fabs(numeric), 1.0))
                    << "entry " << entry << " d/dm" << k << " at " << xs[i];
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
        const Derivatives d = Run(c.Text, {c.X});
        EXPECT_EQ(d.dA[0], c.SlopeA) << c.Text;
        EXPECT_EQ(d.dB[0], c.SlopeB) << c.Text;
    }
}

TEST_F(ParserDerivatives, ValuesAreThoseOfTheArrayEvaluation)
{
    std::vector<double> xs(300);
    for (std::size_t i = 0; i < xs.size(); ++i) xs[i] = -3.0 + 0.02 * static_cast<double>(i);
    parser.A() = 0.7;
    parser.B() = 1.1;
    const Derivatives d = Run("A+(B+0.1*X)/(1+ABS(A)*EXP(-B*(X-A)))^(1/ABS(A))+LN(X)", xs);
    std::vector<double> out(xs.size());
    std::vector<FaultKind> faults(xs.size());
    parser.EvaluateMany(&parser.X(), xs, out, faults);
    for (std::size_t i = 0; i < xs.size(); ++i) {
        EXPECT_EQ(d.faults[i], faults[i]) << xs[i];
        if (faults[i] == FaultKind::None) {
            EXPECT_EQ(d.values[i], out[i]) << xs[i];
        } else {
            EXPECT_EQ(d.dA[i], 0.0) << xs[i];
        }
    }
}

} // namespace
} // namespace movra
