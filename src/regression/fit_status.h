#pragma once
// Status codes of a fit, returned by RunFit and the minimiser, and the names
// the fit run shows for them.

#include <cstdint>
#include <string_view>

namespace movra {

// The values are the codes callers store and compare (0 success, negative
// failures).
enum FitStatus : std::int32_t {
    OptOk = 0,          // converged
    OptSing = -1,       // singular normal-equation system
    OptBigLambda = -2,  // damping factor above its ceiling
    OptNonConv = -3,    // iteration cap, Cancel, or line search out of iterations
};

// "OPT_OK", "OPT_SING", "OPT_BIG_LAMBDA", "OPT_NON_CONV"; empty for any other code.
constexpr std::string_view FitStatusName(std::int32_t status) noexcept
{
    switch (status) {
    case OptOk: return "OPT_OK";
    case OptSing: return "OPT_SING";
    case OptBigLambda: return "OPT_BIG_LAMBDA";
    case OptNonConv: return "OPT_NON_CONV";
    default: return {};
    }
}

} // namespace movra
