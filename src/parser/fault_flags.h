#pragma once
// The floating-point exception flags that stand for evaluation faults
// (invalid operation, division by zero, overflow), read and cleared cheaply.
// Evaluation runs with the flags clear, tests them once at the end and only
// then looks for the operation that raised them first.

#include <cfenv>

namespace movra::parser_detail {

inline constexpr int kFaultFlags = FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW;

// Fault flags currently raised. On x86-64 the status registers are read in
// line (the library call costs as much as a short formula), and the x87 one
// only when asked for: double arithmetic and the double math library work in
// SSE registers, only the extended-precision routines use the x87 unit.
// Their flag bits are the FE_* values.
inline int RaisedFaultFlags(bool includeX87 = true) noexcept
{
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
    unsigned int status = 0;
    __asm__ __volatile__("stmxcsr %0" : "=m"(status) : : "memory");
    if (includeX87) {
        unsigned short x87Status = 0;
        __asm__ __volatile__("fnstsw %0" : "=m"(x87Status) : : "memory");
        status |= x87Status;
    }
    return static_cast<int>(status & static_cast<unsigned>(kFaultFlags));
#else
    static_cast<void>(includeX87);
    return std::fetestexcept(kFaultFlags);
#endif
}

inline void ClearFaultFlags() noexcept
{
    std::feclearexcept(kFaultFlags);
}

// Clears the flags only when one is raised: clearing is far slower than testing.
inline void EnsureFaultFlagsClear() noexcept
{
    if (RaisedFaultFlags() != 0) ClearFaultFlags();
}

} // namespace movra::parser_detail
