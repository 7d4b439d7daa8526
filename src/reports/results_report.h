#pragma once
// The report page's tables: fit results of every fitted well grouped by
// sample, the mean combined curve of every sample, and the combined curve of
// every assigned well; plus clearing and the clipboard text. Each builder
// reads the plate layout afresh into the sample assignment, so a report
// follows the layout of the moment and is a snapshot afterwards.

#include <string>

#include "fitting/fit_results.h"
#include "plate/plate_layout.h"
#include "plate/plate_measurements.h"
#include "plate/sample_assignment.h"
#include "reduction/combined_values.h"
#include "reports/string_table.h"

namespace movra {

// "Sample" + sample number + well label, such as Sample3B4.
std::string SampleLabel(int sample, int well, int plateColumns);

// "Show Results": one row per well whose last fit succeeded with a positive
// sum of squares, samples ascending, wells row-major inside a sample.
void BuildResultsReport(const PlateLayout& layout, const PlateMeasurements& plate, SampleAssignment& samples,
                        const FitResults& fits, StringTable& grid);

// The status table: one row per well of a sample that a fit has tried
// (samples ascending, wells row-major): its label, status name, flag words
// (fitting/fit_flags.h) and R² (empty unless the fit succeeded).
void BuildStatusReport(const PlateLayout& layout, const PlateMeasurements& plate, SampleAssignment& samples,
                       const FitResults& fits, StringTable& grid);

// The statistics table: one row per well whose last fit succeeded (samples
// ascending, wells row-major): N, n, R², adjusted R², residual standard
// deviation, AICc and the 95 % interval of m1..m8 (fitting/fit_statistics.h);
// empty cells for what a well has not.
void BuildStatisticsReport(const PlateLayout& layout, const PlateMeasurements& plate, SampleAssignment& samples,
                           const FitResults& fits, StringTable& grid);

// "Average": x column, then the mean combined curve of every sample in use.
void BuildAverageReport(const PlateLayout& layout, const PlateMeasurements& plate, SampleAssignment& samples,
                        CombinedValues& values, StringTable& grid);

// "Reduced Data": x column, then the combined curve of every assigned well.
void BuildReducedDataReport(const PlateLayout& layout, const PlateMeasurements& plate, SampleAssignment& samples,
                            CombinedValues& values, StringTable& grid);

// "Clear Report": empties the cells, keeps the counts.
void ClearReport(StringTable& grid);

// "Copy All": the whole grid as TAB-separated rows ended by CR.
std::string CopyReportText(const StringTable& grid);

} // namespace movra
