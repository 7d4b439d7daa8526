#pragma once
// A compiled formula: operation records in execution order (deepest nesting
// level first), each a pre-bound call of one small routine on operand
// addresses fixed at compile time, plus the constant and result cells the
// program owns. Running allocates nothing and looks nothing up; faults are
// found from the floating-point flags after the run, and only then is the
// first faulting record searched for.

#include <cstddef>
#include <memory>
#include <vector>

#include "parser/evaluation_faults.h"
#include "parser/operation_arithmetic.h"

namespace movra {

struct OperationRecord;
using OpRoutine = void (*)(const OperationRecord&);

struct OperationRecord {
    const double* operand1 = nullptr;  // variable slot, constant cell or result cell
    const double* operand2 = nullptr;  // unused by the one-operand codes
    double* result = nullptr;          // this record's result cell (none for the pass-through)
    OpRoutine routine = nullptr;
    UnaryFunction unary = nullptr;     // code 14
    BinaryFunction binary = nullptr;   // code 15
    OpCode opCode = OpCode::PassThrough;
};

// Where a draft operand points before the cells are allocated.
struct OperandDraft {
    double* slot = nullptr;  // a variable's slot, or
    int cell = -1;           // an index into the program's cells
};

struct RecordDraft {
    OpCode opCode = OpCode::PassThrough;
    OperandDraft operand1;
    OperandDraft operand2;
    int resultCell = -1;
    UnaryFunction unary = nullptr;
    BinaryFunction binary = nullptr;
};

class CompiledProgram {
public:
    // Resolves the drafts (already in execution order) against freshly
    // allocated cells with the given initial contents. A single pass-through
    // draft makes the program that returns its first operand.
    CompiledProgram(const std::vector<RecordDraft>& drafts, const std::vector<double>& cellValues);

    CompiledProgram(CompiledProgram&&) noexcept = default;
    CompiledProgram& operator=(CompiledProgram&&) noexcept = default;
    CompiledProgram(const CompiledProgram&) = delete;
    CompiledProgram& operator=(const CompiledProgram&) = delete;

    // Runs every record; FaultKind::None or the first fault in execution
    // order. Flags raised before the call (by the caller's own arithmetic)
    // only send the run through the slower search that finds none of them.
    double Evaluate(FaultKind& fault) noexcept;
    // Whether a fault can show in the x87 status (extended-precision routines).
    bool UsesExtendedPrecision() const noexcept { return usesExtendedPrecision_; }

    const std::vector<OperationRecord>& Records() const noexcept { return records_; }
    const double* ResultCell() const noexcept { return resultCell_; }
    bool IsPassThrough() const noexcept { return records_.size() == 1 && records_.front().result == nullptr; }

private:
    FaultKind LocateFirstFault() noexcept;

    std::unique_ptr<double[]> cells_;
    std::vector<OperationRecord> records_;
    const double* resultCell_ = nullptr;
    bool usesExtendedPrecision_ = false;
};

// The fault a record raised, given the flags it left.
FaultKind ClassifyFault(OpCode opCode, int raisedFlags) noexcept;

} // namespace movra
