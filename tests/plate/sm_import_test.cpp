// Reading plates: header rules, cells, reads, summary and questions.
#include "plate/sm_import.h"

#include <gtest/gtest.h>

#include "mini_plate.h"
#include "plate/import_errors.h"
#include "plate/plate_file_set.h"
#include "scripted_interaction.h"
#include "shared/user_locale.h"

namespace movra {
namespace {

using test::MiniPlate;
using test::ScriptedInteraction;

ImportedPlate Import(const std::string& text, ScriptedInteraction& interaction)
{
    auto imported = ImportSMText(TextLines(text), interaction);
    if (!imported) throw std::runtime_error("import cancelled");
    return std::move(*imported);
}

ImportedPlate Import(const std::string& text)
{
    ScriptedInteraction interaction;
    return Import(text, interaction);
}

SyntheticPlateOptions ExampleOptions(const std::string& name)
{
    for (const auto& file : ExamplePlateFiles())
        if (file.fileName == name) return file.options;
    throw std::runtime_error("no example " + name);
}

TEST(ImportKinetic, SetsGeometryModeAndCounts)
{
    const ImportedPlate imported = Import(MiniPlate{}.Text());
    const PlateMeasurements& plate = imported.plate;
    EXPECT_EQ(plate.ReadMode, "Kinetic");
    EXPECT_EQ(plate.WellCount, 96);
    EXPECT_EQ(plate.PlateRows, 8);
    EXPECT_EQ(plate.PlateColumns, 12);
    EXPECT_EQ(plate.WaveLengthCount, 1);
    EXPECT_EQ(plate.TimePointCount, 2);
    EXPECT_EQ(plate.PlateData.size(), 98u);
    EXPECT_DOUBLE_EQ(plate.LastXValue, 1.0 / 60.0);
}

TEST(ImportKinetic, ReadingsGoToTheirWellColumnsAndTimesToColumnZero)
{
    const ImportedPlate imported = Import(MiniPlate{}.Text());
    const PlateMeasurements& plate = imported.plate;
    EXPECT_EQ(plate.Reading(0, 1, 0), 1.5);
    EXPECT_EQ(plate.Reading(12, 1, 1), 13.5);  // B1
    EXPECT_EQ(plate.Reading(95, 1, 1), 96.5);  // H12
    EXPECT_EQ(plate.PlateData[1][0], 37.0);
    EXPECT_EQ(plate.PlateData[0][1], 1.0 / 60.0);
    EXPECT_EQ(plate.TimeVector[2], plate.PlateData[0][1]);
}

TEST(ImportKinetic, SpecialCellsReadAsFixedValuesAndShowAsNumbers)
{
    MiniPlate file;
    file.cell = [](int, int, int w) -> std::string {
        switch (w) {
        case 0: return "#Sat";
        case 1: return "#Low";
        case 2: return "Error";
        case 3: return "";
        default: return "0.5";
        }
    };
    const ImportedPlate imported = Import(file.Text());
    EXPECT_EQ(imported.plate.Reading(0, 1, 0), 35000.0);
    EXPECT_EQ(imported.plate.Reading(1, 1, 0), 1.0);
    EXPECT_EQ(imported.plate.Reading(2, 1, 0), 0.0);
    EXPECT_EQ(imported.plate.Reading(3, 1, 0), 0.0);
    EXPECT_EQ(imported.review.Cell(imported.plate, 3, 1), "35000");
    EXPECT_EQ(imported.review.Cell(imported.plate, 4, 1), "1");
    EXPECT_EQ(imported.review.Cell(imported.plate, 5, 1), "0");
    EXPECT_EQ(imported.review.Cell(imported.plate, 6, 1), "0");
}

TEST(ImportKinetic, CommaDecimalsReadTheSameUnderBothLocales)
{
    MiniPlate file;
    file.version = "1,2";
    file.temperature = "37,00";
    file.cell = [](int, int, int) { return std::string("1,5"); };
    for (const char separator : {'.', ','}) {
        ScopedDecimalSeparator locale(separator);
        const ImportedPlate imported = Import(file.Text());
        EXPECT_EQ(imported.plate.Reading(7, 1, 0), 1.5);
        EXPECT_EQ(imported.plate.PlateData[1][0], 37.0);
    }
}

TEST(ImportKinetic, Version13ShiftsTheReadCountOneFieldRight)
{
    MiniPlate file;
    file.xTexts = {"0:00", "0:30", "1:00"};
    file.announced = "2";
    file.version13 = true;  // field 9 holds "FALSE", field 10 the count
    EXPECT_EQ(Import(file.Text()).plate.TimePointCount, 2);

    file.version13 = false;
    file.version = "1.2";
    file.announced = "3";
    EXPECT_EQ(Import(file.Text()).plate.TimePointCount, 3);
}

TEST(ImportKinetic, TwoWavelengthSummaryAndReviewHeaders)
{
    const ImportedPlate imported = Import(WriteSyntheticPlate(ExampleOptions("demo-kinetic-96.txt")));
    const PlateMeasurements& plate = imported.plate;
    EXPECT_EQ(imported.summary, "A:0 340 - B:0 405 - ");
    EXPECT_EQ(plate.WaveLengths[0], (std::vector<std::int32_t>{340, 405}));
    EXPECT_EQ(plate.WaveLengths[1], (std::vector<std::int32_t>{0, 0}));
    const ReviewTable& review = imported.review;
    EXPECT_EQ(review.ColumnCount(), 96 * 2 + 3);
    EXPECT_EQ(review.Cell(plate, 3, 0), "340A1");
    EXPECT_EQ(review.Cell(plate, 3 + 95, 0), "340H12");
    EXPECT_EQ(review.Cell(plate, 3 + 96, 0), "405A1");
    EXPECT_EQ(review.Cell(plate, 3 + 191, 0), "405H12");
    EXPECT_EQ(review.Cell(plate, 1, 0), "Time(hh:mm:ss)");
}

TEST(ImportKinetic, DemoPlateDifferenceOfWavelengthsFollowsItsCurve)
{
    auto options = ExampleOptions("demo-kinetic-96.txt");
    options.noise = 0.0;
    const ImportedPlate imported = Import(WriteSyntheticPlate(options));
    const PlateMeasurements& plate = imported.plate;
    EXPECT_EQ(plate.TimePointCount, 61);
    EXPECT_DOUBLE_EQ(plate.LastXValue, 2.0);
    for (const int well : {0, 40, 95}) {
        const KineticCurve curve = DemoCurveOfWell(well, 12);
        for (const int t : {0, 30, 60}) {
            const double x = plate.PlateData[0][static_cast<std::size_t>(t)];
            EXPECT_NEAR(plate.Reading(well, 2, t) - plate.Reading(well, 1, t), curve.Value(x), 1.5e-4);
        }
    }
}

TEST(ImportKinetic, StopsAtTheFirstAllEmptyRead)
{
    const ImportedPlate imported = Import(WriteSyntheticPlate(ExampleOptions("kinetic-96-special-cells.txt")));
    EXPECT_EQ(imported.plate.TimePointCount, 31);
    EXPECT_EQ(imported.review.RowCount(), 32);
    EXPECT_DOUBLE_EQ(imported.plate.LastXValue, 2.0);
}

TEST(ImportKinetic, OneBlockEndsAtALineBeginningWithTime)
{
    MiniPlate file;
    file.announced = "10";
    file.tail = "Time(hh:mm:ss)\t\t1\t2\r\n\t\t0.1\t0.2\r\n~End\r\n";
    const ImportedPlate imported = Import(file.Text());
    EXPECT_EQ(imported.plate.TimePointCount, 2);
}

TEST(ImportKinetic, ReadOfEmptyLinesEndsReadingQuietly)
{
    MiniPlate file;
    file.announced = "5";
    file.tail = std::string(40, '\n');  // lines enough for more attempts, all empty
    const ImportedPlate imported = Import(file.Text());
    EXPECT_EQ(imported.plate.TimePointCount, 2);
}

TEST(ImportKinetic, StopsAtTheAnnouncedReadCount)
{
    MiniPlate file;
    file.announced = "2";
    file.xTexts = {"0:00", "0:30", "1:00", "1:30"};
    const ImportedPlate imported = Import(file.Text());
    EXPECT_EQ(imported.plate.TimePointCount, 2);
    EXPECT_EQ(imported.plate.TimeVector.size(), 3u);
    EXPECT_GE(imported.plate.PlateData[0].size(), 2u);
}

TEST(ImportKinetic, TypedTimeOffsetIsAddedToEveryTime)
{
    MiniPlate file;
    file.xTexts = {"1:00:00", "1:30:00"};
    ScriptedInteraction interaction;
    interaction.timeOffsetAnswer = "2,5";
    const ImportedPlate imported = Import(file.Text(), interaction);
    EXPECT_DOUBLE_EQ(imported.plate.PlateData[0][0], 3.5);
    EXPECT_DOUBLE_EQ(imported.plate.PlateData[0][1], 4.0);
    EXPECT_EQ(interaction.timeOffsetQuestions, 1);
    EXPECT_EQ(interaction.caption, "Time offset");
    EXPECT_EQ(interaction.prompt, "type time offset in hours");
    EXPECT_EQ(interaction.defaultText, "0");
    EXPECT_EQ(imported.review.Cell(imported.plate, 1, 1), "1:00:00");
}

TEST(ImportKinetic, CancelledTimeOffsetMeansNoOffset)
{
    MiniPlate file;
    file.xTexts = {"1:00:00", "1:30:00"};
    ScriptedInteraction interaction;
    interaction.timeOffsetAnswer.reset();
    EXPECT_DOUBLE_EQ(Import(file.Text(), interaction).plate.PlateData[0][0], 1.0);
}

TEST(ImportKinetic, ProgressIsShownRisesAndIsHidden)
{
    ScriptedInteraction interaction;
    Import(WriteSyntheticPlate(ExampleOptions("demo-kinetic-96.txt")), interaction);
    EXPECT_EQ(interaction.shown, 1);
    EXPECT_EQ(interaction.hidden, 1);
    ASSERT_GE(interaction.progress.size(), 2u);
    EXPECT_EQ(interaction.progress.front(), 0);
    for (std::size_t i = 1; i < interaction.progress.size(); ++i) {
        EXPECT_GT(interaction.progress[i], interaction.progress[i - 1]);
        EXPECT_LE(interaction.progress[i], 100);
    }
    EXPECT_GE(interaction.progress.back(), 90);
}

TEST(ImportSpectrum, SummaryXValuesAndHeaders)
{
    const ImportedPlate imported = Import(WriteSyntheticPlate(ExampleOptions("spectrum-96.txt")));
    const PlateMeasurements& plate = imported.plate;
    EXPECT_EQ(plate.ReadMode, "Spectrum");
    EXPECT_EQ(imported.summary, "fix:1 scan:400-700 step 10 ");
    EXPECT_EQ(plate.SpectrumStart, 400);
    EXPECT_EQ(plate.SpectrumEnd, 700);
    EXPECT_EQ(plate.SpectrumStep, 10);
    EXPECT_EQ(plate.WaveLengthCount, 1);
    EXPECT_EQ(plate.TimePointCount, 31);
    EXPECT_EQ(plate.PlateData[0][0], 400.0);
    EXPECT_EQ(plate.LastXValue, 700.0);
    EXPECT_EQ(imported.review.Cell(plate, 3, 0), "A1");
    EXPECT_EQ(imported.review.Cell(plate, 98, 0), "H12");
    EXPECT_EQ(imported.review.Cell(plate, 1, 2), "410");
}

TEST(ImportSpectrum, AsksNoTimeOffset)
{
    MiniPlate file;
    file.mode = "Spectrum";
    file.xTexts = {"400", "410", "420"};
    file.announced = "3";
    ScriptedInteraction interaction;
    const ImportedPlate imported = Import(file.Text(), interaction);
    EXPECT_EQ(interaction.timeOffsetQuestions, 0);
    EXPECT_EQ(imported.summary, "fix:1 scan:400-420 step 10 end");
    EXPECT_EQ(imported.plate.TimePointCount, 3);
}

TEST(ImportKinetic, Plate384WithFourWavelengths)
{
    SyntheticPlateOptions options = LargeTwoBlockPlate(3);
    options.secondBlockReads = 0;
    const ImportedPlate imported = Import(WriteSyntheticPlate(options));
    const PlateMeasurements& plate = imported.plate;
    EXPECT_EQ(plate.WellCount, 384);
    EXPECT_EQ(plate.PlateRows, 16);
    EXPECT_EQ(plate.PlateColumns, 24);
    EXPECT_EQ(plate.WaveLengthCount, 4);
    EXPECT_EQ(plate.PlateData.size(), 4u * 384u + 2u);
    EXPECT_EQ(plate.TimePointCount, 3);
    EXPECT_EQ(imported.summary, "A:0 340 - B:0 405 - C:0 450 - D:0 490 - ");
    EXPECT_EQ(imported.review.Cell(plate, 3 + 3 * 384 + 383, 0), "490P24");
}

TEST(ImportKinetic, CrOnlyAndLfFilesReadLikeCrLf)
{
    auto options = ExampleOptions("kinetic-96-comma.txt");
    const ImportedPlate crlf = Import(WriteSyntheticPlate(options));
    for (const char* lineEnd : {"\r", "\n"}) {
        options.lineEnd = lineEnd;
        const ImportedPlate other = Import(WriteSyntheticPlate(options));
        EXPECT_EQ(other.plate.TimePointCount, crlf.plate.TimePointCount);
        EXPECT_EQ(other.plate.PlateData, crlf.plate.PlateData);
    }
}

TEST(DescribePlate, NamesModeWellsWavelengthsReadsAndRange)
{
    const std::string text = DescribePlate(Import(WriteSyntheticPlate(ExampleOptions("demo-kinetic-96.txt"))));
    EXPECT_NE(text.find("mode: Kinetic"), std::string::npos);
    EXPECT_NE(text.find("wells: 96"), std::string::npos);
    EXPECT_NE(text.find("A:0 340 - B:0 405 - "), std::string::npos);
    EXPECT_NE(text.find("reads: 61"), std::string::npos);
    EXPECT_NE(text.find("x range: 0 to 2 h"), std::string::npos);
}

} // namespace
} // namespace movra
