// The formula list and the model functions: parameter names, which entries
// run as compiled code, compiled code equal to the parser's reading of the
// same text, clamping of faults and huge values, and the start-value rule.
// Start values from the data: every list entry's rule, and the search for a
// typed formula from the data's scales alone, lands in the basin of the
// parameters a curve was made from (the fit from the guess reaches the fit
// from the truth), noise-free and noisy.
//
// Fixed parameters, the fit statistics and the flags a fit raises. The
// statistics against the textbook formulas of a straight line computed here:
// least squares by sums, standard errors, residuals, Student's t from tables,
// R², adjusted R², residual SD and AICc; the flags rule by rule on small
// hand-made results and plates.

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <random>

#include "fitting/curve_fitter.h"
#include "fitting/fit_flags.h"
#include "fitting/fit_formulas.h"
#include "fitting/fit_model.h"
#include "fitting/fit_settings.h"
#include "fitting/fit_statistics.h"
#include "fitting/start_values.h"
#include "plate/import_fields.h"
#include "regression/fspec.h"
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
    // The desktop's settings keep the box's index, which selects the compiled code.
    TParser parser;
    DefineFitParameters(parser);
    const FitSettingTexts texts{std::string(kFitFormulas[3]), 3, {}, "1E-6", "500"};
    EXPECT_EQ(ParseFitSettings(texts, parser, TVector(9, -1e20), TVector(9, 1e20), {1, 5}, "a").FitFormulaIndex, 3);
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

constexpr int kPoints = 12;

std::vector<double> Signs(const std::string& pattern)
{
    std::vector<double> residuals;
    for (char c : pattern) residuals.push_back(c == '+' ? 0.5 : c == '-' ? -0.5 : 0.0);
    return residuals;
}

TEST(ResidualRuns, WaldWolfowitzZFromTheTextbookMeanAndVariance)
{
    // n1 = n2 = 10: mean 2 n1 n2 / n + 1 = 11, variance
    // 2 n1 n2 (2 n1 n2 - n) / (n² (n - 1)) = 36000 / 7600.
    const double sd = std::sqrt(36000.0 / 7600.0);
    const ResidualRuns blocks = CountResidualRuns(Signs("++++++++++----------"));
    EXPECT_EQ(std::tuple(blocks.Runs, blocks.Positive, blocks.Negative), std::tuple(2, 10, 10));
    EXPECT_NEAR(blocks.Z, (2 - 11) / sd, 1e-12);
    EXPECT_NEAR(CountResidualRuns(Signs("+-+-+-+-+-+-+-+-+-+-")).Z, (20 - 11) / sd, 1e-12);
    // Zeros are skipped; fewer than ten residuals give no verdict; one sign only is the worst case.
    EXPECT_EQ(CountResidualRuns(Signs("+0+0-")).Runs, 2);
    EXPECT_TRUE(std::isnan(CountResidualRuns(Signs("++++-----")).Z) &&
                std::isfinite(CountResidualRuns(Signs("+++++-----")).Z));
    EXPECT_EQ(CountResidualRuns(Signs("++++++++++++")).Z, -std::numeric_limits<double>::infinity());
}

struct AssessCase {
    const char* name;
    std::int32_t status = OptOk;
    double m2 = 3.0, sd1 = 0.1, rSquared = 0.99;
    const char* residuals = "+-+-+-+-+-+-+-+-+-+-";
    bool saturated = false;
    FitFlags flags = 0;
    ParameterMask named = 0;  // AtLimit | Ambiguous
};

TEST(AssessFit, EachRuleRaisesItsFlag)
{
    FitSettings settings;
    settings.Names = {1, 2};
    settings.StartValues = {1.0, 1.0};
    settings.LimitMin = TVector(9, -1e20);
    settings.LimitMax = {0, 1e20, 5.0, 1e20, 1e20, 1e20, 1e20, 1e20, 1e20};
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const AssessCase cases[] = {
        {"clean"},
        {"pinned at the upper limit", OptOk, 5.0 - 1e-9, 0.1, 0.99, "+-+-+-+-+-+-+-+-+-+-", false, kFlagAtLimit, 4},
        {"just beyond the tolerance of 1e-6 of the way from the start", OptOk, 5.0 - 5e-6},
        {"sd above the value", OptOk, 3.0, 2.5, 0.99, "+-+-+-+-+-+-+-+-+-+-", false, kFlagAmbiguous, 2},
        {"sd not a number", OptOk, 3.0, nan, 0.99, "+-+-+-+-+-+-+-+-+-+-", false, kFlagAmbiguous, 2},
        {"low R²", OptOk, 3.0, 0.1, 0.85, "+-+-+-+-+-+-+-+-+-+-", false, kFlagPoorFit},
        {"residual runs", OptOk, 3.0, 0.1, 0.99, "++++++++++----------", false, kFlagPoorFit},
        {"saturated", OptOk, 3.0, 0.1, 0.99, "+-+-+-+-+-+-+-+-+-+-", true, kFlagSaturated},
        {"failed hides the rest", OptSing, 5.0, 2.5, 0.5, "++++++++++----------", false, kFlagFailed},
    };
    for (const AssessCase& c : cases) {
        const CurveFitResult result{.Status = c.status, .Row = {0, 2.0, c.m2, 0, 0, 0, 0, 0, 0, c.sd1, 0.1},
                                    .RSquared = c.rSquared, .Residuals = Signs(c.residuals)};
        const FitQuality quality = AssessFit(result, settings, c.saturated);
        EXPECT_EQ(std::tuple(quality.Flags, quality.AtLimit | quality.Ambiguous, quality.Status, quality.Used),
                  std::tuple(c.flags | (c.saturated ? kFlagSaturated : 0), c.named, c.status, ParameterMask{6}))
            << c.name;
    }
}

TEST(AssessFit, FlagsAreNamedInWordsAndDescribedWithTheirCause)
{
    FitQuality quality{.Status = OptOk, .Flags = kFlagAtLimit | kFlagAmbiguous | kFlagPoorFit | kFlagSaturated,
                       .RSquared = 0.5, .RunsZ = 1.0, .AtLimit = ParameterBit(3),
                       .Ambiguous = ParameterBit(6) | ParameterBit(7)};
    EXPECT_EQ(FitFlagNames(quality.Flags), "at-limit,ambiguous,poor-fit,saturated");
    EXPECT_EQ(DescribeFitFlags(quality), (std::vector<std::string>{"at a limit: m3", "ambiguous: m6, m7",
                                                                   "poor fit: R\u00b2 0.5", "saturated readings"}));
    quality = {};
    EXPECT_EQ(FitStatusText(quality), "not fitted");
    quality = {.Status = OptBigLambda, .Flags = kFlagFailed};
    EXPECT_EQ(std::tuple(FitStatusText(quality), FitFlagNames(quality.Flags), DescribeFitFlags(quality).at(0)),
              std::tuple("OPT_BIG_LAMBDA", "failed", "failed: OPT_BIG_LAMBDA"));
}

// Three wells, two wavelengths, six reads: well 0 has a "Range?" cell at
// read 5, well 1 a "#Sat" at read 3 of wavelength 2, well 2 sits at the
// plate's highest reading of wavelength 1 from read 4 on.
TEST(SaturationCheck, SaturatedReadingsCountOnlyInsideTheFittedReads)
{
    PlateMeasurements plate;
    plate.WellCount = 3, plate.WaveLengthCount = 2, plate.TimePointCount = 6;
    plate.PlateData.assign(8, {1, 2, 3, 4, 5, 6});
    plate.OutOfRangeCells = {{0, 1, 4}};
    plate.PlateData[PlateDataColumn(2, 1, 3)][2] = kSaturatedReading;
    for (int read : {3, 4, 5}) plate.PlateData[PlateDataColumn(1, 2, 3)][static_cast<std::size_t>(read)] = 9.5;
    const SaturationCheck check(plate);
    struct Case { std::vector<int> wells; ReadRange view; bool saturated; };
    const Case cases[] = {
        {{0}, {1, 4}, false}, {{0}, {1, 6}, true},  {{1}, {1, 2}, false}, {{1}, {3, 3}, true},
        {{2}, {1, 5}, false}, {{2}, {0, 9}, true},  {{0, 1}, {2, 6}, true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(check.Saturated(c.wells, c.view), c.saturated) << c.wells[0] << " " << c.view.ViewLastPoint;
}

struct FitStatistics : ModelFixture {
    FitStatistics()
    {
        for (int i = 1; i <= kPoints; ++i) {
            x[i] = 0.5 * i;
            // A line with a deterministic wobble that is no line.
            y[i] = 1.5 + 0.8 * x[i] + 0.05 * std::sin(3.0 * i);
        }
    }
    // Fits text with the start texts and ticks through the desktop's settings path.
    CurveFitResult Fit(const std::string& text, const std::array<std::string, 9>& starts,
                       std::array<bool, 9> ticks = {}, TVector low = TVector(9, -1e20),
                       TVector high = TVector(9, 1e20))
    {
        const FitSettingTexts texts{text, -1, starts, "1E-9", "500", ticks};
        settings = ParseFitSettings(texts, parser, low, high, {1, kPoints}, "a");
        CurveFitter fitter(parser, slots, settings);
        return fitter.Fit(x, y, kPoints);
    }

    double Sum(const std::function<double(int)>& term) const
    {
        double sum = 0;
        for (int i = 1; i <= kPoints; ++i) sum += term(i);
        return sum;
    }

    FitSettings settings;
    TVector x = TVector(kPoints + 1, 0.0), y = TVector(kPoints + 1, 0.0);
};

TEST(StudentQuantile, InvertsTheTwoTailedProbabilityAsInTheTables)
{
    for (const auto& [nu, alpha, t] : {std::tuple{1, 0.05, 12.706204736174704}, {2, 0.05, 4.3026527297494637},
                                       {10, 0.05, 2.2281388519862747}, {10, 0.01, 3.1692726726169512},
                                       {1000, 0.05, 1.9623390808264085}})
        EXPECT_NEAR(StudentTwoTailedQuantile(nu, alpha), t, 1e-12 * t) << nu << " " << alpha;
    EXPECT_TRUE(std::isnan(StudentTwoTailedQuantile(0, 0.05)) && std::isnan(StudentTwoTailedQuantile(5, 1.0)));
}

TEST_F(FitStatistics, StraightLineMatchesTheTextbook)
{
    const CurveFitResult result = Fit("m1+m2*x", {"", "1", "1"});
    ASSERT_EQ(result.Status, OptOk);
    const double n = kPoints, mx = Sum([&](int i) { return x[i]; }) / n, my = Sum([&](int i) { return y[i]; }) / n;
    const double sxx = Sum([&](int i) { return (x[i] - mx) * (x[i] - mx); });
    const double sxy = Sum([&](int i) { return (x[i] - mx) * (y[i] - my); });
    const double tss = Sum([&](int i) { return (y[i] - my) * (y[i] - my); });
    const double slope = sxy / sxx, intercept = my - slope * mx;
    const double rss = Sum([&](int i) { return std::pow(y[i] - intercept - slope * x[i], 2); });
    const double s = std::sqrt(rss / (n - 2));
    const double seSlope = s / std::sqrt(sxx), seIntercept = s * std::sqrt(1 / n + mx * mx / sxx);
    const double t = 2.2281388519862747;  // t(0.975, 10) from the tables
    const double k = 3;                   // two parameters and the variance
    const double aicc = n * std::log(rss / n) + 2 * k + 2 * k * (k + 1) / (n - k - 1);

    FitQuality quality = AssessFit(result, settings, false);
    const WellStatistics st = ComputeWellStatistics(TVector(result.Row.begin(), result.Row.end()), quality);
    EXPECT_EQ(std::tuple(st.Points, st.FreeParameters), std::tuple(kPoints, 2));
    // Value, textbook value and the digits they share.
    std::vector<std::tuple<double, double, double>> checks = {
        {result.Row[1], intercept, 12}, {result.Row[2], slope, 12}, {result.Row[9], seIntercept, 9},
        {result.Row[10], seSlope, 9}, {st.RSquared, 1 - rss / tss, 12},
        {st.AdjustedRSquared, 1 - (rss / (n - 2)) / (tss / (n - 1)), 12}, {st.ResidualSD, s, 12}, {st.AICc, aicc, 12},
        {st.Lower[2], slope - t * seSlope, 9}, {st.Upper[2], slope + t * seSlope, 9},
        {st.Upper[1], intercept + t * seIntercept, 9}};
    ASSERT_EQ(result.Residuals.size(), std::size_t{kPoints});
    for (int i = 1; i <= kPoints; ++i) checks.push_back({result.Residuals[i - 1], y[i] - intercept - slope * x[i], 9});
    for (const auto& [value, expected, digits] : checks)
        EXPECT_NEAR(value, expected, std::pow(10.0, -digits) * std::fabs(expected)) << expected;
    EXPECT_TRUE(std::isnan(st.Lower[3]));  // not in the formula
}

// A held slope leaves the mean fit: m1 = mean(y - c x), its standard error
// that of a mean with N - 1 degrees of freedom. A tick and limits with
// min = max hold alike; a held 0 stays 0.
TEST_F(FitStatistics, FixedParameterStaysAtItsValueAndLeavesTheDegreesOfFreedom)
{
    for (const double held : {0.75, 0.0}) {
        const double mean = Sum([&](int i) { return y[i] - held * x[i]; }) / kPoints;
        const double rss = Sum([&](int i) { return std::pow(y[i] - held * x[i] - mean, 2); });
        const double se = std::sqrt(rss / (kPoints - 1)) / std::sqrt(double{kPoints});
        TVector low(9, -1e20), high(9, 1e20);
        low[2] = high[2] = held;
        for (const CurveFitResult& result : {Fit("m1+m2*x", {"", "1", held == 0 ? "0" : "0.75"}, {0, 0, 1}),
                                             Fit("m1+m2*x", {"", "1", "5"}, {}, low, high)}) {
            ASSERT_EQ(result.Status, OptOk) << held;
            EXPECT_EQ(std::tuple(result.Row[2], result.Row[10], result.FreeParameters), std::tuple(held, 0.0, 1));
            EXPECT_NEAR(result.Row[1], mean, 1e-12);
            EXPECT_NEAR(result.Row[9], se, 1e-9 * se);
            const FitQuality quality = AssessFit(result, settings, false);
            EXPECT_EQ(quality.Flags & (kFlagAtLimit | kFlagAmbiguous), 0);  // held at its limits is not "at a limit"
            const WellStatistics st = ComputeWellStatistics(TVector(result.Row.begin(), result.Row.end()), quality);
            EXPECT_EQ(std::tuple(st.Lower[2], st.Upper[2]), std::tuple(held, held));
        }
    }
    // Everything held: the start curve is the result.
    const CurveFitResult held = Fit("m1+m2*x", {"", "1.5", "0.8"}, {0, 1, 1});
    EXPECT_EQ(std::tuple(held.Status, held.Row[1], held.Row[2], held.FreeParameters), std::tuple(OptOk, 1.5, 0.8, 0));
}

// Holding m3 of the sigmoid at 0 fits what the formula without m3 fits.
TEST_F(FitStatistics, HeldParameterFitsLikeTheReducedFormula)
{
    for (int i = 1; i <= kPoints; ++i) y[i] = 0.1 + 0.8 / (1 + std::exp((3.0 - x[i]) / 0.6)) + 0.002 * std::sin(5.0 * i);
    const CurveFitResult held =
        Fit("m1+(m2+m3*x)/(1+exp((m4-x)/m5))", {"", "0.1", "0.7", "0", "2.5", "0.5"}, {0, 0, 0, 1});
    const CurveFitResult reduced = Fit("m1+(m2+0*x)/(1+exp((m4-x)/m5))", {"", "0.1", "0.7", "", "2.5", "0.5"});
    ASSERT_EQ(std::tuple(held.Status, reduced.Status), std::tuple(OptOk, OptOk));
    for (const int column : {0, 1, 2, 4, 5, 9, 10, 12, 13})
        EXPECT_NEAR(held.Row[column], reduced.Row[column], 1e-7 * std::fabs(reduced.Row[column])) << column;
    EXPECT_EQ(std::tuple(held.Row[3], held.Row[11]), std::tuple(0.0, 0.0));
}

} // namespace
} // namespace movra
