#pragma once
// "Fit shown": fits the formula of the formula box to every shown curve over
// the reads in view, one curve after the other, and files each well's
// parameters, standard deviations and residual sum of squares. The windows
// around a fit (progress window, disabled main window, status box) are
// reached through FitRunHost, so the run itself needs no user interface.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "fitting/curve_fitter.h"
#include "fitting/fit_results.h"
#include "plate/plate_measurements.h"
#include "reduction/shown_curves.h"

namespace movra {

// The user interface around each curve's fit: the progress window, the
// disabled main window and the status box.
class FitRunHost {
public:
    virtual ~FitRunHost() = default;
    // Before a curve: centre and caption the progress window ("Fitting data
    // from well " + well name), show it (which clears an earlier Cancel) with
    // its button captioned "Cancel", busy cursor, disable the main window,
    // process pending messages once.
    virtual void BeginCurveFit(const std::string& /*wellName*/) {}
    // Each iteration: the lines of FitProgressLines, then pending messages
    // once; false once Cancel was pressed.
    virtual bool Iteration(std::int32_t /*iteration*/, double /*objective*/, double /*lambda*/) { return true; }
    // After a curve: enable the main window, show the status name in
    // MarqStatus (unknown codes leave it), hide the progress window.
    virtual void EndCurveFit(std::int32_t /*status*/) {}
};

// The progress window's three lines for an iteration: "Iteration:" and the
// number, "        F:" and the objective, "   Lambda:" and the damping
// factor, the floats in the general number format.
std::array<std::string, 3> FitProgressLines(std::int32_t iteration, double objective, double lambda);

// Fits every shown curve (only curve 1, the mean, with averageData) with
// the fitter and files each result under its well.
void FitShownCurves(const PlateMeasurements& plate, const ShownCurves& curves, CurveFitter& fitter,
                    bool averageData, FitResults& results, FitRunHost& host);

// The status box's tooltip: one line per shown curve (only curve 1 with
// averageData) with its well, the status of the well's last fit and its
// flag words, such as "B1: OPT_NON_CONV (failed)" or "C1: not fitted".
std::vector<std::string> ShownWellsStatus(const PlateMeasurements& plate, const ShownCurves& curves,
                                          const FitResults& results, bool averageData);

} // namespace movra
