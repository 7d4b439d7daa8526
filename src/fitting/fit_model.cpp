#include "fitting/fit_model.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "fitting/fit_formulas.h"
#include "parser/fault_flags.h"
#include "parser/vector_math.h"
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

// The list entries with compiled code, written as their formula texts read,
// SafePower for "^", SafeCosh for cosh, and exp taken apart: ExpArguments
// gives the arguments of the entry's exponentials (none, one or two), and
// BuiltInFormula combines their values, so a whole curve can take its
// exponentials from the vector library at once. A point evaluated alone
// runs the same routine on one value and gets the same bits.
[[gnu::always_inline]] inline int ExpArguments(int index, double x, const std::array<double, 9>& m, double& a1,
                                               double& a2) noexcept
{
    switch (index) {
    case 0: a1 = (m[4] - x) / m[5]; return 1;
    case 1: a1 = (m[5] - x) / m[6]; return 1;
    case 2:
    case 3:
    case 4:
    case 5: a1 = -m[3] * x; return 1;
    case 6: a1 = -m[3] * x, a2 = -m[5] * x; return 2;
    case 7: a1 = -m[3] * (x - m[6]), a2 = -m[5] * (x - m[6]); return 2;
    case 9: a1 = -m[6] * (1 / x - 1 / m[5]); return 1;
    default: return 0;
    }
}

[[gnu::always_inline]] inline double BuiltInFormula(int index, double x, const std::array<double, 9>& m, double e1,
                                                    double e2) noexcept
{
    switch (index) {
    case 0: return m[1] + (m[2] + m[3] * x) / (1 + e1);
    case 1: return (m[1] + m[2] * x) + (m[3] + m[4] * x) / (1 + e1);
    case 2: return m[1] + m[5] * x + m[2] * SafePower(1 - e1, m[4]);
    case 3: return m[1] + m[5] * x + (m[2] + m[6] * x) * SafePower(1 - e1, m[4]);
    case 4: return m[1] - m[2] * e1;
    case 5: return m[1] - m[2] * e1 + m[4] * x;
    case 6:
    case 7: return m[1] - m[2] * e1 - m[4] * e2;
    case 8: return m[1] + m[2] * SafePower(x, m[3]) / (SafePower(m[4], m[3]) + SafePower(x, m[3]));
    case 9: return (m[1] + m[2] * x + (m[3] + m[4] * x) * e1) / (1 + e1);
    case 10: return m[1] * (SafeCosh(m[2] * x) - 1) + m[3];
    default: return kModelCeiling;
    }
}

// A whole curve of entry Index: the arguments, the exponentials at once,
// the formula. The loads and stores keep the arithmetic between the flag
// tests around the call.
template <int Index>
void BuiltInCurve(std::span<const double> xs, const std::array<double, 9>& m, double* e1, double* e2,
                  std::span<double> out) noexcept
{
    const std::size_t n = xs.size();
    int count = 0;
    for (std::size_t i = 0; i < n; ++i) count = ExpArguments(Index, xs[i], m, e1[i], e2[i]);
    if (count >= 1) vector_math::Exp(e1, e1, n);
    if (count >= 2) vector_math::Exp(e2, e2, n);
    for (std::size_t i = 0; i < n; ++i) out[i] = BuiltInFormula(Index, xs[i], m, e1[i], e2[i]);
}

using BuiltInCurveFunction = void (*)(std::span<const double>, const std::array<double, 9>&, double*, double*,
                                      std::span<double>) noexcept;
constexpr BuiltInCurveFunction kBuiltInCurves[] = {
    &BuiltInCurve<0>, &BuiltInCurve<1>, &BuiltInCurve<2>, &BuiltInCurve<3>, &BuiltInCurve<4>,  &BuiltInCurve<5>,
    &BuiltInCurve<6>, &BuiltInCurve<7>, &BuiltInCurve<8>, &BuiltInCurve<9>, &BuiltInCurve<10>,
};

double BuiltInFormula(int index, double x, const std::array<double, 9>& m) noexcept
{
    double a1 = 0.0, a2 = 0.0;
    const int exponentials = ExpArguments(index, x, m, a1, a2);
    const double e1 = exponentials >= 1 ? vector_math::Exp(a1) : 0.0;
    const double e2 = exponentials >= 2 ? vector_math::Exp(a2) : 0.0;
    return BuiltInFormula(index, x, m, e1, e2);
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
        // The whole curve with the flags tested once: the same arithmetic as
        // point by point, which runs again only where a flag was raised.
        const auto m = ParameterValues(b);
        const std::size_t n = xs.size();
        if (exponentials_.size() < 2 * n) exponentials_.resize(2 * n);
        parser_detail::EnsureFaultFlagsClear();
        At(kBuiltInCurves, builtIn_)(xs, m, exponentials_.data(), exponentials_.data() + n, out);
        if (parser_detail::RaisedFaultFlags(false) != 0) {
            parser_detail::ClearFaultFlags();
            for (std::size_t i = 0; i < xs.size(); ++i) out[i] = BuiltInValue(xs[i], m);
        } else {
            for (std::size_t i = 0; i < xs.size(); ++i) out[i] = ClampModelValue(out[i]);
        }
        return;
    }
    SetParserParameters(b);
    if (faults_.size() != xs.size()) faults_.resize(xs.size());
    parser_.EvaluateMany(&parser_.X(), xs, out, faults_);
    for (std::size_t i = 0; i < xs.size(); ++i)
        out[i] = faults_[i] == FaultKind::None ? ClampModelValue(out[i]) : kModelCeiling;
}

void FitModel::EvaluateCurveAndJacobian(std::span<const double> xs, const TVector& b, std::span<double> out,
                                        TMatrix& jacobian)
{
    TParser* program = &parser_;
    const std::array<double*, 9>* slots = &slots_;
    if (builtIn_ >= 0) {
        if (!derivativeParser_) {
            derivativeParser_ = std::make_unique<TParser>();
            derivativeSlots_ = DefineFitParameters(*derivativeParser_);
            derivativeParser_->setExpression(std::string(kFitFormulas[static_cast<std::size_t>(builtIn_)]));
        }
        program = derivativeParser_.get();
        slots = &derivativeSlots_;
    }
    const auto m = ParameterValues(b);
    for (std::size_t i = 1; i <= 8; ++i)
        if (At(*slots, i) != nullptr) *At(*slots, i) = At(m, i);

    // Rows past the jacobian's are parameters held fixed: no derivatives.
    const std::size_t n = std::min(names_.size(), jacobian.empty() ? 0 : jacobian.size() - 1);
    parameterSlots_.resize(n);
    derivativeRows_.resize(n);
    for (std::size_t k = 0; k < n; ++k) {
        parameterSlots_[k] = At(*slots, names_[k]);
        derivativeRows_[k] = jacobian[k + 1].data();
    }
    if (faults_.size() != xs.size()) faults_.resize(xs.size());
    if (builtIn_ >= 0) {
        derivativeValues_.resize(xs.size());
        program->EvaluateManyWithDerivatives(&program->X(), xs, parameterSlots_, derivativeValues_, faults_,
                                            derivativeRows_);
        EvaluateCurve(xs, b, out);
    } else {
        program->EvaluateManyWithDerivatives(&program->X(), xs, parameterSlots_, out, faults_, derivativeRows_);
        for (std::size_t i = 0; i < xs.size(); ++i)
            out[i] = faults_[i] == FaultKind::None ? ClampModelValue(out[i]) : kModelCeiling;
    }
    // Where the model is a fault or a clamp it is flat.
    for (std::size_t i = 0; i < xs.size(); ++i)
        if (!(std::fabs(out[i]) < kModelCeiling))
            for (std::size_t k = 0; k < n; ++k) derivativeRows_[k][i] = 0.0;
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
