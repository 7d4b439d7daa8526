#pragma once
// What the graph keeps between redraws: the reads in view and the y range
// it drew, and its drawing buffers. The fit reads the view range from here
// through its settings; nothing else writes it.

#include "plate/read_range.h"
#include "shared/matrices.h"

namespace movra {

struct GraphViewState {
    ReadRange View;           // ViewFirstPoint, ViewLastPoint of the zoom bar
    double GraphYMax = 2.0;
    double GraphYMin = 0.5;
    TVector PlotYBuffer;      // scratch copy of one curve (index t + 1)
    TVector ParamBuffer;      // m1..m8 of the well whose fitted curve is drawn

    // The reset of File > New: the y range only.
    void Reset()
    {
        GraphYMax = 2.0;
        GraphYMin = 0.5;
    }
};

} // namespace movra
