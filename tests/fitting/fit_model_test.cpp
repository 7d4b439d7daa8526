// The formula list and the model functions: parameter names, which entries
// run as compiled code, compiled code equal to the parser's reading of the
// same text, clamping of faults and huge values, and the start-value rule.
// Start values from the data: every list entry's rule, and the search for a
// typed formula from the data's scales alone, lands in the basin of the
// parameters a curve was made from (the fit from the guess reaches the fit
// from the truth), noise-free and noisy.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

#include "fitting/curve_fitter.h"
#include "fitting/fit_formulas.h"
#include "fitting/fit_model.h"
#include "fitting/fit_run.h"
#include "fitting/start_values.h"
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
    // The cell rule itself is the importer's; here only zero is replaced.
    const std::pair<const char*, double> cases[] = {{"0", 0.0001}, {"Error", 0.0001}, {"1,5", 1.5}, {"-3000", -3000.0}};
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

// On both paths a curve evaluates to what its points evaluate to.
TEST_F(ModelFixture, CompiledEntriesEqualTheParsersReadingOfTheirTextPointByPointAndAsACurve)
{
    const TVector b = {0, 0.3, 1.7, 0.45, 2.2, 1.3, 0.8, 0.05, 0.01};
    const std::vector<double> xs = {0.25, 1.0, 3.5, 12.0};
    for (int index = 0; index < kBuiltInFitFormulas; ++index) {
        const std::string text(kFitFormulas[static_cast<std::size_t>(index)]);
        FitModel compiled = Model(index, text), typed = Model(-1, text);
        ASSERT_EQ(compiled.BuiltInIndex(), index);
        std::vector<double> compiledCurve(xs.size()), typedCurve(xs.size());
        compiled.EvaluateCurve(xs, b, compiledCurve);
        typed.EvaluateCurve(xs, b, typedCurve);
        for (std::size_t i = 0; i < xs.size(); ++i) {
            for (std::size_t k = 1; k <= 8; ++k) *slots[k] = b[k];
            parser.X() = xs[i];
            const double parsed = parser.Value(), value = compiled.FitModelFunc(xs[i], b);
            EXPECT_NEAR(value, parsed, 1e-12 * std::fabs(parsed)) << text << " at x = " << xs[i];
            EXPECT_EQ(std::tuple(compiledCurve[i], typedCurve[i]), std::tuple(value, typed.FitModelFunc(xs[i], b)));
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
    // A curve on either path, with and without a fault: 1/x at 0 is one, m1 = -1e25 passes -1E20.
    for (int index : {9, -1}) {
        FitModel model = Model(index, std::string(kFitFormulas[9]));
        std::vector<double> out(1);
        for (const auto& [x, value] : {std::pair{0.0, kModelCeiling}, {5.0, -kModelCeiling}}) {
            model.EvaluateCurve(std::vector<double>{x}, TVector{0, -1e25, 2.0, 0.5, 3.0, 1.0, 0.1, 0.01}, out);
            EXPECT_EQ(out[0], value) << index << " at " << x;
        }
    }
    EXPECT_EQ(std::tuple(ClampModelValue(std::nan("")), ClampModelValue(-HUGE_VAL)), std::tuple(1e20, -1e20));
    parser.setExpression("m1*x");  // the graph's model: whatever the slots hold
    *slots[1] = 3.0;
    EXPECT_EQ(PlotModelFunc(parser, 2.0), 6.0);
    parser.setExpression("1/x");
    EXPECT_EQ(PlotModelFunc(parser, 0.0), 1e20);
}

struct Shape {
    int Entry;  // -1: the typed Text
    std::array<double, 9> Truth;
    double FirstX, LastX;
    std::string Text = "";
};

struct StartValues : ModelFixture {
    FitSettings SettingsFor(const std::string& text, int index, const std::array<double, 9>& start)
    {
        parser.setExpression(text);
        FitSettings s;
        s.FitFormulaText = text;
        s.FitFormulaIndex = index;
        s.Names = FitParameterNames(text);
        for (int name : s.Names) s.StartValues.push_back(start[static_cast<std::size_t>(name)]);
        s.LimitMin = TVector(9, -1e20);
        s.LimitMax = TVector(9, 1e20);
        s.Tolerance = 1e-9;
        s.View = {1, 61};
        return s;
    }
    // The curve of the formula with the truth at 61 points, plus noise.
    void MakeCurve(const std::string& text, const Shape& shape, double noise)
    {
        const int n = 61;
        x = TVector(n + 1, 0.0), y = TVector(n + 1, 0.0);
        parser.setExpression(text);
        for (std::size_t k = 1; k <= 8; ++k) *slots[k] = shape.Truth[k];
        std::mt19937 random(7);
        std::normal_distribution<double> error(0.0, noise);
        for (int i = 1; i <= n; ++i) {
            x[i] = shape.FirstX + (shape.LastX - shape.FirstX) * (i - 1) / (n - 1);
            parser.X() = x[i];
            y[i] = parser.Value() + (noise > 0 ? error(random) : 0.0);
        }
    }
    CurveFitResult FitFrom(const std::string& text, int index, const std::array<double, 9>& start)
    {
        const FitSettings settings = SettingsFor(text, index, start);  // the fitter keeps a reference
        CurveFitter fitter(parser, slots, settings);
        return fitter.Fit(x, y, 61);
    }
    TVector x, y;
};

TEST_F(StartValues, EveryListEntrysRuleAndTheTypedFormulaSearchLandInTheBasinOfTheTruth)
{
    const Shape shapes[] = {
        {0, {0, 0.1, 0.8, 0.05, 0.8, 0.12}, 0, 2},          {1, {0, 0.1, 0.02, 0.7, 0.05, 0.9, 0.1}, 0, 2},
        {2, {0, 0.1, 0.8, 2.5, 1.5, 0.02}, 0, 2},           {3, {0, 0.1, 0.7, 2.0, 1.3, 0.02, 0.05}, 0, 2},
        {4, {0, 0.9, 0.8, 2.0}, 0, 2},                      {5, {0, 0.9, 0.8, 2.0, 0.05}, 0, 2},
        // Entry 7 is left out: its shift m6 is absorbed by the amplitudes m2
        // and m4, so its normal equations are singular whatever the start.
        {6, {0, 1.0, 0.5, 6.0, 0.4, 0.8}, 0, 2},
        {8, {0, 0.1, 1.0, 3.0, 0.8}, 0.05, 2},              {9, {0, 0.1, 0.02, 0.9, 0.03, 1.0, 8.0}, 0.3, 2.5},
        {10, {0, 0.2, 1.2, 0.1}, 0, 2},                     {11, {0, 0.1, 0.8, 8.0, 0.9, 1.5, 0.02, 0.01}, 0, 2},
        {-1, {0, 2.0, 0.8, 0.5, 6.0}, 0, 3, "m1*exp(-m2*x)+m3*exp(-m4*x)"},  // a two-exponential decay
    };
    for (const Shape& shape : shapes)
        for (double noise : {1e-6, 0.003}) {  // nearly exact (an exact fit never converges) and noisy
            const std::string text =
                shape.Entry < 0 ? shape.Text : std::string(kFitFormulas[static_cast<std::size_t>(shape.Entry)]);
            const int index = shape.Entry < kBuiltInFitFormulas ? shape.Entry : -1;
            MakeCurve(text, shape, noise);
            const StartValueSet guess = GuessStartValues(parser, slots, SettingsFor(text, index, {}), x, y, 61);
            const CurveFitResult fromGuess = FitFrom(text, index, guess);
            const CurveFitResult fromTruth = FitFrom(text, index, shape.Truth);
            ASSERT_EQ(fromTruth.Status, OptOk) << text;
            EXPECT_EQ(fromGuess.Status, OptOk) << text << " noise " << noise;
            EXPECT_LE(fromGuess.Row[0], fromTruth.Row[0] * (1 + 1e-3) + 1e-20) << text << " noise " << noise;
        }
}

TEST_F(StartValues, GuessesStayInsideTheLimits)
{
    MakeCurve(std::string(kFitFormulas[0]), {0, {0, 0.1, 0.8, 0.05, 0.8, 0.12}, 0, 2}, 0.0);
    TVector low(9, -1e20), high(9, 1e20);
    low[4] = 1.5;   // the half rise lies at 0.8
    high[2] = 0.5;  // the amplitude is 0.8
    const StartValueSet guess = GuessListEntry(0, MeasureCurve(x, y, 61), low, high);
    EXPECT_EQ(std::tuple(guess[4], guess[2]), std::tuple(1.5, 0.5));
}

} // namespace
} // namespace movra
