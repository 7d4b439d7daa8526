#include "parser/derivative_evaluator.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <utility>

#include "parser/fault_flags.h"
#include "parser/vector_math.h"

namespace movra {
namespace {

using namespace parser_detail;
using Step = BatchEvaluator::Step;

constexpr std::size_t kBlock = DerivativeEvaluator::kBlockSize;
// d/dx of PH(x) = (x / 0.6366197723675814 - round(...)) * 2 pi between its jumps.
constexpr double kPhaseSlope = 2 * 3.141592653589793 / 0.6366197723675814;

// Functions whose derivative is zero wherever it exists.
bool IsStepFunction(const Step& step)
{
    if (step.opCode == OpCode::Modulo || step.opCode == OpCode::IntDivide) return true;
    if (step.opCode != OpCode::Function1) return false;
    return step.unary == &FnHeav || step.unary == &FnSign || step.unary == &FnZero || step.unary == &FnRnd;
}

bool IsKnownUnary(UnaryFunction f)
{
    return f == &FnExp || f == &FnLn || f == &FnSqrt || f == &FnAbs || f == &FnSin || f == &FnCos || f == &FnTan ||
           f == &FnSinh || f == &FnCosh || f == &FnArcTan || f == &FnPh || f == &FnHeav || f == &FnSign ||
           f == &FnZero || f == &FnRnd;
}

// The values of an operand as an array: the block itself, or the one value
// spread over the scratch block.
const double* AsArray(const double* operand, bool isArray, double* scratch, std::size_t count)
{
    if (isArray) return operand;
    std::fill(scratch, scratch + count, *operand);
    return scratch;
}

} // namespace

DerivativeEvaluator::DerivativeEvaluator(const CompiledProgram& program, const double* variedSlot,
                                         std::vector<const double*> parameterSlots)
    : batch_(program, variedSlot), parameters_(std::move(parameterSlots)), parameterCount_(parameters_.size())
{
    zeros_.assign(kBlock, 0.0);
    ones_.assign(kBlock, 1.0);
    scratch_.assign(5 * kBlock, 0.0);
    const auto& steps = batch_.Steps();
    derivatives_.assign(steps.size() * parameterCount_ * kBlock, 0.0);
    derivativeOf_.assign(steps.size() * parameterCount_, zeros_.data());
    for (std::size_t s = 0; s < steps.size(); ++s) {
        const Step& step = steps[s];
        if (step.opCode == OpCode::Function1 && !IsKnownUnary(step.unary))
            throw std::logic_error("DerivativeEvaluator: a function without a derivative rule");
        if (step.opCode == OpCode::Function2 && step.binary != &FnMax && step.binary != &FnMin)
            throw std::logic_error("DerivativeEvaluator: a function without a derivative rule");
        for (std::size_t j = 0; j < parameterCount_; ++j) {
            const bool first = OperandDerivative(step.fromStep1, step.operand1, step.arrayX, j) != zeros_.data();
            const bool second = step.operand2 != nullptr &&
                                OperandDerivative(step.fromStep2, step.operand2, step.arrayY, j) != zeros_.data();
            if ((first || second) && !IsStepFunction(step))
                derivativeOf_[s * parameterCount_ + j] = derivatives_.data() + (s * parameterCount_ + j) * kBlock;
        }
    }
}

const double* DerivativeEvaluator::LeafDerivative(const double* operand, std::size_t j) const noexcept
{
    return operand == parameters_[j] ? ones_.data() : zeros_.data();
}

const double* DerivativeEvaluator::OperandDerivative(int fromStep, const double* operand, bool isArray,
                                                     std::size_t j) const noexcept
{
    if (fromStep >= 0) return derivativeOf_[static_cast<std::size_t>(fromStep) * parameterCount_ + j];
    if (isArray) return zeros_.data();  // the varied variable
    return LeafDerivative(operand, j);
}

void DerivativeEvaluator::Run(CompiledProgram& program, double* variedSlot, std::span<const double> values,
                              std::span<double> out, std::span<FaultKind> faults,
                              std::span<double* const> derivatives)
{
    if (derivatives.size() != parameterCount_)
        throw std::invalid_argument("EvaluateManyWithDerivatives: one derivative row per parameter");
    const auto& steps = batch_.Steps();
    const auto& records = program.Records();
    for (std::size_t start = 0; start < values.size(); start += kBlock) {
        const std::size_t count = std::min(kBlock, values.size() - start);
        batch_.RunOneBlock(program, variedSlot, values.subspan(start, count), out.subspan(start, count),
                           faults.subspan(start, count));
        if (steps.empty()) {
            // A lone variable or number: slope 1 for its own parameter, else 0.
            for (std::size_t j = 0; j < parameterCount_; ++j) {
                const bool own = !records.empty() && records.front().operand1 == parameters_[j];
                std::fill(derivatives[j] + start, derivatives[j] + start + count, own ? 1.0 : 0.0);
            }
            continue;
        }
        DifferentiateBlock(count);
        const std::size_t last = steps.size() - 1;
        for (std::size_t j = 0; j < parameterCount_; ++j) {
            const double* d = derivativeOf_[last * parameterCount_ + j];
            for (std::size_t i = 0; i < count; ++i)
                derivatives[j][start + i] = faults[start + i] == FaultKind::None ? d[i] : 0.0;
        }
    }
    // The slopes of faulting points may have raised flags of their own.
    ClearFaultFlags();
}

void DerivativeEvaluator::DifferentiateBlock(std::size_t n) noexcept
{
    const auto& steps = batch_.Steps();
    double* xs = scratch_.data();
    double* ys = xs + kBlock;
    double* work = ys + kBlock;      // a per-block value shared by the parameters
    double* work2 = work + kBlock;
    double* results = work2 + kBlock;  // a uniform step's one value spread
    for (std::size_t s = 0; s < steps.size(); ++s) {
        const Step& step = steps[s];
        bool any = false;
        for (std::size_t j = 0; j < parameterCount_; ++j) any = any || derivativeOf_[s * parameterCount_ + j] != zeros_.data();
        if (!any) continue;
        const double* x = AsArray(step.operand1, step.arrayX, xs, n);
        const double* y = step.operand2 != nullptr ? AsArray(step.operand2, step.arrayY, ys, n) : nullptr;
        const double* r = AsArray(step.result, !step.uniform, results, n);

        // What the parameters share: the slope of the result against each operand.
        bool secondOperandSlope = false;
        switch (step.opCode) {
        case OpCode::Square:
            for (std::size_t i = 0; i < n; ++i) work[i] = 2 * x[i];
            break;
        case OpCode::Cube:
            for (std::size_t i = 0; i < n; ++i) work[i] = 3 * x[i] * x[i];
            break;
        case OpCode::FourthPower:
            for (std::size_t i = 0; i < n; ++i) work[i] = 4 * x[i] * x[i] * x[i];
            break;
        case OpCode::WholePower:
            for (std::size_t i = 0; i < n; ++i) {
                std::int64_t exponent = 0;
                const bool whole = TruncToInt64(y[i], exponent);
                const auto power = static_cast<std::int32_t>(static_cast<std::uint64_t>(exponent) & 0xFFFFFFFFu);
                work[i] = whole && power != 0 ? power * IntegerPowerOf(x[i], power - 1) : 0.0;
            }
            break;
        case OpCode::Power: {
            // ∂/∂x = y x^(y-1), ∂/∂y = x^y ln x (0 where x <= 0).
            if (!step.arrayY && PowerNeedsLibraryPow(1.0, *step.operand2)) {
                // One exponent, neither 0 nor whole: only a zero base is special.
                const double yi = *step.operand2;
                const double atZero = yi > 1.0 ? 0.0 : HUGE_VAL;
                for (std::size_t i = 0; i < n; ++i) work[i] = x[i] == 0.0 ? atZero : yi * r[i] / x[i];
            } else {
                for (std::size_t i = 0; i < n; ++i) {
                    const double xi = x[i], yi = y[i];
                    if (yi == 0.0) {
                        work[i] = 0.0;
                    } else if (std::islessequal(std::fabs(yi), 2147483647.0) &&
                               static_cast<double>(static_cast<std::int32_t>(yi)) == yi) {
                        const auto whole = static_cast<std::int32_t>(yi);
                        work[i] = whole * IntegerPowerOf(xi, whole - 1);
                    } else if (xi == 0.0) {
                        work[i] = yi > 1.0 ? 0.0 : HUGE_VAL;
                    } else {
                        work[i] = yi * r[i] / xi;
                    }
                }
            }
            bool exponentMoves = false;
            for (std::size_t j = 0; j < parameterCount_; ++j)
                exponentMoves = exponentMoves || OperandDerivative(step.fromStep2, step.operand2, step.arrayY, j) !=
                                                     zeros_.data();
            if (exponentMoves) {
                for (std::size_t i = 0; i < n; ++i) work2[i] = std::isgreater(x[i], 0.0) ? x[i] : 1.0;
                vector_math::Log(work2, work2, n);
                for (std::size_t i = 0; i < n; ++i) work2[i] = std::isgreater(x[i], 0.0) ? r[i] * work2[i] : 0.0;
                secondOperandSlope = true;
            }
            break;
        }
        case OpCode::Function1: {
            const UnaryFunction f = step.unary;
            if (f == &FnExp) {
                std::copy(r, r + n, work);
            } else if (f == &FnLn) {
                for (std::size_t i = 0; i < n; ++i) work[i] = 1 / x[i];
            } else if (f == &FnSqrt) {
                for (std::size_t i = 0; i < n; ++i) work[i] = 0.5 / r[i];
            } else if (f == &FnAbs) {
                for (std::size_t i = 0; i < n; ++i) work[i] = std::isless(x[i], 0.0) ? -1.0 : 1.0;
            } else if (f == &FnSin) {
                for (std::size_t i = 0; i < n; ++i)
                    work[i] = std::isgreaterequal(std::fabs(x[i]), 0x1p63) ? 0.0 : std::cos(x[i]);
            } else if (f == &FnCos) {
                for (std::size_t i = 0; i < n; ++i)
                    work[i] = std::isgreaterequal(std::fabs(x[i]), 0x1p63) ? 0.0 : -std::sin(x[i]);
            } else if (f == &FnTan) {
                for (std::size_t i = 0; i < n; ++i) work[i] = 1 + r[i] * r[i];
            } else if (f == &FnSinh) {
                for (std::size_t i = 0; i < n; ++i) work[i] = std::cosh(x[i]);
            } else if (f == &FnCosh) {
                for (std::size_t i = 0; i < n; ++i) work[i] = std::sinh(x[i]);
            } else if (f == &FnArcTan) {
                for (std::size_t i = 0; i < n; ++i) work[i] = 1 / (1 + x[i] * x[i]);
            } else if (f == &FnPh) {
                std::fill(work, work + n, kPhaseSlope);
            } else {
                std::fill(work, work + n, 0.0);
            }
            break;
        }
        default:
            break;
        }

        for (std::size_t j = 0; j < parameterCount_; ++j) {
            double* d = derivatives_.data() + (s * parameterCount_ + j) * kBlock;
            if (derivativeOf_[s * parameterCount_ + j] == zeros_.data()) continue;
            const double* dx = OperandDerivative(step.fromStep1, step.operand1, step.arrayX, j);
            const double* dy = step.operand2 != nullptr
                                   ? OperandDerivative(step.fromStep2, step.operand2, step.arrayY, j)
                                   : zeros_.data();
            switch (step.opCode) {
            case OpCode::Negate:
                for (std::size_t i = 0; i < n; ++i) d[i] = -dx[i];
                break;
            case OpCode::Add:
                for (std::size_t i = 0; i < n; ++i) d[i] = dx[i] + dy[i];
                break;
            case OpCode::Subtract:
                for (std::size_t i = 0; i < n; ++i) d[i] = dx[i] - dy[i];
                break;
            case OpCode::Multiply:
                for (std::size_t i = 0; i < n; ++i) d[i] = dx[i] * y[i] + x[i] * dy[i];
                break;
            case OpCode::Divide:
                for (std::size_t i = 0; i < n; ++i) d[i] = (dx[i] - r[i] * dy[i]) / y[i];
                break;
            case OpCode::Function2: {
                const bool max = step.binary == &FnMax;
                for (std::size_t i = 0; i < n; ++i) {
                    const bool first = std::isgreaterequal(x[i], y[i]) == max;
                    d[i] = first ? dx[i] : dy[i];
                }
                break;
            }
            case OpCode::Power:
                // Only the slope against the base where the exponent is fixed.
                if (secondOperandSlope) {
                    for (std::size_t i = 0; i < n; ++i) d[i] = (dx[i] != 0.0 ? work[i] * dx[i] : 0.0) + work2[i] * dy[i];
                } else {
                    for (std::size_t i = 0; i < n; ++i) d[i] = dx[i] != 0.0 ? work[i] * dx[i] : 0.0;
                }
                break;
            default:  // one-operand operations and functions: their slope times the operand's
                for (std::size_t i = 0; i < n; ++i) d[i] = dx[i] != 0.0 ? work[i] * dx[i] : 0.0;
                break;
            }
        }
    }
}

} // namespace movra
