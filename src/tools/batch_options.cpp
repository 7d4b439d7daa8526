#include "batch_options.h"

#include <CLI/CLI.hpp>
#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <map>
#include <stdexcept>
#include <thread>

#include "batch/parameter_texts.h"
#include "batch_cli.h"
#include "fitting/fit_flags.h"
#include "plate/import_fields.h"
#include "shared/conversion.h"
#include "shared/message_text.h"
#include "shared/number_format.h"
#include "shared/one_based.h"

namespace movra {
namespace {

// An option value the command line cannot stand for; exit status 2.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

int HardwareThreads()
{
    return std::max(1, static_cast<int>(std::thread::hardware_concurrency()));
}

constexpr std::array<std::pair<std::string_view, ReportKind>, 6> kReports{{{"results", ReportKind::Results},
                                                                            {"status", ReportKind::Status},
                                                                            {"statistics", ReportKind::Statistics},
                                                                            {"average", ReportKind::Average},
                                                                            {"reduced", ReportKind::Reduced},
                                                                            {"review", ReportKind::Review}}};

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

std::vector<ReportKind> ParseReports(const std::vector<std::string>& names, bool outputDir)
{
    std::vector<ReportKind> reports;
    for (const std::string& name : names) {
        const auto known = std::find_if(kReports.begin(), kReports.end(), [&](auto& r) { return r.first == name; });
        if (std::find(reports.begin(), reports.end(), known->second) != reports.end())
            throw UsageError("--report: " + name + " is named twice");
        reports.push_back(known->second);
    }
    if (reports.empty()) reports.push_back(ReportKind::Results);
    if (reports.size() > 1 && !outputDir)
        throw UsageError("--report: several reports need --output-dir, a file for each");
    return reports;
}

// Writing a table over one of the files it is made from would destroy that
// file; files are told apart by device and inode, so a link to an input or
// another spelling of its name is caught too, each with one stat.
class InputFiles {
public:
    explicit InputFiles(const BatchOptions& options)
    {
        for (const BatchInput& input : options.Inputs) Add(input.Table ? "table file" : "plate file", input.File);
        for (const BatchInput& input : options.Inputs) Add("layout file", input.Layout);
        Add("layout file", options.LayoutFile);
    }

    void CheckIsNoInput(const char* option, const std::string& output) const
    {
        struct stat status {};
        if (::stat(output.c_str(), &status) != 0) return;
        const auto found = files_.find({status.st_dev, status.st_ino});
        if (found != files_.end())
            throw UsageError(std::string(option) + ": \"" + output + "\" is the " + found->second.first + " \"" +
                             found->second.second + "\"; writing the table there would destroy it");
    }

private:
    void Add(const char* what, const std::string& file)
    {
        struct stat status {};
        if (!file.empty() && ::stat(file.c_str(), &status) == 0)
            files_.try_emplace({status.st_dev, status.st_ino}, what, file);
    }

    std::map<std::pair<dev_t, ino_t>, std::pair<const char*, std::string>> files_;
};

void CheckOutputs(const BatchOptions& options)
{
    const InputFiles inputs(options);
    if (!options.OutputFile.empty()) inputs.CheckIsNoInput("--output", options.OutputFile);
    if (options.OutputDir.empty()) return;
    std::map<std::filesystem::path, const std::string*> writers;
    for (const BatchInput& input : options.Inputs)
        for (const ReportKind report : options.Reports) {
            const std::filesystem::path path = ReportFileIn(options.OutputDir, input.File, report);
            const auto [other, added] = writers.try_emplace(path.lexically_normal(), &input.File);
            if (!added)
                throw UsageError("--output-dir: \"" + *other->second + "\" and \"" + input.File +
                                 "\" would both be written to \"" + path.string() + "\"");
            inputs.CheckIsNoInput("--output-dir", path.string());
        }
}

// A TAB or a line break in a name would break the File column's rows.
void CheckFileColumnNames(const BatchOptions& options)
{
    for (const BatchInput& input : options.Inputs)
        if (input.File.find_first_of("\t\r\n") != std::string::npos)
            throw UsageError("\"" + MessageExcerpt(input.File) +
                             "\": a file name with a TAB or a line break cannot go into the File column");
}

bool EndsWithLayoutExtension(std::string_view name)
{
    constexpr std::string_view kExtension = ".plo";
    return name.size() >= kExtension.size() &&
           std::equal(kExtension.begin(), kExtension.end(), name.end() - kExtension.size(),
                      [](char a, char b) { return a == std::tolower(static_cast<unsigned char>(b)); });
}

} // namespace

std::string_view ReportName(ReportKind report)
{
    for (const auto& [name, kind] : kReports)
        if (kind == report) return name;
    return {};
}

BatchInput SplitLayoutArgument(const std::string& argument, bool table)
{
    std::error_code error;
    const std::size_t equals = argument.rfind('=');
    if (equals == std::string::npos || std::filesystem::exists(argument, error)) return {argument, {}, table};
    std::string layout = argument.substr(equals + 1);
    if (!EndsWithLayoutExtension(layout) && !std::filesystem::is_regular_file(layout, error))
        return {argument, {}, table};
    return {argument.substr(0, equals), std::move(layout), table};
}

std::filesystem::path ReportFileIn(const std::filesystem::path& folder, const std::string& input, ReportKind report)
{
    std::string name = std::filesystem::path(input).stem().string();
    if (report != ReportKind::Results) name += "." + std::string(ReportName(report));
    return folder / (name + ".tsv");
}

std::optional<BatchOptions> ParseBatchOptions(const std::vector<std::string>& args, std::ostream& out,
                                              std::ostream& err, int& exitCode)
{
    BatchOptions options;
    BatchSettings& s = options.Settings;
    options.Threads = HardwareThreads();
    std::string weighted = "AB", view = "1:100", merge = "yes", derivatives = "exact";
    std::string start, lower, upper, fix;
    std::vector<std::string> plates, tables, reports;
    int formulaIndex = kDefaultFitFormulaIndex;

    CLI::App app{"Fit every well of SpectraMax plate-format text files with the MOVRA engine, as the desktop\n"
                 "program's \"Fit shown\" would with the same settings, and write a report as TSV.",
                 "movra-batch"};
    app.footer(std::string("\n") + kFitFlagHelp);
    auto* plateFile = app.add_option("PLATE_FILE", plates,
                                     "SpectraMax plate-format text files (kinetic or spectrum), each fitted with "
                                     "the same settings; PLATE_FILE=LAYOUT_FILE gives a plate its own layout");
    auto* tableFile = app.add_option("--table", tables,
                                     "Read plain tables instead of PLATE_FILEs: header row of captions, first "
                                     "column x, one curve per further column (TAB, ';' or ',' separated)");
    plateFile->excludes(tableFile);
    tableFile->excludes(plateFile);
    app.add_option("--layout", options.LayoutFile,
                   "Plate layout file (.PLO) as the desktop program saves it, for every file without its own; "
                   "without one every well is Sample1");
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
    // One value per --report, so that a plate file after it stays a plate file.
    app.add_option("--report", reports,
                   "Table to write: results, status (one row per fitted well: status, flags, R\u00b2), statistics "
                   "(one row per fitted well: N, n, R\u00b2, adjusted R\u00b2, residual SD, AICc, 95% intervals of "
                   "m1..m8), average, reduced or review; with --output-dir several, such as results,status "
                   "(default: results)")
        ->allow_extra_args(false)
        ->delimiter(',')
        ->check(CLI::IsMember({"results", "status", "statistics", "average", "reduced", "review"}));
    auto* output = app.add_option("--output", options.OutputFile, "Write the table to this file (default: stdout)");
    auto* outputDir = app.add_option("--output-dir", options.OutputDir,
                                     "Write one table per file and report into this folder (created if missing), "
                                     "named after the file: NAME.tsv for results, NAME.REPORT.tsv for the others");
    output->excludes(outputDir);
    app.add_flag("--file-column", options.FileColumn,
                 "Lead every row with the name of its file, as given, under the caption File (always with "
                 "several files in one table)");
    app.add_option("--threads", options.Threads, "Worker threads (default: all hardware threads)")
        ->check(CLI::Range(1, 4096))
        ->capture_default_str();
    app.add_flag("--quiet", options.Quiet, "No progress bar on a terminal (default: off)");
    auto* plots = app.add_option("--plots", options.PlotFolder,
                                 "Also draw one picture per sample into this folder (created when missing): its "
                                 "curves, fits and residuals as the desktop's graph shows them, at most eight wells "
                                 "to a picture (Sample3.png, Sample3-2.png, ...; with several files in a folder "
                                 "per file); needs no display");
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
        if (plates.empty() && tables.empty()) throw UsageError("PLATE_FILE or --table FILE is required");
        for (const std::string& plate : plates) options.Inputs.push_back(SplitLayoutArgument(plate, false));
        for (const std::string& table : tables) options.Inputs.push_back(SplitLayoutArgument(table, true));
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
        options.Reports = ParseReports(reports, !options.OutputDir.empty());
        if (plots->count() > 0 && options.PlotFolder.empty()) throw UsageError("--plots: the folder name is empty");
        const auto fitted = [](ReportKind r) {
            return r == ReportKind::Results || r == ReportKind::Status || r == ReportKind::Statistics;
        };
        if (plots->count() > 0 && !std::all_of(options.Reports.begin(), options.Reports.end(), fitted))
            throw UsageError("--plots: the pictures show fits, which only --report results, status or statistics "
                             "makes");
        options.FileColumn = options.FileColumn || (options.Inputs.size() > 1 && options.OutputDir.empty());
        if (options.FileColumn) CheckFileColumnNames(options);
        CheckOutputs(options);
    } catch (const UsageError& e) {
        err << e.what() << "\nRun with --help for more information.\n";
        exitCode = kBatchExitBadUsage;
        return std::nullopt;
    }
    options.CombinationTyped = combination->count() > 0;
    options.Merge = merge == "yes" ? MergeAnswer::Yes : MergeAnswer::No;
    return options;
}

} // namespace movra
