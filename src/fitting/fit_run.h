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

#include "fitting/fit_model.h"
#include "parser/parser.h"
#include "plate/plate_state.h"
#include "regression/fit_options.h"
#include "regression/regress.h"
#include "shared/matrices.h"

namespace movra {

// The texts and choices of the fitting controls at the moment of the run.
struct FitRunControls {
    std::string FitFormulaText;
    int FitFormulaIndex = -1;              // the box's item index, -1 when typed
    std::array<std::string, 9> StartTexts; // Fit_m1 .. Fit_m8 at 1..8
    std::string ToleranceText;             // LE_Tol
    std::string MaxIterationsText;         // leMAX_IT
    std::string CombinationText;           // WaveLengthCombination
    bool AverageData = false;              // CheckBox4
};

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

// Start value of a fit from a typed text: the cell-value rule ("#Sat",
// "#Low", "Error", comma or point), with 0 replaced by 0.0001.
double ParseStartValue(const std::string& text);

// One curve's fit: points 1..n of x and y, the formula's parameters in fit
// order with their start values, bounds over the parameter numbers 1..8.
struct CurveFitRequest {
    const TVector* X = nullptr;   // abscissae at 1..PointCount
    const TVector* Y = nullptr;   // observations at 1..PointCount
    std::int32_t PointCount = 0;
    std::vector<double> StartValues;  // one per parameter of the model, fit order
    std::int32_t MaxIterations = 500;
    std::string ToleranceText = "0.000001";
    const TVector* LimitMin = nullptr;  // by parameter number 1..8
    const TVector* LimitMax = nullptr;
};

// The row a fit files for its well: ChiSq (-1 unless the status is 0), then
// m1..m8 and std(m1)..std(m8) by parameter number (unused ones 0).
struct CurveFitResult {
    std::int32_t Status = OptNonConv;
    std::array<double, kFitResultColumns> Row{};
};

// The points a fit takes from one combined curve (curve[t] = read t,
// 1-based, as a row of ReducedData): every read the graph shows,
// X[i] = timeVector[viewFirstPoint + i - 1] and Y[i] = curve[viewFirstPoint + i - 1]
// for i = 1..Count with Count = viewLastPoint - viewFirstPoint + 1 (clipped to
// the reads there are); index 0 holds a copy of point 1.
struct CurvePoints {
    TVector X;
    TVector Y;
    std::int32_t Count = 0;
};
CurvePoints CurvePointsInView(const TVector& timeVector, const TVector& curve, std::int32_t timePointCount,
                              std::int32_t viewFirstPoint, std::int32_t viewLastPoint);

// Runs the fit of one curve (any fault inside the engine, or a tolerance
// text that is not a number, gives status -2) and, on status 0, its
// residual sum and standard deviations with the residual variance RSS/(N - n).
CurveFitResult FitCurve(FitModel& model, RegressionFit& regression, const CurveFitRequest& request,
                        const IterationCallback& onIteration = {});

// The whole run over the shown curves. A formula the parser rejects, a start
// value or iteration cap that is not a number end the run before any fit,
// with the parser's or the conversion error.
void Button1Click(PlateState& state, TParser& parser2, const TVector& limitMin, const TVector& limitMax,
                  const FitRunControls& controls, FitRunHost& host);

} // namespace movra
