#include "plot/graph_model.h"

#include "fitting/fit_model.h"

namespace movra {

GraphModel ParserGraphModel(TParser& parser2, const std::array<double*, 9>& parameterSlots)
{
    GraphModel model;
    model.SetParameters = [slots = parameterSlots](const ModelParameters& m) {
        for (std::size_t k = 1; k <= 8; ++k)
            if (slots[k] != nullptr) *slots[k] = m[k];
    };
    model.Evaluate = [&parser2](double x) { return PlotModelFunc(parser2, x); };
    return model;
}

} // namespace movra
