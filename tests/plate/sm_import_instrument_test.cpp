// What files written by the instrument software itself hold beyond the
// basic layout: plates after notes, absorbance headers, markers in cells,
// rows without a final tab, section ends and further plate sections.
#include "plate/sm_import.h"

#include <gtest/gtest.h>

#include "mini_plate.h"
#include "scripted_interaction.h"

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

std::string EndpointHeader()
{
    return "Plate:\tOD600\t1.3\tPlateFormat\tEndpoint\tAbsorbance\tRaw\tTRUE\t1\t\t\t\t\t\t1\t600\t1\t12\t96\t1\t8\tNone\t";
}

TEST(ImportPlateSection, KineticPlateAfterNotesAndAnEndpointPlateIsFound)
{
    MiniPlate file;
    file.blockLine = "##BLOCKS= 3          ";
    file.preamble = "Note:\r\nSome protocol text\r\n~End\r\n" + EndpointHeader() +
                    "\r\n\tTemperature(C)\t1\r\n\t22.0\t0.1\t\r\n~End\r\n";
    ScriptedInteraction interaction;
    const ImportedPlate imported = Import(file.Text(), interaction);
    EXPECT_EQ(imported.plate.ReadMode, "Kinetic");
    EXPECT_EQ(imported.plate.TimePointCount, 2);
    EXPECT_EQ(imported.plate.Reading(95, 1, 1), 96.5);
    EXPECT_EQ(imported.review.Cell(imported.plate, 1, 0), "Time(hh:mm:ss)");
    EXPECT_EQ(interaction.mergeQuestions, 0);
}

TEST(ImportPlateSection, EndpointOnlyFileAfterNotesIsNotKinetic)
{
    const std::string text = "##BLOCKS= 2\r\nNote:\r\n~End\r\n" + EndpointHeader() + "\r\n\tTemperature(C)\t1\r\n";
    ScriptedInteraction interaction;
    try {
        ImportSMText(TextLines(text), interaction);
        FAIL() << "imported";
    } catch (const ImportError& error) {
        EXPECT_STREQ(error.what(), "The file is not a kinetic/spectrum assay!");
    }
}

TEST(ImportPlateSection, FileWithoutAnyPlateHeaderIsNotPlateFormat)
{
    ScriptedInteraction interaction;
    try {
        ImportSMText(TextLines("##BLOCKS= 1\r\nNote:\r\ntext\r\n~End\r\n"), interaction);
        FAIL() << "imported";
    } catch (const ImportError& error) {
        EXPECT_STREQ(error.what(), "File is not saved as plate format!");
    }
}

TEST(ImportAbsorbanceHeader, ReadCountStaysInField9FromVersion13)
{
    MiniPlate file;
    file.xTexts = {"0:00", "0:30", "1:00"};
    // Field 10 is the run time in seconds, not a read count.
    file.headerOverride =
        "Plate:\tPlate#1\t1.3\tPlateFormat\tKinetic\tAbsorbance\tRaw\tFALSE\t3\t60\t30\t\t\t\t1\t490\t1\t12\t96\t1\t8\tNone\t";
    const ImportedPlate imported = Import(file.Text());
    EXPECT_EQ(imported.plate.TimePointCount, 3);
    EXPECT_EQ(imported.summary, "A:0 490 - ");
    EXPECT_EQ(imported.plate.WaveLengths[1], (std::vector<std::int32_t>{0}));
}

TEST(ImportAbsorbanceHeader, EmptySecondListBeforeVersion13GivesZero)
{
    MiniPlate file;
    file.version = "1,1";
    file.secondList = "";
    EXPECT_EQ(Import(file.Text()).summary, "A:0 405 - ");
}

TEST(ImportAbsorbanceHeader, FluorescenceKeepsItsExcitationList)
{
    MiniPlate file;
    file.version13 = true;
    file.firstList = "490";
    file.secondList = "410";
    EXPECT_EQ(Import(file.Text()).summary, "A:410 490 - ");
}

TEST(ImportCells, BlanksAndInstrumentMarkersReadAsZero)
{
    MiniPlate file;
    file.cell = [](int, int, int w) -> std::string {
        switch (w) {
        case 0: return " ";
        case 1: return "???";
        case 2: return "NoFit";
        case 3: return "Range?";
        case 4: return "Masked";
        case 5: return "NaN";
        case 6: return "   ";
        default: return "0.5";
        }
    };
    const ImportedPlate imported = Import(file.Text());
    for (int well = 0; well <= 6; ++well) EXPECT_EQ(imported.plate.Reading(well, 1, 0), 0.0) << well;
    EXPECT_EQ(imported.plate.Reading(7, 1, 0), 0.5);
}

TEST(ImportCells, OtherTextStillRefusesTheFile)
{
    MiniPlate file;
    file.cell = [](int, int, int w) { return std::string(w == 5 ? "n.d." : "0.5"); };
    ScriptedInteraction interaction;
    try {
        ImportSMText(TextLines(file.Text()), interaction);
        FAIL() << "imported";
    } catch (const ConversionError& error) {
        EXPECT_STREQ(error.what(), "'n.d.' is not a valid floating point value (line 4, well A6)");
    }
}

TEST(ImportCells, LastFieldOfARowNeedsNoTab)
{
    // Partly read plates: 4 values per row and no tab after the last one; the
    // column header still names all twelve plate columns, as exports do.
    std::string text = "##BLOCKS= 1\nPlate:\tPlate1\t1.3\tPlateFormat\tSpectrum\tAbsorbance\tRaw\tFALSE\t1\t\t\t500\t500\t1"
                       "\t\t\t1\t4\t96\t1\t8\n\tTemperature(C)\t1\t2\t3\t4\t5\t6\t7\t8\t9\t10\t11\t12\n"
                       "500\t25\t0.1\t0.2\t0.3\t0.4\n";
    for (int row = 1; row < 8; ++row) text += "\t\t1\t2\t3\t4." + std::to_string(row) + "\n";
    text += "\n";
    const ImportedPlate imported = Import(text);
    EXPECT_EQ(imported.plate.TimePointCount, 1);
    EXPECT_EQ(imported.plate.Reading(3, 1, 0), 0.4);
    EXPECT_EQ(imported.plate.Reading(12 + 3, 1, 0), 4.1);
    EXPECT_EQ(imported.plate.Reading(4, 1, 0), 0.0);
}

TEST(ImportEnd, SectionEndWhereAReadShouldStartEndsReading)
{
    MiniPlate file;
    file.announced = "5";
    file.tail = "~End\r\nOriginal Filename: x; Date Last Saved: 1/1/2024\r\n" + std::string(60, '\n');
    EXPECT_EQ(Import(file.Text()).plate.TimePointCount, 2);

    file.blockLine = "##BLOCKS= 2";  // also with several blocks
    file.tail = "~End \r\nPlate:\tPlate2\r\n" + std::string(60, '\n');
    EXPECT_EQ(Import(file.Text()).plate.TimePointCount, 2);
}

TEST(ImportBlocks, NoMergeQuestionWithoutAPlateHeaderAtTheSecondBlock)
{
    MiniPlate file;
    file.blockLine = "##BLOCKS= 4";
    // Group sections after the plate, where a second plate header would stand.
    file.tail = "~End\r\n";
    for (int i = 0; i < 30; ++i) file.tail += "Group:\tResults\t1\r\n";
    ScriptedInteraction interaction;
    interaction.mergeAnswer = MergeAnswer::Cancel;
    const ImportedPlate imported = Import(file.Text(), interaction);
    EXPECT_EQ(interaction.mergeQuestions, 0);
    EXPECT_EQ(imported.plate.TimePointCount, 2);
}

} // namespace
} // namespace movra
