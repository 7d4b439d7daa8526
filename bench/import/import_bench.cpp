// Import throughput of a generated 384-well, 4-wavelength, two-block kinetic
// file (over 5 MB) against a baseline measured in the same run: reading the
// same file line by line and converting every field with std::from_chars.
// Prints the ratio and the heap allocations per cell of one import.

#include <benchmark/benchmark.h>

#include <atomic>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <new>
#include <string>

#include "plate/plate_file_set.h"
#include "plate/sm_import.h"
#include "plate/text_decoding.h"

// Counts heap allocations; GCC cannot see that these replacements pair
// malloc with free consistently.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

namespace {

std::atomic<long long> g_allocations{0};

} // namespace

void* operator new(std::size_t size)
{
    g_allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void* operator new[](std::size_t size) { return operator new(size); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }

namespace {

constexpr int kReadsPerBlock = 240;

class BenchFile {
public:
    BenchFile()
    {
        folder_ = std::filesystem::temp_directory_path() / ("movra-bench-import-" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder_);
        path_ = folder_ / "plate-384-4wl-two-blocks.txt";
        const std::string text = movra::WriteSyntheticPlate(movra::LargeTwoBlockPlate(kReadsPerBlock));
        std::ofstream(path_, std::ios::binary) << text;
        size_ = text.size();
    }
    ~BenchFile()
    {
        std::error_code error;
        std::filesystem::remove_all(folder_, error);
    }
    const std::filesystem::path& Path() const { return path_; }
    std::size_t Size() const { return size_; }

private:
    std::filesystem::path folder_;
    std::filesystem::path path_;
    std::size_t size_ = 0;
};

const BenchFile& File()
{
    static const BenchFile file;
    return file;
}

movra::ImportedPlate ImportOnce()
{
    const movra::TextLines lines = movra::LoadTextLines(File().Path());
    movra::SilentImportInteraction interaction;
    auto imported = movra::ImportSMText(lines, interaction);
    if (!imported || imported->plate.TimePointCount != 2 * kReadsPerBlock) std::abort();
    return std::move(*imported);
}

void BM_ImportSMText(benchmark::State& state)
{
    for (auto _ : state) {
        auto imported = ImportOnce();
        benchmark::DoNotOptimize(imported.plate.PlateData.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(File().Size()));
}

void BM_BaselineGetlineFromChars(benchmark::State& state)
{
    for (auto _ : state) {
        std::ifstream file(File().Path(), std::ios::binary);
        std::string line;
        double sum = 0.0;
        while (std::getline(file, line)) {
            const char* p = line.data();
            const char* const end = p + line.size();
            while (p <= end) {
                const char* tab = p;
                while (tab < end && *tab != '\t') ++tab;
                double value = 0.0;
                std::from_chars(p, tab, value);
                sum += value;
                p = tab + 1;
            }
        }
        benchmark::DoNotOptimize(sum);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(File().Size()));
}

BENCHMARK(BM_BaselineGetlineFromChars)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImportSMText)->Unit(benchmark::kMillisecond);

class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        // One figure per benchmark: the single run, or the median of repetitions.
        for (const auto& run : runs) {
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name != "median") continue;
            const auto found = run.counters.find("bytes_per_second");
            if (found != run.counters.end()) bytesPerSecond[run.run_name.function_name] = found->second.value;
        }
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> bytesPerSecond;
};

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    std::printf("file: %.2f MB (384 wells, 4 wavelengths, 2 blocks of %d reads)\n", static_cast<double>(File().Size()) / 1e6,
                kReadsPerBlock);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);

    const double import = reporter.bytesPerSecond["BM_ImportSMText"] / 1e6;
    const double baseline = reporter.bytesPerSecond["BM_BaselineGetlineFromChars"] / 1e6;
    if (import > 0 && baseline > 0)
        std::printf("import %.1f MB/s, baseline %.1f MB/s, baseline/import time ratio %.2f (target <= 2)\n", import,
                    baseline, baseline / import);

    const long long before = g_allocations.load();
    const auto imported = ImportOnce();
    const long long allocations = g_allocations.load() - before;
    const double cells = 2.0 * kReadsPerBlock * 384 * 4;
    std::printf("heap allocations in one import: %lld (%.4f per cell)\n", allocations,
                static_cast<double>(allocations) / cells);
    benchmark::Shutdown();
    return 0;
}
