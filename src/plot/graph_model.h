#pragma once
// The graph's view of the fit model: parameters go into the fit parser's
// slots m1..m8 and values come from PlotModelFunc.

#include <array>

#include "parser/parser.h"
#include "plot/graph_view.h"

namespace movra {

GraphModel ParserGraphModel(TParser& parser2, const std::array<double*, 9>& parameterSlots);

} // namespace movra
