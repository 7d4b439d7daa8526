#include "fitting/fit_model.h"

#include <cmath>
#include <utility>

#include "fitting/fit_formulas.h"
#include "parser/fault_flags.h"
#include "regression/fmath.h"
#include "shared/one_based.h"

namespace movra {
namespace {

// Keeps the compiler from moving the formula's arithmetic across the reads
// of the floating-point flags around it.
inline void OrderAfterFlags(double& value) noexcept
{
#if defined(__GNUC__) || defined(__clang__)
    __asm__ __volatile__("" : "+x"(value));
#else
    static_cast<void>(value);
#endif
}

// The list entries with compiled code, written as their formula texts read:
// exp of the run time, SafePower for "^", SafeCosh for cosh.
double BuiltInFormula(int index, double x, const std::array<double, 9>& m) noexcept
{
    switch (index) {
    case 0: return m[1] + (m[2] + m[3] * x) / (1 + std::exp((m[4] - x) / m[5]));
    case 1: return (m[1] + m[2] * x) + (m[3] + m[4] * x) / (1 + std::exp((m[5] - x) / m[6]));
    case 2: return m[1] + m[5] * x + m[2] * SafePower(1 - std::exp(-m[3] * x), m[4]);
    case 3: return m[1] + m[5] * x + (m[2] + m[6] * x) * SafePower(1 - std::exp(-m[3] * x), m[4]);
    case 4: return m[1] - m[2] * std::exp(-m[3] * x);
    case 5: return m[1] - m[2] * std::exp(-m[3] * x) + m[4] * x;
    case 6: return m[1] - m[2] * std::exp(-m[3] * x) - m[4] * std::exp(-m[5] * x);
    case 7: return m[1] - m[2] * std::exp(-m[3] * (x - m[6])) - m[4] * std::exp(-m[5] * (x - m[6]));
    case 8: return m[1] + m[2] * SafePower(x, m[3]) / (SafePower(m[4], m[3]) + SafePower(x, m[3]));
    case 9:
        return (m[1] + m[2] * x + (m[3] + m[4] * x) * std::exp(-m[6] * (1 / x - 1 / m[5]))) /
               (1 + std::exp(-m[6] * (1 / x - 1 / m[5])));
    case 10: return m[1] * (SafeCosh(m[2] * x) - 1) + m[3];
    default: return kModelCeiling;
    }
}

} // namespace

double ClampModelValue(double value) noexcept
{
    if (std::isnan(value) || value > kModelCeiling) return kModelCeiling;
    if (value < -kModelCeiling) return -kModelCeiling;
    return value;
}

FitModel::FitModel(TParser& parser2, const std::array<double*, 9>& parameterSlots, std::string formulaText,
                   int formulaIndex, std::vector<int> names)
    : parser_(parser2),
      slots_(parameterSlots),
      formulaText_(std::move(formulaText)),
      builtIn_(BuiltInFormulaIndex(formulaIndex, formulaText_)),
      names_(std::move(names))
{
}

std::array<double, 9> FitModel::ParameterValues(const TVector& b) const noexcept
{
    std::array<double, 9> m{};
    for (std::size_t k = 0; k < names_.size(); ++k)
        At(m, names_[k]) = b[k + 1];
    return m;
}

void FitModel::SetParserParameters(const TVector& b)
{
    const auto m = ParameterValues(b);
    for (std::size_t i = 1; i <= 8; ++i)
        if (slots_[i] != nullptr) *slots_[i] = m[i];
}

double FitModel::BuiltInValue(double x, const std::array<double, 9>& m) const noexcept
{
    // The compiled code does not trap, so a fault is read off the flags: any
    // division by zero, invalid operation or overflow on the way means 1E20,
    // as it does for the parser.
    parser_detail::EnsureFaultFlagsClear();
    OrderAfterFlags(x);
    double value = BuiltInFormula(builtIn_, x, m);
    OrderAfterFlags(value);
    if (parser_detail::RaisedFaultFlags(false) != 0) {
        parser_detail::ClearFaultFlags();
        return kModelCeiling;
    }
    return ClampModelValue(value);
}

double FitModel::FitModelFunc(double x, const TVector& b)
{
    if (builtIn_ >= 0) return BuiltInValue(x, ParameterValues(b));
    SetParserParameters(b);
    parser_.X() = x;
    FaultKind fault = FaultKind::None;
    const double value = parser_.Evaluate(fault);
    return fault == FaultKind::None ? ClampModelValue(value) : kModelCeiling;
}

void FitModel::EvaluateCurve(std::span<const double> xs, const TVector& b, std::span<double> out)
{
    if (builtIn_ >= 0) {
        const auto m = ParameterValues(b);
        for (std::size_t i = 0; i < xs.size(); ++i) out[i] = BuiltInValue(xs[i], m);
        return;
    }
    SetParserParameters(b);
    if (faults_.size() != xs.size()) faults_.resize(xs.size());
    parser_.EvaluateMany(&parser_.X(), xs, out, faults_);
    for (std::size_t i = 0; i < xs.size(); ++i)
        out[i] = faults_[i] == FaultKind::None ? ClampModelValue(out[i]) : kModelCeiling;
}

double PlotModelFunc(TParser& parser2, double x)
{
    parser2.X() = x;
    FaultKind fault = FaultKind::None;
    const double value = parser2.Evaluate(fault);
    return fault == FaultKind::None ? ClampModelValue(value) : kModelCeiling;
}

std::array<double*, 9> DefineFitParameters(TParser& parser2)
{
    std::array<double*, 9> slots{};
    for (int k = 1; k <= 8; ++k) At(slots, k) = parser2.SetVariable("m" + std::to_string(k), 1e-30);
    return slots;
}

} // namespace movra
