// Fuzz target for the plate layout loader: the input is a layout file, loaded
// on a 96-well and on a 384-well plate. Loading either throws
// LayoutFileError and leaves the layout unchanged, or fills it; a filled
// layout lists its samples, fills the sample table, collects each sample's
// shown wells, and saves to a text that loads back to the same cells.
#include <cstddef>
#include <cstdint>
#include <string>

#include "plate/plate_layout.h"
#include "plate/plate_layout_file.h"
#include "plate/plate_measurements.h"
#include "plate/sample_assignment.h"
#include "plate/text_decoding.h"
#include "plate/text_lines.h"
#include "reduction/sample_wells.h"
#include "shared/conversion.h"

namespace {

movra::PlateMeasurements PlateOf(int wellCount)
{
    movra::PlateMeasurements plate;
    plate.WellCount = wellCount;
    plate.PlateRows = wellCount == 96 ? 8 : 16;
    plate.PlateColumns = wellCount == 96 ? 12 : 24;
    return plate;
}

void LoadOn(const movra::TextLines& lines, int wellCount)
{
    movra::PlateLayout layout;
    layout.Reset();
    layout.SetGeometryForWellCount(wellCount);
    layout.SetCell(1, 1, "Sample7");
    const std::string before = movra::PlateLayoutFileText(layout);
    try {
        movra::ApplyPlateLayoutLines(lines, layout);
    } catch (const movra::LayoutFileError&) {
        if (movra::PlateLayoutFileText(layout) != before) __builtin_trap();
        return;
    }

    const std::string saved = movra::PlateLayoutFileText(layout);
    movra::PlateLayout reloaded;
    reloaded.SetGeometryForWellCount(wellCount);
    movra::ApplyPlateLayoutLines(movra::TextLines(saved), reloaded);
    if (movra::PlateLayoutFileText(reloaded) != saved) __builtin_trap();

    const movra::PlateMeasurements plate = PlateOf(wellCount);
    movra::SampleAssignment samples;
    movra::ShownCurves curves;
    curves.Reset();
    const auto labels = layout.CheckPLSamples();
    movra::FillSampleArray(layout, plate, samples);
    if (samples.SampleWellCount < 0 || samples.SampleWellCount > wellCount) __builtin_trap();

    int shownTotal = 0;
    for (const auto& label : labels) {
        const auto outcome = movra::CollectShownWells(layout, label, plate, curves);
        if (outcome == movra::ShownWellsOutcome::NothingChosen) continue;
        int curve = 1;
        while (curve <= movra::kMaxShownCurves && curves.ShownWells[static_cast<std::size_t>(curve)] >= 0) {
            const int well = curves.ShownWells[static_cast<std::size_t>(curve)];
            if (well >= wellCount) __builtin_trap();
            ++curve;
        }
        shownTotal += curve - 1;
    }
    if (shownTotal > wellCount) __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string bytes(reinterpret_cast<const char*>(data), size);
    const movra::TextLines lines(movra::DecodeText(std::move(bytes)));
    LoadOn(lines, 96);
    LoadOn(lines, 384);
    return 0;
}
