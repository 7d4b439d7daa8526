#include "parser/compiled_program.h"

#include <limits>
#include <utility>

#include "parser/fault_flags.h"
#include "shared/one_based.h"

namespace movra {
namespace {

using namespace parser_detail;

void RunNothing(const OperationRecord&) noexcept {}

OpRoutine RoutineFor(OpCode opCode) noexcept;

template <double (*Operation)(double)>
void UnaryRoutine(const OperationRecord& record) noexcept
{
    *record.result = Operation(*record.operand1);
}

template <double (*Operation)(double, double)>
void BinaryRoutine(const OperationRecord& record) noexcept
{
    *record.result = Operation(*record.operand1, *record.operand2);
}

void CallUnaryFunction(const OperationRecord& record) noexcept
{
    *record.result = record.unary(*record.operand1);
}

void CallBinaryFunction(const OperationRecord& record) noexcept
{
    *record.result = record.binary(*record.operand1, *record.operand2);
}

// Built-in functions get routines with the function called directly.
OpRoutine FunctionRoutine(UnaryFunction function) noexcept
{
    constexpr std::pair<UnaryFunction, OpRoutine> kDirect[] = {
        {&FnExp, &UnaryRoutine<&FnExp>},     {&FnLn, &UnaryRoutine<&FnLn>},
        {&FnAbs, &UnaryRoutine<&FnAbs>},     {&FnSqrt, &UnaryRoutine<&FnSqrt>},
        {&FnSin, &UnaryRoutine<&FnSin>},     {&FnCos, &UnaryRoutine<&FnCos>},
        {&FnTan, &UnaryRoutine<&FnTan>},     {&FnCosh, &UnaryRoutine<&FnCosh>},
        {&FnSinh, &UnaryRoutine<&FnSinh>},   {&FnArcTan, &UnaryRoutine<&FnArcTan>},
        {&FnHeav, &UnaryRoutine<&FnHeav>},   {&FnSign, &UnaryRoutine<&FnSign>},
        {&FnZero, &UnaryRoutine<&FnZero>},   {&FnPh, &UnaryRoutine<&FnPh>},
    };
    for (const auto& [candidate, routine] : kDirect)
        if (candidate == function) return routine;
    return &CallUnaryFunction;
}

OpRoutine FunctionRoutine(BinaryFunction function) noexcept
{
    if (function == &FnMax) return &BinaryRoutine<&FnMax>;
    if (function == &FnMin) return &BinaryRoutine<&FnMin>;
    return &CallBinaryFunction;
}

OpRoutine RoutineFor(const RecordDraft& draft) noexcept
{
    if (draft.opCode == OpCode::Function1) return FunctionRoutine(draft.unary);
    if (draft.opCode == OpCode::Function2) return FunctionRoutine(draft.binary);
    return RoutineFor(draft.opCode);
}

OpRoutine RoutineFor(OpCode opCode) noexcept
{
    switch (opCode) {
    case OpCode::PassThrough:
    case OpCode::Number: return &RunNothing;
    case OpCode::Negate: return &UnaryRoutine<&Negate>;
    case OpCode::Add: return &BinaryRoutine<&Add>;
    case OpCode::Subtract: return &BinaryRoutine<&Subtract>;
    case OpCode::Multiply: return &BinaryRoutine<&Multiply>;
    case OpCode::Divide: return &BinaryRoutine<&Divide>;
    case OpCode::Modulo: return &BinaryRoutine<&Modulo>;
    case OpCode::IntDivide: return &BinaryRoutine<&IntDivide>;
    case OpCode::WholePower: return &BinaryRoutine<&WholePower>;
    case OpCode::Power: return &BinaryRoutine<&Power>;
    case OpCode::Square: return &UnaryRoutine<&Square>;
    case OpCode::Cube: return &UnaryRoutine<&Cube>;
    case OpCode::FourthPower: return &UnaryRoutine<&FourthPower>;
    case OpCode::Function1: return &CallUnaryFunction;
    case OpCode::Function2: return &CallBinaryFunction;
    }
    return &RunNothing;
}

} // namespace

CompiledProgram::CompiledProgram(const std::vector<RecordDraft>& drafts, const std::vector<double>& cellValues)
    : cells_(std::make_unique<double[]>(cellValues.empty() ? 1 : cellValues.size()))
{
    for (std::size_t i = 0; i < cellValues.size(); ++i) cells_[i] = cellValues[i];
    const auto resolve = [this](const OperandDraft& operand) -> const double* {
        if (operand.slot != nullptr) return operand.slot;
        return operand.cell >= 0 ? &At(cells_, operand.cell) : nullptr;
    };
    records_.reserve(drafts.size());
    for (const RecordDraft& draft : drafts) {
        OperationRecord record;
        record.operand1 = resolve(draft.operand1);
        record.operand2 = resolve(draft.operand2);
        record.result = draft.resultCell >= 0 ? &At(cells_, draft.resultCell) : nullptr;
        record.routine = RoutineFor(draft);
        record.unary = draft.unary;
        record.binary = draft.binary;
        record.opCode = draft.opCode;
        records_.push_back(record);
    }
    for (const OperationRecord& record : records_)
        if (record.opCode == OpCode::WholePower || record.opCode == OpCode::Power ||
            (record.opCode == OpCode::Function1 && record.unary != &FnExp && record.unary != &FnLn &&
             record.unary != &FnAbs && record.unary != &FnSqrt && record.unary != &FnSin && record.unary != &FnCos &&
             record.unary != &FnTan && record.unary != &FnCosh && record.unary != &FnSinh &&
             record.unary != &FnArcTan))
            usesExtendedPrecision_ = true;
    if (!records_.empty())
        resultCell_ = records_.back().result != nullptr ? records_.back().result : records_.back().operand1;
}

double CompiledProgram::Evaluate(FaultKind& fault) noexcept
{
    fault = FaultKind::None;
    if (records_.empty() || resultCell_ == nullptr) return 0.0;
    for (const OperationRecord& record : records_) record.routine(record);
    if (RaisedFaultFlags(usesExtendedPrecision_) == 0) return *resultCell_;
    fault = LocateFirstFault();
    return fault == FaultKind::None ? *resultCell_ : std::numeric_limits<double>::quiet_NaN();
}

FaultKind CompiledProgram::LocateFirstFault() noexcept
{
    for (const OperationRecord& record : records_) {
        ClearFaultFlags();
        record.routine(record);
        const int raised = RaisedFaultFlags();
        if (raised != 0) {
            ClearFaultFlags();
            return ClassifyFault(record.opCode, raised);
        }
    }
    return FaultKind::None;  // only a random function can fault in one run and not the next
}

FaultKind ClassifyFault(OpCode opCode, int raisedFlags) noexcept
{
    const bool integerDivision = opCode == OpCode::IntDivide || opCode == OpCode::Modulo;
    if ((raisedFlags & FE_INVALID) != 0) return FaultKind::InvalidOperation;
    if ((raisedFlags & FE_DIVBYZERO) != 0)
        return integerDivision ? FaultKind::IntegerDivideByZero : FaultKind::ZeroDivide;
    if ((raisedFlags & FE_OVERFLOW) != 0) return FaultKind::Overflow;
    return FaultKind::None;
}

} // namespace movra
