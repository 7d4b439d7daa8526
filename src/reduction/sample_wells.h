#pragma once
// Which wells belong to which sample, read from the plate layout: the wells
// shown as curves for the chosen sample (at most eight, column-major) and the
// table of every sample's wells used by the reports (row-major).

#include <string>

#include "plate/plate_layout.h"
#include "plate/plate_measurements.h"
#include "plate/sample_assignment.h"
#include "reduction/shown_curves.h"

namespace movra {

enum class ShownWellsOutcome {
    NothingChosen,  // the chooser's text is shorter than five characters
    Collected,      // ShownWells holds the sample's wells
    TooManyWells,   // a ninth well matched: the first eight are shown
};

inline constexpr const char* kTooManyCurvesMessage =
    "Maximum 8 curves can be displayed at one time\rMark some wells with a different sample #";

// Fills curves.ShownWells with the first eight wells whose cell text equals
// sampleText exactly, scanning plate columns outer and rows inner, and ends
// the list with -1. Does nothing for a text shorter than five characters.
ShownWellsOutcome CollectShownWells(const PlateLayout& layout, const std::string& sampleText,
                                    const PlateMeasurements& plate, ShownCurves& curves);

// The curves a click on `well` shows: the wells of its sample in the order
// CollectShownWells takes them, the block of eight among them that holds
// `well` (the first eight when it is one of them); `well` alone when its
// cell carries no label.
void CollectShownWellsAround(const PlateLayout& layout, int well, const PlateMeasurements& plate,
                             ShownCurves& curves);

// Rebuilds samples.SampleWells and samples.SampleWellCount from the layout,
// wells of a sample listed row-major. Labels naming sample 0 or a number
// above the plate's well count are skipped. ConversionError for a label whose
// text after "Sample" is not an integer.
void FillSampleArray(const PlateLayout& layout, const PlateMeasurements& plate, SampleAssignment& samples);

} // namespace movra
