// Genuine SoftMax Pro exports from public repositories (reference data kept
// outside the project): each importable file gives the expected plate, with
// readings checked by hand against the file, and asks no merge question; the
// others are refused with their message.
#include <gtest/gtest.h>

#include <filesystem>

#include "import_fixture.h"
#include "plate/text_decoding.h"
#include "plot/graph_view.h"

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
    std::string temperatureCaption;  // checked when set
};

TEST_F(SoftMaxRealFiles, ImportableFilesGiveTheirPlate)
{
    const std::string degrees = "Temperature(\xC2\xA1" "C)";
    const std::vector<Expected> files = {
        {"FAIRChemistry__MTPHandler__spectra_max_190.txt", "Kinetic", 96, "A:0 412 - ", 721, 0.0, 4.0,
         {{2, 0, 0.0385}, {4, 0, 0.039}, {15, 0, 1.8877}, {1, 0, 37.0}}, degrees},
        {"JoGall__enzyme-activity__example.text", "Kinetic", 96, "A:0 490 - ", 81, 0.0, 40.0 / 60.0,
         {{2, 0, 0.0607}, {22, 0, 0.3339}, {1, 0, 30.1}}, ""},
        {"PlethoraChutney__mandel_plate_reader__071216_ColumnVesiclesControlBottomWell.txt", "Kinetic", 96,
         "A:410 490 - ", 25, 0.0, 2.0 / 60.0, {{8, 0, 1320.765}, {20, 0, 1404.427}, {2, 0, 0.0}}, ""},
        {"teese__pytoxr__QSOX2_example.txt", "Kinetic", 96, "A:0 405 - ", 41, 0.0, 20.0 / 60.0,
         {{2, 0, 0.1662}, {14, 0, 0.2225}}, ""},
        {"Benchling-Open-Source__allotropy__spectramax340_kinetic_partial_plate.txt", "Kinetic", 96, "A:0 405 - ", 3,
         0.0, 1.0 / 60.0, {{2, 0, 0.0}, {3, 0, 0.0546}, {15, 0, 0.1012}}, ""},
        {"Benchling-Open-Source__allotropy__spectrum_data.txt", "Spectrum", 384, "fix:1 scan:525-528 step 1 ", 4,
         525.0, 528.0, {{2, 0, 0.1685}, {27, 0, 0.0353}, {1, 0, 23.5}}, degrees},
        {"Benchling-Open-Source__allotropy__partial_plate_with_empty_values.txt", "Spectrum", 384,
         "fix:1 scan:520-570 step 1 ", 51, 520.0, 570.0, {{2, 0, 0.0 /* "???" */}, {3, 0, 2.592}}, ""},
        // Rows without a final tab: A16 is a row's last field, A17 is not read.
        {"Benchling-Open-Source__allotropy__partial_plate.txt", "Spectrum", 384, "fix:1 scan:525-565 step 2 ", 21,
         525.0, 565.0, {{2, 0, 0.0994}, {17, 0, 0.1006}, {41, 0, 0.0507}, {18, 0, 0.0}}, ""},
    };
    for (const Expected& e : files) {
        SCOPED_TRACE(e.file);
        test::ScriptedInteraction answers(MergeAnswer::Cancel);
        const auto imported = ImportSMText(LoadTextLines(kFolder / e.file), answers);
        ASSERT_TRUE(imported);
        const PlateMeasurements& plate = imported->plate;
        EXPECT_EQ(plate.ReadMode, e.mode);
        EXPECT_EQ(plate.WellCount, e.wells);
        EXPECT_EQ(imported->summary, e.summary);
        ASSERT_EQ(plate.TimePointCount, e.reads);
        EXPECT_NEAR(plate.PlateData[0][0], e.firstX, 1e-9);
        EXPECT_NEAR(plate.LastXValue, e.lastX, 1e-4);
        for (const auto& [column, read, value] : e.values) EXPECT_EQ(plate.PlateData[column][read], value) << column;
        const std::string caption = imported->review.Cell(plate, 2, 0);
        EXPECT_TRUE(e.temperatureCaption.empty() || caption == e.temperatureCaption) << caption;
    }
}

// The graph's axis titles follow the plate header's read mode and type.
TEST_F(SoftMaxRealFiles, AxisTitlesFollowTheReadType)
{
    const std::vector<std::tuple<std::string, std::string, std::string>> files = {
        {"FAIRChemistry__MTPHandler__spectra_max_190.txt", "Time (h)", "OD"},
        {"PlethoraChutney__mandel_plate_reader__071216_ColumnVesiclesControlBottomWell.txt", "Time (h)", "RFU"},
        {"Benchling-Open-Source__allotropy__spectrum_data.txt", "Wavelength (nm)", "OD"},
    };
    for (const auto& [file, x, y] : files) {
        test::ScriptedInteraction answers(MergeAnswer::Cancel);
        const auto imported = ImportSMText(LoadTextLines(kFolder / file), answers);
        ASSERT_TRUE(imported) << file;
        EXPECT_EQ(GraphAxisTitles(imported->plate), (AxisTitles{x, y})) << file;
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
        test::ScriptedInteraction answers;
        EXPECT_EQ(test::Refusal(LoadTextLines(kFolder / file).Text(), answers), message) << file;
    }
    int files = 0;  // every file of the folder is covered above
    for (const auto& entry : std::filesystem::directory_iterator(kFolder)) files += entry.path().extension() != ".md";
    EXPECT_EQ(files, 14);
}

} // namespace
} // namespace movra
