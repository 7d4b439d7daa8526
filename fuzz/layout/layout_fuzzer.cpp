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
#include "plate/plate_state.h"
#include "plate/text_decoding.h"
#include "plate/text_lines.h"
#include "reduction/sample_wells.h"
#include "shared/conversion.h"

namespace {

void SetPlate(movra::PlateState& state, int wellCount)
{
    state.plate.WellCount = wellCount;
    state.plate.PlateRows = wellCount == 96 ? 8 : 16;
    state.plate.PlateColumns = wellCount == 96 ? 12 : 24;
}

void LoadOn(const movra::TextLines& lines, int wellCount)
{
    movra::PlateLayout layout;
    layout.New1Click();
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

    movra::PlateState state;
    state.ResetWorkingState();
    SetPlate(state, wellCount);
    const auto labels = layout.CheckPLSamples();
    movra::FillSampleArray(layout, state);
    if (state.SampleWellCount < 0 || state.SampleWellCount > wellCount) __builtin_trap();

    int shownTotal = 0;
    for (const auto& label : labels) {
        const auto outcome = movra::CollectShownWells(layout, label, state);
        if (outcome == movra::ShownWellsOutcome::NothingChosen) continue;
        int curve = 1;
        while (curve <= movra::kMaxShownCurves && state.ShownWells[static_cast<std::size_t>(curve)] >= 0) {
            const int well = state.ShownWells[static_cast<std::size_t>(curve)];
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
