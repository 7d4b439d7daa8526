#include "parser/batch_evaluator.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <stdexcept>
#include <utility>

#include "parser/fault_flags.h"

namespace movra {
namespace {

using namespace parser_detail;
using Step = BatchEvaluator::Step;
using Kernel = BatchEvaluator::Kernel;

// Each kernel applies the very function the scalar routine applies, so the
// results agree bit for bit. An operand is either a block array or one value.
template <double (*Operation)(double), bool ArrayOperand>
void UnaryKernel(const Step& step, std::size_t count) noexcept
{
    double* __restrict out = step.result;
    if constexpr (ArrayOperand) {
        const double* __restrict x = step.operand1;
        for (std::size_t i = 0; i < count; ++i) out[i] = Operation(x[i]);
    } else {
        const double x = *step.operand1;
        for (std::size_t i = 0; i < count; ++i) out[i] = Operation(x);
    }
}

template <double (*Operation)(double, double), bool ArrayX, bool ArrayY>
void BinaryKernel(const Step& step, std::size_t count) noexcept
{
    double* __restrict out = step.result;
    if constexpr (ArrayX && ArrayY) {
        const double* __restrict x = step.operand1;
        const double* __restrict y = step.operand2;
        for (std::size_t i = 0; i < count; ++i) out[i] = Operation(x[i], y[i]);
    } else if constexpr (ArrayX) {
        const double* __restrict x = step.operand1;
        const double y = *step.operand2;
        for (std::size_t i = 0; i < count; ++i) out[i] = Operation(x[i], y);
    } else if constexpr (ArrayY) {
        const double x = *step.operand1;
        const double* __restrict y = step.operand2;
        for (std::size_t i = 0; i < count; ++i) out[i] = Operation(x, y[i]);
    } else {
        const double x = *step.operand1;
        const double y = *step.operand2;
        for (std::size_t i = 0; i < count; ++i) out[i] = Operation(x, y);
    }
}

// exp and ln of a block through the vector library: the scalar FnExp and
// FnLn run the same routine, so the bits agree.
template <void (*Vector)(const double*, double*, std::size_t) noexcept>
void VectorUnaryKernel(const Step& step, std::size_t count) noexcept
{
    Vector(step.operand1, step.result, count);
}

// "^" of a block: the cases pow takes are gathered and run through the
// vector pow at once, the others (whole exponents, zeros, infinities) are
// Power's own.
template <bool ArrayX, bool ArrayY>
void PowerKernel(const Step& step, std::size_t count) noexcept
{
    double gatheredX[BatchEvaluator::kBlockSize];
    double gatheredY[BatchEvaluator::kBlockSize];
    double powered[BatchEvaluator::kBlockSize];
    std::uint16_t where[BatchEvaluator::kBlockSize];
    std::size_t gathered = 0;
    double* __restrict out = step.result;
    if constexpr (ArrayX && !ArrayY) {
        // One exponent for the whole block (1/abs(m5) of a fit formula): its
        // cases are told once. A normal base (finite, not zero, not
        // subnormal) then always takes the library pow; the exponent bits
        // tell it without a floating-point comparison, so the test runs on
        // the vector units and raises no flag.
        const double y = *step.operand2;
        if (PowerNeedsLibraryPow(1.0, y)) {
            const double* __restrict x = step.operand1;
            std::uint64_t special = 0;
            for (std::size_t i = 0; i < count; ++i) {
                const std::uint64_t exponent = (std::bit_cast<std::uint64_t>(x[i]) >> 52) & 0x7FF;
                special |= (exponent - 1) >> 11 | (exponent + 1) >> 11;  // 0 or 0x7FF
            }
            if (special == 0) {
                std::fill(gatheredY, gatheredY + count, y);
                vector_math::Pow(x, gatheredY, out, count);
                return;
            }
        }
    }
    // Most blocks need the library pow at every point: then no gathering.
    bool everyPoint = ArrayX || ArrayY;
    for (std::size_t i = 0; i < count && everyPoint; ++i)
        everyPoint = PowerNeedsLibraryPow(ArrayX ? step.operand1[i] : *step.operand1,
                                          ArrayY ? step.operand2[i] : *step.operand2);
    if (everyPoint) {
        if constexpr (ArrayX && ArrayY) {
            vector_math::Pow(step.operand1, step.operand2, out, count);
        } else {
            for (std::size_t i = 0; i < count; ++i) {
                gatheredX[i] = ArrayX ? step.operand1[i] : *step.operand1;
                gatheredY[i] = ArrayY ? step.operand2[i] : *step.operand2;
            }
            vector_math::Pow(gatheredX, gatheredY, out, count);
        }
        return;
    }
    for (std::size_t i = 0; i < count; ++i) {
        const double x = ArrayX ? step.operand1[i] : *step.operand1;
        const double y = ArrayY ? step.operand2[i] : *step.operand2;
        if (PowerNeedsLibraryPow(x, y)) {
            gatheredX[gathered] = x;
            gatheredY[gathered] = y;
            where[gathered++] = static_cast<std::uint16_t>(i);
        } else {
            out[i] = PowerSpecialCase(x, y);
        }
    }
    if (gathered == 0) return;
    vector_math::Pow(gatheredX, gatheredY, powered, gathered);
    for (std::size_t k = 0; k < gathered; ++k) out[where[k]] = powered[k];
}

template <bool ArrayOperand>
void CallUnaryKernel(const Step& step, std::size_t count) noexcept
{
    double* __restrict out = step.result;
    for (std::size_t i = 0; i < count; ++i) out[i] = step.unary(ArrayOperand ? step.operand1[i] : *step.operand1);
}

template <bool ArrayX, bool ArrayY>
void CallBinaryKernel(const Step& step, std::size_t count) noexcept
{
    double* __restrict out = step.result;
    for (std::size_t i = 0; i < count; ++i)
        out[i] = step.binary(ArrayX ? step.operand1[i] : *step.operand1, ArrayY ? step.operand2[i] : *step.operand2);
}

template <double (*Operation)(double)>
Kernel Unary(bool arrayOperand)
{
    return arrayOperand ? &UnaryKernel<Operation, true> : &UnaryKernel<Operation, false>;
}

template <double (*Operation)(double, double)>
Kernel Binary(bool arrayX, bool arrayY)
{
    if (arrayX) return arrayY ? &BinaryKernel<Operation, true, true> : &BinaryKernel<Operation, true, false>;
    return arrayY ? &BinaryKernel<Operation, false, true> : &BinaryKernel<Operation, false, false>;
}

// Built-in functions get kernels with the function inlined.
Kernel FunctionKernel(UnaryFunction function, bool arrayOperand)
{
    constexpr std::pair<UnaryFunction, Kernel (*)(bool)> kInlined[] = {
        {&FnExp, &Unary<&FnExp>},   {&FnLn, &Unary<&FnLn>},     {&FnAbs, &Unary<&FnAbs>},
        {&FnSqrt, &Unary<&FnSqrt>}, {&FnSin, &Unary<&FnSin>},   {&FnCos, &Unary<&FnCos>},
        {&FnTan, &Unary<&FnTan>},   {&FnCosh, &Unary<&FnCosh>}, {&FnSinh, &Unary<&FnSinh>},
        {&FnArcTan, &Unary<&FnArcTan>}, {&FnHeav, &Unary<&FnHeav>}, {&FnSign, &Unary<&FnSign>},
        {&FnZero, &Unary<&FnZero>}, {&FnPh, &Unary<&FnPh>},
    };
    if (arrayOperand && function == &FnExp) return &VectorUnaryKernel<&vector_math::Exp>;
    if (arrayOperand && function == &FnLn) return &VectorUnaryKernel<&vector_math::Log>;
    for (const auto& [candidate, pick] : kInlined)
        if (candidate == function) return pick(arrayOperand);
    return arrayOperand ? &CallUnaryKernel<true> : &CallUnaryKernel<false>;
}

Kernel FunctionKernel(BinaryFunction function, bool arrayX, bool arrayY)
{
    if (function == &FnMax) return Binary<&FnMax>(arrayX, arrayY);
    if (function == &FnMin) return Binary<&FnMin>(arrayX, arrayY);
    if (arrayX) return arrayY ? &CallBinaryKernel<true, true> : &CallBinaryKernel<true, false>;
    return arrayY ? &CallBinaryKernel<false, true> : &CallBinaryKernel<false, false>;
}

Kernel KernelFor(const OperationRecord& record, bool arrayX, bool arrayY)
{
    switch (record.opCode) {
    case OpCode::Negate: return Unary<&Negate>(arrayX);
    case OpCode::Add: return Binary<&Add>(arrayX, arrayY);
    case OpCode::Subtract: return Binary<&Subtract>(arrayX, arrayY);
    case OpCode::Multiply: return Binary<&Multiply>(arrayX, arrayY);
    case OpCode::Divide: return Binary<&Divide>(arrayX, arrayY);
    case OpCode::Modulo: return Binary<&Modulo>(arrayX, arrayY);
    case OpCode::IntDivide: return Binary<&IntDivide>(arrayX, arrayY);
    case OpCode::WholePower: return Binary<&WholePower>(arrayX, arrayY);
    case OpCode::Power:
        if (arrayX) return arrayY ? &PowerKernel<true, true> : &PowerKernel<true, false>;
        return arrayY ? &PowerKernel<false, true> : &PowerKernel<false, false>;
    case OpCode::Square: return Unary<&Square>(arrayX);
    case OpCode::Cube: return Unary<&Cube>(arrayX);
    case OpCode::FourthPower: return Unary<&FourthPower>(arrayX);
    case OpCode::Function1: return FunctionKernel(record.unary, arrayX);
    case OpCode::Function2: return FunctionKernel(record.binary, arrayX, arrayY);
    case OpCode::PassThrough:
    case OpCode::Number: break;
    }
    return nullptr;
}

// Whether a record gives the same value each time it runs on the same
// operands: every operation and built-in function but RND, which draws a
// new number per point.
bool HasOneValuePerCall(const OperationRecord& record) noexcept
{
    if (record.opCode == OpCode::Function1) return record.unary != &FnRnd;
    return true;
}

} // namespace

BatchEvaluator::BatchEvaluator(const CompiledProgram& program, const double* variedSlot) : variedSlot_(variedSlot)
{
    const auto& records = program.Records();
    if (records.empty()) return;
    if (program.IsPassThrough()) {
        resultValue_ = records.front().operand1;
        return;
    }
    scratch_.assign((records.size() + 1) * kBlockSize, 0.0);
    valueBlock_ = scratch_.data() + records.size() * kBlockSize;
    BuildSteps(program);
}

void BatchEvaluator::BuildSteps(const CompiledProgram& program)
{
    const auto& records = program.Records();
    steps_.reserve(records.size());
    std::vector<std::pair<const double*, std::size_t>> stepOfCell;
    stepOfCell.reserve(records.size());
    const auto locate = [&](const double* operand, bool& isArray, int& fromStep) -> const double* {
        isArray = true;
        fromStep = -1;
        if (operand == variedSlot_) return valueBlock_;
        for (const auto& [cell, s] : stepOfCell)
            if (cell == operand) {
                fromStep = static_cast<int>(s);
                // A step on single values leaves one value, not a block.
                isArray = !steps_[s].uniform;
                return steps_[s].result;
            }
        isArray = false;
        return operand;
    };
    for (std::size_t i = 0; i < records.size(); ++i) {
        const OperationRecord& record = records[i];
        Step step;
        bool arrayX = false;
        bool arrayY = false;
        step.operand1 = locate(record.operand1, arrayX, step.fromStep1);
        step.operand2 = record.operand2 != nullptr ? locate(record.operand2, arrayY, step.fromStep2) : nullptr;
        step.opCode = record.opCode;
        step.arrayX = arrayX;
        step.arrayY = arrayY;
        step.uniform = !arrayX && !arrayY && HasOneValuePerCall(record);
        step.result = scratch_.data() + i * kBlockSize;
        step.unary = record.unary;
        step.binary = record.binary;
        step.kernel = KernelFor(record, arrayX, arrayY);
        if (step.kernel == nullptr) throw std::logic_error("BatchEvaluator: record without arithmetic");
        stepOfCell.emplace_back(record.result, i);
        steps_.push_back(step);
    }
}

void BatchEvaluator::RunBlock(std::size_t count) const noexcept
{
    for (const Step& step : steps_) step.kernel(step, step.uniform ? 1 : count);
}

void BatchEvaluator::Run(CompiledProgram& program, double* variedSlot, std::span<const double> values, std::span<double> out,
                         std::span<FaultKind> faults)
{
    if (variedSlot != variedSlot_) throw std::invalid_argument("BatchEvaluator: built for another variable");
    if (out.size() != values.size() || faults.size() != values.size())
        throw std::invalid_argument("EvaluateMany: values, results and faults differ in length");
    for (std::size_t start = 0; start < values.size(); start += kBlockSize) {
        const std::size_t count = std::min(kBlockSize, values.size() - start);
        RunOneBlock(program, variedSlot, values.subspan(start, count), out.subspan(start, count),
                    faults.subspan(start, count));
    }
}

void BatchEvaluator::RunOneBlock(CompiledProgram& program, double* variedSlot, std::span<const double> blockValues,
                                 std::span<double> blockOut, std::span<FaultKind> blockFaults) noexcept
{
    const std::size_t count = blockValues.size();
    std::fill(blockFaults.begin(), blockFaults.end(), FaultKind::None);
    if (steps_.empty()) {
        // No program (0) or a pass-through program (the variable itself).
        if (resultValue_ == variedSlot_) std::copy(blockValues.begin(), blockValues.end(), blockOut.begin());
        else std::fill(blockOut.begin(), blockOut.end(), resultValue_ != nullptr ? *resultValue_ : 0.0);
        return;
    }
    std::copy(blockValues.begin(), blockValues.end(), valueBlock_);
    EnsureFaultFlagsClear();
    RunBlock(count);
    if (RaisedFaultFlags() == 0) {
        const Step& last = steps_.back();
        if (last.uniform) std::fill(blockOut.begin(), blockOut.end(), *last.result);
        else std::copy(last.result, last.result + count, blockOut.begin());
        return;
    }
    // A point by point rerun gives each point its own fault; the block's
    // intermediate results stay as the block run left them.
    ClearFaultFlags();
    const double saved = *variedSlot;
    for (std::size_t i = 0; i < count; ++i) {
        *variedSlot = blockValues[i];
        blockOut[i] = program.Evaluate(blockFaults[i]);
    }
    *variedSlot = saved;
}

} // namespace movra
