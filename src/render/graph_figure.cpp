#include "render/graph_figure.h"

#include <algorithm>
#include <optional>

#include "render/qpainter_canvas.h"

namespace movra {

GraphFigureLayout LayOutGraphFigure(const GraphData& data, const GraphViewOptions& options, QSize dataSize,
                                    int residualHeight)
{
    GraphFigureLayout layout;
    layout.Data = dataSize.expandedTo(QSize(1, 1));
    layout.ResidualHeight = ResidualPanelDrawn(data, options) ? std::max(residualHeight, 1) : 0;
    return layout;
}

GraphRefreshResult DrawGraphFigure(QPainter& painter, const GraphFigureLayout& layout, const GraphData& data,
                                   GraphViewState& view, const GraphViewOptions& options, const GraphModel& model,
                                   PlotEngine& engine)
{
    const int width = layout.Data.width();
    QPainterCanvas graph(painter, QRect(QPoint(0, layout.ResidualHeight), layout.Data));
    std::optional<QPainterCanvas> residuals;
    if (layout.ResidualHeight > 0) residuals.emplace(painter, QRect(0, 0, width, layout.ResidualHeight));
    return RefreshGraph(data, view, options, model, engine, graph, residuals ? &*residuals : nullptr);
}

PlateMapPicture DrawPlateMapFigure(QPainter& painter, QSize size, const PlateMapData& data,
                                   const PlateMapOptions& options)
{
    QPainterCanvas canvas(painter, QRect(QPoint(0, 0), size.expandedTo(QSize(1, 1))));
    return DrawPlateMap(canvas, data, options);
}

} // namespace movra
