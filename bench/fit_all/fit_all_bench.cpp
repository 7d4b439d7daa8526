// "Fit all" in the desktop program on a generated 384-well, 500-read kinetic
// plate (the batch benchmark's plate, default formula, start values that suit
// it, every well as no layout assigns any), against the baseline of
// movra-batch's FitPlateCurves over the same curves with the same threads.
// Measured in one run, on Qt's offscreen platform with the window shown at
// the plate map page: the wall and CPU time of a whole run (press to last
// well filed; runs interleaved with the baseline's), the plate map's
// repaints per second during it, the time from
// Cancel to the end of a run, and one repaint of the 384-well map against
// plain QPainter calls painting the same discs and labels. Prints the ratios
// at the end.

#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPainter>
#include <QSettings>
#include <QTabWidget>
#include <QTemporaryDir>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <memory>
#include <random>
#include <thread>

#include "app/fit_all_command.h"
#include "app/fitting_panel.h"
#include "app/graph_page.h"
#include "app/plate_map_page.h"
#include "app/plot/plate_map_view.h"
#include "render/qpainter_canvas.h"
#include "app/program_windows.h"
#include "app/user_dialogs.h"
#include "batch/batch_settings.h"
#include "batch/plate_fit.h"
#include "plate/sm_import.h"
#include "plate/synthetic_plate.h"
#include "plate/text_decoding.h"

namespace movra {
namespace {

const char* const kStarts[] = {"0.1", "0.7", "10", "0.8", "1", "0.01", "0.01", "1"};

int HardwareThreads() { return std::max(1, static_cast<int>(std::thread::hardware_concurrency())); }

std::string PlateText()
{
    SyntheticPlateOptions options;
    options.wellCount = 384;
    options.waveLengths = {340, 405};
    options.reads = 500;
    options.intervalSeconds = 15;
    options.noise = 0.003;
    options.seed = 20261206;
    return WriteSyntheticPlate(options);
}

class Answers final : public UserDialogs {
public:
    void ShowError(const std::string& text) override { std::cerr << "error: " << text << '\n'; }
    DialogAnswer AskYesNoCancel(const std::string&) override { return DialogAnswer::Yes; }
    std::optional<std::string> InputBox(const std::string&, const std::string&, const std::string& text) override
    {
        return text;
    }
    std::optional<std::filesystem::path> OpenFile(const FileDialogRequest&) override { return std::nullopt; }
    std::optional<std::filesystem::path> SaveFile(const FileDialogRequest&) override { return std::nullopt; }
};

// The program with the plate imported, the start values typed and the plate
// map on show; built once.
struct Desktop {
    QTemporaryDir folder;
    Answers dialogs;
    std::unique_ptr<ProgramWindows> windows;

    Desktop()
    {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, folder.path());
        const std::filesystem::path file = folder.filePath(QStringLiteral("plate-384.txt")).toStdString();
        std::ofstream(file, std::ios::binary) << PlateText();
        windows = std::make_unique<ProgramWindows>(dialogs);
        MainWindow& form = windows->Form1();
        form.resize(1000, 760);
        form.show();
        form.ImportFile(file);
        for (int k = 1; k <= 8; ++k) form.graphPage().fitting().FitM(k).setText(QString::fromLatin1(kStarts[k - 1]));
        form.PageControl1().setCurrentIndex(MainWindow::PlateMapIndex);
        QApplication::processEvents();
    }
    MainWindow& Form() { return windows->Form1(); }

    // Presses "Fit all" with no results yet; Cancel after cancelAfter when given.
    // Returns seconds from Cancel to the end of the run (0 without Cancel).
    double Run(std::optional<std::chrono::milliseconds> cancelAfter = std::nullopt)
    {
        MainWindow& form = Form();
        form.state().fits.Reset();
        form.menu().FitAll1->trigger();
        QElapsedTimer clock;
        clock.start();
        std::optional<QElapsedTimer> cancelled;
        while (form.fitAll().Running()) {
            QApplication::processEvents(QEventLoop::WaitForMoreEvents);
            if (cancelAfter && !cancelled && clock.elapsed() >= cancelAfter->count()) {
                form.fitAll().CancelClick();
                cancelled.emplace();
                cancelled->start();
            }
        }
        return cancelled ? static_cast<double>(cancelled->nsecsElapsed()) * 1e-9 : 0.0;
    }
};

// Built on first use, destroyed before the application object.
std::unique_ptr<Desktop> gDesktop;
Desktop& TheDesktop()
{
    if (!gDesktop) gDesktop = std::make_unique<Desktop>();
    return *gDesktop;
}

// movra-batch's run over the same curves and settings.
struct BatchFixture {
    PlateMeasurements plate;
    std::vector<BatchCurve> curves;
    PlateFitSettings settings;
    BatchFixture()
    {
        SilentImportInteraction answers;
        plate = std::move(ImportSMText(TextLines(PlateText()), answers)->plate);
        curves = CurvesOfEveryWell(plate, false);
        BatchSettings texts;
        for (int k = 1; k <= 8; ++k) texts.StartTexts[static_cast<std::size_t>(k)] = kStarts[k - 1];
        settings = ConvertBatchSettings(texts);
        settings.Fit.View = ReadsInView(plate.TimePointCount, 1, 100);
    }
};

// CPU seconds of the whole process (all threads) so far.
double ProcessCpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& t) {
        return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) * 1e-6;
    };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// CPU seconds of the calling thread so far (the window's thread).
double ThreadCpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_THREAD, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) * 1e-6;
}

// Each iteration runs movra-batch's fit and then "Fit all", so that both see
// the same load of a shared machine; wall and CPU time of each side are
// summed and reported as ratios.
void BM_FitAllAgainstBatch(benchmark::State& bench)
{
    static const BatchFixture f;
    Desktop& desktop = TheDesktop();
    const PlateMapView& map = desktop.Form().plateMapPage().MapView();
    double batchWall = 0, batchCpu = 0, desktopWall = 0, desktopCpu = 0, desktopWindowCpu = 0;
    long paints = 0;
    for (auto _ : bench) {
        QElapsedTimer clock;
        clock.start();
        double cpu = ProcessCpuSeconds();
        const auto outcomes =
            FitPlateCurves(f.plate, f.curves, f.settings.Combination, f.settings.Fit, HardwareThreads());
        benchmark::DoNotOptimize(outcomes.data());
        batchWall += static_cast<double>(clock.nsecsElapsed()) * 1e-9;
        batchCpu += ProcessCpuSeconds() - cpu;

        const long before = map.PaintCount();
        clock.restart();
        cpu = ProcessCpuSeconds();
        const double windowCpu = ThreadCpuSeconds();
        desktop.Run();
        desktopWall += static_cast<double>(clock.nsecsElapsed()) * 1e-9;
        desktopCpu += ProcessCpuSeconds() - cpu;
        desktopWindowCpu += ThreadCpuSeconds() - windowCpu;
        paints += map.PaintCount() - before;
    }
    int fitted = 0;
    for (int well = 0; well < 384; ++well) fitted += desktop.Form().state().fits.Fitted(well) ? 1 : 0;
    const double runs = static_cast<double>(bench.iterations());
    bench.counters["fitted"] = fitted;
    bench.counters["threads"] = HardwareThreads();
    bench.counters["batch_ms"] = 1e3 * batchWall / runs;
    bench.counters["desktop_ms"] = 1e3 * desktopWall / runs;
    bench.counters["wall_ratio"] = desktopWall / batchWall;
    bench.counters["cpu_ratio"] = desktopCpu / batchCpu;
    bench.counters["window_cpu_share"] = desktopWindowCpu / desktopCpu;
    bench.counters["repaints_per_s"] = static_cast<double>(paints) / desktopWall;
}
BENCHMARK(BM_FitAllAgainstBatch)->Iterations(3)->UseRealTime()->Unit(benchmark::kMillisecond);

void BM_DesktopCancel(benchmark::State& bench)
{
    Desktop& desktop = TheDesktop();
    double latency = 0;
    for (auto _ : bench) latency = std::max(latency, desktop.Run(std::chrono::milliseconds(300)));
    bench.counters["cancel_to_end_ms"] = 1e3 * latency;
}
BENCHMARK(BM_DesktopCancel)->Iterations(3)->UseRealTime()->Unit(benchmark::kMillisecond);

// 384 fitted wells with values, a tenth of them flagged, two samples per row.
struct MapFixture {
    PlateLayout layout;
    FitResults fits;
    MapFixture()
    {
        layout.Reset();
        layout.SetGeometryForWellCount(384);
        fits.Reset();
        std::mt19937 random(7);
        std::uniform_real_distribution<double> value(0.4, 1.3);
        for (int well = 0; well < 384; ++well) {
            layout.SetCell(well % 24 + 1, well / 24 + 1, well % 24 < 12 ? "Sample1" : "Sample2");
            fits.WellFitResults[well][0] = 0.001;
            fits.WellFitResults[well][1] = value(random);
            fits.WellFitQuality[well] = {OptOk, static_cast<FitFlags>(well % 10 == 0 ? kFlagAmbiguous : 0), 0.99};
        }
    }
};

constexpr int kMapWidth = 1000, kMapHeight = 700;

void BM_PlateMapRepaint384(benchmark::State& bench)
{
    static const MapFixture f;
    for (auto _ : bench) {
        QImage picture(kMapWidth, kMapHeight, QImage::Format_RGB32);
        {
            QPainterCanvas canvas(picture);
            DrawPlateMap(canvas, {f.layout, f.fits}, {});
        }
        benchmark::DoNotOptimize(picture.constBits());
    }
}
BENCHMARK(BM_PlateMapRepaint384)->Unit(benchmark::kMillisecond);

// The same discs in their colours, the marks and the labels, straight onto a painter.
void BM_PlainQPainterMap384(benchmark::State& bench)
{
    static const MapFixture f;
    const PlateMapGeometry g = PlateMapLayout(kMapWidth, kMapHeight, 16, 24);
    std::vector<QColor> colours;
    for (int well = 0; well < 384; ++well)
        colours.push_back(ToQColor(ScaleColour(ScalePosition(f.fits.WellFitResults[well][1], {0.4, 1.3}))));
    for (auto _ : bench) {
        QImage picture(kMapWidth, kMapHeight, QImage::Format_RGB32);
        {
            QPainter painter(&picture);
            painter.fillRect(picture.rect(), Qt::white);
            painter.setFont(ToQFont({"Arial", g.FontHeight}));
            for (int c = 1; c <= 24; ++c)
                painter.drawText(g.Left + (c - 1) * g.Pitch, g.Top - 4, QString::number(c));
            for (int well = 0; well < 384; ++well) {
                const int x = g.Left + (well % 24) * g.Pitch, y = g.Top + (well / 24) * g.Pitch;
                painter.setPen(Qt::gray);
                painter.setBrush(colours[static_cast<std::size_t>(well)]);
                painter.drawEllipse(x + 2, y + 2, g.Pitch - 4, g.Pitch - 4);
                if (well % 10 == 0) {
                    const QPoint corner[] = {{x + g.Pitch / 2, y}, {x + g.Pitch, y}, {x + g.Pitch, y + g.Pitch / 2}};
                    painter.setBrush(Qt::red);
                    painter.drawPolygon(corner, 3);
                }
            }
        }
        benchmark::DoNotOptimize(picture.constBits());
    }
}
BENCHMARK(BM_PlainQPainterMap384)->Unit(benchmark::kMillisecond);

class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration || run.error_occurred) continue;
            auto& entry = results[run.run_name.function_name];
            entry["ms"] = run.GetAdjustedRealTime();
            for (const auto& [name, counter] : run.counters) entry[name] = counter.value;
        }
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, std::map<std::string, double>> results;
};

} // namespace
} // namespace movra

int main(int argc, char** argv)
{
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    movra::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    movra::gDesktop.reset();
    auto& r = reporter.results;
    if (r.count("BM_FitAllAgainstBatch")) {
        auto& c = r["BM_FitAllAgainstBatch"];
        std::printf("\nFit all, 384 wells x 500 reads, %.0f threads, runs interleaved: desktop %.0f ms, "
                    "FitPlateCurves %.0f ms, ratio %.3f wall, %.3f CPU (target at most 1.25; the window's thread "
                    "takes %.1f%% of the desktop's CPU); map repaints %.1f per second during Fit all (target at least "
                    "10)\n",
                    c["threads"], c["desktop_ms"], c["batch_ms"], c["wall_ratio"], c["cpu_ratio"],
                    100 * c["window_cpu_share"], c["repaints_per_s"]);
    }
    if (r.count("BM_DesktopCancel"))
        std::printf("Cancel to the end of the run: at most %.1f ms\n", r["BM_DesktopCancel"]["cancel_to_end_ms"]);
    if (r.count("BM_PlateMapRepaint384") && r.count("BM_PlainQPainterMap384")) {
        const double map = r["BM_PlateMapRepaint384"]["ms"], plain = r["BM_PlainQPainterMap384"]["ms"];
        std::printf("plate map repaint, 384 wells: %.2f ms (target under 16), plain QPainter %.2f ms, ratio %.2f\n",
                    map, plain, map / plain);
    }
    benchmark::Shutdown();
    return 0;
}
