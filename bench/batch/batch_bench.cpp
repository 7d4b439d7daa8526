// Wells fitted per second on a generated 384-well, 500-read kinetic plate
// (two wavelengths, "b-a", the default formula through the parser, start
// values that suit the plate): the batch plate fit with one thread and with
// all hardware threads, against GSL's trust-region Levenberg-Marquardt
// (finite-difference Jacobian, the formula as compiled C++) on the same
// points in one thread. Wall-clock rates; ratios printed at the end.
//
//   movra_bench_batch --write-plate FILE   writes the plate
//   movra_bench_batch --peak-memory FILE   runs movra-batch over FILE in this
//                                          process and prints its peak memory

#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <thread>

#include "batch/batch_settings.h"
#include "batch/plate_fit.h"
#include "batch_cli.h"
#include "fitting/fit_run.h"
#include "plate/plate_layout.h"
#include "plate/sm_import.h"
#include "plate/synthetic_plate.h"
#include "reduction/sample_wells.h"

#ifdef MOVRA_HAVE_GSL
#include <gsl/gsl_multifit_nlinear.h>
#include <gsl/gsl_vector.h>
#endif

namespace {

using namespace movra;

const std::array<std::string, 9> kStartTexts{"", "0.1", "0.7", "10", "0.8", "1", "0.01", "0.01", "1"};
const char* kStartOption = "m1=0.1,m2=0.7,m3=10,m4=0.8,m5=1,m6=0.01,m7=0.01";

std::string PlateText()
{
    SyntheticPlateOptions options;
    options.wellCount = 384;
    options.waveLengths = {340, 405};
    options.reads = 500;
    options.intervalSeconds = 15;  // 0 to about 2 h, as the demo plate
    options.noise = 0.003;
    options.seed = 20261206;
    return WriteSyntheticPlate(options);
}

int HardwareThreads() { return std::max(1, static_cast<int>(std::thread::hardware_concurrency())); }

// The imported plate, every well in Sample1, and the prepared default fit.
struct PlateFixture {
    PlateMeasurements plate;
    std::vector<BatchCurve> curves;
    PlateFitSettings settings;

    PlateFixture()
    {
        SilentImportInteraction answers;
        auto imported = ImportSMText(TextLines(PlateText()), answers);
        plate = std::move(imported->plate);
        PlateLayout layout;
        layout.Reset();
        layout.SetGeometryForWellCount(plate.WellCount);
        for (int row = 1; row <= layout.PlateRows(); ++row)
            for (int column = 1; column <= layout.PlateColumns(); ++column) layout.SetCell(column, row, "Sample1");
        SampleAssignment samples;
        FillSampleArray(layout, plate, samples);
        curves = CurvesToFit(plate, samples, false);
        BatchSettings texts;
        texts.StartTexts = kStartTexts;
        settings = ConvertBatchSettings(texts);
        settings.Fit.View = ReadsInView(plate.TimePointCount, texts.ViewStart, texts.ViewFinish);
    }
};

const PlateFixture& Fixture()
{
    static const PlateFixture fixture;
    return fixture;
}

// CPU seconds of the whole process (all threads) so far.
double ProcessCpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) * 1e-6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

void BM_PlateFit(benchmark::State& bench)
{
    const PlateFixture& f = Fixture();
    const int threads = static_cast<int>(bench.range(0));
    int fitted = 0;
    const double cpuBefore = ProcessCpuSeconds();
    for (auto _ : bench) {
        const auto outcomes = FitPlateCurves(f.plate, f.curves, f.settings.Combination, f.settings.Fit, threads);
        fitted = 0;
        for (const auto& outcome : outcomes) fitted += outcome.Result.Status == OptOk ? 1 : 0;
        benchmark::DoNotOptimize(outcomes.data());
    }
    bench.SetItemsProcessed(bench.iterations() * static_cast<std::int64_t>(f.curves.size()));
    bench.counters["fitted"] = fitted;
    bench.counters["threads"] = threads;
    // CPU per well over all threads: what the fit costs, whatever else runs on the machine.
    bench.counters["cpu_ms_per_well"] = 1e3 * (ProcessCpuSeconds() - cpuBefore) /
                                        static_cast<double>(bench.iterations() * static_cast<std::int64_t>(f.curves.size()));
}
BENCHMARK(BM_PlateFit)->Arg(1)->Arg(HardwareThreads())->Iterations(2)->UseRealTime()->Unit(benchmark::kMillisecond);

#ifdef MOVRA_HAVE_GSL
// List entry 11 as C++, with the fit run's clamp.
double Entry11(double x, const double* m)
{
    const double a5 = std::fabs(m[5]);
    const double value = m[1] + m[7] * x + (m[2] + m[6] * x) / std::pow(1 + a5 * std::exp(-m[3] * (x - m[4])), 1 / a5);
    if (std::isnan(value) || value > 1e20) return 1e20;
    return value < -1e20 ? -1e20 : value;
}

struct GslCurve {
    const CurvePoints* Points;
    double M[9] = {};
};

int GslResiduals(const gsl_vector* params, void* data, gsl_vector* f)
{
    auto* d = static_cast<GslCurve*>(data);
    for (std::size_t j = 1; j <= 7; ++j) d->M[j] = gsl_vector_get(params, j - 1);
    for (std::int32_t i = 1; i <= d->Points->Count; ++i) {
        const auto p = static_cast<std::size_t>(i);
        gsl_vector_set(f, p - 1, Entry11(d->Points->X[p], d->M) - d->Points->Y[p]);
    }
    return GSL_SUCCESS;
}

void BM_GslPlateFit(benchmark::State& bench)
{
    const PlateFixture& f = Fixture();
    // The same points the batch fits, computed outside the timing.
    std::vector<CurvePoints> points;
    {
        TParser parser1;
        const CombinationSettings& combination = f.settings.Combination;
        ParserCombinedValues values(parser1, f.plate, combination.CombinationText, combination.Weighting);
        values.CompileCombination();
        for (const auto& curve : f.curves)
            points.push_back(CurvePointsInView(f.plate.TimeVector,
                                               CombinedCurve(values, curve.Wells, f.plate.TimePointCount),
                                               f.plate.TimePointCount, f.settings.Fit.View));
    }
    const std::size_t n = static_cast<std::size_t>(points.front().Count);
    const std::size_t p = f.settings.Fit.StartValues.size();
    gsl_multifit_nlinear_parameters options = gsl_multifit_nlinear_default_parameters();
    gsl_multifit_nlinear_workspace* work = gsl_multifit_nlinear_alloc(gsl_multifit_nlinear_trust, &options, n, p);
    gsl_vector* x0 = gsl_vector_alloc(p);
    int fitted = 0;
    const double cpuBefore = ProcessCpuSeconds();
    for (auto _ : bench) {
        fitted = 0;
        for (const auto& curve : points) {
            GslCurve data{&curve};
            gsl_multifit_nlinear_fdf fdf{};
            fdf.f = GslResiduals;
            fdf.n = n;
            fdf.p = p;
            fdf.params = &data;
            for (std::size_t j = 0; j < p; ++j) gsl_vector_set(x0, j, f.settings.Fit.StartValues[j]);
            int info = 0;
            gsl_multifit_nlinear_init(x0, &fdf, work);
            const int status = gsl_multifit_nlinear_driver(f.settings.Fit.MaxIterations, 1e-6, 1e-8, 0.0, nullptr, nullptr,
                                                           &info, work);
            fitted += status == GSL_SUCCESS ? 1 : 0;
            benchmark::DoNotOptimize(work);
        }
    }
    bench.SetItemsProcessed(bench.iterations() * static_cast<std::int64_t>(points.size()));
    bench.counters["fitted"] = fitted;
    bench.counters["cpu_ms_per_well"] = 1e3 * (ProcessCpuSeconds() - cpuBefore) /
                                        static_cast<double>(bench.iterations() * static_cast<std::int64_t>(points.size()));
    gsl_vector_free(x0);
    gsl_multifit_nlinear_free(work);
}
BENCHMARK(BM_GslPlateFit)->Iterations(2)->UseRealTime()->Unit(benchmark::kMillisecond);
#endif

// Console output, then wells per second of each run and the ratios.
class RateReporter : public benchmark::ConsoleReporter {
public:
    RateReporter() : ConsoleReporter(OO_Tabular) {}
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs) {
            if (run.error_occurred || run.run_type != Run::RT_Iteration) continue;
            const auto rate = run.counters.find("items_per_second");
            if (rate != run.counters.end()) rates_[run.benchmark_name()] = rate->second.value;
            const auto cpu = run.counters.find("cpu_ms_per_well");
            if (cpu != run.counters.end()) cpu_[run.benchmark_name()] = cpu->second.value;
        }
        ConsoleReporter::ReportRuns(runs);
    }
    void Finalize() override
    {
        ConsoleReporter::Finalize();
        const std::string one = "BM_PlateFit/1/iterations:2/real_time";
        const std::string all = "BM_PlateFit/" + std::to_string(HardwareThreads()) + "/iterations:2/real_time";
        const std::string gsl = "BM_GslPlateFit/iterations:2/real_time";
        std::printf("\nwells per second (wall clock), 384 wells x 500 reads, default formula:\n");
        std::printf("  movra, 1 thread:        %8.1f\n", rates_[one]);
        std::printf("  movra, %d threads:       %8.1f   speed-up x%.2f over 1 thread\n", HardwareThreads(),
                    rates_[all], rates_[one] > 0 ? rates_[all] / rates_[one] : 0.0);
        if (rates_.count(gsl)) {
            std::printf("  GSL nlinear, 1 thread:  %8.1f\n", rates_[gsl]);
            std::printf("  movra 1 thread / GSL = x%.2f, movra all threads / GSL = x%.2f\n", rates_[one] / rates_[gsl],
                        rates_[all] / rates_[gsl]);
        } else {
            std::printf("  (no GSL baseline in this build)\n");
        }
        std::printf("CPU ms per well (all threads): movra 1 thread %.2f, movra %d threads %.2f", cpu_[one],
                    HardwareThreads(), cpu_[all]);
        if (cpu_.count(gsl)) std::printf(", GSL %.2f (movra 1 thread / GSL = x%.2f)", cpu_[gsl], cpu_[one] / cpu_[gsl]);
        std::printf("\n");
    }

private:
    std::map<std::string, double> rates_;
    std::map<std::string, double> cpu_;
};

int WritePlate(const char* path)
{
    std::ofstream(path, std::ios::binary) << PlateText();
    return 0;
}

int PeakMemory(const char* path)
{
    rusage before{};
    getrusage(RUSAGE_SELF, &before);
    std::ostringstream out, err;
    const int status = RunBatch({path, "--quiet", "--start", kStartOption}, out, err);
    rusage after{};
    getrusage(RUSAGE_SELF, &after);
    std::istringstream lines(err.str());
    std::string last;
    for (std::string line; std::getline(lines, line);) last = line;
    std::printf("movra-batch over %s (all threads): exit %d, %s\n", path, status, last.c_str());
    std::printf("peak memory (ru_maxrss): %.1f MB (process before the run: %.1f MB)\n", static_cast<double>(after.ru_maxrss) / 1024.0,
                static_cast<double>(before.ru_maxrss) / 1024.0);
    return status;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && std::strcmp(argv[1], "--write-plate") == 0) return WritePlate(argv[2]);
    if (argc == 3 && std::strcmp(argv[1], "--peak-memory") == 0) return PeakMemory(argv[2]);
    benchmark::Initialize(&argc, argv);
    RateReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
