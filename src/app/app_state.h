#pragma once
// What the pages of the main window share, each part with its one owner in
// the core: the imported plate, the sample assignment, the curves on show,
// the graph's view state, the fit results, the track-bar factors, the review
// table of the last import, the plate layout (the store of the sample
// assignment), the report table and the two formula parsers. One instance,
// owned by the main window for the whole run and handed to the pages by
// reference.

#include <array>

#include "fitting/fit_results.h"
#include "parser/parser.h"
#include "plate/plate_layout.h"
#include "plate/plate_measurements.h"
#include "plate/review_table.h"
#include "plate/sample_assignment.h"
#include "plot/graph_view_state.h"
#include "reduction/shown_curves.h"
#include "reports/string_table.h"

namespace movra {

struct AppState {
    PlateMeasurements plate;
    SampleAssignment samples;
    ShownCurves curves;
    GraphViewState view;
    FitResults fits;
    double WaveFactorA = 1.0;  // track bar factors of the two chosen wavelengths
    double WaveFactorB = 1.0;
    ReviewTable review;  // texts of the last import; readings come from plate
    PlateLayout layout;
    StringTable report{5, 5};  // a string grid's default size
    TParser Parser1;           // the wavelength combination over A..D
    TParser Parser2;           // the fit model over X and m1..m8
    std::array<double*, kMaxParameters + 1> ParamVars{};  // Parser2's slots m1..m8

    // The reset of File > New (also run once at start-up): samples offered,
    // shown wells, curve colours, graph range, factors and fit results; the
    // plate counts as not loaded.
    void New()
    {
        samples.SampleCount = 1;
        plate.LastXValue = 0.0;
        view.Reset();
        curves.Reset();
        fits.Reset();
        WaveFactorA = 1.0;
        WaveFactorB = 1.0;
    }
};

} // namespace movra
