#pragma once
// The model a fit and the graph evaluate: the formula of the formula box with
// parameters m1..m8 and abscissa x. The list entries with compiled code run
// as C++ when the box shows exactly that entry (their exp is the vector
// library's, as the parser's EXP is); anything else runs through the fit
// parser. Every evaluation fault becomes 1E20 and results are clamped to
// -1E20..1E20, so a model never fails the minimiser.

#include <array>
#include <memory>
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
    // The same values and their exact derivatives: jacobian[k][i] is
    // ∂out[i]/∂b[k] for the positions k = 1..n that jacobian has rows for
    // (the ones after them are held fixed), from the compiled program of
    // the formula's text (a list entry with compiled code gets its values
    // from that code and its derivatives from the program of its text). A
    // point whose value is a fault or clamped gets derivative 0.
    void EvaluateCurveAndJacobian(std::span<const double> xs, const TVector& b, std::span<double> out,
                                  TMatrix& jacobian);

    int BuiltInIndex() const noexcept { return builtIn_; }
    int ParameterCount() const noexcept { return static_cast<int>(names_.size()); }
    const std::vector<int>& Names() const noexcept { return names_; }

private:
    void SetParserParameters(const TVector& b);
    double BuiltInValue(double x, const std::array<double, 9>& m) const noexcept;
    std::array<double, 9> ParameterValues(const TVector& b) const noexcept;

    TParser& parser_;
    std::array<double*, 9> slots_;
    // The program that gives the derivatives: parser_ for a typed formula, a
    // parser of its own for a list entry with compiled code.
    std::unique_ptr<TParser> derivativeParser_;
    std::array<double*, 9> derivativeSlots_{};
    std::vector<double> derivativeValues_;   // scratch of Jacobian runs
    std::vector<double*> parameterSlots_;   // of the derivative program, fit order
    std::vector<double*> derivativeRows_;
    std::string formulaText_;
    int builtIn_;
    std::vector<int> names_;
    std::vector<FaultKind> faults_;  // scratch of curve evaluations
    std::vector<double> exponentials_;  // scratch: the exponentials of a curve
};

// The graph's model value at x: the fit parser with whatever m1..m8 hold,
// 1E20 on any fault, clamped.
double PlotModelFunc(TParser& parser2, double x);

// Creates the fit parameters m1..m8 in the fit parser (start value 1E-30)
// and returns their slots at 1..8.
std::array<double*, 9> DefineFitParameters(TParser& parser2);

} // namespace movra
