#pragma once
// The model a fit and the graph evaluate: the formula of the formula box with
// parameters m1..m8 and abscissa x. The list entries with compiled code run
// as C++ when the box shows exactly that entry; anything else runs through the
// fit parser. Every evaluation fault becomes 1E20 and results are clamped to
// -1E20..1E20, so a model never fails the minimiser.

#include <array>
#include <span>
#include <string>
#include <vector>

#include "parser/parser.h"
#include "shared/matrices.h"

namespace movra {

inline constexpr double kModelCeiling = 1e20;

// 1E20 for a value above 1E20 or not a number, -1E20 below -1E20.
double ClampModelValue(double value) noexcept;

class FitModel {
public:
    // parameterSlots[m] is the parser slot of parameter m (1..8). names lists
    // the parameter numbers the formula uses, in fit order: position k of a
    // parameter vector holds parameter names[k - 1].
    FitModel(TParser& parser2, const std::array<double*, 9>& parameterSlots, std::string formulaText,
             int formulaIndex, std::vector<int> names);

    // Value at x for the parameter vector b (positions 1..n).
    double FitModelFunc(double x, const TVector& b);
    // Values at every x of xs, identical to FitModelFunc point by point.
    void EvaluateCurve(std::span<const double> xs, const TVector& b, std::span<double> out);

    int BuiltInIndex() const noexcept { return builtIn_; }
    int ParameterCount() const noexcept { return static_cast<int>(names_.size()); }
    const std::vector<int>& Names() const noexcept { return names_; }

private:
    void SetParserParameters(const TVector& b);
    double BuiltInValue(double x, const std::array<double, 9>& m) const noexcept;
    std::array<double, 9> ParameterValues(const TVector& b) const noexcept;

    TParser& parser_;
    std::array<double*, 9> slots_;
    std::string formulaText_;
    int builtIn_;
    std::vector<int> names_;
    std::vector<FaultKind> faults_;  // scratch of curve evaluations
};

// The graph's model value at x: the fit parser with whatever m1..m8 hold,
// 1E20 on any fault, clamped.
double PlotModelFunc(TParser& parser2, double x);

// Creates the fit parameters m1..m8 in the fit parser (start value 1E-30)
// and returns their slots at 1..8.
std::array<double*, 9> DefineFitParameters(TParser& parser2);

} // namespace movra
