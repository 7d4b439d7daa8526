// Import throughput of a generated 384-well, 4-wavelength, two-block kinetic
// file (over 5 MB) and of a generated one-curve x/y table of a million rows
// (about 19 MB), each against a baseline measured in the same run: reading
// the same file line by line and converting every field with
// std::from_chars. Prints the ratios, the heap allocations per cell of one
// plate import and the peak heap of one table import against the file size.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <malloc.h>
#include <new>
#include <string>

#include "plate/plate_file_set.h"
#include "plate/sm_import.h"
#include "plate/table_import.h"
#include "plate/text_decoding.h"

// Counts heap allocations; GCC cannot see that these replacements pair
// malloc with free consistently.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

namespace {

std::atomic<long long> g_allocations{0};
std::atomic<long long> g_liveBytes{0};
std::atomic<long long> g_peakBytes{0};

void Release(void* p) noexcept
{
    if (p) g_liveBytes.fetch_sub(static_cast<long long>(malloc_usable_size(p)), std::memory_order_relaxed);
    std::free(p);
}

} // namespace

void* operator new(std::size_t size)
{
    g_allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size ? size : 1)) {
        const long long live = g_liveBytes.fetch_add(static_cast<long long>(malloc_usable_size(p)),
                                                     std::memory_order_relaxed) +
                               static_cast<long long>(malloc_usable_size(p));
        long long peak = g_peakBytes.load(std::memory_order_relaxed);
        while (live > peak && !g_peakBytes.compare_exchange_weak(peak, live, std::memory_order_relaxed)) {
        }
        return p;
    }
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept { Release(p); }
void operator delete(void* p, std::size_t) noexcept { Release(p); }
void* operator new[](std::size_t size) { return operator new(size); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }

namespace {

constexpr int kReadsPerBlock = 240;

constexpr int kTableRows = 1'000'000;

// x with two decimals, y a saturating curve with five: about 19 bytes a row,
// the shape of a long single-curve export.
std::string OneCurveTable()
{
    std::string text = "x\ty\n";
    char row[64];
    for (int i = 0; i < kTableRows; ++i) {
        const double x = i * 0.01;
        const int length = std::snprintf(row, sizeof row, "%.2f\t%.5f\n", x, 500.0 * (1.0 - std::exp(-0.0001 * x)));
        text.append(row, static_cast<std::size_t>(length));
    }
    return text;
}

class BenchFile {
public:
    explicit BenchFile(bool table)
    {
        folder_ = std::filesystem::temp_directory_path() /
                  ("movra-bench-import-" + std::to_string(::getpid()) + (table ? "-table" : ""));
        std::filesystem::create_directories(folder_);
        path_ = folder_ / (table ? "one-curve-table.tsv" : "plate-384-4wl-two-blocks.txt");
        const std::string text =
            table ? OneCurveTable() : movra::WriteSyntheticPlate(movra::LargeTwoBlockPlate(kReadsPerBlock));
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
    static const BenchFile file(false);
    return file;
}

const BenchFile& TableFile()
{
    static const BenchFile file(true);
    return file;
}

movra::ImportedPlate ImportTableOnce()
{
    auto imported = movra::ImportTable(movra::LoadTextLines(TableFile().Path()));
    if (imported.plate.TimePointCount != kTableRows) std::abort();
    return imported;
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

void BM_ImportTable(benchmark::State& state)
{
    for (auto _ : state) {
        auto imported = ImportTableOnce();
        benchmark::DoNotOptimize(imported.plate.PlateData.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(TableFile().Size()));
}

// Splitting the table's text into lines with LF and with CR line ends: the
// two must cost about the same (a CR-only file once took quadratic time).
void BM_SplitLines(benchmark::State& state, char lineEnd)
{
    static const std::string lf = OneCurveTable();
    std::string text = lf;
    std::replace(text.begin(), text.end(), '\n', lineEnd);
    for (auto _ : state) {
        const movra::TextLines lines(text);
        if (lines.Count() != kTableRows + 1) std::abort();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(text.size()));
}
BENCHMARK_CAPTURE(BM_SplitLines, lf, '\n')->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SplitLines, cr, '\r')->Unit(benchmark::kMillisecond);

void BM_BaselineGetlineFromChars(benchmark::State& state, const BenchFile& (*which)())
{
    const BenchFile& input = which();
    for (auto _ : state) {
        std::ifstream file(input.Path(), std::ios::binary);
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
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(input.Size()));
}

BENCHMARK_CAPTURE(BM_BaselineGetlineFromChars, plate, &File)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImportSMText)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_BaselineGetlineFromChars, table, &TableFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImportTable)->Unit(benchmark::kMillisecond);

class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        // One figure per benchmark: the single run, or the median of repetitions.
        for (const auto& run : runs) {
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name != "median") continue;
            const auto found = run.counters.find("bytes_per_second");
            if (found != run.counters.end())
                bytesPerSecond[run.run_name.function_name + run.run_name.args] = found->second.value;
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
    const double baseline = reporter.bytesPerSecond["BM_BaselineGetlineFromChars/plate"] / 1e6;
    if (import > 0 && baseline > 0)
        std::printf("import %.1f MB/s, baseline %.1f MB/s, baseline/import time ratio %.2f (target <= 2)\n", import,
                    baseline, baseline / import);
    const double table = reporter.bytesPerSecond["BM_ImportTable"] / 1e6;
    const double tableBaseline = reporter.bytesPerSecond["BM_BaselineGetlineFromChars/table"] / 1e6;
    if (table > 0 && tableBaseline > 0)
        std::printf("table import %.1f MB/s, baseline %.1f MB/s, baseline/import time ratio %.2f\n", table,
                    tableBaseline, tableBaseline / table);

    const long long before = g_allocations.load();
    const auto imported = ImportOnce();
    const long long allocations = g_allocations.load() - before;
    const double cells = 2.0 * kReadsPerBlock * 384 * 4;
    std::printf("heap allocations in one import: %lld (%.4f per cell)\n", allocations,
                static_cast<double>(allocations) / cells);

    // Everything an import holds at once (file text, lines, plate, review
    // texts) against the file's size: the budget is a small factor.
    const long long liveBefore = g_liveBytes.load();
    g_peakBytes.store(liveBefore);
    {
        const auto tableImport = ImportTableOnce();
        benchmark::DoNotOptimize(tableImport.plate.PlateData.data());
    }
    const double peak = static_cast<double>(g_peakBytes.load() - liveBefore);
    std::printf("table import: %.1f MB file, peak heap %.1f MB (%.2f x the file)\n",
                static_cast<double>(TableFile().Size()) / 1e6, peak / 1e6,
                peak / static_cast<double>(TableFile().Size()));
    benchmark::Shutdown();
    return 0;
}
