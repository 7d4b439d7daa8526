#include "plate/read_range.h"

#include <algorithm>
#include <cmath>

namespace movra {
namespace {

int TruncatedIndex(double value) noexcept
{
    return static_cast<int>(std::clamp(std::trunc(value), -1.0e9, 1.0e9));
}

} // namespace

ReadRange ReadsInView(int timePointCount, double zoomStart, double zoomFinish)
{
    return {TruncatedIndex(timePointCount * (zoomStart - 1) / 100) + 1,
            TruncatedIndex(timePointCount * zoomFinish / 100)};
}

} // namespace movra
