// Reading plate-format files: where every value goes, how cells, times and
// header layouts are read, when reading stops, what the user is asked, the
// files refused and the exports of real instruments.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <optional>
#include <stdexcept>

#include "plate/plate_file_set.h"
#include "plate/sm_import.h"
#include "plate/text_decoding.h"
#include "plot/graph_view.h"
#include "shared/number_format.h"
#include "shared/test_helpers.h"
#include "shared/user_locale.h"

namespace movra {
namespace {

// A kinetic or spectrum plate: header fields, reads whose cells come from a
// function, and optional texts before the header and after the reads.
struct MiniPlate {
    std::string blockLine = "##BLOCKS= 1          ";
    std::string mode = "Kinetic";
    bool version13 = false;                      // "1.3" with the extra field (fluorescence layout), else "1.2"
    std::string version = "";                    // overrides the version text when set
    std::string announced = "9";                 // more than written, so reading goes on to the tail
    std::vector<int> waves = {405};              // the first list; a read holds a group of cells per entry
    std::optional<std::string> secondList = {};  // a 0 for each wavelength unless set
    std::string wellCount = "96";
    std::optional<std::string> columnHeader = {};
    std::vector<std::string> xTexts = {"0:00", "1:00"};
    std::string temperature = "37.00";
    // Cell text of well w at wavelength k (from 0) in read t.
    std::function<std::string(int t, int k, int w)> cell = [](int, int, int w) { return std::to_string(w + 1) + ".5"; };
    std::string preamble = "";        // lines between the block line and the header
    std::string headerOverride = "";  // the whole header line, when set
    std::string tail = "~End\r\n";

    int Rows() const { return wellCount == "384" ? 16 : 8; }
    int Columns() const { return wellCount == "384" ? 24 : 12; }

    std::string Header() const
    {
        std::string first, zeros;
        for (const int wave : waves) { first += std::to_string(wave) + " "; zeros += "0 "; }
        return "Plate:\tPlate1\t" + (version.empty() ? (version13 ? "1.3" : "1.2") : version) + "\tPlateFormat\t" +
               mode + (version13 ? "\tFluorescence\tFALSE\tRaw\tFALSE\t" : "\tAbsorbance\tRaw\tFALSE\t") + announced +
               (mode == "Spectrum" ? "\t\t\t400\t420\t10\t\t\t1\t" : "\t60\t30\t\t\t\t" + std::to_string(waves.size()) +
                                                                    "\t" + first + "\t1\t") +
               std::to_string(Columns()) + "\t" + wellCount + "\t" +
               (mode == "Spectrum" ? "1\t8\tNone\tend\t" : secondList.value_or(zeros) + "\t8\tNone\t");
    }

    std::string Text() const
    {
        std::string text = blockLine + "\r\n" + preamble + (headerOverride.empty() ? Header() : headerOverride);
        text += "\r\n";
        std::string captions = mode == "Spectrum" ? "Wavelength\tTemperature(C)\t" : "Time(hh:mm:ss)\tTemperature(C)\t";
        for (std::size_t k = 0; k < waves.size(); ++k) {
            for (int c = 1; c <= Columns(); ++c) captions += std::to_string(c) + "\t";
            captions += "\t";
        }
        text += columnHeader.value_or(captions) + "\r\n";
        for (std::size_t t = 0; t < xTexts.size(); ++t) {
            for (int row = 0; row < Rows(); ++row) {
                text += row == 0 ? xTexts[t] + "\t" + temperature + "\t" : std::string("\t\t");
                for (std::size_t k = 0; k < waves.size(); ++k) {
                    for (int c = 0; c < Columns(); ++c)
                        text += cell(static_cast<int>(t), static_cast<int>(k), row * Columns() + c) + "\t";
                    text += "\t";
                }
                text += "\r\n";
            }
            text += "\t\t\r\n";
        }
        return text + tail;
    }
};

class ScriptedInteraction : public ImportInteraction {
public:
    explicit ScriptedInteraction(MergeAnswer merge = MergeAnswer::Yes, std::optional<std::string> offset = "0")
        : mergeAnswer(merge), timeOffsetAnswer(std::move(offset))
    {
    }
    MergeAnswer mergeAnswer;
    std::optional<std::string> timeOffsetAnswer;
    std::string asked;  // the texts of every question, one line each
    int shown = 0;
    int hidden = 0;
    std::vector<int> progress;

    MergeAnswer AskMergeBlocks(std::string_view text) override
    {
        asked += std::string(text) + "\n";
        return mergeAnswer;
    }
    std::optional<std::string> AskTimeOffset(std::string_view c, std::string_view p, std::string_view d) override
    {
        asked += std::string(c) + "|" + std::string(p) + "|" + std::string(d) + "\n";
        return timeOffsetAnswer;
    }
    void ShowProgress() override { ++shown; }
    void SetProgress(int percent) override { progress.push_back(percent); }
    void HideProgress() override { ++hidden; }
};

// A file of tests/data/plate, as its bytes.
inline std::string DataFile(const std::string& name)
{
    return ReadFileBytes(std::string(MOVRA_TEST_DATA) + "/plate/" + name);
}

inline ImportedPlate Import(const std::string& text, ScriptedInteraction& answers)
{
    auto imported = ImportSMText(TextLines(text), answers);
    if (!imported) throw std::runtime_error("import cancelled");
    return std::move(*imported);
}

inline ImportedPlate Import(const std::string& text)
{
    ScriptedInteraction answers;
    return Import(text, answers);
}

// "ImportError: <message>", "ConversionError: <message>", or "imported".
inline std::string Refusal(const std::string& text, ScriptedInteraction& answers)
{
    try {
        ImportSMText(TextLines(text), answers);
    } catch (const ImportError& error) {
        return std::string("ImportError: ") + error.what();
    } catch (const ConversionError& error) {
        return std::string("ConversionError: ") + error.what();
    }
    return "imported";
}

SyntheticPlateOptions Example(const std::string& name)
{
    for (const auto& file : ExamplePlateFiles())
        if (file.fileName == name) return file.options;
    throw std::runtime_error("no example " + name);
}

// A block boundary after two reads, and a read 20 lines below it where the
// next block's reads start; the next block's header follows where a plate
// that announced nine reads puts it.
const std::string kBoundary = "Time(hh:mm:ss)\t\t1\r\n" + std::string(19, '\n') + "5:00\t37\t1\r\n" +
                              std::string(60, '\n') + "Plate:\tP2\r\n";

TEST(ImportSMText, EveryReadingGoesToItsWellColumnAndReviewCell)
{
    for (const char* wells : {"96", "384"}) {
        SCOPED_TRACE(wells);
        const auto cell = [](int t, int k, int w) { return std::to_string(t * 10000 + k * 1000 + w) + ".5"; };
        const MiniPlate file{.waves = {340, 405}, .wellCount = wells, .xTexts = {"0:00", "0:30", "1:00"}, .cell = cell};
        const ImportedPlate imported = Import(file.Text());
        const PlateMeasurements& plate = imported.plate;
        const ReviewTable& review = imported.review;
        const int count = file.Rows() * file.Columns();
        EXPECT_EQ(std::tie(plate.ReadMode, plate.WellCount, plate.PlateRows, plate.PlateColumns, plate.WaveLengthCount,
                           plate.TimePointCount, imported.summary),
                  std::make_tuple("Kinetic", count, file.Rows(), file.Columns(), 2, 3, "A:0 340 - B:0 405 - "));
        EXPECT_EQ(plate.WaveLengths, (TWaveLengthArray{{{340, 405}, {0, 0}}}));
        EXPECT_EQ(plate.PlateData.size(), 2u * count + 2);
        for (int t = 0; t < 3; ++t) {
            const auto read = static_cast<std::size_t>(t);
            EXPECT_DOUBLE_EQ(plate.PlateData[0][read], t / 120.0);  // 0:30 is half a minute
            EXPECT_EQ(plate.TimeVector[read + 1], plate.PlateData[0][read]);
            EXPECT_EQ(plate.PlateData[1][read], 37.0);
            for (int k = 1; k <= 2; ++k)
                for (int w = 0; w < count; ++w) {
                    const double value = t * 10000 + (k - 1) * 1000 + w + 0.5;
                    ASSERT_EQ(plate.Reading(w, k, t), value) << "well " << w << " wavelength " << k << " read " << t;
                    ASSERT_EQ(review.Cell(plate, 3 + (k - 1) * count + w, t + 1), FormatGeneral(value));
                }
        }
        EXPECT_DOUBLE_EQ(plate.LastXValue, 1 / 60.0);
        EXPECT_EQ(std::make_pair(review.ColumnCount(), review.RowCount()), std::make_pair(2 * count + 3, 4));
        const std::string last = count == 96 ? "H12" : "P24";
        for (const auto& [column, row, text] : std::vector<std::tuple<int, int, std::string>>{
                 {0, 0, ""}, {1, 0, "Time(hh:mm:ss)"}, {2, 0, "Temperature(C)"}, {3, 0, "340A1"},
                 {2 + count, 0, "340" + last}, {3 + count, 0, "405A1"}, {2 + 2 * count, 0, "405" + last},
                 {3 + 2 * count, 0, ""}, {1, 2, "0:30"}, {2, 1, "37.00"}, {3, 4, ""}, {-1, 1, ""}})
            EXPECT_EQ(review.Cell(plate, column, row), text) << column << "," << row;
    }
    EXPECT_EQ(ReviewTable{}.Cell(PlateMeasurements{}, 3, 0), "");  // before any import: no well to name
}

// The review shows the value read, in the locale's decimal mark.
TEST(ImportSMText, CellsTemperatureAndVersionAreReadByTheCellRuleUnderEitherLocale)
{
    const std::vector<std::tuple<std::string, double, std::string>> cells = {
        {"#Sat", 35000, "35000"}, {"#Low", 1, "1"},   {"Error", 0, "0"},  {"", 0, "0"},       {" ", 0, "0"},
        {"   ", 0, "0"},          {"???", 0, "0"},    {"NoFit", 0, "0"},  {"Range?", 0, "0"}, {"Masked", 0, "0"},
        {"NaN", 0, "0"},          {"1,5", 1.5, "1.5"}, {"-0.25", -0.25, "-0.25"}, {"0.1000", 0.1, "0.1"},
        {"1E-5", 1e-5, "1E-5"},   {"1.7E308", 1.7e308, "1.7E308"}, {"1E-400", 0, "0"}};
    const MiniPlate file{.version = "1,2", .temperature = "37,5", .cell = [&](int, int, int w) {
        return w < static_cast<int>(cells.size()) ? std::get<0>(cells[static_cast<std::size_t>(w)]) : "1";
    }};
    for (const char separator : {'.', ','}) {
        ScopedDecimalSeparator locale(separator);
        const ImportedPlate imported = Import(file.Text());
        EXPECT_EQ(imported.plate.PlateData[1][0], 37.5);
        EXPECT_EQ(imported.review.Cell(imported.plate, 2, 1), "37,5");
        for (std::size_t w = 0; w < cells.size(); ++w) {
            const auto& [text, value, shown] = cells[w];
            EXPECT_EQ(imported.plate.Reading(static_cast<int>(w), 1, 0), value) << text;
            std::string expected = shown;
            std::replace(expected.begin(), expected.end(), '.', separator);
            EXPECT_EQ(imported.review.Cell(imported.plate, 3 + static_cast<int>(w), 1), expected) << text;
        }
        // "Range?" is remembered in both reads: a curve through it counts as saturated.
        EXPECT_EQ(imported.plate.OutOfRangeCells, (std::vector<PlateCell>{{8, 1, 0}, {8, 1, 1}}));
    }
}

TEST(ImportSMText, SpectrumReadsWavelengthsAsXAndAsksNoTimeOffset)
{
    ScriptedInteraction answers;
    const ImportedPlate imported = Import(MiniPlate{.mode = "Spectrum", .xTexts = {"400", "410", "420"}}.Text(),
                                          answers);
    const PlateMeasurements& plate = imported.plate;
    EXPECT_EQ(answers.asked, "");
    EXPECT_EQ(plate.PlateData[0], (std::vector<double>{400, 410, 420}));
    EXPECT_EQ(imported.review.Cell(plate, 98, 0), "H12");  // no wavelength before the well
    EXPECT_EQ(DescribePlate(imported), "mode: Spectrum\nwells: 96 (8 rows x 12 columns)\nwavelengths: 1 (fix:1 "
                                       "scan:400-420 step 10 end)\nreads: 3 of 9 announced\nx range: 400 to 420 nm\n");
}

// When reading stops, and which header layouts hold the read count where.
// The merge question is answered Cancel: none of these files may ask it.
TEST(ImportSMText, ReadingStopsWhereTheFileSays)
{
    const std::string time = "Time(hh:mm:ss)\t\t1\t2\r\n";
    const std::string notes = "Note\r\nNote\r\nNote\r\nNote\r\nNote\r\n";
    const std::string endpoint = "Note:\r\n~End\r\nPlate:\tOD\t1.3\tPlateFormat\tEndpoint\tAbsorbance\tRaw\tTRUE\t1\t\t"
                                 "\t\t\t\t1\t600\t1\t12\t96\t1\t8\tNone\t\r\n\tTemperature(C)\t1\r\n\t22.0\t0.1\t\r\n"
                                 "~End\r\n";
    const std::string absorbance13 = "Plate:\tP\t1.3\tPlateFormat\tKinetic\tAbsorbance\tRaw\tFALSE\t2\t60\t30\t\t\t\t1"
                                     "\t490\t1\t12\t96\t1\t8\tNone\t";
    std::string groups = "~End\r\n";
    for (int i = 0; i < 30; ++i) groups += "Group:\tResults\t1\r\n";
    const std::vector<std::string> three = {"0:00", "0:30", "1:00"};
    const std::string blank(60, '\n');
    std::string lastRowEnds = MiniPlate{.tail = ""}.Text();
    lastRowEnds.resize(lastRowEnds.size() - 4);  // no line after the last read's plate rows
    const auto emptyRead = [](int t, int, int w) { return t == 1 ? std::string(w % 2 ? "" : "Error") : "0.5"; };
    // What each file is, its text, the reads it gives and its summary (checked when set).
    const std::vector<std::tuple<const char*, std::string, int, std::string>> cases = {
        {"more reads than announced", DataFile("more-reads-than-announced.txt"), 2, ""},
        {"absurd read count", DataFile("absurd-read-count.txt"), 2, ""},
        {"read cut off by the end", DataFile("truncated-mid-read.txt"), 1, ""},
        {"first all-empty read", MiniPlate{.xTexts = three, .cell = emptyRead}.Text(), 1, ""},
        {"Time line, one block", MiniPlate{.tail = kBoundary}.Text(), 2, ""},
        {"section end", MiniPlate{.tail = "~End\r\nGroup:\tG\t1\r\n" + blank}.Text(), 2, ""},
        {"section end, several blocks",
         MiniPlate{.blockLine = "##BLOCKS= 2", .tail = "~End \r\nPlate:\tP\t1\tPlateFormat\r\n" + blank}.Text(), 2, ""},
        {"file ending after the last plate row", lastRowEnds, 2, ""},
        {"groups where a second block's header would be",
         MiniPlate{.blockLine = "##BLOCKS= 4", .announced = "2", .tail = groups}.Text(), 2, ""},
        {"block boundary, no second header where one would stand",
         MiniPlate{.blockLine = "##BLOCKS= 2", .xTexts = {"0:00"}, .tail = kBoundary}.Text(), 2, ""},
        {"block boundary past the end",
         MiniPlate{.blockLine = "##BLOCKS= 2", .xTexts = {"0:00"}, .tail = time + notes}.Text(), 1, ""},
        {"plate after notes and an endpoint plate",
         MiniPlate{.blockLine = "##BLOCKS= 3", .preamble = endpoint}.Text(), 2, ""},
        {"fluorescence 1.3: count in field 10",
         MiniPlate{.version13 = true, .announced = "2", .waves = {490}, .secondList = "410", .xTexts = three}.Text(), 2,
         "A:410 490 - "},
        {"absorbance 1.3: count in field 9, no second list",
         MiniPlate{.xTexts = three, .headerOverride = absorbance13}.Text(), 2, "A:0 490 - "},
        {"empty second list before 1.3", MiniPlate{.version = "1,1", .secondList = ""}.Text(), 2, "A:0 405 - "},
    };
    for (const auto& [what, text, reads, summary] : cases) {
        SCOPED_TRACE(what);
        ScriptedInteraction answers(MergeAnswer::Cancel);
        const TextLines lines(text);
        const auto imported = ImportSMText(lines, answers);
        ASSERT_TRUE(imported);
        const PlateMeasurements& plate = imported->plate;
        EXPECT_EQ(plate.TimePointCount, reads);
        EXPECT_TRUE(summary.empty() || imported->summary == summary) << imported->summary;
        // Storage follows what the lines can hold, not the announced count.
        const std::size_t linesCanHold = lines.Count() / static_cast<std::size_t>(plate.PlateRows + 1);
        EXPECT_LE(plate.PlateData[0].size(), linesCanHold);
        EXPECT_LE(plate.TimeVector.size(), linesCanHold + 1);
        EXPECT_LE(std::ranges::max(answers.progress), 100);  // though a block boundary skips past the end
    }
    // A shortfall against the announced count is told; a file that announces
    // what it holds says nothing.
    const ImportedPlate truncated = Import(DataFile("truncated-mid-read.txt"));
    EXPECT_EQ(truncated.AnnouncedReads, 3);
    EXPECT_EQ(MissingReadsWarning(truncated), "Only 1 of the 3 reads the file announces could be read.");
    EXPECT_EQ(MissingReadsWarning(Import(DataFile("cr-only.txt"))), "");
}

// Yes reads both blocks, the first from the typed offset (a decimal comma
// reads too), the second from 48 hours whatever offset was typed; No reads
// the first; Cancel imports nothing and asks nothing more.
TEST(ImportSMText, MergeAnswerDecidesWhetherTheSecondBlockIsRead)
{
    const std::string question = "File contains more than one block. Merge blocks?\n";
    for (const SyntheticPlateOptions& options : {Example("kinetic-96-two-blocks.txt"), LargeTwoBlockPlate(4)}) {
        SCOPED_TRACE(options.wellCount);
        const std::string text = WriteSyntheticPlate(options);
        const int first = options.reads;
        const double step = options.intervalSeconds / 3600.0;
        ScriptedInteraction yes(MergeAnswer::Yes, "2,5");
        const ImportedPlate both = Import(text, yes);
        const PlateMeasurements& plate = both.plate;
        EXPECT_EQ(yes.asked, question + "Time offset|type time offset in hours|0\n");
        EXPECT_EQ(plate.TimePointCount, first + options.secondBlockReads);
        EXPECT_EQ(plate.TimeVector.size(), static_cast<std::size_t>(plate.TimePointCount) + 1);
        EXPECT_DOUBLE_EQ(plate.PlateData[0][0], 2.5);
        EXPECT_DOUBLE_EQ(plate.PlateData[0][static_cast<std::size_t>(first - 1)], 2.5 + (first - 1) * step);
        EXPECT_DOUBLE_EQ(plate.PlateData[0][static_cast<std::size_t>(first)], 48.0);
        EXPECT_DOUBLE_EQ(plate.LastXValue, 48.0 + (options.secondBlockReads - 1) * step);
        EXPECT_EQ(both.review.Cell(plate, 1, first + 1), "0:00");
        ScriptedInteraction no(MergeAnswer::No, std::nullopt);  // and Cancel for the offset: none
        const PlateMeasurements firstBlock = Import(text, no).plate;
        EXPECT_EQ(std::tuple(firstBlock.TimePointCount, firstBlock.PlateData[0][0]), std::tuple(first, 0.0));
        ScriptedInteraction cancel(MergeAnswer::Cancel);
        EXPECT_FALSE(ImportSMText(TextLines(text), cancel));
        EXPECT_EQ(cancel.asked, question);
        EXPECT_EQ(cancel.shown, 0);
    }
    // A first block cut short meets the block boundary: after No, reading ends there.
    ScriptedInteraction no(MergeAnswer::No);
    EXPECT_EQ(Import(MiniPlate{.blockLine = "##BLOCKS= 2", .tail = kBoundary}.Text(), no).plate.TimePointCount, 2);
    EXPECT_EQ(no.asked, question + "Time offset|type time offset in hours|0\n");
}

// The generated demo plate holds its known curves in "b-a"; the progress
// rises to the end; the tools describe it in one paragraph.
TEST(ImportSMText, DemoPlateHoldsItsCurvesAndShowsProgressToTheEnd)
{
    auto options = Example("demo-kinetic-96.txt");
    options.noise = 0.0;
    ScriptedInteraction answers;
    const ImportedPlate imported = Import(WriteSyntheticPlate(options), answers);
    const PlateMeasurements& plate = imported.plate;
    // Columns 1-3, 4-6, 7-9 and 10-12 follow the curves of samples 1 to 4.
    for (const auto& [well, sample] : std::vector<std::pair<int, int>>{{0, 1}, {40, 2}, {95, 4}})
        for (const int t : {0, 30, 60})
            EXPECT_NEAR(plate.Reading(well, 2, t) - plate.Reading(well, 1, t),
                        DemoSampleCurve(sample).Value(plate.PlateData[0][static_cast<std::size_t>(t)]), 1.5e-4);
    EXPECT_EQ(DescribePlate(imported), "mode: Kinetic\nwells: 96 (8 rows x 12 columns)\nwavelengths: 2 (A:0 340 - "
                                       "B:0 405 - )\nreads: 61\nx range: 0 to 2 h\n");
    const std::vector<int>& progress = answers.progress;
    ASSERT_GE(progress.size(), 2u);
    EXPECT_EQ(progress.front(), 0);
    EXPECT_EQ(std::adjacent_find(progress.begin(), progress.end(), std::greater_equal<int>()), progress.end());
    EXPECT_TRUE(progress.back() >= 90 && progress.back() <= 100) << progress.back();
}

// A two-wavelength plate whose cell (read, wavelength k from 0, well) holds text.
std::string WithCell(const std::string& text, int read, int k, int well)
{
    const auto cell = [=](int t, int kk, int w) { return t == read && kk == k && w == well ? text : "0.5"; };
    return MiniPlate{.waves = {340, 405}, .cell = cell}.Text();
}

// Files the import refuses: each ends in the exact message the user sees (a
// field that does not convert names its text, a number too large names its
// cell), never in a plate (so the loaded one stays), and never with the
// progress window left open.
TEST(ImportSMText, RefusesBadFilesWithTheirExactMessageAndNoPlate)
{
    const std::string notSpectraMax = "ImportError: File is not at SpectraMax text file!";
    const std::string notPlateFormat = "ImportError: File is not saved as plate format!";
    const std::string notKinetic = "ImportError: The file is not a kinetic/spectrum assay!";
    const std::string announces = "ImportError: The plate header announces ";
    const std::string reading = "ImportError: The reading ";
    const std::string digits(320, '9');
    struct Case {
        std::string text;
        std::string message;
        std::string offset = "0";  // the typed time offset
    };
    const std::vector<Case> cases = {
        {DataFile("empty.txt"), notSpectraMax},
        {DataFile("no-blocks-line.txt"), notSpectraMax},
        {DataFile("not-plate-format.txt"), notPlateFormat},
        {DataFile("block-line-only.txt"), notPlateFormat},
        {DataFile("endpoint.txt"), notKinetic},
        {"##BLOCKS= 2\r\nNote:\r\n~End\r\nPlate:\tOD\t1.3\tPlateFormat\tEndpoint\tAbsorbance\r\n", notKinetic},
        {DataFile("wells-48.txt"),
         "ImportError: The file describes a plate of 48 wells; only 96-well and 384-well plates can be read!"},
        {DataFile("wavelengths-0.txt"), "ImportError: The file announces 0 wavelengths; only 1 to 6 can be read!"},
        // Rows written for one plate under a header announcing another.
        {MiniPlate{.headerOverride = MiniPlate{.wellCount = "384"}.Header()}.Text(),
         announces + "384 wells (24 columns) at 1 wavelength, but the column header names 12 columns at 1 wavelength!"},
        {MiniPlate{.waves = {340, 405}, .headerOverride = MiniPlate{}.Header()}.Text(),
         announces + "96 wells (12 columns) at 1 wavelength, but the column header names 12 columns at 2 wavelengths!"},
        {MiniPlate{.columnHeader = "Time\tTemperature\t1\t2\tthree"}.Text(),
         announces + "96 wells (12 columns) at 1 wavelength, but the column header names 'three' where column 3 of "
                     "wavelength 1 should be!"},
        // A header without a complete read would replace the loaded plate by nothing.
        {DataFile("negative-read-count.txt"), "ImportError: The file holds no complete read (0 announced)!"},
        {MiniPlate{.announced = "3", .xTexts = {}, .tail = ""}.Text(),
         "ImportError: The file holds no complete read (3 announced)!"},
        {DataFile("missing-fields.txt"), "ConversionError: '' is not a valid integer value"},
        {DataFile("text-for-integer.txt"), "ConversionError: 'two' is not a valid integer value"},
        {DataFile("text-for-read-count.txt"), "ConversionError: 'many' is not a valid integer value"},
        {DataFile("text-in-cell.txt"), "ConversionError: 'n/a' is not a valid floating point value (line 4, well A6)"},
        {DataFile("bad-clock-time.txt"), "ConversionError: 'half past' is not a valid time value (line 13)"},
        {MiniPlate{}.Text(), "ConversionError: 'soon' is not a valid floating point value", "soon"},
        {MiniPlate{}.Text(), "ImportError: The time offset '1E999' is not a finite number!", "1E999"},
        {MiniPlate{.xTexts = {"0:00", "1E999"}}.Text(),
         "ConversionError: '1E999' is not a valid time value (line 13)"},
        {MiniPlate{.mode = "Spectrum", .xTexts = {"400", "1E999"}}.Text(),
         "ConversionError: '1E999' is not a valid integer value (line 13)"},
        {MiniPlate{.temperature = "-1E400"}.Text(),
         "ImportError: The temperature '-1E400' of read 1 is not a finite number!"},
        {WithCell("-1E400", 1, 1, 14), reading + "'-1E400' of well B3 (wavelength 2, read 2) is not a finite number!"},
        {WithCell(digits, 0, 0, 1),
         reading + "'" + digits.substr(0, 60) + "...' of well A2 (wavelength 1, read 1) is not a finite number!"},
    };
    for (const Case& c : cases) {
        ScriptedInteraction answers(MergeAnswer::Yes, c.offset);
        EXPECT_EQ(Refusal(c.text, answers), c.message);
        EXPECT_EQ(answers.hidden, answers.shown) << c.message;
    }
}

// Genuine SoftMax Pro exports from public repositories (reference data kept
// outside the project): each importable file gives the expected plate, with
// readings checked by hand against the file, and asks no merge question; the
// others are refused with their message.
const std::filesystem::path kFolder = std::filesystem::path(MOVRA_SHARED_TESTDATA) / "softmax-real";

class SoftMaxRealFiles : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!std::filesystem::is_directory(kFolder))
            GTEST_SKIP() << "reference exports not found in " << kFolder.string();
    }
};

struct Expected {
    std::string file;
    std::string mode;
    int wells;
    std::string summary;
    int reads;
    double firstX, lastX;
    // PlateData column (1 the temperature, 2 + w well w), read, value.
    std::vector<std::tuple<std::size_t, std::size_t, double>> values;
    std::string valueName;           // the graph's y title, from the header's read type
    std::string temperatureCaption;  // checked when set
};

TEST_F(SoftMaxRealFiles, ImportableFilesGiveTheirPlate)
{
    const std::string degrees = "Temperature(\xC2\xA1" "C)";
    const std::vector<Expected> files = {
        {"FAIRChemistry__MTPHandler__spectra_max_190.txt", "Kinetic", 96, "A:0 412 - ", 721, 0.0, 4.0,
         {{2, 0, 0.0385}, {4, 0, 0.039}, {15, 0, 1.8877}, {1, 0, 37.0}}, "OD", degrees},
        {"JoGall__enzyme-activity__example.text", "Kinetic", 96, "A:0 490 - ", 81, 0.0, 40.0 / 60.0,
         {{2, 0, 0.0607}, {22, 0, 0.3339}, {1, 0, 30.1}}, "OD", ""},
        {"PlethoraChutney__mandel_plate_reader__071216_ColumnVesiclesControlBottomWell.txt", "Kinetic", 96,
         "A:410 490 - ", 25, 0.0, 2.0 / 60.0, {{8, 0, 1320.765}, {20, 0, 1404.427}, {2, 0, 0.0}}, "RFU", ""},
        {"teese__pytoxr__QSOX2_example.txt", "Kinetic", 96, "A:0 405 - ", 41, 0.0, 20.0 / 60.0,
         {{2, 0, 0.1662}, {14, 0, 0.2225}}, "OD", ""},
        {"Benchling-Open-Source__allotropy__spectramax340_kinetic_partial_plate.txt", "Kinetic", 96, "A:0 405 - ", 3,
         0.0, 1.0 / 60.0, {{2, 0, 0.0}, {3, 0, 0.0546}, {15, 0, 0.1012}}, "OD", ""},
        {"Benchling-Open-Source__allotropy__spectrum_data.txt", "Spectrum", 384, "fix:1 scan:525-528 step 1 ", 4,
         525.0, 528.0, {{2, 0, 0.1685}, {27, 0, 0.0353}, {1, 0, 23.5}}, "OD", degrees},
        {"Benchling-Open-Source__allotropy__partial_plate_with_empty_values.txt", "Spectrum", 384,
         "fix:1 scan:520-570 step 1 ", 51, 520.0, 570.0, {{2, 0, 0.0 /* "???" */}, {3, 0, 2.592}}, "OD", ""},
        // Rows without a final tab: A16 is a row's last field, A17 is not read.
        {"Benchling-Open-Source__allotropy__partial_plate.txt", "Spectrum", 384, "fix:1 scan:525-565 step 2 ", 21,
         525.0, 565.0, {{2, 0, 0.0994}, {17, 0, 0.1006}, {41, 0, 0.0507}, {18, 0, 0.0}}, "OD", ""},
    };
    for (const Expected& e : files) {
        SCOPED_TRACE(e.file);
        ScriptedInteraction answers(MergeAnswer::Cancel);
        const auto imported = ImportSMText(LoadTextLines(kFolder / e.file), answers);
        ASSERT_TRUE(imported);
        const PlateMeasurements& plate = imported->plate;
        ASSERT_EQ(std::tie(plate.ReadMode, plate.WellCount, imported->summary, plate.TimePointCount),
                  std::tie(e.mode, e.wells, e.summary, e.reads));
        EXPECT_NEAR(plate.PlateData[0][0], e.firstX, 1e-9);
        EXPECT_NEAR(plate.LastXValue, e.lastX, 1e-4);
        for (const auto& [column, read, value] : e.values) EXPECT_EQ(plate.PlateData[column][read], value) << column;
        const std::string x = e.mode == "Kinetic" ? "Time (h)" : "Wavelength (nm)";
        EXPECT_EQ(GraphAxisTitles(plate), (AxisTitles{x, e.valueName}));
        const std::string caption = imported->review.Cell(plate, 2, 0);
        EXPECT_TRUE(e.temperatureCaption.empty() || caption == e.temperatureCaption) << caption;
    }
}

TEST_F(SoftMaxRealFiles, EndpointAndSixWellFilesAreRefused)
{
    const std::string notKinetic = "ImportError: The file is not a kinetic/spectrum assay!";
    for (const auto& [file, message] : std::vector<std::pair<std::string, std::string>>{
             {"Benchling-Open-Source__allotropy__MD_SMP_absorbance_endpoint_example04.txt", notKinetic},
             {"Benchling-Open-Source__allotropy__MD_SMP_fluorescence_endpoint_example06.txt", notKinetic},
             {"Benchling-Open-Source__allotropy__comma_sep.txt", notKinetic},
             {"dabernards__spectramax-automation__full8x12.txt", notKinetic},
             {"bertrand-lab__Softmax-Platereader-Functions__example-softmax-output.txt", notKinetic},
             {"Benchling-Open-Source__allotropy__fl_kinetic_plates.txt",
              "ImportError: The file describes a plate of 6 wells; only 96-well and 384-well plates can be read!"}}) {
        ScriptedInteraction answers;
        EXPECT_EQ(Refusal(LoadTextLines(kFolder / file).Text(), answers), message) << file;
    }
    int files = 0;  // every file of the folder is covered above
    for (const auto& entry : std::filesystem::directory_iterator(kFolder)) files += entry.path().extension() != ".md";
    EXPECT_EQ(files, 14);
}

} // namespace
} // namespace movra
