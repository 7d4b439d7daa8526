// movra-batch's command line, run in-process: each option does what it
// says, the output does not depend on the thread count, bad usage, bad input
// and lost output end with their exit status and exact message, and an
// output file is replaced whole or not at all. Also the pieces of the run
// that need no plate: parameter lists, the progress line, which wells go
// into which picture and tables of several files.
#include <gtest/gtest.h>
#include <gmock/gmock.h>

#include <sys/stat.h>
#include <sys/wait.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <map>

#include "batch/file_column_table.h"
#include "batch/progress_line.h"
#include "batch/sample_pictures.h"
#include "batch_fixture.h"
#include "batch_options.h"
#include "plate/import_errors.h"

namespace movra {
namespace {

using test::Batch;
using test::BatchResult;
using test::FileText;
using test::kDemo;
using test::kDemoLayout;
using test::kGoodStart;
using test::Scratch;
using test::ScratchFolder;
using test::WithFileSizeLimit;
using test::WriteFile;
using ::testing::HasSubstr;

// RND is seeded per curve: which thread fits a curve, and what it fitted
// before, does not change the curve's draws.
TEST(BatchRun, ResultsAreTheSameWithAnyThreadCountEvenWithRandomFormulas)
{
    const auto withThreads = [](std::vector<std::string> args, const char* threads) {
        args.insert(args.end(), {kDemo, "--layout", kDemoLayout, "--threads", threads});
        return Batch(args);
    };
    const std::vector<std::string> good{"--start", kGoodStart};
    const BatchResult one = withThreads(good, "1");
    EXPECT_EQ(one.err, "96 of 96 wells fitted\n");
    const BatchResult three = withThreads(good, "3");
    EXPECT_EQ(three.out + three.err, one.out + one.err);

    const std::vector<std::string> random{"--combination", "b-a+rnd(2)*0.001", "--formula", "m1+m2*x+rnd(2)*0.0001",
                                          "--start", "m1=0.1,m2=0.1"};
    const BatchResult first = withThreads(random, "1");
    EXPECT_EQ(withThreads(random, "3").out, first.out);
    EXPECT_NE(first.Fields().at(1).at(1), first.Fields().at(2).at(1));  // the draws differ between curves
}

TEST(BatchRun, EachOptionDoesWhatItSays)
{
    const auto run = [](std::vector<std::string> args, bool terminal = false) {
        args.insert(args.begin(), kDemo);
        return Batch(args, terminal);
    };
    const auto field = [](const BatchResult& result, std::size_t row, std::size_t column) {
        return result.Fields().at(row).at(column);
    };
    const auto m = [&](const BatchResult& result, std::size_t k) { return std::stod(field(result, 1, k)); };
    const auto line = [&](std::vector<std::string> more, bool terminal = false) {
        more.insert(more.begin(), {"--formula", "m1+m2*x", "--start", "m1=0.1,m2=0.1"});
        return run(more, terminal);
    };

    EXPECT_EQ(field(run({"--layout", kDemoLayout, "--report", "average"}), 0, 12), "Sample12");
    EXPECT_EQ(field(run({"--layout", kDemoLayout, "--report", "reduced"}), 0, 2), "Sample1B1");
    const BatchResult review = run({"--report", "review"});
    EXPECT_EQ(field(review, 0, 0) + " " + field(review, 0, 2) + " " + field(review, 1, 0), "Time(hh:mm:ss) 340A1 0:00");
    EXPECT_EQ(field(run({"--report", "average", "--time-offset", "1.5"}), 1, 0), "1.5");
    const std::string twoBlocks = (std::filesystem::path(MOVRA_DATA) / "kinetic-96-two-blocks.txt").string();
    EXPECT_EQ(Batch({twoBlocks, "--report", "average"}).Fields().size(), 18u);
    EXPECT_EQ(Batch({twoBlocks, "--report", "average", "--merge-blocks", "no"}).Fields().size(), 12u);

    const std::string weighted = run({"--report", "reduced", "--track-bar", "50"}).out;
    EXPECT_NE(weighted, run({"--report", "reduced"}).out);
    EXPECT_EQ(weighted, run({"--report", "reduced", "--combination", "b-0.5*a"}).out);
    EXPECT_EQ(run({"--report", "reduced", "--track-bar", "50", "--weighted", "BA"}).out,
              run({"--report", "reduced", "--combination", "0.5*b-a"}).out);

    const BatchResult free = line({});
    EXPECT_TRUE(m(free, 1) > 0.11 && m(free, 1) < 0.3) << m(free, 1);
    EXPECT_LE(m(line({"--upper", "m1=0.11"}), 1), 0.11);
    EXPECT_GE(m(run({"--formula", "m1+m2*x", "--start", "m1=0.5,m2=0.1", "--lower", "m1=0.3"}), 1), 0.3);
    EXPECT_GT(m(free, 2), 0.3);
    EXPECT_LT(std::abs(m(line({"--view", "60:100"}), 2)), 0.05);  // A1 is on its plateau there
    const std::string start = "m1=0.1,m2=0.5,m3=0.01,m4=0.6,m5=0.1";
    EXPECT_NE(run({"--start", start, "--tol", "0.1", "--formula-index", "0"}).out,
              run({"--start", start, "--formula-index", "0"}).out);
    EXPECT_THAT(run({"--start", kGoodStart, "--max-iter", "1"}).err, HasSubstr("A1: OPT_NON_CONV\n"));
    EXPECT_EQ(run({"--layout", kDemoLayout, "--start", kGoodStart, "--average"}).err, "12 of 12 sample means fitted\n");
    EXPECT_EQ(run({"--formula-index", "11", "--start", "auto"}).err, "96 of 96 wells fitted\n");
    // The desktop's default start values do not suit the demo plate: every
    // well is named with its status and the table has its header only.
    const BatchResult unfitted = run({"--layout", kDemoLayout});
    EXPECT_THAT(unfitted.err, HasSubstr("A1: OPT_SING\nB1: OPT_SING\n"));
    EXPECT_THAT(unfitted.err, HasSubstr("H12: OPT_SING\n0 of 96 wells fitted\n"));
    EXPECT_EQ(std::make_pair(unfitted.status, unfitted.Fields().size()), std::make_pair(0, std::size_t{1}));

    // The progress bar is drawn on a terminal only, and not when quiet.
    EXPECT_THAT(line({}, true).err, HasSubstr("96/96 wells"));
    EXPECT_THAT(free.err + line({"--quiet"}, true).err, Not(HasSubstr("96/96 wells")));

    // A new output file gets the usual permissions, an old one keeps its own.
    const auto path = Scratch("output.tsv");
    const mode_t mask = ::umask(0);
    ::umask(mask);
    const BatchResult toFile = run({"--report", "average", "--output", path.string()});
    EXPECT_EQ(std::tie(toFile.status, toFile.out), std::make_tuple(0, ""));
    EXPECT_EQ(FileText(path), run({"--report", "average"}).out);
    EXPECT_EQ(static_cast<mode_t>(std::filesystem::status(path).permissions()), 0666 & ~mask);
    std::filesystem::permissions(path, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    run({"--report", "average", "--output", path.string()});
    EXPECT_EQ(static_cast<mode_t>(std::filesystem::status(path).permissions()), 0600u);
    std::filesystem::remove(path);
}

// One row per tried well, failed or not, with its flags and R².
TEST(BatchRun, StatusReportHasARowPerTriedWellWithItsFlags)
{
    // H12 of this plate saturates; H1..H12 follow exponentials the sigmoid misses.
    const std::string plate = (std::filesystem::path(MOVRA_DATA) / "kinetic-96-special-cells.txt").string();
    const BatchResult run = Batch({plate, "--combination", "a", "--formula-index", "0", "--start",
                                   "m1=0.1,m2=0.8,m3=0.01,m4=0.5,m5=0.1", "--report", "status"});
    ASSERT_EQ(run.status, 0) << run.err;
    const auto rows = run.Fields();
    ASSERT_EQ(rows.size(), 97u);
    EXPECT_EQ(rows[0], (std::vector<std::string>{"", "Status", "Flags", "R2"}));
    EXPECT_EQ(rows[1].at(0) + " " + rows[1].at(1), "Sample1A1 OPT_OK");
    EXPECT_GT(std::stod(rows[1].at(3)), 0.999);
    EXPECT_EQ(rows[96], (std::vector<std::string>{"Sample1H12", "OPT_NON_CONV", "failed,saturated"}));
    EXPECT_THAT(Batch({"--help"}).out, ::testing::AllOf(HasSubstr("poor-fit"), HasSubstr("Wald-Wolfowitz")));
}

// A table has one wavelength and a well for each of its curves only: left
// untouched, the combination reads it as "a" (not 1 - y); a typed "b-a" is
// kept, with a warning.
TEST(BatchRun, OneCurveTableIsFittedAsWavelengthA)
{
    const ScratchFolder folder("table");
    const std::string table = WriteFile(folder / "a1.tsv", "x\tA1\n0\t1\n1\t3.1\n2\t4.9\n3\t7\n").string();
    const BatchResult untouched = Batch({"--table", table, "--formula", "m1+m2*x", "--start", "m1=0.1,m2=0.1"});
    EXPECT_EQ(untouched.err, "1 of 1 wells fitted\n");
    const auto row = untouched.Fields().at(1);
    EXPECT_EQ(row.back(), "a - m1+m2*x");
    EXPECT_NEAR(std::stod(row.at(2)), 1.98, 1e-6);  // the least-squares slope of the four points
    EXPECT_THAT(Batch({"--table", table, "--combination", "b-a"}).err,
                ::testing::StartsWith("warning: The combination \"b-a\" uses wavelength b, but the plate has 1"));
}

// Several files give the rows each gives alone, each led by its name as
// given; every plate starts from the options (the one-wavelength plate in the
// middle reads "a", the plates around it "b-a"), a plate may bring its own
// layout, and a file that fails is named and skipped.
TEST(BatchFiles, SeveralFilesGiveTheRowsOfSingleRunsLedByTheirNames)
{
    const std::string oneWavelength = (std::filesystem::path(MOVRA_DATA) / "kinetic-96-comma.txt").string();
    const std::string withLayout = kDemo + "=" + kDemoLayout;
    for (const char* report : {"results", "status", "average"}) {
        const auto run = [&](std::vector<std::string> files) {
            files.insert(files.end(), {"--start", kGoodStart, "--report", report});
            return Batch(files);
        };
        const BatchResult all = run({kDemo, oneWavelength, withLayout, "none.txt"});
        EXPECT_EQ(all.status, 1);
        std::string rows, errors;
        std::string header;  // the widest header, here that of the demo plate with its layout
        for (const std::string& file : {kDemo, oneWavelength, withLayout}) {
            const BatchResult alone = run({file});
            const std::string name = file == withLayout ? kDemo : file;
            const std::size_t firstRow = alone.out.find('\n') + 1;
            if (firstRow > header.size()) header = alone.out.substr(0, firstRow);
            std::istringstream lines(alone.out.substr(firstRow));
            for (std::string line; std::getline(lines, line);) rows += name + "\t" + line + "\n";
            std::istringstream messages(alone.err);
            for (std::string line; std::getline(messages, line);) errors += name + ": " + line + "\n";
        }
        EXPECT_EQ(all.out, "File\t" + header + rows) << report;
        EXPECT_EQ(all.err, errors + "none.txt: Cannot open file \"none.txt\".\n1 of 4 files failed\n") << report;
    }
    // One file gets the File column when it is asked for.
    EXPECT_EQ(Batch({kDemo, "--report", "average", "--file-column"}).Fields().at(1).at(0), kDemo);
}

// --output-dir writes a file per input and report, named after the input,
// from one fit; each holds what a run of its own writes.
TEST(BatchFiles, OutputFolderGetsAFilePerFileAndReport)
{
    const ScratchFolder folder("output-dir");
    const auto copy = folder / "copy.v2.txt";
    std::filesystem::copy_file(kDemo, copy);
    const std::string out = (folder / "tables").string();
    const BatchResult run = Batch({kDemo, copy.string() + "=" + kDemoLayout, "--start", kGoodStart, "--report",
                                   "status,results", "--output-dir", out, "--file-column"});
    EXPECT_EQ(std::tie(run.status, run.out), std::make_tuple(0, ""));
    EXPECT_EQ(FileText(folder / "tables" / "demo-kinetic-96.status.tsv"),
              Batch({kDemo, "--start", kGoodStart, "--report", "status", "--file-column"}).out);
    EXPECT_EQ(FileText(folder / "tables" / "copy.v2.tsv"),
              Batch({copy.string(), "--layout", kDemoLayout, "--start", kGoodStart, "--file-column"}).out);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(out), std::filesystem::directory_iterator()), 4);
}

// PLATE=LAYOUT splits at the last '=' when the right side names a layout;
// an existing file keeps its whole name.
TEST(BatchFiles, LayoutOfItsOwnFollowsTheLastEqualsSign)
{
    const std::string o = WriteFile(Scratch("a=b.PLO"), "").string();
    const std::vector<std::pair<std::string, std::pair<std::string, std::string>>> cases = {
        {"p.txt=l.PLO", {"p.txt", "l.PLO"}}, {"p.txt=l.plo", {"p.txt", "l.plo"}},
        {"a=b.txt=l.PLO", {"a=b.txt", "l.PLO"}}, {"p.txt=" + kDemo, {"p.txt", kDemo}},
        {"p.txt=l.txt", {"p.txt=l.txt", ""}}, {"p.txt=", {"p.txt=", ""}}, {o, {o, ""}}, {o + "=l.PLO", {o, "l.PLO"}}};
    for (const auto& [argument, expected] : cases) {
        const BatchInput input = SplitLayoutArgument(argument, false);
        EXPECT_EQ(std::make_pair(input.File, input.Layout), expected) << argument;
    }
    EXPECT_EQ(ReportFileIn("out", "plates/p.v2.txt", ReportKind::Reduced), "out/p.v2.reduced.tsv");
}

// Status 2 for bad usage, found before any file is read; 1 for bad input
// (the desktop's message) and for output that could not be written; the
// message on err, nothing on out. An expected err ending in a line feed is
// the whole err; otherwise (the argument library's texts) a part of it.
TEST(BatchStatus, BadUsageBadInputAndLostOutputEndWithTheirStatusAndMessage)
{
    const ScratchFolder folder("status");
    const auto plate = folder / "s.txt", layout = folder / "l.PLO";
    std::filesystem::copy_file(kDemo, plate);
    std::filesystem::copy_file(kDemoLayout, layout);
    std::filesystem::create_symlink(plate, folder / "link.txt");
    std::filesystem::create_hard_link(plate, folder / "hard.txt");
    const std::string p = plate.string(), l = layout.string(), f = folder.path.string();
    const std::string tsv = WriteFile(folder / "t.tsv", "x\ty\n1\t2\n").string();
    const std::string notPlate = std::string(MOVRA_TEST_DATA) + "/plate/not-plate-format.txt";
    const std::string help = "\nRun with --help for more information.\n";
    const auto isInput = [&](const std::string& output, const std::string& what, const std::string& input) {
        return "--output: \"" + output + "\" is the " + what + " \"" + input + "\"; writing the table there would "
               "destroy it" + help;
    };
    const std::string none = "none.txt", iterations = " is not a whole number from 1 to 1000000" + help;
    const std::string hours = " is not a number of hours from -1000000 to 1000000" + help;
    std::string longSum = "m1";
    for (int term = 0; term < 27700; ++term) longSum += "+m1";
    // The arguments, the exit status and the expected err.
    const std::vector<std::tuple<std::vector<std::string>, int, std::string>> cases = {
        {{"--help"}, 0, ""},
        {{}, 2, "PLATE_FILE or --table FILE is required" + help},
        {{p, "--bogus"}, 2, "--bogus"},
        {{p, "--table", p}, 2, "--table"},
        {{p, "--track-bar", "201"}, 2, "--track-bar"},
        {{p, "--formula-index", "12"}, 2, "--formula-index"},
        {{p, "--formula", "m1", "--formula-index", "2"}, 2, "--formula"},
        {{p, "--report", "graph"}, 2, "--report"},
        {{p, "--threads", "0"}, 2, "--threads"},
        {{p, "--merge-blocks", "maybe"}, 2, "--merge-blocks"},
        {{p, "--weighted", "AE"}, 2, "--weighted: letters must be A, B, C or D: AE" + help},
        {{p, "--view", "50:10"}, 2, "--view: need 1 <= FIRST < LAST <= 100: 50:10" + help},
        {{p, "--view", "0:100"}, 2, "--view: need 1 <= FIRST < LAST <= 100: 0:100" + help},
        {{p, "--start", "4000"}, 2, "--start: expected m1..m8 followed by '=' at the start of '4000'" + help},
        {{none, "--combination", "a*"}, 2, "--combination: Error parsing expression:\nA*" + help},
        {{none, "--formula", ""}, 2, "--formula: the formula is empty" + help},
        {{none, "--formula", longSum}, 2, "--formula: Expression contains too many nestings (at most 20 levels; each "
                                          "operator of a chain such as a+b+c nests one level deeper)" + help},
        {{none, "--start", "m1=abc"}, 2, "--start: m1=abc is not a number" + help},
        {{none, "--start", "m1=1e309"}, 2, "--start: m1=1e309 is not a finite number" + help},
        {{none, "--lower", "m1=1,5"}, 2, "--lower: m1=1,5 is not a number" + help},
        {{none, "--upper", "m2=-1e999"}, 2, "--upper: m2=-1e999 is not a finite number" + help},
        {{none, "--lower", "m3=5", "--upper", "m3=1"}, 2, "--lower: m3=5 is above the upper limit 1" + help},
        {{none, "--upper", "m3=-2E20"}, 2, "--upper: m3=-2E20 is below the lower limit -1E20" + help},
        {{none, "--tol", "0"}, 2, "--tol: '0' is not a positive number" + help},
        {{none, "--tol", "-1E-6"}, 2, "--tol: '-1E-6' is not a positive number" + help},
        {{none, "--tol", "1e999"}, 2, "--tol: '1e999' is not a positive number" + help},
        {{none, "--max-iter", "0"}, 2, "--max-iter: '0'" + iterations},
        {{none, "--max-iter", "2147483647"}, 2, "--max-iter: '2147483647'" + iterations},
        {{none, "--max-iter", "many"}, 2, "--max-iter: 'many'" + iterations},
        {{none, "--time-offset", "1e308"}, 2, "--time-offset: '1e308'" + hours},
        {{none, "--time-offset", "abc"}, 2, "--time-offset: 'abc'" + hours},
        {{p, "--layout", l, "--output", p}, 2, isInput(p, "plate file", p)},
        {{p, "--layout", l, "--output", f + "/link.txt"}, 2, isInput(f + "/link.txt", "plate file", p)},
        {{p, "--layout", l, "--output", f + "/hard.txt"}, 2, isInput(f + "/hard.txt", "plate file", p)},
        {{p, "--layout", l, "--output", l}, 2, isInput(l, "layout file", l)},
        {{"--table", p, "--output", p}, 2, isInput(p, "table file", p)},
        {{"--table", tsv, "--output-dir", f}, 2,
         "--output-dir: \"" + tsv + "\" is the table file \"" + tsv + "\"; writing the table there would destroy it" +
             help},
        {{p, f + "/sub/s.txt", "--output-dir", "out"}, 2,
         "--output-dir: \"" + p + "\" and \"" + f + "/sub/s.txt\" would both be written to \"out/s.tsv\"" + help},
        {{p, "--output", "x", "--output-dir", "y"}, 2, "--output"},
        {{p, "--report", "results,status"}, 2, "--report: several reports need --output-dir, a file for each" + help},
        {{p, "--report", "status", "--report", "status", "--output-dir", f}, 2,
         "--report: status is named twice" + help},
        {{p, "a\nb.txt"}, 2,
         "\"a\\nb.txt\": a file name with a TAB or a line break cannot go into the File column" + help},
        {{notPlate}, 1, notPlate + ": " + kNotPlateFormat + "\n"},
        {{p + "=none.PLO"}, 1, "none.PLO: Cannot open file \"none.PLO\".\n"},
        {{p, "--output-dir", p}, 1, "Cannot create folder \"" + p + "\": Not a directory.\n"},
        {{p, "--combination", "ln(a-1)", "--threads", "1"}, 1, "Invalid floating point operation\n"},
        {{p, "--combination", "ln(a-1)", "--threads", "3"}, 1, "Invalid floating point operation\n"},
        {{p, "--plots", f, "--report", "average"}, 2,
         "--plots: the pictures show fits, which only --report results, status or statistics makes" + help},
        {{p, "--plots", f, "--plot-format", "gif"}, 2, "--plot-format"},
        {{p, "--plots", ""}, 2, "--plots: the folder name is empty" + help},
        {{p, "--layout", l, "--plots", p}, 1, "Cannot create folder \"" + p + "\": Not a directory."},
        {{p, "--report", "average", "--output", "/dev/full"}, 1,
         "Cannot write file \"/dev/full\": " + std::string(std::strerror(ENOSPC)) + ".\n"},
    };
    const bool devFull = std::filesystem::is_character_file("/dev/full");  // a device that is always full
    for (const auto& [args, status, err] : cases) {
        if (!devFull && err.find("/dev/full") != std::string::npos) continue;
        const BatchResult run = Batch(args);
        const std::string what = ::testing::PrintToString(args).substr(0, 200);
        EXPECT_EQ(run.status, status) << what;
        if (err.ends_with('\n') || err.empty())
            EXPECT_EQ(run.err, err) << what;
        else
            EXPECT_THAT(run.err, HasSubstr(err)) << what;
        EXPECT_TRUE(status == 0 || run.out.empty()) << what;
    }
}

// --plots draws one picture per sample of the demo layout (eight wells each)
// in the format asked for, its names in the sample's order, as PNG, SVG or
// PDF files.
TEST(BatchRun, PlotsWriteOnePicturePerSampleInEachFormat)
{
    const ScratchFolder folder("plots");
    const std::map<std::string, std::string> formats = {{"png", "\x89PNG"}, {"svg", "<?xml"}, {"pdf", "%PDF-"}};
    for (const auto& [format, start] : formats) {
        const auto pictures = folder / format;
        const BatchResult run = Batch({kDemo, "--layout", kDemoLayout, "--start", kGoodStart, "--plots",
                                       pictures.string(), "--plot-format", format});
        ASSERT_EQ(run.status, 0) << run.err;
        EXPECT_THAT(run.err, HasSubstr("12 pictures written to " + pictures.string() + "\n"));
        EXPECT_FALSE(run.out.empty());
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(pictures), {}), 12);
        EXPECT_EQ(FileText(pictures / ("Sample12." + format)).substr(0, start.size()), start);
    }
    const std::string svg = FileText(folder / "svg" / "Sample3.svg");
    for (const char* text : {">C3</text>", ">H3</text>", ">OD</text>", ">Residuals</text>"})
        EXPECT_THAT(svg, HasSubstr(text));
}

// A disk that fills during the write leaves the old file and no temporary
// one; what main() still has buffered must arrive too, also after --help.
TEST(BatchStatus, LostOutputIsAnErrorAndTheOldFileStays)
{
    std::ostream out(nullptr);  // takes nothing, as stdout on a full disk
    std::ostringstream err;
    EXPECT_EQ(RunBatch({kDemo, "--report", "average"}, out, err), 1);
    EXPECT_EQ(err.str(), "Cannot write to standard output.\n");

    const ScratchFolder folder("full-disk");
    const auto results = WriteFile(folder / "results.tsv", "old results\n");
    BatchResult run;
    WithFileSizeLimit([&] { run = Batch({kDemo, "--report", "average", "--output", results.string()}); });
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "Cannot write file \"" + results.string() + "\": " + std::strerror(EFBIG) + ".\n");
    EXPECT_EQ(FileText(results), "old results\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path), std::filesystem::directory_iterator()),
              1);

    for (const std::string& args : {std::string(" --help"), " " + kDemo + " --report average"}) {
        if (!std::filesystem::is_character_file("/dev/full")) GTEST_SKIP() << "no /dev/full on this system";
        const int status = std::system((std::string(MOVRA_BATCH_PROGRAM) + args + " > /dev/full 2> /dev/null").c_str());
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1) << args << ": " << status;
    }
}

// Names in any case; a comma not followed by "mK=" stays in the value.
TEST(ParameterTexts, ListSetsTheNamedParametersKeepsTheOthersAndRefusesOtherStarts)
{
    std::array<std::string, 9> texts{"", "a", "b", "c", "d", "e", "f", "g", "h"};
    ApplyParameterTexts("m1=4000,M3=-3,m8=#Sat,m5=0,5,m6=1,25", texts);
    EXPECT_EQ(texts, (std::array<std::string, 9>{"", "4000", "b", "-3", "d", "0,5", "1,25", "g", "#Sat"}));
    for (const char* list : {"x=1", "m9=1", "4000"}) EXPECT_THROW(ApplyParameterTexts(list, texts), ParameterListError);
}

TEST(ProgressLine, ShowsBarCountRateAndTimeLeft)
{
    EXPECT_EQ(FormatProgressLine(192, 384, 2.5), "[##########----------] 192/384 wells  76.8 wells/s  3 s left");
    EXPECT_EQ(FormatProgressLine(0, 384, 0.5), "[--------------------]   0/384 wells");
    EXPECT_EQ(FormatProgressLine(4, 4, 1.0, "sample means"),
              "[####################] 4/4 sample means  4.0 sample means/s  0 s left");
}

// Sample 1 holds A1..A5 and B1..B5 (row-major, as the run fits them),
// sample 3 H12: eight wells to a picture in the graph's column-major order,
// or one picture of each sample's mean, shown as its first well.
TEST(SamplePictures, EightWellsToAPictureInTheGraphsOrderOrOneMeanPerSample)
{
    PlateMeasurements plate;
    plate.PlateColumns = 12;
    const std::vector<int> sample1 = {0, 1, 2, 3, 4, 12, 13, 14, 15, 16};
    std::vector<BatchCurve> wells, means = {{1, sample1}, {3, {95}}};
    for (int well : sample1) wells.push_back({1, {well}});
    wells.push_back({3, {95}});
    const auto pictures = SamplePictures(plate, wells, false);
    ASSERT_EQ(pictures.size(), 3u);
    EXPECT_EQ(std::tie(pictures[0].Name, pictures[0].Wells),
              std::tuple("Sample1", std::vector<int>{0, 12, 1, 13, 2, 14, 3, 15}));
    EXPECT_EQ(std::tie(pictures[1].Name, pictures[1].Wells), std::tuple("Sample1-2", std::vector<int>{4, 16}));
    EXPECT_EQ(std::tie(pictures[2].Name, pictures[2].Wells), std::tuple("Sample3", std::vector<int>{95}));
    const auto averaged = SamplePictures(plate, means, true);
    ASSERT_EQ(averaged.size(), 2u);
    EXPECT_EQ(std::tie(averaged[0].Name, averaged[0].Wells), std::tuple("Sample1", sample1));

    // Well w reads 10 w + t: the mean of sample 1 is 80 + t, shown as A1.
    struct WellValues final : CombinedValues {
        void CompileCombination() override {}
        double CalcYpos(int well, int read) override { return 10.0 * well + read; }
    } values;
    const ShownCurves mean = PictureCurves(averaged[0], values, 3, true);
    EXPECT_EQ(std::tuple(mean.ShownWells[1], mean.ShownWells[2]), std::tuple(0, -1));
    EXPECT_NEAR(mean.ReducedData[1][3], 82.0, 1e-12);
    const ShownCurves shown = PictureCurves(pictures[1], values, 3, false);
    EXPECT_EQ(std::tuple(shown.Count(), shown.ShownWells[2], shown.ReducedData[2][1]), std::tuple(2, 16, 160.0));
}

// Equal captions stack rows unchanged (trailing empty cells too); other
// captions go under their own name, repeated names by their order, new ones
// on the right, and no row is padded.
TEST(FileColumnTable, StacksRowsUnderTheCaptionsOfTheirOwnNames)
{
    FileColumnTable table;
    EXPECT_EQ(table.Text(), "");
    table.Add("a.txt", "\tm1\tm1\t\nA1\t1\t2\t\n");
    table.Add("b=c.txt", "\tm1\tm1\t\nB1\t3\t4\t\nB2\t\t\t\n");
    table.Add("empty.txt", "");
    table.Add("d.txt", "\tm2\tm1\nD1\t5\t6\nD2\t7\t8\t9\n");
    table.Add("e.txt", "\tm1\n");
    EXPECT_EQ(table.Text(),
              "File\t\tm1\tm1\t\tm2\n"
              "a.txt\tA1\t1\t2\t\n"
              "b=c.txt\tB1\t3\t4\t\n"
              "b=c.txt\tB2\t\t\t\n"
              "d.txt\tD1\t6\t\t\t5\n"
              "d.txt\tD2\t8\t\t9\t7\n");
}

} // namespace
} // namespace movra
