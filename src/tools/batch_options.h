#pragma once
// movra-batch's command line as one value, checked before any file is read:
// the files to read (several plates or tables, each with its own layout when
// given as PLATE_FILE=LAYOUT_FILE), the fit settings converted once for all
// of them, the reports and where each goes. A value that cannot mean
// anything ends the run as bad usage with a message naming its option.

#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "batch/batch_settings.h"
#include "plate/import_interaction.h"

namespace movra {

enum class ReportKind { Results, Status, Statistics, Average, Reduced, Review };

std::string_view ReportName(ReportKind report);

struct BatchInput {
    std::string File;    // as given; the File column shows it
    std::string Layout;  // its own layout file; empty: the run's --layout, if any
    bool Table = false;  // a plain table (--table), not a plate file
};

struct BatchOptions {
    std::vector<BatchInput> Inputs;   // in the order given
    std::string LayoutFile;           // --layout, for every input without its own
    std::string OutputFile;           // --output; empty with OutputDir
    std::string OutputDir;            // --output-dir: one file per input and report
    std::vector<ReportKind> Reports;  // several only with OutputDir
    bool FileColumn = false;          // rows led by their file's name (always with several inputs)
    BatchSettings Settings;           // the option texts
    CombinationSettings Combination;  // converted from them
    bool CombinationTyped = false;    // --combination given: kept even where the plate lacks a wavelength
    FitSettings Fit;                  // converted; its view follows the imported reads
    std::string TimeOffset = "0";
    MergeAnswer Merge = MergeAnswer::Yes;
    int Threads = 1;
    bool Quiet = false;
    std::string PlotFolder;  // --plots: one picture per sample there (per input in a folder of its name)
    std::string PlotFormat = "png";
};

// exitCode: 0 after --help, else bad usage; nullopt when the run ends here.
std::optional<BatchOptions> ParseBatchOptions(const std::vector<std::string>& args, std::ostream& out,
                                              std::ostream& err, int& exitCode);

// "PLATE=LAYOUT" names a plate and its own layout when the argument is no
// existing file and the text after its last '=' ends in .PLO (any case) or
// names an existing file; anything else is one file name, '=' and all.
BatchInput SplitLayoutArgument(const std::string& argument, bool table);

// Where --output-dir puts a report of the input: the input's name without
// folder and extension, ".REPORT" for every report but results, and ".tsv"
// ("plates/p1.txt" gives "DIR/p1.tsv" and "DIR/p1.status.tsv").
std::filesystem::path ReportFileIn(const std::filesystem::path& folder, const std::string& input, ReportKind report);

} // namespace movra
