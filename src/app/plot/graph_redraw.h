#pragma once
// The graph page's whole redraw on screen: draws the data plot and, when
// asked, the residual plot into fresh off-screen pictures the size of their
// paint boxes and hands the pictures to the boxes. A box keeps its picture
// when nothing was drawn for it (no data imported, or residuals not drawn).

#include "app/plot/graph_paint_box.h"
#include "plot/graph_view.h"

namespace movra {

// The graph page calls this from PaintBox1's paint handler and from the
// zoom bar's Scrolling, Zooming and Changed signals, with the options read
// from its controls. residualBox may be null (no residual panel). The view
// state, the engine and the model's parameter slots change as RefreshGraph
// changes them.
GraphRefreshResult RedrawGraph(const GraphData& data, GraphViewState& view, const GraphViewOptions& options,
                               const GraphModel& model, PlotEngine& engine, GraphPaintBox& graphBox,
                               GraphPaintBox* residualBox);

} // namespace movra
