// Cost of one graph redraw as the zoom bar's drag sees it: eight shown
// curves of 1,000 reads, all fitted, residuals on, painted with QPainter
// into a 1200 x 800 data picture and a 1200 x 150 residual picture. The
// baseline paints the same symbols (each curve its own kind) and lines at
// precomputed pixels with plain QPainter calls into pictures of the same
// size, so the ratio is what the plot engine, the model evaluations and the
// canvas layer add to the painting itself. Prints the ratio at the end.

#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "graph_fixture.h"
#include "render/qpainter_canvas.h"
#include "plot/graph_view.h"

namespace movra {
namespace {

constexpr int kWidth = 1200;
constexpr int kGraphHeight = 800;
constexpr int kResidualHeight = 150;

using bench::EightFittedCurves;
using bench::GraphFixture;
using bench::kCurves;
using bench::kReads;
using bench::Reading;

void BM_RefreshGraphOnQPainter(benchmark::State& bench)
{
    GraphFixture state = EightFittedCurves();
    GraphViewOptions options;
    options.ShowResiduals = true;
    options.StartValues = {0, 300, 0.4, 0, 0, 0, 0, 0, 0};
    ModelParameters parameters{};
    GraphModel model;
    model.SetParameters = [&parameters](const ModelParameters& m) { parameters = m; };
    model.Evaluate = [&parameters](double x) { return parameters[1] * (1 - std::exp(-parameters[2] * x)); };
    PlotEngine engine;
    for (auto _ : bench) {
        QImage graphPicture(kWidth, kGraphHeight, QImage::Format_RGB32);
        QImage residualPicture(kWidth, kResidualHeight, QImage::Format_RGB32);
        {
            QPainterCanvas graph(graphPicture);
            QPainterCanvas residuals(residualPicture);
            RefreshGraph({state.plate, state.curves, state.fits}, state.view, options, model, engine, graph, &residuals);
        }
        benchmark::DoNotOptimize(graphPicture.constBits());
        benchmark::DoNotOptimize(residualPicture.constBits());
    }
}
BENCHMARK(BM_RefreshGraphOnQPainter)->Unit(benchmark::kMillisecond);

// Symbol c of the plot engine (1 filled circle ... 8 cross) of half-size u
// around p, straight onto a painter.
void DrawSymbol(QPainter& painter, int symbol, QPoint p, int u)
{
    const QRect box(p.x() - u, p.y() - u, 2 * u, 2 * u);
    switch (symbol) {
    case 1:
    case 2:
        painter.drawEllipse(box);
        break;
    case 3:
    case 4:
        painter.drawRect(box);
        break;
    case 5:
    case 6: {
        const QPoint corners[] = {{p.x() - u, p.y() + u}, {p.x() + u + 1, p.y() + u}, {p.x(), p.y() - u - 1}};
        painter.drawPolygon(corners, 3);
        break;
    }
    case 7:
        painter.drawLine(p.x(), p.y() - u, p.x(), p.y() + u + 1);
        painter.drawLine(p.x() - u, p.y(), p.x() + u + 1, p.y());
        break;
    default:
        painter.drawLine(p.x() - u, p.y() - u, p.x() + u + 1, p.y() + u + 1);
        painter.drawLine(p.x() - u, p.y() + u, p.x() + u + 1, p.y() - u - 1);
        break;
    }
}

void BM_PlainQPainter(benchmark::State& bench)
{
    // Pixels of the data and the residuals, worked out once outside the loop.
    std::vector<std::vector<QPoint>> data(kCurves + 1);
    std::vector<std::vector<QPoint>> residual(kCurves + 1);
    std::vector<std::vector<QPoint>> model(kCurves + 2);
    for (int c = 1; c <= kCurves; ++c) {
        for (int t = 1; t <= kReads; ++t) {
            const int x = 120 + (t - 1) * 900 / kReads;
            data[c].push_back({x, 700 - static_cast<int>(Reading(c, t, 10.0 * (t - 1) / (kReads - 1)) * 0.8)});
            residual[c].push_back({x, 75 + static_cast<int>(40 * std::sin(7.0 * t))});
        }
    }
    for (int c = 1; c <= kCurves + 1; ++c) {
        for (int k = 0; k <= 100; ++k) {
            model[c].push_back({120 + 9 * k, 700 - static_cast<int>(80.0 * c * (1 - std::exp(-0.05 * k)))});
        }
    }
    const int u = kWidth / 250;
    for (auto _ : bench) {
        QImage graphPicture(kWidth, kGraphHeight, QImage::Format_RGB32);
        QImage residualPicture(kWidth, kResidualHeight, QImage::Format_RGB32);
        {
            QPainter graph(&graphPicture);
            QPainter residuals(&residualPicture);
            graph.fillRect(graphPicture.rect(), Qt::white);
            residuals.fillRect(residualPicture.rect(), Qt::white);
            for (int c = 1; c <= kCurves + 1; ++c) {
                graph.setPen(QPen(Qt::black, 1, c == kCurves + 1 ? Qt::DotLine : Qt::SolidLine));
                graph.drawPolyline(model[c].data(), static_cast<int>(model[c].size()));
            }
            for (int c = 1; c <= kCurves; ++c) {
                const QColor colour = ToQColor(CurvePalette[static_cast<std::size_t>(c - 1)]);
                const bool filled = c == 1 || c == 3 || c == 5;
                for (QPainter* painter : {&graph, &residuals}) {
                    painter->setPen(colour);
                    painter->setBrush(filled ? QBrush(colour) : QBrush(Qt::NoBrush));
                }
                for (const QPoint& p : data[c]) {
                    DrawSymbol(graph, c, p, u);
                }
                for (std::size_t i = 0; i < residual[c].size(); ++i) {
                    DrawSymbol(residuals, c, residual[c][i], u);
                    if (i > 0) {
                        residuals.drawLine(residual[c][i - 1], residual[c][i]);
                    }
                }
            }
        }
        benchmark::DoNotOptimize(graphPicture.constBits());
        benchmark::DoNotOptimize(residualPicture.constBits());
    }
}
BENCHMARK(BM_PlainQPainter)->Unit(benchmark::kMillisecond);

struct Timing {
    double realMs = 0;
    double cpuMs = 0;
};

// Prints the usual table and remembers each benchmark's times per iteration.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Iteration && !run.error_occurred) {
                timings[run.run_name.function_name] = {run.GetAdjustedRealTime(), run.GetAdjustedCPUTime()};
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, Timing> timings;
};

} // namespace
} // namespace movra

int main(int argc, char** argv)
{
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
    }
    QGuiApplication app(argc, argv);  // fonts need it
    benchmark::Initialize(&argc, argv);
    movra::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    // CPU time is reported beside wall time: on a busy machine the wall time
    // also counts the waits for a core.
    const auto& timings = reporter.timings;
    const auto redraw = timings.find("BM_RefreshGraphOnQPainter");
    const auto plain = timings.find("BM_PlainQPainter");
    if (redraw != timings.end() && plain != timings.end() && plain->second.realMs > 0 && plain->second.cpuMs > 0) {
        const movra::Timing& r = redraw->second;
        const movra::Timing& p = plain->second;
        std::printf("graph redraw %.2f ms (CPU %.2f ms), plain QPainter %.2f ms (CPU %.2f ms), "
                    "ratio %.2f (CPU %.2f); target under 16 ms per redraw\n",
                    r.realMs, r.cpuMs, p.realMs, p.cpuMs, r.realMs / p.realMs, r.cpuMs / p.cpuMs);
    }
    benchmark::Shutdown();
    return 0;
}
