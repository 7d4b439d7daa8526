#pragma once
// Which wells belong to which sample, as the reports and the whole-plate
// fit read it: rebuilt from the plate layout by FillSampleArray.

#include <array>
#include <cstdint>
#include <vector>

#include "plate/plate_measurements.h"

namespace movra {

struct SampleAssignment {
    // SampleWells[s][i]: i-th well (from 1) of sample s; a list ends at its
    // first negative entry or after WellCount entries.
    std::vector<std::array<std::int32_t, kMaxWells + 1>> SampleWells =
        std::vector<std::array<std::int32_t, kMaxWells + 1>>(kMaxWells + 1);
    std::int32_t SampleWellCount = 0;
    std::int32_t SampleCount = 1;  // highest sample number the layout's popup offers
};

} // namespace movra
