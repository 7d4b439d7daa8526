// Time per converged fit and model evaluations per fit for list formulas 0
// and 11 on a 200-point noisy curve from the fit run's default start values:
// our engine with a per-point and with a whole-curve model, against GSL's
// trust-region Levenberg-Marquardt (finite-difference Jacobian) on the same
// data and model. Prints the time ratios at the end.

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <map>
#include <random>
#include <span>
#include <string>

#include "fitting/curve_fitter.h"
#include "fitting/fit_formulas.h"
#include "regression/regress.h"

#ifdef MOVRA_HAVE_GSL
#include <gsl/gsl_blas.h>
#include <gsl/gsl_multifit_nlinear.h>
#include <gsl/gsl_vector.h>
#endif

namespace {

using namespace movra;

constexpr int PointCount = 200;
constexpr double Tolerance = 1e-6;  // the fit run's default
constexpr int MaxIterations = 500;  // the fit run's default
const double StartValues[8] = {4000, -3000, 1, 10, 1, 0.001, 0.001, 1};

// The fit run's clamp of model values.
inline double Clamped(double value)
{
    if (std::isnan(value) || value > 1e20) return 1e20;
    if (value < -1e20) return -1e20;
    return value;
}

// List entry 0: m1+(m2+m3*x)/(1+exp((m4-x)/m5)).
inline double Entry0(double x, const double* m)
{
    return Clamped(m[1] + (m[2] + m[3] * x) / (1 + std::exp((m[4] - x) / m[5])));
}

// List entry 11: m1+m7*x+(m2+m6*x)/(1+abs(m5)*exp(-m3*(x-m4)))^(1/abs(m5)).
inline double Entry11(double x, const double* m)
{
    const double a5 = std::fabs(m[5]);
    return Clamped(m[1] + m[7] * x + (m[2] + m[6] * x) / std::pow(1 + a5 * std::exp(-m[3] * (x - m[4])), 1 / a5));
}

struct Problem {
    const char* Name;
    int Parameters;
    double (*Model)(double, const double*);
    TVector X, Y;  // points 1..PointCount
};

Problem MakeProblem(const char* name, int parameters, double (*model)(double, const double*),
                    const std::vector<double>& truth)
{
    Problem p{name, parameters, model, {}, {}};
    AllocVector(p.X, PointCount);
    AllocVector(p.Y, PointCount);
    std::mt19937 random(20261206);
    std::normal_distribution<double> noise(0.0, 15.0);
    for (int i = 1; i <= PointCount; ++i) {
        p.X[i] = 0.2 * (i - 1);
        p.Y[i] = model(p.X[i], truth.data()) + noise(random);
    }
    return p;
}

const Problem& Formula0()
{
    static const Problem p = MakeProblem("entry0", 5, Entry0, {0, 4200, -2800, 2, 12, 1.5});
    return p;
}

const Problem& Formula11()
{
    static const Problem p = MakeProblem("entry11", 7, Entry11, {0, 4100, -2900, 0.8, 12, 1.3, 3, 0.5});
    return p;
}

TVector Start(int parameters)
{
    TVector b;
    AllocVector(b, parameters);
    for (int j = 1; j <= parameters; ++j) b[j] = StartValues[j - 1];
    return b;
}

void Report(benchmark::State& state, double curveEvaluations, double rss, bool ok)
{
    state.counters["curve_evals"] = curveEvaluations;
    state.counters["rss"] = rss;
    if (!ok) state.SkipWithError("fit did not converge");
}

double Rss(const Problem& p, const TVector& b)
{
    double s = 0;
    for (int i = 1; i <= PointCount; ++i) {
        const double r = p.Y[i] - p.Model(p.X[i], b.data());
        s += r * r;
    }
    return s;
}

FitOptions Options()
{
    FitOptions options;
    options.MaxIterations = MaxIterations;
    options.Tolerance = Tolerance;
    return options;
}

// Fits p from the standard start with the given model and derivative
// procedure, as often as the benchmark asks, and reports the last fit.
template <typename Model, typename Derivatives>
void RunOurFit(benchmark::State& state, const Problem& p, const Model& model, Derivatives derivatives)
{
    TVector bMin, bMax, b;
    TMatrix v;
    AllocVector(bMin, p.Parameters);
    AllocVector(bMax, p.Parameters);
    for (int j = 1; j <= p.Parameters; ++j) bMin[j] = -1e20, bMax[j] = 1e20;
    RegressionFit fit;
    std::int32_t status = OptOk;
    for (auto _ : state) {
        b = Start(p.Parameters);
        AllocMatrix(v, p.Parameters, p.Parameters);
        status = fit.RunFit(model, derivatives, p.X, p.Y, PointCount, 1, p.Parameters, b, bMin, bMax, v, Options())
                     .Status;
        benchmark::DoNotOptimize(b.data());
    }
    Report(state, static_cast<double>(fit.PointEvaluations()) / PointCount, Rss(p, b), status == OptOk);
}

template <double (*Model)(double, const double*)>
void OurPointModel(benchmark::State& state, const Problem& p)
{
    const ModelFunction model = [](double x, const TVector& m) { return Model(x, m.data()); };
    RunOurFit(state, p, model, ModelDerivatives);
}

template <double (*Model)(double, const double*)>
void OurCurveModel(benchmark::State& state, const Problem& p)
{
    const CurveModelFunction model = [](std::span<const double> xs, const TVector& m, std::span<double> out) {
        const double* params = m.data();
        for (std::size_t i = 0; i < xs.size(); ++i) out[i] = Model(xs[i], params);
    };
    RunOurFit(state, p, model, CurveModelDerivatives);
}

#ifdef MOVRA_HAVE_GSL
struct GslData {
    const Problem* P;
    long Calls = 0;
    double M[9] = {};
};

template <double (*Model)(double, const double*)>
int GslResidualsOf(const gsl_vector* params, void* data, gsl_vector* f)
{
    auto* d = static_cast<GslData*>(data);
    ++d->Calls;
    for (int j = 1; j <= d->P->Parameters; ++j) d->M[j] = gsl_vector_get(params, static_cast<size_t>(j - 1));
    for (int i = 1; i <= PointCount; ++i)
        gsl_vector_set(f, static_cast<size_t>(i - 1), Model(d->P->X[i], d->M) - d->P->Y[i]);
    return GSL_SUCCESS;
}

template <double (*Model)(double, const double*)>
void GslFit(benchmark::State& state, const Problem& p)
{
    GslData data{&p};
    gsl_multifit_nlinear_fdf fdf{};
    fdf.f = GslResidualsOf<Model>;
    fdf.df = nullptr;  // finite differences, as our engine
    fdf.fvv = nullptr;
    fdf.n = PointCount;
    fdf.p = static_cast<size_t>(p.Parameters);
    fdf.params = &data;
    gsl_multifit_nlinear_parameters options = gsl_multifit_nlinear_default_parameters();
    gsl_multifit_nlinear_workspace* work =
        gsl_multifit_nlinear_alloc(gsl_multifit_nlinear_trust, &options, PointCount, fdf.p);
    gsl_vector* x0 = gsl_vector_alloc(fdf.p);
    int info = 0;
    int status = GSL_SUCCESS;
    long calls = 0;
    for (auto _ : state) {
        for (size_t j = 0; j < fdf.p; ++j) gsl_vector_set(x0, j, StartValues[j]);
        data.Calls = 0;
        gsl_multifit_nlinear_init(x0, &fdf, work);
        status = gsl_multifit_nlinear_driver(MaxIterations, Tolerance, 1e-8, 0.0, nullptr, nullptr, &info, work);
        calls = data.Calls;
        benchmark::DoNotOptimize(work);
    }
    TVector b;
    AllocVector(b, p.Parameters);
    for (int j = 1; j <= p.Parameters; ++j) b[j] = gsl_vector_get(work->x, static_cast<size_t>(j - 1));
    Report(state, static_cast<double>(calls), Rss(p, b), status == GSL_SUCCESS);
    gsl_vector_free(x0);
    gsl_multifit_nlinear_free(work);
}
#endif

// The fit as the program runs it: the model of the formula box (list entry
// 0 as compiled code, entry 11 through the parser's array evaluation) with
// exact derivatives from the compiled formula, or forward differences.
void OurProgramFit(benchmark::State& state, const Problem& p, int entry, DerivativeMode derivatives)
{
    TParser parser2;
    const auto slots = DefineFitParameters(parser2);
    const std::string text(kFitFormulas[static_cast<std::size_t>(entry)]);
    parser2.setExpression(text);
    FitSettings settings;
    settings.FitFormulaText = text;
    settings.FitFormulaIndex = entry;
    settings.Names = FitParameterNames(text);
    for (int j = 1; j <= p.Parameters; ++j) settings.StartValues.push_back(StartValues[j - 1]);
    AllocVector(settings.LimitMin, 8);
    AllocVector(settings.LimitMax, 8);
    for (int j = 1; j <= 8; ++j) settings.LimitMin[j] = -1e20, settings.LimitMax[j] = 1e20;
    settings.MaxIterations = MaxIterations;
    settings.Tolerance = Tolerance;
    settings.View = {1, PointCount};
    settings.Derivatives = derivatives;
    CurveFitter fitter(parser2, slots, settings);
    CurveFitResult result;
    for (auto _ : state) {
        result = fitter.Fit(p.X, p.Y, PointCount);
        benchmark::DoNotOptimize(result.Row.data());
    }
    Report(state, static_cast<double>(fitter.Regression().PointEvaluations()) / PointCount, result.Row[0],
           result.Status == OptOk);
}

// One evaluation of the model over the 200 points: the cost unit of a fit.
template <double (*Model)(double, const double*)>
void ModelCurve(benchmark::State& state, const Problem& p)
{
    TVector b = Start(p.Parameters);
    std::vector<double> out(PointCount);
    for (auto _ : state) {
        b[1] += 1e-9;
        for (int i = 1; i <= PointCount; ++i) out[static_cast<size_t>(i - 1)] = Model(p.X[i], b.data());
        benchmark::DoNotOptimize(out.data());
    }
}

void BM_Entry0_OurPointModel(benchmark::State& s) { OurPointModel<Entry0>(s, Formula0()); }
void BM_Entry0_OurCurveModel(benchmark::State& s) { OurCurveModel<Entry0>(s, Formula0()); }
void BM_Entry11_OurPointModel(benchmark::State& s) { OurPointModel<Entry11>(s, Formula11()); }
void BM_Entry11_OurCurveModel(benchmark::State& s) { OurCurveModel<Entry11>(s, Formula11()); }
void BM_Entry0_ModelCurve(benchmark::State& s) { ModelCurve<Entry0>(s, Formula0()); }
void BM_Entry11_ModelCurve(benchmark::State& s) { ModelCurve<Entry11>(s, Formula11()); }
void BM_Entry0_ProgramExact(benchmark::State& s) { OurProgramFit(s, Formula0(), 0, DerivativeMode::Exact); }
void BM_Entry11_ProgramExact(benchmark::State& s) { OurProgramFit(s, Formula11(), 11, DerivativeMode::Exact); }
void BM_Entry0_ProgramNumeric(benchmark::State& s)
{
    OurProgramFit(s, Formula0(), 0, DerivativeMode::ForwardDifferences);
}
void BM_Entry11_ProgramNumeric(benchmark::State& s)
{
    OurProgramFit(s, Formula11(), 11, DerivativeMode::ForwardDifferences);
}
BENCHMARK(BM_Entry0_ProgramExact)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Entry11_ProgramExact)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Entry0_ProgramNumeric)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Entry11_ProgramNumeric)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Entry0_ModelCurve)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Entry11_ModelCurve)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Entry0_OurPointModel)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Entry0_OurCurveModel)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Entry11_OurPointModel)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Entry11_OurCurveModel)->Unit(benchmark::kMicrosecond);
#ifdef MOVRA_HAVE_GSL
void BM_Entry0_Gsl(benchmark::State& s) { GslFit<Entry0>(s, Formula0()); }
void BM_Entry11_Gsl(benchmark::State& s) { GslFit<Entry11>(s, Formula11()); }
BENCHMARK(BM_Entry0_Gsl)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Entry11_Gsl)->Unit(benchmark::kMicrosecond);
#endif

// Console output plus, at the end, our CPU time per fit over the baseline's
// (CPU time, because the machine running the benchmarks may be shared).
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs) {
            if (run.error_occurred || run.run_type != Run::RT_Iteration) continue;
            times_[run.benchmark_name()] = run.GetAdjustedCPUTime();
            const auto evals = run.counters.find("curve_evals");
            if (evals != run.counters.end()) evals_[run.benchmark_name()] = evals->second.value;
        }
        ConsoleReporter::ReportRuns(runs);
    }
    void Finalize() override
    {
        ConsoleReporter::Finalize();
        for (const char* entry : {"BM_Entry0", "BM_Entry11"}) {
            const std::string base = std::string(entry) + "_Gsl";
            if (!times_.count(base)) {
                std::printf("%s: no GSL baseline\n", entry);
                continue;
            }
            const double curve = times_[std::string(entry) + "_ModelCurve"];
            for (const char* fitter :
                 {"_OurPointModel", "_OurCurveModel", "_ProgramNumeric", "_ProgramExact", "_Gsl"}) {
                const std::string name = std::string(entry) + fitter;
                if (!times_.count(name)) continue;
                // Share of the fit spent evaluating the model itself.
                const double modelShare = curve > 0 ? evals_[name] * curve / times_[name] : 0.0;
                std::printf("%-26s CPU time per fit / GSL = %.2f   curve evaluations %.0f (x%.2f of GSL), "
                            "model share %.0f%%\n",
                            name.c_str(), times_[name] / times_[base], evals_[name], evals_[name] / evals_[base],
                            100.0 * modelShare);
            }
        }
    }

private:
    std::map<std::string, double> times_;
    std::map<std::string, double> evals_;
};

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
