// The text rules under both readers (a file's bytes and lines, its
// decoding, the fields of a line, cell values, clock times, block counts,
// and the fields of a table line), then reading plain x/y tables:
// separators and decimal marks, refusals with the row and column a
// spreadsheet shows, the plate a table becomes, and its review table.
#include "plate/table_import.h"

#include <gtest/gtest.h>

#include "plate/import_errors.h"
#include "plate/import_fields.h"
#include "plate/table_fields.h"
#include "plate/text_decoding.h"
#include "shared/test_helpers.h"
#include "shared/user_locale.h"

namespace movra {
namespace {

using Texts = std::vector<std::string>;

TEST(TextLines, CrLfLfAndCrAloneEndLinesAndALastEmptyLineDoesNotCount)
{
    for (const auto& [text, lines] : std::vector<std::pair<std::string, Texts>>{
             {"a\r\nb\nc\rd", {"a", "b", "c", "d"}}, {"a\r\nb\r\n", {"a", "b"}}, {"a\n\n", {"a", ""}},
             {"a\n\rb", {"a", "", "b"}}, {"", {}}}) {
        const TextLines split(text);
        ASSERT_EQ(split.Count(), lines.size()) << text;
        for (std::size_t i = 0; i < lines.size(); ++i) EXPECT_EQ(split.Line(i), lines[i]) << text;
        EXPECT_EQ(split.Line(lines.size()), "");
        EXPECT_EQ(split.Line(1000000), "");
    }
}

// A directory, or a file too large for any plate, is refused before its
// bytes are read (a 3 GB file would otherwise take gigabytes to refuse); a
// device has no size and is read up to the limit.
TEST(TextLines, MissingFilesDirectoriesAndFilesOverTheLimitAreRefused)
{
    const auto folder = std::filesystem::temp_directory_path();
    const test::ScratchFolder scratch("huge");
    const auto huge = test::WriteFile(scratch / "huge.txt", "##BLOCKS= 1\r\n");
    std::filesystem::resize_file(huge, kMaxTextFileBytes + 1);  // sparse: costs no disk
    const std::uintmax_t limit512 = kMaxTextFileBytes;
    using Refusal = std::tuple<std::filesystem::path, std::uintmax_t, std::string>;
    for (const auto& [path, limit, message] : std::vector<Refusal>{
             {"/nonexistent/plate.txt", limit512, "Cannot open file \"/nonexistent/plate.txt\"."},
             {folder, limit512, "Cannot open file \"" + folder.string() + "\": it is a directory."},
             {huge, limit512, "The file \"" + huge.string() + "\" is larger than 512 MiB, the most that is read."},
             {"/dev/zero", 100000, "The file \"/dev/zero\" is larger than 100000 bytes, the most that is read."}})
        EXPECT_EQ(test::MessageOf<FileReadError>([&] { LoadTextLines(path, limit); }), message);
}

TEST(DecodeText, ByteOrderMarksChooseUtf8OrUtf16AndOtherwiseBytesAreWindows1252UnlessValidUtf8)
{
    const std::string degrees = "T(\xC2\xA1" "C)";
    for (const auto& [bytes, text] : std::vector<std::pair<std::string, std::string>>{
             {std::string("\xFF\xFE" "T\0(\0\xA1\0C\0)\0", 12), degrees},
             {std::string("\xFE\xFF" "\0T\0(\0\xA1\0C\0)", 12), degrees},
             {std::string("\xFF\xFE\x3D\xD8\x00\xDE", 6), "\xF0\x9F\x98\x80"},  // a surrogate pair
             {std::string("\xFF\xFE\x00\xD8" "A\0\x00\xDC", 8), "\xEF\xBF\xBD" "A\xEF\xBF\xBD"},  // lone surrogates
             {std::string("\xFF\xFE" "A\0B", 5), "A"},                  // an odd last byte
             {"\xEF\xBB\xBF##BLOCKS= 1", "##BLOCKS= 1"},
             {"T(\xA1" "C)", degrees},
             {"\x80", "\xE2\x82\xAC"},  // the euro sign
             {degrees, degrees}})
        EXPECT_EQ(DecodeText(bytes), text);
}

TEST(ImportFields, SplitFieldTakesTheTextBeforeTheSeparatorAndAListItemNeedsNone)
{
    std::string_view line = "a\tbc\tlast";
    EXPECT_EQ(SplitField('\t', line), "a");
    EXPECT_EQ(SplitField('\t', line), "bc");
    EXPECT_EQ(SplitField('\t', line), "");  // no separator: nothing taken, line kept
    EXPECT_EQ(line, "last");
    std::string_view list = "340 405";
    EXPECT_EQ(SplitListItem(' ', list), "340");
    EXPECT_EQ(SplitListItem(' ', list), "405");
    EXPECT_EQ(SplitListItem(' ', list), "");
}

TEST(ImportFields, CellValuesClockTimesAndBlockCounts)
{
    for (const char separator : {'.', ','}) {
        ScopedDecimalSeparator locale(separator);
        for (const auto& [text, value] : std::vector<std::pair<const char*, double>>{
                 {"#Sat", 35000}, {"1,5", 1.5}, {".5", 0.5}, {"-4,99999999999945E-05", -4.99999999999945E-05}})
            EXPECT_DOUBLE_EQ(ParseCellValue(text), value) << text << " under " << separator;
        for (const char* text : {"#sat", "error", "#Sat ", "1.2.3", "1,2,3", "inf", "nan"})
            EXPECT_THROW(ParseCellValue(text), ConversionError) << text;
    }
    // Up to five characters minutes:seconds, longer hours:minutes:seconds.
    for (const auto& [text, hours] : std::vector<std::pair<const char*, double>>{
             {"10:30", 10.5 / 60}, {"00:10:30", 10.5 / 60}, {"1:00:00", 1}, {"", 0}})
        EXPECT_DOUBLE_EQ(ParseClockTime(text), hours) << text;
    EXPECT_THROW(ParseClockTime("~End"), ConversionError);
    // Digits stay; any other character goes with the one after it; the last is never looked at.
    for (const auto& [text, count] : std::vector<std::pair<const char*, int>>{
             {"1          ", 1}, {"12         ", 12}, {"61", 61}, {"6\t\t\t", 6}, {"1a2", 1}, {"x5", 0}, {"", 0}})
        EXPECT_EQ(DigitsToInt(text), count) << text;
    EXPECT_THROW(DigitsToInt("1x"), ConversionError);
}

TEST(TableFields, SeparatorIsTabElseSemicolonElseCommaAndFieldsLoseQuotesAndBlanks)
{
    for (const auto& [header, separator] : std::vector<std::pair<const char*, char>>{
             {"x\ta;b,c", '\t'}, {"x;a,b", ';'}, {"x,a,b", ','}, {"\"Time; s\",A,B", ','}, {"\"a\tb\";c", ';'}})
        EXPECT_EQ(DetectTableSeparator(header), separator) << header;
    for (const auto& [line, separator, fields] : std::vector<std::tuple<std::string, char, Texts>>{
             {" 1.5 ; ;2", ';', {"1.5", "", "2"}},
             {"a;b;", ';', {"a", "b", ""}},
             {"", ';', {""}},
             {"only", ',', {"only"}},
             {R"("Time, h","say ""hi""", "B" )", ',', {"Time, h", R"(say "hi")", "B"}},
             {R"("";x)", ';', {"", "x"}},
             {R"("12"h,3)", ',', {"12h", "3"}}}) {
        Texts split;
        EXPECT_FALSE(SplitTableLine(line, separator, split).has_value()) << line;
        EXPECT_EQ(split, fields) << line;
        EXPECT_EQ(AllFieldsEmpty(split), line.empty()) << line;
    }
    Texts split;
    EXPECT_EQ(SplitTableLine(R"(a,b,"c,d)", ',', split), std::optional<std::size_t>(2));
    EXPECT_EQ(SplitTableLine(";;", ';', split), std::nullopt);
    EXPECT_TRUE(AllFieldsEmpty(split));
}

// A tab-separated table whose curve k holds k plus the row index.
std::string WideTable(int curves, int rows = 2)
{
    std::string text = "x";
    for (int k = 1; k <= curves; ++k) text += "\tc" + std::to_string(k);
    for (int t = 0; t < rows; ++t) {
        text += "\n" + std::to_string(t * 10);
        for (int k = 1; k <= curves; ++k) text += "\t" + std::to_string(k + t);
    }
    return text + "\n";
}

TEST(ImportTable, TabSemicolonAndCommaFilesWithEitherDecimalMarkReadTheSameUnderEitherLocale)
{
    const auto file = [](const std::string& name) {
        return ImportTable(LoadTextLines(std::string(MOVRA_TEST_DATA) + "/plate/tables/" + name));
    };
    for (const char separator : {'.', ','}) {
        ScopedDecimalSeparator locale(separator);
        const PlateMeasurements reference = file("tab-point.tsv").plate;
        EXPECT_EQ(std::tuple(reference.Reading(0, 1, 1), reference.Reading(1, 1, 0), reference.Reading(2, 1, 2)),
                  std::tuple(0.25, 1.5, -3.75));
        for (const char* name : {"tab-comma.tsv", "semicolon-point.csv", "semicolon-comma.csv", "comma.csv"}) {
            const ImportedPlate other = file(name);
            EXPECT_EQ(other.plate.TimePointCount, 4) << name;
            EXPECT_EQ(other.plate.PlateData, reference.PlateData) << name;
        }
    }
}

TEST(ImportTable, RefusesTheWholeTableNamingRowAndColumnAsASpreadsheetCountsThem)
{
    for (const auto& [text, message] : std::vector<std::pair<std::string, std::string>>{
             {"\n0;1\n", kTableWithoutHeader},
             {"Time 1 2\n0 1 2\n", kTableWithoutCurves},
             {"x;a\n", kTableWithoutRows},
             {"x;a\n0;1\n\n\n2;3\n", "Row 3 is empty"},  // the first of two blank rows
             {"x\ta\tb\n0\t1\t2\n1\t3\t4\n2\t5\t6\n3\t7\t8\n4\t9\tabc\n", "Row 6, column 3: 'abc' is not a number"},
             {"x;a;b\n0;1;2\n1;;3\n", "Row 3, column 2: the cell is empty"},
             {"x;a;b\n0;1;2\n1;2\n", "Row 3, column 3: the cell is empty"},  // a short row
             {"x,a\n0,\"\"\n", "Row 2, column 2: the cell is empty"},
             {"x;a\n;1\n", "Row 2, column 1: the x value is empty"},
             {"x;a\n#Sat;1\n", "Row 2, column 1: '#Sat' is not a number"},
             {"x;a\n00:10:00;1\n", "Row 2, column 1: '00:10:00' is not a number"},
             {"x;a\n0;1e999\n", "Row 2, column 2: '1e999' is out of range"},
             {"x;a\n0;1;;7\n", "Row 2, column 4: '7' has no column caption"},
             // A ","-separated file cannot hold decimal commas.
             {"x,y\n0,\"1,5\"\n", "Row 2, column 2: '1,5' is not a number"},
             {"x,a\n0,\"1\n", "Row 2, column 2: a quote is not closed"},
             {std::string("x;a\n0;1\0" "2\x01\n", 11), "Row 2, column 2: '1\\02\\x01' is not a number"},
             {WideTable(385, 1), "The table has 385 curves; at most 384 can be read!"},
         })
        EXPECT_EQ(test::MessageOf<ImportError>([&] { ImportTable(TextLines(text)); }), message);
}

TEST(ImportTable, TrailingBlankRowsEmptyCellsAndCaptionsAreNoData)
{
    for (const auto& [text, curves, reads] : std::vector<std::tuple<std::string, int, int>>{
             {"x;a\n0;1\n1;2\n\n;;\n  \n", 1, 2}, {"x;a\n0;1;;\n", 1, 1}, {"x;a;b;;\n0;1;2;;\n", 2, 1}}) {
        const ImportedPlate imported = ImportTable(TextLines(text));
        EXPECT_EQ(imported.plate.TimePointCount, reads) << text;
        EXPECT_EQ(imported.review.ColumnCount(), curves + 3) << text;
        EXPECT_EQ(imported.summary, curves == 1 ? "table: 1 curve" : "table: 2 curves");
    }
}

// Curve k goes to well k - 1: up to 96 curves on a 96-well plate, more on a
// 384-well plate (curve 97 in E1), at most 384: a one-wavelength kinetic
// plate, x as written. Only x and the curves get storage; the other columns
// read as 0.
TEST(ImportTable, CurvesFillTheWellsOfThePlateInOrder)
{
    for (const auto& [curves, wells, last] : std::vector<std::tuple<int, int, std::string>>{
             {1, 96, "A1"}, {96, 96, "H12"}, {97, 384, "E1"}, {384, 384, "P24"}}) {
        SCOPED_TRACE(curves);
        const ImportedPlate imported = ImportTable(TextLines(WideTable(curves)));
        const PlateMeasurements& plate = imported.plate;
        EXPECT_EQ(std::tie(plate.WellCount, plate.PlateRows, plate.PlateColumns),
                  std::make_tuple(wells, wells == 96 ? 8 : 16, wells == 96 ? 12 : 24));
        EXPECT_EQ(plate.WaveLengths, (TWaveLengthArray{{{0}, {0}}}));
        EXPECT_EQ(std::tie(plate.ReadMode, plate.WaveLengthCount, plate.LastXValue, plate.TimeVector),
                  std::make_tuple("Kinetic", 1, 10.0, TVector{0, 0, 10}));
        EXPECT_EQ(WellName(curves - 1, plate.PlateColumns), last);
        EXPECT_EQ(plate.Reading(curves - 1, 1, 1), curves + 1.0);
        EXPECT_EQ(plate.Reading(wells - 1, 1, 1), curves < wells ? 0.0 : curves + 1.0);
        EXPECT_EQ(plate.PlateData.size(), wells + 2u);
        for (std::size_t column = 0; column < plate.PlateData.size(); ++column)
            EXPECT_EQ(plate.PlateData[column].size(), column == 0 || (column >= 2 && column < curves + 2u) ? 2u : 0u);
        EXPECT_EQ(imported.review.Cell(plate, 2 + curves, 0), "c" + std::to_string(curves));
        EXPECT_EQ(imported.review.Cell(plate, 2 + curves, 2), std::to_string(curves + 1));
        EXPECT_EQ(imported.review.Cell(plate, 3 + curves, 0), "");
    }
}

// Captions and x texts as written (quotes removed), no temperature, cells
// by the cell rule; the captions name the graph's axes.
TEST(ImportTable, ReviewShowsTheTableAsRead)
{
    ScopedDecimalSeparator locale('.');
    const ImportedPlate imported =
        ImportTable(TextLines("\"Time (min)\";\"Well one\";B\n0,5;1,50;#Low\n1E1;#Sat;Error\n"));
    const ReviewTable& review = imported.review;
    EXPECT_EQ(std::pair(review.ColumnCount(), review.RowCount()), std::pair(5, 3));
    const Texts expected[] = {{"", "Time (min)", "", "Well one", "B", ""},
                              {"", "0,5", "", "1.5", "1", ""},
                              {"", "1E1", "", "35000", "0", ""}};
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 6; ++column)
            EXPECT_EQ(review.Cell(imported.plate, column, row), expected[row][static_cast<std::size_t>(column)])
                << row << "," << column;
    // The graph's titles: the x caption, and the curves' caption only when
    // they share it.
    EXPECT_EQ(std::tie(imported.plate.XName, imported.plate.ValueName), std::tuple("Time (min)", ""));
    const PlateMeasurements shared = ImportTable(TextLines("t\tOD600\tOD600\n0\t1\t2\n")).plate;
    EXPECT_EQ(std::tie(shared.XName, shared.ValueName), std::tuple("t", "OD600"));
}

} // namespace
} // namespace movra
