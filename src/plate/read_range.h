#pragma once
// The reads in view: the zoom bar's Start and Finish percentages turned into
// the first and last read (1-based) that the graph shows and a fit takes.

#include <cstdint>

namespace movra {

struct ReadRange {
    std::int32_t ViewFirstPoint = 0;
    std::int32_t ViewLastPoint = 0;
    friend bool operator==(const ReadRange&, const ReadRange&) = default;
};

// Reads [ViewFirstPoint, ViewLastPoint] selected by the zoom bar's Start and
// Finish percentages of timePointCount reads.
ReadRange ReadsInView(int timePointCount, double zoomStart, double zoomFinish);

} // namespace movra
