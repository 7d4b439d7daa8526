#include "reduction/sample_wells.h"

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
            curves.ShownWells[static_cast<std::size_t>(curve++)] = WellIndex(row, column, columns);
        }
    curves.ShownWells[static_cast<std::size_t>(curve)] = -1;
    return outcome;
}

void FillSampleArray(const PlateLayout& layout, const PlateMeasurements& plate, SampleAssignment& samples)
{
    const int wellCount = std::min(plate.WellCount, kMaxWells);
    for (int s = 1; s <= wellCount; ++s)
        for (int i = 1; i <= wellCount; ++i) samples.SampleWells[static_cast<std::size_t>(s)][static_cast<std::size_t>(i)] = -1;
    samples.SampleWellCount = 0;
    const int rows = plate.PlateRows;
    const int columns = plate.PlateColumns;
    for (int row = 1; row <= rows; ++row)
        for (int column = 1; column <= columns; ++column) {
            const std::string& text = layout.Cell(column, row);
            if (text.find("Sample") == std::string::npos) continue;
            const std::int32_t sample = SampleNumberOfLabel(text);
            if (sample < 1 || sample > wellCount) continue;
            auto& wells = samples.SampleWells[static_cast<std::size_t>(sample)];
            for (int slot = 1; slot <= wellCount; ++slot) {
                if (wells[static_cast<std::size_t>(slot)] < 0) {
                    wells[static_cast<std::size_t>(slot)] = WellIndex(row, column, columns);
                    ++samples.SampleWellCount;
                    break;
                }
            }
        }
}

} // namespace movra
