// The flags a fit raises, rule by rule, on small hand-made results and
// plates, and the R² and residuals a fit reports, against textbook formulas.

#include "fitting/fit_flags.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "fitting/curve_fitter.h"
#include "fitting/fit_model.h"
#include "plate/import_fields.h"

namespace movra {
namespace {

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
    // Zeros are skipped; too few residuals give no verdict; one sign only is the worst case.
    EXPECT_EQ(CountResidualRuns(Signs("+0+0-")).Runs, 2);
    EXPECT_TRUE(std::isnan(CountResidualRuns(Signs("++++-----")).Z));
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
    settings.LimitMax = TVector(9, 1e20);
    settings.LimitMax[2] = 5.0;
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const AssessCase cases[] = {
        {"clean"},
        {"pinned at the upper limit", OptOk, 5.0 - 1e-9, 0.1, 0.99, "+-+-+-+-+-+-+-+-+-+-", false, kFlagAtLimit, 4},
        {"near but not at the limit", OptOk, 4.99},
        {"sd above the value", OptOk, 3.0, 2.5, 0.99, "+-+-+-+-+-+-+-+-+-+-", false, kFlagAmbiguous, 2},
        {"sd not a number", OptOk, 3.0, nan, 0.99, "+-+-+-+-+-+-+-+-+-+-", false, kFlagAmbiguous, 2},
        {"low R²", OptOk, 3.0, 0.1, 0.85, "+-+-+-+-+-+-+-+-+-+-", false, kFlagPoorFit},
        {"residual runs", OptOk, 3.0, 0.1, 0.99, "++++++++++----------", false, kFlagPoorFit},
        {"saturated", OptOk, 3.0, 0.1, 0.99, "+-+-+-+-+-+-+-+-+-+-", true, kFlagSaturated},
        {"failed hides the rest", OptSing, 5.0, 2.5, 0.5, "++++++++++----------", false, kFlagFailed},
    };
    for (const AssessCase& c : cases) {
        CurveFitResult result;
        result.Status = c.status;
        result.Row[1] = 2.0, result.Row[2] = c.m2, result.Row[9] = c.sd1, result.Row[10] = 0.1;
        result.RSquared = c.rSquared;
        result.Residuals = Signs(c.residuals);
        const FitQuality quality = AssessFit(result, settings, c.saturated);
        EXPECT_EQ(quality.Flags, c.flags | (c.saturated ? kFlagSaturated : 0)) << c.name;
        EXPECT_EQ(quality.AtLimit | quality.Ambiguous, c.named) << c.name;
        EXPECT_EQ(std::tuple(quality.Status, quality.Used), std::tuple(c.status, ParameterMask{6})) << c.name;
    }
}

TEST(AssessFit, FlagsAreNamedInWordsAndDescribedWithTheirCause)
{
    FitQuality quality;
    quality.Status = OptOk;
    quality.Flags = kFlagAtLimit | kFlagAmbiguous | kFlagPoorFit | kFlagSaturated;
    quality.AtLimit = ParameterBit(3);
    quality.Ambiguous = ParameterBit(6) | ParameterBit(7);
    quality.RSquared = 0.5;
    quality.RunsZ = 1.0;
    EXPECT_EQ(FitFlagNames(quality.Flags), "at-limit,ambiguous,poor-fit,saturated");
    EXPECT_EQ(DescribeFitFlags(quality), (std::vector<std::string>{"at a limit: m3", "ambiguous: m6, m7",
                                                                   "poor fit: R\u00b2 0.5", "saturated readings"}));
    quality = {};
    EXPECT_EQ(FitStatusText(quality), "not fitted");
    quality.Status = OptBigLambda;
    quality.Flags = kFlagFailed;
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

TEST(CurveFitterQuality, RSquaredAndResidualsOfAStraightLineAreTheTextbookOnes)
{
    const std::vector<double> x{1, 2, 3, 4, 5, 6}, y{1.0, 3.1, 2.2, 5.3, 4.1, 6.4};
    TVector time(7, 0.0), curve(7, 0.0);
    for (std::size_t i = 0; i < 6; ++i) time[i + 1] = x[i], curve[i + 1] = y[i];
    TParser parser2;
    const auto slots = DefineFitParameters(parser2);
    FitSettingTexts texts{"m1+m2*x", -1, {"", "0", "1"}, "0.000001", "500"};
    const FitSettings settings = ParseFitSettings(texts, parser2, TVector(9, -1e20), TVector(9, 1e20), {1, 6}, "b-a");
    CurveFitter fitter(parser2, slots, settings);
    const CurveFitResult result = fitter.Fit(time, curve, 6);
    ASSERT_EQ(result.Status, OptOk);

    double sx = 0, sy = 0, sxx = 0, sxy = 0, syy = 0;
    for (std::size_t i = 0; i < 6; ++i)
        sx += x[i], sy += y[i], sxx += x[i] * x[i], sxy += x[i] * y[i], syy += y[i] * y[i];
    const double sxxc = sxx - sx * sx / 6, sxyc = sxy - sx * sy / 6, syyc = syy - sy * sy / 6;
    const double slope = sxyc / sxxc, intercept = (sy - slope * sx) / 6;
    EXPECT_NEAR(result.RSquared, sxyc * sxyc / (sxxc * syyc), 1e-9);  // Pearson r²
    ASSERT_EQ(result.Residuals.size(), 6u);
    for (std::size_t i = 0; i < 6; ++i) EXPECT_NEAR(result.Residuals[i], y[i] - intercept - slope * x[i], 1e-7);
}

} // namespace
} // namespace movra
