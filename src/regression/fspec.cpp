#include "regression/fspec.h"

#include <cmath>
#include <limits>
#include <numbers>

#include "regression/float_constants.h"
#include "regression/fmath.h"

namespace movra {

namespace {

constexpr double PowerSeriesLimit = 0.95;
constexpr double Big = 9.223372036854776e18;          // 2^63
constexpr double BigInverse = 1.0842021724855044e-19;  // 2^-63
constexpr double FractionTolerance = 3.0 * FloatEpsilon;
constexpr int FractionPassLimit = 400;  // passes counted 0..400

// I_x(a, b) by its power series, for small b·x.
double PowerSeries(double a, double b, double x)
{
    double c = (1.0 - b) * x;
    double term = c / (a + 1.0);
    double sum = term;
    const double bound = FloatEpsilon / a;
    for (double n = 2.0; std::fabs(term) > bound; n += 1.0) {
        c = c * (n - b) * x / n;
        term = c / (a + n);
        sum += term;
    }
    const double s = 1.0 / a + sum;

    const double aLogX = a * std::log(x);
    if (a + b < GammaArgumentLimit && std::fabs(aLogX) < HighestExpArg)
        return s * SafePower(x, a) * GammaFunction(a + b) / (GammaFunction(a) * GammaFunction(b));
    const double u = LogGammaFunction(a + b) - LogGammaFunction(a) - LogGammaFunction(b) + aLogX + std::log(s);
    return u < LowestExpArg ? 0.0 : std::exp(u);
}

// The four recurrence values of a continued fraction and its convergent.
// Each pass applies two terms; the caller supplies them.
class ContinuedFraction {
public:
    // Applies the two partial numerators of one pass; returns true once the
    // relative change of the convergent is below the tolerance.
    bool Pass(double odd, double even)
    {
        Step(odd);
        Step(even);
        if (q1_ != 0.0) r_ = p1_ / q1_;
        double change = 1.0;
        if (r_ != 0.0) {
            change = std::fabs((convergent_ - r_) / r_);
            convergent_ = r_;
        }
        if (change < FractionTolerance) return true;
        if (std::fabs(q1_) + std::fabs(p1_) > Big) Scale(BigInverse);
        if (std::fabs(q1_) < BigInverse || std::fabs(p1_) < BigInverse) Scale(Big);
        return false;
    }

    double Convergent() const { return convergent_; }

private:
    void Step(double d)
    {
        const double p = p1_ + p2_ * d;
        const double q = q1_ + q2_ * d;
        p2_ = p1_;
        p1_ = p;
        q2_ = q1_;
        q1_ = q;
    }
    void Scale(double factor)
    {
        p2_ *= factor;
        p1_ *= factor;
        q2_ *= factor;
        q1_ *= factor;
    }

    double p2_ = 0.0, p1_ = 1.0;  // numerators
    double q2_ = 1.0, q1_ = 1.0;  // denominators
    double r_ = 1.0;
    double convergent_ = 1.0;
};

// Continued fraction in x: partial numerators -(a+m)(a+b+m)x/((a+2m)(a+2m+1))
// and (m+1)(b-m-1)x/((a+2m+1)(a+2m+2)), m = 0, 1, ...
double FractionInX(double a, double b, double x)
{
    ContinuedFraction f;
    double k1 = a, k2 = a + b, k3 = a, k4 = a + 1.0;
    double k5 = 1.0, k6 = b - 1.0, k7 = a + 1.0, k8 = a + 2.0;
    for (int pass = 0; pass <= FractionPassLimit; ++pass) {
        const double odd = -(x * k1 * k2) / (k3 * k4);
        const double even = (x * k5 * k6) / (k7 * k8);
        if (f.Pass(odd, even)) return f.Convergent();
        k1 += 1.0, k2 += 1.0, k3 += 2.0, k4 += 2.0;
        k5 += 1.0, k6 -= 1.0, k7 += 2.0, k8 += 2.0;
    }
    return SetFloatStatus(FloatNoConvergence, f.Convergent());
}

// Continued fraction in z = x/(1-x): partial numerators
// -(a+m)(b-m-1)z/((a+2m)(a+2m+1)) and (m+1)(a+b+m)z/((a+2m+1)(a+2m+2)).
double FractionInZ(double a, double b, double x)
{
    ContinuedFraction f;
    const double z = x / (1.0 - x);
    double k1 = a, k2 = b - 1.0, k3 = a, k4 = a + 1.0;
    double k5 = 1.0, k6 = a + b, k7 = a + 1.0, k8 = a + 2.0;
    for (int pass = 0; pass <= FractionPassLimit; ++pass) {
        const double odd = -(z * k1 * k2) / (k3 * k4);
        const double even = (z * k5 * k6) / (k7 * k8);
        if (f.Pass(odd, even)) return f.Convergent();
        k1 += 1.0, k2 -= 1.0, k3 += 2.0, k4 += 2.0;
        k5 += 1.0, k6 += 1.0, k7 += 2.0, k8 += 2.0;
    }
    return SetFloatStatus(FloatNoConvergence, f.Convergent());
}

// ln Γ(x) for large x by Stirling's series (x >= GammaArgumentLimit).
double StirlingLogGamma(double x)
{
    const double halfLog2Pi = 0.91893853320467274178;
    const double r = 1.0 / x;
    const double r2 = r * r;
    const double series = r * (1.0 / 12.0 - r2 * (1.0 / 360.0 - r2 * (1.0 / 1260.0 - r2 * (1.0 / 1680.0))));
    return (x - 0.5) * std::log(x) - x + halfLog2Pi + series;
}

} // namespace

double GammaFunction(double x) noexcept
{
    return std::tgamma(x);
}

double LogGammaFunction(double x) noexcept
{
    if (x >= GammaArgumentLimit) return StirlingLogGamma(x);
    if (x > 0.0) return std::log(std::tgamma(x));
    if (x == std::trunc(x)) return SetFloatStatus(FloatSingular, HugeFloat);  // pole
    // Reflection: Γ(x)Γ(1-x) = π / sin(πx).
    return std::log(std::numbers::pi / std::fabs(std::sin(std::numbers::pi * x))) - LogGammaFunction(1.0 - x);
}

double IncompleteBetaRatio(double a, double b, double x) noexcept
{
    SetFloatStatus(FloatOk, 0.0);
    if (a <= 0.0 || b <= 0.0 || x < 0.0) return SetFloatStatus(FloatDomain, 0.0);
    if (x > 1.0) return SetFloatStatus(FloatDomain, 1.0);
    if (x == 0.0 || x == 1.0) return x;

    if (b * x <= 1.0 && x <= PowerSeriesLimit) return PowerSeries(a, b, x);

    double xc = 1.0 - x;
    bool complemented = false;
    if (x > a / (a + b)) {
        // Beyond the mean the expansion converges better for I_(1-x)(b, a).
        std::swap(a, b);
        std::swap(x, xc);
        complemented = true;
    }

    double t = 0.0;
    if (complemented && b * x <= 1.0 && x <= PowerSeriesLimit) {
        t = PowerSeries(a, b, x);
    } else {
        const double y = x * (a + b - 2.0) - (a - 1.0);
        const double w = y < 0.0 ? FractionInX(a, b, x) : FractionInZ(a, b, x) / xc;
        const double aLogX = a * std::log(x);
        const double bLogXc = b * std::log(xc);
        if (a + b < GammaArgumentLimit && std::fabs(aLogX) < HighestExpArg && std::fabs(bLogXc) < HighestExpArg) {
            t = SafePower(x, a) * SafePower(xc, b) / a * w * GammaFunction(a + b)
                / (GammaFunction(a) * GammaFunction(b));
        } else {
            const double u = LogGammaFunction(a + b) - LogGammaFunction(a) - LogGammaFunction(b) + aLogX + bLogXc
                + std::log(w / a);
            t = u < LowestExpArg ? 0.0 : std::exp(u);
        }
    }

    if (complemented) t = t <= FloatEpsilon ? 1.0 - FloatEpsilon : 1.0 - t;
    return t;
}

double StudentTwoTailedP(std::int32_t nu, double t) noexcept
{
    SetFloatStatus(FloatOk, 0.0);
    if (nu < 1) return SetFloatStatus(FloatDomain, 0.0);
    const double n = nu;
    return IncompleteBetaRatio(n / 2.0, 0.5, n / (n + t * t));
}

double StudentTwoTailedQuantile(std::int32_t nu, double alpha) noexcept
{
    if (nu < 1 || !(alpha > 0.0 && alpha < 1.0)) return std::numeric_limits<double>::quiet_NaN();
    // P falls from 1 at t = 0 towards 0: widen the bracket, then halve it.
    double low = 0.0, high = 1.0;
    while (StudentTwoTailedP(nu, high) > alpha && high < 1e300) {
        low = high;
        high *= 2.0;
    }
    for (int step = 0; step < 2100; ++step) {
        const double middle = low + (high - low) / 2.0;
        if (middle <= low || middle >= high) break;
        (StudentTwoTailedP(nu, middle) > alpha ? low : high) = middle;
    }
    SetFloatStatus(FloatOk, 0.0);
    return low + (high - low) / 2.0;
}

double FisherUpperP(std::int32_t nu1, std::int32_t nu2, double f) noexcept
{
    SetFloatStatus(FloatOk, 0.0);
    if (!(nu1 >= 1 && nu2 >= 1 && f > 0.0)) return SetFloatStatus(FloatDomain, 0.0);
    const double n1 = nu1;
    const double n2 = nu2;
    return IncompleteBetaRatio(n2 / 2.0, n1 / 2.0, n2 / (n2 + n1 * f));
}

} // namespace movra
