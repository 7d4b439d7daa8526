#pragma once
// The graph page as one figure: the residual panel, when a redraw draws it,
// above the data plot, each the size it has on screen, drawn by RefreshGraph
// through smooth QPainter canvases onto any painter (a picture, an SVG, a
// PDF). The plate map as a figure likewise. Used by the desktop's export and
// copy and by movra-batch's pictures.

#include <QPainter>
#include <QSize>

#include "plot/graph_view.h"
#include "plot/plate_map.h"

namespace movra {

struct GraphFigureLayout {
    QSize Data;              // the data plot (PaintBox1)
    int ResidualHeight = 0;  // the residual panel above it (PaintBox2); 0: none

    QSize Size() const { return {Data.width(), Data.height() + ResidualHeight}; }
};

// The layout for the plots' on-screen sizes: the residual panel only when
// a redraw with these options draws it.
GraphFigureLayout LayOutGraphFigure(const GraphData& data, const GraphViewOptions& options, QSize dataSize,
                                    int residualHeight);

// Draws the figure in on-screen pixels from (0, 0). The view state, the
// engine and the model's parameter slots change as RefreshGraph changes them.
GraphRefreshResult DrawGraphFigure(QPainter& painter, const GraphFigureLayout& layout, const GraphData& data,
                                   GraphViewState& view, const GraphViewOptions& options, const GraphModel& model,
                                   PlotEngine& engine);

// Draws the plate map in on-screen pixels over (0, 0)..size.
PlateMapPicture DrawPlateMapFigure(QPainter& painter, QSize size, const PlateMapData& data,
                                   const PlateMapOptions& options);

} // namespace movra
