#include "batch_cli.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <thread>

#include "batch/batch_settings.h"
#include "batch/parameter_texts.h"
#include "batch/plate_fit.h"
#include "batch/progress_line.h"
#include "batch/report_text.h"
#include "fitting/fit_flags.h"
#include "fitting/fit_run.h"
#include "output_file.h"
#include "parser/expression_compiler.h"
#include "parser/parser.h"
#include "plate/import_fields.h"
#include "plate/plate_layout_file.h"
#include "plate/sm_import.h"
#include "plate/table_import.h"
#include "plate/text_decoding.h"
#include "plot_files.h"
#include "reduction/combination_choice.h"
#include "reduction/sample_wells.h"
#include "reports/results_report.h"
#include "shared/conversion.h"
#include "shared/message_text.h"
#include "shared/number_format.h"
#include "shared/one_based.h"

namespace movra {
namespace {

enum class ReportKind { Results, Status, Statistics, Average, Reduced, Review };

struct BatchOptions {
    std::string PlateFile;
    std::string TableFile;  // a plain x/y table instead of a plate file
    std::string LayoutFile;
    std::string OutputFile;
    BatchSettings Settings;    // the option texts
    CombinationSettings Combination;  // converted from them
    bool CombinationTyped = false;    // --combination given: kept even where the plate lacks a wavelength
    FitSettings Fit;                  // converted; its view follows the imported reads
    std::string TimeOffset = "0";
    MergeAnswer Merge = MergeAnswer::Yes;
    ReportKind Report = ReportKind::Results;
    int Threads = 1;
    bool Quiet = false;
    std::string PlotFolder;  // --plots: one picture per sample there
    std::string PlotFormat = "png";
};

// An option value the command line cannot stand for; exit status 2.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

int HardwareThreads()
{
    return std::max(1, static_cast<int>(std::thread::hardware_concurrency()));
}

// The desktop shows messages in a box where CR breaks a line; a terminal
// would overwrite the line instead.
std::string UserMessage(const std::exception& e)
{
    std::string text = e.what();
    std::replace(text.begin(), text.end(), '\r', '\n');
    return text;
}

WavelengthWeighting ParseWeighted(const std::string& letters)
{
    auto index = [&](char letter) {
        const char upper = static_cast<char>(std::toupper(static_cast<unsigned char>(letter)));
        if (upper < 'A' || upper > 'D')
            throw UsageError("--weighted: letters must be A, B, C or D: " + MessageExcerpt(letters));
        return upper - 'A';
    };
    if (letters.size() != 2)
        throw UsageError("--weighted: expected two letters such as AB: " + MessageExcerpt(letters));
    return {index(letters[0]), index(letters[1])};
}

void ParseView(const std::string& text, BatchSettings& settings)
{
    const auto colon = text.find(':');
    double first = 0.0, last = 0.0;
    if (colon == std::string::npos || !TryStrToFloat(std::string_view(text).substr(0, colon), '.', first) ||
        !TryStrToFloat(std::string_view(text).substr(colon + 1), '.', last))
        throw UsageError("--view: expected FIRST:LAST in percent, such as 1:100: " + MessageExcerpt(text));
    if (first < 1.0 || last > 100.0 || first >= last)
        throw UsageError("--view: need 1 <= FIRST < LAST <= 100: " + MessageExcerpt(text));
    settings.ViewStart = first;
    settings.ViewFinish = last;
}

void ApplyParameterOption(const std::string& option, const std::string& list, std::array<std::string, 9>& texts)
{
    try {
        ApplyParameterTexts(list, texts);
    } catch (const ParameterListError& e) {
        throw UsageError(option + ": " + e.what());
    }
}

constexpr double kLargestTimeOffset = 1e6;  // hours, over a century

// Every option value of the fit, checked and converted once before any file
// is read, so that a value that cannot mean anything is bad usage, not bad
// input. The view is set after the import, from the plate's reads.
void ConvertSettings(BatchOptions& options)
{
    try {
        const PlateFitSettings converted = ConvertBatchSettings(options.Settings);
        options.Combination = converted.Combination;
        options.Fit = converted.Fit;
    } catch (const SettingError& e) {
        throw UsageError(e.what());
    }
    const std::string& timeOffset = options.TimeOffset;
    double offset = 0.0;
    if (!TryParseCellValue(timeOffset, offset) || !(std::fabs(offset) <= kLargestTimeOffset))
        throw UsageError("--time-offset: " + QuotedForMessage(timeOffset) + " is not a number of hours from -" +
                         FormatGeneral(kLargestTimeOffset) + " to " + FormatGeneral(kLargestTimeOffset));
}

// Writing the table over one of the files it is made from would destroy
// that file; the files are compared, not their names.
void CheckOutputIsNoInput(const std::string& output, const std::vector<std::pair<const char*, std::string>>& inputs)
{
    for (const auto& [what, input] : inputs) {
        std::error_code error;
        if (!input.empty() && std::filesystem::equivalent(output, input, error))
            throw UsageError("--output: \"" + output + "\" is the " + what + " \"" + input +
                             "\"; writing the table there would destroy it");
    }
}

// nullopt with exitCode set when the run ends here (help, bad usage).
std::optional<BatchOptions> ParseOptions(const std::vector<std::string>& args, std::ostream& out,
                                         std::ostream& err, int& exitCode)
{
    BatchOptions options;
    BatchSettings& s = options.Settings;
    options.Threads = HardwareThreads();
    std::string weighted = "AB", view = "1:100", merge = "yes", report = "results", derivatives = "exact";
    std::string start, lower, upper, fix;
    int formulaIndex = kDefaultFitFormulaIndex;

    CLI::App app{"Fit every well of a SpectraMax plate-format text file with the MOVRA engine, as the desktop\n"
                 "program's \"Fit shown\" would with the same settings, and write a report as TSV.",
                 "movra-batch"};
    app.footer(std::string("\n") + kFitFlagHelp);
    auto* plateFile =
        app.add_option("PLATE_FILE", options.PlateFile, "SpectraMax plate-format text file (kinetic or spectrum)");
    auto* tableFile = app.add_option("--table", options.TableFile,
                                     "Read a plain table instead of PLATE_FILE: header row of captions, first "
                                     "column x, one curve per further column (TAB, ';' or ',' separated)");
    plateFile->excludes(tableFile);
    tableFile->excludes(plateFile);
    app.add_option("--layout", options.LayoutFile,
                   "Plate layout file (.PLO) as the desktop program saves it; without one every well is Sample1");
    auto* combination = app.add_option("--combination", s.CombinationText,
                                       "Wavelength combination in a, b, c, d (default: \"a\" for a plate or "
                                       "table with one wavelength)")
                            ->capture_default_str();
    app.add_option("--track-bar", s.TrackBarPosition, "Track bar position weighting the two --weighted wavelengths")
        ->check(CLI::Range(0, 200))
        ->capture_default_str();
    app.add_option("--weighted", weighted, "The two wavelength letters (A..D) the track bar weights")
        ->capture_default_str();
    auto* formula = app.add_option("--formula", s.FitFormulaText,
                                   "Fit formula in x and m1..m8, evaluated by the parser as a typed formula");
    auto* index = app.add_option("--formula-index", formulaIndex,
                                 "Entry 0..11 of the desktop's formula list (default: its default entry)")
                      ->check(CLI::Range(0, static_cast<int>(kFitFormulas.size()) - 1))
                      ->capture_default_str();
    formula->excludes(index);
    app.add_option("--start", start,
                   "Start values, e.g. m1=4000,m2=-3000 (cell-value rule; 0 becomes 0.0001); "
                   "defaults m1=4000,m2=-3000,m3=1,m4=10,m5=1,m6=0.001,m7=0.001,m8=1; \"auto\" guesses them "
                   "from each curve (a rule per list entry, a search from the data's scales for a typed formula)");
    app.add_option("--fix", fix,
                   "Parameters held at a value, e.g. m3=0,m5=1: left out of the fit, standard deviation 0, not "
                   "counted in the degrees of freedom (limits with min = max fix a parameter too)");
    app.add_option("--lower", lower, "Lower limits, e.g. m3=0 (default -1E20 for each)");
    app.add_option("--upper", upper, "Upper limits, e.g. m5=10 (default 1E20 for each)");
    app.add_option("--tol", s.ToleranceText, "Convergence tolerance")->capture_default_str();
    app.add_option("--max-iter", s.MaxIterationsText, "Iteration limit of each fit")->capture_default_str();
    app.add_option("--derivatives", derivatives,
                   "Derivatives of the model: exact (from the compiled formula) or numeric (forward differences)")
        ->check(CLI::IsMember({"exact", "numeric"}))
        ->capture_default_str();
    app.add_option("--view", view, "Reads in view, FIRST:LAST in percent as the zoom bar; the fit takes every "
                                   "read in view")
        ->capture_default_str();
    app.add_option("--time-offset", options.TimeOffset, "Time offset in hours added to kinetic reads")
        ->capture_default_str();
    app.add_option("--merge-blocks", merge, "Merge the blocks of a file with several blocks")
        ->check(CLI::IsMember({"yes", "no"}))
        ->capture_default_str();
    app.add_flag("--average", s.AverageData,
                 "Fit one mean curve per sample (all its wells), filed under its first well (default: off)");
    app.add_option("--report", report,
                   "Table to write: results, status (one row per fitted well: status, flags, R\u00b2), statistics "
                   "(one row per fitted well: N, n, R\u00b2, adjusted R\u00b2, residual SD, AICc, 95% intervals of "
                   "m1..m8), average, reduced or review")
        ->check(CLI::IsMember({"results", "status", "statistics", "average", "reduced", "review"}))
        ->capture_default_str();
    app.add_option("--output", options.OutputFile, "Write the table to this file (default: stdout)");
    app.add_option("--threads", options.Threads, "Worker threads (default: all hardware threads)")
        ->check(CLI::Range(1, 4096))
        ->capture_default_str();
    app.add_flag("--quiet", options.Quiet, "No progress bar on a terminal (default: off)");
    auto* plots = app.add_option("--plots", options.PlotFolder,
                                 "Also draw one picture per sample into this folder (created when missing): its "
                                 "curves, fits and residuals as the desktop's graph shows them, at most eight wells "
                                 "to a picture (Sample3.png, Sample3-2.png, ...); needs no display");
    app.add_option("--plot-format", options.PlotFormat, "Picture format of --plots: png (300 dpi), svg or pdf")
        ->check(CLI::IsMember({"png", "svg", "pdf"}))
        ->capture_default_str();

    std::vector<std::string> reversed(args.rbegin(), args.rend());
    try {
        app.parse(reversed);
    } catch (const CLI::ParseError& e) {
        const int code = app.exit(e, out, err);
        exitCode = code == 0 ? kBatchExitOk : kBatchExitBadUsage;
        return std::nullopt;
    }

    try {
        if (plateFile->count() == 0 && tableFile->count() == 0)
            throw UsageError("PLATE_FILE or --table FILE is required");
        if (formula->count() > 0) {
            s.FitFormulaIndex = -1;
        } else {
            s.FitFormulaIndex = formulaIndex;
            s.FitFormulaText = std::string(At(kFitFormulas, formulaIndex));
        }
        s.Weighting = ParseWeighted(weighted);
        s.Derivatives = derivatives == "numeric" ? DerivativeMode::ForwardDifferences : DerivativeMode::Exact;
        ParseView(view, s);
        s.GuessStarts = start == "auto";
        if (!s.GuessStarts) ApplyParameterOption("--start", start, s.StartTexts);
        std::array<std::string, 9> fixedTexts{};
        ApplyParameterOption("--fix", fix, fixedTexts);
        for (int m = 1; m <= kMaxParameters; ++m) {
            if (At(fixedTexts, m).empty()) continue;
            At(s.StartTexts, m) = At(fixedTexts, m);
            At(s.FixedTicks, m) = true;
        }
        ApplyParameterOption("--lower", lower, s.LowerTexts);
        ApplyParameterOption("--upper", upper, s.UpperTexts);
        ConvertSettings(options);
        if (plots->count() > 0 && options.PlotFolder.empty()) throw UsageError("--plots: the folder name is empty");
        if (plots->count() > 0 && report != "results" && report != "status")
            throw UsageError("--plots: the pictures show fits, which only --report results or status makes");
        if (!options.OutputFile.empty())
            CheckOutputIsNoInput(options.OutputFile, {{"plate file", options.PlateFile},
                                                      {"table file", options.TableFile},
                                                      {"layout file", options.LayoutFile}});
    } catch (const UsageError& e) {
        err << e.what() << "\nRun with --help for more information.\n";
        exitCode = kBatchExitBadUsage;
        return std::nullopt;
    }
    options.CombinationTyped = combination->count() > 0;
    options.Merge = merge == "yes" ? MergeAnswer::Yes : MergeAnswer::No;
    options.Report = report == "results"   ? ReportKind::Results
                     : report == "status"  ? ReportKind::Status
                     : report == "statistics" ? ReportKind::Statistics
                     : report == "average" ? ReportKind::Average
                     : report == "reduced" ? ReportKind::Reduced
                                           : ReportKind::Review;
    return options;
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

void LoadPlate(const BatchOptions& options, LoadedPlate& loaded, std::ostream& err)
{
    try {
        std::optional<ImportedPlate> imported;
        if (!options.TableFile.empty()) {
            imported = ImportTable(LoadTextLines(options.TableFile));
        } else {
            const TextLines lines = LoadTextLines(options.PlateFile);
            SilentImportInteraction answers(options.Merge, options.TimeOffset);
            imported = ImportSMText(lines, answers);
        }
        if (!imported) throw std::runtime_error("Import cancelled.");
        if (const std::string warning = MissingReadsWarning(*imported); !warning.empty())
            err << (options.TableFile.empty() ? options.PlateFile : options.TableFile) << ": " << warning << '\n';
        loaded.fits.Reset();
        loaded.plate = std::move(imported->plate);
        loaded.review = std::move(imported->review);
    } catch (const std::exception& e) {
        throw FileInputError(options.TableFile.empty() ? options.PlateFile : options.TableFile, e);
    }

    PlateLayout& layout = loaded.layout;
    layout.Reset();
    layout.SetGeometryForWellCount(loaded.plate.WellCount);
    if (options.LayoutFile.empty()) {
        // Every well is Sample1; for a table only the wells that hold its curves
        // (the review table has a column per curve after x and temperature).
        const int wells = options.TableFile.empty() ? layout.PlateRows() * layout.PlateColumns()
                                                    : loaded.review.ColumnCount() - 3;
        for (int row = 1; row <= layout.PlateRows(); ++row)
            for (int column = 1; column <= layout.PlateColumns(); ++column)
                if (WellIndex(row, column, layout.PlateColumns()) < wells) layout.SetCell(column, row, "Sample1");
    } else {
        try {
            ApplyPlateLayoutLines(LoadTextLines(options.LayoutFile, kMaxLayoutFileBytes), layout);
        } catch (const std::exception& e) {
            throw FileInputError(options.LayoutFile, e);
        }
    }
}

// The combination the plate is reduced with: the untouched default follows
// the plate's wavelengths; one that names a missing wavelength is warned about.
void ChooseCombinationFor(const PlateMeasurements& plate, BatchOptions& options, std::ostream& err)
{
    const CombinationChoice choice =
        ChooseCombination(options.Combination.CombinationText, options.CombinationTyped, plate.WaveLengthCount);
    if (!choice.Warning.empty()) err << "warning: " << choice.Warning << '\n';
    if (choice.Text == options.Combination.CombinationText) return;
    options.Combination.CombinationText = choice.Text;
    options.Fit.StatusText = choice.Text + " - " + options.Settings.FitFormulaText;
}

// Fits the plate, names every unfitted curve on err and files the results.
void FitPlate(const BatchOptions& options, const BatchConsole& console, LoadedPlate& loaded, std::ostream& err)
{
    const PlateMeasurements& plate = loaded.plate;
    const BatchSettings& settings = options.Settings;
    FitSettings fit = options.Fit;
    fit.View = ReadsInView(plate.TimePointCount, settings.ViewStart, settings.ViewFinish);
    FillSampleArray(loaded.layout, plate, loaded.samples);
    loaded.curves = CurvesToFit(plate, loaded.samples, settings.AverageData);
    const std::vector<BatchCurve>& curves = loaded.curves;
    const std::string unit = settings.AverageData ? "sample means" : "wells";

    FitProgressReport report;
    const auto started = std::chrono::steady_clock::now();
    if (console.ErrIsTerminal && !options.Quiet) {
        report = [&](int done, int total) {
            const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - started;
            err << '\r' << FormatProgressLine(done, total, elapsed.count(), unit) << std::flush;
        };
    }
    const auto outcomes = FitPlateCurves(plate, curves, options.Combination, fit, options.Threads, report);
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
        err << WellName(curves[i].FiledWell(), plate.PlateColumns) << ": " << FitStatusName(status) << '\n';
    }
    err << fitted << " of " << curves.size() << ' ' << unit << " fitted\n";
}

std::string BuildReport(const BatchOptions& options, const BatchConsole& console, LoadedPlate& loaded,
                        std::ostream& err)
{
    if (options.Report == ReportKind::Review) return ReviewTsv(loaded.review, loaded.plate);

    StringTable grid(5, 5);
    if (options.Report == ReportKind::Results || options.Report == ReportKind::Status ||
        options.Report == ReportKind::Statistics) {
        FitPlate(options, console, loaded, err);
        if (options.Report == ReportKind::Results)
            BuildResultsReport(loaded.layout, loaded.plate, loaded.samples, loaded.fits, grid);
        else if (options.Report == ReportKind::Status)
            BuildStatusReport(loaded.layout, loaded.plate, loaded.samples, loaded.fits, grid);
        else
            BuildStatisticsReport(loaded.layout, loaded.plate, loaded.samples, loaded.fits, grid);
        return ReportTsv(grid);
    }
    TParser parser1;
    ParserCombinedValues values(parser1, loaded.plate, options.Combination.CombinationText,
                                options.Combination.Weighting);
    if (options.Report == ReportKind::Average)
        BuildAverageReport(loaded.layout, loaded.plate, loaded.samples, values, grid);
    else
        BuildReducedDataReport(loaded.layout, loaded.plate, loaded.samples, values, grid);
    return ReportTsv(grid);
}

void WritePlots(const BatchOptions& options, const LoadedPlate& loaded, std::ostream& err)
{
    const BatchSettings& s = options.Settings;
    SamplePlotSettings plots;
    plots.Folder = options.PlotFolder;
    plots.Format = options.PlotFormat;
    plots.AverageData = s.AverageData;
    plots.Combination = options.Combination;
    plots.FitFormulaText = s.FitFormulaText;
    plots.StartTexts = s.StartTexts;
    plots.ViewStart = s.ViewStart;
    plots.ViewFinish = s.ViewFinish;
    plots.Threads = options.Threads;
    const auto files = WriteSamplePlots(plots, loaded.plate, loaded.fits, loaded.curves);
    err << files.size() << (files.size() == 1 ? " picture" : " pictures") << " written to " << options.PlotFolder
        << '\n';
}

} // namespace

int RunBatch(const std::vector<std::string>& args, std::ostream& out, std::ostream& err, const BatchConsole& console)
{
    int exitCode = kBatchExitOk;
    std::optional<BatchOptions> options = ParseOptions(args, out, err, exitCode);
    if (!options) return exitCode;

    std::string text;
    LoadedPlate loaded;
    try {
        LoadPlate(*options, loaded, err);
        ChooseCombinationFor(loaded.plate, *options, err);
        text = BuildReport(*options, console, loaded, err);
    } catch (const std::exception& e) {
        err << UserMessage(e) << '\n';
        return kBatchExitBadInput;
    }

    try {
        // The pictures first: a run that could not draw them writes no table.
        if (!options->PlotFolder.empty()) WritePlots(*options, loaded, err);
        if (options->OutputFile.empty())
            WriteOutputStream(out, text);
        else
            WriteOutputFile(options->OutputFile, text);
    } catch (const std::exception& e) {
        err << UserMessage(e) << '\n';
        return kBatchExitBadInput;
    }
    return kBatchExitOk;
}

} // namespace movra
