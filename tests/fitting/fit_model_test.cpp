// The formula list and the model functions: parameter names, which entries
// run as compiled code, compiled code equal to the parser's reading of the
// same text, clamping of faults and huge values, and the start-value rule.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "fitting/fit_formulas.h"
#include "fitting/fit_model.h"
#include "fitting/fit_run.h"
#include "shared/conversion.h"

namespace movra {
namespace {

TEST(FitFormulas, ParameterNamesInAnyCaseAndOnlyExactEntriesRunCompiledCode)
{
    EXPECT_EQ(FitParameterNames("M3+M1*X"), (std::vector<int>{1, 3}));
    EXPECT_EQ(FitParameterNames(kFitFormulas[11]), (std::vector<int>{1, 2, 3, 4, 5, 6, 7}));
    EXPECT_TRUE(FitParameterNames("x*2").empty());
    const std::pair<int, std::string_view> others[] = {
        {0, "m1+(m2+m3*x)/(1+exp((m4-x)/m5))+1"}, {11, kFitFormulas[11]}, {-1, kFitFormulas[0]}};
    for (const auto& [index, text] : others) EXPECT_EQ(BuiltInFormulaIndex(index, text), -1) << index;
}

TEST(FitFormulas, StartValuesFollowTheCellRuleAndAvoidZero)
{
    const std::pair<const char*, double> cases[] = {{"0", 0.0001},     {"Error", 0.0001}, {"#Sat", 35000.0},
                                                    {"#Low", 1.0},     {"1,5", 1.5},       {"-3000", -3000.0}};
    for (const auto& [text, value] : cases) EXPECT_EQ(ParseStartValue(text), value) << text;
    EXPECT_THROW(ParseStartValue("abc"), ConversionError);
}

struct ModelFixture : ::testing::Test {
    ModelFixture() : slots(DefineFitParameters(parser)) {}
    FitModel Model(int index, const std::string& text)
    {
        parser.setExpression(text);
        return FitModel(parser, slots, text, index, FitParameterNames(text));
    }
    TParser parser;
    std::array<double*, 9> slots;
};

TEST_F(ModelFixture, CompiledEntriesEqualTheParsersReadingOfTheirText)
{
    const TVector b = {0, 0.3, 1.7, 0.45, 2.2, 1.3, 0.8, 0.05, 0.01};
    for (int index = 0; index < kBuiltInFitFormulas; ++index) {
        const std::string text(kFitFormulas[static_cast<std::size_t>(index)]);
        FitModel compiled = Model(index, text);
        ASSERT_EQ(compiled.BuiltInIndex(), index);
        for (double x : {0.25, 1.0, 3.5, 12.0}) {
            for (std::size_t k = 1; k <= 8; ++k) *slots[k] = b[k];
            parser.X() = x;
            const double parsed = parser.Value();
            EXPECT_NEAR(compiled.FitModelFunc(x, b), parsed, 1e-12 * std::fabs(parsed)) << text << " at x = " << x;
        }
    }
}

TEST_F(ModelFixture, CurveEvaluationMatchesPointEvaluationOnBothPathsClampsIncluded)
{
    const std::vector<double> xs = {0.0, 0.1, 1.0, 5.0, -2.0};
    for (const double m1 : {1.0, -1e25}) {  // -1e25 takes the values at x > 0 below -1E20
        const TVector b = {0, m1, 2.0, 0.5, 3.0, 1.0, 0.1, 0.01};
        for (int index : {9, -1}) {
            auto model = Model(index, std::string(kFitFormulas[9]));
            std::vector<double> out(xs.size());
            model.EvaluateCurve(xs, b, out);
            for (std::size_t i = 0; i < xs.size(); ++i) EXPECT_EQ(out[i], model.FitModelFunc(xs[i], b)) << index;
            EXPECT_EQ(out[0], kModelCeiling);  // 1/x at x = 0 is a fault on both paths
            EXPECT_TRUE(m1 > 0 || out[3] == -kModelCeiling) << index << ": " << out[3];
        }
    }
}

TEST_F(ModelFixture, FaultsAndHugeValuesAreClamped)
{
    const TVector b = {0, 2e20, 2.0};  // just beyond the clamp
    const std::pair<const char*, double> typed[] = {
        {"m1", 1e20}, {"0-m1", -1e20}, {"exp(m2*1000)", 1e20}, {"ln(x-1)", 1e20}};
    for (const auto& [text, value] : typed) EXPECT_EQ(Model(-1, text).FitModelFunc(0, b), value) << text;
    EXPECT_EQ(Model(4, std::string(kFitFormulas[4])).FitModelFunc(-1000, TVector{0, 1, 1, 1}), 1e20);
    EXPECT_EQ(ClampModelValue(std::numeric_limits<double>::quiet_NaN()), 1e20);
    EXPECT_EQ(ClampModelValue(-std::numeric_limits<double>::infinity()), -1e20);
    parser.setExpression("m1*x");  // the graph's model: whatever the slots hold
    *slots[1] = 3.0;
    EXPECT_EQ(PlotModelFunc(parser, 2.0), 6.0);
    parser.setExpression("1/x");
    EXPECT_EQ(PlotModelFunc(parser, 0.0), 1e20);
}

} // namespace
} // namespace movra
