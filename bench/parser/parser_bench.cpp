// Evaluation speed of the twelve fit formulas: scalar Value, the array
// evaluation, the same formula hand-written in C++ (the practical limit) and
// muParser (when installed), all over the same abscissae in one run. Prints
// a table of points per second and the ratios array/hand-written and
// Value/muParser at the end.
#include <benchmark/benchmark.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "fitting/fit_formulas.h"
#include "parser/parser.h"

#ifdef MOVRA_BENCH_MUPARSER
#include <muParser.h>
#endif

namespace {

// The fit formula list the fitting controls offer.
constexpr const auto& kFormulas = movra::kFitFormulas;

constexpr std::size_t kPoints = 512;

// The default start values (m2 scaled down for the cosh formula, which
// would overflow everywhere with -3000).
std::array<double, 9> Parameters(std::size_t formula)
{
    std::array<double, 9> m = {0, 4000, -3000, 0.7, 10, 1, 0.001, 0.001, 1};
    if (formula == 10) m[2] = -0.05;
    return m;
}

std::vector<double> Abscissae()
{
    std::vector<double> xs(kPoints);
    for (std::size_t i = 0; i < kPoints; ++i) xs[i] = 0.5 + 20.0 * static_cast<double>(i) / kPoints;
    return xs;
}

double HandWritten(std::size_t index, const std::array<double, 9>& m, double x)
{
    switch (index) {
    case 0: return m[1] + (m[2] + m[3] * x) / (1 + std::exp((m[4] - x) / m[5]));
    case 1: return (m[1] + m[2] * x) + (m[3] + m[4] * x) / (1 + std::exp((m[5] - x) / m[6]));
    case 2: return m[1] + m[5] * x + m[2] * std::pow(1 - std::exp(-m[3] * x), m[4]);
    case 3: return m[1] + m[5] * x + (m[2] + m[6] * x) * std::pow(1 - std::exp(-m[3] * x), m[4]);
    case 4: return m[1] - m[2] * std::exp(-m[3] * x);
    case 5: return m[1] - m[2] * std::exp(-m[3] * x) + m[4] * x;
    case 6: return m[1] - m[2] * std::exp(-m[3] * x) - m[4] * std::exp(-m[5] * x);
    case 7: return m[1] - m[2] * std::exp(-m[3] * (x - m[6])) - m[4] * std::exp(-m[5] * (x - m[6]));
    case 8: return m[1] + m[2] * std::pow(x, m[3]) / (std::pow(m[4], m[3]) + std::pow(x, m[3]));
    case 9:
        return (m[1] + m[2] * x + (m[3] + m[4] * x) * std::exp(-m[6] * (1 / x - 1 / m[5]))) /
               (1 + std::exp(-m[6] * (1 / x - 1 / m[5])));
    case 10: return m[1] * (std::cosh(m[2] * x) - 1) + m[3];
    default:
        return m[1] + m[7] * x +
               (m[2] + m[6] * x) / std::pow(1 + std::fabs(m[5]) * std::exp(-m[3] * (x - m[4])), 1 / std::fabs(m[5]));
    }
}

struct CompiledFit {
    explicit CompiledFit(std::size_t index)
    {
        const auto m = Parameters(index);
        for (int k = 1; k <= 8; ++k) parser.SetVariable("m" + std::to_string(k), m[static_cast<std::size_t>(k)]);
        parser.setExpression(kFormulas[index]);
    }
    movra::TParser parser;
};

void BM_Value(benchmark::State& state)
{
    const auto index = static_cast<std::size_t>(state.range(0));
    CompiledFit fit(index);
    const std::vector<double> xs = Abscissae();
    for (auto _ : state) {
        double sum = 0;
        for (const double x : xs) {
            fit.parser.X() = x;
            sum += fit.parser.Value();
        }
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * kPoints));
}

void BM_Array(benchmark::State& state)
{
    const auto index = static_cast<std::size_t>(state.range(0));
    CompiledFit fit(index);
    const std::vector<double> xs = Abscissae();
    std::vector<double> out(kPoints);
    std::vector<movra::FaultKind> faults(kPoints);
    for (auto _ : state) {
        fit.parser.EvaluateMany(&fit.parser.X(), xs, out, faults);
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * kPoints));
}

void BM_HandWritten(benchmark::State& state)
{
    const auto index = static_cast<std::size_t>(state.range(0));
    const auto m = Parameters(index);
    const std::vector<double> xs = Abscissae();
    std::vector<double> out(kPoints);
    for (auto _ : state) {
        benchmark::DoNotOptimize(m.data());
        for (std::size_t i = 0; i < kPoints; ++i) out[i] = HandWritten(index, m, xs[i]);
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * kPoints));
}

#ifdef MOVRA_BENCH_MUPARSER
void BM_MuParser(benchmark::State& state)
{
    const auto index = static_cast<std::size_t>(state.range(0));
    auto m = Parameters(index);
    double x = 0;
    mu::Parser parser;
    for (int k = 1; k <= 8; ++k) parser.DefineVar("m" + std::to_string(k), &m[static_cast<std::size_t>(k)]);
    parser.DefineVar("x", &x);
    parser.SetExpr(std::string(kFormulas[index]));
    const std::vector<double> xs = Abscissae();
    for (auto _ : state) {
        double sum = 0;
        for (const double value : xs) {
            x = value;
            sum += parser.Eval();
        }
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * kPoints));
}
BENCHMARK(BM_MuParser)->DenseRange(0, 11);
#endif

BENCHMARK(BM_Value)->DenseRange(0, 11);
BENCHMARK(BM_Array)->DenseRange(0, 11);
BENCHMARK(BM_HandWritten)->DenseRange(0, 11);

// Collects points per second by kind and formula for the closing table.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            const std::string name = run.benchmark_name();
            const auto slash = name.find('/');
            if (slash == std::string::npos) continue;
            const auto rate = run.counters.find("items_per_second");
            if (rate == run.counters.end()) continue;
            // With repetitions only the median counts (it follows the single runs).
            const std::string argument = name.substr(slash + 1);
            const auto suffix = argument.find('_');
            if (suffix != std::string::npos && argument.substr(suffix) != "_median") continue;
            rates_[name.substr(0, slash)][std::stoi(argument)] = rate->second.value;
        }
    }

    void PrintTable() const
    {
        const auto rate = [this](const char* kind, int formula) {
            const auto byKind = rates_.find(kind);
            if (byKind == rates_.end()) return 0.0;
            const auto byFormula = byKind->second.find(formula);
            return byFormula == byKind->second.end() ? 0.0 : byFormula->second;
        };
        std::printf("\nMillions of points per second (ratios from the same run)\n");
        std::printf("%-8s %10s %10s %12s %10s %16s %15s\n", "formula", "Value", "array", "hand-written",
                    "muParser", "hand/array", "Value/muParser");
        for (int formula = 0; formula < 12; ++formula) {
            const double value = rate("BM_Value", formula);
            const double array = rate("BM_Array", formula);
            const double hand = rate("BM_HandWritten", formula);
            const double mu = rate("BM_MuParser", formula);
            std::printf("%-8d %10.2f %10.2f %12.2f %10.2f %16.2f %15.2f\n", formula, value / 1e6, array / 1e6,
                        hand / 1e6, mu / 1e6, array > 0 ? hand / array : 0.0, mu > 0 ? value / mu : 0.0);
        }
    }

private:
    std::map<std::string, std::map<int, double>> rates_;
};

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintTable();
    benchmark::Shutdown();
    return 0;
}
