#include "regression/regress.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <utility>

#include "regression/float_constants.h"

namespace movra {

namespace {

// Puts a parameter back to its value when the derivative loop is left, also
// when the model throws.
class ParameterRestore {
public:
    ParameterRestore(double& slot, double value) : slot_(slot), value_(value) {}
    ~ParameterRestore() { slot_ = value_; }
    ParameterRestore(const ParameterRestore&) = delete;
    ParameterRestore& operator=(const ParameterRestore&) = delete;

private:
    double& slot_;
    double value_;
};

} // namespace

double PerturbedParameter(double b) noexcept
{
    const double relative = b + std::fabs(b) * SqrtFloatEpsilon;
    if (relative != b) return relative;
    return b + AbsoluteDerivativeStep;
}

void ModelDerivatives(const ModelFunction& func, double x, double y, TVector& b, std::int32_t firstPar,
                      std::int32_t lastPar, TVector& d)
{
    for (std::int32_t j = firstPar; j <= lastPar; ++j) {
        const double old = b[j];
        const double perturbed = PerturbedParameter(old);
        const ParameterRestore restore(b[j], old);
        b[j] = perturbed;
        d[j] = (func(x, b) - y) / (perturbed - old);
    }
}

void CurveModelDerivatives(const CurveModelFunction& func, std::span<const double> xs, std::span<const double> ys,
                           TVector& b, std::int32_t firstPar, std::int32_t lastPar, TMatrix& d)
{
    const std::size_t n = xs.size();
    for (std::int32_t j = firstPar; j <= lastPar; ++j) {
        const double old = b[j];
        const double perturbed = PerturbedParameter(old);
        const ParameterRestore restore(b[j], old);
        b[j] = perturbed;
        const std::span<double> column(d[j].data(), n);
        func(xs, b, column);
        const double step = perturbed - old;
        for (std::size_t i = 0; i < n; ++i) column[i] = (column[i] - ys[i]) / step;
    }
}

FitSummary RegressionFit::RunFit(ModelFunction func, DerivativeProcedure deriv, const TVector& x, const TVector& y,
                                 std::int32_t n, std::int32_t firstPar, std::int32_t lastPar, TVector& b,
                                 const TVector& bMin, const TVector& bMax, TMatrix& v, const FitOptions& options)
{
    StoreFitData(std::move(func), deriv, x, y, n, firstPar, lastPar, bMin, bMax);
    return Minimise(b, v, options);
}

FitSummary RegressionFit::RunFit(CurveModelFunction func, CurveDerivativeProcedure deriv, const TVector& x,
                                 const TVector& y, std::int32_t n, std::int32_t firstPar, std::int32_t lastPar,
                                 TVector& b, const TVector& bMin, const TVector& bMax, TMatrix& v,
                                 const FitOptions& options)
{
    StoreFitData(std::move(func), deriv, x, y, n, firstPar, lastPar, bMin, bMax);
    return Minimise(b, v, options);
}

FitSummary RegressionFit::RunFit(CurveModelFunction func, CurveJacobianFunction jacobian, const TVector& x,
                                 const TVector& y, std::int32_t n, std::int32_t firstPar, std::int32_t lastPar,
                                 TVector& b, const TVector& bMin, const TVector& bMax, TMatrix& v,
                                 const FitOptions& options)
{
    StoreFitData(std::move(func), std::move(jacobian), x, y, n, firstPar, lastPar, bMin, bMax);
    return Minimise(b, v, options);
}

void RegressionFit::StoreFitData(CurveModelFunction func, CurveJacobianFunction jacobian, const TVector& x,
                                 const TVector& y, std::int32_t n, std::int32_t firstPar, std::int32_t lastPar,
                                 const TVector& bMin, const TVector& bMax)
{
    StoreFitData(std::move(func), CurveModelDerivatives, x, y, n, firstPar, lastPar, bMin, bMax);
    curveJacobian_ = std::move(jacobian);
}

void RegressionFit::StoreFitData(ModelFunction func, DerivativeProcedure deriv, const TVector& x, const TVector& y,
                                 std::int32_t n, std::int32_t firstPar, std::int32_t lastPar, const TVector& bMin,
                                 const TVector& bMax)
{
    StoreData(x, y, n, firstPar, lastPar, bMin, bMax);
    model_ = std::move(func);
    derivative_ = deriv != nullptr ? deriv : ModelDerivatives;
    curveModel_ = nullptr;
    curveDerivative_ = nullptr;
    curveJacobian_ = nullptr;
}

void RegressionFit::StoreFitData(CurveModelFunction func, CurveDerivativeProcedure deriv, const TVector& x,
                                 const TVector& y, std::int32_t n, std::int32_t firstPar, std::int32_t lastPar,
                                 const TVector& bMin, const TVector& bMax)
{
    StoreData(x, y, n, firstPar, lastPar, bMin, bMax);
    model_ = nullptr;
    derivative_ = nullptr;
    curveModel_ = std::move(func);
    curveDerivative_ = deriv != nullptr ? deriv : CurveModelDerivatives;
    curveJacobian_ = nullptr;
    AllocVector(curveValues_, n - 1);
    AllocMatrix(curveDerivatives_, lastPar, n - 1);
}

void RegressionFit::StoreData(const TVector& x, const TVector& y, std::int32_t n, std::int32_t firstPar,
                              std::int32_t lastPar, const TVector& bMin, const TVector& bMax)
{
    lastPoint_ = n;
    AllocVector(x_, n);
    AllocVector(y_, n);
    AllocVector(fittedValues_, n);
    CopyVectorRange(x_, x, FirstPoint, n);
    CopyVectorRange(y_, y, FirstPoint, n);
    AllocVector(bMin_, lastPar);
    AllocVector(bMax_, lastPar);
    CopyVectorRange(bMin_, bMin, firstPar, lastPar);
    CopyVectorRange(bMax_, bMax, firstPar, lastPar);
    firstPar_ = firstPar;
    lastPar_ = lastPar;
    AllocVector(derivatives_, lastPar);
    AllocVector(cachedParams_, lastPar);
    cacheComplete_ = false;
    pointEvaluations_ = 0;
    objectiveCalls_ = 0;
}

FitSummary RegressionFit::Minimise(TVector& b, TMatrix& v, const FitOptions& options)
{
    if (method_ != FitMethod::Marquardt) throw std::invalid_argument("fit method not available");
    const ObjectiveFunction objective = [this](const TVector& params) { return SumOfSquares(params); };
    const NormalEquationsFunction normal = [this](TVector& params, std::int32_t firstPar, std::int32_t lastPar,
                                                  TVector& g, TMatrix& h) {
        NormalMatrices(params, firstPar, lastPar, g, h);
    };
    const FeasibilityFunction feasible = [this](const TVector& params) { return !OutOfBounds(params); };
    return MarquardtMinimise(objective, normal, b, firstPar_, lastPar_, options, v, feasible);
}

bool RegressionFit::OutOfBounds(const TVector& b) const
{
    for (std::int32_t j = firstPar_; j <= lastPar_; ++j)
        if (b[j] < bMin_[j] || b[j] > bMax_[j]) return true;
    return false;
}

double RegressionFit::SumOfSquares(const TVector& b)
{
    ++objectiveCalls_;
    if (OutOfBounds(b)) return ObjectiveCeiling;
    // The point the cache holds needs no model evaluation: every line search
    // starts where the last one ended, and the normal equations were just
    // built there.
    const double s = CacheHolds(b) ? cachedSum_ : EvaluateModel(b, true);
    return s <= ObjectiveCeiling ? s : ObjectiveCeiling;
}

double RegressionFit::EvaluateModel(const TVector& b, bool stopAtCeiling)
{
    // The objective stops once the sum passes the ceiling (a NaN counts as
    // past it); later points keep their previously cached fitted values, so
    // the cache then belongs to no parameter vector.
    double s = 0.0;
    bool complete = true;
    if (curveModel_) {
        // The whole curve is computed at once, so the sum runs to the end:
        // the result past the ceiling is the ceiling all the same.
        if (lastPoint_ >= FirstPoint) {
            curveModel_(Points(x_), b, std::span<double>(curveValues_));
            pointEvaluations_ += lastPoint_;
            std::copy(curveValues_.begin(), curveValues_.begin() + lastPoint_, fittedValues_.begin() + FirstPoint);
            for (std::int32_t i = FirstPoint; i <= lastPoint_; ++i) {
                const double r = y_[i] - fittedValues_[i];
                s += r * r;
            }
        }
    } else {
        for (std::int32_t i = FirstPoint; i <= lastPoint_; ++i) {
            fittedValues_[i] = model_(x_[i], b);
            ++pointEvaluations_;
            const double r = y_[i] - fittedValues_[i];
            s += r * r;
            if (stopAtCeiling && !(s <= ObjectiveCeiling) && i < lastPoint_) {
                complete = false;
                break;
            }
        }
    }
    CopyVectorRange(cachedParams_, b, firstPar_, lastPar_);
    cacheComplete_ = complete;
    cachedSum_ = s;
    return s;
}

bool RegressionFit::CacheHolds(const TVector& b) const
{
    if (!cacheComplete_) return false;
    for (std::int32_t j = firstPar_; j <= lastPar_; ++j)
        if (cachedParams_[j] != b[j]) return false;
    return true;
}

void RegressionFit::NormalMatrices(TVector& b, std::int32_t firstPar, std::int32_t lastPar, TVector& g, TMatrix& h)
{
    for (std::int32_t j = firstPar; j <= lastPar; ++j) {
        g[j] = 0.0;
        for (std::int32_t k = j; k <= lastPar; ++k) h[j][k] = 0.0;
    }
    if (lastPoint_ >= FirstPoint) {
        // The differences need the model at B as their base: the last
        // objective evaluation was usually at a trial point of the line
        // search, and a base from elsewhere would add (f(B) - f(trial)) / h.
        if (curveJacobian_) {
            // One pass gives the model at B and its derivatives; the cache
            // then holds B.
            curveJacobian_(Points(x_), b, std::span<double>(curveValues_), curveDerivatives_);
            pointEvaluations_ += lastPoint_;
            double sum = 0.0;
            for (std::int32_t i = FirstPoint; i <= lastPoint_; ++i) {
                fittedValues_[i] = curveValues_[i - FirstPoint];
                const double r = y_[i] - fittedValues_[i];
                sum += r * r;
            }
            CopyVectorRange(cachedParams_, b, firstPar_, lastPar_);
            cacheComplete_ = true;
            cachedSum_ = sum;
        } else {
            if (!CacheHolds(b)) EvaluateModel(b, false);
            pointEvaluations_ += static_cast<std::int64_t>(lastPoint_) * (lastPar - firstPar + 1);
        }
        if (curveJacobian_) {
            // Dot products of whole derivative rows.
            const std::size_t n = static_cast<std::size_t>(lastPoint_);
            double* residuals = curveValues_.data();
            for (std::size_t p = 0; p < n; ++p) residuals[p] = y_[p + FirstPoint] - fittedValues_[p + FirstPoint];
            for (std::int32_t j = firstPar; j <= lastPar; ++j) {
                const double* dj = curveDerivatives_[j].data();
                double sum = 0.0;
                for (std::size_t p = 0; p < n; ++p) sum += dj[p] * residuals[p];
                g[j] = -sum;
                // Four products per pass: each sum still runs over the points
                // in order, but four independent sums keep the adder busy.
                std::int32_t k = j;
                for (; k + 3 <= lastPar; k += 4) {
                    const double* d0 = curveDerivatives_[k].data();
                    const double* d1 = curveDerivatives_[k + 1].data();
                    const double* d2 = curveDerivatives_[k + 2].data();
                    const double* d3 = curveDerivatives_[k + 3].data();
                    double s0 = 0.0, s1 = 0.0, s2 = 0.0, s3 = 0.0;
                    for (std::size_t p = 0; p < n; ++p) {
                        s0 += dj[p] * d0[p];
                        s1 += dj[p] * d1[p];
                        s2 += dj[p] * d2[p];
                        s3 += dj[p] * d3[p];
                    }
                    h[j][k] = s0;
                    h[j][k + 1] = s1;
                    h[j][k + 2] = s2;
                    h[j][k + 3] = s3;
                }
                for (; k <= lastPar; ++k) {
                    const double* dk = curveDerivatives_[k].data();
                    double product = 0.0;
                    for (std::size_t p = 0; p < n; ++p) product += dj[p] * dk[p];
                    h[j][k] = product;
                }
            }
        } else if (curveModel_) {
            // All derivative columns first; the sums below run in the same
            // order as for a per-point model, so both give identical results.
            curveDerivative_(curveModel_, Points(x_), Points(fittedValues_), b, firstPar, lastPar, curveDerivatives_);
            for (std::int32_t i = FirstPoint; i <= lastPoint_; ++i) {
                const double r = y_[i] - fittedValues_[i];
                const std::size_t p = static_cast<std::size_t>(i - FirstPoint);
                for (std::int32_t j = firstPar; j <= lastPar; ++j) {
                    const double dj = curveDerivatives_[j][p];
                    g[j] -= dj * r;
                    for (std::int32_t k = j; k <= lastPar; ++k) h[j][k] += dj * curveDerivatives_[k][p];
                }
            }
        } else {
            for (std::int32_t i = FirstPoint; i <= lastPoint_; ++i) {
                const double r = y_[i] - fittedValues_[i];
                derivative_(model_, x_[i], fittedValues_[i], b, firstPar, lastPar, derivatives_);
                for (std::int32_t j = firstPar; j <= lastPar; ++j) {
                    g[j] -= derivatives_[j] * r;
                    for (std::int32_t k = j; k <= lastPar; ++k) h[j][k] += derivatives_[j] * derivatives_[k];
                }
            }
        }
    }
    for (std::int32_t j = firstPar; j <= lastPar; ++j)
        for (std::int32_t k = j + 1; k <= lastPar; ++k) h[k][j] = h[j][k];
}

FitSummary RunFit(ModelFunction func, DerivativeProcedure deriv, const TVector& x, const TVector& y, std::int32_t n,
                  std::int32_t firstPar, std::int32_t lastPar, TVector& b, const TVector& bMin, const TVector& bMax,
                  TMatrix& v, const FitOptions& options)
{
    RegressionFit fit;
    return fit.RunFit(std::move(func), deriv, x, y, n, firstPar, lastPar, b, bMin, bMax, v, options);
}

} // namespace movra
