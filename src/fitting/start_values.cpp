#include "fitting/start_values.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <numbers>
#include <span>
#include <vector>

#include "fitting/curve_fitter.h"
#include "fitting/fit_formulas.h"
#include "fitting/fit_model.h"
#include "shared/one_based.h"

namespace movra {
namespace {

// Least-squares slope of the points first..last (1-based, inclusive).
double Slope(const TVector& x, const TVector& y, int first, int last)
{
    const int count = last - first + 1;
    if (count < 2) return 0.0;
    double mx = 0, my = 0;
    for (int i = first; i <= last; ++i) mx += At(x, i), my += At(y, i);
    mx /= count, my /= count;
    double sxy = 0, sxx = 0;
    for (int i = first; i <= last; ++i) {
        sxy += (At(x, i) - mx) * (At(y, i) - my);
        sxx += (At(x, i) - mx) * (At(x, i) - mx);
    }
    return sxx > 0 ? sxy / sxx : 0.0;
}

double Mean(const TVector& y, int first, int last)
{
    double sum = 0;
    for (int i = first; i <= last; ++i) sum += At(y, i);
    return last >= first ? sum / (last - first + 1) : 0.0;
}

// A value that must not be zero (a width, a rate): a tenth of the scale
// given when it is zero or no number.
double NonZero(double value, double fallback)
{
    return std::isfinite(value) && value != 0.0 ? value : fallback;
}

} // namespace

CurveFeatures MeasureCurve(const TVector& x, const TVector& y, int n)
{
    CurveFeatures f;
    if (n < 1) return f;
    const int tenth = std::max(1, n / 10);
    f.FirstX = At(x, 1), f.LastX = At(x, n), f.FirstY = At(y, 1), f.LastY = At(y, n);
    f.Baseline = Mean(y, 1, tenth);
    f.Plateau = Mean(y, n - tenth + 1, n);
    f.Amplitude = f.Plateau - f.Baseline;
    f.InitialSlope = Slope(x, y, 1, std::max(tenth, 2));
    f.FinalSlope = Slope(x, y, std::min(n - tenth + 1, n - 1), n);
    // The first crossing of half the rise (or fall), then the slope of a
    // window of a tenth of the points around it.
    const double half = f.Baseline + f.Amplitude / 2;
    int cross = n;
    for (int i = 1; i <= n; ++i)
        if ((f.Amplitude >= 0) == (At(y, i) >= half)) {
            cross = i;
            break;
        }
    if (cross > 1) {
        const double y0 = At(y, cross - 1), y1 = At(y, cross);
        const double share = y1 != y0 ? (half - y0) / (y1 - y0) : 0.5;
        f.HalfRiseX = At(x, cross - 1) + std::clamp(share, 0.0, 1.0) * (At(x, cross) - At(x, cross - 1));
    } else {
        f.HalfRiseX = At(x, 1);
    }
    const int window = std::max(2, tenth / 2 + 1);
    f.HalfRiseSlope = Slope(x, y, std::max(1, cross - window), std::min(n, cross + window));
    return f;
}

StartValueSet GuessListEntry(int index, const CurveFeatures& f, const TVector& limitMin, const TVector& limitMax)
{
    const double range = f.LastX - f.FirstX;
    const double tenthRange = NonZero(range / 10, 1.0);
    const double a = NonZero(f.Amplitude, NonZero(f.LastY - f.FirstY, 1.0));
    const double width = NonZero(a / (4 * f.HalfRiseSlope), tenthRange);
    const double sinceStart = NonZero(f.HalfRiseX - f.FirstX, tenthRange);
    const double rate = std::numbers::ln2 / std::fabs(sinceStart);
    StartValueSet m{};
    switch (index) {
    case 0: m = {0, f.Baseline, a, 0, f.HalfRiseX, width}; break;
    case 1:
        m = {0, f.Baseline - f.InitialSlope * f.FirstX, f.InitialSlope, a, f.FinalSlope - f.InitialSlope,
             f.HalfRiseX, width};
        break;
    case 2:
    case 3: m = {0, f.Baseline, a, rate, 1, 0, 0}; break;
    case 4: m = {0, f.Plateau, (f.Plateau - f.Baseline) * std::exp(rate * f.FirstX), rate}; break;
    case 5: {
        const double plateau = f.Plateau - f.FinalSlope * f.LastX;
        m = {0, plateau, (plateau + f.FinalSlope * f.FirstX - f.Baseline) * std::exp(rate * f.FirstX), rate,
             f.FinalSlope};
        break;
    }
    case 6:
    case 7: {
        const double shift = index == 7 ? f.FirstX : 0.0;
        const double fast = 2 * rate, slow = rate / 2, share = (f.Plateau - f.Baseline) / 2;
        m = {0, f.Plateau, share * std::exp(fast * (f.FirstX - shift)), fast, share * std::exp(slow * (f.FirstX - shift)),
             slow, shift};
        break;
    }
    case 8: m = {0, f.Baseline, a, 1, NonZero(f.HalfRiseX, tenthRange)}; break;
    case 9: {
        const double middle = NonZero(f.HalfRiseX, tenthRange);
        m = {0, f.Baseline, 0, f.Plateau, 0, middle, NonZero(4 * f.HalfRiseSlope * middle * middle / a, 1.0)};
        break;
    }
    case 10: {
        const double scale = 1 / NonZero(range, 1.0);
        m = {0, (f.LastY - f.FirstY) / NonZero(std::cosh(scale * f.LastX) - 1, 1.0), scale, f.FirstY};
        break;
    }
    case 11: m = {0, f.Baseline, a, NonZero(4 * f.HalfRiseSlope / a, 1 / tenthRange), f.HalfRiseX, 1, 0, 0}; break;
    default: break;
    }
    for (std::size_t k = 1; k <= 8; ++k) {
        if (!std::isfinite(m[k])) m[k] = 0.0;
        m[k] = std::clamp(m[k], At(limitMin, k), std::max(At(limitMin, k), At(limitMax, k)));
    }
    return m;
}

StartValueSet GuessStartValues(TParser& parser2, const std::array<double*, 9>& slots, const FitSettings& settings,
                               const TVector& x, const TVector& y, int n)
{
    const CurveFeatures features = MeasureCurve(x, y, n);
    // Fixed parameters keep the values they are held at.
    const auto keepFixed = [&settings](StartValueSet m) {
        for (std::size_t k = 0; k < settings.Names.size(); ++k)
            if (At(settings.Fixed, settings.Names[k])) m[static_cast<std::size_t>(settings.Names[k])] = settings.StartValues[k];
        return m;
    };
    for (int index = 0; index < static_cast<int>(kFitFormulas.size()); ++index)
        if (settings.FitFormulaText == At(kFitFormulas, index))
            return keepFixed(GuessListEntry(index, features, settings.LimitMin, settings.LimitMax));

    // A typed formula: candidate starts from the scales of the data, ranked
    // by their residual sum; short fits from the best few; the best fit wins.
    const std::vector<int>& names = settings.Names;
    const double range = NonZero(features.LastX - features.FirstX, 1.0);
    double yScale = 0;
    for (int i = 1; i <= n; ++i) yScale = std::max(yScale, std::fabs(At(y, i)));
    const double scales[] = {NonZero(yScale, 1.0), range, 1 / range, 1.0};
    const double magnitudes[] = {1, 0.3, 3, 0.1, 10};
    constexpr int kCandidates = 60;
    constexpr std::size_t kFits = 6;

    FitModel model(parser2, slots, settings.FitFormulaText, -1, names);
    const std::span<const double> xs(x.data() + 1, static_cast<std::size_t>(n));
    std::vector<double> values(static_cast<std::size_t>(n));
    std::vector<std::pair<double, StartValueSet>> ranked;
    std::uint32_t state = 20261206u;  // a fixed sequence: the same data give the same start
    const auto next = [&state] {
        state = state * 1664525u + 1013904223u;
        return state >> 8;
    };
    TVector b(9, 0.0);
    for (int candidate = 0; candidate < kCandidates; ++candidate) {
        StartValueSet m{};
        for (std::size_t k = 0; k < names.size(); ++k) {
            if (At(settings.Fixed, names[k])) {
                m[static_cast<std::size_t>(names[k])] = b[k + 1] = settings.StartValues[k];
                continue;
            }
            const std::size_t name = static_cast<std::size_t>(names[k]);
            double value = scales[next() % 4] * magnitudes[next() % 5] * ((next() & 1u) != 0 ? -1.0 : 1.0);
            value = std::clamp(value, At(settings.LimitMin, name),
                               std::max(At(settings.LimitMin, name), At(settings.LimitMax, name)));
            m[name] = value;
            b[k + 1] = value;
        }
        model.EvaluateCurve(xs, b, values);
        double sum = 0;
        for (int i = 1; i <= n; ++i) sum += (At(y, i) - values[static_cast<std::size_t>(i - 1)]) *
                                            (At(y, i) - values[static_cast<std::size_t>(i - 1)]);
        if (std::isfinite(sum)) ranked.emplace_back(sum, m);
    }
    std::stable_sort(ranked.begin(), ranked.end(),
                     [](const auto& left, const auto& right) { return left.first < right.first; });
    StartValueSet best = ranked.empty() ? keepFixed(StartValueSet{}) : ranked.front().second;
    double bestSum = std::numeric_limits<double>::infinity();
    for (std::size_t i = 0; i < std::min(kFits, ranked.size()); ++i) {
        FitSettings trial = settings;
        trial.StartValues.clear();
        for (int name : names) trial.StartValues.push_back(ranked[i].second[static_cast<std::size_t>(name)]);
        trial.MaxIterations = 200;
        trial.GuessStarts = false;
        trial.Tolerance = 1e-6;
        trial.View = {1, n};
        CurveFitter fitter(parser2, slots, trial);
        const CurveFitResult result = fitter.Fit(x, y, n);
        if (result.Status != OptOk || !(result.Row[0] < bestSum)) continue;
        bestSum = result.Row[0];
        for (int name : names) best[static_cast<std::size_t>(name)] = At(result.Row, name);
    }
    return best;
}

StartValueSet GuessForShownCurves(const PlateMeasurements& plate, const ShownCurves& curves, TParser& parser2,
                                  const std::array<double*, 9>& slots, const FitSettings& settings)
{
    const int shown = std::min<int>(curves.Count(), static_cast<int>(curves.ReducedData.size()) - 1);
    TVector mean;
    AllocVector(mean, plate.TimePointCount);
    for (int curve = 1; curve <= shown; ++curve) {
        const TVector& row = At(curves.ReducedData, curve);
        for (int t = 1; t <= plate.TimePointCount && t < static_cast<int>(row.size()); ++t)
            At(mean, t) += At(row, t) / shown;
    }
    const CurvePoints points = CurvePointsInView(plate.TimeVector, mean, plate.TimePointCount, settings.View);
    return GuessStartValues(parser2, slots, settings, points.X, points.Y, points.Count);
}

} // namespace movra
