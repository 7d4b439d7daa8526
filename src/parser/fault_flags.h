#pragma once
// The floating-point exception flags that stand for evaluation faults
// (invalid operation, division by zero, overflow), read and cleared cheaply.
// Evaluation runs with the flags clear, tests them once at the end and only
// then looks for the operation that raised them first.

#include <cfenv>

namespace movra::parser_detail {

inline constexpr int kFaultFlags = FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW;

// Fault flags currently raised (x87 and SSE status on x86).
inline int RaisedFaultFlags() noexcept
{
    return std::fetestexcept(kFaultFlags);
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
