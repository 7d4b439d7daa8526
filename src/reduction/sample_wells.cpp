#include "reduction/sample_wells.h"
#include "shared/one_based.h"

#include <algorithm>

namespace movra {

ShownWellsOutcome CollectShownWells(const PlateLayout& layout, const std::string& sampleText,
                                    const PlateMeasurements& plate, ShownCurves& curves)
{
    if (sampleText.size() < 5) return ShownWellsOutcome::NothingChosen;
    const int rows = plate.PlateRows;
    const int columns = plate.PlateColumns;
    auto outcome = ShownWellsOutcome::Collected;
    int curve = 1;
    for (int column = 1; column <= columns && outcome == ShownWellsOutcome::Collected; ++column)
        for (int row = 1; row <= rows; ++row) {
            if (layout.Cell(column, row) != sampleText) continue;
            if (curve > kMaxShownCurves) {
                outcome = ShownWellsOutcome::TooManyWells;
                break;
            }
            At(curves.ShownWells, curve++) = WellIndex(row, column, columns);
        }
    At(curves.ShownWells, curve) = -1;
    return outcome;
}

void FillSampleArray(const PlateLayout& layout, const PlateMeasurements& plate, SampleAssignment& samples)
{
    const int wellCount = std::min(plate.WellCount, kMaxWells);
    for (int s = 1; s <= wellCount; ++s)
        for (int i = 1; i <= wellCount; ++i) At(At(samples.SampleWells, s), i) = -1;
    samples.SampleWellCount = 0;
    const int rows = plate.PlateRows;
    const int columns = plate.PlateColumns;
    for (int row = 1; row <= rows; ++row)
        for (int column = 1; column <= columns; ++column) {
            const std::string& text = layout.Cell(column, row);
            if (text.find("Sample") == std::string::npos) continue;
            const std::int32_t sample = SampleNumberOfLabel(text);
            if (sample < 1 || sample > wellCount) continue;
            auto& wells = At(samples.SampleWells, sample);
            for (int slot = 1; slot <= wellCount; ++slot) {
                if (At(wells, slot) < 0) {
                    At(wells, slot) = WellIndex(row, column, columns);
                    ++samples.SampleWellCount;
                    break;
                }
            }
        }
}

} // namespace movra
