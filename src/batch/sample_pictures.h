#pragma once
// The pictures of a whole-plate run, one per sample as the desktop's graph
// shows it after "Fit shown": the sample's wells in the order the graph takes
// them (plate columns outer, rows inner), at most eight to a picture and
// further wells in further pictures, or with averaged data the one mean curve
// of the sample, shown under the well its fit is filed under. Only which
// curves go where; drawing is the caller's.

#include <string>
#include <vector>

#include "batch/plate_fit.h"
#include "reduction/shown_curves.h"

namespace movra {

struct SamplePicture {
    std::string Name;        // "Sample3", then "Sample3-2", "Sample3-3", ...
    int Sample = 0;
    std::vector<int> Wells;  // the curves, or with averaged data the wells of the one mean curve
};

// The pictures of the run's curves (CurvesToFit), samples ascending.
std::vector<SamplePicture> SamplePictures(const PlateMeasurements& plate, const std::vector<BatchCurve>& curves,
                                          bool averageData);

// The curves a picture shows: the wells, colours and combined values of
// the graph (the mean in curve 1 with averaged data, shown as the well its
// fit is filed under). Throws what the combination's evaluation throws.
ShownCurves PictureCurves(const SamplePicture& picture, CombinedValues& values, int timePointCount,
                          bool averageData);

} // namespace movra
