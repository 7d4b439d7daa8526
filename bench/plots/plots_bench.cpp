// Cost of movra-batch's --plots on the demo plate with its layout (96
// wells in 12 samples, default formula, start values that fit every well):
// the whole run in this process without pictures (the baseline) and with one
// PNG (300 dpi), SVG or PDF picture per sample, on one thread and on all
// hardware threads. Wall clock and CPU time; prints what the pictures add
// and the ratios to the baseline at the end.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

#include "batch_cli.h"

namespace {

const std::string kData = MOVRA_DATA;
const char* const kFormats[] = {"none", "png", "svg", "pdf"};

int HardwareThreads() { return std::max(1, static_cast<int>(std::thread::hardware_concurrency())); }

std::filesystem::path Folder()
{
    return std::filesystem::temp_directory_path() / ("movra-bench-plots-" + std::to_string(::getpid()));
}

// state.range(0): index into kFormats; state.range(1): threads.
void BM_BatchRun(benchmark::State& state)
{
    const std::string format = kFormats[state.range(0)];
    std::vector<std::string> args = {kData + "/demo-kinetic-96.txt", "--layout", kData + "/demo-layout.PLO",
                                     "--start", "m1=0.1,m2=0.7,m3=10,m4=0.8,m5=1,m6=0.01,m7=0.01",
                                     "--threads", std::to_string(state.range(1)), "--quiet"};
    if (format != "none") args.insert(args.end(), {"--plots", Folder().string(), "--plot-format", format});
    for (auto _ : state) {
        std::ostringstream out, err;
        if (movra::RunBatch(args, out, err) != 0) state.SkipWithError(err.str().c_str());
    }
    state.SetLabel(format);
}
BENCHMARK(BM_BatchRun)
    ->ArgsProduct({{0, 1, 2, 3}, {1, HardwareThreads()}})
    ->Iterations(3)
    ->UseRealTime()
    ->MeasureProcessCPUTime()
    ->Unit(benchmark::kMillisecond);

class AddedTimeReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs)
            if (!run.error_occurred && run.run_type == Run::RT_Iteration)
                times_[run.benchmark_name()] = {run.GetAdjustedRealTime(), run.GetAdjustedCPUTime()};
        ConsoleReporter::ReportRuns(runs);
    }
    void Finalize() override
    {
        ConsoleReporter::Finalize();
        std::printf("\nwhat --plots adds to a run of the demo plate (12 pictures), ms wall / ms CPU:\n");
        for (const int threads : {1, HardwareThreads()}) {
            const auto name = [threads](int format) {
                return "BM_BatchRun/" + std::to_string(format) + "/" + std::to_string(threads) +
                       "/iterations:3/process_time/real_time";
            };
            const auto base = times_[name(0)];
            std::printf("  %d thread%s, run without pictures %.0f / %.0f:\n", threads, threads == 1 ? "" : "s",
                        base.first, base.second);
            for (int format = 1; format <= 3; ++format) {
                const auto with = times_[name(format)];
                std::printf("    %s  +%.0f / +%.0f   (x%.1f wall of the run without)\n", kFormats[format],
                            with.first - base.first, with.second - base.second,
                            base.first > 0 ? with.first / base.first : 0.0);
            }
        }
        std::filesystem::remove_all(Folder());
    }

private:
    std::map<std::string, std::pair<double, double>> times_;
};

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    AddedTimeReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
