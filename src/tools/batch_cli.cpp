#include "batch_cli.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <optional>
#include <stdexcept>

#include "batch/file_column_table.h"
#include "batch/plate_fit.h"
#include "batch/progress_line.h"
#include "batch/report_text.h"
#include "batch_options.h"
#include "fitting/fit_run.h"
#include "output_file.h"
#include "parser/parser.h"
#include "plate/plate_layout_file.h"
#include "plate/sm_import.h"
#include "plate/table_import.h"
#include "plate/text_decoding.h"
#include "plot_files.h"
#include "reduction/combination_choice.h"
#include "reduction/sample_wells.h"
#include "reports/results_report.h"

namespace movra {
namespace {

// The desktop shows messages in a box where CR breaks a line; a terminal
// would overwrite the line instead.
std::string UserMessage(const std::exception& e)
{
    std::string text = e.what();
    std::replace(text.begin(), text.end(), '\r', '\n');
    return text;
}

// A failure that names the file it came from.
class FileInputError : public std::runtime_error {
public:
    FileInputError(const std::string& file, const std::exception& cause)
        : std::runtime_error(file + ": " + UserMessage(cause))
    {
    }
};

struct LoadedPlate {
    PlateMeasurements plate;
    SampleAssignment samples;
    std::vector<BatchCurve> curves;  // the curves fitted
    FitResults fits;
    ReviewTable review;
    PlateLayout layout;
};

void LoadPlate(const BatchOptions& options, const BatchInput& input, LoadedPlate& loaded, std::ostream& err)
{
    try {
        std::optional<ImportedPlate> imported;
        if (input.Table) {
            imported = ImportTable(LoadTextLines(input.File));
        } else {
            const TextLines lines = LoadTextLines(input.File);
            SilentImportInteraction answers(options.Merge, options.TimeOffset);
            imported = ImportSMText(lines, answers);
        }
        if (!imported) throw std::runtime_error("Import cancelled.");
        if (const std::string warning = MissingReadsWarning(*imported); !warning.empty())
            err << input.File << ": " << warning << '\n';
        loaded.fits.Reset();
        loaded.plate = std::move(imported->plate);
        loaded.review = std::move(imported->review);
    } catch (const std::exception& e) {
        throw FileInputError(input.File, e);
    }

    PlateLayout& layout = loaded.layout;
    layout.Reset();
    layout.SetGeometryForWellCount(loaded.plate.WellCount);
    const std::string& layoutFile = input.Layout.empty() ? options.LayoutFile : input.Layout;
    if (layoutFile.empty()) {
        // Every well is Sample1; for a table only the wells that hold its curves
        // (the review table has a column per curve after x and temperature).
        const int wells = input.Table ? loaded.review.ColumnCount() - 3 : layout.PlateRows() * layout.PlateColumns();
        for (int row = 1; row <= layout.PlateRows(); ++row)
            for (int column = 1; column <= layout.PlateColumns(); ++column)
                if (WellIndex(row, column, layout.PlateColumns()) < wells) layout.SetCell(column, row, "Sample1");
    } else {
        try {
            ApplyPlateLayoutLines(LoadTextLines(layoutFile, kMaxLayoutFileBytes), layout);
        } catch (const std::exception& e) {
            throw FileInputError(layoutFile, e);
        }
    }
}

// The settings the plate is fitted with: the untouched default combination
// follows the plate's wavelengths; one that names a missing wavelength is
// warned about. Every plate starts from the options, not from the plate
// before it.
PlateFitSettings SettingsFor(const PlateMeasurements& plate, const BatchOptions& options, std::ostream& err,
                             const std::string& prefix)
{
    PlateFitSettings settings{options.Combination, options.Fit};
    const CombinationChoice choice =
        ChooseCombination(options.Combination.CombinationText, options.CombinationTyped, plate.WaveLengthCount);
    if (!choice.Warning.empty()) err << prefix << "warning: " << choice.Warning << '\n';
    if (choice.Text == options.Combination.CombinationText) return settings;
    settings.Combination.CombinationText = choice.Text;
    settings.Fit.StatusText = choice.Text + " - " + options.Settings.FitFormulaText;
    return settings;
}

// Fits the plate, names every unfitted curve on err and files the results.
void FitPlate(const BatchOptions& options, const PlateFitSettings& settings, const BatchConsole& console,
              LoadedPlate& loaded, std::ostream& err, const std::string& prefix)
{
    const PlateMeasurements& plate = loaded.plate;
    const BatchSettings& texts = options.Settings;
    FitSettings fit = settings.Fit;
    fit.View = ReadsInView(plate.TimePointCount, texts.ViewStart, texts.ViewFinish);
    FillSampleArray(loaded.layout, plate, loaded.samples);
    loaded.curves = CurvesToFit(plate, loaded.samples, texts.AverageData);
    const std::vector<BatchCurve>& curves = loaded.curves;
    const std::string unit = texts.AverageData ? "sample means" : "wells";

    FitProgressReport report;
    const auto started = std::chrono::steady_clock::now();
    if (console.ErrIsTerminal && !options.Quiet) {
        report = [&](int done, int total) {
            const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - started;
            err << '\r' << prefix << FormatProgressLine(done, total, elapsed.count(), unit) << std::flush;
        };
    }
    const auto outcomes = FitPlateCurves(plate, curves, settings.Combination, fit, options.Threads, report);
    if (report) err << '\n';

    for (const auto& outcome : outcomes)
        if (outcome.Failure) std::rethrow_exception(outcome.Failure);
    FileFitResults(loaded.fits, curves, outcomes, fit);

    int fitted = 0;
    for (std::size_t i = 0; i < curves.size(); ++i) {
        const std::int32_t status = outcomes[i].Result.Status;
        if (status == OptOk) {
            ++fitted;
            continue;
        }
        err << prefix << WellName(curves[i].FiledWell(), plate.PlateColumns) << ": " << FitStatusName(status)
            << '\n';
    }
    err << prefix << fitted << " of " << curves.size() << ' ' << unit << " fitted\n";
}

// A report of the loaded plate, fitted before when the report needs fits.
std::string BuildReport(ReportKind report, const PlateFitSettings& settings, LoadedPlate& loaded)
{
    if (report == ReportKind::Review) return ReviewTsv(loaded.review, loaded.plate);

    StringTable grid(5, 5);
    if (report == ReportKind::Results) {
        BuildResultsReport(loaded.layout, loaded.plate, loaded.samples, loaded.fits, grid);
    } else if (report == ReportKind::Status) {
        BuildStatusReport(loaded.layout, loaded.plate, loaded.samples, loaded.fits, grid);
    } else if (report == ReportKind::Statistics) {
        BuildStatisticsReport(loaded.layout, loaded.plate, loaded.samples, loaded.fits, grid);
    } else {
        TParser parser1;
        ParserCombinedValues values(parser1, loaded.plate, settings.Combination.CombinationText,
                                    settings.Combination.Weighting);
        if (report == ReportKind::Average)
            BuildAverageReport(loaded.layout, loaded.plate, loaded.samples, values, grid);
        else
            BuildReducedDataReport(loaded.layout, loaded.plate, loaded.samples, values, grid);
    }
    return ReportTsv(grid);
}

// One picture per sample; with several inputs in a folder named after each.
void WritePlots(const BatchOptions& options, const PlateFitSettings& settings, const BatchInput& input,
                const LoadedPlate& loaded, std::ostream& err, const std::string& prefix)
{
    const BatchSettings& s = options.Settings;
    SamplePlotSettings plots;
    plots.Folder = options.PlotFolder;
    if (options.Inputs.size() > 1)
        plots.Folder = std::filesystem::path(options.PlotFolder) / std::filesystem::path(input.File).stem();
    plots.Format = options.PlotFormat;
    plots.AverageData = s.AverageData;
    plots.Combination = settings.Combination;
    plots.FitFormulaText = s.FitFormulaText;
    plots.StartTexts = s.StartTexts;
    plots.ViewStart = s.ViewStart;
    plots.ViewFinish = s.ViewFinish;
    plots.Threads = options.Threads;
    const auto files = WriteSamplePlots(plots, loaded.plate, loaded.fits, loaded.curves);
    err << prefix << files.size() << (files.size() == 1 ? " picture" : " pictures") << " written to "
        << plots.Folder.string() << '\n';
}

// Every report the options ask for, in their order, from one import and at
// most one fit of the input. prefix leads every line the input writes to err.
std::vector<std::string> ReportsOf(const BatchOptions& options, const BatchInput& input, const BatchConsole& console,
                                   std::ostream& err, const std::string& prefix)
{
    LoadedPlate loaded;
    LoadPlate(options, input, loaded, err);
    const PlateFitSettings settings = SettingsFor(loaded.plate, options, err, prefix);
    const bool needsFits = std::any_of(options.Reports.begin(), options.Reports.end(), [](ReportKind report) {
        return report == ReportKind::Results || report == ReportKind::Status || report == ReportKind::Statistics;
    });
    if (needsFits) FitPlate(options, settings, console, loaded, err, prefix);
    // The pictures first: an input whose pictures could not be drawn writes no table.
    if (!options.PlotFolder.empty()) WritePlots(options, settings, input, loaded, err, prefix);
    std::vector<std::string> tables;
    for (const ReportKind report : options.Reports) tables.push_back(BuildReport(report, settings, loaded));
    return tables;
}

std::string WithFileColumn(const std::string& file, const std::string& table)
{
    FileColumnTable withFile;
    withFile.Add(file, table);
    return withFile.Text();
}

} // namespace

int RunBatch(const std::vector<std::string>& args, std::ostream& out, std::ostream& err, const BatchConsole& console)
{
    int exitCode = kBatchExitOk;
    const std::optional<BatchOptions> options = ParseBatchOptions(args, out, err, exitCode);
    if (!options) return exitCode;

    const bool several = options->Inputs.size() > 1;
    const bool toFolder = !options->OutputDir.empty();
    if (toFolder) {
        std::error_code error;
        std::filesystem::create_directories(options->OutputDir, error);
        if (error) {
            err << "Cannot create folder \"" << options->OutputDir << "\": " << error.message() << ".\n";
            return kBatchExitBadInput;
        }
    }

    // One table for all inputs, or a file per input and report under
    // --output-dir, written as soon as the input is done. An input that
    // fails is named on err and skipped; the others still get written.
    FileColumnTable combined;
    std::string table;
    int failed = 0;
    for (const BatchInput& input : options->Inputs) {
        const std::string prefix = several ? input.File + ": " : std::string();
        try {
            std::vector<std::string> tables = ReportsOf(*options, input, console, err, prefix);
            if (toFolder) {
                for (std::size_t k = 0; k < tables.size(); ++k)
                    WriteOutputFile(ReportFileIn(options->OutputDir, input.File, options->Reports[k]),
                                    options->FileColumn ? WithFileColumn(input.File, tables[k]) : tables[k]);
            } else if (options->FileColumn) {
                combined.Add(input.File, tables.front());
            } else {
                table = std::move(tables.front());
            }
        } catch (const std::exception& e) {
            std::string message = UserMessage(e);
            if (!message.starts_with(prefix)) message.insert(0, prefix);
            err << message << '\n';
            ++failed;
        }
    }
    if (several && failed > 0) err << failed << " of " << options->Inputs.size() << " files failed\n";
    const int status = failed > 0 ? kBatchExitBadInput : kBatchExitOk;
    // With nothing read there is no table; a previous output file stays.
    if (toFolder || failed == static_cast<int>(options->Inputs.size())) return status;

    try {
        if (options->FileColumn) table = combined.Text();
        if (options->OutputFile.empty())
            WriteOutputStream(out, table);
        else
            WriteOutputFile(options->OutputFile, table);
    } catch (const OutputError& e) {
        err << e.what() << '\n';
        return kBatchExitBadInput;
    }
    return status;
}

} // namespace movra
