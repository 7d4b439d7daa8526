#include "reduction/sample_wells.h"
#include "shared/one_based.h"

#include <algorithm>
#include <vector>

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

void CollectShownWellsAround(const PlateLayout& layout, int well, const PlateMeasurements& plate,
                             ShownCurves& curves)
{
    const int rows = plate.PlateRows;
    const int columns = plate.PlateColumns;
    std::vector<int> wells;
    if (columns > 0) {
        const std::string& label = layout.Cell(well % columns + 1, well / columns + 1);
        for (int column = 1; column <= columns && !label.empty(); ++column)
            for (int row = 1; row <= rows; ++row)
                if (layout.Cell(column, row) == label) wells.push_back(WellIndex(row, column, columns));
    }
    const auto position = static_cast<std::size_t>(std::find(wells.begin(), wells.end(), well) - wells.begin());
    std::size_t first = 0;
    if (position == wells.size())
        wells = {well};
    else
        first = position / kMaxShownCurves * kMaxShownCurves;
    int curve = 1;
    for (std::size_t i = first; i < wells.size() && curve <= kMaxShownCurves; ++i)
        At(curves.ShownWells, curve++) = wells[i];
    At(curves.ShownWells, curve) = -1;
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
