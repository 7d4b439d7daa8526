// Start values from the data: every list entry's rule lands in the basin of
// the parameters a curve was made from (the fit from the guess reaches the
// fit from the truth), noise-free and noisy; the search for a typed formula
// finds the minimum of a two-exponential decay from the data's scales alone.

#include "fitting/start_values.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "fitting/curve_fitter.h"
#include "fitting/fit_formulas.h"
#include "fitting/fit_model.h"

namespace movra {
namespace {

struct Shape {
    int Entry;
    std::array<double, 9> Truth;
    double FirstX, LastX;
};

class StartValues : public ::testing::Test {
protected:
    StartValues() : slots(DefineFitParameters(parser2)) {}

    FitSettings SettingsFor(const std::string& text, int index, const std::array<double, 9>& start, int n)
    {
        parser2.setExpression(text);
        FitSettings s;
        s.FitFormulaText = text;
        s.FitFormulaIndex = index;
        s.Names = FitParameterNames(text);
        for (int name : s.Names) s.StartValues.push_back(start[static_cast<std::size_t>(name)]);
        s.LimitMin = TVector(9, -1e20);
        s.LimitMax = TVector(9, 1e20);
        s.MaxIterations = 500;
        s.Tolerance = 1e-9;
        s.View = {1, n};
        return s;
    }
    // The curve of the formula with the truth at n points, plus noise.
    void MakeCurve(const std::string& text, int index, const Shape& shape, double noise, int n = 61)
    {
        x = TVector(n + 1, 0.0), y = TVector(n + 1, 0.0);
        const FitSettings s = SettingsFor(text, index, shape.Truth, n);
        FitModel model(parser2, slots, text, index, s.Names);
        TVector b(9, 0.0);
        for (std::size_t k = 0; k < s.Names.size(); ++k) b[k + 1] = shape.Truth[static_cast<std::size_t>(s.Names[k])];
        std::mt19937 random(7);
        std::normal_distribution<double> error(0.0, noise);
        for (int i = 1; i <= n; ++i) {
            x[i] = shape.FirstX + (shape.LastX - shape.FirstX) * (i - 1) / (n - 1);
            y[i] = model.FitModelFunc(x[i], b) + (noise > 0 ? error(random) : 0.0);
        }
    }
    CurveFitResult FitFrom(const std::string& text, int index, const std::array<double, 9>& start)
    {
        const int n = static_cast<int>(x.size()) - 1;
        const FitSettings s = SettingsFor(text, index, start, n);
        CurveFitter fitter(parser2, slots, s);
        return fitter.Fit(x, y, n);
    }

    TParser parser2;
    std::array<double*, 9> slots;
    TVector x, y;
};

TEST_F(StartValues, EveryListEntrysRuleLandsInTheBasinOfTheTruth)
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
    };
    for (const Shape& shape : shapes)
        for (double noise : {1e-6, 0.003}) {  // nearly exact (an exact fit never converges) and noisy
            const std::string text(kFitFormulas[static_cast<std::size_t>(shape.Entry)]);
            const int index = shape.Entry < kBuiltInFitFormulas ? shape.Entry : -1;
            MakeCurve(text, index, shape, noise);
            const FitSettings settings = SettingsFor(text, index, {}, 61);
            const StartValueSet guess = GuessStartValues(parser2, slots, settings, x, y, 61);
            const CurveFitResult fromGuess = FitFrom(text, index, guess);
            const CurveFitResult fromTruth = FitFrom(text, index, shape.Truth);
            ASSERT_EQ(fromTruth.Status, OptOk) << "entry " << shape.Entry;
            EXPECT_EQ(fromGuess.Status, OptOk) << "entry " << shape.Entry << " noise " << noise;
            EXPECT_LE(fromGuess.Row[0], fromTruth.Row[0] * (1 + 1e-3) + 1e-20)
                << "entry " << shape.Entry << " noise " << noise;
        }
}

TEST_F(StartValues, TypedFormulaSearchFindsATwoExponentialDecayFromScalesAlone)
{
    const std::string text = "m1*exp(-m2*x)+m3*exp(-m4*x)";
    const Shape decay{-1, {0, 2.0, 0.8, 0.5, 6.0}, 0, 3};
    MakeCurve(text, -1, decay, 0.002);
    const FitSettings settings = SettingsFor(text, -1, {}, 61);
    const StartValueSet guess = GuessStartValues(parser2, slots, settings, x, y, 61);
    const CurveFitResult fromGuess = FitFrom(text, -1, guess);
    const CurveFitResult fromTruth = FitFrom(text, -1, decay.Truth);
    ASSERT_EQ(fromTruth.Status, OptOk);
    EXPECT_EQ(fromGuess.Status, OptOk);
    EXPECT_LE(fromGuess.Row[0], fromTruth.Row[0] * (1 + 1e-3));
}

TEST_F(StartValues, GuessesStayInsideTheLimits)
{
    MakeCurve(std::string(kFitFormulas[0]), 0, {0, {0, 0.1, 0.8, 0.05, 0.8, 0.12}, 0, 2}, 0.0);
    TVector low(9, -1e20), high(9, 1e20);
    low[4] = 1.5;   // the half rise lies at 0.8
    high[2] = 0.5;  // the amplitude is 0.8
    const StartValueSet guess = GuessListEntry(0, MeasureCurve(x, y, 61), low, high);
    EXPECT_EQ(guess[4], 1.5);
    EXPECT_EQ(guess[2], 0.5);
}

} // namespace
} // namespace movra
