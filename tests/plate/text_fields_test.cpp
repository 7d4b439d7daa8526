// The text rules under both readers: a file's bytes and lines, its
// decoding, the fields of a line, cell values, clock times, block counts,
// and the fields of a table line.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "plate/import_errors.h"
#include "plate/import_fields.h"
#include "plate/table_fields.h"
#include "plate/text_decoding.h"
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
    const auto huge = folder / (std::to_string(::getpid()) + "-movra-huge.txt");
    std::ofstream(huge, std::ios::binary) << "##BLOCKS= 1\r\n";
    std::filesystem::resize_file(huge, kMaxTextFileBytes + 1);  // sparse: costs no disk
    const std::uintmax_t limit512 = kMaxTextFileBytes;
    using Refusal = std::tuple<std::filesystem::path, std::uintmax_t, std::string>;
    for (const auto& [path, limit, message] : std::vector<Refusal>{
             {"/nonexistent/plate.txt", limit512, "Cannot open file \"/nonexistent/plate.txt\"."},
             {folder, limit512, "Cannot open file \"" + folder.string() + "\": it is a directory."},
             {huge, limit512, "The file \"" + huge.string() + "\" is larger than 512 MiB, the most that is read."},
             {"/dev/zero", 100000, "The file \"/dev/zero\" is larger than 100000 bytes, the most that is read."}}) {
        try {
            LoadTextLines(path, limit);
            ADD_FAILURE() << "read " << path;
        } catch (const FileReadError& error) {
            EXPECT_EQ(error.what(), message);
        }
    }
    std::filesystem::remove(huge);
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
             {degrees, degrees},
             {"plain ascii", "plain ascii"}})
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
             {"10:30", 10.5 / 60}, {"00:10:30", 10.5 / 60}, {"1:00:00", 1}, {"59:40", 59 / 60.0 + 40 / 3600.0},
             {"", 0}})
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

} // namespace
} // namespace movra
