// Cost of the graph view's redraw without any real painting: eight shown
// curves of 1,000 reads, all fitted, residuals on, onto a 1200 x 800 graph
// and a 1200 x 150 residual surface that only count calls. The baseline
// issues the same number of primitive calls directly onto the same surface,
// so the ratio is what the engine's geometry and the model evaluations add.

#include <benchmark/benchmark.h>

#include <cmath>

#include "graph_fixture.h"
#include "plot/graph_view.h"

namespace movra {
namespace {

class CountingCanvas final : public PlotCanvas {
public:
    using PlotCanvas::PlotCanvas;
    void Clear(Colour) override { ++calls; }
    void Rectangle(int x1, int, int, int) override { Count(x1); }
    void Ellipse(int x1, int, int, int) override { Count(x1); }
    void Polygon(std::span<const CanvasPoint> points) override { Count(points.front().x); }
    void SetPixel(int x, int, Colour) override { Count(x); }
    void TextOut(int x, int, std::string_view) override { Count(x); }
    int TextWidth(std::string_view text) const override { return static_cast<int>(text.size()) * 7; }
    int TextHeight(std::string_view) const override { return GetFont().pixelHeight; }

    long calls = 0;
    long checksum = 0;

protected:
    void DrawLine(CanvasPoint, CanvasPoint to) override { Count(to.x); }

private:
    void Count(int x)
    {
        ++calls;
        checksum += x;
    }
};

using bench::EightFittedCurves;
using bench::GraphFixture;
using bench::kCurves;
using bench::kReads;

void BM_RefreshGraph(benchmark::State& bench)
{
    GraphFixture state = EightFittedCurves();
    GraphViewOptions options;
    options.ShowResiduals = true;
    options.StartValues = {0, 300, 0.4, 0, 0, 0, 0, 0, 0};
    ModelParameters slots{};
    GraphModel model;
    model.SetParameters = [&slots](const ModelParameters& m) { slots = m; };
    model.Evaluate = [&slots](double x) { return slots[1] * (1 - std::exp(-slots[2] * x)); };
    PlotEngine engine;
    long calls = 0;
    for (auto _ : bench) {
        CountingCanvas graph(1200, 800);
        CountingCanvas residuals(1200, 150);
        RefreshGraph({state.plate, state.curves, state.fits}, state.view, options, model, engine, graph, &residuals);
        benchmark::DoNotOptimize(graph.checksum + residuals.checksum);
        calls = graph.calls + residuals.calls;
    }
    bench.counters["canvas_calls"] = static_cast<double>(calls);
}
BENCHMARK(BM_RefreshGraph)->Unit(benchmark::kMicrosecond);

// The same number of symbols and lines as the redraw above (8 x 1000 data
// symbols, 9 x 100 curve segments, 8 x 999 residual segments and 8 x 1000
// residual symbols, in round figures) drawn straight onto the surface.
void BM_DirectPrimitives(benchmark::State& bench)
{
    for (auto _ : bench) {
        CountingCanvas graphSurface(1200, 800);
        CountingCanvas residualSurface(1200, 150);
        // Reached through opaque pointers so the calls stay virtual calls.
        PlotCanvas* graph = &graphSurface;
        PlotCanvas* residuals = &residualSurface;
        benchmark::DoNotOptimize(graph);
        benchmark::DoNotOptimize(residuals);
        for (int c = 0; c < kCurves; ++c) {
            for (int t = 0; t < kReads; ++t) {
                graph->Ellipse(t, 400, t + 9, 409);
                residuals->Ellipse(t, 70, t + 9, 79);
                residuals->MoveTo(t, 70);
                residuals->LineTo(t + 1, 71);
            }
        }
        for (int k = 0; k < 9 * 100; ++k) {
            graph->MoveTo(k, 10);
            graph->LineTo(k + 1, 11);
        }
        benchmark::DoNotOptimize(graphSurface.checksum + residualSurface.checksum);
    }
}
BENCHMARK(BM_DirectPrimitives)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace movra

BENCHMARK_MAIN();
