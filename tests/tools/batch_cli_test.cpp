// movra-batch's command line, run in-process: output independent of the
// thread count, each option doing what it says, the desktop's messages for
// bad input with status 1, status 2 for bad usage, --help.
#include <gtest/gtest.h>
#include <gmock/gmock.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <tuple>

#include "batch_cli.h"
#include "plate/import_errors.h"

namespace movra {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

const std::string kDemo = (std::filesystem::path(MOVRA_DATA) / "demo-kinetic-96.txt").string();
const std::string kDemoLayout = (std::filesystem::path(MOVRA_DATA) / "demo-layout.PLO").string();
// Start values that fit every well of the demo plate with the default formula.
const std::string kGoodStart = "m1=0.1,m2=0.7,m3=10,m4=0.8,m5=1,m6=0.01,m7=0.01";

struct BatchResult {
    int status = -1;
    std::string out;
    std::string err;
};

BatchResult Batch(std::vector<std::string> args, bool errIsTerminal = false)
{
    std::ostringstream out, err;
    BatchResult run;
    run.status = RunBatch(args, out, err, BatchConsole{errIsTerminal});
    run.out = out.str();
    run.err = err.str();
    return run;
}

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);) lines.push_back(line);
    return lines;
}

std::string Field(const std::string& line, std::size_t index)
{
    std::istringstream cells(line);
    std::string field;
    for (std::size_t i = 0; i <= index; ++i) std::getline(cells, field, '\t');
    return field;
}

// A path in the temporary folder that no other test process uses.
std::filesystem::path Scratch(const std::string& name)
{
    return std::filesystem::temp_directory_path() / (std::to_string(::getpid()) + "-" + name);
}

std::filesystem::path TempFile(const std::string& name, const std::string& text)
{
    const auto path = Scratch(name);
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

// --- the run and its output ---

TEST(BatchRun, OutputIsTheSameWithOneAndThreeThreads)
{
    const BatchResult one = Batch({kDemo, "--layout", kDemoLayout, "--start", kGoodStart, "--threads", "1"});
    const BatchResult three = Batch({kDemo, "--layout", kDemoLayout, "--start", kGoodStart, "--threads", "3"});
    ASSERT_EQ(one.status, 0) << one.err;
    ASSERT_EQ(three.status, 0);
    EXPECT_EQ(one.out, three.out);
    EXPECT_EQ(Lines(one.out).size(), 97u);
    EXPECT_EQ(one.err, three.err);
}

// RND is seeded per curve: which thread fits a curve, and what it fitted
// before, does not change the curve's draws.
TEST(BatchRun, RandomFormulasGiveTheSameOutputWithAnyThreadCount)
{
    const std::vector<std::string> args{kDemo, "--combination", "b-a+rnd(2)*0.001", "--formula",
                                        "m1+m2*x+rnd(2)*0.0001", "--start", "m1=0.1,m2=0.1"};
    auto withThreads = [&](const char* threads) {
        auto run = args;
        run.insert(run.end(), {"--threads", threads});
        return Batch(run);
    };
    const BatchResult one = withThreads("1");
    ASSERT_EQ(one.status, 0) << one.err;
    EXPECT_EQ(one.out, withThreads("3").out);
    EXPECT_EQ(one.out, withThreads("1").out);
    EXPECT_NE(Field(Lines(one.out)[1], 1), Field(Lines(one.out)[2], 1));
}

TEST(BatchRun, ResultsTableIsTabSeparatedWithLineFeeds)
{
    const BatchResult run = Batch({kDemo, "--layout", kDemoLayout, "--start", kGoodStart});
    ASSERT_EQ(run.status, 0);
    EXPECT_EQ(run.out.find('\r'), std::string::npos);
    const auto lines = Lines(run.out);
    EXPECT_EQ(Field(lines[0], 1), "m1");
    EXPECT_EQ(Field(lines[0], 17), "ChiSq");
    EXPECT_EQ(Field(lines[1], 0), "Sample1A1");
    EXPECT_EQ(Field(lines[2], 0), "Sample1B1");  // row-major inside a sample
    EXPECT_EQ(Field(lines[9], 0), "Sample2A2");
    EXPECT_EQ(Field(lines[1], 18), "b-a - m1+m7*x+(m2+m6*x)/(1+abs(m5)*exp(-m3*(x-m4)))^(1/abs(m5))");
    EXPECT_EQ(run.err, "96 of 96 wells fitted\n");
}

TEST(BatchRun, UnfittedWellsAreNamedWithTheirStatusAndCounted)
{
    // The desktop's default start values do not suit the demo plate.
    const BatchResult run = Batch({kDemo, "--layout", kDemoLayout});
    ASSERT_EQ(run.status, 0);
    EXPECT_THAT(run.err, HasSubstr("A1: OPT_SING\n"));
    EXPECT_THAT(run.err, HasSubstr("H12: OPT_SING\n"));
    EXPECT_EQ(Lines(run.err).back(), "0 of 96 wells fitted");
    EXPECT_EQ(Lines(run.out).size(), 1u);  // the header only
}

TEST(BatchRun, WithoutLayoutEveryWellIsSampleOne)
{
    const BatchResult run = Batch({kDemo, "--start", kGoodStart, "--report", "reduced"});
    ASSERT_EQ(run.status, 0);
    const auto header = Lines(run.out)[0];
    EXPECT_EQ(Field(header, 1), "Sample1A1");
    EXPECT_EQ(Field(header, 96), "Sample1H12");
}

TEST(BatchRun, ProgressBarOnlyOnATerminalAndNotWhenQuiet)
{
    const std::vector<std::string> args{kDemo, "--formula", "m1+m2*x", "--start", "m1=0.1,m2=0.1"};
    EXPECT_THAT(Batch(args, true).err, HasSubstr("96/96 wells"));
    EXPECT_THAT(Batch(args, false).err, Not(HasSubstr("96/96 wells")));
    auto quiet = args;
    quiet.push_back("--quiet");
    EXPECT_THAT(Batch(quiet, true).err, Not(HasSubstr("96/96 wells")));
}

TEST(BatchRun, OutputOptionWritesTheTableToAFile)
{
    const auto path = Scratch("movra-batch-output.tsv");
    const BatchResult toFile = Batch({kDemo, "--report", "average", "--output", path.string()});
    ASSERT_EQ(toFile.status, 0);
    EXPECT_EQ(toFile.out, "");
    std::ifstream file(path, std::ios::binary);
    const std::string written((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    EXPECT_EQ(written, Batch({kDemo, "--report", "average"}).out);
    std::filesystem::remove(path);
}

// --- the output never destroys a file and is never lost silently ---

std::string FileText(const std::filesystem::path& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

TEST(BatchOutput, OutputThatIsAnInputFileIsRefusedAndTheInputKept)
{
    const auto folder = Scratch("movra-batch-same-file");
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    const auto plate = folder / "s.txt";
    const auto layout = folder / "l.PLO";
    std::filesystem::copy_file(kDemo, plate);
    std::filesystem::copy_file(kDemoLayout, layout);
    std::filesystem::create_symlink(plate, folder / "link.txt");
    std::filesystem::create_hard_link(plate, folder / "hard.txt");
    const std::string plateText = FileText(plate), layoutText = FileText(layout);
    const std::string usage = "; writing the table there would destroy it\nRun with --help for more information.\n";
    for (const auto& [output, input, what] : std::vector<std::tuple<std::string, std::string, std::string>>{
             {plate.string(), plate.string(), "plate file"},
             {(folder / "link.txt").string(), plate.string(), "plate file"},
             {(folder / "hard.txt").string(), plate.string(), "plate file"},
             {layout.string(), layout.string(), "layout file"},
         }) {
        const BatchResult run = Batch({plate.string(), "--layout", layout.string(), "--output", output});
        EXPECT_EQ(run.status, 2) << output;
        EXPECT_EQ(run.err, "--output: \"" + output + "\" is the " + what + " \"" + input + "\"" + usage);
    }
    const BatchResult table = Batch({"--table", plate.string(), "--output", plate.string()});
    EXPECT_EQ(table.err, "--output: \"" + plate.string() + "\" is the table file \"" + plate.string() + "\"" + usage);
    EXPECT_EQ(FileText(plate), plateText);
    EXPECT_EQ(FileText(layout), layoutText);
    std::filesystem::remove_all(folder);
}

// A stream that takes nothing, as stdout on a full disk.
class FullStreamBuffer : public std::streambuf {
protected:
    int_type overflow(int_type) override { return traits_type::eof(); }
    std::streamsize xsputn(const char*, std::streamsize) override { return 0; }
};

TEST(BatchOutput, OutputThatCannotBeWrittenIsAnErrorAndTheOldFileStays)
{
    FullStreamBuffer full;
    std::ostream out(&full);
    std::ostringstream err;
    EXPECT_EQ(RunBatch({kDemo, "--report", "average"}, out, err), 1);
    EXPECT_EQ(err.str(), "Cannot write to standard output.\n");

    if (std::filesystem::is_character_file("/dev/full")) {
        const BatchResult device = Batch({kDemo, "--report", "average", "--output", "/dev/full"});
        EXPECT_EQ(device.status, 1);
        EXPECT_EQ(device.err, std::string("Cannot write file \"/dev/full\": ") + std::strerror(ENOSPC) + ".\n");
    }

    // A disk that fills during the write: here the process may not write more
    // than a few bytes into any file.
    const auto folder = Scratch("movra-batch-full-disk");
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    const auto results = folder / "results.tsv";
    std::ofstream(results, std::ios::binary) << "old results\n";
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 16;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const BatchResult run = Batch({kDemo, "--report", "average", "--output", results.string()});
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "Cannot write file \"" + results.string() + "\": " + std::strerror(EFBIG) + ".\n");
    EXPECT_EQ(FileText(results), "old results\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), std::filesystem::directory_iterator()), 1);
    std::filesystem::remove_all(folder);
}

// What is still buffered when main() returns must arrive too, also after --help.
TEST(BatchOutput, ProgramExitsOneWhenStandardOutputIsFull)
{
    if (!std::filesystem::is_character_file("/dev/full")) GTEST_SKIP() << "no /dev/full on this system";
    const std::string program = MOVRA_BATCH_PROGRAM;
    for (const std::string& args : {std::string(" --help"), " " + kDemo + " --report average"}) {
        const int status = std::system((program + args + " > /dev/full 2> /dev/null").c_str());
        ASSERT_TRUE(WIFEXITED(status)) << args;
        EXPECT_EQ(WEXITSTATUS(status), 1) << args;
    }
}

// --- each option changes what it says ---

TEST(BatchOptions, ReportsAreTheDesktopTables)
{
    const auto average = Lines(Batch({kDemo, "--layout", kDemoLayout, "--report", "average"}).out);
    EXPECT_EQ(average[0], "Time (h)\tSample1\tSample2\tSample3\tSample4\tSample5\tSample6\tSample7\tSample8"
                          "\tSample9\tSample10\tSample11\tSample12");
    EXPECT_EQ(average.size(), 62u);
    const auto reduced = Lines(Batch({kDemo, "--layout", kDemoLayout, "--report", "reduced"}).out);
    EXPECT_EQ(Field(reduced[0], 1), "Sample1A1");
    EXPECT_EQ(Field(reduced[0], 2), "Sample1B1");
    const auto review = Lines(Batch({kDemo, "--report", "review"}).out);
    EXPECT_EQ(Field(review[0], 0), "Time(hh:mm:ss)");
    EXPECT_EQ(Field(review[0], 2), "340A1");
    EXPECT_EQ(Field(review[1], 0), "0:00");
}

TEST(BatchOptions, StatusReportHasARowPerTriedWellWithItsFlags)
{
    // H12 of this plate saturates; H1..H12 follow exponentials the sigmoid misses.
    const std::string plate = (std::filesystem::path(MOVRA_DATA) / "kinetic-96-special-cells.txt").string();
    const BatchResult run = Batch({plate, "--combination", "a", "--formula-index", "0", "--start",
                                   "m1=0.1,m2=0.8,m3=0.01,m4=0.5,m5=0.1", "--report", "status"});
    ASSERT_EQ(run.status, 0) << run.err;
    const auto rows = Lines(run.out);
    ASSERT_EQ(rows.size(), 97u);
    EXPECT_EQ(rows[0], "\tStatus\tFlags\tR2");
    EXPECT_EQ(Field(rows[1], 0) + " " + Field(rows[1], 1), "Sample1A1 OPT_OK");
    EXPECT_GT(std::stod(Field(rows[1], 3)), 0.999);
    EXPECT_EQ(rows[96], "Sample1H12\tOPT_NON_CONV\tfailed,saturated\t");
}

TEST(BatchOptions, TrackBarWeightsTheFirstLetterBelowHundred)
{
    const auto weighted = Batch({kDemo, "--report", "reduced", "--track-bar", "50"}).out;
    EXPECT_EQ(weighted, Batch({kDemo, "--report", "reduced", "--combination", "b-0.5*a"}).out);
    EXPECT_NE(weighted, Batch({kDemo, "--report", "reduced"}).out);
}

TEST(BatchOptions, WeightedLettersChooseTheWavelengths)
{
    EXPECT_EQ(Batch({kDemo, "--report", "reduced", "--track-bar", "50", "--weighted", "BA"}).out,
              Batch({kDemo, "--report", "reduced", "--combination", "0.5*b-a"}).out);
}

TEST(BatchOptions, CombinationAndFormulaAreNamedInTheStatusColumn)
{
    const BatchResult run = Batch({kDemo, "--combination", "b-0.5*a", "--formula", "m1+m2*x", "--start", "m1=0,m2=0"});
    ASSERT_EQ(run.status, 0);
    EXPECT_EQ(Field(Lines(run.out)[1], 18), "b-0.5*a - m1+m2*x");
    // A layout with A1 alone as Sample1.
    const auto layout = TempFile("movra-batch-a1.PLO", "Sample1\t\r\n");
    const BatchResult listed =
        Batch({kDemo, "--layout", layout.string(), "--formula-index", "4", "--start", "m1=0.9,m2=0.8,m3=2"});
    ASSERT_EQ(Lines(listed.out).size(), 2u);
    EXPECT_EQ(Field(Lines(listed.out)[1], 18), "b-a - m1-m2*exp(-m3*x)");
    std::filesystem::remove(layout);
}

TEST(BatchOptions, StartValuesDecideWhetherTheFitsSucceed)
{
    EXPECT_EQ(Lines(Batch({kDemo}).err).back(), "0 of 96 wells fitted");
    EXPECT_EQ(Lines(Batch({kDemo, "--start", kGoodStart}).err).back(), "96 of 96 wells fitted");
}

TEST(BatchOptions, UpperLimitHoldsTheParameter)
{
    const auto free = Lines(Batch({kDemo, "--formula", "m1+m2*x", "--start", "m1=0.1,m2=0.1"}).out);
    const auto held = Lines(Batch({kDemo, "--formula", "m1+m2*x", "--start", "m1=0.1,m2=0.1", "--upper", "m1=0.11"}).out);
    ASSERT_GT(held.size(), 1u);
    EXPECT_GT(std::stod(Field(free[1], 1)), 0.11);
    EXPECT_LE(std::stod(Field(held[1], 1)), 0.11);
    const auto low = Lines(Batch({kDemo, "--formula", "m1+m2*x", "--start", "m1=0.5,m2=0.1", "--lower", "m1=0.45"}).out);
    EXPECT_GE(std::stod(Field(low[1], 1)), 0.45);
}

TEST(BatchOptions, IterationCapStopsTheFits)
{
    const BatchResult run = Batch({kDemo, "--start", kGoodStart, "--max-iter", "1"});
    EXPECT_THAT(run.err, HasSubstr("A1: OPT_NON_CONV\n"));
}

TEST(BatchOptions, ToleranceChangesTheFittedValues)
{
    const std::string start = "m1=0.1,m2=0.5,m3=0.01,m4=0.6,m5=0.1";
    const auto loose = Batch({kDemo, "--start", start, "--tol", "0.1", "--formula-index", "0"}).out;
    EXPECT_NE(loose, Batch({kDemo, "--start", start, "--formula-index", "0"}).out);
}

TEST(BatchOptions, ViewChangesTheFittedReads)
{
    const auto all = Lines(Batch({kDemo, "--formula", "m1+m2*x", "--start", "m1=0.1,m2=0.1"}).out);
    const auto late = Lines(Batch({kDemo, "--formula", "m1+m2*x", "--start", "m1=0.1,m2=0.1", "--view", "60:100"}).out);
    // A1 has reached its plateau in the last reads: their slope is near zero.
    EXPECT_GT(std::stod(Field(all[1], 2)), 0.3);
    EXPECT_LT(std::abs(std::stod(Field(late[1], 2))), 0.05);
}

TEST(BatchOptions, TimeOffsetShiftsTheReads)
{
    const auto lines = Lines(Batch({kDemo, "--report", "average", "--time-offset", "1.5"}).out);
    EXPECT_EQ(Field(lines[1], 0), "1.5");
    EXPECT_EQ(Field(Lines(Batch({kDemo, "--report", "average"}).out)[1], 0), "0");
}

TEST(BatchOptions, MergeBlocksKeepsOrDropsTheSecondBlock)
{
    const std::string file = (std::filesystem::path(MOVRA_DATA) / "kinetic-96-two-blocks.txt").string();
    const auto merged = Lines(Batch({file, "--report", "average"}).out);
    const auto first = Lines(Batch({file, "--report", "average", "--merge-blocks", "no"}).out);
    EXPECT_EQ(merged.size(), 18u);
    EXPECT_EQ(first.size(), 12u);
}

TEST(BatchOptions, AverageFitsOneCurvePerSample)
{
    const BatchResult run = Batch({kDemo, "--layout", kDemoLayout, "--start", kGoodStart, "--average"});
    ASSERT_EQ(run.status, 0);
    const auto lines = Lines(run.out);
    ASSERT_EQ(lines.size(), 13u);
    EXPECT_EQ(Field(lines[1], 0), "Sample1A1");
    EXPECT_EQ(Field(lines[2], 0), "Sample2A2");
    EXPECT_EQ(Field(lines[12], 0), "Sample12A12");
    EXPECT_EQ(Lines(run.err).back(), "12 of 12 sample means fitted");
}

// --- bad input: the desktop's messages, status 1 ---

TEST(BatchBadInput, FileThatIsNotAPlateGivesTheImportMessage)
{
    const std::string file = (std::filesystem::path(MOVRA_TEST_DATA) / "plate" / "not-plate-format.txt").string();
    const BatchResult run = Batch({file});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, file + ": " + kNotPlateFormat + "\n");
    EXPECT_EQ(run.out, "");
}

TEST(BatchBadInput, MissingFileIsReported)
{
    const BatchResult run = Batch({"no-such-plate.txt"});
    EXPECT_EQ(run.status, 1);
    EXPECT_THAT(run.err, HasSubstr("Cannot open file \"no-such-plate.txt\"."));
}

TEST(BatchBadInput, CombinationFaultGivesTheFrameworkMessageWhateverTheThreads)
{
    for (const char* threads : {"1", "3"}) {
        const BatchResult run = Batch({kDemo, "--combination", "ln(a-1)", "--threads", threads});
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.err, "Invalid floating point operation\n");
        EXPECT_EQ(run.out, "");
    }
}

// A layout that assigns nothing would report "0 of 0 wells fitted" as a
// completed run.
TEST(BatchBadInput, LayoutThatAssignsNothingOrHasABadLabel)
{
    for (const auto& [text, message] : std::vector<std::pair<std::string, std::string>>{
             {"hello\r\n", "The layout assigns no well of this 96-well plate!"},
             {"", "The layout assigns no well of this 96-well plate!"},
             {"Sample999\t\r\n", "Line 1, cell 1: 'Sample999' is not a sample label Sample1 to Sample384!"},
         }) {
        const auto layout = TempFile("movra-batch-bad.PLO", text);
        const BatchResult run = Batch({kDemo, "--layout", layout.string()});
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.err, layout.string() + ": " + message + "\n");
        EXPECT_EQ(run.out, "");
        std::filesystem::remove(layout);
    }
}

TEST(BatchBadInput, DirectoryGivenAsAFileIsNamedAsOne)
{
    const std::string folder = std::filesystem::temp_directory_path().string();
    const BatchResult run = Batch({folder});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, folder + ": Cannot open file \"" + folder + "\": it is a directory.\n");
}

// --- bad usage: status 2; --help: status 0 ---

TEST(BatchUsage, BadUsageExitsTwo)
{
    for (const auto& args : std::vector<std::vector<std::string>>{
             {},
             {kDemo, "--bogus"},
             {kDemo, "--track-bar", "201"},
             {kDemo, "--weighted", "AE"},
             {kDemo, "--view", "50:10"},
             {kDemo, "--view", "0:100"},
             {kDemo, "--start", "4000"},
             {kDemo, "--formula", "m1", "--formula-index", "2"},
             {kDemo, "--formula-index", "12"},
             {kDemo, "--report", "graph"},
             {kDemo, "--threads", "0"},
             {kDemo, "--merge-blocks", "maybe"},
         }) {
        const BatchResult run = Batch(args);
        EXPECT_EQ(run.status, 2) << ::testing::PrintToString(args);
        EXPECT_FALSE(run.err.empty());
        EXPECT_EQ(run.out, "");
    }
}

// Values that cannot mean anything, or that do not convert, are bad usage
// named by their option, found before any file is read.
TEST(BatchUsage, OptionValuesThatCannotMeanAnythingExitTwoNamingTheOption)
{
    std::string longSum = "m1";
    for (int term = 0; term < 27700; ++term) longSum += "+m1";
    for (const auto& [args, message] : std::vector<std::pair<std::vector<std::string>, std::string>>{
             {{"--formula", "m1+(m2*x"}, "--formula: Missing brackets in expression"},
             {{"--combination", "a*"}, "--combination: Error parsing expression:\nA*"},
             {{"--formula", ""}, "--formula: the formula is empty"},
             {{"--formula", longSum}, "--formula: Expression contains too many nestings (at most 20 levels; each "
                                      "operator of a chain such as a+b+c nests one level deeper)"},
             {{"--start", "m1=abc"}, "--start: m1=abc is not a number"},
             {{"--start", "m1=1e309"}, "--start: m1=1e309 is not a finite number"},
             {{"--lower", "m1=1,5"}, "--lower: m1=1,5 is not a number"},
             {{"--upper", "m2=-1e999"}, "--upper: m2=-1e999 is not a finite number"},
             {{"--lower", "m3=5", "--upper", "m3=1"}, "--lower: m3=5 is above the upper limit 1"},
             {{"--upper", "m3=-2E20"}, "--upper: m3=-2E20 is below the lower limit -1E20"},
             {{"--tol", "0"}, "--tol: '0' is not a positive number"},
             {{"--tol", "-1E-6"}, "--tol: '-1E-6' is not a positive number"},
             {{"--tol", "1e999"}, "--tol: '1e999' is not a positive number"},
             {{"--max-iter", "2147483647"}, "--max-iter: '2147483647' is not a whole number from 1 to 1000000"},
             {{"--max-iter", "0"}, "--max-iter: '0' is not a whole number from 1 to 1000000"},
             {{"--max-iter", "many"}, "--max-iter: 'many' is not a whole number from 1 to 1000000"},
             {{"--time-offset", "1e308"}, "--time-offset: '1e308' is not a number of hours from -1000000 to 1000000"},
             {{"--time-offset", "abc"}, "--time-offset: 'abc' is not a number of hours from -1000000 to 1000000"},
         }) {
        std::vector<std::string> run{"no-such-plate.txt"};
        run.insert(run.end(), args.begin(), args.end());
        const BatchResult result = Batch(run);
        EXPECT_EQ(result.status, 2) << message;
        EXPECT_EQ(result.err, message + "\nRun with --help for more information.\n");
        EXPECT_EQ(result.out, "");
    }
}

TEST(BatchUsage, HelpExitsZeroAndDocumentsEveryOption)
{
    const BatchResult run = Batch({"--help"});
    EXPECT_EQ(run.status, 0);
    for (const char* option : {"--layout", "--combination", "--track-bar", "--weighted", "--formula ",
                               "--formula-index", "--start", "--lower", "--upper", "--tol", "--max-iter", "--view",
                               "--time-offset", "--merge-blocks", "--average", "--report", "--output", "--threads",
                               "--quiet", "=b-a", "=100", "=AB", "=0.000001", "=500", "=1:100", "=yes", "=results",
                               "status", "poor-fit", "Wald-Wolfowitz"})
        EXPECT_THAT(run.out, HasSubstr(option));
}

} // namespace
} // namespace movra
