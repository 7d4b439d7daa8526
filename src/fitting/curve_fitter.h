#pragma once
// Fitting one combined curve over the reads in view, the one way every
// front end fits: the desktop's "Fit shown" and its average fit, and each
// worker of movra-batch. A CurveFitter binds the model (the compiled list
// entry or the fit parser) and a regression object to the settings; one
// object fits one curve at a time.

#include <array>
#include <cstdint>

#include "fitting/fit_model.h"
#include "fitting/fit_results.h"
#include "fitting/fit_settings.h"
#include "regression/fit_options.h"
#include "regression/regress.h"
#include "shared/matrices.h"

namespace movra {

// The points a fit takes from one combined curve (curve[t] = read t,
// 1-based, as a row of ReducedData): every read the graph shows,
// X[i] = timeVector[view.ViewFirstPoint + i - 1] and the same of the curve
// for i = 1..Count, Count = ViewLastPoint - ViewFirstPoint + 1 (clipped to
// the reads there are); index 0 holds a copy of point 1.
struct CurvePoints {
    TVector X;
    TVector Y;
    std::int32_t Count = 0;
};
CurvePoints CurvePointsInView(const TVector& timeVector, const TVector& curve, std::int32_t timePointCount,
                              ReadRange view);

class CurveFitter {
public:
    // parser2 holds the compiled formula of settings and slots are its
    // parameters m1..m8; all three must outlive the fitter (settings is kept
    // by reference, so a temporary is refused).
    CurveFitter(TParser& parser2, const std::array<double*, 9>& slots, const FitSettings& settings);
    CurveFitter(TParser&, const std::array<double*, 9>&, FitSettings&&) = delete;

    // Fits the curve's reads in view, from start values guessed from them
    // when the settings say so (fitting/start_values.h). A fault inside the engine, or a
    // tolerance that is no number, gives status OptBigLambda; on OptOk the
    // row holds the residual sum, the parameters and their standard
    // deviations with the residual variance RSS / (N - n), and the result
    // R² = 1 - RSS / TSS and the residuals of the fitted points. Fixed
    // parameters keep their start values, have standard deviation 0 and do
    // not count in n; with all fixed the start curve is the result.
    CurveFitResult Fit(const TVector& timeVector, const TVector& curve, std::int32_t timePointCount,
                       const IterationCallback& onIteration = {});

    const FitSettings& Settings() const noexcept { return settings_; }
    // The regression object of the last fit (its evaluation counts).
    const RegressionFit& Regression() const noexcept { return regression_; }

private:
    // Runs the engine over positions 1..free of b; a fault inside it is
    // OptBigLambda.
    std::int32_t Minimise(const CurvePoints& points, std::int32_t free, TVector& b, const TVector& bMin,
                          const TVector& bMax, TMatrix& v, const IterationCallback& onIteration);

    TParser& parser_;
    std::array<double*, 9> slots_;
    const FitSettings& settings_;
    std::vector<int> fitOrder_;  // the formula's parameters, free ones first
    std::int32_t freeCount_ = 0;
    FitModel model_;
    RegressionFit regression_;
};

} // namespace movra
