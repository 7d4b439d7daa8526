#include "app/plot/graph_redraw.h"

#include <algorithm>
#include <optional>

#include "render/qpainter_canvas.h"

namespace movra {

namespace {

// A collapsed box still gets a one-pixel picture, so the redraw's effects on
// the view state do not depend on the layout; a high-DPI screen gets one of
// its own resolution, so text and lines are not scaled up blurred.
QImage PictureFor(const GraphPaintBox& box)
{
    return CanvasImage(box.size(), box.PictureRatio());
}

} // namespace

GraphRefreshResult RedrawGraph(const GraphData& data, GraphViewState& view, const GraphViewOptions& options,
                               const GraphModel& model, PlotEngine& engine, GraphPaintBox& graphBox,
                               GraphPaintBox* residualBox)
{
    QImage graphPicture = PictureFor(graphBox);
    const bool wantResiduals = options.ShowResiduals && residualBox != nullptr;
    QImage residualPicture = wantResiduals ? PictureFor(*residualBox) : QImage();

    GraphRefreshResult result;
    {
        QPainterCanvas graph(graphPicture);
        std::optional<QPainterCanvas> residuals;
        if (wantResiduals) {
            residuals.emplace(residualPicture);
        }
        result = RefreshGraph(data, view, options, model, engine, graph, residuals ? &*residuals : nullptr);
    }
    if (result.Drawn) {
        graphBox.SetImage(std::move(graphPicture));
    }
    if (result.ResidualsDrawn) {
        residualBox->SetImage(std::move(residualPicture));
    }
    return result;
}

} // namespace movra
