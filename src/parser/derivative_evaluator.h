#pragma once
// Exact partial derivatives of a compiled formula with respect to chosen
// variables (the fitted parameters), over many values of one variable (x):
// forward mode over the operation list. Each operation of a block carries
// its values (the very values of the array evaluation) and one derivative
// block per parameter, built from its operands' by the rules of calculus,
// so one pass gives the model and its whole Jacobian, exact to rounding.
//
// Where a formula has no derivative the one-sided value is taken that a
// forward step would see: abs at 0 has slope +1; heav, sign, zero, RND, DIV
// and MOD have slope 0; MAX and MIN follow the operand they return (on a
// tie MAX returns the first, MIN the second); sqrt at 0 and x^y at x = 0 with y < 1 give an infinite
// slope; the slope of x^y with respect to y is 0 where x <= 0. A point whose
// evaluation faults gets derivative 0 (the model is then the flat 1E20 of a
// fault). Scratch storage is allocated when the evaluator is built.

#include <cstddef>
#include <span>
#include <vector>

#include "parser/batch_evaluator.h"
#include "parser/compiled_program.h"
#include "parser/evaluation_faults.h"

namespace movra {

class DerivativeEvaluator {
public:
    static constexpr std::size_t kBlockSize = BatchEvaluator::kBlockSize;

    // `variedSlot` takes the values; `parameterSlots` are the variables the
    // derivatives are taken with respect to (their order is the order of the
    // derivative rows).
    DerivativeEvaluator(const CompiledProgram& program, const double* variedSlot,
                        std::vector<const double*> parameterSlots);

    const double* VariedSlot() const noexcept { return batch_.VariedSlot(); }
    const std::vector<const double*>& ParameterSlots() const noexcept { return parameters_; }

    // out and faults as BatchEvaluator::Run gives them; derivatives[j][i] is
    // ∂out[i]/∂parameter j. Every span has the length of values.
    void Run(CompiledProgram& program, double* variedSlot, std::span<const double> values, std::span<double> out,
             std::span<FaultKind> faults, std::span<double* const> derivatives);

private:
    void DifferentiateBlock(std::size_t count) noexcept;

    BatchEvaluator batch_;
    std::vector<const double*> parameters_;
    std::size_t parameterCount_ = 0;
    // Derivative blocks: step s, parameter j at (s * parameterCount_ + j) * kBlockSize.
    std::vector<double> derivatives_;
    // d[s][j]: the derivative block of step s for parameter j, or the zero
    // block where it is zero whatever the values (no path from parameter j).
    std::vector<const double*> derivativeOf_;
    std::vector<double> zeros_;
    std::vector<double> ones_;
    std::vector<double> scratch_;  // one block of working values
    // Derivative of a leaf operand: the ones block for parameter j's own
    // slot, the zero block otherwise.
    const double* LeafDerivative(const double* operand, std::size_t j) const noexcept;
    const double* OperandDerivative(int fromStep, const double* operand, bool isArray, std::size_t j) const noexcept;
};

} // namespace movra
