// movra-batch's command line, run in-process: output independent of the
// thread count, each option doing what it says, the desktop's messages for
// bad input with status 1, status 2 for bad usage, --help.
#include <gtest/gtest.h>
#include <gmock/gmock.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>

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

std::filesystem::path TempFile(const std::string& name, const std::string& text)
{
    const auto path = std::filesystem::temp_directory_path() / name;
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
    const auto path = std::filesystem::temp_directory_path() / "movra-batch-output.tsv";
    const BatchResult toFile = Batch({kDemo, "--report", "average", "--output", path.string()});
    ASSERT_EQ(toFile.status, 0);
    EXPECT_EQ(toFile.out, "");
    std::ifstream file(path, std::ios::binary);
    const std::string written((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    EXPECT_EQ(written, Batch({kDemo, "--report", "average"}).out);
    std::filesystem::remove(path);
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

TEST(BatchBadInput, RejectedFormulaGivesTheParserMessage)
{
    const BatchResult run = Batch({kDemo, "--formula", "m1+(m2*x"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "Missing brackets in expression\n");
    const BatchResult combination = Batch({kDemo, "--combination", "a*"});
    EXPECT_EQ(combination.status, 1);
    EXPECT_EQ(combination.err, "Error parsing expression:\nA*\n");
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

TEST(BatchBadInput, StartValueOrIterationCapThatIsNotANumber)
{
    const BatchResult start = Batch({kDemo, "--start", "m1=abc"});
    EXPECT_EQ(start.status, 1);
    EXPECT_EQ(start.err, "'abc' is not a valid floating point value\n");
    const BatchResult iterations = Batch({kDemo, "--max-iter", "many"});
    EXPECT_EQ(iterations.status, 1);
    EXPECT_EQ(iterations.err, "'many' is not a valid integer value\n");
    EXPECT_EQ(Batch({kDemo, "--lower", "m1=1,5"}).err, "'1,5' is not a valid floating point value\n");
}

TEST(BatchBadInput, LayoutWithABadLabelGivesTheConversionMessage)
{
    const auto layout = TempFile("movra-batch-bad.PLO", "SampleX\t\r\n");
    const BatchResult run = Batch({kDemo, "--layout", layout.string()});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, layout.string() + ": 'X' is not a valid integer value\n");
    std::filesystem::remove(layout);
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

TEST(BatchUsage, HelpExitsZeroAndDocumentsEveryOption)
{
    const BatchResult run = Batch({"--help"});
    EXPECT_EQ(run.status, 0);
    for (const char* option : {"--layout", "--combination", "--track-bar", "--weighted", "--formula ",
                               "--formula-index", "--start", "--lower", "--upper", "--tol", "--max-iter", "--view",
                               "--time-offset", "--merge-blocks", "--average", "--report", "--output", "--threads",
                               "--quiet", "=b-a", "=100", "=AB", "=0.000001", "=500", "=1:100", "=yes", "=results"})
        EXPECT_THAT(run.out, HasSubstr(option));
}

} // namespace
} // namespace movra
