#pragma once
// Runs a compiled program over many values of one variable at once: one pass
// per operation over a block of points, the same operations in the same
// order as the scalar run, so every result is bit-identical to evaluating
// the points one by one. An operation that does not depend on the varied
// variable (1/abs(m5) in a fit formula) runs once per block, on one value.
// A block whose run raised a fault flag is evaluated again point by point,
// which gives each point its own fault. Scratch arrays are allocated when
// the evaluator is built, never per call.

#include <cstddef>
#include <span>
#include <vector>

#include "parser/compiled_program.h"
#include "parser/evaluation_faults.h"

namespace movra {

class BatchEvaluator {
public:
    static constexpr std::size_t kBlockSize = 128;

    // `variedSlot` is the variable that takes the values; every other operand
    // keeps its current value for the whole call.
    BatchEvaluator(const CompiledProgram& program, const double* variedSlot);

    const double* VariedSlot() const noexcept { return variedSlot_; }

    // out[i] and faults[i] for values[i]; a faulting point gets NaN in out.
    // Writes the values into *variedSlot while it works and restores it.
    void Run(CompiledProgram& program, double* variedSlot, std::span<const double> values, std::span<double> out,
             std::span<FaultKind> faults);
    // One block of at most kBlockSize values; afterwards every step's result
    // block holds that block's intermediate values (a uniform step's one
    // value at the start of its block).
    void RunOneBlock(CompiledProgram& program, double* variedSlot, std::span<const double> blockValues,
                     std::span<double> blockOut, std::span<FaultKind> blockFaults) noexcept;

    struct Step;
    using Kernel = void (*)(const Step&, std::size_t count);
    struct Step {
        Kernel kernel = nullptr;
        const double* operand1 = nullptr;  // block array or single value
        const double* operand2 = nullptr;
        double* result = nullptr;          // block array (uniform: its first value)
        UnaryFunction unary = nullptr;
        BinaryFunction binary = nullptr;
        OpCode opCode = OpCode::PassThrough;
        bool arrayX = false;  // operand1 is a block array
        bool arrayY = false;
        // Depends on no value of the varied variable: runs on one value.
        bool uniform = false;
        int fromStep1 = -1;  // the step whose result operand1 is, or -1
        int fromStep2 = -1;
    };

    // The steps in execution order (empty for a pass-through program), for
    // code that follows a run (the derivatives).
    const std::vector<Step>& Steps() const noexcept { return steps_; }

private:
    void BuildSteps(const CompiledProgram& program);
    void RunBlock(std::size_t count) const noexcept;

    const double* variedSlot_;
    std::vector<double> scratch_;  // one block per result cell, then the block of values
    std::vector<Step> steps_;
    double* valueBlock_ = nullptr;
    const double* resultValue_ = nullptr;  // of a pass-through program
};

} // namespace movra
