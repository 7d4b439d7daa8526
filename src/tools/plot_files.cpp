#include "plot_files.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>
#include <system_error>
#include <thread>

#include "batch/sample_pictures.h"
#include "fitting/fit_model.h"
#include "fitting/fit_settings.h"
#include "output_file.h"
#include "parser/parser.h"
#include "plot/graph_model.h"
#include "render/figure_file.h"
#include "render/graph_figure.h"
#include "render/painting_application.h"
#include "shared/one_based.h"

namespace movra {

namespace {

// The graph page's plots at the desktop's usual size.
const QSize kDataPlotSize(640, 400);
constexpr int kResidualPanelHeight = 120;

// What one drawing thread owns: its parsers, the graph's model over the
// second, and the engine and view state a redraw writes.
class PictureDrawer {
public:
    PictureDrawer(const SamplePlotSettings& settings, const PlateMeasurements& plate, const FitResults& fits)
        : settings_(settings), plate_(plate), fits_(fits),
          values_(parser1_, plate, settings.Combination.CombinationText, settings.Combination.Weighting),
          parameterSlots_(DefineFitParameters(parser2_))
    {
        values_.CompileCombination();
        parser2_.setExpression(settings.FitFormulaText);
        model_ = ParserGraphModel(parser2_, parameterSlots_);
        options_.ShowLegend = true;
        options_.ShowResiduals = true;
        options_.AverageData = settings.AverageData;
        options_.ZoomStart = settings.ViewStart;
        options_.ZoomFinish = settings.ViewFinish;
        for (int k = 1; k <= kMaxParameters; ++k)
            At(options_.StartValues, k) = ParseStartValue(At(settings.StartTexts, k));
    }

    std::string Bytes(const SamplePicture& picture, FigureFormat format)
    {
        const ShownCurves shown = PictureCurves(picture, values_, plate_.TimePointCount, settings_.AverageData);
        const GraphData data{plate_, shown, fits_};
        const GraphFigureLayout layout = LayOutGraphFigure(data, options_, kDataPlotSize, kResidualPanelHeight);
        return FigureBytes(format, layout.Size(), kDefaultFigureDpi, [&](QPainter& painter) {
            DrawGraphFigure(painter, layout, data, view_, options_, model_, engine_);
        });
    }

private:
    const SamplePlotSettings& settings_;
    const PlateMeasurements& plate_;
    const FitResults& fits_;
    TParser parser1_;
    ParserCombinedValues values_;
    TParser parser2_;
    std::array<double*, 9> parameterSlots_;
    GraphModel model_;
    GraphViewOptions options_;
    PlotEngine engine_;
    GraphViewState view_;
};

} // namespace

std::vector<std::filesystem::path> WriteSamplePlots(const SamplePlotSettings& settings,
                                                    const PlateMeasurements& plate, const FitResults& fits,
                                                    const std::vector<BatchCurve>& curves)
{
    const FigureFormat format = FigureFormatNamed(settings.Format).value_or(FigureFormat::Png);
    std::error_code error;
    std::filesystem::create_directories(settings.Folder, error);
    if (error)
        throw OutputError("Cannot create folder \"" + settings.Folder.string() + "\": " + error.message() + ".");
    EnsurePaintingApplication();

    const std::vector<SamplePicture> pictures = SamplePictures(plate, curves, settings.AverageData);
    std::vector<std::filesystem::path> files;
    for (const SamplePicture& picture : pictures)
        files.push_back(settings.Folder / (picture.Name + FigureExtension(format)));

    // Pictures are drawn and written on several threads, each taking the
    // next picture; the first failure stops them and is thrown here.
    std::atomic<std::size_t> next{0};
    std::atomic<bool> failed{false};
    std::exception_ptr failure;
    std::mutex failureMutex;
    const auto work = [&] {
        try {
            PictureDrawer drawer(settings, plate, fits);
            for (std::size_t i = next++; i < pictures.size() && !failed; i = next++)
                WriteOutputFile(files[i], drawer.Bytes(pictures[i], format));
        } catch (...) {
            const std::lock_guard lock(failureMutex);
            if (!failure) failure = std::current_exception();
            failed = true;
        }
    };
    const std::size_t threads = std::clamp<std::size_t>(static_cast<std::size_t>(settings.Threads), 1,
                                                         std::max<std::size_t>(pictures.size(), 1));
    std::vector<std::thread> workers;
    for (std::size_t t = 1; t < threads; ++t) workers.emplace_back(work);
    work();
    for (std::thread& worker : workers) worker.join();
    if (failure) std::rethrow_exception(failure);
    return files;
}

} // namespace movra
