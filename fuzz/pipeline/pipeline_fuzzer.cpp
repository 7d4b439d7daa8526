// Fuzz target for the whole path a user takes: import a small plate, lay out
// two samples, show one, combine the wavelengths, fit the shown curves and
// build and copy the results report. The first input byte chooses the fit
// formula, the combination, the sample shown and whether curves are
// averaged; the rest is the plate file. Only the errors the program shows to
// the user may come out, and a successful fit files finite parameters.
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "fitting/fit_formulas.h"
#include "fitting/fit_model.h"
#include "fitting/fit_run.h"
#include "parser/evaluation_faults.h"
#include "parser/parser.h"
#include "plate/import_errors.h"
#include "plate/import_interaction.h"
#include "plate/plate_layout.h"
#include "plate/sm_import.h"
#include "plate/text_decoding.h"
#include "plate/text_lines.h"
#include "reduction/sample_wells.h"
#include "reduction/wavelength_combination.h"
#include "reports/results_report.h"
#include "reports/string_table.h"
#include "shared/conversion.h"

namespace {

constexpr std::array<const char*, 4> kCombinations = {"b-a", "a", "a/b", "ln(a)"};
constexpr std::array<int, 4> kFormulaChoices = {0, 4, 8, 11};

struct Choices {
    int formula;
    const char* combination;
    int sample;
    bool average;
};

Choices Decode(std::uint8_t byte)
{
    const unsigned bits = byte;
    return {kFormulaChoices[bits & 3u], kCombinations[(bits >> 2) & 3u], 1 + static_cast<int>((bits >> 4) & 1u),
            ((bits >> 5) & 1u) != 0};
}

void LayOutSamples(movra::PlateLayout& layout, int wellCount)
{
    layout.Reset();
    layout.SetGeometryForWellCount(wellCount);
    for (int row = 1; row <= 3; ++row) {
        layout.SetCell(1, row, "Sample1");
        layout.SetCell(2, row, "Sample2");
    }
    layout.SetCell(3, 2, "Sample1");
}

struct PathState {
    movra::PlateMeasurements plate;
    movra::SampleAssignment samples;
    movra::ShownCurves curves;
    movra::FitResults fits;
};

void RunPath(PathState& state, const Choices& choices)
{
    movra::PlateLayout layout;
    LayOutSamples(layout, state.plate.WellCount);

    movra::TParser parser1, parser2;
    const auto slots = movra::DefineFitParameters(parser2);
    movra::TVector limitMin, limitMax;
    movra::AllocVector(limitMin, 8);
    movra::AllocVector(limitMax, 8);
    for (std::size_t k = 1; k <= 8; ++k) {
        limitMin[k] = -1e20;
        limitMax[k] = 1e20;
    }
    movra::FitSettingTexts controls;
    controls.FitFormulaIndex = choices.formula;
    controls.FitFormulaText = std::string(movra::kFitFormulas[static_cast<std::size_t>(choices.formula)]);
    // Start values near the seed plates' curves, so that short fits succeed
    // and the statistics and the report rows are reached.
    controls.StartTexts = {"", "0.1", "0.5", "0.01", "0.6", "0.1", "1", "1", "1"};
    controls.ToleranceText = "0.0001";
    controls.MaxIterationsText = "20";

    const std::string label = "Sample" + std::to_string(choices.sample);
    movra::CollectShownWells(layout, label, state.plate, state.curves);
    movra::FillSampleArray(layout, state.plate, state.samples);
    movra::ParserCombinedValues values(parser1, state.plate, choices.combination, {});
    values.CompileCombination();
    movra::CalculateReducedData(state.plate, state.curves, values, choices.average);
    const movra::FitSettings settings = movra::ParseFitSettings(
        controls, parser2, limitMin, limitMax, {0, state.plate.TimePointCount}, choices.combination);
    movra::CurveFitter fitter(parser2, slots, settings);
    movra::FitRunHost host;
    movra::FitShownCurves(state.plate, state.curves, fitter, choices.average, state.fits, host);
    for (int curve = 1; curve <= movra::kMaxShownCurves; ++curve) {
        const int well = state.curves.ShownWells[static_cast<std::size_t>(curve)];
        if (well < 0) break;
        const auto& row = state.fits.WellFitResults[static_cast<std::size_t>(well)];
        if (row[0] < 0) continue;  // the fit failed and filed no parameters
        for (std::size_t k = 1; k <= 8; ++k)
            if (!std::isfinite(row[k])) __builtin_trap();
    }

    movra::StringTable report(5, 5);
    movra::BuildResultsReport(layout, state.plate, state.samples, state.fits, report);
    const std::string text = movra::CopyReportText(report);
    if (report.RowCount() > 1 && text.empty()) __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0 || size > 20000) return 0;
    const Choices choices = Decode(data[0]);
    std::string bytes(reinterpret_cast<const char*>(data + 1), size - 1);
    const movra::TextLines lines(movra::DecodeText(std::move(bytes)));
    movra::SilentImportInteraction answers;
    std::optional<movra::ImportedPlate> imported;
    try {
        imported = movra::ImportSMText(lines, answers);
    } catch (const movra::ImportError&) {
        return 0;
    } catch (const movra::ConversionError&) {
        return 0;
    }
    if (!imported || imported->plate.TimePointCount > 64) return 0;

    PathState state;
    state.curves.Reset();
    state.fits.Reset();
    state.plate = std::move(imported->plate);
    try {
        RunPath(state, choices);
    } catch (const movra::EMathParserError&) {
    } catch (const movra::EInvalidOp&) {
    } catch (const movra::EDivByZero&) {
    }
    return 0;
}
