// Broken and unusual files: each ends in its message or a conversion error,
// never in a crash, and never leaves a partly imported plate behind.
#include "plate/sm_import.h"

#include <gtest/gtest.h>

#include <string>

#include "plate/import_errors.h"
#include "mini_plate.h"
#include "scripted_interaction.h"

namespace movra {
namespace {

using test::ScriptedInteraction;

TextLines BadFile(const std::string& name)
{
    return TextLines(ReadFileBytes(std::string(MOVRA_TEST_DATA) + "/plate/" + name));
}

std::string ImportMessage(const std::string& name)
{
    ScriptedInteraction interaction;
    try {
        ImportSMText(BadFile(name), interaction);
    } catch (const ImportError& error) {
        return std::string("ImportError: ") + error.what();
    } catch (const ConversionError& error) {
        return std::string("ConversionError: ") + error.what();
    }
    return "imported";
}

ImportedPlate ImportGood(const std::string& name)
{
    ScriptedInteraction interaction;
    auto imported = ImportSMText(BadFile(name), interaction);
    if (!imported) throw std::runtime_error("cancelled");
    return std::move(*imported);
}

TEST(ImportRefuses, FileWithoutBlocksLine)
{
    const std::string expected = std::string("ImportError: ") + kNotSpectraMaxFile;
    EXPECT_EQ(ImportMessage("empty.txt"), expected);
    EXPECT_EQ(ImportMessage("binary-garbage.bin"), expected);
    EXPECT_EQ(ImportMessage("no-blocks-line.txt"), expected);
}

TEST(ImportRefuses, FileNotInPlateFormat)
{
    EXPECT_EQ(ImportMessage("not-plate-format.txt"), "ImportError: File is not saved as plate format!");
    EXPECT_EQ(ImportMessage("block-line-only.txt"), "ImportError: File is not saved as plate format!");
}

TEST(ImportRefuses, EndpointFile)
{
    EXPECT_EQ(ImportMessage("endpoint.txt"), "ImportError: The file is not a kinetic/spectrum assay!");
}

TEST(ImportRefuses, PlateOtherThan96Or384WellsNamingTheCount)
{
    const std::string message = ImportMessage("wells-48.txt");
    EXPECT_EQ(message.rfind("ImportError: ", 0), 0u);
    EXPECT_NE(message.find("48 wells"), std::string::npos);
}

// Rows of one geometry under a header announcing another would be read
// scrambled (blanks as 0, second-wavelength cells as wells).
TEST(ImportRefuses, ColumnHeaderThatDoesNotMatchTheAnnouncedWellsAndWavelengths)
{
    auto refusal = [](test::MiniPlate rows, const std::string& wellCount, const std::string& waveLengthCount) {
        test::MiniPlate announced = rows;
        announced.wellCount = wellCount;
        announced.waveLengthCount = waveLengthCount;
        rows.headerOverride = announced.Header();
        ScriptedInteraction interaction;
        try {
            ImportSMText(TextLines(rows.Text()), interaction);
        } catch (const ImportError& error) {
            return std::string(error.what());
        }
        return std::string("imported");
    };
    test::MiniPlate plate96;
    EXPECT_EQ(refusal(plate96, "384", "1"), "The plate header announces 384 wells (24 columns) at 1 wavelength, but "
                                            "the column header names 12 columns at 1 wavelength!");
    test::MiniPlate plate384;
    plate384.wellCount = "384";
    EXPECT_EQ(refusal(plate384, "96", "1"), "The plate header announces 96 wells (12 columns) at 1 wavelength, but "
                                            "the column header names 24 columns at 1 wavelength!");
    test::MiniPlate twoWavelengths;
    twoWavelengths.waveLengths = 2;
    twoWavelengths.firstList = "340 405 ";
    EXPECT_EQ(refusal(twoWavelengths, "96", "1"), "The plate header announces 96 wells (12 columns) at 1 "
                                                  "wavelength, but the column header names 12 columns at 2 "
                                                  "wavelengths!");
    test::MiniPlate garbage;
    garbage.columnHeader = "Time\tTemperature\t1\t2\tthree";
    EXPECT_EQ(refusal(garbage, "96", "1"), "The plate header announces 96 wells (12 columns) at 1 wavelength, but "
                                           "the column header names 'three' where column 3 of wavelength 1 should "
                                           "be!");
}

TEST(ImportRefuses, KineticFileWithoutWavelengths)
{
    const std::string message = ImportMessage("wavelengths-0.txt");
    EXPECT_EQ(message.rfind("ImportError: ", 0), 0u);
    EXPECT_NE(message.find("0 wavelengths"), std::string::npos);
}

TEST(ImportConversionErrors, NameTheOffendingText)
{
    EXPECT_EQ(ImportMessage("missing-fields.txt"), "ConversionError: '' is not a valid integer value");
    EXPECT_EQ(ImportMessage("text-for-integer.txt"), "ConversionError: 'two' is not a valid integer value");
    EXPECT_EQ(ImportMessage("text-for-read-count.txt"), "ConversionError: 'many' is not a valid integer value");
    EXPECT_EQ(ImportMessage("text-in-cell.txt"),
              "ConversionError: 'n/a' is not a valid floating point value (line 4, well A6)");
    EXPECT_EQ(ImportMessage("bad-clock-time.txt"), "ConversionError: 'half past' is not a valid time value (line 13)");
}

TEST(ImportConversionErrors, ProgressIsHiddenAfterAnError)
{
    ScriptedInteraction interaction;
    EXPECT_THROW(ImportSMText(BadFile("text-in-cell.txt"), interaction), ConversionError);
    EXPECT_EQ(interaction.shown, 1);
    EXPECT_EQ(interaction.hidden, 1);
}

TEST(ImportConversionErrors, TypedOffsetThatIsNoNumber)
{
    ScriptedInteraction interaction;
    interaction.timeOffsetAnswer = "soon";
    EXPECT_THROW(ImportSMText(BadFile("cr-only.txt"), interaction), ConversionError);
}

TEST(ImportAllOrNothing, RefusedFileLeavesTheLoadedPlateAsItWas)
{
    PlateMeasurements plate = ImportGood("cr-only.txt").plate;
    const PlateMeasurements before = plate;
    for (const char* name : {"wells-48.txt", "text-in-cell.txt", "endpoint.txt"}) {
        ScriptedInteraction interaction;
        try {
            if (auto imported = ImportSMText(BadFile(name), interaction)) plate = std::move(imported->plate);
        } catch (const std::exception&) {
        }
        EXPECT_EQ(plate.PlateData, before.PlateData) << name;
        EXPECT_EQ(plate.WellCount, before.WellCount) << name;
        EXPECT_EQ(plate.ReadMode, before.ReadMode) << name;
    }
}

TEST(ImportLimits, TruncatedReadIsNotCountedAndTheShortfallIsTold)
{
    const ImportedPlate imported = ImportGood("truncated-mid-read.txt");
    EXPECT_EQ(std::tuple(imported.plate.TimePointCount, imported.AnnouncedReads), std::tuple(1, 3));
    EXPECT_EQ(imported.review.RowCount(), 2);
    EXPECT_EQ(MissingReadsWarning(imported), "Only 1 of the 3 reads the file announces could be read.");
    EXPECT_EQ(MissingReadsWarning(ImportGood("cr-only.txt")), "");
}

TEST(ImportLimits, AbsurdReadCountAllocatesOnlyWhatTheLinesHold)
{
    const TextLines lines = BadFile("absurd-read-count.txt");
    ScriptedInteraction interaction;
    const auto imported = ImportSMText(lines, interaction);
    ASSERT_TRUE(imported);
    EXPECT_EQ(imported->plate.TimePointCount, 2);
    const std::size_t linesCanHold = lines.Count() / 9;
    EXPECT_LE(imported->plate.TimeVector.size(), linesCanHold + 1);
    EXPECT_LE(imported->plate.PlateData[0].size(), linesCanHold);
}

TEST(ImportLimits, MoreReadsThanAnnouncedStopAtTheAnnouncedCount)
{
    const ImportedPlate imported = ImportGood("more-reads-than-announced.txt");
    EXPECT_EQ(imported.plate.TimePointCount, 2);
    EXPECT_DOUBLE_EQ(imported.plate.LastXValue, 0.5 / 60.0);
}

// A header without a complete read would replace the loaded plate by nothing.
TEST(ImportRefuses, FileWithoutACompleteRead)
{
    EXPECT_EQ(ImportMessage("negative-read-count.txt"), "ImportError: The file holds no complete read (0 announced)!");
    const TextLines truncated = BadFile("truncated-mid-read.txt");
    std::string header;
    for (std::size_t line = 0; line < 3; ++line) header += std::string(truncated.Line(line)) + "\n";
    ScriptedInteraction interaction;
    try {
        ImportSMText(TextLines(header), interaction);
        ADD_FAILURE() << "imported";
    } catch (const ImportError& error) {
        EXPECT_STREQ(error.what(), "The file holds no complete read (3 announced)!");
    }
}

TEST(ImportLineEnds, CrOnlyAndLfFilesAreNormalFiles)
{
    const ImportedPlate cr = ImportGood("cr-only.txt");
    const ImportedPlate lf = ImportGood("lf-no-final-newline.txt");
    EXPECT_EQ(cr.plate.TimePointCount, 3);
    EXPECT_EQ(lf.plate.TimePointCount, 3);
    EXPECT_EQ(cr.plate.PlateData, lf.plate.PlateData);
    EXPECT_EQ(cr.plate.Reading(95, 1, 2), 0.1095);
}

} // namespace
} // namespace movra
