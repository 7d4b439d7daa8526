// End to end: import the bundled demo plate, assign samples, combine the two
// wavelengths, fit every shown curve and build the results report; the fitted
// parameters must match the curves the demo plate was generated from.
#include <gtest/gtest.h>

#include <filesystem>

#include "fitting/fit_formulas.h"
#include "fitting/fit_run.h"
#include "plate/plate_layout_file.h"
#include "plate/sm_import.h"
#include "plate/synthetic_plate.h"
#include "reduction/sample_wells.h"
#include "reduction/wavelength_combination.h"
#include "reports/results_report.h"

namespace movra {
namespace {

TEST(DemoPlate, FittedParametersMatchTheGeneratingCurves)
{
    SilentImportInteraction answers;
    auto imported = ImportSMText(TextLines(ReadFileBytes(std::filesystem::path(MOVRA_DATA) / "demo-kinetic-96.txt")),
                                 answers);
    ASSERT_TRUE(imported.has_value());
    const PlateMeasurements plate = std::move(imported->plate);
    ShownCurves curves;
    FitResults fits;
    curves.Reset(), fits.Reset();
    TParser parser1, parser2;
    const auto slots = DefineFitParameters(parser2);

    // Column 1 is Sample1 and column 4 Sample2: eight wells each.
    PlateLayout layout;
    layout.Reset();
    layout.SetGeometryForWellCount(plate.WellCount);
    for (int row = 1; row <= 8; ++row) {
        layout.SetCell(1, row, "Sample1");
        layout.SetCell(4, row, "Sample2");
    }
    const FitSettingTexts controls{std::string(kFitFormulas[0]), 0,
                                   {"", "0.1", "0.5", "0.01", "0.6", "0.1", "1", "1", "1"}, "0.000001", "500"};
    const FitSettings settings =
        ParseFitSettings(controls, parser2, TVector(9, -1e20), TVector(9, 1e20), {1, plate.TimePointCount}, "b-a");
    CurveFitter fitter(parser2, slots, settings);
    FitRunHost host;
    for (int sample : {1, 2}) {
        const std::string label = "Sample" + std::to_string(sample);
        ASSERT_EQ(CollectShownWells(layout, label, plate, curves), ShownWellsOutcome::Collected);
        ParserCombinedValues values(parser1, plate, "b-a", {});
        values.CompileCombination();
        CalculateReducedData(plate, curves, values, false);
        FitShownCurves(plate, curves, fitter, false, fits, host);

        const KineticCurve truth = DemoSampleCurve(sample);
        for (int curve = 1; curve <= 8; ++curve) {
            const auto& row = fits.WellFitResults[static_cast<std::size_t>(curves.ShownWells[static_cast<std::size_t>(curve)])];
            ASSERT_GT(row[0], 0.0) << label << " curve " << curve;
            const double expected[] = {truth.m1, truth.m2, truth.m3, truth.m4, truth.m5}, within[] = {1, 2, 3, 1, 1};
            for (std::size_t m = 1; m <= 5; ++m) EXPECT_NEAR(row[m], expected[m - 1], 0.01 * within[m - 1]) << m;
            // The noise is 0.003 on each of the two readings.
            EXPECT_LT(row[0] / (plate.TimePointCount - 5), 4 * 2 * 0.003 * 0.003);
        }
    }
    StringTable report(5, 5);
    SampleAssignment samples;
    BuildResultsReport(layout, plate, samples, fits, report);
    ASSERT_EQ(report.RowCount(), 17);
    EXPECT_EQ(report.Cell(0, 1), "Sample1A1");
    EXPECT_EQ(report.Cell(0, 9), "Sample2A4");
    EXPECT_EQ(report.Cell(18, 16), "b-a - " + std::string(kFitFormulas[0]));
}

} // namespace
} // namespace movra
