// Every fit of the demo plate that reports OPT_OK is at a least-squares
// minimum, and its standard deviations are the ones s²(JᵀJ)⁻¹ gives at the
// reported parameters with an analytic Jacobian computed here.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>

#include "batch/plate_fit.h"
#include "batch_fixture.h"
#include "reduction/sample_wells.h"

namespace movra {
namespace {

// The README's start values for the default formula, and a start for entry 0.
const BatchSettings kDefaultFormula = test::BuiltInFormula(11, test::kGoodStart);
const BatchSettings kEntry0 = test::BuiltInFormula(0, "m1=0.1,m2=0.7,m3=0.01,m4=0.6,m5=0.1");

class DemoPlateFits : public ::testing::Test {
protected:
    DemoPlateFits() : plate(test::ImportDemo())
    {
        SampleAssignment samples;
        FillSampleArray(test::ColumnLayout(12), plate, samples);
        curves = CurvesToFit(plate, samples, false);
    }

    std::vector<CurveFitOutcome> Fit(const BatchSettings& texts, const std::vector<BatchCurve>& which)
    {
        const PlateFitSettings settings = test::ConvertedSettings(texts, plate.TimePointCount);
        return FitPlateCurves(plate, which, settings.Combination, settings.Fit, 2);
    }

    // The fit again, started from the parameters it reported.
    double RestartedChiSq(const BatchSettings& texts, const BatchCurve& curve, const CurveFitResult& result)
    {
        BatchSettings restart = texts;
        char text[32];
        for (std::size_t k = 1; k <= 8; ++k) {
            std::snprintf(text, sizeof text, "%.17g", result.Row[k]);
            restart.StartTexts[k] = text;
        }
        const auto outcome = Fit(restart, {curve});
        return outcome.front().Result.Status == OptOk ? outcome.front().Result.Row[0] : HUGE_VAL;
    }

    PlateMeasurements plate;
    std::vector<BatchCurve> curves;
};

TEST_F(DemoPlateFits, EveryWellEndsOkAtAMinimum)
{
    for (const BatchSettings& setting : {kDefaultFormula, kEntry0}) {
        const auto outcomes = Fit(setting, curves);
        for (std::size_t i = 0; i < curves.size(); ++i) {
            const std::string well = WellName(curves[i].FiledWell(), 12) + " of entry " +
                                     std::to_string(setting.FitFormulaIndex);
            const CurveFitResult& result = outcomes[i].Result;
            ASSERT_EQ(result.Status, OptOk) << well;
            EXPECT_GE(RestartedChiSq(setting, curves[i], result), result.Row[0] * (1 - 1e-3)) << well;
        }
    }
}

// Entry 0, m1+(m2+m3*x)/(1+exp((m4-x)/m5)), and its derivatives by hand.
std::array<double, 6> Entry0WithGradient(double x, const std::array<double, 9>& m)
{
    const double e = std::exp((m[4] - x) / m[5]);
    const double top = m[2] + m[3] * x;
    const double q = 1 / (1 + e);
    const double slope = top * e * q * q;  // -∂/∂(exponent) of top·q
    return {m[1] + top * q, 1, q, x * q, -slope / m[5], slope * (m[4] - x) / (m[5] * m[5])};
}

// The inverse of a small symmetric positive definite matrix by Gauss-Jordan
// without pivoting (enough for a well-posed 5 x 5 JᵀJ).
std::vector<std::vector<double>> Inverse(std::vector<std::vector<double>> a)
{
    const std::size_t n = a.size();
    std::vector<std::vector<double>> inv(n, std::vector<double>(n, 0.0));
    for (std::size_t i = 0; i < n; ++i) inv[i][i] = 1;
    for (std::size_t k = 0; k < n; ++k) {
        const double pivot = a[k][k];
        for (std::size_t j = 0; j < n; ++j) a[k][j] /= pivot, inv[k][j] /= pivot;
        for (std::size_t i = 0; i < n; ++i) {
            if (i == k) continue;
            const double f = a[i][k];
            for (std::size_t j = 0; j < n; ++j) a[i][j] -= f * a[k][j], inv[i][j] -= f * inv[k][j];
        }
    }
    return inv;
}

TEST_F(DemoPlateFits, StandardDeviationsAreThoseOfTheAnalyticJacobian)
{
    // Columns 1 and 10: the earliest and the steepest rises.
    std::vector<BatchCurve> chosen;
    for (const BatchCurve& curve : curves)
        if (curve.Sample == 1 || curve.Sample == 10) chosen.push_back(curve);
    const auto outcomes = Fit(kEntry0, chosen);

    TParser parser1;
    ParserCombinedValues values(parser1, plate, "b-a", {});
    values.CompileCombination();
    const int reads = plate.TimePointCount;
    for (std::size_t c = 0; c < chosen.size(); ++c) {
        const CurveFitResult& result = outcomes[c].Result;
        ASSERT_EQ(result.Status, OptOk);
        std::array<double, 9> m{};
        for (std::size_t k = 1; k <= 5; ++k) m[k] = result.Row[k];
        const TVector y = CombinedCurve(values, chosen[c].Wells, reads);

        std::vector<std::vector<double>> jtj(5, std::vector<double>(5, 0.0));
        double chiSq = 0;
        for (int t = 1; t <= reads; ++t) {
            const auto f = Entry0WithGradient(plate.TimeVector[static_cast<std::size_t>(t)], m);
            chiSq += (y[static_cast<std::size_t>(t)] - f[0]) * (y[static_cast<std::size_t>(t)] - f[0]);
            for (std::size_t j = 0; j < 5; ++j)
                for (std::size_t k = 0; k < 5; ++k) jtj[j][k] += f[j + 1] * f[k + 1];
        }
        EXPECT_NEAR(result.Row[0], chiSq, 1e-12 * chiSq);
        const auto covariance = Inverse(jtj);
        for (std::size_t j = 0; j < 5; ++j) {
            const double expected = std::sqrt(covariance[j][j] * chiSq / (reads - 5));
            EXPECT_NEAR(result.Row[9 + j], expected, 1e-4 * expected)
                << "std(m" << j + 1 << ") of " << WellName(chosen[c].FiledWell(), 12);
        }
    }
}

} // namespace
} // namespace movra
