#pragma once
// exp, ln and pow over arrays of doubles through glibc's vector math library
// (libmvec): four lanes with AVX2 where the processor has it, else two with
// SSE2, chosen once per process. The scalar forms run the same vector
// routine on one value, so a formula gives the same bits whether it is
// evaluated point by point or over an array. Faults raise the floating-point
// flags as the scalar library does (overflow, division by zero, invalid);
// the results agree with the scalar library to within 4 ulp.

#include <cstddef>

namespace movra::vector_math {

void Exp(const double* in, double* out, std::size_t count) noexcept;
void Log(const double* in, double* out, std::size_t count) noexcept;
void Pow(const double* x, const double* y, double* out, std::size_t count) noexcept;

double Exp(double x) noexcept;
double Log(double x) noexcept;
double Pow(double x, double y) noexcept;

// Whether the four-lane routines are in use (AVX2 present).
bool UsesFourLanes() noexcept;

} // namespace movra::vector_math
