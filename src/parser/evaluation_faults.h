#pragma once
// Faults of evaluating a compiled formula, as a trapping floating-point unit
// reports them: invalid operation, division by zero and overflow of the float
// arithmetic, and the integer division by zero of DIV and MOD. Each has its
// own exception type so callers can map one fault and let others pass; the
// non-throwing entry points report the same faults as a FaultKind.

#include <stdexcept>

namespace movra {

enum class FaultKind : unsigned char {
    None,
    InvalidOperation,     // EInvalidOp: 0/0, LN(-1), SQRT(-1), integer conversion out of range
    ZeroDivide,           // EZeroDivide: x/0 with x not 0, LN(0)
    Overflow,             // EOverflow: a result too large for a 64-bit float
    IntegerDivideByZero,  // EDivByZero: DIV or MOD by a divisor that truncates to 0
};

// Common base of every evaluation fault, so that one handler can catch all.
class EEvaluationFault : public std::runtime_error {
public:
    EEvaluationFault(FaultKind kind, const char* message) : std::runtime_error(message), kind_(kind) {}
    FaultKind kind() const noexcept { return kind_; }

private:
    FaultKind kind_;
};

// Floating-point faults.
class EMathError : public EEvaluationFault {
public:
    using EEvaluationFault::EEvaluationFault;
};

class EInvalidOp : public EMathError {
public:
    EInvalidOp() : EMathError(FaultKind::InvalidOperation, "Invalid floating point operation") {}
};

class EZeroDivide : public EMathError {
public:
    EZeroDivide() : EMathError(FaultKind::ZeroDivide, "Floating point division by zero") {}
};

class EOverflow : public EMathError {
public:
    EOverflow() : EMathError(FaultKind::Overflow, "Floating point overflow") {}
};

// Integer faults.
class EIntError : public EEvaluationFault {
public:
    using EEvaluationFault::EEvaluationFault;
};

class EDivByZero : public EIntError {
public:
    EDivByZero() : EIntError(FaultKind::IntegerDivideByZero, "Division by zero") {}
};

// Raises the exception that belongs to a fault; does nothing for None.
inline void ThrowFault(FaultKind kind)
{
    switch (kind) {
    case FaultKind::None: return;
    case FaultKind::InvalidOperation: throw EInvalidOp();
    case FaultKind::ZeroDivide: throw EZeroDivide();
    case FaultKind::Overflow: throw EOverflow();
    case FaultKind::IntegerDivideByZero: throw EDivByZero();
    }
}

} // namespace movra
