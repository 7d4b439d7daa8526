#pragma once
// The curves on show: the wells of the chosen sample (at most eight), their
// colours and their combined values, which the graph draws and "Fit shown"
// fits.

#include <array>
#include <cstdint>

#include "plate/plate_measurements.h"
#include "shared/colour.h"
#include "shared/matrices.h"

namespace movra {

inline constexpr int kMaxShownCurves = 8;

struct ShownCurves {
    // Wells of the curves on show, slots 1..8, ended by the first negative slot.
    std::array<std::int32_t, kMaxWells + 1> ShownWells{};
    std::array<Colour, kMaxShownCurves + 1> CurveColors{};  // slots 1..8
    TMatrix ReducedData;  // [curve 1..8][t + 1], sized by CalculateReducedData

    // The reset of File > New: no wells shown, the curve colour table.
    void Reset()
    {
        ShownWells.fill(-1);
        CurveColors = {0x000000, 0x0000FF, 0xFF0000, 0x00FF00, 0xFF00FF, 0x00FFFF, 0xF0CAA6, 0x0080FF, 0x000000};
    }
    // Curves on show: slots until the first negative one, at most eight.
    int Count() const noexcept
    {
        int n = 0;
        while (n < kMaxShownCurves && ShownWells[static_cast<std::size_t>(n) + 1] >= 0) ++n;
        return n;
    }
};

} // namespace movra
