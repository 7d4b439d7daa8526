// Reading plain x/y tables: separators and decimal marks, cells and their
// messages, table shape, plate geometry and the review table.
#include "plate/table_import.h"

#include <gtest/gtest.h>

#include "mini_plate.h"
#include "plate/text_decoding.h"
#include "scripted_interaction.h"
#include "shared/user_locale.h"

namespace movra {
namespace {

ImportedPlate Read(const std::string& text)
{
    return ImportTable(TextLines(text));
}

ImportedPlate ReadFile(const std::string& name)
{
    return ImportTable(LoadTextLines(std::string(MOVRA_TEST_DATA) + "/plate/tables/" + name));
}

std::string RefusalOf(const std::string& text)
{
    try {
        Read(text);
    } catch (const ImportError& error) {
        return error.what();
    }
    return "(accepted)";
}

// A tab-separated table with the given number of curves; curve k holds k
// plus the row index.
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

// --- separators and decimal marks ---

TEST(TableSeparators, TabSemicolonAndCommaFilesWithBothDecimalMarksReadTheSameNumbers)
{
    const ImportedPlate reference = ReadFile("tab-point.tsv");
    const PlateMeasurements& expected = reference.plate;
    EXPECT_EQ(expected.Reading(0, 1, 1), 0.25);
    EXPECT_EQ(expected.Reading(1, 1, 0), 1.5);
    EXPECT_EQ(expected.Reading(2, 1, 2), -3.75);
    for (const char* name : {"tab-comma.tsv", "semicolon-point.csv", "semicolon-comma.csv", "comma.csv"}) {
        const ImportedPlate other = ReadFile(name);
        EXPECT_EQ(other.plate.TimePointCount, 4) << name;
        EXPECT_EQ(other.plate.PlateData, expected.PlateData) << name;
        EXPECT_EQ(other.review.Cell(other.plate, 1, 0), "Time (s)") << name;
        EXPECT_EQ(other.review.Cell(other.plate, 5, 0), "C") << name;
    }
}

TEST(TableSeparators, DecimalCommasReadTheSameUnderEitherLocaleSeparator)
{
    for (const char localeSeparator : {'.', ','}) {
        ScopedDecimalSeparator locale(localeSeparator);
        const ImportedPlate imported = Read("x;y\n0,5;1,25\n");
        EXPECT_EQ(imported.plate.PlateData[0][0], 0.5);
        EXPECT_EQ(imported.plate.Reading(0, 1, 0), 1.25);
    }
}

TEST(TableSeparators, CommaSeparatedFileRefusesADecimalCommaInAQuotedCell)
{
    EXPECT_EQ(RefusalOf("x,y\n0,\"1,5\"\n"), "Row 2, column 2: '1,5' is not a number");
}

TEST(TableSeparators, UnquotedDecimalCommasInACommaFileMakeCellsWithoutCaption)
{
    EXPECT_EQ(RefusalOf("x,y\n0,1,5\n"), "Row 2, column 3: '5' has no column caption");
}

// --- cells ---

TEST(TableCells, InstrumentWordsReadByTheCellRule)
{
    const ImportedPlate imported = Read("x;a;b;c\n1;#Sat;#Low;Error\n");
    EXPECT_EQ(imported.plate.Reading(0, 1, 0), 35000.0);
    EXPECT_EQ(imported.plate.Reading(1, 1, 0), 1.0);
    EXPECT_EQ(imported.plate.Reading(2, 1, 0), 0.0);
    EXPECT_EQ(imported.review.Cell(imported.plate, 3, 1), "35000");
}

// A missing cell is a hole in its curve, not a reading of 0.
TEST(TableCells, HolesAreRefusedWithTheirRowAndColumn)
{
    EXPECT_EQ(RefusalOf("x;a;b\n0;1;2\n1;;3\n2;4;5\n"), "Row 3, column 2: the cell is empty");
    EXPECT_EQ(RefusalOf("x;a;b\n0;1;2\n1;2\n"), "Row 3, column 3: the cell is empty");  // a short row
    EXPECT_EQ(RefusalOf("x,a\n0,\"\"\n"), "Row 2, column 2: the cell is empty");
}

TEST(TableCells, ABadCellNamesItsRowAndColumnAsASpreadsheetCountsThem)
{
    EXPECT_EQ(RefusalOf("x\ta\tb\n0\t1\t2\n1\t3\t4\n2\t5\t6\n3\t7\t8\n4\t9\tabc\n"),
              "Row 6, column 3: 'abc' is not a number");
}

TEST(TableCells, XMustBeAPlainNumber)
{
    EXPECT_EQ(RefusalOf("x;a\n;1\n"), "Row 2, column 1: the x value is empty");
    EXPECT_EQ(RefusalOf("x;a\n#Sat;1\n"), "Row 2, column 1: '#Sat' is not a number");
    EXPECT_EQ(RefusalOf("x;a\n00:10:00;1\n"), "Row 2, column 1: '00:10:00' is not a number");
}

TEST(TableCells, OverflowingNumbersAreRefused)
{
    EXPECT_EQ(RefusalOf("x;a\n0;1e999\n"), "Row 2, column 2: '1e999' is out of range");
}

TEST(TableCells, CellsBeyondTheHeaderMustBeEmpty)
{
    EXPECT_EQ(Read("x;a\n0;1;;\n").plate.TimePointCount, 1);
    EXPECT_EQ(RefusalOf("x;a\n0;1;;7\n"), "Row 2, column 4: '7' has no column caption");
}

TEST(TableCells, AnUnclosedQuoteIsRefused)
{
    EXPECT_EQ(RefusalOf("x,a\n0,\"1\n"), "Row 2, column 2: a quote is not closed");
}

TEST(TableCells, LongOrBinaryBadTextsAreCutAndEscapedInTheMessage)
{
    const std::string message = RefusalOf("x;a\n0;" + std::string(1 << 20, 'q') + "\n");
    EXPECT_EQ(message, "Row 2, column 2: '" + std::string(60, 'q') + "...' is not a number");
    EXPECT_EQ(RefusalOf(std::string("x;a\n0;1\0" "2\x01\n", 11)), "Row 2, column 2: '1\\02\\x01' is not a number");
}

// --- table shape ---

TEST(TableShape, RefusesTablesWithoutHeaderCurvesOrRows)
{
    EXPECT_EQ(RefusalOf(""), kTableWithoutHeader);
    EXPECT_EQ(RefusalOf("\n0;1\n"), kTableWithoutHeader);
    EXPECT_EQ(RefusalOf("Time\n0\n1\n"), kTableWithoutCurves);
    EXPECT_EQ(RefusalOf("Time 1 2\n0 1 2\n"), kTableWithoutCurves);
    EXPECT_EQ(RefusalOf("x;a\n"), kTableWithoutRows);
    EXPECT_EQ(RefusalOf("x;a\n;;\n\n"), kTableWithoutRows);
}

TEST(TableShape, BlankTrailingRowsAreIgnoredButABlankRowInsideIsRefused)
{
    EXPECT_EQ(Read("x;a\n0;1\n1;2\n\n;;\n  \n").plate.TimePointCount, 2);
    EXPECT_EQ(RefusalOf("x;a\n0;1\n\n2;3\n"), "Row 3 is empty");
}

TEST(TableShape, TrailingEmptyCaptionsAreNoCurves)
{
    const ImportedPlate imported = Read("x;a;b;;\n0;1;2;;\n");
    EXPECT_EQ(imported.summary, "table: 2 curves");
    EXPECT_EQ(imported.review.ColumnCount(), 5);
}

// --- plate ---

TEST(TablePlate, IsAKineticOneWavelengthPlateWithXAsGiven)
{
    const ImportedPlate imported = Read("t;a\n0.5;1\n2;3\n7.25;4\n");
    const PlateMeasurements& plate = imported.plate;
    EXPECT_EQ(plate.ReadMode, "Kinetic");
    EXPECT_EQ(plate.WaveLengthCount, 1);
    EXPECT_EQ(plate.WaveLengths[0], std::vector<std::int32_t>{0});
    EXPECT_EQ(plate.WaveLengths[1], std::vector<std::int32_t>{0});
    EXPECT_EQ(plate.TimePointCount, 3);
    EXPECT_EQ(plate.LastXValue, 7.25);
    EXPECT_EQ(plate.TimeVector, (TVector{0.0, 0.5, 2.0, 7.25}));
    EXPECT_EQ(imported.summary, "table: 1 curve");
    // Storage only for what holds data: x and the one curve. The
    // temperature and the other wells read as 0.
    EXPECT_EQ(plate.PlateData.size(), 98u);
    for (std::size_t column = 0; column < plate.PlateData.size(); ++column)
        EXPECT_EQ(plate.PlateData[column].size(), column == 0 || column == 2 ? 3u : 0u) << column;
    EXPECT_EQ(plate.Reading(95, 1, 2), 0.0);
}

TEST(TablePlate, UpTo96CurvesMakeA96WellPlate)
{
    const ImportedPlate imported = Read(WideTable(96));
    const PlateMeasurements& plate = imported.plate;
    EXPECT_EQ(plate.WellCount, 96);
    EXPECT_EQ(plate.PlateRows, 8);
    EXPECT_EQ(plate.PlateColumns, 12);
    EXPECT_EQ(plate.Reading(95, 1, 1), 97.0);  // curve 96 in H12
    EXPECT_EQ(WellName(95, plate.PlateColumns), "H12");
}

TEST(TablePlate, Curve97MakesA384WellPlateAndGoesToWellE1)
{
    const ImportedPlate imported = Read(WideTable(97));
    const PlateMeasurements& plate = imported.plate;
    EXPECT_EQ(plate.WellCount, 384);
    EXPECT_EQ(plate.PlateRows, 16);
    EXPECT_EQ(plate.PlateColumns, 24);
    EXPECT_EQ(plate.PlateData.size(), 386u);
    EXPECT_EQ(PlateDataColumn(1, 96, plate.WellCount), 98);
    EXPECT_EQ(plate.PlateData[98][0], 97.0);
    EXPECT_EQ(plate.Reading(WellIndex(5, 1, plate.PlateColumns), 1, 1), 98.0);
    EXPECT_EQ(WellName(96, plate.PlateColumns), "E1");
    EXPECT_EQ(plate.Reading(97, 1, 0), 0.0);  // no curve there
}

TEST(TablePlate, AtMost384CurvesAreRead)
{
    EXPECT_EQ(Read(WideTable(384, 1)).plate.Reading(383, 1, 0), 384.0);
    EXPECT_EQ(RefusalOf(WideTable(385, 1)), "The table has 385 curves; at most 384 can be read!");
}

TEST(TablePlate, OneCurveTableFillsThePlateLikeTheSameCurveInASpectraMaxFile)
{
    test::MiniPlate file;
    file.xTexts = {"00:00:00", "01:00:00", "02:30:00"};
    file.announced = "3";
    file.cell = [](int t, int, int w) { return w == 0 ? std::to_string(t) + ".25" : std::string("0"); };
    test::ScriptedInteraction interaction;
    const auto spectraMax = ImportSMText(TextLines(file.Text()), interaction);
    ASSERT_TRUE(spectraMax);
    const ImportedPlate table = Read("hours\tA1\n0\t0.25\n1\t1,25\n2.5\t2.25\n");

    const PlateMeasurements& expected = spectraMax->plate;
    const PlateMeasurements& plate = table.plate;
    EXPECT_EQ(plate.ReadMode, expected.ReadMode);
    EXPECT_EQ(plate.WellCount, expected.WellCount);
    EXPECT_EQ(plate.WaveLengthCount, expected.WaveLengthCount);
    EXPECT_EQ(plate.TimePointCount, expected.TimePointCount);
    EXPECT_EQ(plate.LastXValue, expected.LastXValue);
    EXPECT_EQ(plate.TimeVector, expected.TimeVector);
    ASSERT_EQ(plate.PlateData.size(), expected.PlateData.size());
    for (int well = 0; well < plate.WellCount; ++well)
        for (int read = 0; read < plate.TimePointCount; ++read)
            EXPECT_EQ(plate.Reading(well, 1, read), expected.Reading(well, 1, read)) << well << " " << read;
}

// --- review table ---

TEST(TableReview, ShowsTheTableAsRead)
{
    ScopedDecimalSeparator locale('.');
    const ImportedPlate imported = Read("\"Time (min)\";\"Well one\";B\n0,5;1,50;#Low\n1E1;2;Error\n");
    const ReviewTable& review = imported.review;
    const PlateMeasurements& plate = imported.plate;
    EXPECT_EQ(review.ColumnCount(), 5);
    EXPECT_EQ(review.RowCount(), 3);
    EXPECT_EQ(review.Cell(plate, 1, 0), "Time (min)");
    EXPECT_EQ(review.Cell(plate, 2, 0), "");
    EXPECT_EQ(review.Cell(plate, 3, 0), "Well one");
    EXPECT_EQ(review.Cell(plate, 4, 0), "B");
    EXPECT_EQ(review.Cell(plate, 1, 1), "0,5");
    EXPECT_EQ(review.Cell(plate, 1, 2), "1E1");
    EXPECT_EQ(review.Cell(plate, 2, 1), "");
    EXPECT_EQ(review.Cell(plate, 3, 1), "1.5");
    EXPECT_EQ(review.Cell(plate, 4, 1), "1");
    EXPECT_EQ(review.Cell(plate, 4, 2), "0");
    EXPECT_EQ(review.Cell(plate, 5, 0), "");
}

TEST(TableReview, ReadingColumnsFollowTheWellColumnsOfA384WellPlate)
{
    const ImportedPlate imported = Read(WideTable(100));
    EXPECT_EQ(imported.review.ColumnCount(), 103);
    EXPECT_EQ(imported.review.Cell(imported.plate, 3 + 96, 0), "c97");
    EXPECT_EQ(imported.review.Cell(imported.plate, 3 + 96, 2), "98");
}

} // namespace
} // namespace movra
