#pragma once
// The redraw the graph benchmarks time: eight shown curves of 1,000 reads,
// each fitted by the model 100·c·(1 - exp(-0.5·x)) the benchmarks evaluate,
// with a small wobble so that the residuals are not zero.

#include <cmath>

#include "plot/graph_view.h"

namespace movra::bench {

inline constexpr int kReads = 1000;
inline constexpr int kCurves = 8;

// Curve c at read t (x its time).
inline double Reading(int curve, int t, double x)
{
    return 100.0 * curve * (1 - std::exp(-0.5 * x)) + 0.3 * std::sin(7.0 * t);
}

// What a redraw reads and the view state it writes.
struct GraphFixture {
    PlateMeasurements plate;
    ShownCurves curves;
    FitResults fits;
    GraphViewState view;
};

inline GraphFixture EightFittedCurves()
{
    GraphFixture state;
    state.curves.Reset();
    state.fits.Reset();
    PlateMeasurements& plate = state.plate;
    plate.PlateData.assign(3, TVector(kReads, 0.0));
    plate.TimePointCount = kReads;
    plate.ReadMode = "Kinetic";
    plate.PlateColumns = 12;
    plate.LastXValue = 10;
    AllocVector(plate.TimeVector, kReads);
    AllocMatrix(state.curves.ReducedData, kMaxShownCurves, kReads);
    for (int t = 1; t <= kReads; ++t) {
        const double x = 10.0 * (t - 1) / (kReads - 1);
        plate.TimeVector[t] = x;
        for (int c = 1; c <= kCurves; ++c) state.curves.ReducedData[c][t] = Reading(c, t, x);
    }
    for (int c = 1; c <= kCurves; ++c) {
        const int well = c - 1;
        state.curves.ShownWells[c] = well;
        state.curves.CurveColors[c] = CurvePalette[static_cast<std::size_t>(c - 1)];
        state.fits.WellFitResults[well][0] = 1.0;
        state.fits.WellFitResults[well][1] = 100.0 * c;
        state.fits.WellFitResults[well][2] = 0.5;
    }
    return state;
}

} // namespace movra::bench
