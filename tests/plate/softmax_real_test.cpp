// Genuine SoftMax Pro exports from public repositories (reference data kept
// outside the project): each importable file gives the expected plate, with
// readings checked by hand against the file; the others are refused.
#include "plate/sm_import.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "plate/text_decoding.h"
#include "scripted_interaction.h"

namespace movra {
namespace {

const std::filesystem::path kFolder = std::filesystem::path(MOVRA_SHARED_TESTDATA) / "softmax-real";

class SoftMaxRealFiles : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!std::filesystem::is_directory(kFolder))
            GTEST_SKIP() << "reference exports not found in " << kFolder.string();
    }

    // Imports with the merge question answered Cancel, so a question would
    // show as a failed import.
    ImportedPlate Import(const std::string& name)
    {
        interaction_.mergeAnswer = MergeAnswer::Cancel;
        auto imported = ImportSMText(LoadTextLines(kFolder / name), interaction_);
        if (!imported) throw std::runtime_error("merge question asked for " + name);
        EXPECT_EQ(interaction_.mergeQuestions, 0);
        return std::move(*imported);
    }

    std::string Refusal(const std::string& name)
    {
        try {
            Import(name);
        } catch (const ImportError& error) {
            return error.what();
        }
        return "imported";
    }

    test::ScriptedInteraction interaction_;
};

struct Expected {
    std::string mode;
    int wells;
    std::string summary;
    int reads;
    double firstX;
    double lastX;
};

void ExpectPlate(const ImportedPlate& imported, const Expected& expected)
{
    const PlateMeasurements& plate = imported.plate;
    EXPECT_EQ(plate.ReadMode, expected.mode);
    EXPECT_EQ(plate.WellCount, expected.wells);
    EXPECT_EQ(imported.summary, expected.summary);
    EXPECT_EQ(plate.TimePointCount, expected.reads);
    ASSERT_GT(plate.TimePointCount, 0);
    EXPECT_NEAR(plate.PlateData[0][0], expected.firstX, 1e-9);
    EXPECT_NEAR(plate.LastXValue, expected.lastX, 1e-4);
}

TEST_F(SoftMaxRealFiles, KineticCommaDecimalsWithoutFooter)
{
    const ImportedPlate p = Import("FAIRChemistry__MTPHandler__spectra_max_190.txt");
    ExpectPlate(p, {"Kinetic", 96, "A:0 412 - ", 721, 0.0, 4.0});
    EXPECT_EQ(p.plate.Reading(0, 1, 0), 0.0385);
    EXPECT_EQ(p.plate.Reading(2, 1, 0), 0.039);
    EXPECT_EQ(p.plate.Reading(13, 1, 0), 1.8877);
    EXPECT_EQ(p.plate.PlateData[1][0], 37.0);
    EXPECT_EQ(p.review.Cell(p.plate, 2, 0), "Temperature(\xC2\xA1" "C)");
    EXPECT_EQ(p.review.Cell(p.plate, 1, 721), "4:00:00");
}

TEST_F(SoftMaxRealFiles, KineticWithCarriageReturnLineEnds)
{
    const ImportedPlate p = Import("JoGall__enzyme-activity__example.text");
    ExpectPlate(p, {"Kinetic", 96, "A:0 490 - ", 81, 0.0, 40.0 / 60.0});
    EXPECT_EQ(p.plate.Reading(0, 1, 0), 0.0607);
    EXPECT_EQ(p.plate.Reading(20, 1, 0), 0.3339);
    EXPECT_EQ(p.plate.PlateData[1][0], 30.1);
}

TEST_F(SoftMaxRealFiles, FluorescenceKineticTakesTheFirstOfThreePlates)
{
    const ImportedPlate p =
        Import("PlethoraChutney__mandel_plate_reader__071216_ColumnVesiclesControlBottomWell.txt");
    ExpectPlate(p, {"Kinetic", 96, "A:410 490 - ", 25, 0.0, 2.0 / 60.0});
    EXPECT_EQ(p.plate.Reading(6, 1, 0), 1320.765);
    EXPECT_EQ(p.plate.Reading(18, 1, 0), 1404.427);
    EXPECT_EQ(p.plate.Reading(0, 1, 0), 0.0);
}

TEST_F(SoftMaxRealFiles, KineticPlateAfterNoteAndEndpointPlate)
{
    const ImportedPlate p = Import("teese__pytoxr__QSOX2_example.txt");
    ExpectPlate(p, {"Kinetic", 96, "A:0 405 - ", 41, 0.0, 20.0 / 60.0});
    EXPECT_EQ(p.plate.Reading(0, 1, 0), 0.1662);
    EXPECT_EQ(p.plate.Reading(12, 1, 0), 0.2225);
}

TEST_F(SoftMaxRealFiles, KineticPartialPlateAfterGroups)
{
    const ImportedPlate p = Import("Benchling-Open-Source__allotropy__spectramax340_kinetic_partial_plate.txt");
    ExpectPlate(p, {"Kinetic", 96, "A:0 405 - ", 3, 0.0, 1.0 / 60.0});
    EXPECT_EQ(p.plate.Reading(0, 1, 0), 0.0);
    EXPECT_EQ(p.plate.Reading(1, 1, 0), 0.0546);
    EXPECT_EQ(p.plate.Reading(13, 1, 0), 0.1012);
}

TEST_F(SoftMaxRealFiles, SpectrumUtf16)
{
    const ImportedPlate p = Import("Benchling-Open-Source__allotropy__spectrum_data.txt");
    ExpectPlate(p, {"Spectrum", 384, "fix:1 scan:525-528 step 1 ", 4, 525.0, 528.0});
    EXPECT_EQ(p.plate.Reading(0, 1, 0), 0.1685);
    EXPECT_EQ(p.plate.Reading(25, 1, 0), 0.0353);
    EXPECT_EQ(p.plate.PlateData[1][0], 23.5);
    EXPECT_EQ(p.review.Cell(p.plate, 2, 0), "Temperature(\xC2\xA1" "C)");
}

TEST_F(SoftMaxRealFiles, SpectrumUtf16WithUnreadableCells)
{
    const ImportedPlate p = Import("Benchling-Open-Source__allotropy__partial_plate_with_empty_values.txt");
    ExpectPlate(p, {"Spectrum", 384, "fix:1 scan:520-570 step 1 ", 51, 520.0, 570.0});
    EXPECT_EQ(p.plate.Reading(0, 1, 0), 0.0);  // "???"
    EXPECT_EQ(p.plate.Reading(1, 1, 0), 2.592);
}

TEST_F(SoftMaxRealFiles, SpectrumPartialPlateRowsWithoutFinalTab)
{
    const ImportedPlate p = Import("Benchling-Open-Source__allotropy__partial_plate.txt");
    ExpectPlate(p, {"Spectrum", 384, "fix:1 scan:525-565 step 2 ", 21, 525.0, 565.0});
    EXPECT_EQ(p.plate.Reading(0, 1, 0), 0.0994);
    EXPECT_EQ(p.plate.Reading(15, 1, 0), 0.1006);  // A16, the row's last field
    EXPECT_EQ(p.plate.Reading(39, 1, 0), 0.0507);  // B16
    EXPECT_EQ(p.plate.Reading(16, 1, 0), 0.0);     // A17, not read
}

TEST_F(SoftMaxRealFiles, EndpointFilesAreNotKineticOrSpectrum)
{
    for (const char* name : {"Benchling-Open-Source__allotropy__MD_SMP_absorbance_endpoint_example04.txt",
                             "Benchling-Open-Source__allotropy__MD_SMP_fluorescence_endpoint_example06.txt",
                             "Benchling-Open-Source__allotropy__comma_sep.txt",
                             "dabernards__spectramax-automation__full8x12.txt",
                             "bertrand-lab__Softmax-Platereader-Functions__example-softmax-output.txt"})
        EXPECT_EQ(Refusal(name), "The file is not a kinetic/spectrum assay!") << name;
}

TEST_F(SoftMaxRealFiles, SixWellPlateIsRefusedNamingTheWellCount)
{
    const std::string message = Refusal("Benchling-Open-Source__allotropy__fl_kinetic_plates.txt");
    EXPECT_NE(message.find("6 wells"), std::string::npos) << message;
}

TEST_F(SoftMaxRealFiles, EveryFileOfTheFolderIsCovered)
{
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(kFolder))
        if (entry.path().extension() != ".md") ++files;
    EXPECT_EQ(files, 14);
}

} // namespace
} // namespace movra
