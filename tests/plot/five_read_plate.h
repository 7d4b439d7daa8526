#pragma once
// What the graph draws from, small enough to work by hand: a kinetic plate
// of five reads at 0..4 h with data 1, 2.2, 2.9, 4.1, 5 in curve 1 (and one
// more in curve 2's row), well A1 shown, the model m1 * x + m2.

#include "plot/graph_view.h"

namespace movra::test {

struct FiveReadPlate {
    FiveReadPlate()
    {
        curves.Reset();
        fits.Reset();
        plate.PlateData.assign(3, TVector(5, 0.0));
        plate.TimePointCount = 5;
        plate.ReadMode = "Kinetic";
        plate.PlateColumns = 12;
        plate.LastXValue = 4;
        AllocVector(plate.TimeVector, 5);
        AllocMatrix(curves.ReducedData, 8, 5);
        const double data[] = {1.0, 2.2, 2.9, 4.1, 5.0};
        for (int t = 1; t <= 5; ++t) {
            plate.TimeVector[t] = t - 1;
            curves.ReducedData[1][t] = data[t - 1];
            curves.ReducedData[2][t] = data[t - 1] + 1;
        }
        curves.ShownWells[1] = 0;
        model.SetParameters = [this](const ModelParameters& m) { parameters = m; };
        model.Evaluate = [this](double x) { return parameters[1] * x + parameters[2]; };
    }
    FiveReadPlate(const FiveReadPlate&) = delete;  // the model points into this one
    void Fit(int well)  // fitted to x + 1
    {
        fits.WellFitResults[well][0] = 0.1;
        fits.WellFitResults[well][1] = fits.WellFitResults[well][2] = 1.0;
    }
    GraphData Data() const { return {plate, curves, fits}; }

    PlateMeasurements plate;
    ShownCurves curves;
    FitResults fits;
    GraphViewState view;
    GraphViewOptions options;
    GraphModel model;
    ModelParameters parameters{};
    PlotEngine engine;
};

} // namespace movra::test
