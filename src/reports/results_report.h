#pragma once
// The report page's tables: fit results of every fitted well grouped by
// sample, the mean combined curve of every sample, and the combined curve of
// every assigned well; plus clearing and the clipboard text. Each builder
// reads the plate layout afresh, so a report follows the layout of the moment
// and is a snapshot afterwards.

#include <string>

#include "plate/plate_layout.h"
#include "plate/plate_state.h"
#include "reduction/combined_values.h"
#include "reports/string_table.h"

namespace movra {

// "Sample" + sample number + well label, such as Sample3B4.
std::string SampleLabel(int sample, int well, int plateColumns);

// "Show Results": one row per well whose last fit succeeded with a positive
// sum of squares, samples ascending, wells row-major inside a sample.
void CalcResults(const PlateLayout& layout, PlateState& state, StringTable& grid);

// "Average": x column, then the mean combined curve of every sample in use.
void RepAverageButClick(const PlateLayout& layout, PlateState& state, CombinedValues& values,
                        StringTable& grid);

// "Reduced Data": x column, then the combined curve of every assigned well.
void RawDataButClick(const PlateLayout& layout, PlateState& state, CombinedValues& values,
                     StringTable& grid);

// "Clear Report": empties the cells, keeps the counts.
void bt_ClearReportClick(StringTable& grid);

// "Copy All": the whole grid as TAB-separated rows ended by CR.
std::string CopyReportText(const StringTable& grid);

} // namespace movra
