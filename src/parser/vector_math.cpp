#include "parser/vector_math.h"

#include <algorithm>
#include <cmath>

#if defined(__x86_64__) && defined(__GLIBC__)
#define MOVRA_LIBMVEC 1
#include <immintrin.h>

// The vector variants glibc exports (x86-64 vector function ABI): 'b' takes
// two doubles in an SSE register, 'd' four in an AVX2 register.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wpsabi"
extern "C" {
__m128d _ZGVbN2v_exp(__m128d);
__m128d _ZGVbN2v_log(__m128d);
__m128d _ZGVbN2vv_pow(__m128d, __m128d);
__m256d _ZGVdN4v_exp(__m256d);
__m256d _ZGVdN4v_log(__m256d);
__m256d _ZGVdN4vv_pow(__m256d, __m256d);
}
#pragma GCC diagnostic pop
#endif

namespace movra::vector_math {

#ifdef MOVRA_LIBMVEC
namespace {

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wpsabi"

const bool kFourLanes = __builtin_cpu_supports("avx2");

// The routines run over whole groups of lanes; the last partial group is
// padded with its own last value, so the padding raises no fault the array
// does not raise itself.
template <int Lanes>
struct Padded {
    double values[Lanes];
    Padded(const double* in, std::size_t from, std::size_t count) noexcept
    {
        for (int k = 0; k < Lanes; ++k) values[k] = in[std::min(from + static_cast<std::size_t>(k), count - 1)];
    }
};

__attribute__((target("avx2"))) void Exp4(const double* in, double* out, std::size_t count) noexcept
{
    std::size_t i = 0;
    for (; i + 4 <= count; i += 4) _mm256_storeu_pd(out + i, _ZGVdN4v_exp(_mm256_loadu_pd(in + i)));
    if (i < count) {
        const Padded<4> a(in, i, count);
        double r[4];
        _mm256_storeu_pd(r, _ZGVdN4v_exp(_mm256_loadu_pd(a.values)));
        std::copy(r, r + (count - i), out + i);
    }
}

__attribute__((target("avx2"))) void Log4(const double* in, double* out, std::size_t count) noexcept
{
    std::size_t i = 0;
    for (; i + 4 <= count; i += 4) _mm256_storeu_pd(out + i, _ZGVdN4v_log(_mm256_loadu_pd(in + i)));
    if (i < count) {
        const Padded<4> a(in, i, count);
        double r[4];
        _mm256_storeu_pd(r, _ZGVdN4v_log(_mm256_loadu_pd(a.values)));
        std::copy(r, r + (count - i), out + i);
    }
}

__attribute__((target("avx2"))) void Pow4(const double* x, const double* y, double* out, std::size_t count) noexcept
{
    std::size_t i = 0;
    for (; i + 4 <= count; i += 4)
        _mm256_storeu_pd(out + i, _ZGVdN4vv_pow(_mm256_loadu_pd(x + i), _mm256_loadu_pd(y + i)));
    if (i < count) {
        const Padded<4> a(x, i, count), b(y, i, count);
        double r[4];
        _mm256_storeu_pd(r, _ZGVdN4vv_pow(_mm256_loadu_pd(a.values), _mm256_loadu_pd(b.values)));
        std::copy(r, r + (count - i), out + i);
    }
}

void Exp2(const double* in, double* out, std::size_t count) noexcept
{
    std::size_t i = 0;
    for (; i + 2 <= count; i += 2) _mm_storeu_pd(out + i, _ZGVbN2v_exp(_mm_loadu_pd(in + i)));
    if (i < count) {
        const Padded<2> a(in, i, count);
        double r[2];
        _mm_storeu_pd(r, _ZGVbN2v_exp(_mm_loadu_pd(a.values)));
        out[i] = r[0];
    }
}

void Log2(const double* in, double* out, std::size_t count) noexcept
{
    std::size_t i = 0;
    for (; i + 2 <= count; i += 2) _mm_storeu_pd(out + i, _ZGVbN2v_log(_mm_loadu_pd(in + i)));
    if (i < count) {
        const Padded<2> a(in, i, count);
        double r[2];
        _mm_storeu_pd(r, _ZGVbN2v_log(_mm_loadu_pd(a.values)));
        out[i] = r[0];
    }
}

void Pow2(const double* x, const double* y, double* out, std::size_t count) noexcept
{
    std::size_t i = 0;
    for (; i + 2 <= count; i += 2) _mm_storeu_pd(out + i, _ZGVbN2vv_pow(_mm_loadu_pd(x + i), _mm_loadu_pd(y + i)));
    if (i < count) {
        const Padded<2> a(x, i, count), b(y, i, count);
        double r[2];
        _mm_storeu_pd(r, _ZGVbN2vv_pow(_mm_loadu_pd(a.values), _mm_loadu_pd(b.values)));
        out[i] = r[0];
    }
}

#pragma GCC diagnostic pop

} // namespace

void Exp(const double* in, double* out, std::size_t count) noexcept
{
    kFourLanes ? Exp4(in, out, count) : Exp2(in, out, count);
}

void Log(const double* in, double* out, std::size_t count) noexcept
{
    kFourLanes ? Log4(in, out, count) : Log2(in, out, count);
}

void Pow(const double* x, const double* y, double* out, std::size_t count) noexcept
{
    kFourLanes ? Pow4(x, y, out, count) : Pow2(x, y, out, count);
}

bool UsesFourLanes() noexcept
{
    return kFourLanes;
}

#else

void Exp(const double* in, double* out, std::size_t count) noexcept
{
    for (std::size_t i = 0; i < count; ++i) out[i] = std::exp(in[i]);
}

void Log(const double* in, double* out, std::size_t count) noexcept
{
    for (std::size_t i = 0; i < count; ++i) out[i] = std::log(in[i]);
}

void Pow(const double* x, const double* y, double* out, std::size_t count) noexcept
{
    for (std::size_t i = 0; i < count; ++i) out[i] = std::pow(x[i], y[i]);
}

bool UsesFourLanes() noexcept
{
    return false;
}

#endif

double Exp(double x) noexcept
{
    double out = 0.0;
    Exp(&x, &out, 1);
    return out;
}

double Log(double x) noexcept
{
    double out = 0.0;
    Log(&x, &out, 1);
    return out;
}

double Pow(double x, double y) noexcept
{
    double out = 0.0;
    Pow(&x, &y, &out, 1);
    return out;
}

} // namespace movra::vector_math
